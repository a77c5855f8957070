// Checks the generated region maps, label pictures, highlight tables and
// marker layouts against each other.
#include "FloodFill.h"
#include "MarkerLayout.h"
#include "RegionHighlightTable.h"

#include <QImage>
#include <QSet>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

const QRgb yellow = qRgb(255, 255, 0) & RGB_MASK;
const QRgb white = qRgb(255, 255, 255) & RGB_MASK;
const QRgb cyan = qRgb(0, 255, 255) & RGB_MASK;
const QRgb black = qRgb(0, 0, 0) & RGB_MASK;
const QRgb red = qRgb(255, 0, 0) & RGB_MASK;
const QRgb probe = qRgb(255, 0, 255) & RGB_MASK;  // in no map

// Largest part of an entry a table may leave unpainted, and the most
// unpainted pixels per region.
constexpr int maxLeftOutPart = 3;
constexpr int maxLeftOutPerRegion = 60;

struct Region {
    int id;
    const char *slug;
    QSize size;
    int count;
    DefaultRule rule;
};

const Region regions[] = {
    {1, "asia", {462, 369}, 25, DefaultRule::MarkerSeed},
    {2, "west-asia", {365, 326}, 17, DefaultRule::MarkerSeed},
    {3, "oceania", {500, 355}, 17, DefaultRule::NoPaint},
    {4, "africa", {388, 381}, 53, DefaultRule::MarkerSeed},
    {5, "europe", {353, 378}, 40, DefaultRule::MarkerSeed},
    {6, "nis", {420, 355}, 12, DefaultRule::MarkerSeed},
    {7, "north-america", {450, 376}, 30, DefaultRule::NoPaint},
    {8, "south-america", {290, 377}, 12, DefaultRule::MarkerSeed},
};

QImage loadMap(const QString &slug)
{
    return QImage(QStringLiteral(KUNISHIRABE_SOURCE_DIR "/assets/maps/%1.png").arg(slug))
        .convertToFormat(QImage::Format_RGB32);
}

QImage loadLabels(const QString &slug)
{
    return QImage(QStringLiteral(KUNISHIRABE_SOURCE_DIR "/tests/data/labels/%1.png").arg(slug))
        .convertToFormat(QImage::Format_Grayscale8);
}

int label(const QImage &labels, int x, int y)
{
    return labels.constScanLine(y)[x];
}

QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & RGB_MASK;
}

// 4-connected components of the pixels for which inside(x, y) holds.
template <typename Inside>
std::vector<std::vector<QPoint>> components(QSize size, Inside inside)
{
    std::vector<std::vector<QPoint>> result;
    std::vector<char> seen(std::size_t(size.width()) * size.height(), 0);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (seen[std::size_t(y) * size.width() + x] || !inside(x, y))
                continue;
            std::vector<QPoint> part;
            std::vector<QPoint> stack{{x, y}};
            seen[std::size_t(y) * size.width() + x] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                part.push_back(p);
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (q.x() < 0 || q.y() < 0 || q.x() >= size.width() || q.y() >= size.height())
                        continue;
                    char &mark = seen[std::size_t(q.y()) * size.width() + q.x()];
                    if (!mark && inside(q.x(), q.y())) {
                        mark = 1;
                        stack.push_back(q);
                    }
                }
            }
            result.push_back(std::move(part));
        }
    }
    return result;
}

bool validMarkerSize(const MarkerRect &m)
{
    const QSize s(m.width, m.height);
    return s == QSize(8, 8) || s == QSize(20, 8) || s == QSize(15, 8) || s == QSize(8, 19)
           || s == QSize(8, 14);
}

// The pixel where a marker's leader line ends (its square for a plain 8 x 8).
QPoint leaderTip(const MarkerRect &m)
{
    if (m.width == 8 && m.height == 8)
        return QPoint(m.left + 3, m.top + 3);
    if (m.width > m.height)
        return QPoint(m.squareEnd == MarkerSquareEnd::Far ? m.left : m.left + m.width - 1, m.top + 3);
    return QPoint(m.left + 3, m.squareEnd == MarkerSquareEnd::Far ? m.top : m.top + m.height - 1);
}

} // namespace

class RegionMapsTest : public QObject
{
    Q_OBJECT

private:
    static void regionData()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(regions)); ++i)
            QTest::newRow(regions[i].slug) << i;
    }

