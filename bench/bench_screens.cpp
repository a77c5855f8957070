// Time from a user's action on a real screen to the screen showing its
// outcome, on the shipped data directory (data/ of the source tree, or
// KUNISHIRABE_DATA_DIR), offscreen:
//   AtlasLoad          アフリカ atlas: construction, its load step and the first
//                      paint of the shown window;
//   AtlasChoice        one choice from the entry list (keyboard Down/Home on
//                      Combo1): overview, flag story and flag GIF read, the map
//                      highlighted, the changed widgets painted; all 53 entries
//                      in turn, with the flag-story pop-up open;
//   DrillLoad/...      アフリカ's drill (DrillLoad/国ドリル) and each learning drill
//                      opened in the same way: construction, load step, first
//                      paint;
//   DrillAnswer/Right  a click on the asked marker of the アフリカ drill until the
//   DrillAnswer/Wrong  circle or cross and the accuracy are painted (a wrong
//                      answer also highlights the asked country);
//   ScreenChange/...   a click on the button that leads from one screen to the
//                      next (アジア's), until the next one is exposed and painted:
//                      the old screen hidden and discarded, the new one made,
//                      loaded and shown, as bench/web.js measures in the browser.
// Every measurement ends after the events the action posted have been
// delivered and the window has painted into its backing store. Not included:
// presenting that store on a real display, and (except in .../RealSound) the
// start of the sound, which the tests' recording player stands in for.
// Counters: max_ms is the slowest single action, median_ms the median one,
// first_ms the first one of the process (for AtlasLoad: the first atlas after
// the main menu was shown), paints the widgets painted per action. With
// KUNISHIRABE_GRAB_DIR set, ScreenChange saves each screen it reached there
// once (to compare the pictures before and after a change of the drawing).
#include "AppState.h"
#include "AtlasScreens.h"
#include "OfficialPageScreen.h"
#include "DrillRun.h"
#include "DrillScreens.h"
#include "LearningDrillScreen.h"
#include "LearningKind.h"
#include "Fonts.h"
#include "MainMenuScreen.h"
#include "PracticeScreens.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "QuietLibraries.h"
#include "RegionAtlasScreen.h"
#include "RegionCatalogue.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "RegionSubmenuScreen.h"
#include "ResultsScreen.h"
#include "ReviewDesk.h"
#include "ReviewSessionScreen.h"
#include "ReviewStore.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "DesktopSeams.h"
#include "TestSeams.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int Africa = 4;
constexpr int Asia = 1;

QString dataRoot()
{
    const QString root = qEnvironmentVariable("KUNISHIRABE_DATA_DIR");
    return root.isEmpty() ? QStringLiteral(KUNISHIRABE_SOURCE_DIR "/data") : root;
}

// Counts the paint events of widgets; only one screen is open at a time.
class PaintCounter : public QObject
{
public:
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    int take() { return std::exchange(m_count, 0); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            ++m_count;
        return false;
    }

private:
    int m_count = 0;
};

// Delivers what an action posted (window-system events, layout requests,
// update requests), which paints the changed widgets into the backing store.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

bool exposed(const QWidget *screen)
{
    return screen && screen->windowHandle() && screen->windowHandle()->isExposed();
}

// Delivers what was posted until the screen `name` is exposed and painted; that screen.
QWidget *settledScreen(const ScreenHost &host, const QString &name)
{
    QWidget *screen = host.loadedScreen(name);
    settle();
    for (int i = 0; i < 100 && !exposed(screen); ++i)
        settle();
    return screen;
}

// The state, host and seams of a screen, as the tests build them.
struct Screens {
    explicit Screens(SoundPlayer *realSound = nullptr)
        : context{state, host, realSound ? *realSound : sound, clock, random}
    {
        state.DataRoot = dataRoot();
        host.registerScreen(MainMenuScreen::ScreenName, [this] { return new MainMenuScreen(context, &review); });
        host.registerScreen(RegionSubmenuScreen::ScreenName, [this] { return new RegionSubmenuScreen(context); });
        registerAtlasScreens(host, context, registerOfficialPageScreen(host, context));
        registerDrillScreens(host, context);
        registerResultsScreen(host, context);
        registerPracticeScreens(host, context, review);
    }
    ~Screens() { unload(); }

