// The program from the keyboard: tab order in reading order on every screen,
// Enter and Space on every button, and the drill answered with the arrow
// keys and Enter exactly as with the mouse.

#include "CaptionFrame.h"
#include "Fonts.h"
#include "LearningDrillScreen.h"
#include "MarkerLayout.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionAtlasScreen.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "ScreenTestMain.h"
#include "ScreenTour.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QQueue>
#include <QSignalSpy>
#include <QTimer>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(Qt::Key)

namespace {

// How the hidden controls of a screen are brought out with the pointer.
enum class Reveal {
    Nothing,
    MenuListAndResults,
    AtlasChoice,
    AtlasChoiceAndPopups,
    AtlasOtherMinistry,
    // The other ministry's entry chosen with Down in the selector, then Tab on to its flag.
    AtlasKeysToOtherMinistryFlag,
    Restart,
    ClearButton
};

const QString FlagOfChosenEntry = QStringLiteral("(the flag of the chosen entry)");
const QString FirstMarker = QStringLiteral("(the drill's first marker)");
// The names a 国名ドリル offers, which its random source chooses.
const QStringList NameChoices{QStringLiteral("(name 1)"), QStringLiteral("(name 2)"), QStringLiteral("(name 3)"),
                              QStringLiteral("(name 4)")};

const QStringList RegionWords{QStringLiteral("アジア"), QStringLiteral("西アジア"),
                              QStringLiteral("オセアニア"), QStringLiteral("アフリカ"),
                              QStringLiteral("ヨーロッパ"), QStringLiteral("ＮＩＳ諸国"),
                              QStringLiteral("北アメリカ"), QStringLiteral("南アメリカ")};

QRect inWindow(const QWidget *widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// Reading order: a control wholly above another comes first; of two side by
// side (their heights overlap), the one further left.
bool readsBefore(const QRect &a, const QRect &b)
{
    if (a.bottom() < b.top())
        return true;
    const bool sideBySide = a.top() <= b.bottom() && b.top() <= a.bottom();
    return sideBySide && a.left() < b.left();
}

// A screen's "shown" flag of one revealable element.
using ShownFlag = std::function<qint16(QWidget *)>;

} // namespace

Q_DECLARE_METATYPE(Reveal)
Q_DECLARE_METATYPE(ShownFlag)

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void focusRevealsWhatThePointerReveals_data();
    void focusRevealsWhatThePointerReveals();
    void tabOrderFollowsReadingOrder_data();
    void tabOrderFollowsReadingOrder();
    void viewerTabsIntoThePage();
    void buttonsActivateWithEnterAndSpace_data();
    void buttonsActivateWithEnterAndSpace();

    void nearestMarkerFollowsTheArrow_data();
    void nearestMarkerFollowsTheArrow();
    void arrowsReachEveryMarker_data();
    void arrowsReachEveryMarker();
    void keyboardAnswerIsJudgedLikeAClick_data();
    void keyboardAnswerIsJudgedLikeAClick();
    void keysIgnoredDuringPauseAndAfterTheEnd();
    void focusRingShowsOnlyAfterKeyboardUse();
    void focusPassedOnAfterAClickShowsNoRing();
    void focusPaintsNothingAndLeavesHoverAlone();

private:
    QWidget *openAndReveal(const QString &screenName, int region, Reveal reveal);
    // The names of the controls that Tab (or Shift+Tab) visits, once round.
    QStringList tabCycle(QWidget *screen, bool backwards, QList<QRect> *places = nullptr);
    QWidget *focused() const { return QApplication::focusWidget(); }
    // Tab or Shift+Tab, and what the screen does after the focus has moved.
    void tab(bool backwards = false);
    // Arrow keys that lead from marker `from` to marker `to`, planned over
    // the map's own moves.
    QList<Qt::Key> arrowPath(const RegionMapView *map, int from, int to) const;

    std::unique_ptr<ScreenTour> m_tour;
};

void KeyboardTest::init()
{
    m_tour = std::make_unique<ScreenTour>();
}

void KeyboardTest::cleanup()
{
    m_tour.reset();
}

QWidget *KeyboardTest::openAndReveal(const QString &screenName, int region, Reveal reveal)
{
    QWidget *screen = m_tour->open(screenName, region);
    if (!screen)
        return nullptr;
    switch (reveal) {
    case Reveal::Nothing:
        break;
    case Reveal::MenuListAndResults: {
        auto *menu = qobject_cast<MainMenuScreen *>(screen);
        QTest::mouseClick(menu->flagPicture(0), Qt::LeftButton);
        // The part of the dove that the flag text does not cover.
        QTest::mouseMove(menu->dovePicture(), QPoint(menu->dovePicture()->width() - 20, 40));
        break;
    }
    case Reveal::AtlasChoice:
    case Reveal::AtlasChoiceAndPopups:
    case Reveal::AtlasOtherMinistry: {
        auto *atlas = qobject_cast<RegionAtlasScreen *>(screen);
        const int entry = reveal == Reveal::AtlasOtherMinistry ? atlas->profile().otherMinistryEntry : 1;
        QTest::mouseClick(atlas->map()->marker(entry - 1), Qt::LeftButton, {}, QPoint(1, 1));
        // The page is never fetched.
        m_tour->state.PageTable[entry][2] = QStringLiteral("http://127.0.0.1:9/");
        if (reveal == Reveal::AtlasChoice)
            break;  // the pointer rests on the map
        QTest::mouseMove(atlas->flag());
        QTest::mouseMove(atlas->titlePicture());
        break;
    }
    case Reveal::AtlasKeysToOtherMinistryFlag: {
        auto *atlas = qobject_cast<RegionAtlasScreen *>(screen);
        for (int row = 0; row < 100 && m_tour->state.CurrentCountry != atlas->profile().otherMinistryEntry; ++row)
            QTest::keyClick(atlas->selector(), Qt::Key_Down);
        m_tour->state.PageTable[m_tour->state.CurrentCountry][2] = QStringLiteral("http://127.0.0.1:9/");
        for (int step = 0; step < 10 && focused() != atlas->flag(); ++step)
            tab();
        break;
    }
    case Reveal::Restart:
        QTest::mouseMove(qobject_cast<RegionDrillScreen *>(screen)->titlePlate());
        break;
    case Reveal::ClearButton:
        QTest::mouseMove(qobject_cast<ResultsScreen *>(screen)->titlePicture());
        break;
    }
    return screen;
}

