#include "AtlasProfile.h"

#include "RegionCatalogue.h"

#include <array>

namespace {

using enum CaptionRule;

constexpr QSize Standard{768, 480};
constexpr QSize List{243, 199};
constexpr QSize Origin{250, 124};
constexpr QSize TallOrigin{250, 139};

constexpr std::array<AtlasProfile, 8> Profiles{{
    {1, ":/maps/asia.png", {462, 369}, Standard,
     {290, 87, 463, 370}, {14, 81, 257, 144}, {12, 232, 259, 223}, List, {296, 93, 267, 148}, Origin,
     ByEntrySet, {23, 24, 25}, ByEntrySet, {23, 24, 25}, {}, 10},
    {2, ":/maps/west-asia.png", {365, 326}, Standard,
     {353, 126, 373, 328}, {38, 81, 257, 144}, {37, 232, 259, 223}, List, {314, 79, 267, 148}, Origin,
     ByEntrySet, {17}, ByEntrySet, {17}, {}, 0},
    {3, ":/maps/oceania.png", {500, 355}, {813, 480},
     {293, 93, 500, 357}, {14, 81, 257, 144}, {12, 232, 259, 223}, List, {279, 81, 267, 148}, Origin,
     ByEntrySet, {15, 16, 17}, ByEntrySet, {15, 16, 17}, {15, 17}, 0},
    {4, ":/maps/africa.png", {388, 381}, Standard,
     {341, 86, 388, 381}, {35, 79, 257, 144}, {16, 243, 298, 223}, {279, 199}, {300, 79, 267, 183},
     {250, 154}, Untouched, {}, Untouched, {}, {}, 0},
    {5, ":/maps/europe.png", {353, 378}, Standard,
     {358, 84, 354, 384}, {55, 78, 257, 144}, {34, 240, 296, 223}, {276, 199}, {336, 77, 267, 166},
     TallOrigin, Untouched, {}, Untouched, {}, {}, 0},
    {6, ":/maps/nis.png", {420, 355}, Standard,
     {327, 102, 422, 356}, {30, 82, 257, 144}, {12, 232, 286, 223}, {266, 199}, {299, 81, 267, 164},
     TallOrigin, Untouched, {}, Untouched, {}, {}, 0},
    {7, ":/maps/north-america.png", {450, 376}, {818, 480},
     {341, 82, 455, 378}, {30, 84, 257, 144}, {28, 236, 259, 223}, List, {304, 83, 267, 167},
     TallOrigin, ByRenderer, {}, ByEntrySet, EntrySet::range(24, 30), EntrySet::range(24, 30), 0},
    {8, ":/maps/south-america.png", {290, 377}, Standard,
     {404, 85, 291, 379}, {75, 82, 257, 144}, {65, 239, 272, 223}, {255, 199}, {341, 80, 267, 164},
     TallOrigin, Untouched, {}, Untouched, {}, {}, 0},
}};

} // namespace

const RegionInfo &AtlasProfile::region() const
{
    return RegionCatalogue::region(regionId);
}

LinkButton AtlasProfile::linkFor(int country) const
{
    if (country < 1 || withoutLink.contains(country))
        return LinkButton::None;
    return country == otherMinistryEntry ? LinkButton::OtherMinistry : LinkButton::ForeignMinistry;
}

namespace AtlasProfiles {

std::span<const AtlasProfile> all()
{
    return Profiles;
}

const AtlasProfile &forRegion(int regionId)
{
    return Profiles[RegionCatalogue::indexOf(regionId)];
}

} // namespace AtlasProfiles
