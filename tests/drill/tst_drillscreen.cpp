#include "AppState.h"
#include "CaptionFrame.h"
#include "Cp932.h"
#include "TestSeams.h"
#include "DrillProfile.h"
#include "DrillScreens.h"
#include "HighlightedMap.h"
#include "MarkerLayout.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "Placement.h"
#include "RegionCatalogue.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "ScreenContext.h"
#include "ScreenHost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Sizes of the test's feedback pictures, all different, so the shown
// picture can be told by its size.
const QSize MaruSize(120, 120);
const QSize BatuSize(100, 90);
const QSize GoldSize(112, 126);
const QSize SilverSize(110, 124);
const QSize CopperSize(108, 122);

QString nameOf(const RegionInfo &region, int country)
{
    return region.regionName() + QStringLiteral("の国") + QString::number(country);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Qt cannot write GIF; the reader recognises a picture by its content, so a
// PNG under the .gif name stands in for it.
void writePicture(const QString &path, QSize size, QColor colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QVERIFY(picture.save(path, "PNG"));
}

} // namespace

class DrillScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void profilesFitTheirScreens_data();
    void profilesFitTheirScreens();
    void firstQuestionAndCountdown();
    void everyCountryOnceThenFinish();
    void clicksIgnoredDuringPauseAndAfterEnd();
    void wrongAnswerPaintsAskedCountry_data();
    void wrongAnswerPaintsAskedCountry();
    void feedbackPictureIsCentred();
    void hoverFlagAcrossPause();
    void timerEndsThePause();
    void verdicts_data();
    void verdicts();
    void laterRunsOverwriteOnlyTheirRegion();
    void restartButtonReveal_data();
    void restartButtonReveal();
    void restartDuringPauseStopsThePause();
    void restartAfterFinish();
    void leavingBeforeTheEndStoresNothing();
    void navigation_data();
    void navigation();

private:
    RegionDrillScreen *open(int regionId);
    MapMarker *marker(RegionDrillScreen *screen, int country) const;
    void click(RegionDrillScreen *screen, int country);
    void answer(RegionDrillScreen *screen, bool correct);
    enum class LastPause { Ended, Running };
    void playRun(RegionDrillScreen *screen, int correctCount, LastPause lastPause = LastPause::Ended);
    void endPause(RegionDrillScreen *screen);
    void moveTo(QWidget *widget, QPoint position);
    QImage expectedHighlight(int regionId, int country) const;
    QString dataPath(const QString &relative) const;

    QTemporaryDir m_dataDir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScreenHost> m_host;
    FakeClock m_clock;
    ScriptedRandom m_random;
    RecordingSoundPlayer m_sound;
    std::unique_ptr<ScreenContext> m_context;
    QStringList m_opened;
};

void DrillScreenTest::initTestCase()
{
    QVERIFY(m_dataDir.isValid());
    const QString root = m_dataDir.path();
    for (const RegionInfo &region : RegionCatalogue::all()) {
        QString text;
        for (int i = 1; i <= region.countryCount; ++i)
            text += nameOf(region, i) + QLatin1Char(',') + QString::number(i) + QStringLiteral("\r\n");
        writeFile(root + QStringLiteral("/概要/") + region.regionName() + QStringLiteral("/kuni.txt"),
                  Cp932::encode(text));
    }
    writePicture(root + QStringLiteral("/画像/maru.gif"), MaruSize, Qt::blue);
    writePicture(root + QStringLiteral("/画像/batu.gif"), BatuSize, Qt::red);
    writePicture(root + QStringLiteral("/画像/gold.gif"), GoldSize, Qt::yellow);
    writePicture(root + QStringLiteral("/画像/silver.gif"), SilverSize, Qt::gray);
    writePicture(root + QStringLiteral("/画像/copper.gif"), CopperSize, Qt::darkYellow);
}

