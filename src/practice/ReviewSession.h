#pragma once

#include "ReaskOrder.h"
#include "ReviewPlan.h"

#include <QDate>
#include <QList>
#include <QSet>

class RandomSource;
class ReviewRecord;

// One session of きょうの復習: asks the planned questions in their order, a
// missed one again after a few others until it is answered right, and puts
// each entry's first answer into the record at once, so that a session
// broken off keeps the answers given so far.
class ReviewSession
{
public:
    ReviewSession(QList<ReviewQuestion> questions, QDate date, RandomSource &random);

    bool isOver() const { return m_order.isOver(); }
    // The question asked now; only while not over.
    const ReviewQuestion &current() const { return m_questions[m_order.current() - 1]; }
    bool isReask() const { return m_order.isReask(); }
    // Judges the answer to the current question and moves on. A first answer
    // goes into `record`; returns whether it did.
    bool answer(bool right, ReviewRecord &record, RandomSource &random);

    QDate date() const { return m_date; }
    int questionCount() const { return int(m_questions.size()); }
    int remainingCount() const { return m_order.remainingCount(); }
    int firstAnswerCount() const { return m_order.firstAnswerCount(); }
    int rightAtFirstCount() const { return m_order.rightAtFirstCount(); }
    // Entries missed at the first answer, and so asked again.
    int askedAgainCount() const { return int(m_order.missedAtFirst().size()); }

private:
    static QList<qint16> positions(qsizetype count);

    QList<ReviewQuestion> m_questions;
    QDate m_date;
    ReaskOrder m_order;
};
