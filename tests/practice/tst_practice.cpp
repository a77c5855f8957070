// きょうの復習 and 学習の記録 on the real data: the session's order and what
// it keeps, the record as the screens read and write it, the notices.

#include "AppState.h"
#include "CaptionFrame.h"
#include "Cp932.h"
#include "LearningRecordScreen.h"
#include "MainMenuScreen.h"
#include "PictureButton.h"
#include "PracticeScreens.h"
#include "ProgressCharts.h"
#include "RegionCatalogue.h"
#include "RegionMapView.h"
#include "ReviewDesk.h"
#include "ReviewSession.h"
#include "ReviewSessionScreen.h"
#include "ReviewStore.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "ScreenReader.h"
#include "TempDataRoot.h"
#include "TestSeams.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

ReviewQuestion locationQuestion(int regionId, int country, const QString &name)
{
    return {{qint16(regionId), qint16(country), ReviewRecord::keyOf(RegionCatalogue::region(regionId).regionName(), name),
             true},
            ReviewQuestionKind::Location};
}

} // namespace

class PracticeTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sessionAsksAsPlannedAndKeepsFirstAnswers();
    void catalogueKeepsWhatAnUnreadableRegionHeld();
    void menuCountsTodaysDueAndWritesNothing();
    void sessionFollowsTheEntriesAcrossRegionMaps();
    void untrustworthyRecord_data();
    void untrustworthyRecord();
    void recordClearsOnlyOnTheSecondPress();

private:
    QString recordPath() const { return m_folder->filePath(u"review-record.json"_s); }
    void useStoreAt(const QString &path);
    // A record with `keys` due on the calendar's day, longest overdue first.
    void storeDueToday(const QStringList &keys);
    ReviewSessionScreen *openSession();
    void answerRight(ReviewSessionScreen *screen);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScreenHost> m_host;
    RecordingSoundPlayer m_sound;
    FakeClock m_clock;
    ScriptedRandom m_random;
    FakeCalendar m_calendar;
    std::unique_ptr<ScreenContext> m_context;
    std::unique_ptr<ReviewRecordFile> m_store;
    std::unique_ptr<ReviewDesk> m_desk;
    QStringList m_told;
};

void PracticeTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<AppState>();
    m_state->DataRoot = QStringLiteral(KUNISHIRABE_SOURCE_DIR) + u"/data"_s;
    m_host = std::make_unique<ScreenHost>();
    m_random = ScriptedRandom();
    m_context = std::make_unique<ScreenContext>(ScreenContext{*m_state, *m_host, m_sound, m_clock, m_random});
    useStoreAt(recordPath());
    m_told.clear();
    ScreenReader::setAnnouncer([this](const QString &text) { m_told.append(text); });
}

void PracticeTest::useStoreAt(const QString &path)
{
    m_host = std::make_unique<ScreenHost>();
    m_context = std::make_unique<ScreenContext>(ScreenContext{*m_state, *m_host, m_sound, m_clock, m_random});
    m_store = std::make_unique<ReviewRecordFile>(path);
    m_desk = std::make_unique<ReviewDesk>(*m_store, m_calendar);
    m_host->registerScreen(MainMenuScreen::ScreenName, [this] { return new MainMenuScreen(*m_context, m_desk.get()); });
    registerPracticeScreens(*m_host, *m_context, *m_desk);
}

