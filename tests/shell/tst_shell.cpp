#include "AppState.h"
#include "Application.h"
#include "Cp932.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "MainMenuScreen.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RecordingReporter.h"
#include "RegionCatalogue.h"
#include "TestSeams.h"
#include "RegionSubmenuScreen.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "TempDataRoot.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

RecordingReporter *g_reporter = nullptr;




// A handler that fails on the value it is given.
struct FailingHandler {
    void fail(int value) { throw DataError(u"概要/h%1.txt"_s.arg(value), u"読めません。"_s); }
};

// A stand-in for a screen of another subsystem: records that it was loaded.
class StubScreen : public QWidget
{
public:
    explicit StubScreen(const QString &name) { setObjectName(name); }
};

} // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hostLoadsOnFirstUseAndUnloadsFresh();
    void hostTransitionUnloadsBeforeShowing();
    void hostReportsWhenTheUserClosesTheLastWindow();

    void menuStartsWithNothingRevealed();
    void resultsButtonNeedsTheBackgroundFirst();
    void flagTextNeedsTheBackgroundFirst();
    void flagText_data();
    void flagText();
    void secondClickOnTheSameFlagDoesNotReread();
    void emptyFlagTextGivesAnEmptyVisibleList();
    void missingFlagTextIsReportedAsADataError();
    void guardedHandlers_data();
    void guardedHandlers();
    void backgroundHidesListAndResultsButton();
    void tapsRevealPressAndHide();
    void regionButtonsOpenTheSubmenu_data();
    void regionButtonsOpenTheSubmenu();
    void exitButtonEndsTheProgram();
    void everyButtonHasItsWordAsAccessibleName();

    void submenuDispatch_data();
    void submenuDispatch();
    void submenuWithoutTargetScreenDoesNothing();

private:
    MainMenuScreen *showMenu();
    void moveTo(QWidget *window, QWidget *target);
    void moveToBackground(QWidget *window);

    std::unique_ptr<TempDataRoot> m_data;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScreenHost> m_host;
    RecordingSoundPlayer m_sound;
    FakeClock m_clock;
    ScriptedRandom m_random;
    std::unique_ptr<ScreenContext> m_context;
};

void ShellTest::init()
{
    m_data = std::make_unique<TempDataRoot>();
    for (int k = 1; k <= 3; ++k)
        m_data->write(u"国旗/h%1.txt"_s.arg(k), Cp932::encode(u"旗%1 一行目\r\n旗%1 二行目\r\n"_s.arg(k)));
    m_state = std::make_unique<AppState>();
    m_state->DataRoot = m_data->root();
    m_host = std::make_unique<ScreenHost>();
    m_context = std::make_unique<ScreenContext>(ScreenContext{*m_state, *m_host, m_sound, m_clock, m_random});
    m_host->registerScreen(MainMenuScreen::ScreenName, [this] { return new MainMenuScreen(*m_context); });
    m_host->registerScreen(RegionSubmenuScreen::ScreenName, [this] { return new RegionSubmenuScreen(*m_context); });
    g_reporter->files.clear();
    g_reporter->messages.clear();
}

