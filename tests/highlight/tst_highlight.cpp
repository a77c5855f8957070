// Flood fill, rings and marker seeds on small synthetic maps.
#include "FloodFill.h"
#include "HighlightRenderer.h"
#include "RegionMapView.h"

#include <QApplication>
#include <QTest>

#include <array>
#include <cmath>

namespace {

// Pictures written as text: '#' black, '.' yellow, 'w' white, 'c' cyan,
// 'm' magenta, 'n' near-black RGB(1, 0, 0), 'R' red.
QRgb colourOf(char c)
{
    switch (c) {
    case '#': return 0xff000000;
    case '.': return 0xffffff00;
    case 'w': return 0xffffffff;
    case 'c': return 0xff00ffff;
    case 'm': return 0xffff00ff;
    case 'n': return 0xff010000;
    case 'R': return 0xffff0000;
    }
    qFatal("unknown picture character %c", c);
}

QImage picture(const QStringList &rows)
{
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colourOf(rows[y][x].toLatin1()));
    return image;
}

QStringList text(const QImage &image)
{
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            char c = '?';
            for (char candidate : {'#', '.', 'w', 'c', 'm', 'n', 'R'})
                if (colourOf(candidate) == pixel)
                    c = candidate;
            row += QLatin1Char(c);
        }
        rows.append(row);
    }
    return rows;
}

using Seeds = QList<QPoint>;

// A small region: 3 countries on a 12 x 8 map.
//   country 1: two parts (left block and an island), seeded
//   country 2: from its marker (default rule)
//   country 3: a ring of 3 pixels
const QStringList SmallMap = {
    "cccccccccccc",
    "c####ccc###c",
    "c#..#ccc#.#c",
    "c#..#c#c###c",
    "c####c.cccwc",
    "cccccc#cc#w#",
    "c###cccc#.#c",
    "c#.#cccc###c",
};

const std::array<FillSeed, 3> SmallSeeds{{{2, 2}, {1, 1}, {9, 2}}};
const std::array<HighlightEntry, 2> SmallEntries{{
    {1, HighlightKind::Fill, 0, 3, {}, 0, RadiusUnit::Pixels},
    {3, HighlightKind::Circle, 0, 0, {30, 30}, 3, RadiusUnit::Pixels},
}};
const std::array<MarkerRect, 4> SmallMarkers{{
    {2, 3, 8, 8, MarkerSquareEnd::Near},
    {9, 6, 8, 8, MarkerSquareEnd::Near},
    {0, 0, 8, 8, MarkerSquareEnd::Near},
    {2, 7, 8, 8, MarkerSquareEnd::Near},
}};

RegionHighlightTable smallTable(DefaultRule rule, bool flagFrameRule = false)
{
    return RegionHighlightTable{9, QSize(12, 8), 4, SmallEntries, SmallSeeds, rule, flagFrameRule};
}

QImage blankMap(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class HighlightTest : public QObject
{
    Q_OBJECT
private slots:
    void floodFillContract_data();
    void floodFillContract();
    void secondSeedInFilledArea();

    void markerSeedArithmetic_data();
    void markerSeedArithmetic();

    void entryKinds_data();
    void entryKinds();
    void ringShape_data();
    void ringShape();
    void ringTwiceIsOneRing();
    void nextHighlightLeavesNoTrace();
    void pixelRingsIgnoreTwipsPerPixel();
    void flagFrameCaption_data();
    void flagFrameCaption();
    void markersAreNotPartOfTheMap();
};

void HighlightTest::floodFillContract_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QPoint>("seed");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("painted");

    QTest::newRow("diagonal border stops the fill")
        << QStringList{"..#..", ".#...", "#....", "....#", "...#."} << QPoint(0, 0)
        << QStringList{"RR#..", "R#...", "#....", "....#", "...#."} << 3;
    QTest::newRow("other side of the diagonal")
        << QStringList{"..#..", ".#...", "#....", "....#", "...#."} << QPoint(4, 4)
        << QStringList{"..#..", ".#...", "#....", "....#", "...#R"} << 1;
    QTest::newRow("every other colour is painted over")
        << QStringList{"#####", "#.wc#", "#mnR#", "#####"} << QPoint(1, 1)
        << QStringList{"#####", "#RRR#", "#RRR#", "#####"} << 6;
    QTest::newRow("seed on black paints nothing")
        << QStringList{"...", ".#.", "..."} << QPoint(1, 1)
        << QStringList{"...", ".#.", "..."} << 0;
    QTest::newRow("seed left of the map")
        << QStringList{"...", "..."} << QPoint(-1, 0) << QStringList{"...", "..."} << 0;
    QTest::newRow("seed right of the map")
        << QStringList{"...", "..."} << QPoint(3, 1) << QStringList{"...", "..."} << 0;
    QTest::newRow("seed below the map")
        << QStringList{"...", "..."} << QPoint(0, 2) << QStringList{"...", "..."} << 0;
    QTest::newRow("winding area reached through every turn")
        << QStringList{".#...", ".#.#.", ".#.#.", "...#.", "####."} << QPoint(0, 0)
        << QStringList{"R#RRR", "R#R#R", "R#R#R", "RRR#R", "####R"} << 15;
    QTest::newRow("area touching every edge")
        << QStringList{"w.w", ".#.", "w.w"} << QPoint(2, 2)
        << QStringList{"RRR", "R#R", "RRR"} << 8;
}

