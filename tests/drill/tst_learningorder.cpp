// The order of a learning run over many simulated runs, and the name choices
// on real region maps.

#include "AppState.h"
#include "CountryData.h"
#include "MarkerLayout.h"
#include "NameChoices.h"
#include "ReaskOrder.h"
#include "RegionCatalogue.h"
#include "Seams.h"

#include <QHash>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// splitmix64: a deterministic stream that differs with every seed.
class SeededRandom : public RandomSource
{
public:
    explicit SeededRandom(quint64 seed) : m_state(seed) {}
    void reseed() override {}
    double next() override
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return double((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
    }

private:
    quint64 m_state;
};

// An entry is missed at most this often, so that every run ends.
constexpr int MaxMissesPerEntry = 3;

int factorial(int n)
{
    return n <= 1 ? 1 : n * factorial(n - 1);
}

qreal distance(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// A plain 8 x 8 square centred on (x, y).
MarkerRect squareAt(int x, int y)
{
    return {qint16(x - 4), qint16(y - 4), 8, 8, MarkerSquareEnd::Near};
}

} // namespace

class LearningOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void simulatedRunsKeepTheRules_data();
    void simulatedRunsKeepTheRules();
    void markerPointTakesTheLeaderTip_data();
    void markerPointTakesTheLeaderTip();
    void choicesOnRealMaps_data();
    void choicesOnRealMaps();
};

void LearningOrderTest::simulatedRunsKeepTheRules_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("missPercent");
    for (int size : {1, 2, 4, 12, 53}) {
        for (int missPercent : {0, 30, 70, 100})
            QTest::addRow("%d entries, %d%% missed", size, missPercent) << size << missPercent;
    }
}

void LearningOrderTest::simulatedRunsKeepTheRules()
{
    QFETCH(int, size);
    QFETCH(int, missPercent);
    constexpr int Runs = 300;
    QList<qint16> entries;
    for (int k = 0; k < size; ++k)
        entries.append(qint16(3 * k + 2));  // a scattered subset, as a review drill asks
    QSet<QList<qint16>> firstOrders;

    for (int run = 0; run < Runs; ++run) {
        SeededRandom random(quint64(run) * 7919 + quint64(size));
        SeededRandom answers(~quint64(run) ^ quint64(missPercent));
        ReaskOrder order(entries, random);

        QList<qint16> firstOrder;
        QSet<qint16> rightOnes;
        QHash<qint16, int> othersSinceMiss;  // waiting misses: questions asked since
        QHash<qint16, int> misses;
        int firstAnswers = 0;
        int rightAtFirst = 0;
        QList<qint16> missedAtFirst;
        int questions = 0;

        while (!order.isOver()) {
            QVERIFY2(++questions <= size * (MaxMissesPerEntry + 1), "the run does not end");
            const qint16 asked = order.current();
            QVERIFY(entries.contains(asked));
            QVERIFY2(!rightOnes.contains(asked), "an entry answered right is asked again");
            const bool first = !firstOrder.contains(asked);
            QCOMPARE(order.isReask(), !first);
            if (first) {
                firstOrder.append(asked);
            } else {
                const int gap = othersSinceMiss.value(asked);
                QVERIFY2(gap <= ReaskOrder::MaxGap, "a miss came back too late");
                QVERIFY2(gap >= ReaskOrder::MinGap || firstOrder.size() == size,
                         "a miss came back early while a fresh entry was left");
            }
            for (auto it = othersSinceMiss.cbegin(); it != othersSinceMiss.cend(); ++it) {
                if (it.key() == asked)
                    continue;
                QVERIFY2(it.value() < ReaskOrder::MaxGap, "a due miss was passed over");
                // Waited so much longer that it must fall due before the one asked.
                if (!first)
                    QVERIFY2(it.value() <= othersSinceMiss.value(asked) + ReaskOrder::MaxGap - ReaskOrder::MinGap,
                             "a miss due sooner was passed over");
            }

            const bool right = misses[asked] == MaxMissesPerEntry || answers.next() * 100 >= missPercent;
            const int remainingBefore = order.remainingCount();
            QCOMPARE(remainingBefore, size - int(rightOnes.size()));
            order.answer(right, random);

            for (auto it = othersSinceMiss.begin(); it != othersSinceMiss.end(); ++it)
                ++it.value();
            if (right) {
                rightOnes.insert(asked);
                othersSinceMiss.remove(asked);
            } else {
                ++misses[asked];
                othersSinceMiss[asked] = 0;
            }
            if (first) {
                ++firstAnswers;
                if (right)
                    ++rightAtFirst;
                else
                    missedAtFirst.append(asked);
            }
            QCOMPARE(order.remainingCount(), remainingBefore - (right ? 1 : 0));
            QCOMPARE(order.isOver(), int(rightOnes.size()) == size);
            QCOMPARE(order.firstAnswerCount(), firstAnswers);
            QCOMPARE(order.rightAtFirstCount(), rightAtFirst);
            QCOMPARE(order.missedAtFirst(), missedAtFirst);
        }
        firstOrders.insert(firstOrder);
    }
    // The first askings follow the shuffle: every order of a few entries
    // turns up, and runs over more entries never repeat one.
    QCOMPARE(int(firstOrders.size()), size <= 4 ? factorial(size) : Runs);
}

