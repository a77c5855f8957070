#include "ReaskOrder.h"

#include "RandomDraw.h"

#include <algorithm>

ReaskOrder::ReaskOrder(const QList<qint16> &entries, RandomSource &random, Start start)
    : m_entries(entries), m_fresh(entries)
{
    if (start == Start::Shuffled) {
        random.reseed();
        RandomDraw::shuffle(m_fresh, random);
    }
    moveOn();
}

void ReaskOrder::answer(bool right, RandomSource &random)
{
    if (isOver())
        return;
    if (!m_currentIsReask) {
        ++m_firstAnswerCount;
        if (right)
            ++m_rightAtFirstCount;
        else
            m_missedAtFirst.append(m_current);
    }
    for (Waiting &waiting : m_waiting)
        --waiting.gap;
    if (right)
        ++m_rightCount;
    else
        m_waiting.push_back({m_current, freeGap(random)});
    moveOn();
}

int ReaskOrder::freeGap(RandomSource &random) const
{
    // Gaps held by no other waiting entry, so that no two fall due together.
    // One is always free: every other gap has been counted down at least once.
    QList<int> free;
    for (int gap = MinGap; gap <= MaxGap; ++gap) {
        const bool taken = std::any_of(m_waiting.begin(), m_waiting.end(),
                                       [gap](const Waiting &w) { return w.gap == gap; });
        if (!taken)
            free.append(gap);
    }
    if (free.isEmpty())
        return MaxGap;
    return free[RandomDraw::index(random.next(), int(free.size()))];
}

void ReaskOrder::moveOn()
{
    m_current = 0;
    m_currentIsReask = false;
    if (isOver())
        return;
    const auto soonest = std::min_element(m_waiting.begin(), m_waiting.end(),
                                          [](const Waiting &a, const Waiting &b) { return a.gap < b.gap; });
    // A miss that is due comes first; with no fresh entry left, the next miss
    // comes at once.
    if (soonest != m_waiting.end() && (soonest->gap <= 0 || m_fresh.isEmpty())) {
        m_current = soonest->entry;
        m_currentIsReask = true;
        m_waiting.erase(soonest);
        return;
    }
    m_current = m_fresh.takeFirst();
}
