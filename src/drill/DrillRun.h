#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

class RandomSource;

// The verdict at the end of a run, by whole-percent accuracy: gold from 90,
// silver from 80, copper from 60 (the pass mark), fail below.
enum class DrillVerdict { Gold, Silver, Copper, Fail };

namespace DrillRules {

// floor((correct / asked) * 100) in double precision: 29 of 50 is 57.
qint16 accuracyPercent(int correctCount, int askedCount);
DrillVerdict verdictFor(int accuracyPercent);
// The medal picture ("\画像\gold.gif"...), empty for a fail.
QString medalPicture(DrillVerdict verdict);
// "\音\gokaku.wav" for a pass, "\音\dame.wav" for a fail.
QString verdictSound(DrillVerdict verdict);
// What the medal picture shows, in words ("金メダル"...), empty for a fail.
QString medalName(DrillVerdict verdict);
// The verdict in words for assistive technology: "金メダル 合格" ... "不合格".
QString verdictText(DrillVerdict verdict);
// A country drawn from r in [0, 1): floor(r * count) + 1.
qint16 drawnCountry(double r, int questionCount);
// The answer time: the clock's seconds rounded to a whole second, halves to even.
qint32 answerTimeOf(double clockSeconds);
// The pause is over once more than 2 whole seconds have passed since the
// rounded answer time.
bool pauseOver(double clockSeconds, qint32 answerTime);

} // namespace DrillRules

// One run of a location drill: which countries have been asked, the counts,
// the accuracy and the run's phase. No widgets; the screen shows what it says.
class DrillRun
{
public:
    static constexpr int MaxCountries = 60;

    enum class Answer { Ignored, Correct, Wrong };

    explicit DrillRun(int questionCount);

    // A fresh run: nothing asked, no answer, not finished.
    void start();
    // Draws the next question (re-seeding first) and asks it: a country already
    // asked gives way to the next unasked one upwards, wrapping to 1.
    // Only while some country is unasked.
    void chooseQuestion(RandomSource &random);
    // Judges a click on the marker of country (1..N) at clockSeconds.
    Answer answer(int country, double clockSeconds);
    bool pauseOver(double clockSeconds) const;
    bool allAsked() const { return askedCount == questionCount; }
    // Ends the run and gives its verdict.
    DrillVerdict finish();

    // Some question answered and the run not over: restarting would lose it.
    bool inProgress() const { return askedCount - awaitingAnswer > 0 && finished == 0; }
    bool wasAsked(int country) const;
    // The countries answered wrong in this run, in the order asked.
    const QList<qint16> &missedCountries() const { return m_missed; }
    // Questions left counting the current one, as shown while it is asked.
    int remainingCount() const { return questionCount - askedCount + 1; }

    const qint16 questionCount;
    qint16 currentQuestion = 0;
    qint16 askedCount = 0;
    qint16 correctCount = 0;
    qint16 accuracyPercent = 0;
    qint16 awaitingAnswer = 0;
    qint32 answerTime = 0;
    qint16 finished = 0;

private:
    void nextUnasked();
    void ask();

    std::array<qint16, MaxCountries + 1> m_askedFlags{};
    QList<qint16> m_missed;
};