void DrillScreenTest::init()
{
    m_state = std::make_unique<AppState>();
    m_state->DataRoot = m_dataDir.path();
    m_host = std::make_unique<ScreenHost>();
    m_clock.now = 1000.0;
    m_random = ScriptedRandom();
    m_sound.played.clear();
    m_opened.clear();
    m_context = std::make_unique<ScreenContext>(
        ScreenContext{*m_state, *m_host, m_sound, m_clock, m_random});
    registerDrillScreens(*m_host, *m_context);
    // Stand-ins for the screens a drill leads to.
    const QStringList others{QStringLiteral("メニュー"), QStringLiteral("アジア"),
                             QStringLiteral("南アメリカ")};
    for (const QString &name : others) {
        m_host->registerScreen(name, [this, name] {
            m_opened.append(name);
            auto *stand = new QWidget;
            stand->setObjectName(name);
            return stand;
        });
    }
}

void DrillScreenTest::cleanup()
{
    // The host does not own its screens' memory; discard every window here.
    qDeleteAll(QApplication::topLevelWidgets());
    m_host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString DrillScreenTest::dataPath(const QString &relative) const
{
    return m_dataDir.path() + relative;
}

RegionDrillScreen *DrillScreenTest::open(int regionId)
{
    const QString name = RegionCatalogue::region(regionId).drillScreenName();
    m_host->show(name);
    auto *screen = qobject_cast<RegionDrillScreen *>(m_host->loadedScreen(name));
    if (!screen || !QTest::qWaitForWindowExposed(screen))
        return nullptr;
    // A move to the same place as the last one is dropped: start from the
    // bare corner, which changes no flag on a fresh screen.
    QTest::mouseMove(screen, QPoint(screen->width() - 2, screen->height() - 2));
    return screen;
}

MapMarker *DrillScreenTest::marker(RegionDrillScreen *screen, int country) const
{
    return screen->mapView()->marker(country - 1);
}

void DrillScreenTest::click(RegionDrillScreen *screen, int country)
{
    QTest::mouseClick(marker(screen, country), Qt::LeftButton, {}, QPoint(1, 1));
}

void DrillScreenTest::answer(RegionDrillScreen *screen, bool correct)
{
    const int asked = screen->run().currentQuestion;
    const int other = asked % screen->run().questionCount + 1;
    click(screen, correct ? asked : other);
}

// Answers every question, the first correctCount of them correctly.
void DrillScreenTest::playRun(RegionDrillScreen *screen, int correctCount, LastPause lastPause)
{
    const int questions = screen->run().questionCount;
    for (int i = 0; i < questions; ++i) {
        answer(screen, i < correctCount);
        if (i + 1 < questions || lastPause == LastPause::Ended)
            endPause(screen);
    }
}

void DrillScreenTest::endPause(RegionDrillScreen *screen)
{
    QVERIFY(screen->feedbackTimer()->isActive());
    m_clock.now += 3.0;
    screen->timerTicked();
}

void DrillScreenTest::moveTo(QWidget *widget, QPoint position)
{
    QTest::mouseMove(widget, position);
}

QImage DrillScreenTest::expectedHighlight(int regionId, int country) const
{
    return highlightedDrillMap(regionId, country);
}

void DrillScreenTest::profilesFitTheirScreens_data()
{
    QTest::addColumn<int>("regionId");
    for (const DrillProfile &profile : DrillProfiles::all())
        QTest::newRow(qPrintable(profile.screenName())) << int(profile.regionId);
}

void DrillScreenTest::profilesFitTheirScreens()
{
    QFETCH(int, regionId);
    const DrillProfile &profile = DrillProfiles::forRegion(regionId);
    QCOMPARE(profile.questionCount, RegionCatalogue::region(regionId).countryCount);
    QCOMPARE(QImage(profile.mapResource()).size(), profile.mapSize);

    const QRect client(QPoint(0, 0), profile.clientArea);
    const QRect map = profile.mapRect();
    QVERIFY(client.contains(map));
    QCOMPARE(client.right() - map.right(), 22);
    // Clear of the left column (its widest box ends at x = 268) and the title row.
    QVERIFY(map.left() > 269);
    QVERIFY(map.top() > profile.atlasButtonRect().bottom());
    QVERIFY(!map.intersects(profile.atlasButtonRect()));
    QVERIFY(client.contains(profile.menuButtonRect()));

    const std::span<const MarkerRect> markers = markerLayout(regionId).drillMarkers;
    QCOMPARE(int(markers.size()), int(profile.questionCount));
    for (const MarkerRect &marker : markers)
        QVERIFY(QRect(QPoint(0, 0), profile.mapSize).contains(marker.rect()));

    if (regionId == 1) {
        QCOMPARE(map, QRect(283, 103, 463, 370));
        QCOMPARE(profile.atlasButtonRect(), QRect(531, 15, 109, 45));
        QCOMPARE(profile.menuButtonRect(), QRect(649, 15, 109, 45));
    }
}

void DrillScreenTest::firstQuestionAndCountdown()
{
    m_random.otherwise = 0.0;
    RegionDrillScreen *screen = open(1);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("アジアドリル"));
    QCOMPARE(screen->size(), QSize(768, 480));
    QCOMPARE(screen->run().currentQuestion, qint16(1));
    const QString question = QStringLiteral(" アジアの国1はどこ？ ");
    QCOMPARE(screen->questionLabel()->text(), question);
    QCOMPARE(m_state->CountryNames[1], question);
    QCOMPARE(m_state->CountryNames[25], QStringLiteral(" アジアの国25はどこ？ "));
    QCOMPARE(screen->remainingLabel()->text(), QStringLiteral("25"));
    QVERIFY(screen->accuracyLabel()->text().isEmpty());
    QVERIFY(!screen->feedbackPicture()->isVisible());
    QVERIFY(!screen->restartButton()->isVisible());
    QCOMPARE(screen->judgementBox()->caption(), QStringLiteral("判定"));

    answer(screen, true);
    QCOMPARE(screen->accuracyLabel()->text(), QStringLiteral("100"));
    endPause(screen);
    QCOMPARE(screen->remainingLabel()->text(), QStringLiteral("24"));
    answer(screen, false);
    QCOMPARE(screen->accuracyLabel()->text(), QStringLiteral("50"));
    endPause(screen);
    answer(screen, true);
    QCOMPARE(screen->accuracyLabel()->text(), QStringLiteral("66"));
}

