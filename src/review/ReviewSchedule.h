#pragma once

#include <QDate>
#include <QtGlobal>

// Where one entry stands in the review: its box (1 to 5) and the day it is
// due again, in the device's local calendar.
struct ReviewState {
    qint16 box = 1;
    QDate due;
    QDate lastAsked;

    friend bool operator==(const ReviewState &, const ReviewState &) = default;
};

// The Leitner schedule. After a session an entry whose first answer that day
// was wrong goes back to box 1; one right at the first try moves up a box,
// staying at 5. It is due again 1, 2, 4, 8 or 16 days after the session's
// date, for boxes 1 to 5. A new entry starts in box 1, so a new entry
// answered right is due in 2 days and a miss tomorrow.
namespace Leitner {

inline constexpr int FirstBox = 1;
inline constexpr int LastBox = 5;

// Days from a session to the next for an entry in `box` (1..5).
int intervalDays(int box);

// The state after a session on `sessionDate`; `before` is null for a new entry.
ReviewState afterSession(const ReviewState *before, bool rightAtFirst, QDate sessionDate);

// Whether an entry is due on `today`. A clock set back before a due date only
// makes the entry wait; nothing is lost.
inline bool isDue(const ReviewState &state, QDate today)
{
    return state.due <= today;
}

} // namespace Leitner