    void unload()
    {
        host.unload(MainMenuScreen::ScreenName);
        host.unload(RegionSubmenuScreen::ScreenName);
        host.unload(ResultsScreen::ScreenName);
        host.unload(ReviewSessionScreen::ScreenName);
        for (const RegionInfo &region : RegionCatalogue::all()) {
            host.unload(region.atlasScreenName());
            host.unload(region.drillScreenName());
            for (const LearningKind &kind : LearningKinds::submenuKinds())
                host.unload(kind.screenName(region));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Shows a screen and returns once it is exposed and painted.
    QWidget *show(const QString &name)
    {
        host.show(name);
        return settledScreen(host, name);
    }

    AppState state;
    ScreenHost host;
    RecordingSoundPlayer sound;
    FakeClock clock;
    ScriptedRandom random;
    ScreenContext context;
    FakeCalendar calendar;
    QTemporaryDir reviewFolder;
    ReviewRecordFile reviewStore{reviewFolder.filePath(QStringLiteral("review-record.json"))};
    ReviewDesk review{reviewStore, calendar};
};

// Times actions one by one: the slowest, and the first of the process.
class ActionClock
{
public:
    explicit ActionClock(double &first) : m_first(first) {}
    void start() { m_timer.start(); }
    void stop()
    {
        const double ms = double(m_timer.nsecsElapsed()) / 1e6;
        if (m_first < 0)
            m_first = ms;
        m_times.push_back(ms);
    }
    void report(benchmark::State &state, int paints)
    {
        if (m_times.empty())
            return;
        std::sort(m_times.begin(), m_times.end());
        state.counters["max_ms"] = m_times.back();
        state.counters["median_ms"] = m_times[m_times.size() / 2];
        state.counters["first_ms"] = m_first;
        state.counters["paints"] = double(paints) / double(m_times.size());
    }

private:
    double &m_first;
    QElapsedTimer m_timer;
    std::vector<double> m_times;
};

// Opens the screen `name` and discards it, over and over; `opened` tells
// whether it opened as it should. `first` keeps the first time of the process.
void screenLoad(benchmark::State &state, Screens &screens, const QString &name, double &first,
                const std::function<bool(QWidget *)> &opened)
{
    ActionClock clock(first);
    PaintCounter counter;
    int paints = 0;
    for (auto _ : state) {
        counter.take();
        clock.start();
        screens.host.show(name);
        QWidget *screen = settledScreen(screens.host, name);
        clock.stop();
        paints += counter.take();

        state.PauseTiming();
        if (!exposed(screen) || !opened(screen))
            state.SkipWithError("the screen did not open as it should");
        screens.unload();
        state.ResumeTiming();
    }
    clock.report(state, paints);
}

void atlasLoad(benchmark::State &state)
{
    Screens screens;
    static double first = -1.0;
    if (first < 0) {
        // The first atlas of a session opens after the main menu has been
        // shown, which has set up fonts and style: first_ms is that one.
        screens.show(MainMenuScreen::ScreenName);
        screens.unload();
    }
    screenLoad(state, screens, RegionCatalogue::region(Africa).atlasScreenName(), first, [](QWidget *screen) {
        auto *atlas = qobject_cast<RegionAtlasScreen *>(screen);
        return atlas && atlas->selector()->count() == RegionCatalogue::region(Africa).countryCount;
    });
}

// kind: a learning drill of LearningKinds::submenuKinds(), or -1 for the drill.
void drillLoad(benchmark::State &state, int kind)
{
    Screens screens;
    const RegionInfo &region = RegionCatalogue::region(Africa);
    double first = -1.0;
    if (kind < 0) {
        screenLoad(state, screens, region.drillScreenName(), first, [](QWidget *screen) {
            auto *drill = qobject_cast<RegionDrillScreen *>(screen);
            return drill && drill->run().askedCount == 1;
        });
        return;
    }
    const LearningKind &learning = LearningKinds::submenuKinds()[std::size_t(kind)];
    screenLoad(state, screens, learning.screenName(region), first, [](QWidget *screen) {
        auto *drill = qobject_cast<LearningDrillScreen *>(screen);
        return drill && drill->askedCountry() > 0;
    });
}

// A record as a year of reviews leaves it: every entry asked, a fifth due today.
void storeFullRecord(Screens &screens)
{
    ReviewRecord record;
    const QDate today = screens.calendar.today();
    const ReviewCatalogue catalogue = ReviewDesk::readCatalogue(screens.state, false);
    for (int i = 0; i < int(catalogue.entries.size()); ++i)
        record.recordSession({{catalogue.entries[i].key, i % 5 != 0}}, today.addDays(i % 5 == 0 ? -1 : 0));
    screens.reviewStore.write(record.toJson());
}

// The menu, counting what is due; the review session, planning and asking its first question.
void reviewLoad(benchmark::State &state, bool session)
{
    Screens screens;
    storeFullRecord(screens);
    double first = -1.0;
    if (!session) {
        screenLoad(state, screens, MainMenuScreen::ScreenName, first, [](QWidget *screen) {
            auto *menu = qobject_cast<MainMenuScreen *>(screen);
            return menu && menu->reviewButton()->accessibleDescription() != QStringLiteral("きょう復習する国 0");
        });
        return;
    }
    screenLoad(state, screens, ReviewSessionScreen::ScreenName, first, [](QWidget *screen) {
        auto *review = qobject_cast<ReviewSessionScreen *>(screen);
        return review && review->session().questionCount() == 20;
    });
}

void atlasChoice(benchmark::State &state)
{
    Screens screens;
    const RegionInfo &region = RegionCatalogue::region(Africa);
    auto *screen = qobject_cast<RegionAtlasScreen *>(screens.show(region.atlasScreenName()));
    EntrySelector *list = screen->selector();
    QTest::keyClick(list, Qt::Key_Home);
    settle();
    // Open the flag-story pop-up: from now on every choice reads its file too.
    QTest::mouseMove(screen, QPoint(1, screen->height() - 2));
    QTest::mouseMove(screen, screen->flag()->mapTo(screen, screen->flag()->rect().center()));
    settle();
    if (!screen->originFrame()->isVisible()) {
        state.SkipWithError("the flag-story pop-up did not open");
        return;
    }

    PaintCounter counter;
    static double first = -1.0;
    ActionClock clock(first);
    int paints = 0;
    for (auto _ : state) {
        const qint16 before = screens.state.CurrentCountry;
        const bool last = list->currentIndex() == list->count() - 1;
        counter.take();
        clock.start();
        QTest::keyClick(list, last ? Qt::Key_Home : Qt::Key_Down);
        settle();
        clock.stop();
        paints += counter.take();

        state.PauseTiming();
        if (screens.state.CurrentCountry == before || !screen->originFrame()->isVisible()
            || screen->originList()->count() == 0 || !screen->flag()->isVisible())
            state.SkipWithError("the choice did not show its entry");
        state.ResumeTiming();
    }
    clock.report(state, paints);
}

void drillAnswer(benchmark::State &state, bool correct, bool realSound)
{
    std::unique_ptr<SoundEffectPlayer> sound;
    if (realSound)
        sound = std::make_unique<SoundEffectPlayer>();
    Screens screens(sound.get());
    const QString name = RegionCatalogue::region(Africa).drillScreenName();
    auto *screen = qobject_cast<RegionDrillScreen *>(screens.show(name));
    // Start on the bare corner, away from every marker.
    QTest::mouseMove(screen, QPoint(screen->width() - 2, screen->height() - 2));
    settle();

    PaintCounter counter;
    static double first[2][2] = {{-1.0, -1.0}, {-1.0, -1.0}};
    ActionClock clock(first[correct][realSound]);
    int paints = 0;
    for (auto _ : state) {
        const DrillRun &run = screen->run();
        const int asked = run.currentQuestion;
        const int clicked = correct ? asked : asked % run.questionCount + 1;
        const int rightBefore = run.correctCount;
        MapMarker *marker = screen->mapView()->marker(clicked - 1);
        counter.take();
        clock.start();
        QTest::mouseClick(marker, Qt::LeftButton, {}, QPoint(1, 1));
        settle();
        clock.stop();
        paints += counter.take();

        state.PauseTiming();
        if (!screen->feedbackPicture()->isVisible() || screen->accuracyLabel()->text().isEmpty()
            || (run.correctCount > rightBefore) != correct)
            state.SkipWithError("the answer did not show its verdict");
        // End the pause; after the last question, start a new run.
        screens.clock.now += 10.0;
        screen->timerTicked();
        if (run.finished != 0)
            screen->restartButton()->click();
        settle();
        state.ResumeTiming();
    }
    clock.report(state, paints);
}


// The button with `word` that `screen` shows.
PictureButton *shownButton(QWidget *screen, const QString &word)
{
    for (PictureButton *button : screen->findChildren<PictureButton *>()) {
        if (button->word() == word && button->isVisible())
            return button;
    }
    return nullptr;
}

// A screen change by the pointer: on `from`, a click on the button `word`
// until the screen `to` has replaced it. The screen `from` is made afresh for
// each change, untimed; on the menu, the pointer first crosses the background
// onto the dove when the button is 正解率表示, which it brings out.
void screenChange(benchmark::State &state, const QString &from, const QString &word, const QString &to)
{
    Screens screens;
    screens.state.CurrentRegion = Asia;
    // The first screen of the process sets up fonts and style, as the menu does at start.
    screens.show(MainMenuScreen::ScreenName);
    screens.unload();
    PaintCounter counter;
    double first = -1.0;
    ActionClock clock(first);
    int paints = 0;
    QString grabs = qEnvironmentVariable("KUNISHIRABE_GRAB_DIR");
    for (auto _ : state) {
        state.PauseTiming();
        QWidget *start = screens.show(from);
        if (auto *menu = qobject_cast<MainMenuScreen *>(start); menu && word == QStringLiteral("正解率表示")) {
            QTest::mouseMove(menu, QPoint(menu->width() / 2, menu->height() - 2));
            QTest::mouseMove(menu, menu->dovePicture()->geometry().center());
            settle();
        }
        PictureButton *button = start ? shownButton(start, word) : nullptr;
        if (!button) {
            state.SkipWithError("the button to the next screen is not shown");
            break;
        }
        counter.take();
        state.ResumeTiming();

        clock.start();
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget *screen = settledScreen(screens.host, to);
        clock.stop();
        paints += counter.take();

        state.PauseTiming();
        if (!exposed(screen) || screens.host.loadedScreen(from))
            state.SkipWithError("the click did not change the screen");
        else if (!grabs.isEmpty())
            screen->grab().save(QDir(std::exchange(grabs, QString())).filePath(to + QStringLiteral(".png")));
        screens.unload();
        state.ResumeTiming();
    }
    clock.report(state, paints);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Set up as the program's main() does.
    keepLibrariesFromWriting();
    QApplication app(argc, argv);
    Fonts::installSubstitutions();

    benchmark::RegisterBenchmark("AtlasLoad", atlasLoad)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("DrillLoad/国ドリル", drillLoad, -1)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    for (std::size_t kind = 0; kind < LearningKinds::submenuKinds().size(); ++kind) {
        const std::string word = LearningKinds::submenuKinds()[kind].word;
        benchmark::RegisterBenchmark(("DrillLoad/" + word).c_str(), drillLoad, int(kind))
            ->Unit(benchmark::kMillisecond)->MinTime(1.0);
    }
    benchmark::RegisterBenchmark("MenuLoad/復習の記録つき", reviewLoad, false)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("ReviewLoad/きょうの復習", reviewLoad, true)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("AtlasChoice", atlasChoice)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("DrillAnswer/Right", drillAnswer, true, false)
        ->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("DrillAnswer/Wrong", drillAnswer, false, false)
        ->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("DrillAnswer/Right/RealSound", drillAnswer, true, true)
        ->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::RegisterBenchmark("DrillAnswer/Wrong/RealSound", drillAnswer, false, true)
        ->Unit(benchmark::kMillisecond)->MinTime(1.0);
    const struct {
        const char *name;
        QString from, word, to;
    } changes[] = {
        {"メニュー", QStringLiteral("アジア"), QStringLiteral("メニュー"), MainMenuScreen::ScreenName},
        {"サブメニュー", MainMenuScreen::ScreenName, QStringLiteral("アジア"), RegionSubmenuScreen::ScreenName},
        {"国しらべ", RegionSubmenuScreen::ScreenName, QStringLiteral("国しらべ"), QStringLiteral("アジア")},
        {"国ドリル", RegionSubmenuScreen::ScreenName, QStringLiteral("国ドリル"), QStringLiteral("アジアドリル")},
        {"正解率", MainMenuScreen::ScreenName, QStringLiteral("正解率表示"), ResultsScreen::ScreenName},
    };
    for (const auto &change : changes)
        benchmark::RegisterBenchmark((std::string("ScreenChange/") + change.name).c_str(), screenChange, change.from,
                                     change.word, change.to)
            ->Unit(benchmark::kMillisecond)->MinTime(1.0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