void HighlightTest::floodFillContract()
{
    QFETCH(QStringList, before);
    QFETCH(QPoint, seed);
    QFETCH(QStringList, after);
    QFETCH(int, painted);

    QImage image = picture(before);
    const qsizetype count = floodFill(image, seed, 0xffff0000, 0xff000000);
    QCOMPARE(text(image), after);
    QCOMPARE(count, qsizetype(painted));
}

void HighlightTest::secondSeedInFilledArea()
{
    QImage image = picture({"..#..", "..#..", "..#.."});
    floodFill(image, QPoint(0, 0), 0xffff0000, 0xff000000);
    const QImage once = image;
    const qsizetype again = floodFill(image, QPoint(1, 2), 0xffff0000, 0xff000000);
    QCOMPARE(again, qsizetype(6));  // painted again, nothing new to see
    QCOMPARE(image, once);
    QCOMPARE(text(image), (QStringList{"RR#..", "RR#..", "RR#.."}));
}

void HighlightTest::markerSeedArithmetic_data()
{
    QTest::addColumn<double>("leftTwips");
    QTest::addColumn<double>("topTwips");
    QTest::addColumn<double>("twipsPerPixel");
    QTest::addColumn<QPoint>("seed");

    QTest::newRow("96 dpi example") << 4120.0 << 2850.0 << 15.0 << QPoint(275, 190);
    QTest::newRow("96 dpi whole pixels") << 4125.0 << 2850.0 << 15.0 << QPoint(275, 190);
    QTest::newRow("twips halves go to even") << 4117.5 << 2842.5 << 15.0 << QPoint(275, 189);
    QTest::newRow("pixel halves go to even") << 5.0 << 7.0 << 2.0 << QPoint(2, 4);
    QTest::newRow("120 dpi") << 4120.0 << 2850.0 << 12.0 << QPoint(343, 238);
}

void HighlightTest::markerSeedArithmetic()
{
    QFETCH(double, leftTwips);
    QFETCH(double, topTwips);
    QFETCH(double, twipsPerPixel);
    QFETCH(QPoint, seed);
    QCOMPARE(Twips::markerSeed(leftTwips, topTwips, twipsPerPixel, twipsPerPixel), seed);
}

void HighlightTest::entryKinds_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<int>("country");
    QTest::addColumn<QStringList>("after");

    // Country 1's seeds: its left block, a black pixel (paints nothing), the island.
    // Its marker lies on the island of country 4 and is not used.
    QTest::newRow("fill entry from stored seeds only")
        << int(DefaultRule::MarkerSeed) << 1
        << QStringList{"cccccccccccc", "c####ccc###c", "c#RR#ccc#R#c", "c#RR#c#c###c",
                       "c####c.cccwc", "cccccc#cc#w#", "c###cccc#.#c", "c#.#cccc###c"};
    QTest::newRow("marker seed under the default rule")
        << int(DefaultRule::MarkerSeed) << 2
        << QStringList{"cccccccccccc", "c####ccc###c", "c#..#ccc#.#c", "c#..#c#c###c",
                       "c####c.cccwc", "cccccc#cc#w#", "c###cccc#R#c", "c#.#cccc###c"};
    QTest::newRow("marker seed in a one-pixel country")
        << int(DefaultRule::MarkerSeed) << 4
        << QStringList{"cccccccccccc", "c####ccc###c", "c#..#ccc#.#c", "c#..#c#c###c",
                       "c####c.cccwc", "cccccc#cc#w#", "c###cccc#.#c", "c#R#cccc###c"};
    QTest::newRow("no entry, no paint")
        << int(DefaultRule::NoPaint) << 2 << SmallMap;
    QTest::newRow("index above N paints nothing")
        << int(DefaultRule::MarkerSeed) << 5 << SmallMap;
}

