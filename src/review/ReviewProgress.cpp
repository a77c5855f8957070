#include "ReviewProgress.h"

#include "RegionCatalogue.h"

namespace ReviewProgress {

QList<RegionCounts> byRegion(const ReviewRecord &record, const ReviewCatalogue &catalogue)
{
    QList<RegionCounts> rows;
    for (const RegionInfo &region : RegionCatalogue::all()) {
        RegionCounts counts;
        counts.regionId = region.id;
        for (const ReviewEntry &entry : catalogue.entries) {
            if (entry.regionId != region.id)
                continue;
            const ReviewState *state = record.state(entry.key);
            if (!state)
                ++counts.fresh;
            else if (state->box <= 2)
                ++counts.learning;
            else if (state->box <= 4)
                ++counts.known;
            else
                ++counts.mastered;
        }
        rows.append(counts);
    }
    return rows;
}

QList<bool> practisedDays(const ReviewRecord &record, QDate today)
{
    QList<bool> days;
    for (int back = DaysShown - 1; back >= 0; --back)
        days.append(record.practiceDays().contains(today.addDays(-back)));
    return days;
}

} // namespace ReviewProgress