void DrillScreenTest::everyCountryOnceThenFinish()
{
    // The same draw every time: each repeat gives way to the next unasked country.
    m_random.otherwise = 0.99;
    RegionDrillScreen *screen = open(1);
    QList<int> asked;
    QStringList remaining;
    for (int i = 0; i < 25; ++i) {
        asked.append(screen->run().currentQuestion);
        remaining.append(screen->remainingLabel()->text());
        QCOMPARE(screen->questionLabel()->text(), m_state->CountryNames[screen->run().currentQuestion]);
        answer(screen, true);
        endPause(screen);
    }
    QList<int> expected{25};
    for (int country = 1; country <= 24; ++country)
        expected.append(country);
    QCOMPARE(asked, expected);
    QCOMPARE(remaining.first(), QStringLiteral("25"));
    QCOMPARE(remaining.last(), QStringLiteral("1"));
    QCOMPARE(screen->run().finished, qint16(1));
    // The last answer ends the run without a further draw.
    QCOMPARE(m_random.calls.count(QStringLiteral("reseed")), 25);
    QCOMPARE(m_random.calls.count(QStringLiteral("next")), 25);
}

void DrillScreenTest::clicksIgnoredDuringPauseAndAfterEnd()
{
    m_random.otherwise = 0.0;
    RegionDrillScreen *screen = open(8);
    const int asked = screen->run().currentQuestion;
    click(screen, asked % 12 + 1);
    QCOMPARE(m_sound.played, QStringList{dataPath(QStringLiteral("/音/x.wav"))});
    click(screen, asked);
    click(screen, asked % 12 + 2);
    QCOMPARE(m_sound.played.size(), 1);
    QCOMPARE(screen->run().correctCount, qint16(0));
    QCOMPARE(screen->accuracyLabel()->text(), QStringLiteral("0"));
    // A click on the map away from the markers is no answer either.
    endPause(screen);
    QTest::mouseClick(screen->mapView(), Qt::LeftButton, {}, QPoint(0, 0));
    QCOMPARE(screen->run().awaitingAnswer, qint16(1));

    for (int i = 1; i < 12; ++i) {
        answer(screen, true);
        endPause(screen);
    }
    QCOMPARE(screen->run().finished, qint16(1));
    const QStringList before = m_sound.played;
    const QImage map = screen->mapView()->surface();
    click(screen, 1);
    moveTo(screen, QPoint(5, 470));
    moveTo(marker(screen, 1), QPoint(1, 1));
    QCOMPARE(m_sound.played, before);
    QCOMPARE(screen->run().correctCount, qint16(11));
    QCOMPARE(screen->mapView()->surface(), map);
}