void LearningOrderTest::markerPointTakesTheLeaderTip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<MarkerSquareEnd>("squareEnd");
    QTest::addColumn<QPointF>("tip");
    QTest::addColumn<QPoint>("direction");  // from the square towards the tip
    // Markers at (100, 100); the tip is the far end from the square.
    QTest::newRow("wide, square left") << 20 << 8 << MarkerSquareEnd::Near << QPointF(120, 104) << QPoint(1, 0);
    QTest::newRow("wide, square right") << 15 << 8 << MarkerSquareEnd::Far << QPointF(100, 104) << QPoint(-1, 0);
    QTest::newRow("tall, square top") << 8 << 19 << MarkerSquareEnd::Near << QPointF(104, 119) << QPoint(0, 1);
    QTest::newRow("tall, square bottom") << 8 << 14 << MarkerSquareEnd::Far << QPointF(104, 100) << QPoint(0, -1);
    QTest::newRow("plain square") << 8 << 8 << MarkerSquareEnd::Near << QPointF(104, 104) << QPoint(1, 0);
}

void LearningOrderTest::markerPointTakesTheLeaderTip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(MarkerSquareEnd, squareEnd);
    QFETCH(QPointF, tip);
    QFETCH(QPoint, direction);
    const MarkerRect marker{100, 100, qint16(width), qint16(height), squareEnd};
    QVERIFY2(distance(NameChoices::markerPoint(marker), tip) <= 1.0, "not at the tip");

    // Entry 3 lies 12 beyond the tip, entry 1 12 beyond the other end of the
    // marker: only measured from the tip is entry 3 the nearer.
    const int length = direction.x() != 0 ? width : height;
    const QPointF beyondTip = tip + 12.0 * QPointF(direction);
    const QPointF beyondSquare = tip - qreal(length + 12) * QPointF(direction);
    const MarkerRect layout[] = {squareAt(int(beyondSquare.x()), int(beyondSquare.y())), marker,
                                 squareAt(int(beyondTip.x()), int(beyondTip.y()))};
    QCOMPARE(NameChoices::nearestEntries(layout, 2, 2), (QList<qint16>{3, 1}));
}

void LearningOrderTest::choicesOnRealMaps_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("neighbour");
    QTest::addColumn<bool>("nearest");  // else only among the choices
    // Nearness worked out by hand from the marker tips in MarkerLayouts.cpp.
    QTest::newRow("香港") << u"アジア"_s << u"香港"_s << u"マカオ"_s << true;
    QTest::newRow("マカオ") << u"アジア"_s << u"マカオ"_s << u"香港"_s << true;
    QTest::newRow("ネパール") << u"アジア"_s << u"ネパール"_s << u"ブータン"_s << true;
    QTest::newRow("ブータン") << u"アジア"_s << u"ブータン"_s << u"ネパール"_s << false;
    QTest::newRow("カタール") << u"西アジア"_s << u"カタール"_s << u"バーレーン"_s << true;
    QTest::newRow("アゼルバイジャン") << u"ＮＩＳ諸国"_s << u"アゼルバイジャン"_s << u"アルメニア"_s << true;
}

void LearningOrderTest::choicesOnRealMaps()
{
    QFETCH(QString, region);
    QFETCH(QString, asked);
    QFETCH(QString, neighbour);
    QFETCH(bool, nearest);
    const auto regions = RegionCatalogue::all();
    const auto info = std::find_if(regions.begin(), regions.end(),
                                   [&](const RegionInfo &r) { return r.regionName() == region; });
    QVERIFY(info != regions.end());
    AppState state;
    state.DataRoot = QStringLiteral(KUNISHIRABE_SOURCE_DIR) + u"/data"_s;
    LoadCountryNames(state, *info);
    int askedIndex = 0;
    int neighbourIndex = 0;
    for (int k = 1; k <= info->countryCount; ++k) {
        if (state.CountryNames[k] == asked)
            askedIndex = k;
        if (state.CountryNames[k] == neighbour)
            neighbourIndex = k;
    }
    QVERIFY(askedIndex > 0 && neighbourIndex > 0);
    const std::span<const MarkerRect> markers = markerLayout(info->id).drillMarkers;
    QCOMPARE(int(markers.size()), int(info->countryCount));

    const QList<qint16> nearby = NameChoices::nearestEntries(markers, askedIndex, NameChoices::ChoiceCount - 1);
    QCOMPARE(nearby.size(), NameChoices::ChoiceCount - 1);
    QVERIFY(!nearby.contains(askedIndex));
    QCOMPARE(QSet<qint16>(nearby.begin(), nearby.end()).size(), nearby.size());
    if (nearest)
        QCOMPARE(nearby.first(), neighbourIndex);
    else
        QVERIFY(nearby.contains(neighbourIndex));
    // Nearest first, and no entry left out lies nearer than the last taken.
    const QPointF from = NameChoices::markerPoint(markers[std::size_t(askedIndex - 1)]);
    const auto distanceTo = [&](int entry) {
        return distance(from, NameChoices::markerPoint(markers[std::size_t(entry - 1)]));
    };
    for (qsizetype i = 1; i < nearby.size(); ++i)
        QVERIFY(distanceTo(nearby[i - 1]) <= distanceTo(nearby[i]));
    for (int k = 1; k <= info->countryCount; ++k) {
        if (k != askedIndex && !nearby.contains(k))
            QVERIFY(distanceTo(k) >= distanceTo(nearby.last()));
    }

    QList<qint16> expected = nearby;
    expected.append(qint16(askedIndex));
    std::sort(expected.begin(), expected.end());
    QSet<QList<qint16>> orders;
    for (quint64 seed = 0; seed < 500; ++seed) {
        SeededRandom random(seed);
        const QList<qint16> choices = NameChoices::choicesFor(markers, askedIndex, random);
        QList<qint16> sorted = choices;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted, expected);
        orders.insert(choices);
    }
    QCOMPARE(int(orders.size()), factorial(NameChoices::ChoiceCount));
}

QTEST_GUILESS_MAIN(LearningOrderTest)
#include "tst_learningorder.moc"
