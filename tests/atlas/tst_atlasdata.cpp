// Each region's atlas opened on the shipped data directory, where present.
// With KUNISHIRABE_SCREENSHOTS set to a folder, a picture of every atlas with
// an entry chosen and its flag story open is saved there.
#include "AtlasFixture.h"
#include "ScreenTestMain.h"

#include "AtlasProfile.h"
#include "CountryData.h"
#include "OfficialPageScreen.h"
#include "Fonts.h"
#include "PictureBox.h"
#include "RegionAtlasScreen.h"
#include "RegionMapView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QListWidget>
#include <QTest>

#include <set>

namespace {

const QString DataRoot = QStringLiteral(KUNISHIRABE_SOURCE_DIR "/data");

bool exists(const DataPath &path)
{
    return QFileInfo::exists(path.filePath());
}

} // namespace

class AtlasDataTest : public QObject
{
    Q_OBJECT
private slots:
    void region_data();
    void region();
};

void AtlasDataTest::region_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("shownEntry");
    // The entry shown in the screenshot.
    const int shown[] = {10, 5, 16, 12, 20, 3, 24, 7};
    for (const RegionInfo &region : RegionCatalogue::all())
        QTest::newRow(region.name) << int(region.id) << shown[region.id - 1];
}

void AtlasDataTest::region()
{
    QFETCH(int, regionId);
    QFETCH(int, shownEntry);
    const RegionInfo &region = RegionCatalogue::region(regionId);
    AtlasFixture fixture;
    AppState &state = fixture.state;
    state.DataRoot = DataRoot;
    if (!exists(CountryListPath(state, region)) || !exists(PageTablePath(state, region)))
        QSKIP("the region's kuni.txt or url.txt is not written yet");

    fixture.host.show(region.atlasScreenName());
    auto *screen = qobject_cast<RegionAtlasScreen *>(fixture.host.loadedScreen(region.atlasScreenName()));
    QVERIFY(screen);
    QVERIFY(QTest::qWaitForWindowExposed(screen));
    const int n = region.countryCount;

    // The list positions are a permutation of 1..N; every entry has a name and a web page.
    std::set<int> listed;
    for (int row = 0; row < n; ++row) {
        const int country = state.ListToCountry[row + 1];
        QVERIFY2(country >= 1 && country <= n, qPrintable(QString::number(row)));
        listed.insert(country);
        QCOMPARE(screen->selector()->itemText(row), state.CountryNames[country]);
    }
    QCOMPARE(int(listed.size()), n);
    for (int k = 1; k <= n; ++k) {
        QVERIFY(!state.CountryNames[k].isEmpty());
        QVERIFY2(OfficialPageScreen::isNavigable(QUrl(state.PageTable[k][2])),
                 qPrintable(state.PageTable[k][2]));
    }

    // Every entry whose files exist, chosen by its marker.
    int chosen = 0;
    for (int k = 1; k <= n; ++k) {
        const bool complete = exists(CountryFilePath(state, CountryFileKind::Overview, region, k))
                              && exists(CountryFilePath(state, CountryFileKind::FlagPicture, region, k))
                              && exists(CountryFilePath(state, CountryFileKind::FlagOrigin, region, k));
        if (!complete)
            continue;
        QTest::mouseClick(screen->map()->marker(k - 1), Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(state.CurrentCountry, k);
        QVERIFY(screen->flag()->isVisible());
        QVERIFY(screen->flagFrame()->rect().contains(screen->flag()->geometry()));
        QVERIFY(screen->overviewList()->count() > 0);
        QTest::mouseMove(screen, QPoint(2, 470 + k % 2));
        QTest::mouseMove(screen, screen->flag()->mapTo(screen, screen->flag()->rect().center()));
        QVERIFY(screen->originFrame()->isVisible());
        QVERIFY(screen->originList()->count() > 0);
        ++chosen;
    }
    qInfo("%d of %d entries have all their files and were chosen", chosen, n);

    const QString folder = qEnvironmentVariable("KUNISHIRABE_SCREENSHOTS");
    if (folder.isEmpty() || chosen == 0)
        return;
    QTest::mouseClick(screen->map()->marker(shownEntry - 1), Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseMove(screen, QPoint(2, 471));
    QTest::mouseMove(screen, screen->flag()->mapTo(screen, screen->flag()->rect().center()));
    QDir().mkpath(folder);
    QVERIFY(screen->grab().save(QDir(folder).filePath(QStringLiteral("atlas-%1.png").arg(regionId))));
}

KUNISHIRABE_SCREEN_TEST_MAIN(AtlasDataTest)

#include "tst_atlasdata.moc"