void DrillScreenTest::wrongAnswerPaintsAskedCountry_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<double>("draw");
    QTest::newRow("アジア") << 1 << 0.3;
    QTest::newRow("アフリカ") << 4 << 0.8;
    QTest::newRow("北アメリカ, flag caption stays") << 7 << 0.9;
    QTest::newRow("オセアニア") << 3 << 0.4;
}

void DrillScreenTest::wrongAnswerPaintsAskedCountry()
{
    QFETCH(int, regionId);
    QFETCH(double, draw);
    m_random.otherwise = draw;
    RegionDrillScreen *screen = open(regionId);
    const int asked = screen->run().currentQuestion;
    const QImage pristine = screen->mapView()->pristineMap();

    // Pointing at the wrong marker paints that one first.
    const int wrong = asked == 1 ? 2 : 1;
    moveTo(screen, QPoint(5, 470));
    moveTo(marker(screen, wrong), QPoint(1, 1));
    QCOMPARE(screen->hoverHighlightShown, qint16(1));
    QCOMPARE(screen->mapView()->surface(), expectedHighlight(regionId, wrong));

    click(screen, wrong);
    const QImage painted = screen->mapView()->surface();
    QVERIFY(painted != pristine);
    QCOMPARE(painted, expectedHighlight(regionId, asked));
    QCOMPARE(screen->highlightCountry, qint16(asked));
    QCOMPARE(screen->judgementBox()->caption(), QStringLiteral("判定"));
    QVERIFY(screen->feedbackPicture()->isVisible());
    QCOMPARE(screen->feedbackPicture()->image().size(), BatuSize);

    endPause(screen);
    QCOMPARE(screen->mapView()->surface(), pristine);
    QVERIFY(!screen->feedbackPicture()->isVisible());
    QCOMPARE(screen->hoverHighlightShown, qint16(1));
}

void DrillScreenTest::feedbackPictureIsCentred()
{
    m_random.otherwise = 0.0;
    RegionDrillScreen *screen = open(1);
    QCOMPARE(screen->feedbackHome, QRect(4, 9, 158, 127));
    answer(screen, true);
    // Left 4 + (158 - 120) / 2 = 23; top 9 + (127 - 120) / 2 = 12.5, to even 12.
    QCOMPARE(screen->feedbackPicture()->geometry(), QRect(23, 12, 120, 120));
    QCOMPARE(m_sound.played.last(), dataPath(QStringLiteral("/音/o.wav")));
    endPause(screen);
    answer(screen, false);
    // Left 4 + 29 = 33; top 9 + 18.5 = 27.5, to even 28.
    QCOMPARE(screen->feedbackPicture()->geometry(), QRect(33, 28, 100, 90));
}