void KeyboardTest::tab(bool backwards)
{
    QTest::keyClick(focused(), Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::processEvents();
}

// The objects of the tree under `node` whose state tells assistive technology
// that they have the focus; a line stands for its list.
QList<QObject *> accessiblyFocused(QAccessibleInterface *node)
{
    QList<QObject *> found;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child)
            continue;
        if (child->state().focused)
            found << (child->object() ? child->object() : node->object());
        found << accessiblyFocused(child);
    }
    return found;
}

QStringList KeyboardTest::tabCycle(QWidget *screen, bool backwards, QList<QRect> *places)
{
    // A control is known by the name given to it; a combo box tells its
    // current row as its name on Linux, where its label names it.
    const auto nameOf = [](QWidget *control) {
        return control->accessibleName().isEmpty() ? accessibleText(control, QAccessible::Name)
                                                   : control->accessibleName();
    };
    QStringList names;
    QWidget *start = focused();
    if (!start || start->window() != screen)
        return {QStringLiteral("no focus in the screen")};
    QWidget *current = start;
    do {
        names << nameOf(current);
        // Nothing else may tell assistive technology that it has the focus.
        for (QObject *other : accessiblyFocused(QAccessible::queryAccessibleInterface(screen))) {
            if (other == current)
                continue;
            auto *control = qobject_cast<QWidget *>(other);
            names << QStringLiteral("(also focused: %1)").arg(control ? nameOf(control) : other->objectName());
        }
        if (places)
            *places << inWindow(current);
        tab(backwards);
        current = focused();
    } while (current && current != start && names.size() < 100);
    return names;
}

QList<Qt::Key> KeyboardTest::arrowPath(const RegionMapView *map, int from, int to) const
{
    const QList<Qt::Key> arrows{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    QList<int> cameFrom(map->markerCount(), -1);
    QList<Qt::Key> cameBy(map->markerCount(), Qt::Key_unknown);
    QQueue<int> queue;
    queue.enqueue(from);
    cameFrom[from] = from;
    while (!queue.isEmpty()) {
        const int at = queue.dequeue();
        for (Qt::Key arrow : arrows) {
            const int next = map->nearestMarker(at, arrow);
            if (next >= 0 && cameFrom[next] < 0) {
                cameFrom[next] = at;
                cameBy[next] = arrow;
                queue.enqueue(next);
            }
        }
    }
    QList<Qt::Key> path;
    if (cameFrom[to] < 0)
        return path;
    for (int at = to; at != from; at = cameFrom[at])
        path.prepend(cameBy[at]);
    return path;
}

void KeyboardTest::focusRevealsWhatThePointerReveals_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<int>("region");
    QTest::addColumn<int>("entry");             // chosen on the atlas first; 0 for none
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("revealed");      // its tab stop; empty when nothing may show
    QTest::addColumn<bool>("pointerClicks");    // the pointer reveals by a click, not by resting
    QTest::addColumn<int>("flagAtLoad");
    QTest::addColumn<ShownFlag>("shownFlag");   // null where the flag is the screen's own
    QTest::addColumn<bool>("covers");           // what shows lies over the trigger and takes the focus

    const auto menuFlag = [](qint16 MainMenuScreen::*field) {
        return ShownFlag([field](QWidget *screen) { return qobject_cast<MainMenuScreen *>(screen)->*field; });
    };
    const QString menu = MainMenuScreen::ScreenName;
    QTest::newRow("メニュー, dove") << menu << 1 << 0 << QStringLiteral("白い鳩") << QStringLiteral("正解率表示")
                                    << false << 1 << menuFlag(&MainMenuScreen::resultsButtonShown) << false;
    for (const QString &flag : {QStringLiteral("赤十字旗"), QStringLiteral("国際連合旗"), QStringLiteral("オリンピック旗")})
        QTest::addRow("メニュー, %s", qPrintable(flag)) << menu << 1 << 0 << flag << QStringLiteral("旗の説明") << true
                                                       << 1 << menuFlag(&MainMenuScreen::listShown) << false;
    const QString title = QStringLiteral("国しらべ");
    QTest::newRow("アジア 1, flag") << QStringLiteral("アジア") << 1 << 1 << FlagOfChosenEntry
                                    << QStringLiteral("国旗の由来") << false << 0 << ShownFlag() << false;
    QTest::newRow("アジア 1, title") << QStringLiteral("アジア") << 1 << 1 << title
                                     << QStringLiteral("外務省データリンク") << false << 0 << ShownFlag() << true;
    QTest::newRow("アジア 10, title") << QStringLiteral("アジア") << 1 << 10 << title
                                      << QStringLiteral("総務省データリンク") << false << 0 << ShownFlag() << true;
    QTest::newRow("北アメリカ 24, title, no link") << QStringLiteral("北アメリカ") << 7 << 24 << title << QString()
                                                  << false << 0 << ShownFlag() << false;
    QTest::newRow("アジア, title before a choice") << QStringLiteral("アジア") << 1 << 0 << title << QString()
                                                   << false << 0 << ShownFlag() << false;
    const ShownFlag restartShown([](QWidget *screen) { return qobject_cast<RegionDrillScreen *>(screen)->restartShown; });
    for (const QString &drill : {QStringLiteral("アジアドリル"), QStringLiteral("ＮＩＳ諸国ドリル")})
        QTest::addRow("%s, title plate", qPrintable(drill)) << drill << 1 << 0 << QStringLiteral("国ドリル")
                                                            << QStringLiteral("再スタート") << false << 0 << restartShown
                                                            << true;
    QTest::newRow("正解率, title") << ResultsScreen::ScreenName << 1 << 0 << QStringLiteral("正解率")
                                   << QStringLiteral("正解率消去") << false << 1
                                   << ShownFlag([](QWidget *screen) { return qobject_cast<ResultsScreen *>(screen)->clearButtonShown; })
                                   << true;
}

