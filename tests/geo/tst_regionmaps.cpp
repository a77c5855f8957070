// Checks the generated region maps, label pictures, highlight tables and
// marker layouts against each other.
#include "FloodFill.h"
#include "LazyVerify.h"
#include "MarkerLayout.h"
#include "RegionHighlightTable.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

const QRgb yellow = qRgb(255, 255, 0) & RGB_MASK;
const QRgb white = qRgb(255, 255, 255) & RGB_MASK;
const QRgb cyan = qRgb(0, 255, 255) & RGB_MASK;
const QRgb black = qRgb(0, 0, 0) & RGB_MASK;
const QRgb red = qRgb(255, 0, 0) & RGB_MASK;
const QRgb probe = qRgb(255, 0, 255) & RGB_MASK;  // in no map

// A fill must show at least one patch of this many pixels.
constexpr int visiblePatch = 20;

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

// Images here are Format_RGB32: read the scan line, not QImage::pixel.
QRgb rgbAt(const QImage &image, int x, int y)
{
    return reinterpret_cast<const QRgb *>(image.constScanLine(y))[x] & RGB_MASK;
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

// The drawn pixels of a marker: its 8 x 8 square and the two middle rows
// (or columns) of its leader line.
std::vector<QPoint> markerPixels(const MarkerRect &m)
{
    std::vector<QPoint> pixels;
    const bool horizontal = m.width > m.height;
    const int length = horizontal ? m.width : m.height;
    const int squareFrom = m.squareEnd == MarkerSquareEnd::Far ? length - 8 : 0;
    for (int i = 0; i < length; ++i) {
        const bool inSquare = i >= squareFrom && i < squareFrom + 8;
        for (int j = 0; j < 8; ++j)
            if (inSquare || j == 3 || j == 4)
                pixels.push_back(horizontal ? QPoint(m.left + i, m.top + j) : QPoint(m.left + j, m.top + i));
    }
    return pixels;
}

bool touch(const MarkerRect &a, const MarkerRect &b)
{
    if (!a.rect().adjusted(-1, -1, 1, 1).intersects(b.rect()))
        return false;
    const auto pixelsOfB = markerPixels(b);
    for (const QPoint p : markerPixels(a))
        for (const QPoint q : pixelsOfB)
            if (std::abs(p.x() - q.x()) <= 1 && std::abs(p.y() - q.y()) <= 1)
                return true;
    return false;
}

// Which entry's highlight paints each pixel of a region's map: 0 none, k
// the fill of entry k (from its table row or its marker), -1 more than one.
// Rings paint nothing here. Worked out once per region.
const std::vector<int> &paintedBy(const Region &region)
{
    static std::vector<int> grids[std::size(regions)];
    std::vector<int> &grid = grids[&region - regions];
    if (!grid.empty())
        return grid;
    const QImage map = loadMap(region.slug);
    const RegionHighlightTable &table = highlightTable(region.id);
    grid.assign(std::size_t(map.width()) * map.height(), 0);
    for (int k = 1; k <= region.count; ++k) {
        const auto entry = table.entryFor(k);
        std::vector<QPoint> seeds;
        if (entry && entry->kind == HighlightKind::Circle)
            continue;
        if (entry) {
            for (const FillSeed &seed : table.seedsOf(*entry))
                seeds.emplace_back(seed.x, seed.y);
        } else if (table.defaultRule == DefaultRule::MarkerSeed) {
            const MarkerRect &marker = markerLayout(region.id).atlasMarkers[k - 1];
            seeds.emplace_back(marker.left, marker.top);
        }
        QImage painted = map;
        floodFill(painted, seeds, probe, black);
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                if (rgbAt(painted, x, y) == probe) {
                    int &owner = grid[std::size_t(y) * map.width() + x];
                    owner = owner ? -1 : k;
                }
    }
    return grid;
}

// The largest 4-connected patch of entry k's pixels (inEntry) that the
// markers leave in view, for the layout (atlas or drill) that leaves the
// smallest; markers drawn as markerPixels says.
template <typename InEntry>
int largestPatchInView(const Region &region, InEntry inEntry)
{
    const RegionMarkerLayout &layout = markerLayout(region.id);
    int smallest = std::numeric_limits<int>::max();
    for (const auto markers : {layout.atlasMarkers, layout.drillMarkers}) {
        std::vector<char> covered(std::size_t(region.size.width()) * region.size.height(), 0);
        for (const MarkerRect &m : markers)
            for (const QPoint p : markerPixels(m))
                covered[std::size_t(p.y()) * region.size.width() + p.x()] = 1;
        std::size_t largest = 0;
        for (const auto &patch : components(region.size, [&](int x, int y) {
                 return !covered[std::size_t(y) * region.size.width() + x] && inEntry(x, y);
             }))
            largest = std::max(largest, patch.size());
        smallest = std::min(smallest, int(largest));
    }
    return smallest;
}

// A map's projection as the generator used it (d3's conic and azimuthal
// equal-area projections), from tests/data/labels/projections.json.
class MapProjection
{
public:
    explicit MapProjection(const QJsonObject &p)
        : m_conic(p[u"type"].toString() == u"geoConicEqualArea"),
          m_scale(p[u"scale"].toDouble()),
          m_translate(p[u"translate"][0].toDouble(), p[u"translate"][1].toDouble())
    {
        const double radians = std::numbers::pi / 180.0;
        m_rotateLambda = p[u"rotate"][0].toDouble() * radians;
        m_rotatePhi = p[u"rotate"][1].toDouble() * radians;
        if (m_conic) {
            const double sinY0 = std::sin(p[u"parallels"][0].toDouble() * radians);
            m_n = (sinY0 + std::sin(p[u"parallels"][1].toDouble() * radians)) / 2;
            m_c = 1 + sinY0 * (2 * m_n - sinY0);
            m_r0 = std::sqrt(m_c) / m_n;
        }
        m_centre = raw(p[u"centre"][0].toDouble() * radians, p[u"centre"][1].toDouble() * radians);
    }

    QPoint pixel(double longitude, double latitude) const
    {
        const double radians = std::numbers::pi / 180.0;
        double lambda = longitude * radians + m_rotateLambda;
        lambda = lambda > std::numbers::pi ? lambda - 2 * std::numbers::pi : lambda < -std::numbers::pi ? lambda + 2 * std::numbers::pi : lambda;
        double phi = latitude * radians;
        if (m_rotatePhi != 0) {
            const double x = std::cos(lambda) * std::cos(phi);
            const double y = std::sin(lambda) * std::cos(phi);
            const double z = std::sin(phi);
            lambda = std::atan2(y, x * std::cos(m_rotatePhi) - z * std::sin(m_rotatePhi));
            phi = std::asin(z * std::cos(m_rotatePhi) + x * std::sin(m_rotatePhi));
        }
        const QPointF r = raw(lambda, phi) - m_centre;
        return QPoint(int(std::floor(m_translate.x() + m_scale * r.x())),
                      int(std::floor(m_translate.y() - m_scale * r.y())));
    }

private:
    QPointF raw(double lambda, double phi) const
    {
        if (m_conic) {
            const double r = std::sqrt(m_c - 2 * m_n * std::sin(phi)) / m_n;
            return {r * std::sin(lambda * m_n), m_r0 - r * std::cos(lambda * m_n)};
        }
        const double k = std::sqrt(2 / (1 + std::cos(lambda) * std::cos(phi)));
        return {k * std::cos(phi) * std::sin(lambda), k * std::sin(phi)};
    }

    bool m_conic;
    double m_scale;
    QPointF m_translate;
    double m_rotateLambda = 0;
    double m_rotatePhi = 0;
    double m_n = 0;
    double m_c = 0;
    double m_r0 = 0;
    QPointF m_centre;
};

MapProjection projectionOf(const char *slug)
{
    QFile file(QStringLiteral(KUNISHIRABE_SOURCE_DIR "/tests/data/labels/projections.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no projections.json");
    return MapProjection(QJsonDocument::fromJson(file.readAll()).object()[QLatin1String(slug)].toObject());
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
                QVERIFY2_LAZY((rgbAt(map, x, y) == yellow) == (k != 0),
                              qPrintable(QStringLiteral("%1 at %2,%3").arg(region.slug).arg(x).arg(y)));
                QVERIFY2_LAZY(k <= region.count, region.slug);
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
                QVERIFY2_LAZY(label(labels, p.x(), p.y()) == first,
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
    // entry's pixels, all of them, and nothing else, and shows a patch big
    // enough to see beside the markers; an entry that has no such patch is ringed.
    void seedsPaintWholeEntry_data() { regionData(); }
    void seedsPaintWholeEntry()
    {
        QFETCH(int, index);
        const Region &region = regions[index];
        const QImage labels = loadLabels(region.slug);
        const RegionHighlightTable &table = highlightTable(region.id);
        QCOMPARE(int(markerLayout(region.id).atlasMarkers.size()), region.count);
        const std::vector<int> &painter = paintedBy(region);
        const auto paints = [&](int x, int y) { return painter[std::size_t(y) * region.size.width() + x]; };

        for (int k = 1; k <= region.count; ++k) {
            const auto entry = table.entryFor(k);
            if (entry)
                for (const FillSeed &seed : table.seedsOf(*entry))
                    QVERIFY2(label(labels, seed.x, seed.y) == k,
                             qPrintable(QStringLiteral("%1 entry %2: seed %3,%4 off the entry").arg(region.slug).arg(k).arg(seed.x).arg(seed.y)));
        }
        const auto ringed = [&](int k) {
            const auto entry = table.entryFor(k);
            return entry && entry->kind == HighlightKind::Circle;
        };
        for (int y = 0; y < region.size.height(); ++y)
            for (int x = 0; x < region.size.width(); ++x) {
                const int k = label(labels, x, y);
                QVERIFY2_LAZY(paints(x, y) == (k && !ringed(k) ? k : 0),
                              qPrintable(QStringLiteral("%1: %2,%3 of entry %4 painted by %5").arg(region.slug).arg(x).arg(y).arg(k).arg(paints(x, y))));
            }
        for (int k = 1; k <= region.count; ++k) {
            if (ringed(k))
                continue;
            const int largest = largestPatchInView(region, [&](int x, int y) { return paints(x, y) == k; });
            QVERIFY2(largest >= visiblePatch,
                     qPrintable(QStringLiteral("%1 entry %2: largest red patch in view %3 pixels").arg(region.slug).arg(k).arg(largest)));
        }
    }

    // A ring marks an entry whose fill would show no patch big enough to see
    // beside the markers; it encloses most of the entry's pixels (its main
    // island group) with its 3-pixel line clear of them.
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
            const auto pieces = components(region.size, [&](int x, int y) { return label(labels, x, y) == entry.country; });
            QVERIFY(!pieces.empty());
            const auto enclosed = [&](QPoint p) { return std::hypot(p.x() - centre.x(), p.y() - centre.y()) <= radius - 1.5; };
            std::size_t pixels = 0, inside = 0;
            for (const auto &piece : pieces) {
                pixels += piece.size();
                inside += std::count_if(piece.begin(), piece.end(), enclosed);
            }
            const QString what = QStringLiteral("%1 entry %2").arg(region.slug).arg(entry.country);
            const int inView = largestPatchInView(region, [&](int x, int y) { return label(labels, x, y) == entry.country; });
            QVERIFY2(inView < visiblePatch, qPrintable(what + QStringLiteral(" could be filled")));
            QVERIFY2(2 * inside >= pixels, qPrintable(what + QStringLiteral(": most pixels outside its ring")));
        }
    }

    // Japan's view: who owns the land at a place, and which entry's highlight
    // paints it (0: other land that no highlight paints).
    void officialPositions_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<int>("owner");
        const int asia = 0, africa = 3, nis = 5;
        const int japan = 10, ukraine = 3, russia = 12, morocco = 49;
        QTest::newRow("asia 択捉島") << asia << 147.8 << 45.0 << japan;
        QTest::newRow("asia 国後島") << asia << 145.9 << 44.1 << japan;
        QTest::newRow("asia 色丹島") << asia << 146.75 << 43.8 << japan;
        QTest::newRow("asia 樺太南部") << asia << 142.8 << 47.5 << 0;
        QTest::newRow("asia 得撫島") << asia << 150.0 << 45.9 << 0;
        QTest::newRow("asia 幌筵島") << asia << 155.7 << 50.4 << 0;
        QTest::newRow("nis 択捉島") << nis << 147.8 << 45.0 << 0;
        QTest::newRow("nis 国後島") << nis << 145.9 << 44.1 << 0;
        QTest::newRow("nis 樺太南部") << nis << 142.8 << 47.5 << 0;
        QTest::newRow("nis 樺太北部") << nis << 142.8 << 52.0 << russia;
        QTest::newRow("nis 得撫島") << nis << 150.0 << 45.9 << 0;
        QTest::newRow("nis 幌筵島") << nis << 155.7 << 50.4 << 0;
        QTest::newRow("nis クリミア") << nis << 34.2 << 45.0 << ukraine;
        QTest::newRow("nis セバストポリ") << nis << 33.6 << 44.55 << ukraine;
        QTest::newRow("africa 西サハラ") << africa << -12.5 << 24.5 << 0;
        QTest::newRow("africa 西サハラ北部") << africa << -12.5 << 27.2 << 0;
        QTest::newRow("africa モロッコ") << africa << -9.0 << 29.5 << morocco;
    }
    void officialPositions()
    {
        QFETCH(int, index);
        QFETCH(double, longitude);
        QFETCH(double, latitude);
        QFETCH(int, owner);
        const Region &region = regions[index];
        const QImage map = loadMap(region.slug);
        const QImage labels = loadLabels(region.slug);
        const QPoint at = projectionOf(region.slug).pixel(longitude, latitude);

        // the land about the point (small islands: its few land pixels)
        std::vector<QPoint> land;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p = at + QPoint(dx, dy);
                if (QRect(QPoint(), region.size).contains(p) && rgbAt(map, p.x(), p.y()) != black && rgbAt(map, p.x(), p.y()) != cyan)
                    land.push_back(p);
            }
        QVERIFY2(!land.empty(), qPrintable(QStringLiteral("no land at %1,%2").arg(at.x()).arg(at.y())));
        for (const QPoint p : land) {
            QCOMPARE(label(labels, p.x(), p.y()), owner);
            QCOMPARE(rgbAt(map, p.x(), p.y()), owner ? yellow : white);
        }
        const std::vector<int> &painter = paintedBy(region);
        for (const QPoint p : land)
            QVERIFY2(painter[std::size_t(p.y()) * region.size.width() + p.x()] == owner,
                     qPrintable(QStringLiteral("%1,%2 painted by %3").arg(p.x()).arg(p.y())
                                    .arg(painter[std::size_t(p.y()) * region.size.width() + p.x()])));
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
                QVERIFY2_LAZY(mapRect.contains(m.rect()), qPrintable(QStringLiteral("%1 marker %2").arg(region.slug).arg(i + 1)));
                // apart by a pixel at least, and no leader line over another marker
                for (int j = i + 1; j < region.count; ++j)
                    QVERIFY2_LAZY(!m.rect().intersects(markers[j].rect()) && !touch(m, markers[j]),
                                  qPrintable(QStringLiteral("%1 markers %2 and %3 touch").arg(region.slug).arg(i + 1).arg(j + 1)));
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