void DrillScreenTest::hoverFlagAcrossPause()
{
    m_random.otherwise = 0.0;
    RegionDrillScreen *screen = open(1);
    const QImage pristine = screen->mapView()->pristineMap();
    moveTo(screen, QPoint(5, 470));
    QCOMPARE(screen->hoverHighlightShown, qint16(0));

    moveTo(marker(screen, 3), QPoint(1, 1));
    QCOMPARE(screen->mapView()->surface(), expectedHighlight(1, 3));
    QCOMPARE(screen->highlightCountry, qint16(3));
    // Straight on to another marker: no repaint while the flag is up.
    moveTo(marker(screen, 8), QPoint(1, 1));
    QCOMPARE(screen->mapView()->surface(), expectedHighlight(1, 3));

    click(screen, 1);
    endPause(screen);
    QCOMPARE(screen->mapView()->surface(), pristine);
    QCOMPARE(screen->hoverHighlightShown, qint16(1));
    moveTo(marker(screen, 10), QPoint(1, 1));
    QCOMPARE(screen->mapView()->surface(), pristine);

    // Over a frame or a label is no hover-out.
    moveTo(screen->accuracyLabel(), QPoint(3, 3));
    QCOMPARE(screen->hoverHighlightShown, qint16(1));
    // The bare map is.
    moveTo(screen->mapView(), QPoint(screen->mapView()->width() - 1, 0));
    QCOMPARE(screen->hoverHighlightShown, qint16(0));
    moveTo(marker(screen, 10), QPoint(1, 1));
    QCOMPARE(screen->mapView()->surface(), expectedHighlight(1, 10));
    moveTo(screen, QPoint(5, 470));
    QCOMPARE(screen->mapView()->surface(), pristine);
}

void DrillScreenTest::timerEndsThePause()
{
    m_random.otherwise = 0.0;
    RegionDrillScreen *screen = open(1);
    answer(screen, true);
    QVERIFY(screen->feedbackTimer()->isActive());
    QCOMPARE(screen->feedbackTimer()->interval(), 100);
    // Ticks come and go; the clock has not moved, so the pause goes on.
    QTest::qWait(350);
    QVERIFY(screen->feedbackPicture()->isVisible());
    QCOMPARE(screen->run().askedCount, qint16(1));
    m_clock.now += 2.2;
    QTRY_VERIFY_WITH_TIMEOUT(!screen->feedbackPicture()->isVisible(), 2000);
    QVERIFY(!screen->feedbackTimer()->isActive());
    QCOMPARE(screen->run().askedCount, qint16(2));
    QCOMPARE(screen->remainingLabel()->text(), QStringLiteral("24"));
}

void DrillScreenTest::verdicts_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSize>("medal");  // empty: 不合格

    QTest::newRow("アジア 23") << 1 << 23 << 92 << GoldSize;
    QTest::newRow("アジア 22") << 1 << 22 << 88 << SilverSize;
    QTest::newRow("アジア 20") << 1 << 20 << 80 << SilverSize;
    QTest::newRow("アジア 19") << 1 << 19 << 76 << CopperSize;
    QTest::newRow("アジア 15") << 1 << 15 << 60 << CopperSize;
    QTest::newRow("アジア 14") << 1 << 14 << 56 << QSize();
    QTest::newRow("アジア 0") << 1 << 0 << 0 << QSize();
    QTest::newRow("アジア all") << 1 << 25 << 100 << GoldSize;
    QTest::newRow("南アメリカ 11") << 8 << 11 << 91 << GoldSize;
    QTest::newRow("南アメリカ 7") << 8 << 7 << 58 << QSize();
    QTest::newRow("アフリカ 48") << 4 << 48 << 90 << GoldSize;
    QTest::newRow("アフリカ 42") << 4 << 42 << 79 << CopperSize;
    QTest::newRow("アフリカ 31") << 4 << 31 << 58 << QSize();
    QTest::newRow("西アジア 10") << 2 << 10 << 58 << QSize();
    QTest::newRow("西アジア 11") << 2 << 11 << 64 << CopperSize;
    QTest::newRow("オセアニア all") << 3 << 17 << 100 << GoldSize;
    QTest::newRow("ヨーロッパ 36") << 5 << 36 << 90 << GoldSize;
    QTest::newRow("ＮＩＳ諸国 0") << 6 << 0 << 0 << QSize();
    QTest::newRow("北アメリカ 24") << 7 << 24 << 80 << SilverSize;
}

