#pragma once

#include "ReviewDesk.h"

#include <QDate>
#include <QList>

// What the record says has been learned, for 学習の記録.
namespace ReviewProgress {

// The entries of one region by where they stand: never asked, learning
// (boxes 1-2), known (3-4) and mastered (5).
struct RegionCounts {
    qint16 regionId = 0;
    int fresh = 0;
    int learning = 0;
    int known = 0;
    int mastered = 0;

    int total() const { return fresh + learning + known + mastered; }
};

inline constexpr int DaysShown = 28;

// One row per region of the catalogue, in menu order.
QList<RegionCounts> byRegion(const ReviewRecord &record, const ReviewCatalogue &catalogue);
// The last DaysShown days up to `today`, oldest first: whether each had a session.
QList<bool> practisedDays(const ReviewRecord &record, QDate today);

} // namespace ReviewProgress
