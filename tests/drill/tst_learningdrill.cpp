// The learning drills and the review of a drill's misses, on screen: what
// each kind asks and of which entries, the feedback that names both entries,
// misses asked again until right, the verdict of the first answers, and the
// misses handed on from the drill.

#include "AppState.h"
#include "Cp932.h"
#include "DrillProfile.h"
#include "DrillScreens.h"
#include "HighlightedMap.h"
#include "LearningDrillScreen.h"
#include "LearningKind.h"
#include "MarkerLayout.h"
#include "NameChoices.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionCatalogue.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "ScreenReader.h"
#include "TempDataRoot.h"
#include "TestSeams.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int NisRegion = 6;  // 12 entries

QString nameOf(int country)
{
    return u"国%1"_s.arg(country);
}

// Every fifth entry's overview names no capital; the others' capital runs
// onto a second line.
bool hasCapital(int country)
{
    return country % 5 != 0;
}

enum class Kind { Flag, Capital, Name, Review };

const LearningKind &kindOf(Kind kind)
{
    if (kind == Kind::Review)
        return LearningKinds::review();
    return LearningKinds::submenuKinds()[std::size_t(kind)];
}

} // namespace

class LearningDrillTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void asksWhatItsKindAsks_data();
    void asksWhatItsKindAsks();
    void missNamesBothAndComesBackUntilRight_data();
    void missNamesBothAndComesBackUntilRight();
    void reviewButtonAsksTheMissesOnly();
    void drillHandsItsMissesToTheReview();

private:
    LearningDrillScreen *open(Kind kind);
    void answerWith(LearningDrillScreen *screen, int country);
    // Answers the question, right or with another entry; gives the entry answered.
    int answer(LearningDrillScreen *screen, bool right);
    QImage painted(int country) const;

    TempDataRoot m_data;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScreenHost> m_host;
    FakeClock m_clock;
    ScriptedRandom m_random;
    RecordingSoundPlayer m_sound;
    std::unique_ptr<ScreenContext> m_context;
    QStringList m_told;
};

void LearningDrillTest::initTestCase()
{
    const RegionInfo &region = RegionCatalogue::region(NisRegion);
    const QString folder = region.regionName();
    QString list;
    for (int i = 1; i <= region.countryCount; ++i) {
        list += nameOf(i) + u',' + QString::number(i) + u"\r\n"_s;
        QString overview = u"正式名称：%1\r\n"_s.arg(nameOf(i));
        if (hasCapital(i))
            overview += u"首都：都%1\r\n　市\r\n　（注記）\r\n"_s.arg(i);
        overview += u"・首都：ではない行\r\n"_s;
        m_data.write(u"概要/%1/s%2.txt"_s.arg(folder).arg(i), Cp932::encode(overview));
        m_data.write(u"国旗/%1/h%2.gif"_s.arg(folder).arg(i), pictureBytes(QSize(105, 79), QColor(i * 20, 0, 0)));
    }
    m_data.write(u"概要/%1/kuni.txt"_s.arg(folder), Cp932::encode(list));
    m_data.write(u"画像/maru.gif"_s, pictureBytes(QSize(120, 120), Qt::blue));
    m_data.write(u"画像/batu.gif"_s, pictureBytes(QSize(120, 120), Qt::red));
    for (const char *medal : {"gold", "silver", "copper"})
        m_data.write(u"画像/%1.gif"_s.arg(QLatin1String(medal)), pictureBytes(QSize(112, 126), Qt::yellow));
}

void LearningDrillTest::init()
{
    m_state = std::make_unique<AppState>();
    m_state->DataRoot = m_data.root();
    m_host = std::make_unique<ScreenHost>();
    m_random = ScriptedRandom();
    m_sound.played.clear();
    m_told.clear();
    m_context = std::make_unique<ScreenContext>(ScreenContext{*m_state, *m_host, m_sound, m_clock, m_random});
    registerDrillScreens(*m_host, *m_context);
    ScreenReader::setAnnouncer([this](const QString &text) { m_told.append(text); });
}