void DrillScreenTest::verdicts()
{
    QFETCH(int, regionId);
    QFETCH(int, correct);
    QFETCH(int, percent);
    QFETCH(QSize, medal);

    m_random.values = {0.37, 0.81, 0.05, 0.55};
    m_random.otherwise = 0.62;
    RegionDrillScreen *screen = open(regionId);
    const int count = screen->run().questionCount;
    for (int i = 0; i < count; ++i) {
        answer(screen, i < correct);
        QCOMPARE(m_state->AccuracyRates[regionId], qint16(0));
        endPause(screen);
    }

    QCOMPARE(screen->run().finished, qint16(1));
    QCOMPARE(m_state->AccuracyRates[regionId], qint16(percent));
    QCOMPARE(screen->accuracyLabel()->text(), QString::number(percent));
    QVERIFY(!screen->questionLabel()->isVisible());
    QVERIFY(!screen->questionHeading()->isVisible());
    QVERIFY(!screen->remainingBox()->isVisible());
    QVERIFY(screen->accuracyLabel()->isVisible());
    QVERIFY(!screen->feedbackTimer()->isActive());

    const bool pass = medal.isValid();
    QCOMPARE(m_sound.played.last(),
             dataPath(pass ? QStringLiteral("/音/gokaku.wav") : QStringLiteral("/音/dame.wav")));
    QCOMPARE(screen->failNotice()->isVisible(), !pass);
    QCOMPARE(screen->feedbackPicture()->isVisible(), pass);
    if (pass) {
        QCOMPARE(screen->feedbackPicture()->image().size(), medal);
        QCOMPARE(screen->feedbackPicture()->geometry(), centredOn(screen->feedbackHome, medal));
    }
    // The map no longer answers or highlights.
    moveTo(screen, QPoint(5, 470));
    moveTo(marker(screen, 1), QPoint(1, 1));
    QCOMPARE(screen->hoverHighlightShown, qint16(0));
    QCOMPARE(screen->mapView()->surface(), screen->mapView()->pristineMap());
}

void DrillScreenTest::laterRunsOverwriteOnlyTheirRegion()
{
    m_state->AccuracyRates[2] = 77;
    m_random.otherwise = 0.5;
    RegionDrillScreen *screen = open(8);
    playRun(screen, 12);
    QCOMPARE(m_state->AccuracyRates[8], qint16(100));

    moveTo(screen->titlePlate(), QPoint(5, 5));
    QTest::mouseClick(screen->restartButton(), Qt::LeftButton);
    QCOMPARE(screen->run().finished, qint16(0));
    playRun(screen, 3);
    QCOMPARE(m_state->AccuracyRates[8], qint16(25));
    QCOMPARE(m_state->AccuracyRates[2], qint16(77));
    for (int regionId : {1, 3, 4, 5, 6, 7})
        QCOMPARE(m_state->AccuracyRates[regionId], qint16(0));
}

void DrillScreenTest::restartButtonReveal_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<bool>("hidesItself");
    QTest::newRow("アジア") << 1 << false;
    QTest::newRow("ＮＩＳ諸国") << 6 << true;
    QTest::newRow("北アメリカ") << 7 << false;
}

