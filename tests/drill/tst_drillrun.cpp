#include "TestSeams.h"
#include "DrillRun.h"

#include <QTest>

// The rules of a run without any screen: question choice, accuracy, pause
// and verdict.
class DrillRunTest : public QObject
{
    Q_OBJECT

private slots:
    void accuracyIsRoundedDown_data();
    void accuracyIsRoundedDown();
    void verdictThresholds_data();
    void verdictThresholds();
    void drawnCountryStaysInRange_data();
    void drawnCountryStaysInRange();
    void everyCountryAskedOnceWithRepeatsAndWrap_data();
    void everyCountryAskedOnceWithRepeatsAndWrap();
    void reseedsBeforeEveryDraw();
    void answersOnlyWhileAwaiting();
    void pauseRule_data();
    void pauseRule();
};

void DrillRunTest::accuracyIsRoundedDown_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("percent");
    QTest::newRow("29 of 50 is 57.999...") << 29 << 50 << 57;
    QTest::newRow("2 of 3") << 2 << 3 << 66;
    QTest::newRow("10 of 17") << 10 << 17 << 58;
    QTest::newRow("11 of 17") << 11 << 17 << 64;
    QTest::newRow("11 of 12") << 11 << 12 << 91;
    QTest::newRow("48 of 53") << 48 << 53 << 90;
    QTest::newRow("42 of 53") << 42 << 53 << 79;
    QTest::newRow("none") << 0 << 25 << 0;
    QTest::newRow("all") << 53 << 53 << 100;
    QTest::newRow("1 of 1") << 1 << 1 << 100;
}

void DrillRunTest::accuracyIsRoundedDown()
{
    QFETCH(int, correct);
    QFETCH(int, asked);
    QFETCH(int, percent);
    QCOMPARE(DrillRules::accuracyPercent(correct, asked), percent);
}

void DrillRunTest::verdictThresholds_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<DrillVerdict>("verdict");
    QTest::newRow("0") << 0 << DrillVerdict::Fail;
    QTest::newRow("59") << 59 << DrillVerdict::Fail;
    QTest::newRow("60") << 60 << DrillVerdict::Copper;
    QTest::newRow("79") << 79 << DrillVerdict::Copper;
    QTest::newRow("80") << 80 << DrillVerdict::Silver;
    QTest::newRow("89") << 89 << DrillVerdict::Silver;
    QTest::newRow("90") << 90 << DrillVerdict::Gold;
    QTest::newRow("100") << 100 << DrillVerdict::Gold;
}

void DrillRunTest::verdictThresholds()
{
    QFETCH(int, percent);
    QFETCH(DrillVerdict, verdict);
    QCOMPARE(DrillRules::verdictFor(percent), verdict);
    const bool pass = verdict != DrillVerdict::Fail;
    QCOMPARE(DrillRules::verdictSound(verdict),
             pass ? QStringLiteral("\\音\\gokaku.wav") : QStringLiteral("\\音\\dame.wav"));
    QCOMPARE(DrillRules::medalPicture(verdict).isEmpty(), !pass);
}

void DrillRunTest::drawnCountryStaysInRange_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("country");
    QTest::newRow("0") << 0.0 << 25 << 1;
    QTest::newRow("just under 1/25") << 0.0399 << 25 << 1;
    QTest::newRow("1/25") << 0.04 << 25 << 2;
    QTest::newRow("just under 1") << 0.9999999 << 25 << 25;
    QTest::newRow("middle of 53") << 0.5 << 53 << 27;
    QTest::newRow("1 is kept in range") << 1.0 << 12 << 12;
}

void DrillRunTest::drawnCountryStaysInRange()
{
    QFETCH(double, r);
    QFETCH(int, count);
    QFETCH(int, country);
    QCOMPARE(DrillRules::drawnCountry(r, count), country);
}

void DrillRunTest::everyCountryAskedOnceWithRepeatsAndWrap_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("repeats go upwards") << 5 << QList<double>{0.5, 0.5, 0.5, 0.5, 0.5}
                                        << QList<int>{3, 4, 5, 1, 2};
    QTest::newRow("wrap from the last") << 5 << QList<double>{0.9, 0.9, 0.0, 0.0, 0.9}
                                        << QList<int>{5, 1, 2, 3, 4};
    QTest::newRow("skips a run of asked") << 6 << QList<double>{0.0, 0.2, 0.4, 0.0, 0.99, 0.99}
                                          << QList<int>{1, 2, 3, 4, 6, 5};
    QTest::newRow("plain draws") << 4 << QList<double>{0.75, 0.25, 0.5, 0.0}
                                 << QList<int>{4, 2, 3, 1};
}