void PracticeTest::cleanup()
{
    ScreenReader::setAnnouncer(nullptr);
    qDeleteAll(QApplication::topLevelWidgets());
    m_host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void PracticeTest::storeDueToday(const QStringList &keys)
{
    ReviewRecord record;
    const QDate today = m_calendar.today();
    // Each one asked a day earlier than the one after it, so the first is the longest overdue.
    for (int i = 0; i < int(keys.size()); ++i)
        record.recordSession({{keys[i], false}}, today.addDays(-int(keys.size()) + i - 1));
    QVERIFY(m_store->write(record.toJson()));
}

ReviewSessionScreen *PracticeTest::openSession()
{
    m_host->show(ReviewSessionScreen::ScreenName);
    auto *screen = qobject_cast<ReviewSessionScreen *>(m_host->loadedScreen(ReviewSessionScreen::ScreenName));
    return screen && QTest::qWaitForWindowExposed(screen) ? screen : nullptr;
}

void PracticeTest::answerRight(ReviewSessionScreen *screen)
{
    const int country = screen->session().current().entry.country;
    QTest::mouseClick(screen->mapView()->marker(country - 1), Qt::LeftButton, {}, QPoint(1, 1));
    m_clock.now += 3.0;
    screen->timerTicked();
}

void PracticeTest::sessionAsksAsPlannedAndKeepsFirstAnswers()
{
    QList<ReviewQuestion> planned;
    for (int i = 1; i <= 6; ++i)
        planned.append(locationQuestion(1, i, u"国%1"_s.arg(i)));
    const QDate day(2026, 4, 8);
    ReviewSession session(planned, day, m_random);
    ReviewRecord record;
    QList<int> asked;
    // The second question is missed once.
    while (!session.isOver()) {
        const int country = session.current().entry.country;
        const bool again = session.isReask();
        asked.append(country);
        const bool right = country != 2 || again;
        QCOMPARE(session.answer(right, record, m_random), !again);
        // Broken off at any point, the record already holds every first answer.
        QCOMPARE(record.entries().size(), qsizetype(std::set<int>(asked.begin(), asked.end()).size()));
    }
    // In the planned order; the random source's 0 puts the miss back after the fewest others.
    QCOMPARE(asked, (QList<int>{1, 2, 3, 4, 5, 2, 6}));
    QCOMPARE(session.rightAtFirstCount(), 5);
    QCOMPARE(session.askedAgainCount(), 1);
    QCOMPARE(record.state(planned[1].entry.key)->due, day.addDays(1));
    QCOMPARE(record.state(planned[0].entry.key)->due, day.addDays(2));
    QCOMPARE(record.practiceDays(), QList<QDate>{day});
}

void PracticeTest::catalogueKeepsWhatAnUnreadableRegionHeld()
{
    // Only アジア's list can be read: the other regions' entries must wait, not go.
    TempDataRoot data;
    QString list;
    for (int i = 1; i <= RegionCatalogue::region(1).countryCount; ++i)
        list += u"国%1,%1\r\n"_s.arg(i);
    data.write(u"概要/アジア/kuni.txt"_s, Cp932::encode(list));
    AppState state;
    state.DataRoot = data.root();
    const ReviewCatalogue catalogue = ReviewDesk::readCatalogue(state, false);
    QCOMPARE(catalogue.entries.size(), qsizetype(RegionCatalogue::region(1).countryCount));
    QCOMPARE(catalogue.unreadableRegions.size(), qsizetype(7));
    QVERIFY(catalogue.keeps(u"アジア/国3"_s));
    QVERIFY(!catalogue.keeps(u"アジア/もう無い国"_s));
    QVERIFY(catalogue.keeps(u"ヨーロッパ/フランス"_s));
}

void PracticeTest::menuCountsTodaysDueAndWritesNothing()
{
    m_host->show(MainMenuScreen::ScreenName);
    auto *menu = qobject_cast<MainMenuScreen *>(m_host->loadedScreen(MainMenuScreen::ScreenName));
    QVERIFY(menu && menu->reviewButton());
    QCOMPARE(menu->reviewButton()->accessibleName(), u"きょうの復習"_s);
    QCOMPARE(menu->reviewButton()->accessibleDescription(), u"きょう復習する国 0"_s);
    QVERIFY(!QFile::exists(recordPath()));
    m_host->unload(MainMenuScreen::ScreenName);

    // Two due today, one tomorrow, one no longer in the data.
    ReviewRecord record;
    record.recordSession({{u"アジア/日本"_s, false}, {u"ヨーロッパ/フランス"_s, false}, {u"アジア/消えた国"_s, false}},
                         m_calendar.today().addDays(-1));
    record.recordSession({{u"アフリカ/ケニア"_s, false}}, m_calendar.today());
    QVERIFY(m_store->write(record.toJson()));
    const QByteArray stored = readFile(recordPath());
    m_host->show(MainMenuScreen::ScreenName);
    menu = qobject_cast<MainMenuScreen *>(m_host->loadedScreen(MainMenuScreen::ScreenName));
    QCOMPARE(menu->reviewButton()->accessibleDescription(), u"きょう復習する国 2"_s);
    QCOMPARE(menu->reviewButton()->word(), u"きょうの復習　2 問"_s);
    QCOMPARE(readFile(recordPath()), stored);
}

void PracticeTest::sessionFollowsTheEntriesAcrossRegionMaps()
{
    storeDueToday({u"ヨーロッパ/フランス"_s, u"アジア/日本"_s, u"南アメリカ/ブラジル"_s});
    const QByteArray before = readFile(recordPath());
    ReviewSessionScreen *screen = openSession();
    QVERIFY(screen);
    // Nothing is written before the first answer.
    QCOMPARE(readFile(recordPath()), before);
    QCOMPARE(screen->session().questionCount(), 10);
    const QStringList expected{u"ヨーロッパ"_s, u"アジア"_s, u"南アメリカ"_s};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(screen->mapView()->accessibleName(), expected[i] + u"の地図"_s);
        QCOMPARE(screen->windowTitle(), u"きょうの復習"_s);
        QVERIFY(screen->mapView()->isVisible());
        QVERIFY(screen->mapView()->geometry().right() < screen->width());
        answerRight(screen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The due ones moved up at once; the session then fills from アジア.
    ReviewRecord::Fault fault;
    const ReviewRecord saved = ReviewRecord::fromJson(readFile(recordPath()), &fault);
    QCOMPARE(fault, ReviewRecord::Fault::None);
    QCOMPARE(saved.state(u"アジア/日本"_s)->box, qint16(2));
    QCOMPARE(saved.state(u"南アメリカ/ブラジル"_s)->due, m_calendar.today().addDays(2));
    QCOMPARE(screen->mapView()->accessibleName(), u"アジアの地図"_s);
    while (!screen->isFinished())
        answerRight(screen);
    QVERIFY(screen->summaryLabel()->text().contains(u"はじめの答えで正解 10 / 10 問"_s));
    QVERIFY(screen->summaryLabel()->text().contains(u"あしたの復習 0 問"_s));
    QVERIFY(screen->endRecordButton()->isVisible());
    QTest::mouseClick(screen->endRecordButton(), Qt::LeftButton);
    QVERIFY(m_host->isLoaded(LearningRecordScreen::ScreenName));
}

void PracticeTest::untrustworthyRecord_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("unwritable");
    QTest::addColumn<QString>("told");
    QTest::newRow("not JSON") << QByteArray("{\"format\":1,") << false << u"これまでの記録が読めませんでした"_s;
    QTest::newRow("a later format") << QByteArray(R"({"format":2,"entries":{},"days":[]})") << false
                                    << u"これまでの記録が読めませんでした"_s;
    QTest::newRow("a folder that cannot be made") << QByteArray() << true << u"記録を保存できません"_s;
}

void PracticeTest::untrustworthyRecord()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, unwritable);
    QFETCH(QString, told);
    if (unwritable) {
        // A plain file where the record's folder should be: no one can write there, root neither.
        writeFile(m_folder->filePath(u"blocked"_s), "a file");
        useStoreAt(m_folder->filePath(u"blocked/review-record.json"_s));
    } else {
        writeFile(recordPath(), stored);
    }
    ReviewSessionScreen *screen = openSession();
    QVERIFY(screen);
    if (!unwritable) {
        // Kept aside unchanged, and not written over; told as the session opens.
        const QStringList aside = QDir(m_folder->path()).entryList({u"review-record.json.bad-*"_s});
        QCOMPARE(aside.size(), qsizetype(1));
        QCOMPARE(readFile(m_folder->filePath(aside.first())), stored);
        QVERIFY(!QFile::exists(recordPath()));
        QVERIFY(screen->panel().judgementDescription().startsWith(told));
    }
    // A save that fails is told with the next question; the session goes on.
    answerRight(screen);
    QCOMPARE(screen->panel().judgementDescription().startsWith(told), unwritable);
    const qsizetype toldTimes = m_told.filter(told).size();
    QVERIFY(toldTimes > 0);
    // Once told, not again once the pupil has answered.
    answerRight(screen);
    QVERIFY(!screen->panel().judgementDescription().startsWith(told));
    QCOMPARE(m_told.filter(told).size(), toldTimes);
    QCOMPARE(screen->session().firstAnswerCount(), 2);
    if (!unwritable) {
        ReviewRecord::Fault fault;
        QCOMPARE(ReviewRecord::fromJson(readFile(recordPath()), &fault).entries().size(), qsizetype(2));
    }
}

