// Every entry of every region painted with its table on its map, checked
// against the label pictures (value = CountryIndex of each yellow pixel).
#include "FloodFill.h"
#include "HighlightRenderer.h"
#include "LazyVerify.h"
#include "MarkerLayout.h"
#include "RegionMapView.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

namespace {

const char *const Slugs[] = {"asia", "west-asia", "oceania", "africa",
                             "europe", "nis", "north-america", "south-america"};

// Each picture is read once; the rows of a region share it.
const QImage &regionMap(int regionId)
{
    static QImage maps[8];
    QImage &map = maps[regionId - 1];
    if (map.isNull())
        map = QImage(QStringLiteral(":/maps/%1.png").arg(QLatin1String(Slugs[regionId - 1])))
                  .convertToFormat(QImage::Format_RGB32);
    return map;
}

const QImage &labelPicture(int regionId)
{
    static QImage pictures[8];
    QImage &labels = pictures[regionId - 1];
    if (labels.isNull())
        labels = QImage(QStringLiteral(KUNISHIRABE_SOURCE_DIR "/tests/data/labels/%1.png")
                            .arg(QLatin1String(Slugs[regionId - 1])))
                     .convertToFormat(QImage::Format_Grayscale8);
    return labels;
}

constexpr QRgb Yellow = 0xffffff00;
constexpr QRgb Red = 0xffff0000;

// Sizes of the 4-connected pieces of a pixel set.
std::vector<int> pieceSizes(QSize size, std::vector<bool> pixels)
{
    std::vector<int> sizes;
    for (int start = 0; start < int(pixels.size()); ++start) {
        if (!pixels[start])
            continue;
        int count = 0;
        std::vector<int> pending{start};
        pixels[start] = false;
        while (!pending.empty()) {
            const int p = pending.back();
            pending.pop_back();
            ++count;
            const int x = p % size.width();
            const int y = p / size.width();
            const int neighbours[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto &n : neighbours) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= size.width() || n[1] >= size.height())
                    continue;
                const int q = n[1] * size.width() + n[0];
                if (pixels[q]) {
                    pixels[q] = false;
                    pending.push_back(q);
                }
            }
        }
        sizes.push_back(count);
    }
    return sizes;
}

// A fill must show at least one red patch of this many pixels.
constexpr int VisiblePatch = 20;

// The largest red patch of the entry that the screen shows, with the map
// view's surface drawn under its marker widgets: the smaller of what the
// atlas and the drill layouts leave in view.
int largestShownPatch(RegionMapView &view, const RegionMarkerLayout &layout, const QImage &labels, int country)
{
    std::vector<std::span<const MarkerRect>> layouts{layout.atlasMarkers};
    if (layout.drillMarkers.data() != layout.atlasMarkers.data())
        layouts.push_back(layout.drillMarkers);
    int smallest = std::numeric_limits<int>::max();
    for (const std::span<const MarkerRect> markers : layouts) {
        view.setMarkers(markers);
        const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown.size() != labels.size())
            qFatal("the view shows %dx%d", shown.width(), shown.height());
        std::vector<bool> red(std::size_t(shown.width() * shown.height()), false);
        for (int y = 0; y < shown.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
            const uchar *label = labels.constScanLine(y);
            for (int x = 0; x < shown.width(); ++x)
                red[std::size_t(y * shown.width() + x)] = line[x] == Red && label[x] == country;
        }
        const std::vector<int> patches = pieceSizes(shown.size(), red);
        smallest = std::min(smallest, patches.empty() ? 0 : *std::max_element(patches.begin(), patches.end()));
    }
    return smallest;
}

} // namespace

class RegionTablesTest : public QObject
{
    Q_OBJECT
private slots:
    void regionAssets_data();
    void regionAssets();
    void everyEntry_data();
    void everyEntry();
    void northAmericaCaptionRule();
};

void RegionTablesTest::regionAssets_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("count");
    const int counts[] = {25, 17, 17, 53, 40, 12, 30, 12};
    for (int r = 1; r <= 8; ++r)
        QTest::addRow("%s", Slugs[r - 1]) << r << counts[r - 1];
}

