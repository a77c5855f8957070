// Every entry of every region painted with its table on its map, checked
// against the label pictures (value = CountryIndex of each yellow pixel).
#include "FloodFill.h"
#include "HighlightRenderer.h"
#include "MarkerLayout.h"
#include "RegionMapView.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char *const Slugs[] = {"asia", "west-asia", "oceania", "africa",
                             "europe", "nis", "north-america", "south-america"};

QImage regionMap(int regionId)
{
    return QImage(QStringLiteral(":/maps/%1.png").arg(QLatin1String(Slugs[regionId - 1])));
}

QImage labelPicture(int regionId)
{
    return QImage(QStringLiteral(KUNISHIRABE_SOURCE_DIR "/tests/data/labels/%1.png")
                      .arg(QLatin1String(Slugs[regionId - 1])))
        .convertToFormat(QImage::Format_Grayscale8);
}

int labelAt(const QImage &labels, int x, int y)
{
    return labels.constScanLine(y)[x];
}

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

constexpr QRgb Yellow = 0xffffff00;
constexpr QRgb Red = 0xffff0000;
// A fill must show at least one red patch of this many pixels.
constexpr int VisiblePatch = 20;

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
    const QImage labels = labelPicture(regionId);
    RegionMapView view;
    view.setMap(regionMap(regionId));
    view.setMarkers(markerLayout(regionId).atlasMarkers);
    HighlightRenderer renderer(table, view);
    renderer.Highlight(country);

    const QImage &before = view.pristineMap();
    const QImage &after = view.surface();
    const QSize size = table.mapSize;
    const std::optional<HighlightEntry> entry = table.entryFor(country);

    std::vector<bool> own(std::size_t(size.width() * size.height()), false);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            own[std::size_t(y * size.width() + x)] = labelAt(labels, x, y) == country;
    const std::vector<int> pieces = pieceSizes(size, own);
    const int largestPiece = *std::max_element(pieces.begin(), pieces.end());

    if (entry && entry->kind == HighlightKind::Circle) {
        // A ring and nothing else, for an entry too small to see filled,
        // around most of its pixels.
        QVERIFY2(largestPiece < VisiblePatch, qPrintable(QString::number(largestPiece)));
        const double radius = entry->radiusUnit == RadiusUnit::Twips ? entry->radius / Twips::PerPixel
                                                                     : double(entry->radius);
        int ringPixels = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (after.pixel(x, y) != before.pixel(x, y)) {
                    QCOMPARE(after.pixel(x, y), Red);
                    ++ringPixels;
                }
            }
        }
        QVERIFY(ringPixels > 0);
        int enclosed = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (labelAt(labels, x, y) == country && std::hypot(x - entry->centre.x, y - entry->centre.y) <= radius + 0.5)
                    ++enclosed;
        const int pixels = int(std::count(own.begin(), own.end(), true));
        QVERIFY2(2 * enclosed >= pixels, qPrintable(QStringLiteral("%1 of %2 pixels inside the ring").arg(enclosed).arg(pixels)));
        return;
    }

    // Fills: every pixel of the entry turns red, nothing else changes, and
    // one red patch is big enough to see.
    std::vector<bool> red(std::size_t(size.width() * size.height()), false);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool changed = after.pixel(x, y) != before.pixel(x, y);
            const bool mine = labelAt(labels, x, y) == country;
            QVERIFY2(changed == mine && (!changed || (before.pixel(x, y) == Yellow && after.pixel(x, y) == Red)),
                     qPrintable(QStringLiteral("pixel %1,%2 (label %3) %4")
                                    .arg(x).arg(y).arg(labelAt(labels, x, y)).arg(changed ? "painted" : "left yellow")));
            red[std::size_t(y * size.width() + x)] = changed;
        }
    }
    const std::vector<int> patches = pieceSizes(size, red);
    QVERIFY2(*std::max_element(patches.begin(), patches.end()) >= VisiblePatch,
             qPrintable(QStringLiteral("largest red patch %1 pixels").arg(*std::max_element(patches.begin(), patches.end()))));
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
