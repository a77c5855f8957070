#include "DrillRun.h"

#include "DataError.h"
#include "Placement.h"
#include "RandomDraw.h"
#include "Seams.h"

#include <algorithm>
#include <cmath>

namespace DrillRules {

qint16 accuracyPercent(int correctCount, int askedCount)
{
    if (askedCount <= 0)
        return 0;
    const double ratio = double(correctCount) / double(askedCount);
    return qint16(std::floor(ratio * 100.0));
}

DrillVerdict verdictFor(int accuracyPercent)
{
    if (accuracyPercent > 89)
        return DrillVerdict::Gold;
    if (accuracyPercent > 79)
        return DrillVerdict::Silver;
    if (accuracyPercent > 59)
        return DrillVerdict::Copper;
    return DrillVerdict::Fail;
}

QString medalPicture(DrillVerdict verdict)
{
    switch (verdict) {
    case DrillVerdict::Gold:
        return QStringLiteral("\\画像\\gold.gif");
    case DrillVerdict::Silver:
        return QStringLiteral("\\画像\\silver.gif");
    case DrillVerdict::Copper:
        return QStringLiteral("\\画像\\copper.gif");
    case DrillVerdict::Fail:
        break;
    }
    return {};
}

QString verdictSound(DrillVerdict verdict)
{
    return verdict == DrillVerdict::Fail ? QStringLiteral("\\音\\dame.wav")
                                         : QStringLiteral("\\音\\gokaku.wav");
}

QString medalName(DrillVerdict verdict)
{
    switch (verdict) {
    case DrillVerdict::Gold:
        return QStringLiteral("金メダル");
    case DrillVerdict::Silver:
        return QStringLiteral("銀メダル");
    case DrillVerdict::Copper:
        return QStringLiteral("銅メダル");
    case DrillVerdict::Fail:
        break;
    }
    return {};
}

QString verdictText(DrillVerdict verdict)
{
    return verdict == DrillVerdict::Fail ? QStringLiteral("不合格")
                                         : medalName(verdict) + QStringLiteral(" 合格");
}

qint16 drawnCountry(double r, int questionCount)
{
    return qint16(RandomDraw::index(r, questionCount) + 1);
}

qint32 answerTimeOf(double clockSeconds)
{
    return qint32(std::nearbyint(clockSeconds));
}

bool pauseOver(double clockSeconds, qint32 answerTime)
{
    return clockSeconds - answerTime > 2;
}

} // namespace DrillRules

DrillRun::DrillRun(int questionCount) : questionCount(qint16(questionCount))
{
    if (questionCount < 1 || questionCount > MaxCountries)
        throw DataError(QString(), QStringLiteral("問題数 %1 が範囲 1〜%2 の外です。")
                                       .arg(questionCount)
                                       .arg(MaxCountries));
}

void DrillRun::start()
{
    currentQuestion = 0;
    correctCount = 0;
    askedCount = 0;
    awaitingAnswer = 0;
    finished = 0;
    m_missed.clear();
    std::fill(m_askedFlags.begin() + 1, m_askedFlags.begin() + 1 + questionCount, qint16(0));
}

void DrillRun::chooseQuestion(RandomSource &random)
{
    if (allAsked())
        return;
    random.reseed();
    currentQuestion = DrillRules::drawnCountry(random.next(), questionCount);
    if (m_askedFlags[std::size_t(currentQuestion)] == 1)
        nextUnasked();
    ask();
}

void DrillRun::nextUnasked()
{
    // Guarded by the caller: some country is unasked, so this ends.
    do {
        ++currentQuestion;
        if (currentQuestion > questionCount)
            currentQuestion = 1;
    } while (m_askedFlags[std::size_t(currentQuestion)] == 1);
}

void DrillRun::ask()
{
    awaitingAnswer = 1;
    m_askedFlags[std::size_t(currentQuestion)] = 1;
    ++askedCount;
}

DrillRun::Answer DrillRun::answer(int country, double clockSeconds)
{
    if (finished != 0 || awaitingAnswer != 1)
        return Answer::Ignored;
    const bool correct = country == currentQuestion;
    if (correct)
        ++correctCount;
    else
        m_missed.append(currentQuestion);
    awaitingAnswer = 0;
    accuracyPercent = DrillRules::accuracyPercent(correctCount, askedCount);
    answerTime = DrillRules::answerTimeOf(clockSeconds);
    return correct ? Answer::Correct : Answer::Wrong;
}

bool DrillRun::pauseOver(double clockSeconds) const
{
    return DrillRules::pauseOver(clockSeconds, answerTime);
}

DrillVerdict DrillRun::finish()
{
    finished = 1;
    return DrillRules::verdictFor(accuracyPercent);
}

bool DrillRun::wasAsked(int country) const
{
    return country >= 1 && country <= questionCount && m_askedFlags[std::size_t(country)] == 1;
}
