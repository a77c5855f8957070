// The program by finger: a tap never presses what the same tap brought out,
// what a tap would destroy asks first, and a tap near a marker takes the
// nearest marker.

#include "LearningDrillScreen.h"
#include "LearningKind.h"
#include "MarkerReach.h"
#include "PictureButton.h"
#include "RegionAtlasScreen.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "ScreenTestMain.h"
#include "ScreenTour.h"

#include <QLineF>
#include <QSignalSpy>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Whatever a destructive tap would lose is still there.
using StillKept = std::function<bool(ScreenTour &, QWidget *screen)>;

QPoint centreInWindow(const QWidget *widget)
{
    return widget->mapTo(widget->window(), widget->rect().center());
}

QString flagDrillOfAsia()
{
    return LearningKinds::submenuKinds()[0].screenName(RegionCatalogue::region(1));
}

} // namespace

Q_DECLARE_METATYPE(StillKept)

class TouchTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oneTapPressesNothingItRevealed_data();
    void oneTapPressesNothingItRevealed();
    void destructiveTapsAskFirst_data();
    void destructiveTapsAskFirst();
    void tapNearAMarkerTakesTheNearest_data();
    void tapNearAMarkerTakesTheNearest();

private:
    void tap(QWidget *screen, QPoint at);

    std::unique_ptr<ScreenTour> m_tour;
};

void TouchTest::init()
{
    m_tour = std::make_unique<ScreenTour>();
}

void TouchTest::cleanup()
{
    m_tour.reset();
}

void TouchTest::tap(QWidget *screen, QPoint at)
{
    static QPointingDevice *const finger = QTest::createTouchDevice();
    QWindow *window = screen->windowHandle();
    QTest::touchEvent(window, finger).press(0, at, window);
    QTest::touchEvent(window, finger).release(0, at, window);
    QCoreApplication::processEvents();
}

void TouchTest::oneTapPressesNothingItRevealed_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<int>("entry");  // chosen on the atlas first
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("revealed");
    QTest::addColumn<bool>("pressSecond");  // a second tap presses (no page viewer opened)

    QTest::newRow("メニュー, dove") << MainMenuScreen::ScreenName << 0 << u"白い鳩"_s << u"正解率表示"_s << true;
    QTest::newRow("アジア, title") << u"アジア"_s << 1 << u"国しらべ"_s << u"外務省データリンク"_s << false;
    QTest::newRow("アジアドリル, title plate") << u"アジアドリル"_s << 0 << u"国ドリル"_s << u"再スタート"_s << true;
    QTest::newRow("国旗ドリル, title plate") << flagDrillOfAsia() << 0 << u"国旗ドリル"_s << u"再スタート"_s << true;
    QTest::newRow("正解率, title") << ResultsScreen::ScreenName << 0 << u"正解率"_s << u"正解率消去"_s << true;
}

void TouchTest::oneTapPressesNothingItRevealed()
{
    QFETCH(QString, screenName);
    QFETCH(int, entry);
    QFETCH(QString, trigger);
    QFETCH(QString, revealed);
    QFETCH(bool, pressSecond);

    QWidget *screen = m_tour->open(screenName);
    QVERIFY(screen);
    if (auto *atlas = qobject_cast<RegionAtlasScreen *>(screen); atlas && entry > 0) {
        QTest::mouseClick(atlas->map()->marker(entry - 1), Qt::LeftButton, {}, QPoint(1, 1));
        m_tour->state.PageTable[entry][2] = u"http://127.0.0.1:9/"_s;  // never fetched
    }
    QWidget *triggerControl = controlNamed(screen, trigger);
    auto *button = qobject_cast<QAbstractButton *>(controlNamed(screen, revealed));
    QVERIFY(triggerControl && button);
    QVERIFY(button->isHidden());
    // Where the button will lie, over its trigger.
    const QPoint place = centreInWindow(button);
    QCOMPARE(screen->childAt(place), triggerControl);
    QSignalSpy presses(button, &QAbstractButton::clicked);

    tap(screen, place);
    QVERIFY2(button->isVisible(), "the tap did not reveal the button");
    QCOMPARE(presses.count(), 0);
    if (pressSecond) {
        tap(screen, place);
        QCOMPARE(presses.count(), 1);
    }
}

void TouchTest::destructiveTapsAskFirst_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<StillKept>("stillKept");

    const StillKept runGoesOn([](ScreenTour &, QWidget *screen) {
        return static_cast<ScreenWindow *>(screen)->workInProgress();
    });
    QTest::newRow("アジアドリル, a run with an answer") << u"アジアドリル"_s << u"国ドリル"_s << u"再スタート"_s
                                                      << u"本当にやり直す"_s << runGoesOn;
    QTest::newRow("国旗ドリル, a run with an answer") << flagDrillOfAsia() << u"国旗ドリル"_s << u"再スタート"_s
                                                     << u"本当にやり直す"_s << runGoesOn;
    QTest::newRow("正解率, a stored rate") << ResultsScreen::ScreenName << u"正解率"_s << u"正解率消去"_s
                                          << u"本当に消す"_s
                                          << StillKept([](ScreenTour &tour, QWidget *) {
                                                 return tour.state.AccuracyRates[3] == 70;
                                             });
}

