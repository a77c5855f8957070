// Every screen on a screen of twice the pixel density (run with
// QT_SCALE_FACTOR=2): layouts keep their pixel geometry, map and flag
// pictures are enlarged as blocks of pixels (their black borders stay
// black), and drawn faces, lettering and the chart are drawn at the finer
// density rather than enlarged. With KUNISHIRABE_GRAB_DIR set, the grabbed
// screens are saved there for a look.

#include "DrillProfile.h"
#include "LearningKind.h"
#include "Fonts.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionAtlasScreen.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "ResultsChart.h"
#include "ScreenTestMain.h"
#include "ScreenScale.h"
#include "ScreenTour.h"
#include "ScreenWindow.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>

#include <memory>

namespace {

constexpr int Scale = 2;

// The picture as a screen of twice the density must show it: each pixel a
// block of 2 x 2.
QImage blocks(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_RGB32)
        .scaled(picture.size() * Scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The device pixels shown by a widget.
QImage grabbed(QWidget *widget)
{
    QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

// 2 x 2 blocks of the image whose four pixels differ: detail finer than one
// layout pixel, which an enlarged picture cannot have.
int finerThanLayoutPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y + 1 < image.height(); y += Scale) {
        for (int x = 0; x + 1 < image.width(); x += Scale) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                ++count;
        }
    }
    return count;
}

} // namespace

class HiDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void screensKeepTheirGeometry_data();
    void screensKeepTheirGeometry();
    void mapsEnlargeAsPixelBlocks_data();
    void mapsEnlargeAsPixelBlocks();
    void flagsEnlargeAsPixelBlocks();
    void focusRingIsSharp();
    void facesAndLetteringAreDrawnFine();
    void chartIsDrawnFine();
    void screensFillThePage_data();
    void screensFillThePage();

private:
    void save(QWidget *screen, const QString &name) const;

    std::unique_ptr<ScreenTour> m_tour;
};

void HiDpiTest::initTestCase()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    QVERIFY2(screen->devicePixelRatio() == Scale, "run with QT_SCALE_FACTOR=2");
    // Pointer moves beyond the screen are lost: the widest window must fit.
    QVERIFY2(screen->geometry().width() >= 818 && screen->geometry().height() >= 480,
             "run on a desktop of at least 1636 x 960 device pixels");
}

void HiDpiTest::init()
{
    m_tour = std::make_unique<ScreenTour>();
}

void HiDpiTest::cleanup()
{
    m_tour.reset();
}

void HiDpiTest::save(QWidget *screen, const QString &name) const
{
    const QString folder = qEnvironmentVariable("KUNISHIRABE_GRAB_DIR");
    if (!folder.isEmpty())
        screen->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

void HiDpiTest::screensKeepTheirGeometry_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<QSize>("clientArea");
    QTest::newRow("メニュー") << MainMenuScreen::ScreenName << QSize(766, 478);
    QTest::newRow("サブメニュー") << RegionSubmenuScreen::ScreenName << QSize(254, 456);
    for (const RegionInfo &region : RegionCatalogue::all()) {
        const QSize area = DrillProfiles::forRegion(region.id).clientArea;
        QTest::newRow(qPrintable(region.atlasScreenName())) << region.atlasScreenName() << area;
        QTest::newRow(qPrintable(region.drillScreenName())) << region.drillScreenName() << area;
        for (const LearningKind &kind : LearningKinds::submenuKinds())
            QTest::newRow(qPrintable(kind.screenName(region))) << kind.screenName(region) << area;
        const QString review = LearningKinds::review().screenName(region);
        QTest::newRow(qPrintable(review)) << review << area;
    }
    QTest::newRow("正解率") << ResultsScreen::ScreenName << QSize(768, 480);
}

void HiDpiTest::screensKeepTheirGeometry()
{
    QFETCH(QString, screenName);
    QFETCH(QSize, clientArea);
    m_tour->state.AccuracyRates[1] = 92;
    m_tour->state.AccuracyRates[4] = 60;

    // Every control where it was laid out, before and after the screen shows.
    m_tour->state.CurrentRegion = 1;
    QWidget *screen = m_tour->host.screen(screenName);
    QHash<QWidget *, QRect> laidOut;
    for (QWidget *control : controlsOf(screen))
        laidOut.insert(control, control->geometry());
    screen = m_tour->open(screenName);
    QVERIFY(screen);
    QCOMPARE(screen->size(), clientArea);
    // The web page scales every screen alike so that the largest fits the browser window.
    QVERIFY(clientArea.boundedTo(ScreenWindow::LargestClientSize) == clientArea);
    for (auto it = laidOut.cbegin(); it != laidOut.cend(); ++it)
        QCOMPARE(it.key()->geometry(), it.value());

    // The map sits where its profile puts it; the chart where it belongs.
    if (auto *atlas = qobject_cast<RegionAtlasScreen *>(screen))
        QCOMPARE(atlas->map()->geometry(), atlas->profile().map);
    if (auto *drill = qobject_cast<RegionDrillScreen *>(screen))
        QCOMPARE(drill->mapView()->geometry(), drill->profile().mapRect());
    if (auto *results = qobject_cast<ResultsScreen *>(screen))
        QCOMPARE(results->chart()->geometry(), QRect(43, 67, 681, 404));

    const QPixmap picture = screen->grab();
    QCOMPARE(picture.devicePixelRatio(), qreal(Scale));
    QCOMPARE(picture.size(), clientArea * Scale);
    save(screen, screenName);
}

