#pragma once

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <span>

struct RegionInfo {
    qint16 id;           // RegionId
    const char *name;    // region name = data folder = atlas screen name (UTF-8)
    qint16 countryCount; // N

    QString regionName() const { return QString::fromUtf8(name); }
    QString atlasScreenName() const { return regionName(); }
    QString drillScreenName() const { return regionName() + QStringLiteral("ドリル"); }
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