void TouchTest::destructiveTapsAskFirst()
{
    QFETCH(QString, screenName);
    QFETCH(QString, trigger);
    QFETCH(QString, button);
    QFETCH(QString, confirm);
    QFETCH(StillKept, stillKept);

    m_tour->state.AccuracyRates[3] = 70;
    QWidget *screen = m_tour->open(screenName);
    QVERIFY(screen);
    if (auto *map = screen->findChild<RegionMapView *>())
        QTest::mouseClick(map->marker(0), Qt::LeftButton, {}, QPoint(1, 1));
    QVERIFY(stillKept(*m_tour, screen));
    QWidget *triggerControl = controlNamed(screen, trigger);
    QWidget *buttonControl = controlNamed(screen, button);
    QWidget *confirmControl = controlNamed(screen, confirm);
    QVERIFY(triggerControl && buttonControl && confirmControl);
    const QPoint onButton = centreInWindow(buttonControl);
    const QPoint bare(screen->width() - 2, screen->height() - 2);

    // Two taps bring out the question and lose nothing; the background takes it back.
    tap(screen, onButton);
    tap(screen, onButton);
    QVERIFY(confirmControl->isVisible());
    QVERIFY2(stillKept(*m_tour, screen), "the tap on the button did not ask first");
    tap(screen, bare);
    QVERIFY(confirmControl->isHidden());
    QVERIFY(buttonControl->isHidden());
    QVERIFY(stillKept(*m_tour, screen));

    // The tap on the question does it.
    tap(screen, onButton);
    tap(screen, onButton);
    tap(screen, centreInWindow(confirmControl));
    QVERIFY(!stillKept(*m_tour, screen));
    QVERIFY(confirmControl->isHidden());

    // The pointer acts at once, as before.
    if (auto *map = screen->findChild<RegionMapView *>())
        QTest::mouseClick(map->marker(0), Qt::LeftButton, {}, QPoint(1, 1));
    else
        m_tour->state.AccuracyRates[3] = 70;
    QVERIFY(stillKept(*m_tour, screen));
    QTest::mouseMove(triggerControl);
    QVERIFY(buttonControl->isVisible());
    QTest::mouseClick(screen->windowHandle(), Qt::LeftButton, {}, onButton);
    QVERIFY(!stillKept(*m_tour, screen));
    QVERIFY(confirmControl->isHidden());
}

void TouchTest::tapNearAMarkerTakesTheNearest_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<int>("region");
    for (const RegionInfo &region : RegionCatalogue::all()) {
        QTest::newRow(qPrintable(region.atlasScreenName())) << region.atlasScreenName() << int(region.id);
        QTest::newRow(qPrintable(region.drillScreenName())) << region.drillScreenName() << int(region.id);
    }
}

void TouchTest::tapNearAMarkerTakesTheNearest()
{
    QFETCH(QString, screenName);
    QFETCH(int, region);

    auto *screen = m_tour->open<ScreenWindow>(screenName, region);
    QVERIFY(screen);
    auto *map = screen->findChild<RegionMapView *>();
    QVERIFY(map);
    QList<MarkerRect> markers;
    for (int k = 0; k < map->markerCount(); ++k)
        markers << map->marker(k)->markerRect();
    const auto centre = [&](int k) { return MarkerReach::squareCentre(markers[k]); };
    // How far `point` lies from the nearest marker other than `except`.
    const auto room = [&](QPointF point, int except) {
        qreal nearest = 1e9;
        for (int j = 0; j < markers.size(); ++j) {
            if (j != except)
                nearest = std::min(nearest, QLineF(point, centre(j)).length());
        }
        return nearest;
    };
    QSignalSpy presses(map, &RegionMapView::markerPressed);

    // The most open of eight places `miss` pixels off marker k (off the map
    // and on leader lines left out), and how far the next marker is from it.
    const auto openPlace = [&](int k, qreal miss) {
        std::pair<QPointF, qreal> best{{}, -1};
        for (int step = 0; step < 8; ++step) {
            QLineF off(centre(k), centre(k) + QPointF(miss, 0));
            off.setAngle(45.0 * step);
            const QPoint point = off.p2().toPoint();
            if (map->rect().contains(point) && !map->childAt(point) && room(off.p2(), k) > best.second)
                best = {off.p2(), room(off.p2(), k)};
        }
        return best;
    };

    // A pupil who aims at a marker and misses a little takes that marker:
    // 10 pixels off it, or where markers crowd closer, 6.
    for (int k = 0; k < markers.size(); ++k) {
        auto [place, space] = openPlace(k, 10);
        if (space <= 10)
            std::tie(place, space) = openPlace(k, 6);
        QVERIFY2(space >= 0, qPrintable(u"no open place beside marker "_s + QString::number(k)));
        const QPoint onMap = place.toPoint();
        presses.clear();
        tap(screen, map->mapTo(screen, onMap));
        QCOMPARE(presses.count(), 1);
        QCOMPARE(presses.first().at(0).toInt(), k);
        QCOMPARE(map->markerShownPressed(), k);
        if (qobject_cast<RegionAtlasScreen *>(screen))
            QCOMPARE(m_tour->state.CurrentCountry, qint16(k + 1));
    }

    // Beyond the reach of every marker a tap takes none; near one, a pointer click takes none either.
    const QRect area = map->rect();
    QPoint farthest = area.topLeft();
    for (const QPoint corner : {area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        if (room(corner, -1) > room(farthest, -1))
            farthest = corner;
    }
    QVERIFY(room(farthest, -1) > MarkerReach::FingerCssPixels);
    presses.clear();
    tap(screen, map->mapTo(screen, farthest));
    const QPoint besideMarker = (centre(0) + QPointF(6, 6)).toPoint();
    QVERIFY(!map->childAt(besideMarker));
    QTest::mouseClick(map, Qt::LeftButton, {}, besideMarker);
    QCOMPARE(presses.count(), 0);
}

KUNISHIRABE_SCREEN_TEST_MAIN(TouchTest)
#include "tst_touch.moc"