void HiDpiTest::mapsEnlargeAsPixelBlocks_data()
{
    QTest::addColumn<QString>("screenName");
    for (const RegionInfo &region : RegionCatalogue::all()) {
        QTest::newRow(qPrintable(region.atlasScreenName())) << region.atlasScreenName();
        QTest::newRow(qPrintable(region.drillScreenName())) << region.drillScreenName();
    }
}

void HiDpiTest::mapsEnlargeAsPixelBlocks()
{
    QFETCH(QString, screenName);
    QWidget *screen = m_tour->open(screenName);
    QVERIFY(screen);
    auto *atlas = qobject_cast<RegionAtlasScreen *>(screen);
    RegionMapView *map = atlas ? atlas->map() : qobject_cast<RegionDrillScreen *>(screen)->mapView();
    // Paint a country, so that the red and its borders are checked too.
    if (atlas)
        QTest::mouseClick(map->marker(0), Qt::LeftButton, {}, QPoint(1, 1));
    else
        QTest::mouseMove(map->marker(0), QPoint(1, 1));
    QVERIFY(map->surface() != map->pristineMap());

    const QImage shown = grabbed(map);
    const QImage expected = blocks(map->surface());
    QSet<QRgb> mapColours;
    for (int y = 0; y < map->surface().height(); ++y)
        for (int x = 0; x < map->surface().width(); ++x)
            mapColours.insert(map->surface().pixel(x, y) | 0xff000000);

    // Outside the markers, every device pixel is the map pixel it enlarges:
    // border pixels pure black, no grey between colours.
    int blackBorderPixels = 0;
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QPoint layoutPixel(x / Scale, y / Scale);
            if (map->childAt(layoutPixel))
                continue;
            const QRgb want = expected.pixel(x, y);
            const QRgb got = shown.pixel(x, y);
            differing += got != want || !mapColours.contains(got);
            blackBorderPixels += got == 0xff000000;
        }
    }
    QCOMPARE(differing, 0);
    QVERIFY(blackBorderPixels > 1000);
}

void HiDpiTest::flagsEnlargeAsPixelBlocks()
{
    auto *menu = m_tour->open<MainMenuScreen>(MainMenuScreen::ScreenName);
    QVERIFY(menu);
    for (int i = 0; i < 3; ++i) {
        PictureBox *flag = menu->flagPicture(i);
        const QImage expected = blocks(flag->image());
        QCOMPARE(grabbed(flag).copy(expected.rect()), expected);
    }
    m_tour->host.unload(MainMenuScreen::ScreenName);

    auto *atlas = m_tour->open<RegionAtlasScreen>(QStringLiteral("アジア"));
    QVERIFY(atlas);
    QTest::mouseClick(atlas->map()->marker(0), Qt::LeftButton, {}, QPoint(1, 1));
    PictureBox *flag = atlas->flag();
    QVERIFY(flag->isVisible());
    const QImage expected = blocks(flag->image());
    // The flag frame clips a flag that overhangs it; compare what is shown.
    const QRect visible = flag->visibleRegion().boundingRect();
    const QRect device(visible.topLeft() * Scale, visible.size() * Scale);
    QCOMPARE(grabbed(flag).copy(device), expected.copy(device));
    save(atlas, QStringLiteral("アジア, entry 1"));
}