void DrillScreenTest::restartButtonReveal()
{
    QFETCH(int, regionId);
    QFETCH(bool, hidesItself);
    RegionDrillScreen *screen = open(regionId);
    QCOMPARE(screen->restartShown, qint16(0));
    moveTo(screen->titlePlate(), QPoint(10, 10));
    QVERIFY(screen->restartButton()->isVisible());
    QCOMPARE(screen->restartShown, qint16(1));
    QVERIFY(screen->restartButton()->geometry().contains(screen->titlePlate()->geometry()));

    QTest::mouseClick(screen->restartButton(), Qt::LeftButton);
    QCOMPARE(screen->restartButton()->isVisible(), !hidesItself);
    QCOMPARE(screen->restartShown, qint16(1));

    // Back on the title plate: the flag is still up, so nothing new shows.
    moveTo(screen->titlePlate(), QPoint(20, 20));
    QCOMPARE(screen->restartButton()->isVisible(), !hidesItself);
    // The background hides it and lowers the flag; the plate shows it again.
    moveTo(screen, QPoint(5, 470));
    QVERIFY(!screen->restartButton()->isVisible());
    QCOMPARE(screen->restartShown, qint16(0));
    moveTo(screen->titlePlate(), QPoint(10, 10));
    QVERIFY(screen->restartButton()->isVisible());
}

void DrillScreenTest::restartDuringPauseStopsThePause()
{
    m_random.values = {0.0};
    m_random.otherwise = 0.5;
    RegionDrillScreen *screen = open(1);
    answer(screen, false);
    QVERIFY(screen->feedbackTimer()->isActive());
    QVERIFY(screen->mapView()->surface() != screen->mapView()->pristineMap());

    moveTo(screen->titlePlate(), QPoint(10, 10));
    QTest::mouseClick(screen->restartButton(), Qt::LeftButton);
    QVERIFY(!screen->feedbackTimer()->isActive());
    QVERIFY(!screen->feedbackPicture()->isVisible());
    QVERIFY(screen->accuracyLabel()->text().isEmpty());
    QCOMPARE(screen->mapView()->surface(), screen->mapView()->pristineMap());
    const int first = screen->run().currentQuestion;
    QCOMPARE(first, 13);
    QCOMPARE(screen->run().askedCount, qint16(1));
    QCOMPARE(screen->remainingLabel()->text(), QStringLiteral("25"));

    // The old pause would have run out by now; the new question stays.
    m_clock.now += 5;
    screen->timerTicked();
    QTest::qWait(250);
    QCOMPARE(screen->run().currentQuestion, qint16(first));
    QCOMPARE(screen->run().askedCount, qint16(1));
    QCOMPARE(screen->run().awaitingAnswer, qint16(1));

    // And the new run can still reach 100 %.
    playRun(screen, 25);
    QCOMPARE(m_state->AccuracyRates[1], qint16(100));
}

void DrillScreenTest::restartAfterFinish()
{
    m_random.otherwise = 0.25;
    RegionDrillScreen *screen = open(8);
    playRun(screen, 2);
    QVERIFY(screen->failNotice()->isVisible());
    QCOMPARE(m_state->AccuracyRates[8], qint16(16));

    moveTo(screen->titlePlate(), QPoint(10, 10));
    QTest::mouseClick(screen->restartButton(), Qt::LeftButton);
    QVERIFY(!screen->failNotice()->isVisible());
    QVERIFY(!screen->feedbackPicture()->isVisible());
    QVERIFY(screen->questionLabel()->isVisible());
    QVERIFY(screen->questionHeading()->isVisible());
    QVERIFY(screen->remainingBox()->isVisible());
    QVERIFY(screen->accuracyLabel()->text().isEmpty());
    QCOMPARE(screen->remainingLabel()->text(), QStringLiteral("12"));
    QCOMPARE(screen->run().finished, qint16(0));
    // The names are read again, so the question texts are not doubled.
    QCOMPARE(m_state->CountryNames[5], QStringLiteral(" 南アメリカの国5はどこ？ "));
    QCOMPARE(m_state->AccuracyRates[8], qint16(16));

    // A gold medal, then restart: the picture goes back to its laid-out box.
    playRun(screen, 12);
    QCOMPARE(screen->feedbackPicture()->image().size(), GoldSize);
    QTest::mouseClick(screen->restartButton(), Qt::LeftButton);
    QCOMPARE(screen->feedbackPicture()->geometry(), screen->feedbackHome);
    QCOMPARE(screen->feedbackHome, QRect(4, 9, 158, 127));
    QVERIFY(!screen->feedbackPicture()->isVisible());
}