void KeyboardTest::focusRevealsWhatThePointerReveals()
{
    QFETCH(QString, screenName);
    QFETCH(int, region);
    QFETCH(int, entry);
    QFETCH(QString, trigger);
    QFETCH(QString, revealed);
    QFETCH(bool, pointerClicks);
    QFETCH(int, flagAtLoad);
    QFETCH(ShownFlag, shownFlag);
    QFETCH(bool, covers);

    // The screen loads with its flags as the pointer rules want them.
    m_tour->state.CurrentRegion = qint16(region);
    m_tour->host.show(screenName);
    if (shownFlag)
        QCOMPARE(shownFlag(m_tour->host.loadedScreen(screenName)), qint16(flagAtLoad));
    QWidget *screen = m_tour->open(screenName, region);  // the pointer crosses the background
    QVERIFY(screen);
    if (auto *atlas = qobject_cast<RegionAtlasScreen *>(screen); atlas && entry > 0) {
        QTest::mouseClick(atlas->map()->marker(entry - 1), Qt::LeftButton, {}, QPoint(1, 1));
        trigger.replace(FlagOfChosenEntry, m_tour->state.CountryNames[entry] + QStringLiteral("の国旗"));
    }
    QWidget *triggerControl = controlNamed(screen, trigger);
    QVERIFY(triggerControl);
    QWidget *shown = revealed.isEmpty() ? nullptr : controlNamed(screen, revealed);
    QVERIFY(revealed.isEmpty() || shown);
    const QPoint bareCorner(screen->width() - 2, screen->height() - 2);
    const auto isRevealed = [&] { return shown && shown->isVisibleTo(screen); };
    const auto verifyState = [&](bool expected) {
        QCOMPARE(isRevealed(), expected);
        if (shownFlag)
            QCOMPARE(shownFlag(screen), qint16(expected ? 1 : 0));
    };
    const auto pointAtTrigger = [&] {
        QTest::mouseMove(triggerControl);
        if (pointerClicks)
            QTest::mouseClick(triggerControl, Qt::LeftButton);
    };

    // The pointer, as before: the trigger reveals, the background hides.
    pointAtTrigger();
    verifyState(!revealed.isEmpty());
    QTest::mouseMove(screen, bareCorner);
    verifyState(false);

    // Tab onto the trigger reveals; the revealed control is the next stop,
    // or has the focus at once where it lies over the trigger.
    const auto onShown = [&] { return shown && (focused() == shown || shown->isAncestorOf(focused())); };
    const auto tabOnto = [&](int limit) {
        const auto arrived = [&] { return covers ? onShown() : focused() == triggerControl; };
        for (int presses = 0; presses < limit && !arrived(); ++presses)
            tab();
        return arrived();
    };
    QVERIFY(tabOnto(40));
    verifyState(!revealed.isEmpty());
    if (!covers)
        tab();
    // Leaving hides, unless the focus went to a neighbouring trigger that
    // shows the same control for itself (the flags' texts).
    const auto verifyLeft = [&] {
        QVERIFY(focused() != triggerControl);
        if (!(isRevealed() && qobject_cast<PictureBox *>(focused())))
            verifyState(false);
    };
    if (shown) {
        QVERIFY(onShown());
        // Tab past it hides it.
        tab();
    }
    verifyLeft();
    // Shift+Tab comes back to the trigger, which reveals again; on past it
    // (and past a trigger under what it showed) hides.
    tab(true);
    QVERIFY(covers ? onShown() : focused() == triggerControl);
    verifyState(!revealed.isEmpty());
    tab(true);
    verifyLeft();
    // Escape hides and leaves the focus on the trigger.
    QVERIFY(tabOnto(3));
    verifyState(!revealed.isEmpty());
    if (shown && !covers)
        tab();
    QTest::keyClick(focused(), Qt::Key_Escape);
    QCOMPARE(focused(), triggerControl);
    verifyState(false);

    // The pointer works on as before.
    pointAtTrigger();
    verifyState(!revealed.isEmpty());
    QTest::mouseMove(screen, bareCorner);
    verifyState(false);
}