void HiDpiTest::focusRingIsSharp()
{
    auto *drill = m_tour->open<RegionDrillScreen>(QStringLiteral("アジアドリル"));
    QVERIFY(drill);
    RegionMapView *map = drill->mapView();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    const QRect ring = map->focusRing();
    QVERIFY(!ring.isEmpty());

    // Every device pixel of the ring's band that no marker covers is the
    // ring's colour: the band is 2 layout pixels, 4 device pixels, wide.
    const QImage shown = grabbed(map);
    const QRect inner = ring.adjusted(RegionMapView::RingWidth, RegionMapView::RingWidth,
                                      -RegionMapView::RingWidth, -RegionMapView::RingWidth);
    int band = 0;
    for (int y = ring.top() * Scale; y < (ring.bottom() + 1) * Scale; ++y) {
        for (int x = ring.left() * Scale; x < (ring.right() + 1) * Scale; ++x) {
            const QPoint layoutPixel(x / Scale, y / Scale);
            if (inner.contains(layoutPixel) || map->childAt(layoutPixel))
                continue;
            QCOMPARE(shown.pixel(x, y), RegionMapView::RingColour);
            ++band;
        }
    }
    QVERIFY(band > 100);
    save(drill, QStringLiteral("アジアドリル, focus ring"));
}

void HiDpiTest::facesAndLetteringAreDrawnFine()
{
    auto *menu = m_tour->open<MainMenuScreen>(MainMenuScreen::ScreenName);
    QVERIFY(menu);
    const QList<QWidget *> drawn{menu->regionButton(0), menu->regionButton(5), menu->exitButton(),
                                 menu->titlePicture()};
    for (QWidget *widget : drawn) {
        const QImage image = grabbed(widget);
        QCOMPARE(image.size(), widget->size() * Scale);
        const int blocksAcross = (image.width() / Scale) * (image.height() / Scale);
        // Lettering and rounded edges: a good share of the blocks carry detail.
        QVERIFY2(finerThanLayoutPixels(image) * 20 > blocksAcross, qPrintable(widget->accessibleName()));
    }
}

void HiDpiTest::chartIsDrawnFine()
{
    m_tour->state.AccuracyRates[1] = 100;
    auto *results = m_tour->open<ResultsScreen>(ResultsScreen::ScreenName);
    QVERIFY(results);
    // The chart picture is drawn at the screen's density, not enlarged.
    const QImage &chart = results->chart()->surface();
    QCOMPARE(chart.devicePixelRatio(), qreal(Scale));
    QCOMPARE(chart.size(), ResultsChart::PictureSize * Scale);
    QVERIFY(finerThanLayoutPixels(chart.convertToFormat(QImage::Format_RGB32)) > 500);

    // The bar of 100 fills its rectangle exactly, to the 100% line.
    const QRect bar = ResultsChart::barRect(1, 100);
    const QImage shown = grabbed(results->chart());
    const int border = ResultsChartView::BorderWidth;
    for (int y = bar.top() * Scale; y < (bar.bottom() + 1) * Scale; ++y) {
        QCOMPARE(shown.pixel((border + bar.left()) * Scale, (border) * Scale + y), ResultsChart::BarColour);
        QCOMPARE(shown.pixel((border + bar.right() + 1) * Scale - 1, border * Scale + y), ResultsChart::BarColour);
        QVERIFY(shown.pixel((border + bar.right() + 1) * Scale, border * Scale + y) != ResultsChart::BarColour);
    }
    save(results, QStringLiteral("正解率, bars"));
}


void HiDpiTest::screensFillThePage_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<qreal>("devicePixelsPerCssPixel");
    QTest::addColumn<qreal>("scale");

    const QSize menu(766, 478);
    const QSize atlas(818, 480);
    QTest::newRow("iPad, menu") << menu << QSizeF(1080, 810) << 2.0 << 1080.0 / 766;
    QTest::newRow("iPad, atlas") << atlas << QSizeF(1080, 810) << 2.0 << 1080.0 / 818;
    QTest::newRow("iPad turned, atlas shrinks") << atlas << QSizeF(810, 1080) << 2.0 << 810.0 / 818;
    QTest::newRow("iPad, submenu by its height") << QSize(254, 456) << QSizeF(1080, 810) << 2.0 << 810.0 / 456;
    QTest::newRow("Chromebook, whole numbers") << menu << QSizeF(1366, 768) << 1.0 << 1.0;
    QTest::newRow("full HD, whole numbers") << menu << QSizeF(1920, 1080) << 1.0 << 2.0;
    QTest::newRow("1.5 device pixels, whole numbers") << atlas << QSizeF(1280, 800) << 1.5 << 1.0;
    QTest::newRow("small window shrinks") << atlas << QSizeF(600, 400) << 1.0 << 600.0 / 818;
}

void HiDpiTest::screensFillThePage()
{
    QFETCH(QSize, screen);
    QFETCH(QSizeF, page);
    QFETCH(qreal, devicePixelsPerCssPixel);
    QFETCH(qreal, scale);
    QCOMPARE(ScreenScale::fitting(screen, page, devicePixelsPerCssPixel), scale);
}

KUNISHIRABE_SCREEN_TEST_MAIN(HiDpiTest)
#include "tst_hidpi.moc"
