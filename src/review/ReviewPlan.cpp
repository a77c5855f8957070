#include "ReviewPlan.h"

#include "RandomDraw.h"
#include "RegionCatalogue.h"
#include "Seams.h"

#include <algorithm>

namespace ReviewPlan {

namespace {

ReviewQuestionKind kindFor(const ReviewEntry &entry, const ReviewState &state, RandomSource &random)
{
    if (state.box < BoxForOtherKinds)
        return ReviewQuestionKind::Location;
    QList<ReviewQuestionKind> kinds{ReviewQuestionKind::Location, ReviewQuestionKind::Flag};
    if (entry.hasCapital)
        kinds.append(ReviewQuestionKind::Capital);
    return kinds[RandomDraw::index(random.next(), int(kinds.size()))];
}

} // namespace

QList<ReviewQuestion> plan(const ReviewRecord &record, const QList<ReviewEntry> &entries, QDate today,
                           int startRegion, RandomSource &random)
{
    random.reseed();
    QList<ReviewEntry> due;
    for (const ReviewEntry &entry : entries) {
        const ReviewState *state = record.state(entry.key);
        if (state && Leitner::isDue(*state, today))
            due.append(entry);
    }
    std::stable_sort(due.begin(), due.end(), [&record](const ReviewEntry &a, const ReviewEntry &b) {
        return record.state(a.key)->due < record.state(b.key)->due;
    });
    if (due.size() > MostDue)
        due.resize(MostDue);

    QList<ReviewQuestion> questions;
    for (const ReviewEntry &entry : std::as_const(due))
        questions.append({entry, kindFor(entry, *record.state(entry.key), random)});

    // New entries region by region, from the start region on, wrapping round.
    const int regionCount = int(RegionCatalogue::all().size());
    const int first = std::clamp(startRegion, 1, regionCount);
    for (int step = 0; step < regionCount && questions.size() < FewestQuestions; ++step) {
        const int regionId = (first - 1 + step) % regionCount + 1;
        QList<ReviewEntry> fresh;
        for (const ReviewEntry &entry : entries)
            if (entry.regionId == regionId && !record.state(entry.key))
                fresh.append(entry);
        RandomDraw::shuffle(fresh, random);
        for (const ReviewEntry &entry : std::as_const(fresh)) {
            if (questions.size() == FewestQuestions)
                break;
            questions.append({entry, ReviewQuestionKind::Location});
        }
    }
    return questions;
}

} // namespace ReviewPlan
