#include "RegionCatalogue.h"

#include "DataError.h"

#include <array>

namespace {

constexpr std::array<RegionInfo, 8> Regions{{
    {1, "アジア", 25},
    {2, "西アジア", 17},
    {3, "オセアニア", 17},
    {4, "アフリカ", 53},
    {5, "ヨーロッパ", 40},
    {6, "ＮＩＳ諸国", 12},
    {7, "北アメリカ", 30},
    {8, "南アメリカ", 12},
}};

} // namespace

namespace RegionCatalogue {

std::span<const RegionInfo> all()
{
    return Regions;
}

const RegionInfo &region(int regionId)
{
    return Regions[indexOf(regionId)];
}

std::size_t indexOf(int regionId)
{
    if (regionId < 1 || regionId > int(Regions.size()))
        throw DataError(QString(), QStringLiteral("地域番号 %1 が範囲 1〜8 の外です。").arg(regionId));
    return std::size_t(regionId - 1);
}

} // namespace RegionCatalogue