void KeyboardTest::tabOrderFollowsReadingOrder_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<int>("region");
    QTest::addColumn<Reveal>("reveal");
    // Once round with Tab; FlagOfChosenEntry stands for the flag's name.
    QTest::addColumn<QStringList>("order");
    // What Tab onto the control before brings out: next in the order, outside the reading order.
    // What lies over its trigger takes the trigger's place in the order instead.
    QTest::addColumn<QStringList>("revealedByFocus");
    QTest::addColumn<QString>("first");  // has the focus as the screen opens

    const QString menu = MainMenuScreen::ScreenName;
    const QString flagText = QStringLiteral("旗の説明");
    const QStringList menuOrder = QStringList{QStringLiteral("白い鳩"), QStringLiteral("正解率表示"),
                                              QStringLiteral("赤十字旗"), flagText,
                                              QStringLiteral("国際連合旗"), flagText,
                                              QStringLiteral("オリンピック旗"), flagText,
                                              QStringLiteral("きょうの復習"), QStringLiteral("終")}
                                  + RegionWords;
    const QStringList menuRevealed{QStringLiteral("正解率表示"), flagText};
    QTest::newRow("メニュー") << menu << 1 << Reveal::Nothing << menuOrder << menuRevealed << RegionWords.first();
    QTest::newRow("メニュー, flag text and results button shown")
        << menu << 1 << Reveal::MenuListAndResults << menuOrder << menuRevealed << RegionWords.first();
    QTest::newRow("サブメニュー") << RegionSubmenuScreen::ScreenName << 6 << Reveal::Nothing
                                  << QStringList{QStringLiteral("国しらべ"), QStringLiteral("国ドリル"),
                                                 QStringLiteral("国旗ドリル"), QStringLiteral("首都ドリル"),
                                                 QStringLiteral("国名ドリル")}
                                  << QStringList() << QStringLiteral("国しらべ");
    const QString title = QStringLiteral("国しらべ");
    const QStringList atlasButtons{QStringLiteral("国名の選択"), QStringLiteral("国ドリル"), QStringLiteral("メニュー")};
    const QStringList atlasLower{FlagOfChosenEntry, QStringLiteral("国旗の由来"), QStringLiteral("概要")};
    const QString link = QStringLiteral("外務省データリンク");
    for (const RegionInfo &region : RegionCatalogue::all()) {
        const QString atlas = region.atlasScreenName();
        QTest::newRow(qPrintable(atlas)) << atlas << 1 << Reveal::Nothing << (QStringList{title} + atlasButtons)
                                         << QStringList() << QStringLiteral("国名の選択");
        QTest::addRow("%s, entry 1 chosen", qPrintable(atlas))
            << atlas << 1 << Reveal::AtlasChoice << (QStringList{link} + atlasButtons + atlasLower)
            << QStringList{QStringLiteral("国旗の由来")} << QStringLiteral("国名の選択");
        QTest::addRow("%s, entry 1 with flag story and link", qPrintable(atlas))
            << atlas << 1 << Reveal::AtlasChoiceAndPopups
            << (QStringList{link} + atlasButtons + atlasLower)
            << QStringList{QStringLiteral("国旗の由来")} << QStringLiteral("国名の選択");
        const QString drill = region.drillScreenName();
        const QStringList drillOrder{QStringLiteral("再スタート"), QStringLiteral("国しらべ"), QStringLiteral("メニュー"),
                                     FirstMarker};
        QTest::newRow(qPrintable(drill)) << drill << 1 << Reveal::Nothing << drillOrder << QStringList()
                                         << FirstMarker;
        QTest::addRow("%s, restart shown", qPrintable(drill))
            << drill << 1 << Reveal::Restart << drillOrder << QStringList() << FirstMarker;
    }
    // The learning drills: the markers, or the four names, after the drill's buttons.
    const QString flagDrill = QStringLiteral("アジア国旗ドリル");
    QTest::newRow("アジア国旗ドリル") << flagDrill << 1 << Reveal::Nothing
                                      << QStringList{QStringLiteral("再スタート"), QStringLiteral("国しらべ"),
                                                     QStringLiteral("メニュー"), FirstMarker}
                                      << QStringList() << FirstMarker;
    QTest::newRow("アジア国名ドリル") << QStringLiteral("アジア国名ドリル") << 1 << Reveal::Nothing
                                      << (QStringList{QStringLiteral("再スタート"), QStringLiteral("国しらべ"),
                                                      QStringLiteral("メニュー")}
                                          + NameChoices)
                                      << QStringList() << NameChoices.first();
    // The review: its buttons, then the map; the record: its buttons, the
    // bars in menu order, the days and 記録を消す.
    QTest::newRow("きょうの復習") << ReviewSessionScreen::ScreenName << 1 << Reveal::Nothing
                                  << QStringList{LearningRecordScreen::ScreenName, QStringLiteral("メニュー"), FirstMarker}
                                  << QStringList() << FirstMarker;
    QStringList recordOrder{ReviewSessionScreen::ScreenName, QStringLiteral("メニュー")};
    for (const RegionInfo &region : RegionCatalogue::all())
        recordOrder << region.regionName()
                           + QStringLiteral("　新しい %1　練習中 0　覚えた 0　マスター 0").arg(region.countryCount);
    recordOrder << QStringLiteral("この4週間の練習") << QStringLiteral("記録を消す");
    QTest::newRow("学習の記録") << LearningRecordScreen::ScreenName << 1 << Reveal::Nothing << recordOrder
                                << QStringList() << ReviewSessionScreen::ScreenName;
    const QString otherLink = QStringLiteral("総務省データリンク");
    QTest::newRow("アジア, entry 10 with the other ministry's link")
        << QStringLiteral("アジア") << 1 << Reveal::AtlasOtherMinistry
        << (QStringList{otherLink} + atlasButtons + atlasLower)
        << QStringList{QStringLiteral("国旗の由来")} << QStringLiteral("国名の選択");
    QTest::newRow("アジア, the other ministry's entry chosen by keys, its flag story by Tab")
        << QStringLiteral("アジア") << 1 << Reveal::AtlasKeysToOtherMinistryFlag
        << (QStringList{otherLink} + atlasButtons + atlasLower)
        << QStringList{QStringLiteral("国旗の由来")} << FlagOfChosenEntry;
    const QStringList resultsOrder{QStringLiteral("正解率消去"), QStringLiteral("メニュー")};
    QTest::newRow("正解率") << ResultsScreen::ScreenName << 1 << Reveal::Nothing << resultsOrder << QStringList()
                            << QStringLiteral("メニュー");
    QTest::newRow("正解率, clear button shown") << ResultsScreen::ScreenName << 1 << Reveal::ClearButton
                                                << resultsOrder << QStringList() << QStringLiteral("メニュー");
}

