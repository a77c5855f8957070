#include "AppState.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "ResultsChart.h"
#include "ResultsScreen.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "TestSeams.h"

#include <QApplication>
#include <QTest>

#include <array>
#include <memory>

namespace {

using Rates = std::array<int, 8>;

// The colour of chart pixel (x, y), whatever the picture's pixel ratio.
QRgb chartPixel(const QImage &surface, int x, int y)
{
    const qreal ratio = surface.devicePixelRatio();
    return surface.pixel(int(x * ratio), int(y * ratio));
}

} // namespace

Q_DECLARE_METATYPE(Rates)

class ResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void barRects_data();
    void barRects();
    void barsAreDrawnWhereTheRatesSay_data();
    void barsAreDrawnWhereTheRatesSay();
    void chartPicture();
    void clearButtonReveal();
    void clearRemovesEveryResult();
    void menuButtonReturns();

private:
    ResultsScreen *open();

    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScreenHost> m_host;
    RecordingSoundPlayer m_sound;
    FakeClock m_clock;
    ScriptedRandom m_random;
    std::unique_ptr<ScreenContext> m_context;
};

void ResultsTest::init()
{
    m_state = std::make_unique<AppState>();
    m_host = std::make_unique<ScreenHost>();
    m_context = std::make_unique<ScreenContext>(
        ScreenContext{*m_state, *m_host, m_sound, m_clock, m_random});
    registerResultsScreen(*m_host, *m_context);
    m_host->registerScreen(QStringLiteral("メニュー"), [] { return new QWidget; });
}

void ResultsTest::cleanup()
{
    qDeleteAll(QApplication::topLevelWidgets());
    m_host.reset();
}

ResultsScreen *ResultsTest::open()
{
    m_host->show(ResultsScreen::ScreenName);
    auto *screen = qobject_cast<ResultsScreen *>(m_host->loadedScreen(ResultsScreen::ScreenName));
    if (!screen || !QTest::qWaitForWindowExposed(screen))
        return nullptr;
    return screen;
}

void ResultsTest::barRects_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QRect>("bar");
    QTest::newRow("rate 0 draws nothing") << 1 << 0 << QRect();
    QTest::newRow("rate 1 is 5 pixels") << 1 << 1 << QRect(139, 67, 5, 14);
    QTest::newRow("rate 60 meets the pass line") << 2 << 60 << QRect(QPoint(139, 105), QPoint(438, 118));
    QTest::newRow("rate 100 meets the 100% line") << 8 << 100 << QRect(QPoint(139, 333), QPoint(638, 346));
    QTest::newRow("row 4") << 4 << 37 << QRect(139, 181, 185, 14);
}

void ResultsTest::barRects()
{
    QFETCH(int, regionId);
    QFETCH(int, rate);
    QFETCH(QRect, bar);
    QCOMPARE(ResultsChart::barRect(regionId, rate), bar);
}

