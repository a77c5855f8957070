#pragma once

#include "ReviewRecord.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>

class RandomSource;

// An entry the review can ask, as the data directory names it.
struct ReviewEntry {
    qint16 regionId;  // RegionId
    qint16 country;   // CountryIndex
    QString key;      // ReviewRecord::keyOf(region folder, name)
    bool hasCapital;  // its overview names a capital
};

enum class ReviewQuestionKind { Location, Flag, Capital };

struct ReviewQuestion {
    ReviewEntry entry;
    ReviewQuestionKind kind;
};

// The questions of one session of きょうの復習: first the entries due,
// longest overdue first, at most MostDue. With fewer than FewestQuestions
// due, entries never asked fill the session up to that many: from the
// region last opened from the menu, in random order, then from the regions
// after it in menu order. An entry in box 3 or higher may be asked by its
// flag or its capital instead of its place.
namespace ReviewPlan {

inline constexpr int MostDue = 20;
inline constexpr int FewestQuestions = 10;
inline constexpr int BoxForOtherKinds = 3;

// `entries`: every entry of the data, in menu order and kuni.txt order.
// `startRegion`: the RegionId the new entries come from first.
QList<ReviewQuestion> plan(const ReviewRecord &record, const QList<ReviewEntry> &entries, QDate today,
                           int startRegion, RandomSource &random);

} // namespace ReviewPlan