void KeyboardTest::tabOrderFollowsReadingOrder()
{
    QFETCH(QString, screenName);
    QFETCH(int, region);
    QFETCH(Reveal, reveal);
    QFETCH(QStringList, order);
    QFETCH(QStringList, revealedByFocus);
    QFETCH(QString, first);
    QWidget *screen = openAndReveal(screenName, region, reveal);
    QVERIFY(screen);
    const int chosen = m_tour->state.CurrentCountry;
    const QString flagName = m_tour->state.CountryNames[chosen] + QStringLiteral("の国旗");
    order.replaceInStrings(FlagOfChosenEntry, flagName);
    first.replace(FlagOfChosenEntry, flagName);
    if (auto *drill = qobject_cast<RegionDrillScreen *>(screen)) {
        const QString marker = accessibleText(drill->mapView()->marker(0), QAccessible::Name);
        order.replaceInStrings(FirstMarker, marker);
        first.replace(FirstMarker, marker);
    }
    if (auto *review = qobject_cast<ReviewSessionScreen *>(screen)) {
        const QString marker = accessibleText(review->mapView()->marker(0), QAccessible::Name);
        order.replaceInStrings(FirstMarker, marker);
        first.replace(FirstMarker, marker);
    }
    if (auto *learning = qobject_cast<LearningDrillScreen *>(screen)) {
        const QString marker = accessibleText(learning->mapView()->marker(0), QAccessible::Name);
        order.replaceInStrings(FirstMarker, marker);
        first.replace(FirstMarker, marker);
        for (int i = 0; i < NameChoices.size() && learning->choiceButton(i); ++i) {
            order.replaceInStrings(NameChoices[i], learning->choiceButton(i)->accessibleName());
            first.replace(NameChoices[i], learning->choiceButton(i)->accessibleName());
        }
    }

    QList<QRect> places;
    QStringList forward = tabCycle(screen, false, &places);
    QCOMPARE(forward.first(), first);
    // Reading order from the first control on; the cycle may start elsewhere.
    const qsizetype head = forward.indexOf(order.first());
    QVERIFY2(head >= 0, qPrintable(forward.join(u' ')));
    const QStringList rotated = forward.mid(head) + forward.mid(0, head);
    QVERIFY2(rotated == order, qPrintable(rotated.join(u' ')));
    const QList<QRect> rotatedPlaces = places.mid(head) + places.mid(0, head);
    QRect previous = rotatedPlaces.first();
    for (qsizetype i = 1; i < rotatedPlaces.size(); ++i) {
        if (revealedByFocus.contains(rotated[i]))
            continue;
        QVERIFY2(!readsBefore(rotatedPlaces[i], previous), qPrintable(rotated[i]));
        previous = rotatedPlaces[i];
    }

    // Shift+Tab goes round the other way, past the triggers: what Tab
    // revealed is hidden again and not visited.
    QStringList backward = tabCycle(screen, true);
    std::reverse(backward.begin() + 1, backward.end());
    forward.removeIf([&](const QString &name) { return revealedByFocus.contains(name); });
    QCOMPARE(backward, forward);
}

void KeyboardTest::viewerTabsIntoThePage()
{
    OfficialPageScreen *viewer = m_tour->openViewer();
    QVERIFY(viewer);
    QCOMPARE(focused(), viewer->addressBox());
    QTest::keyClick(viewer->addressBox(), Qt::Key_Tab);
    QVERIFY(focused() == viewer->browser() || viewer->browser()->isAncestorOf(focused()));
}

void KeyboardTest::buttonsActivateWithEnterAndSpace_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<int>("region");
    QTest::addColumn<Reveal>("reveal");
    QTest::addColumn<QString>("word");
    QTest::addColumn<Qt::Key>("key");

    struct Button {
        QString screen;
        int region;
        Reveal reveal;
        QString word;
    };
    QList<Button> buttons;
    const QString menu = MainMenuScreen::ScreenName;
    for (const QString &word : RegionWords)
        buttons.append({menu, 1, Reveal::Nothing, word});
    buttons.append({menu, 1, Reveal::Nothing, QStringLiteral("終")});
    buttons.append({menu, 1, Reveal::Nothing, QStringLiteral("きょうの復習　0 問")});
    buttons.append({ReviewSessionScreen::ScreenName, 1, Reveal::Nothing, LearningRecordScreen::ScreenName});
    buttons.append({LearningRecordScreen::ScreenName, 1, Reveal::Nothing, QStringLiteral("記録を消す")});
    buttons.append({menu, 1, Reveal::MenuListAndResults, QStringLiteral("正解率表示")});
    buttons.append({RegionSubmenuScreen::ScreenName, 1, Reveal::Nothing, QStringLiteral("国しらべ")});
    buttons.append({RegionSubmenuScreen::ScreenName, 1, Reveal::Nothing, QStringLiteral("国ドリル")});
    for (const RegionInfo &region : RegionCatalogue::all()) {
        for (const QString &word : {QStringLiteral("国ドリル"), QStringLiteral("メニュー")})
            buttons.append({region.atlasScreenName(), 1, Reveal::Nothing, word});
        buttons.append({region.atlasScreenName(), 1, Reveal::AtlasChoiceAndPopups, QStringLiteral("外務省データリンク")});
        for (const QString &word : {QStringLiteral("国しらべ"), QStringLiteral("メニュー")})
            buttons.append({region.drillScreenName(), 1, Reveal::Nothing, word});
        buttons.append({region.drillScreenName(), 1, Reveal::Restart, QStringLiteral("再スタート")});
    }
    buttons.append({QStringLiteral("アジア"), 1, Reveal::AtlasOtherMinistry, QStringLiteral("総務省データリンク")});
    buttons.append({ResultsScreen::ScreenName, 1, Reveal::Nothing, QStringLiteral("メニュー")});
    buttons.append({ResultsScreen::ScreenName, 1, Reveal::ClearButton, QStringLiteral("正解率消去")});

    for (const Button &button : std::as_const(buttons)) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
            QTest::addRow("%s %s %s", qPrintable(button.screen), qPrintable(button.word),
                          key == Qt::Key_Return ? "Enter" : "Space")
                << button.screen << button.region << button.reveal << button.word << key;
        }
    }
}