void HighlightTest::entryKinds()
{
    QFETCH(int, rule);
    QFETCH(int, country);
    QFETCH(QStringList, after);

    const RegionHighlightTable table = smallTable(DefaultRule(rule));
    RegionMapView view;
    view.setMap(picture(SmallMap));
    view.setMarkers(SmallMarkers);
    HighlightRenderer renderer(table, view);
    // Something painted before must go.
    floodFill(view.editSurface(), QPoint(6, 4), 0xffff0000, 0xff000000);
    renderer.Highlight(country);
    QCOMPARE(text(view.surface()), after);
    QCOMPARE(view.pristineMap(), picture(SmallMap));
}

void HighlightTest::ringShape_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("radiusPixels");

    QTest::newRow("5 pixels") << 5 << int(RadiusUnit::Pixels) << 5.0;
    QTest::newRow("35 pixels") << 35 << int(RadiusUnit::Pixels) << 35.0;
    QTest::newRow("100 twips") << 100 << int(RadiusUnit::Twips) << 100.0 / 15;
    QTest::newRow("200 twips") << 200 << int(RadiusUnit::Twips) << 200.0 / 15;
    QTest::newRow("300 twips") << 300 << int(RadiusUnit::Twips) << 20.0;
}

void HighlightTest::ringShape()
{
    QFETCH(int, radius);
    QFETCH(int, unit);
    QFETCH(double, radiusPixels);

    const QPoint centre(50, 40);
    const std::array<HighlightEntry, 1> entries{
        {{1, HighlightKind::Circle, 0, 0, {qint16(centre.x()), qint16(centre.y())}, qint16(radius),
          RadiusUnit(unit)}}};
    const std::array<MarkerRect, 1> markers{{{0, 0, 8, 8, MarkerSquareEnd::Near}}};
    const RegionHighlightTable table{9, QSize(100, 80), 1, entries, {}, DefaultRule::NoPaint, false};
    RegionMapView view;
    view.setMap(blankMap(QSize(100, 80), 0xffffff00));
    view.setMarkers(markers);
    HighlightRenderer renderer(table, view);
    renderer.Highlight(1);

    const QImage &image = view.surface();
    int red = 0;
    double nearest = 1e9;
    double farthest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            QVERIFY2(pixel == 0xffffff00 || pixel == 0xffff0000,
                     qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(pixel, 0, 16)));
            if (pixel != 0xffff0000)
                continue;
            ++red;
            const double distance = std::hypot(x - centre.x(), y - centre.y());
            nearest = std::min(nearest, distance);
            farthest = std::max(farthest, distance);
            // The ring is centred on its pixel: mirror images are red too.
            QCOMPARE(image.pixel(2 * centre.x() - x, y), 0xffff0000u);
            QCOMPARE(image.pixel(x, 2 * centre.y() - y), 0xffff0000u);
        }
    }
    QVERIFY(red > 0);
    // A 3-pixel outline about the radius, not filled.
    QVERIFY2(nearest >= radiusPixels - 2.5 && nearest <= radiusPixels - 0.5,
             qPrintable(QString::number(nearest)));
    QVERIFY2(farthest >= radiusPixels + 0.5 && farthest <= radiusPixels + 2.5,
             qPrintable(QString::number(farthest)));
    QCOMPARE(image.pixel(centre), 0xffffff00u);
    // Closed all round: every ray from the centre meets the ring.
    for (int degrees = 0; degrees < 360; degrees += 3) {
        const double angle = degrees * M_PI / 180;
        bool crossed = false;
        for (double r = 0; r <= radiusPixels + 3 && !crossed; r += 0.25) {
            const QPoint p(int(std::floor(centre.x() + 0.5 + r * std::cos(angle))),
                           int(std::floor(centre.y() + 0.5 + r * std::sin(angle))));
            crossed = image.pixel(p) == 0xffff0000;
        }
        QVERIFY2(crossed, qPrintable(QStringLiteral("open at %1 degrees").arg(degrees)));
    }
}

void HighlightTest::ringTwiceIsOneRing()
{
    const RegionHighlightTable table = smallTable(DefaultRule::MarkerSeed);
    RegionMapView view;
    view.setMap(blankMap(QSize(60, 60), 0xffffffff));
    view.setMarkers(SmallMarkers);
    HighlightRenderer renderer(table, view);
    renderer.Highlight(3);
    const QImage once = view.surface();
    QVERIFY(once != view.pristineMap());
    renderer.Highlight(3);
    QCOMPARE(view.surface(), once);
}