void ShellTest::cleanup()
{
    for (const QString &name : {MainMenuScreen::ScreenName, RegionSubmenuScreen::ScreenName})
        m_host->unload(name);
    m_host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

MainMenuScreen *ShellTest::showMenu()
{
    m_host->show(MainMenuScreen::ScreenName);
    auto *menu = qobject_cast<MainMenuScreen *>(m_host->loadedScreen(MainMenuScreen::ScreenName));
    if (menu && !QTest::qWaitForWindowExposed(menu))
        return nullptr;
    return menu;
}

void ShellTest::moveTo(QWidget *window, QWidget *target)
{
    // A move to the position of the previous move is dropped: go via a corner of the target first.
    const QPoint centre = target->mapTo(window, target->rect().center());
    QTest::mouseMove(window, target->mapTo(window, QPoint(1, 1)));
    QTest::mouseMove(window, centre);
}

void ShellTest::moveToBackground(QWidget *window)
{
    QTest::mouseMove(window, QPoint(3, 470));
    QTest::mouseMove(window, QPoint(2, 471));
}

void ShellTest::hostLoadsOnFirstUseAndUnloadsFresh()
{
    int created = 0;
    m_host->registerScreen(u"x"_s, [&] { ++created; return new StubScreen(u"x"_s); });
    QVERIFY(!m_host->isLoaded(u"x"_s));
    m_host->unload(u"x"_s); // not loaded: nothing happens
    QWidget *first = m_host->screen(u"x"_s);
    m_host->show(u"x"_s);
    QCOMPARE(created, 1);
    QCOMPARE(m_host->screen(u"x"_s), first);
    QPointer<QWidget> watch(first);
    m_host->unload(u"x"_s);
    QVERIFY(!m_host->isLoaded(u"x"_s));
    QVERIFY(first->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(watch.isNull());
    m_host->show(u"x"_s);
    QCOMPARE(created, 2);
    m_host->unload(u"x"_s);
}

void ShellTest::hostTransitionUnloadsBeforeShowing()
{
    QStringList events;
    m_host->registerScreen(u"a"_s, [&] { events << u"load a"_s; return new StubScreen(u"a"_s); });
    m_host->registerScreen(u"b"_s, [&] {
        events << (m_host->isLoaded(u"a"_s) ? u"load b, a still loaded"_s : u"load b"_s);
        return new StubScreen(u"b"_s);
    });
    m_host->show(u"a"_s);
    m_host->transition(u"a"_s, u"b"_s);
    QCOMPARE(events, (QStringList{u"load a"_s, u"load b"_s}));
    QVERIFY(m_host->loadedScreen(u"b"_s)->isVisible());
    m_host->unload(u"b"_s);
}

void ShellTest::hostReportsWhenTheUserClosesTheLastWindow()
{
    m_host->registerScreen(u"a"_s, [] { return new StubScreen(u"a"_s); });
    m_host->registerScreen(u"b"_s, [] { return new StubScreen(u"b"_s); });
    QSignalSpy lastClosed(m_host.get(), &ScreenHost::lastScreenClosed);
    m_host->show(u"a"_s);
    m_host->show(u"b"_s);
    m_host->loadedScreen(u"a"_s)->close();
    QVERIFY(!m_host->isLoaded(u"a"_s));
    QCOMPARE(lastClosed.count(), 0);
    m_host->loadedScreen(u"b"_s)->close();
    QCOMPARE(lastClosed.count(), 1);
    QCOMPARE(m_host->loadedCount(), 0);
}

void ShellTest::menuStartsWithNothingRevealed()
{
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    QCOMPARE(menu->windowTitle(), u"メニュー"_s);
    QCOMPARE(menu->size(), QSize(766, 478));
    QCOMPARE(menu->palette().color(QPalette::Window), QColor(0, 255, 255));
    QCOMPARE(menu->listShown, qint16(1));
    QCOMPARE(menu->resultsButtonShown, qint16(1));
    QVERIFY(menu->flagTextList()->isHidden());
    QVERIFY(menu->resultsButton()->isHidden());
    QCOMPARE(menu->flagTextList()->geometry(), QRect(104, 8, 574, 154));
    QCOMPARE(menu->resultsButton()->geometry(), QRect(510, 103, 189, 59));
    QCOMPARE(menu->exitButton()->geometry(), QRect(700, 306, 45, 45));
    QCOMPARE(menu->regionButton(5)->geometry(), QRect(203, 409, 179, 48));
    QCOMPARE(menu->flagPicture(1)->geometry(), QRect(259, 183, 192, 127));
}

void ShellTest::resultsButtonNeedsTheBackgroundFirst()
{
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    moveTo(menu, menu->dovePicture());
    QVERIFY(menu->resultsButton()->isHidden());
    moveToBackground(menu);
    moveTo(menu, menu->dovePicture());
    QVERIFY(menu->resultsButton()->isVisible());
    QCOMPARE(menu->resultsButtonShown, qint16(1));
}

void ShellTest::flagTextNeedsTheBackgroundFirst()
{
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    QTest::mouseClick(menu->flagPicture(2), Qt::LeftButton);
    QCOMPARE(menu->flagNumber, qint16(3));
    QVERIFY(menu->flagTextList()->isHidden());
    QCOMPARE(menu->flagTextList()->count(), 0);
}

void ShellTest::flagText_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("red cross") << 0;
    QTest::newRow("world emblem") << 1;
    QTest::newRow("rings") << 2;
}

void ShellTest::flagText()
{
    QFETCH(int, index);
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    moveToBackground(menu);
    QTest::mouseClick(menu->flagPicture(index), Qt::LeftButton);
    QCOMPARE(menu->flagNumber, qint16(index + 1));
    QCOMPARE(menu->listShown, qint16(1));
    QVERIFY(menu->flagTextList()->isVisible());
    QCOMPARE(menu->flagTextList()->count(), 2);
    QCOMPARE(menu->flagTextList()->item(1)->text(), u"旗%1 二行目"_s.arg(index + 1));
}

void ShellTest::secondClickOnTheSameFlagDoesNotReread()
{
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    moveToBackground(menu);
    QTest::mouseClick(menu->flagPicture(0), Qt::LeftButton);
    m_data->write(u"国旗/h1.txt"_s, Cp932::encode(u"書き換えた\r\n"_s));
    QTest::mouseClick(menu->flagPicture(0), Qt::LeftButton);
    QCOMPARE(menu->flagTextList()->count(), 2);
    QCOMPARE(menu->flagTextList()->item(0)->text(), u"旗1 一行目"_s);
}

void ShellTest::emptyFlagTextGivesAnEmptyVisibleList()
{
    m_data->write(u"国旗/h2.txt"_s, QByteArray());
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    moveToBackground(menu);
    QTest::mouseClick(menu->flagPicture(1), Qt::LeftButton);
    QVERIFY(menu->flagTextList()->isVisible());
    QCOMPARE(menu->flagTextList()->count(), 0);
}

void ShellTest::missingFlagTextIsReportedAsADataError()
{
    m_data->remove(u"国旗/h3.txt"_s);
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    moveToBackground(menu);
    QTest::mouseClick(menu->flagPicture(2), Qt::LeftButton);
    QCOMPARE(g_reporter->files, QStringList{u"国旗/h3.txt"_s});
    QVERIFY(g_reporter->messages.first().contains(u"見つかりません"_s));
}

void ShellTest::backgroundHidesListAndResultsButton()
{
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    moveToBackground(menu);
    moveTo(menu, menu->dovePicture());
    QTest::mouseClick(menu->flagPicture(0), Qt::LeftButton);
    QVERIFY(menu->flagTextList()->isVisible());
    QVERIFY(menu->resultsButton()->isVisible());
    // Over the title picture and a region button nothing changes.
    moveTo(menu, menu->titlePicture());
    moveTo(menu, menu->regionButton(0));
    QVERIFY(menu->flagTextList()->isVisible());
    moveToBackground(menu);
    QVERIFY(menu->flagTextList()->isHidden());
    QVERIFY(menu->resultsButton()->isHidden());
    QCOMPARE(menu->listShown, qint16(0));
    QCOMPARE(menu->resultsButtonShown, qint16(0));
}

void ShellTest::tapsRevealPressAndHide()
{
    // No pointer rests on a touch screen: a tap is the pointer arriving there
    // across the background, then the press.
    static QPointingDevice *const finger = QTest::createTouchDevice();
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    m_host->registerScreen(u"正解率"_s, [] { return new QWidget; });
    const auto tap = [&](QWidget *target, QPoint at = {}) {
        const QPoint place = target ? target->mapTo(menu, target->rect().center()) : at;
        QTest::touchEvent(menu->windowHandle(), finger).press(0, place, menu->windowHandle());
        QTest::touchEvent(menu->windowHandle(), finger).release(0, place, menu->windowHandle());
    };

    tap(menu->flagPicture(0));
    QVERIFY(menu->flagTextList()->isVisible());
    tap(menu->flagTextList());
    QVERIFY2(menu->flagTextList()->isVisible(), "a tap on the revealed text hid it");
    tap(nullptr, QPoint(3, 470));
    QVERIFY(menu->flagTextList()->isHidden());

    tap(menu->dovePicture());
    QVERIFY(menu->resultsButton()->isVisible());
    QVERIFY(!m_host->loadedScreen(u"正解率"_s));
    tap(menu->resultsButton());
    QVERIFY2(m_host->loadedScreen(u"正解率"_s), "a tap on the revealed button did not press it");
    m_host->unload(u"正解率"_s);
}

void ShellTest::regionButtonsOpenTheSubmenu_data()
{
    QTest::addColumn<int>("index");
    for (const RegionInfo &region : RegionCatalogue::all())
        QTest::newRow(region.name) << region.id - 1;
}

void ShellTest::regionButtonsOpenTheSubmenu()
{
    QFETCH(int, index);
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    QTest::mouseClick(menu->regionButton(index), Qt::LeftButton);
    QCOMPARE(m_state->CurrentRegion, qint16(index + 1));
    QVERIFY(!m_host->isLoaded(MainMenuScreen::ScreenName));
    QWidget *submenu = m_host->loadedScreen(RegionSubmenuScreen::ScreenName);
    QVERIFY(submenu);
    QVERIFY(submenu->isVisible());
    QCOMPARE(submenu->windowTitle(), RegionCatalogue::region(index + 1).regionName());
    QCOMPARE(submenu->size(), QSize(254, 456));
}

void ShellTest::exitButtonEndsTheProgram()
{
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    QSignalSpy ended(m_host.get(), &ScreenHost::programEndRequested);
    QTest::mouseClick(menu->exitButton(), Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
}

void ShellTest::everyButtonHasItsWordAsAccessibleName()
{
    MainMenuScreen *menu = showMenu();
    QVERIFY(menu);
    QStringList words;
    for (const PictureButton *button : menu->findChildren<PictureButton *>()) {
        QVERIFY(button->text().isEmpty());
        words << button->accessibleName();
    }
    words.sort();
    QStringList expected{u"正解率表示"_s, u"終"_s};
    for (const RegionInfo &region : RegionCatalogue::all())
        expected << region.regionName();
    expected.sort();
    QCOMPARE(words, expected);
}

void ShellTest::submenuDispatch_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("screen");
    QTest::newRow("アジア atlas") << 1 << 0 << u"アジア"_s;
    QTest::newRow("アジア drill") << 1 << 1 << u"アジアドリル"_s;
    QTest::newRow("ＮＩＳ諸国 atlas") << 6 << 0 << u"ＮＩＳ諸国"_s;
    QTest::newRow("ＮＩＳ諸国 drill") << 6 << 1 << u"ＮＩＳ諸国ドリル"_s;
    QTest::newRow("南アメリカ drill") << 8 << 1 << u"南アメリカドリル"_s;
    // Buttons 2 to 4: the learning drills below the drill's button.
    QTest::newRow("アジア 国旗ドリル") << 1 << 2 << u"アジア国旗ドリル"_s;
    QTest::newRow("ＮＩＳ諸国 首都ドリル") << 6 << 3 << u"ＮＩＳ諸国首都ドリル"_s;
    QTest::newRow("南アメリカ 国名ドリル") << 8 << 4 << u"南アメリカ国名ドリル"_s;
}

void ShellTest::submenuDispatch()
{
    QFETCH(int, regionId);
    QFETCH(int, button);
    QFETCH(QString, screen);
    m_host->registerScreen(screen, [screen] { return new StubScreen(screen); });
    m_state->CurrentRegion = qint16(regionId);
    m_host->show(RegionSubmenuScreen::ScreenName);
    auto *submenu = qobject_cast<RegionSubmenuScreen *>(m_host->loadedScreen(RegionSubmenuScreen::ScreenName));
    QVERIFY(submenu);
    QCOMPARE(submenu->windowTitle(), RegionCatalogue::region(regionId).regionName());
    const bool learning = button >= 2;
    PictureButton *pressed = learning ? submenu->learningButton(button - 2) : submenu->choiceButton(button);
    QCOMPARE(pressed->accessibleName(), learning ? screen.mid(RegionCatalogue::region(regionId).regionName().size())
                                                 : pressed->word());
    QTest::mouseClick(pressed, Qt::LeftButton);
    // The learning drills leave the atlas-or-drill choice as it was.
    QCOMPARE(m_state->SubmenuChoice, qint16(learning ? 0 : button + 1));
    QVERIFY(!m_host->isLoaded(RegionSubmenuScreen::ScreenName));
    QVERIFY(m_host->isLoaded(screen));
    QVERIFY(m_host->loadedScreen(screen)->isVisible());
    m_host->unload(screen);
}

void ShellTest::submenuWithoutTargetScreenDoesNothing()
{
    m_state->CurrentRegion = 3;
    m_host->show(RegionSubmenuScreen::ScreenName);
    auto *submenu = qobject_cast<RegionSubmenuScreen *>(m_host->loadedScreen(RegionSubmenuScreen::ScreenName));
    QVERIFY(submenu);
    QTest::mouseClick(submenu->choiceButton(1), Qt::LeftButton);
    QVERIFY(m_host->isLoaded(RegionSubmenuScreen::ScreenName));
    QCOMPARE(m_state->SubmenuChoice, qint16(0));
}

void ShellTest::guardedHandlers_data()
{
    QTest::addColumn<bool>("member");
    QTest::addColumn<bool>("reporterInstalled");
    QTest::newRow("member function, reported") << true << true;
    QTest::newRow("function object, reported") << false << true;
    QTest::newRow("member function, no reporter") << true << false;
    QTest::newRow("function object, no reporter") << false << false;
}

void ShellTest::guardedHandlers()
{
    QFETCH(bool, member);
    QFETCH(bool, reporterInstalled);
    FailingHandler handler;
    const std::function<void(int)> slot = member
        ? std::function<void(int)>(FatalErrors::guarded(&handler, &FailingHandler::fail))
        : std::function<void(int)>(FatalErrors::guarded([&handler](int value) { handler.fail(value); }));
    g_reporter->files.clear();
    bool escaped = false;
    if (reporterInstalled) {
        // Through a signal, as the screens connect their handlers.
        QSpinBox sender;
        connect(&sender, &QSpinBox::valueChanged, this, slot);
        sender.setValue(7);
    } else {
        // With nobody to report to, the error goes on to the caller unchanged.
        FatalErrors::install(nullptr);
        try {
            slot(7);
        } catch (const DataError &error) {
            escaped = error.file() == u"概要/h7.txt"_s;
        }
        FatalErrors::install(g_reporter);
    }
    QCOMPARE(escaped, !reporterInstalled);
    QCOMPARE(g_reporter->files, reporterInstalled ? QStringList{u"概要/h7.txt"_s} : QStringList{});
}

int main(int argc, char *argv[])
{
    RecordingReporter reporter;
    g_reporter = &reporter;
    Application app(argc, argv, reporter);
    Fonts::installSubstitutions();
    ShellTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell.moc"
