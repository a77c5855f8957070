#include "ReviewSession.h"

#include "ReviewRecord.h"

ReviewSession::ReviewSession(QList<ReviewQuestion> questions, QDate date, RandomSource &random)
    : m_questions(std::move(questions)), m_date(date),
      m_order(positions(m_questions.size()), random, ReaskOrder::Start::AsGiven)
{
}

QList<qint16> ReviewSession::positions(qsizetype count)
{
    // The order runs over places in the plan, 1 on: 0 means none to it.
    QList<qint16> places;
    for (qsizetype i = 1; i <= count; ++i)
        places.append(qint16(i));
    return places;
}

bool ReviewSession::answer(bool right, ReviewRecord &record, RandomSource &random)
{
    if (isOver())
        return false;
    const bool first = !m_order.isReask();
    const QString key = current().entry.key;
    m_order.answer(right, random);
    if (first)
        record.recordSession({{key, right}}, m_date);
    return first;
}