void RegionTablesTest::regionAssets()
{
    QFETCH(int, regionId);
    QFETCH(int, count);
    const RegionHighlightTable &table = highlightTable(regionId);
    const RegionMarkerLayout &markers = markerLayout(regionId);
    const QImage map = regionMap(regionId);
    const QImage labels = labelPicture(regionId);
    QCOMPARE(table.regionId, regionId);
    QCOMPARE(table.countryCount, count);
    QCOMPARE(markers.regionId, regionId);
    QCOMPARE(int(markers.atlasMarkers.size()), count);
    QCOMPARE(int(markers.drillMarkers.size()), count);
    QCOMPARE(map.size(), table.mapSize);
    QCOMPARE(labels.size(), table.mapSize);
    if (table.defaultRule == DefaultRule::NoPaint) {
        for (int k = 1; k <= count; ++k)
            QVERIFY2(table.entryFor(k).has_value(), qPrintable(QString::number(k)));
    }
    // Every marker lies on the map.
    for (const MarkerRect &marker : markers.atlasMarkers)
        QVERIFY(QRect(QPoint(0, 0), table.mapSize).contains(marker.rect()));
}

void RegionTablesTest::everyEntry_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("country");
    for (int r = 1; r <= 8; ++r)
        for (int k = 1; k <= highlightTable(r).countryCount; ++k)
            QTest::addRow("%s %d", Slugs[r - 1], k) << r << k;
}

void RegionTablesTest::everyEntry()
{
    QFETCH(int, regionId);
    QFETCH(int, country);
    const RegionHighlightTable &table = highlightTable(regionId);
    const RegionMarkerLayout &layout = markerLayout(regionId);
    const QImage &labels = labelPicture(regionId);
    const QSize size = table.mapSize;
    RegionMapView view;
    view.resize(size);
    view.setMap(regionMap(regionId));
    view.setMarkers(layout.atlasMarkers);
    HighlightRenderer renderer(table, view);
    renderer.Highlight(country);

    const QImage &before = view.pristineMap();
    const QImage &after = view.surface();
    const std::optional<HighlightEntry> entry = table.entryFor(country);
    const auto rowOf = [](const QImage &image, int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); };

    if (entry && entry->kind == HighlightKind::Circle) {
        // A ring and nothing else, for an entry whose fill would show no
        // patch big enough to see beside the markers, around most of its pixels.
        const double radius = entry->radiusUnit == RadiusUnit::Twips ? entry->radius / Twips::PerPixel
                                                                     : double(entry->radius);
        int ringPixels = 0;
        int pixels = 0;
        int enclosed = 0;
        QImage filled = before;
        for (int y = 0; y < size.height(); ++y) {
            const QRgb *was = rowOf(before, y);
            const QRgb *is = rowOf(after, y);
            const uchar *label = labels.constScanLine(y);
            auto *fill = reinterpret_cast<QRgb *>(filled.scanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                if (is[x] != was[x]) {
                    QVERIFY2_LAZY(is[x] == Red, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
                    ++ringPixels;
                }
                if (label[x] == country) {
                    fill[x] = Red;
                    ++pixels;
                    if (std::hypot(x - entry->centre.x, y - entry->centre.y) <= radius + 0.5)
                        ++enclosed;
                }
            }
        }
        QVERIFY(ringPixels > 0);
        QVERIFY2(2 * enclosed >= pixels, qPrintable(QStringLiteral("%1 of %2 pixels inside the ring").arg(enclosed).arg(pixels)));
        view.setMap(filled);
        const int shown = largestShownPatch(view, layout, labels, country);
        QVERIFY2(shown < VisiblePatch, qPrintable(QStringLiteral("a fill would show %1 pixels").arg(shown)));
        return;
    }

    // Fills: every pixel of the entry turns red, nothing else changes, and
    // one red patch that the markers leave in view is big enough to see.
    for (int y = 0; y < size.height(); ++y) {
        const QRgb *was = rowOf(before, y);
        const QRgb *is = rowOf(after, y);
        const uchar *label = labels.constScanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const bool changed = is[x] != was[x];
            const bool mine = label[x] == country;
            QVERIFY2_LAZY(changed == mine && (!changed || (was[x] == Yellow && is[x] == Red)),
                          qPrintable(QStringLiteral("pixel %1,%2 (label %3) %4")
                                         .arg(x).arg(y).arg(label[x]).arg(changed ? "painted" : "left yellow")));
        }
    }
    const int shown = largestShownPatch(view, layout, labels, country);
    QVERIFY2(shown >= VisiblePatch, qPrintable(QStringLiteral("largest red patch in view %1 pixels").arg(shown)));
}

void RegionTablesTest::northAmericaCaptionRule()
{
    const RegionHighlightTable &table = highlightTable(7);
    QVERIFY(table.hasFlagFrameRule);
    for (int r = 1; r <= 8; ++r)
        QCOMPARE(highlightTable(r).hasFlagFrameRule, r == 7);
}

QTEST_MAIN(RegionTablesTest)
#include "tst_regiontables.moc"