private slots:
    void mapSizeAndColours_data() { regionData(); }
    void mapSizeAndColours()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const QImage map = loadMap(region.slug);
        QVERIFY2(!map.isNull(), region.slug);
        QCOMPARE(map.size(), region.size);

        QSet<QRgb> colours;
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                colours.insert(rgbAt(map, x, y));
        QSet<QRgb> expected{yellow, white, cyan, black};
        if (region.id == 7)
            expected.insert(red);
        QCOMPARE(colours, expected);
    }

    void labelsMatchYellow_data() { regionData(); }
    void labelsMatchYellow()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const QImage map = loadMap(region.slug);
        const QImage labels = loadLabels(region.slug);
        QCOMPARE(labels.size(), region.size);

        QSet<int> seen;
        for (int y = 0; y < map.height(); ++y) {
            for (int x = 0; x < map.width(); ++x) {
                const int k = label(labels, x, y);
                QVERIFY2((rgbAt(map, x, y) == yellow) == (k != 0),
                         qPrintable(QStringLiteral("%1 at %2,%3").arg(region.slug).arg(x).arg(y)));
                QVERIFY(k <= region.count);
                seen.insert(k);
            }
        }
        for (int k = 1; k <= region.count; ++k)
            QVERIFY2(seen.contains(k), qPrintable(QStringLiteral("%1: entry %2 has no pixel").arg(region.slug).arg(k)));
    }

    // What a 4-connected fill from a yellow pixel reaches holds that entry only.
    void fillsStayInsideTheirEntry_data() { regionData(); }
    void fillsStayInsideTheirEntry()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const QImage map = loadMap(region.slug);
        const QImage labels = loadLabels(region.slug);
        const auto areas = components(map.size(), [&](int x, int y) { return rgbAt(map, x, y) != black; });
        for (const auto &area : areas) {
            const int first = label(labels, area.front().x(), area.front().y());
            bool anyYellow = false;
            for (const QPoint p : area)
                anyYellow = anyYellow || label(labels, p.x(), p.y()) != 0;
            if (!anyYellow)
                continue;
            for (const QPoint p : area)
                QVERIFY2(label(labels, p.x(), p.y()) == first,
                         qPrintable(QStringLiteral("%1: area of entry %2 reaches %3,%4")
                                        .arg(region.slug).arg(first).arg(p.x()).arg(p.y())));
        }
    }

    void tableBasics_data() { regionData(); }
    void tableBasics()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const RegionHighlightTable &table = highlightTable(region.id);
        QCOMPARE(int(table.regionId), region.id);
        QCOMPARE(table.mapSize, region.size);
        QCOMPARE(int(table.countryCount), region.count);
        QCOMPARE(table.defaultRule, region.rule);
        QCOMPARE(table.hasFlagFrameRule, region.id == 7);

        int previous = 0;
        for (const HighlightEntry &entry : table.entries) {
            QVERIFY(entry.country > previous);
            QVERIFY(entry.country <= region.count);
            previous = entry.country;
            if (entry.kind == HighlightKind::Fill) {
                QVERIFY(entry.seedCount >= 1 && entry.seedCount <= 45);
                QVERIFY(int(entry.firstSeed) + entry.seedCount <= int(table.seeds.size()));
            }
        }
        if (region.rule == DefaultRule::NoPaint)
            for (int k = 1; k <= region.count; ++k)
                QVERIFY2(table.entryFor(k).has_value(), qPrintable(QStringLiteral("%1: entry %2").arg(region.slug).arg(k)));
    }

    // The program's own fill from each seed (or from the marker) paints the
    // entry's pixels and nothing else; only tiny parts may stay unpainted.
    void seedsPaintWholeEntry_data() { regionData(); }
    void seedsPaintWholeEntry()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const QImage map = loadMap(region.slug);
        const QImage labels = loadLabels(region.slug);
        const RegionHighlightTable &table = highlightTable(region.id);
        const RegionMarkerLayout &layout = markerLayout(region.id);
        QCOMPARE(int(layout.atlasMarkers.size()), region.count);

        int leftOutPixels = 0;
        int leftOutParts = 0;
        int filled = 0;
        for (int k = 1; k <= region.count; ++k) {
            std::vector<QPoint> seeds;
            const auto entry = table.entryFor(k);
            if (entry && entry->kind == HighlightKind::Circle)
                continue;
            if (entry) {
                for (const FillSeed &seed : table.seedsOf(*entry))
                    seeds.emplace_back(seed.x, seed.y);
            } else {
                QCOMPARE(table.defaultRule, DefaultRule::MarkerSeed);
                const MarkerRect &marker = layout.atlasMarkers[k - 1];
                seeds.emplace_back(marker.left, marker.top);
            }
            ++filled;

            QImage painted = map;
            for (const QPoint seed : seeds) {
                QVERIFY2(QRect(QPoint(), map.size()).contains(seed), qPrintable(QStringLiteral("%1 entry %2").arg(region.slug).arg(k)));
                QVERIFY2(label(labels, seed.x(), seed.y()) == k,
                         qPrintable(QStringLiteral("%1 entry %2: seed %3,%4 off the entry").arg(region.slug).arg(k).arg(seed.x()).arg(seed.y())));
                floodFill(painted, seed, probe, black);
            }
            for (int y = 0; y < map.height(); ++y)
                for (int x = 0; x < map.width(); ++x)
                    if (rgbAt(painted, x, y) == probe)
                        QVERIFY2(label(labels, x, y) == k,
                                 qPrintable(QStringLiteral("%1 entry %2 paints %3,%4").arg(region.slug).arg(k).arg(x).arg(y)));

            const auto unpainted = components(map.size(), [&](int x, int y) {
                return label(labels, x, y) == k && rgbAt(painted, x, y) != probe;
            });
            for (const auto &part : unpainted) {
                QVERIFY2(int(part.size()) <= maxLeftOutPart,
                         qPrintable(QStringLiteral("%1 entry %2: %3 pixels at %4,%5 stay unpainted")
                                        .arg(region.slug).arg(k).arg(part.size()).arg(part.front().x()).arg(part.front().y())));
                leftOutPixels += int(part.size());
                ++leftOutParts;
            }
        }
        QVERIFY(leftOutPixels <= maxLeftOutPerRegion);
        qInfo("%s: %d entries filled, %d parts (%d pixels) left out", region.slug, filled, leftOutParts, leftOutPixels);
    }

    void ringsEncloseTheirEntry_data() { regionData(); }
    void ringsEncloseTheirEntry()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const QImage labels = loadLabels(region.slug);
        const RegionHighlightTable &table = highlightTable(region.id);
        for (const HighlightEntry &entry : table.entries) {
            if (entry.kind != HighlightKind::Circle)
                continue;
            const QPoint centre(entry.centre.x, entry.centre.y);
            QVERIFY(QRect(QPoint(), region.size).contains(centre));
            const double radius = entry.radiusUnit == RadiusUnit::Twips ? entry.radius / 15.0 : entry.radius;
            QVERIFY(radius >= 5.0);
            int pixels = 0;
            for (int y = 0; y < labels.height(); ++y)
                for (int x = 0; x < labels.width(); ++x)
                    if (label(labels, x, y) == entry.country) {
                        ++pixels;
                        // the 3-pixel ring must not cover the entry
                        QVERIFY2(std::hypot(x - centre.x(), y - centre.y()) <= radius - 1.5,
                                 qPrintable(QStringLiteral("%1 entry %2: %3,%4 outside its ring").arg(region.slug).arg(entry.country).arg(x).arg(y)));
                    }
            QVERIFY(pixels > 0);
        }
    }

    void markersFollowTheRules_data() { regionData(); }
    void markersFollowTheRules()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const QImage labels = loadLabels(region.slug);
        const RegionMarkerLayout &layout = markerLayout(region.id);
        QCOMPARE(int(layout.regionId), region.id);
        QCOMPARE(int(layout.atlasMarkers.size()), region.count);
        QCOMPARE(int(layout.drillMarkers.size()), region.count);
        const QRect mapRect(QPoint(), region.size);

        for (const auto markers : {layout.atlasMarkers, layout.drillMarkers}) {
            for (int i = 0; i < region.count; ++i) {
                const MarkerRect &m = markers[i];
                QVERIFY(validMarkerSize(m));
                QVERIFY2(mapRect.contains(m.rect()), qPrintable(QStringLiteral("%1 marker %2").arg(region.slug).arg(i + 1)));
                for (int j = i + 1; j < region.count; ++j)
                    QVERIFY2(!m.rect().intersects(markers[j].rect()),
                             qPrintable(QStringLiteral("%1 markers %2 and %3 overlap").arg(region.slug).arg(i + 1).arg(j + 1)));
            }
        }

        const RegionHighlightTable &table = highlightTable(region.id);
        for (int k = 1; k <= region.count; ++k) {
            const MarkerRect &m = layout.atlasMarkers[k - 1];
            if (!table.entryFor(k) && table.defaultRule == DefaultRule::MarkerSeed)
                QVERIFY2(label(labels, m.left, m.top) == k,
                         qPrintable(QStringLiteral("%1 marker %2 seeds off its entry").arg(region.slug).arg(k)));
            // the square (or the leader's tip) lies on its entry or next to it
            const QPoint tip = leaderTip(m);
            bool near = false;
            for (int dy = -4; dy <= 4 && !near; ++dy)
                for (int dx = -4; dx <= 4 && !near; ++dx) {
                    const QPoint q = tip + QPoint(dx, dy);
                    near = mapRect.contains(q) && label(labels, q.x(), q.y()) == k;
                }
            QVERIFY2(near, qPrintable(QStringLiteral("%1 marker %2 points away from its entry").arg(region.slug).arg(k)));

            const bool moved = region.id == 3 && (k == 7 || k == 16);
            QCOMPARE(layout.drillMarkers[k - 1].rect() != m.rect(), moved);
        }
    }
};

QTEST_MAIN(RegionMapsTest)
#include "tst_regionmaps.moc"