void KeyboardTest::buttonsActivateWithEnterAndSpace()
{
    QFETCH(QString, screenName);
    QFETCH(int, region);
    QFETCH(Reveal, reveal);
    QFETCH(QString, word);
    QFETCH(Qt::Key, key);
    QWidget *screen = openAndReveal(screenName, region, reveal);
    QVERIFY(screen);

    // Reach the button with Tab, as a keyboard user does.
    PictureButton *button = nullptr;
    for (int presses = 0; presses < 30 && !button; ++presses) {
        auto *candidate = qobject_cast<PictureButton *>(focused());
        if (candidate && candidate->word() == word)
            button = candidate;
        else
            tab();
    }
    QVERIFY(button);
    QCOMPARE(button->window(), screen);

    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::keyClick(button, key);
    QTRY_COMPARE(clicked.count(), 1);
}

void KeyboardTest::nearestMarkerFollowsTheArrow_data()
{
    QTest::addColumn<QList<QPoint>>("places");  // top-left corners of 8 x 8 markers
    QTest::addColumn<Qt::Key>("arrow");
    QTest::addColumn<int>("expected");           // from marker 0

    const QList<QPoint> plus{{50, 50}, {80, 50}, {20, 50}, {50, 20}, {50, 80}};
    QTest::newRow("plus, right") << plus << Qt::Key_Right << 1;
    QTest::newRow("plus, left") << plus << Qt::Key_Left << 2;
    QTest::newRow("plus, up") << plus << Qt::Key_Up << 3;
    QTest::newRow("plus, down") << plus << Qt::Key_Down << 4;
    // Straight ahead and further beats nearer but well off to the side.
    QTest::newRow("ahead beats aside") << QList<QPoint>{{0, 0}, {20, 15}, {30, 0}} << Qt::Key_Right << 2;
    // Only slightly aside, the nearer one wins.
    QTest::newRow("nearer, a little aside") << QList<QPoint>{{0, 0}, {20, 3}, {30, 0}} << Qt::Key_Right << 1;
    QTest::newRow("nothing that way") << QList<QPoint>{{50, 50}, {10, 10}, {10, 90}} << Qt::Key_Right << -1;
    // A marker straight above is not to the left.
    QTest::newRow("same column is not left") << QList<QPoint>{{50, 50}, {50, 10}} << Qt::Key_Left << -1;
}

void KeyboardTest::nearestMarkerFollowsTheArrow()
{
    QFETCH(QList<QPoint>, places);
    QFETCH(Qt::Key, arrow);
    QFETCH(int, expected);
    QList<MarkerRect> rects;
    for (const QPoint &place : places)
        rects.append({qint16(place.x()), qint16(place.y()), 8, 8, MarkerSquareEnd::Near});
    RegionMapView map;
    map.setMarkers(rects);
    QCOMPARE(map.nearestMarker(0, arrow), expected);
}

void KeyboardTest::arrowsReachEveryMarker_data()
{
    QTest::addColumn<int>("region");
    for (const RegionInfo &region : RegionCatalogue::all())
        QTest::newRow(qPrintable(region.drillScreenName())) << int(region.id);
}

void KeyboardTest::arrowsReachEveryMarker()
{
    QFETCH(int, region);
    const std::span<const MarkerRect> markers = markerLayout(region).drillMarkers;
    RegionMapView map;
    map.setMarkers(markers);
    // From the first marker, which has the focus when the drill opens, the
    // arrows lead to every other.
    for (int to = 1; to < map.markerCount(); ++to)
        QVERIFY2(!arrowPath(&map, 0, to).isEmpty(), qPrintable(QStringLiteral("マーカー %1").arg(to + 1)));
}

void KeyboardTest::keyboardAnswerIsJudgedLikeAClick_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<bool>("correct");
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("アジア, right, Enter") << 1 << true << Qt::Key_Return;
    QTest::newRow("アジア, wrong, Space") << 1 << false << Qt::Key_Space;
    QTest::newRow("オセアニア, wrong, keypad Enter") << 3 << false << Qt::Key_Enter;
    QTest::newRow("アフリカ, right, Space") << 4 << true << Qt::Key_Space;
    QTest::newRow("北アメリカ, wrong, Enter") << 7 << false << Qt::Key_Return;
    QTest::newRow("南アメリカ, right, keypad Enter") << 8 << true << Qt::Key_Enter;
}