void LearningDrillTest::cleanup()
{
    ScreenReader::setAnnouncer(nullptr);
    qDeleteAll(QApplication::topLevelWidgets());
    m_host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

LearningDrillScreen *LearningDrillTest::open(Kind kind)
{
    const QString name = kindOf(kind).screenName(RegionCatalogue::region(NisRegion));
    m_host->show(name);
    auto *screen = qobject_cast<LearningDrillScreen *>(m_host->loadedScreen(name));
    if (!screen || !QTest::qWaitForWindowExposed(screen))
        return nullptr;
    return screen;
}

void LearningDrillTest::answerWith(LearningDrillScreen *screen, int country)
{
    if (screen->kind().answer == LearningKind::Answer::OnMarkers) {
        QTest::mouseClick(screen->mapView()->marker(country - 1), Qt::LeftButton, {}, QPoint(1, 1));
        return;
    }
    for (int i = 0; i < NameChoices::ChoiceCount; ++i)
        if (screen->choiceCountry(i) == country)
            QTest::mouseClick(screen->choiceButton(i), Qt::LeftButton);
}

int LearningDrillTest::answer(LearningDrillScreen *screen, bool right)
{
    const int asked = screen->askedCountry();
    int wrong = screen->choiceCountry(0) == asked ? screen->choiceCountry(1) : screen->choiceCountry(0);
    if (screen->kind().answer == LearningKind::Answer::OnMarkers)
        wrong = asked % 12 + 1;
    answerWith(screen, right ? asked : wrong);
    return right ? asked : wrong;
}

QImage LearningDrillTest::painted(int country) const
{
    return highlightedDrillMap(NisRegion, country);
}

void LearningDrillTest::asksWhatItsKindAsks_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("entries");
    QTest::newRow("国旗ドリル") << Kind::Flag << u"ＮＩＳ諸国国旗ドリル"_s << 12;
    // Entries 5 and 10 name no capital.
    QTest::newRow("首都ドリル") << Kind::Capital << u"ＮＩＳ諸国首都ドリル"_s << 10;
    QTest::newRow("国名ドリル") << Kind::Name << u"ＮＩＳ諸国国名ドリル"_s << 12;
    QTest::newRow("review of all") << Kind::Review << u"ＮＩＳ諸国ドリル（もう一度）"_s << 12;
}

void LearningDrillTest::asksWhatItsKindAsks()
{
    QFETCH(Kind, kind);
    QFETCH(QString, caption);
    QFETCH(int, entries);
    LearningDrillScreen *screen = open(kind);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), caption);
    QCOMPARE(screen->order().entryCount(), entries);
    QCOMPARE(screen->remainingLabel()->text(), QString::number(entries));

    const int asked = screen->askedCountry();
    const QString question = screen->questionLabel()->text().trimmed();
    QVERIFY(!m_told.isEmpty());
    QVERIFY2(m_told.last().contains(question), qPrintable(m_told.last()));
    QVERIFY(m_told.last().contains(u"残 %1 問"_s.arg(entries)));
    switch (kind) {
    case Kind::Flag:
        QCOMPARE(question, u"この国旗の国はどこ？"_s);
        QVERIFY(screen->questionPicture()->isVisible());
        QCOMPARE(screen->questionPicture()->image().pixelColor(1, 1), QColor(asked * 20, 0, 0));
        break;
    case Kind::Capital:
        QVERIFY(hasCapital(asked));
        QCOMPARE(question, u"首都が都%1市の国はどこ？"_s.arg(asked));
        break;
    case Kind::Name: {
        QCOMPARE(screen->mapView()->surface(), painted(asked));
        QList<qint16> shown;
        for (int i = 0; i < NameChoices::ChoiceCount; ++i) {
            shown.append(qint16(screen->choiceCountry(i)));
            QCOMPARE(screen->choiceButton(i)->accessibleName(), nameOf(shown.last()));
            QVERIFY(screen->choiceButton(i)->isVisible());
        }
        QList<qint16> expected = NameChoices::nearestEntries(markerLayout(NisRegion).drillMarkers, asked, 3);
        expected.append(qint16(asked));
        std::sort(shown.begin(), shown.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(shown, expected);
        break;
    }
    case Kind::Review:
        QCOMPARE(question, nameOf(asked) + u"はどこ？"_s);
        break;
    }
}

void LearningDrillTest::missNamesBothAndComesBackUntilRight_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("国旗ドリル") << Kind::Flag;
    QTest::newRow("首都ドリル") << Kind::Capital;
    QTest::newRow("国名ドリル") << Kind::Name;
}