void DrillRunTest::everyCountryAskedOnceWithRepeatsAndWrap()
{
    QFETCH(int, count);
    QFETCH(QList<double>, draws);
    QFETCH(QList<int>, order);

    ScriptedRandom random;
    random.values = draws;
    DrillRun run(count);
    run.start();
    QList<int> asked;
    for (int i = 0; i < count; ++i) {
        run.chooseQuestion(random);
        asked.append(run.currentQuestion);
        QCOMPARE(run.answer(run.currentQuestion, 0.0), DrillRun::Answer::Correct);
    }
    QCOMPARE(asked, order);
    QVERIFY(run.allAsked());
    for (int country = 1; country <= count; ++country)
        QVERIFY(run.wasAsked(country));
}

void DrillRunTest::reseedsBeforeEveryDraw()
{
    ScriptedRandom random;
    random.otherwise = 0.3;
    DrillRun run(3);
    run.start();
    for (int i = 0; i < 3; ++i) {
        run.chooseQuestion(random);
        run.answer(1, 0.0);
    }
    QCOMPARE(random.calls, (QStringList{"reseed", "next", "reseed", "next", "reseed", "next"}));
    // With every country asked there is nothing left to draw.
    run.chooseQuestion(random);
    QCOMPARE(random.calls.size(), 6);
    QCOMPARE(run.askedCount, qint16(3));
}

void DrillRunTest::answersOnlyWhileAwaiting()
{
    ScriptedRandom random;
    random.otherwise = 0.0;
    DrillRun run(2);
    run.start();
    run.chooseQuestion(random);
    QCOMPARE(run.answer(2, 10.0), DrillRun::Answer::Wrong);
    QCOMPARE(run.accuracyPercent, qint16(0));
    // During the pause a second click is no answer, not even the right one.
    QCOMPARE(run.answer(1, 10.5), DrillRun::Answer::Ignored);
    QCOMPARE(run.correctCount, qint16(0));

    run.chooseQuestion(random);
    QCOMPARE(run.currentQuestion, qint16(2));
    QCOMPARE(run.answer(2, 20.0), DrillRun::Answer::Correct);
    QCOMPARE(run.accuracyPercent, qint16(50));
    QCOMPARE(run.finish(), DrillVerdict::Fail);
    QCOMPARE(run.finished, qint16(1));
    QCOMPARE(run.answer(2, 30.0), DrillRun::Answer::Ignored);
    QCOMPARE(run.correctCount, qint16(1));
}

void DrillRunTest::pauseRule_data()
{
    QTest::addColumn<double>("answeredAt");
    QTest::addColumn<double>("tickAt");
    QTest::addColumn<bool>("over");
    QTest::newRow("2.0 s after a whole second") << 100.0 << 102.0 << false;
    QTest::newRow("2.1 s after a whole second") << 100.0 << 102.1 << true;
    QTest::newRow("rounded down: 1.6 s is not enough") << 100.4 << 102.0 << false;
    QTest::newRow("rounded down: 1.7 s after") << 100.4 << 102.1 << true;
    QTest::newRow("half to even, down") << 100.5 << 102.05 << true;
    QTest::newRow("half to even, up") << 101.5 << 104.0 << false;
    QTest::newRow("half to even, up, over") << 101.5 << 104.05 << true;
    QTest::newRow("rounded up: 2.5 s needed") << 100.6 << 103.0 << false;
    QTest::newRow("rounded up, over") << 100.6 << 103.1 << true;
    QTest::newRow("a day after start") << 86399.7 << 86402.1 << true;
    QTest::newRow("a day after start, not yet") << 86399.7 << 86401.9 << false;
}

void DrillRunTest::pauseRule()
{
    QFETCH(double, answeredAt);
    QFETCH(double, tickAt);
    QFETCH(bool, over);
    ScriptedRandom random;
    DrillRun run(3);
    run.start();
    run.chooseQuestion(random);
    run.answer(1, answeredAt);
    QCOMPARE(run.pauseOver(tickAt), over);
}

QTEST_APPLESS_MAIN(DrillRunTest)
#include "tst_drillrun.moc"
