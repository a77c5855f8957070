#include "ReviewSchedule.h"

#include <algorithm>

namespace Leitner {

int intervalDays(int box)
{
    return 1 << (std::clamp(box, FirstBox, LastBox) - 1);
}

ReviewState afterSession(const ReviewState *before, bool rightAtFirst, QDate sessionDate)
{
    ReviewState after;
    const int box = before ? before->box : FirstBox;
    after.box = qint16(rightAtFirst ? std::min(box + 1, LastBox) : FirstBox);
    after.due = sessionDate.addDays(intervalDays(after.box));
    after.lastAsked = sessionDate;
    return after;
}

} // namespace Leitner
