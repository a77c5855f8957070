#include "DrillProfile.h"

#include "RegionCatalogue.h"

#include <algorithm>
#include <array>

namespace {

constexpr int RightMargin = 22;
constexpr int BottomMargin = 2;
constexpr int MapTop = 103;
constexpr int ButtonTop = 15;
constexpr QSize ButtonSize(109, 45);
constexpr int AtlasButtonFromRight = 237;  // 531 on a 768-pixel screen
constexpr int MenuButtonFromRight = 119;   // 649 on a 768-pixel screen

constexpr std::array<DrillProfile, 8> Profiles{{
    {1, 25, {768, 480}, {462, 369}, "asia", false},
    {2, 17, {768, 480}, {365, 326}, "west-asia", false},
    {3, 17, {813, 480}, {500, 355}, "oceania", false},
    {4, 53, {768, 480}, {388, 381}, "africa", false},
    {5, 40, {768, 480}, {353, 378}, "europe", false},
    {6, 12, {768, 480}, {420, 355}, "nis", true},
    {7, 30, {818, 480}, {450, 376}, "north-america", false},
    {8, 12, {768, 480}, {290, 377}, "south-america", false},
}};

} // namespace

const RegionInfo &DrillProfile::region() const
{
    return RegionCatalogue::region(regionId);
}

QString DrillProfile::screenName() const
{
    return region().drillScreenName();
}

QString DrillProfile::atlasScreenName() const
{
    return region().atlasScreenName();
}

QString DrillProfile::mapResource() const
{
    return QStringLiteral(":/maps/%1.png").arg(QString::fromLatin1(mapName));
}

QRect DrillProfile::mapRect() const
{
    const QSize box = mapSize + QSize(1, 1);
    const int left = clientArea.width() - RightMargin - box.width();
    const int top = std::min(MapTop, clientArea.height() - BottomMargin - box.height());
    return QRect(QPoint(left, top), box);
}

QRect DrillProfile::atlasButtonRect() const
{
    return QRect(QPoint(clientArea.width() - AtlasButtonFromRight, ButtonTop), ButtonSize);
}

QRect DrillProfile::menuButtonRect() const
{
    return QRect(QPoint(clientArea.width() - MenuButtonFromRight, ButtonTop), ButtonSize);
}

namespace DrillProfiles {

std::span<const DrillProfile> all()
{
    return Profiles;
}

const DrillProfile &forRegion(int regionId)
{
    return Profiles[RegionCatalogue::indexOf(regionId)];
}

} // namespace DrillProfiles