void PracticeTest::recordClearsOnlyOnTheSecondPress()
{
    storeDueToday({u"アジア/日本"_s, u"アジア/中国"_s});
    m_host->show(LearningRecordScreen::ScreenName);
    auto *screen = qobject_cast<LearningRecordScreen *>(m_host->loadedScreen(LearningRecordScreen::ScreenName));
    QVERIFY(screen && QTest::qWaitForWindowExposed(screen));
    const int asia = RegionCatalogue::region(1).countryCount;
    QCOMPARE(screen->regionBar(0)->accessibleName(),
             u"アジア　新しい %1　練習中 2　覚えた 0　マスター 0"_s.arg(asia - 2));
    QCOMPARE(screen->dayStrip()->accessibleDescription(), u"28 日のうち 2 日 練習しました"_s);

    const QByteArray before = readFile(recordPath());
    QTest::mouseClick(screen->clearButton(), Qt::LeftButton);
    QCOMPARE(readFile(recordPath()), before);
    QVERIFY(screen->confirmClearButton()->isVisible());
    // A second press on 記録を消す takes the question back.
    QTest::mouseClick(screen->clearButton(), Qt::LeftButton);
    QVERIFY(!screen->confirmClearButton()->isVisible());
    QCOMPARE(readFile(recordPath()), before);

    QTest::mouseClick(screen->clearButton(), Qt::LeftButton);
    QTest::mouseClick(screen->confirmClearButton(), Qt::LeftButton);
    ReviewRecord::Fault fault;
    QVERIFY(ReviewRecord::fromJson(readFile(recordPath()), &fault).isEmpty());
    QCOMPARE(fault, ReviewRecord::Fault::None);
    QCOMPARE(screen->regionBar(0)->accessibleName(), u"アジア　新しい %1　練習中 0　覚えた 0　マスター 0"_s.arg(asia));
}

QTEST_MAIN(PracticeTest)
#include "tst_practice.moc"