void LearningDrillTest::missNamesBothAndComesBackUntilRight()
{
    QFETCH(Kind, kind);
    m_state->AccuracyRates[NisRegion] = 37;
    LearningDrillScreen *screen = open(kind);
    QVERIFY(screen);
    const int entries = screen->order().entryCount();

    // The first question answered wrong: both names, the asked one painted.
    const int missed = screen->askedCountry();
    const QString answered = nameOf(answer(screen, false));
    QVERIFY(screen->feedbackTimer()->isActive());
    QCOMPARE(m_sound.played.last(), m_data.root() + u"/音/x.wav"_s);
    QVERIFY(screen->feedbackPicture()->isVisible());
    QCOMPARE(screen->mapView()->surface(), painted(missed));
    const QString told = m_told.last();
    QVERIFY2(told.contains(u"正しい答えは"_s + nameOf(missed)), qPrintable(told));
    QVERIFY2(told.contains(u"あなたの答えは"_s + answered), qPrintable(told));
    QVERIFY(screen->feedbackText()->text().contains(nameOf(missed)));
    QCOMPARE(screen->accuracyLabel()->text(), u"0"_s);

    // Enter ends the pause at once, with no time gone by.
    QTest::keyClick(screen, Qt::Key_Return);
    QVERIFY(!screen->feedbackTimer()->isActive());
    QVERIFY(!screen->feedbackPicture()->isVisible());
    QVERIFY(screen->askedCountry() != missed);

    // Everything else right: the miss comes back after three to five others.
    int asked = 1;
    int missedAskedAgainAt = 0;
    while (!screen->isFinished()) {
        QVERIFY(asked < 3 * entries);
        if (screen->askedCountry() == missed)
            missedAskedAgainAt = asked;
        answer(screen, true);
        ++asked;
        QTest::mouseClick(screen, Qt::LeftButton, {}, QPoint(2, screen->height() - 2));
    }
    QCOMPARE(asked, entries + 1);
    QVERIFY2(missedAskedAgainAt >= 4 && missedAskedAgainAt <= 6, qPrintable(QString::number(missedAskedAgainAt)));

    // First answers: all but one right.
    const int percent = 100 * (entries - 1) / entries;
    QCOMPARE(screen->accuracyLabel()->text(), QString::number(percent));
    QCOMPARE(m_sound.played.last(),
             m_data.root() + (percent >= 60 ? u"/音/gokaku.wav"_s : u"/音/dame.wav"_s));
    QVERIFY(screen->reviewButton()->isVisible());
    QCOMPARE(screen->reviewButton()->accessibleName(), u"まちがえた国をもう一度"_s);
    QVERIFY(!screen->questionLabel()->isVisible());
    // The learning drills store nothing.
    QCOMPARE(m_state->AccuracyRates[NisRegion], qint16(37));
}

void LearningDrillTest::reviewButtonAsksTheMissesOnly()
{
    LearningDrillScreen *screen = open(Kind::Flag);
    QVERIFY(screen);
    QList<qint16> missed;
    while (!screen->isFinished()) {
        const bool first = !screen->order().isReask();
        const bool right = !(first && missed.size() < 3);
        if (!right)
            missed.append(qint16(screen->askedCountry()));
        answer(screen, right);
        QTest::keyClick(screen, Qt::Key_Space);
    }
    QCOMPARE(screen->order().missedAtFirst(), missed);
    QVERIFY(screen->reviewButton()->isVisible());

    QTest::mouseClick(screen->reviewButton(), Qt::LeftButton);
    QVERIFY(!screen->isFinished());
    QVERIFY(!screen->reviewButton()->isVisible());
    QCOMPARE(screen->order().entryCount(), 3);
    QCOMPARE(screen->remainingLabel()->text(), u"3"_s);
    QList<qint16> asked;
    while (!screen->isFinished()) {
        asked.append(qint16(screen->askedCountry()));
        answer(screen, true);
        QTest::keyClick(screen, Qt::Key_Space);
    }
    std::sort(asked.begin(), asked.end());
    std::sort(missed.begin(), missed.end());
    QCOMPARE(asked, missed);
    // All right at the first answer: gold, and nothing more to review.
    QCOMPARE(screen->accuracyLabel()->text(), u"100"_s);
    QVERIFY(!screen->reviewButton()->isVisible());
}

void LearningDrillTest::drillHandsItsMissesToTheReview()
{
    const RegionInfo &region = RegionCatalogue::region(NisRegion);
    m_host->show(region.drillScreenName());
    auto *drill = qobject_cast<RegionDrillScreen *>(m_host->loadedScreen(region.drillScreenName()));
    QVERIFY(drill);
    QList<qint16> missed;
    for (int i = 0; i < 12; ++i) {
        const int asked = drill->run().currentQuestion;
        const bool right = i % 4 != 0;
        if (!right)
            missed.append(qint16(asked));
        QTest::mouseClick(drill->mapView()->marker(right ? asked - 1 : asked % 12), Qt::LeftButton, {}, QPoint(1, 1));
        QVERIFY(!drill->reviewButton()->isVisible());
        m_clock.now += 3.0;
        drill->timerTicked();
    }
    // The drill's own end is as before: 9 of 12 stored.
    QCOMPARE(m_state->AccuracyRates[NisRegion], qint16(75));
    QVERIFY(drill->reviewButton()->isVisible());

    QTest::mouseClick(drill->reviewButton(), Qt::LeftButton);
    QVERIFY(!m_host->isLoaded(region.drillScreenName()));
    auto *review = qobject_cast<LearningDrillScreen *>(m_host->loadedScreen(region.reviewDrillScreenName()));
    QVERIFY(review);
    QVERIFY(m_state->ReviewCountries.isEmpty());
    QCOMPARE(review->order().entryCount(), 3);
    QVERIFY(missed.contains(qint16(review->askedCountry())));
    // Each entry missed at its first answer, right when asked again.
    while (!review->isFinished()) {
        answer(review, review->order().isReask());
        QTest::keyClick(review, Qt::Key_Return);
    }
    QCOMPARE(review->order().missedAtFirst().size(), 3);
    QCOMPARE(review->failNotice()->isVisible(), true);
    QCOMPARE(m_state->AccuracyRates[NisRegion], qint16(75));
}

QTEST_MAIN(LearningDrillTest)
#include "tst_learningdrill.moc"