void ResultsTest::barsAreDrawnWhereTheRatesSay_data()
{
    QTest::addColumn<Rates>("rates");
    QTest::newRow("no results") << Rates{0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("edges") << Rates{0, 1, 60, 100, 0, 0, 0, 0};
    QTest::newRow("only アフリカ") << Rates{0, 0, 0, 73, 0, 0, 0, 0};
    QTest::newRow("every row") << Rates{92, 58, 100, 1, 60, 79, 80, 89};
}

void ResultsTest::barsAreDrawnWhereTheRatesSay()
{
    QFETCH(Rates, rates);
    for (int r = 1; r <= 8; ++r)
        m_state->AccuracyRates[r] = qint16(rates[std::size_t(r - 1)]);
    ResultsScreen *screen = open();
    QVERIFY(screen);

    const QImage picture = ResultsChart::drawPicture(screen->chart()->surface().devicePixelRatio());
    const QImage &surface = screen->chart()->surface();
    QCOMPARE(surface.size(), picture.size());

    // Every pixel of a bar is red; every other pixel is the chart picture's.
    for (int y = 0; y < ResultsChart::PictureSize.height(); ++y) {
        for (int x = 0; x < ResultsChart::PictureSize.width(); ++x) {
            bool inBar = false;
            for (int r = 1; r <= 8; ++r)
                inBar = inBar || ResultsChart::barRect(r, rates[std::size_t(r - 1)]).contains(x, y);
            const QRgb expected = inBar ? ResultsChart::BarColour : chartPixel(picture, x, y);
            if (chartPixel(surface, x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(chartPixel(surface, x, y), 8, 16)
                                     .arg(expected, 8, 16)));
        }
    }

    // Read back at the bar ends, in the middle of each bar's row.
    for (int r = 1; r <= 8; ++r) {
        const int rate = rates[std::size_t(r - 1)];
        const int middle = 67 + 38 * (r - 1) + 7;
        if (rate == 0) {
            QVERIFY(chartPixel(surface, 139, middle) != ResultsChart::BarColour);
            continue;
        }
        QCOMPARE(chartPixel(surface, 139, middle), ResultsChart::BarColour);
        QCOMPARE(chartPixel(surface, 139 + 5 * rate - 1, middle), ResultsChart::BarColour);
        QCOMPARE(chartPixel(surface, 139 + 5 * rate - 1, middle - 7), ResultsChart::BarColour);
        QCOMPARE(chartPixel(surface, 139 + 5 * rate - 1, middle + 6), ResultsChart::BarColour);
        // Above and below the bar (the pass line is red all the way down).
        const int beside = rate == 60 ? 139 + 5 * rate - 4 : 139 + 5 * rate - 1;
        QVERIFY(chartPixel(surface, beside, middle - 8) != ResultsChart::BarColour);
        QVERIFY(chartPixel(surface, beside, middle + 7) != ResultsChart::BarColour);
    }
}

void ResultsTest::chartPicture()
{
    const QImage picture = ResultsChart::drawPicture(1.0);
    QCOMPARE(picture.size(), ResultsChart::PictureSize);
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb paleYellow = qRgb(255, 255, 128);
    // Background between the grid lines.
    QCOMPARE(picture.pixel(160, 75), paleYellow);
    QCOMPARE(picture.pixel(5, 5), paleYellow);
    // Row lines from y = 54 to 358, every 38 pixels.
    for (int k = 0; k <= 8; ++k) {
        QCOMPARE(picture.pixel(300, 54 + 38 * k), blue);
        QCOMPARE(picture.pixel(300, 55 + 38 * k), paleYellow);
    }
    // Grid columns every 50 pixels, the pass mark red and wider.
    for (int points = 0; points <= 100; points += 10) {
        const int x = 139 + 5 * points;
        QCOMPARE(picture.pixel(x, 75), points == 60 ? red : blue);
        if (points != 60)
            QCOMPARE(picture.pixel(x + 1, 75), paleYellow);
    }
    QCOMPARE(picture.pixel(438, 75), red);
    QCOMPARE(picture.pixel(440, 75), red);
    // Label cells: blue with white lettering.
    for (int r = 0; r < 8; ++r) {
        const QRect cell(21, 55 + 38 * r, 118, 37);
        int white = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                white += qGray(picture.pixel(x, y)) > 200 ? 1 : 0;
        QVERIFY2(white > 30, qPrintable(QString::number(r + 1)));
        QCOMPARE(qBlue(picture.pixel(cell.left() + 1, cell.top() + 1)), 200);
    }
}

void ResultsTest::clearButtonReveal()
{
    ResultsScreen *screen = open();
    QVERIFY(screen);
    QCOMPARE(screen->clearButtonShown, qint16(1));
    QVERIFY(!screen->clearButton()->isVisible());

    // On the title first: nothing, until the pointer has crossed the background.
    QTest::mouseMove(screen->titlePicture(), QPoint(10, 10));
    QVERIFY(!screen->clearButton()->isVisible());
    QTest::mouseMove(screen, QPoint(5, 470));
    QCOMPARE(screen->clearButtonShown, qint16(0));
    QTest::mouseMove(screen->titlePicture(), QPoint(20, 20));
    QVERIFY(screen->clearButton()->isVisible());
    QCOMPARE(screen->clearButtonShown, qint16(1));
    QVERIFY(screen->clearButton()->geometry().contains(screen->titlePicture()->geometry()));

    // Off the button onto the chart hides it; the chart counts as background.
    QTest::mouseMove(screen->chart(), QPoint(300, 200));
    QVERIFY(!screen->clearButton()->isVisible());
    QCOMPARE(screen->clearButtonShown, qint16(0));
    // The menu button is no background.
    QTest::mouseMove(screen->titlePicture(), QPoint(10, 10));
    QVERIFY(screen->clearButton()->isVisible());
    QTest::mouseMove(screen->menuButton(), QPoint(10, 10));
    QVERIFY(screen->clearButton()->isVisible());
}

void ResultsTest::clearRemovesEveryResult()
{
    for (int r = 1; r <= 8; ++r)
        m_state->AccuracyRates[r] = qint16(10 * r + 5);
    ResultsScreen *screen = open();
    QVERIFY(screen);
    const QImage picture = ResultsChart::drawPicture(screen->chart()->surface().devicePixelRatio());
    QVERIFY(screen->chart()->surface() != picture);

    QTest::mouseMove(screen, QPoint(5, 470));
    QTest::mouseMove(screen->titlePicture(), QPoint(10, 10));
    QTest::mouseClick(screen->clearButton(), Qt::LeftButton);
    for (int r = 0; r <= 8; ++r)
        QCOMPARE(m_state->AccuracyRates[r], qint16(0));
    QCOMPARE(screen->chart()->surface(), picture);
    QCOMPARE(screen->clearButtonShown, qint16(1));
    QTest::mouseMove(screen, QPoint(6, 470));
    QVERIFY(!screen->clearButton()->isVisible());

    // Coming back later still shows no bars.
    QTest::mouseClick(screen->menuButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    screen = open();
    QVERIFY(screen);
    QCOMPARE(screen->chart()->surface(), picture);
}

void ResultsTest::menuButtonReturns()
{
    ResultsScreen *screen = open();
    QVERIFY(screen);
    QTest::mouseClick(screen->menuButton(), Qt::LeftButton);
    QVERIFY(!m_host->isLoaded(ResultsScreen::ScreenName));
    QVERIFY(m_host->isLoaded(QStringLiteral("メニュー")));
}

QTEST_MAIN(ResultsTest)
#include "tst_results.moc"
