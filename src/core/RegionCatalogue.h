#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <span>

// The learning drills beside each region's drill, by the word that names
// them on the submenu, on their title plate and after the region in their caption.
inline constexpr std::array<const char *, 3> LearningDrillWords{"国旗ドリル", "首都ドリル", "国名ドリル"};

struct RegionInfo {
    qint16 id;           // RegionId
    const char *name;    // region name = data folder = atlas screen name (UTF-8)
    qint16 countryCount; // N

    QString regionName() const { return QString::fromUtf8(name); }
    QString atlasScreenName() const { return regionName(); }
    QString drillScreenName() const { return regionName() + QStringLiteral("ドリル"); }
    // アジア国旗ドリル ...: a learning drill by its word.
    QString learningDrillScreenName(const char *word) const { return regionName() + QString::fromUtf8(word); }
    // The drill's entries missed at the first answer, asked again.
    QString reviewDrillScreenName() const { return drillScreenName() + QStringLiteral("（もう一度）"); }
};

// The eight regions in RegionId order.
namespace RegionCatalogue {

std::span<const RegionInfo> all();
// The region of a RegionId 1..8; any other id is a data error.
const RegionInfo &region(int regionId);
// The place of a RegionId 1..8 in a table of the eight regions; any other id
// is a data error.
std::size_t indexOf(int regionId);

} // namespace RegionCatalogue