void HighlightTest::nextHighlightLeavesNoTrace()
{
    const RegionHighlightTable table = smallTable(DefaultRule::MarkerSeed);
    RegionMapView view;
    view.setMap(picture(SmallMap));
    view.setMarkers(SmallMarkers);
    HighlightRenderer renderer(table, view);
    renderer.Highlight(2);
    const QImage onlyTwo = view.surface();
    renderer.Highlight(1);
    renderer.Highlight(2);
    QCOMPARE(view.surface(), onlyTwo);
    renderer.ClearMap();
    QCOMPARE(view.surface(), view.pristineMap());
}

void HighlightTest::pixelRingsIgnoreTwipsPerPixel()
{
    const RegionHighlightTable table = smallTable(DefaultRule::MarkerSeed);
    RegionMapView view;
    view.setMap(blankMap(QSize(60, 60), 0xffffffff));
    view.setMarkers(SmallMarkers);
    HighlightRenderer renderer(table, view);
    renderer.Highlight(3);
    const QImage at96 = view.surface();
    renderer.setTwipsPerPixel(12, 12);
    renderer.Highlight(3);
    QCOMPARE(view.surface(), at96);
}

void HighlightTest::flagFrameCaption_data()
{
    QTest::addColumn<bool>("rule");
    QTest::addColumn<bool>("withSetter");
    QTest::addColumn<int>("country");
    QTest::addColumn<QString>("caption");

    QTest::newRow("23 national flag") << true << true << 23 << QStringLiteral("国旗");
    QTest::newRow("24 regional flag") << true << true << 24 << QStringLiteral("域旗");
    QTest::newRow("ringed country still captioned") << true << true << 30 << QStringLiteral("域旗");
    QTest::newRow("first entry") << true << true << 1 << QStringLiteral("国旗");
    QTest::newRow("screen without a flag box") << true << false << 24 << QStringLiteral("判定");
    QTest::newRow("table without the rule") << false << true << 24 << QStringLiteral("判定");
}

void HighlightTest::flagFrameCaption()
{
    QFETCH(bool, rule);
    QFETCH(bool, withSetter);
    QFETCH(int, country);
    QFETCH(QString, caption);

    std::array<HighlightEntry, 30> entries{};
    for (int i = 0; i < 30; ++i)
        entries[i] = {qint16(i + 1), HighlightKind::Circle, 0, 0, {20, 20}, 5, RadiusUnit::Pixels};
    std::array<MarkerRect, 30> markers{};
    markers.fill({0, 0, 8, 8, MarkerSquareEnd::Near});
    const RegionHighlightTable table{9, QSize(40, 40), 30, entries, {}, DefaultRule::NoPaint, rule};
    RegionMapView view;
    view.setMap(blankMap(QSize(40, 40), 0xffffffff));
    view.setMarkers(markers);
    QString frameCaption = QStringLiteral("判定");
    HighlightRenderer renderer(table, view,
                               withSetter ? HighlightRenderer::CaptionSetter(
                                                [&](const QString &text) { frameCaption = text; })
                                          : HighlightRenderer::CaptionSetter());
    renderer.Highlight(country);
    QCOMPARE(frameCaption, caption);
    QVERIFY(view.surface() != view.pristineMap());
}

void HighlightTest::markersAreNotPartOfTheMap()
{
    // A fill from the marker seed paints the map under the marker, and
    // the marker itself keeps its colour on screen.
    const RegionHighlightTable table = smallTable(DefaultRule::MarkerSeed);
    RegionMapView view;
    view.setMap(picture(SmallMap));
    const std::array<MarkerRect, 2> markers{{
        {0, 6, 8, 8, MarkerSquareEnd::Near},
        {9, 2, 20, 8, MarkerSquareEnd::Far},
    }};
    view.setMarkers(markers);
    view.resize(12, 8);
    HighlightRenderer renderer(table, view);
    renderer.Highlight(2);
    QCOMPARE(view.surface().pixel(9, 2), 0xffff0000u);
    QCOMPARE(view.surface().pixel(9, 5), 0xff000000u);
    QCOMPARE(view.marker(1)->objectName(), QStringLiteral("Image1(1)"));
    QCOMPARE(view.marker(1)->geometry(), QRect(9, 2, 20, 8));

    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.pixel(1, 6), MapMarker::Colour);   // marker 0's square over the map
    QCOMPARE(shown.pixel(0, 0), colourOf('c'));      // the map elsewhere
    // Marker 1 has its square at the far (right) end, outside this small map;
    // its leader line runs along its middle rows and the rest is see-through.
    QCOMPARE(shown.pixel(9, 5), MapMarker::Colour);
    QCOMPARE(shown.pixel(11, 6), MapMarker::Colour);
    QCOMPARE(shown.pixel(10, 4), colourOf('w'));
    QCOMPARE(shown.pixel(9, 2), 0xffff0000u);
}

QTEST_MAIN(HighlightTest)
#include "tst_highlight.moc"
