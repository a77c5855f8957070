#pragma once

#include <QList>
#include <QtGlobal>

#include <vector>

class RandomSource;

// The order of a learning run. Every entry of the run is asked once, in a
// random order or as planned; an entry answered wrong comes back after three to five other
// questions (sooner when fewer are left) until it is answered right. The run
// is over once every entry has been answered right. Accuracy counts the first
// answer to each entry only.
class ReaskOrder
{
public:
    static constexpr int MinGap = 3;
    static constexpr int MaxGap = 5;

    enum class Start { Shuffled, AsGiven };

    // Asks `entries` (distinct, none 0) shuffled after re-seeding, or in the
    // order given.
    ReaskOrder(const QList<qint16> &entries, RandomSource &random, Start start = Start::Shuffled);

    bool isOver() const { return m_rightCount == entryCount(); }
    // The entry to ask now, the same until it is answered. Only while not over.
    qint16 current() const { return m_current; }
    // Whether the current question asks an entry again.
    bool isReask() const { return m_currentIsReask; }
    // Judges the answer to the current question and moves on to the next one.
    void answer(bool right, RandomSource &random);

    int entryCount() const { return int(m_entries.size()); }
    // Entries not yet answered right, the current one included.
    int remainingCount() const { return entryCount() - m_rightCount; }
    int firstAnswerCount() const { return m_firstAnswerCount; }
    int rightAtFirstCount() const { return m_rightAtFirstCount; }
    // Entries answered wrong at their first answer, in the order they were asked.
    const QList<qint16> &missedAtFirst() const { return m_missedAtFirst; }

private:
    struct Waiting {
        qint16 entry;
        int gap;  // other questions still to be asked before it is due
    };

    void moveOn();
    int freeGap(RandomSource &random) const;

    QList<qint16> m_entries;
    QList<qint16> m_fresh;  // not asked yet, in the order they will be asked
    std::vector<Waiting> m_waiting;
    qint16 m_current = 0;
    bool m_currentIsReask = false;
    int m_rightCount = 0;
    int m_firstAnswerCount = 0;
    int m_rightAtFirstCount = 0;
    QList<qint16> m_missedAtFirst;
};