void KeyboardTest::keyboardAnswerIsJudgedLikeAClick()
{
    QFETCH(int, region);
    QFETCH(bool, correct);
    QFETCH(Qt::Key, key);
    const RegionInfo &info = RegionCatalogue::region(region);
    const int count = info.countryCount;
    const int asked = count / 2 + 1;
    const int target = correct ? asked : asked % count + 1;

    // What the screen shows and does after an answer.
    struct Outcome {
        DrillRun run{1};
        QStringList sounds;
        bool feedbackShown = false;
        QRect feedbackPlace;
        QString feedbackName;
        QImage map;
        QString accuracy;
        QString verdict;
        bool pausing = false;
        qint16 highlightCountry = 0;
    };
    const auto outcome = [this](RegionDrillScreen *drill) {
        return Outcome{drill->run(),
                       m_tour->sound.played,
                       drill->feedbackPicture()->isVisible(),
                       drill->feedbackPicture()->geometry(),
                       accessibleText(drill->feedbackPicture(), QAccessible::Name),
                       drill->mapView()->surface(),
                       drill->accuracyLabel()->text(),
                       accessibleText(drill->judgementBox(), QAccessible::Description),
                       drill->feedbackTimer()->isActive(),
                       drill->highlightCountry};
    };

    // By mouse.
    m_tour->askFirst(asked, count);
    auto *drill = m_tour->open<RegionDrillScreen>(info.drillScreenName());
    QVERIFY(drill);
    QCOMPARE(drill->run().currentQuestion, qint16(asked));
    QTest::mouseClick(drill->mapView()->marker(target - 1), Qt::LeftButton, {}, QPoint(1, 1));
    const Outcome byMouse = outcome(drill);
    m_tour->host.unload(info.drillScreenName());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_tour->sound.played.clear();

    // By keyboard, from the marker that has the focus when the screen opens.
    m_tour->askFirst(asked, count);
    drill = m_tour->open<RegionDrillScreen>(info.drillScreenName());
    QVERIFY(drill);
    RegionMapView *map = drill->mapView();
    QCOMPARE(focused(), map->marker(0));
    const QList<Qt::Key> path = arrowPath(map, 0, target - 1);
    QVERIFY(target == 1 || !path.isEmpty());
    for (Qt::Key arrow : path)
        QTest::keyClick(focused(), arrow);
    QCOMPARE(focused(), map->marker(target - 1));
    QCOMPARE(map->surface(), map->pristineMap());
    QCOMPARE(drill->run().awaitingAnswer, qint16(1));
    QTest::keyClick(focused(), key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    const Outcome byKeyboard = outcome(drill);

    QCOMPARE(byKeyboard.run.askedCount, byMouse.run.askedCount);
    QCOMPARE(byKeyboard.run.correctCount, qint16(correct ? 1 : 0));
    QCOMPARE(byKeyboard.run.correctCount, byMouse.run.correctCount);
    QCOMPARE(byKeyboard.run.accuracyPercent, byMouse.run.accuracyPercent);
    QCOMPARE(byKeyboard.run.awaitingAnswer, qint16(0));
    QCOMPARE(byKeyboard.run.awaitingAnswer, byMouse.run.awaitingAnswer);
    QCOMPARE(byKeyboard.run.answerTime, byMouse.run.answerTime);
    QCOMPARE(byKeyboard.sounds.size(), 1);
    QCOMPARE(byKeyboard.sounds, byMouse.sounds);
    QVERIFY(byKeyboard.feedbackShown);
    QCOMPARE(byKeyboard.feedbackShown, byMouse.feedbackShown);
    QCOMPARE(byKeyboard.feedbackPlace, byMouse.feedbackPlace);
    QCOMPARE(byKeyboard.feedbackName, byMouse.feedbackName);
    QCOMPARE(byKeyboard.map, byMouse.map);
    QCOMPARE(byKeyboard.map == map->pristineMap(), correct);
    QCOMPARE(byKeyboard.accuracy, byMouse.accuracy);
    QCOMPARE(byKeyboard.verdict, correct ? QStringLiteral("正解") : QStringLiteral("不正解"));
    QCOMPARE(byKeyboard.verdict, byMouse.verdict);
    QVERIFY(byKeyboard.pausing);
    QCOMPARE(byKeyboard.highlightCountry, byMouse.highlightCountry);
}

void KeyboardTest::keysIgnoredDuringPauseAndAfterTheEnd()
{
    m_tour->askFirst(1, 12);
    auto *drill = m_tour->open<RegionDrillScreen>(QStringLiteral("南アメリカドリル"));
    QVERIFY(drill);
    QCOMPARE(focused(), drill->mapView()->marker(0));
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(drill->run().correctCount, qint16(1));
    QCOMPARE(m_tour->sound.played.size(), 1);

    // During the pause: nothing.
    QTest::keyClick(focused(), Qt::Key_Return);
    QTest::keyClick(focused(), Qt::Key_Space);
    QCOMPARE(drill->run().askedCount, qint16(1));
    QCOMPARE(m_tour->sound.played.size(), 1);

    // Through to the end, then nothing either.
    while (!drill->run().finished) {
        m_tour->clock.now += 3.0;
        drill->timerTicked();
        if (!drill->run().finished)
            QTest::keyClick(focused(), Qt::Key_Return);
    }
    const QStringList played = m_tour->sound.played;
    const QString verdict = accessibleText(drill->judgementBox(), QAccessible::Description);
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(m_tour->sound.played, played);
    QCOMPARE(accessibleText(drill->judgementBox(), QAccessible::Description), verdict);
    QCOMPARE(drill->mapView()->surface(), drill->mapView()->pristineMap());
}

void KeyboardTest::focusRingShowsOnlyAfterKeyboardUse()
{
    auto *drill = m_tour->open<RegionDrillScreen>(QStringLiteral("アジアドリル"));
    QVERIFY(drill);
    RegionMapView *map = drill->mapView();
    // Ring pixels in the colour of the ring, of those that no marker covers.
    const auto ringPixels = [map](const QRect &ring) {
        const QImage shown = map->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto underMarker = [map](int x, int y) {
            for (int k = 0; k < map->markerCount(); ++k) {
                if (map->marker(k)->geometry().contains(x, y))
                    return true;
            }
            return false;
        };
        int on = 0;
        int all = 0;
        for (int y = ring.top(); y <= ring.bottom(); ++y) {
            for (int x = ring.left(); x <= ring.right(); ++x) {
                const bool edge = x < ring.left() + RegionMapView::RingWidth
                                  || x > ring.right() - RegionMapView::RingWidth
                                  || y < ring.top() + RegionMapView::RingWidth
                                  || y > ring.bottom() - RegionMapView::RingWidth;
                if (!edge || !shown.rect().contains(x, y) || underMarker(x, y))
                    continue;
                ++all;
                on += shown.pixel(x, y) == RegionMapView::RingColour;
            }
        }
        return std::pair{on, all};
    };
    const int markerSide = 8;
    const int margin = RegionMapView::RingGap + RegionMapView::RingWidth;

    // The screen opens with the focus on marker 1, but no ring yet.
    QCOMPARE(focused(), map->marker(0));
    QVERIFY(map->focusRing().isEmpty());
    const QRect firstRing = map->marker(0)->geometry().adjusted(-margin, -margin, margin, margin);
    QCOMPARE(ringPixels(firstRing).first, 0);

    // An arrow key moves the focus and the ring shows around the new marker.
    Qt::Key arrow = Qt::Key_Right;
    for (Qt::Key candidate : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up}) {
        if (map->nearestMarker(0, candidate) >= 0) {
            arrow = candidate;
            break;
        }
    }
    const int next = map->nearestMarker(0, arrow);
    QTest::keyClick(focused(), arrow);
    QCOMPARE(focused(), map->marker(next));
    QCOMPARE(map->currentMarker(), next);
    const QRect ring = map->focusRing();
    QCOMPARE(ring, map->marker(next)->geometry().adjusted(-margin, -margin, margin, margin));
    QVERIFY(ring.width() >= markerSide + 2 * margin);
    const auto [on, all] = ringPixels(ring);
    QVERIFY(all > 0);
    QVERIFY2(on == all, qPrintable(QStringLiteral("%1 of %2").arg(on).arg(all)));
    QVERIFY(accessibleText(focused(), QAccessible::Name).startsWith(QStringLiteral("マーカー %1 ").arg(next + 1)));

    // Tab leaves the map (for 再スタート, over the title plate): no ring.
    // Shift+Tab comes back to the same marker.
    tab();
    QCOMPARE(focused(), drill->restartButton());
    QVERIFY(map->focusRing().isEmpty());
    QCOMPARE(ringPixels(ring).first, 0);
    tab(true);
    QCOMPARE(focused(), map->marker(next));
    QCOMPARE(map->focusRing(), ring);
}