void DrillScreenTest::leavingBeforeTheEndStoresNothing()
{
    m_random.otherwise = 0.5;
    RegionDrillScreen *screen = open(8);
    playRun(screen, 12, LastPause::Running);
    QVERIFY(screen->feedbackTimer()->isActive());
    const QPointer<RegionDrillScreen> watched(screen);
    QTest::mouseClick(screen->menuButton(), Qt::LeftButton);
    QVERIFY(!m_host->isLoaded(QStringLiteral("南アメリカドリル")));
    QVERIFY(m_host->isLoaded(QStringLiteral("メニュー")));
    // Whether or not the screen is gone yet, its pause never ends the run.
    m_clock.now += 10;
    QTest::qWait(300);
    QVERIFY(watched.isNull());
    QCOMPARE(m_state->AccuracyRates[8], qint16(0));

    // Nor does closing the window during the last pause.
    screen = open(8);
    playRun(screen, 12, LastPause::Running);
    const QPointer<RegionDrillScreen> closed(screen);
    QVERIFY(screen->close());
    QVERIFY(!m_host->isLoaded(QStringLiteral("南アメリカドリル")));
    if (closed)
        QVERIFY(!closed->feedbackTimer()->isActive());
    m_clock.now += 10;
    QTest::qWait(300);
    QVERIFY(closed.isNull());
    QCOMPARE(m_state->AccuracyRates[8], qint16(0));

    // Restarting before the end stores nothing either.
    screen = open(8);
    playRun(screen, 12, LastPause::Running);
    moveTo(screen->titlePlate(), QPoint(10, 10));
    QTest::mouseClick(screen->restartButton(), Qt::LeftButton);
    m_clock.now += 10;
    QTest::qWait(300);
    QCOMPARE(m_state->AccuracyRates[8], qint16(0));
    QCOMPARE(screen->run().askedCount, qint16(1));
}

void DrillScreenTest::navigation_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<bool>("toAtlas");
    QTest::addColumn<QString>("next");
    QTest::newRow("アジア 国しらべ") << 1 << true << QStringLiteral("アジア");
    QTest::newRow("南アメリカ 国しらべ") << 8 << true << QStringLiteral("南アメリカ");
    QTest::newRow("アジア メニュー") << 1 << false << QStringLiteral("メニュー");
    QTest::newRow("西アジア 国しらべ, atlas missing") << 2 << true << QString();
}

void DrillScreenTest::navigation()
{
    QFETCH(int, regionId);
    QFETCH(bool, toAtlas);
    QFETCH(QString, next);
    RegionDrillScreen *screen = open(regionId);
    const QString name = screen->profile().screenName();
    QTest::mouseClick(toAtlas ? screen->atlasButton() : screen->menuButton(), Qt::LeftButton);
    if (next.isEmpty()) {
        QVERIFY(m_host->isLoaded(name));
        QVERIFY(m_opened.isEmpty());
    } else {
        QVERIFY(!m_host->isLoaded(name));
        QCOMPARE(m_opened, QStringList{next});
    }
}

QTEST_MAIN(DrillScreenTest)
#include "tst_drillscreen.moc"
