#include "RegionHighlightTable.h"

#include <algorithm>

std::optional<HighlightEntry> RegionHighlightTable::entryFor(int country) const
{
    const auto found = std::lower_bound(entries.begin(), entries.end(), country,
                                        [](const HighlightEntry &entry, int wanted) {
                                            return entry.country < wanted;
                                        });
    if (found == entries.end() || found->country != country)
        return std::nullopt;
    return *found;
}

std::span<const FillSeed> RegionHighlightTable::seedsOf(const HighlightEntry &entry) const
{
    if (entry.kind != HighlightKind::Fill)
        return {};
    return seeds.subspan(entry.firstSeed, entry.seedCount);
}