void KeyboardTest::focusPassedOnAfterAClickShowsNoRing()
{
    // ＮＩＳ諸国's 再スタート hides as it is clicked; Qt passes its focus on to 国しらべ.
    auto *drill = m_tour->open<RegionDrillScreen>(QStringLiteral("ＮＩＳ諸国ドリル"), 6);
    QVERIFY(drill);
    PictureButton *next = drill->atlasButton();
    const auto ringShown = [next] {
        const QImage focusedFace = next->grab().toImage();
        next->clearFocus();
        return focusedFace != next->grab().toImage();
    };
    QTest::mouseMove(drill->titlePlate());
    QVERIFY(drill->restartButton()->isVisible());
    QTest::mouseClick(drill->restartButton(), Qt::LeftButton);
    QVERIFY(!drill->restartButton()->isVisible());
    QCOMPARE(focused(), next);
    QVERIFY(!ringShown());

    // The same move after a key press keeps the ring.
    QTest::mouseMove(drill, QPoint(2, drill->height() - 2));
    QTest::mouseMove(drill->titlePlate());
    drill->restartButton()->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(drill->restartButton(), Qt::Key_Space);
    QCOMPARE(focused(), next);
    QVERIFY(ringShown());
}

void KeyboardTest::focusPaintsNothingAndLeavesHoverAlone()
{
    m_tour->askFirst(5, 25);
    auto *drill = m_tour->open<RegionDrillScreen>(QStringLiteral("アジアドリル"));
    QVERIFY(drill);
    RegionMapView *map = drill->mapView();

    // The pointer rests on marker 3: its country is painted.
    QTest::mouseMove(map->marker(2), QPoint(2, 2));
    QCOMPARE(drill->hoverHighlightShown, qint16(1));
    QCOMPARE(drill->highlightCountry, qint16(3));
    const QImage hovered = map->surface();
    QVERIFY(hovered != map->pristineMap());

    // The focus moves across the map to marker 5: the map stays as it was.
    const QList<Qt::Key> path = arrowPath(map, 0, 4);
    QVERIFY(!path.isEmpty());
    for (Qt::Key arrow : path) {
        QTest::keyClick(focused(), arrow);
        QCOMPARE(map->surface(), hovered);
    }
    QCOMPARE(focused(), map->marker(4));
    QCOMPARE(drill->hoverHighlightShown, qint16(1));
    QCOMPARE(drill->highlightCountry, qint16(3));

    // Enter answers the focused marker (country 5, asked), not the one under
    // the pointer (country 3).
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(drill->run().correctCount, qint16(1));
    QCOMPARE(drill->run().awaitingAnswer, qint16(0));
}

KUNISHIRABE_SCREEN_TEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
