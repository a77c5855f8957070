// The region atlas screen driven through its controls, offscreen.
#include "AtlasFixture.h"
#include "ScreenTestMain.h"

#include "AtlasProfile.h"
#include "DataError.h"
#include "Fonts.h"
#include "HighlightRenderer.h"
#include "OfficialPageScreen.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionAtlasScreen.h"
#include "RegionHighlightTable.h"
#include "RegionMapView.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QStringList lines(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

// The window point at the centre of a widget, shifted by offset.
QPoint pointOn(const QWidget *widget, QPoint offset = {})
{
    return widget->mapTo(widget->window(), widget->rect().center() + offset);
}

QImage paintedAlone(int regionId, int country)
{
    RegionMapView view;
    view.setMap(QImage(QString::fromLatin1(AtlasProfiles::forRegion(regionId).mapResource)));
    view.setMarkers(markerLayout(regionId).atlasMarkers);
    HighlightRenderer(highlightTable(regionId), view).Highlight(country);
    return view.surface();
}

} // namespace

class AtlasTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void loadState();
    void hoverBeforeChoice();
    void chooseFromListByKeyboard();
    void chooseByMarker_data();
    void chooseByMarker();
    void originPopup();
    void hideOverMapAndBackground();
    void linkButton_data();
    void linkButton();
    void captions_data();
    void captions();
    void flagCentring_data();
    void flagCentring();
    void rowThatNoRecordNamed();
    void sameEntryTwiceReadsAgain();
    void nothingElseReacts();
    void leaving_data();
    void leaving();
    void closingTheWindowClosesTheViewer();
    void missingCountryList();

private:
    RegionAtlasScreen *open(int regionId);
    void chooseRow(int row);
    void moveTo(QPoint windowPoint);

    std::unique_ptr<AtlasFixture> m_fixture;
    RegionAtlasScreen *m_screen = nullptr;
};

void AtlasTest::init()
{
    m_fixture = std::make_unique<AtlasFixture>();
    m_screen = nullptr;
}

void AtlasTest::cleanup()
{
    m_screen = nullptr;
    m_fixture.reset();
}

RegionAtlasScreen *AtlasTest::open(int regionId)
{
    const RegionInfo &region = RegionCatalogue::region(regionId);
    m_fixture->host.show(region.atlasScreenName());
    m_screen = qobject_cast<RegionAtlasScreen *>(m_fixture->host.loadedScreen(region.atlasScreenName()));
    if (m_screen && QTest::qWaitForWindowExposed(m_screen))
        QTest::mouseMove(m_screen, QPoint(1, 479));  // start on the background
    return m_screen;
}

void AtlasTest::chooseRow(int row)
{
    EntrySelector *combo = m_screen->selector();
    combo->setCurrentIndex(row - 1);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), row);
}

void AtlasTest::moveTo(QPoint windowPoint)
{
    QTest::mouseMove(m_screen, windowPoint);
}

void AtlasTest::layout_data()
{
    QTest::addColumn<int>("regionId");
    for (const RegionInfo &region : RegionCatalogue::all())
        QTest::newRow(region.name) << int(region.id);
}

void AtlasTest::layout()
{
    QFETCH(int, regionId);
    const RegionInfo &region = RegionCatalogue::region(regionId);
    m_fixture->writeRegion(region);
    RegionAtlasScreen *screen = open(regionId);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), region.regionName());
    // The map is shown at its own size with one marker per entry, inside the window.
    QCOMPARE(screen->map()->pristineMap().size(), highlightTable(regionId).mapSize);
    QCOMPARE(screen->map()->pristineMap().size(), screen->profile().mapSize);
    QCOMPARE(screen->map()->markerCount(), int(region.countryCount));
    QVERIFY(screen->rect().contains(screen->map()->geometry()));
    QVERIFY(screen->map()->width() >= screen->map()->pristineMap().width());
    QVERIFY(screen->map()->height() >= screen->map()->pristineMap().height());
    for (QWidget *control : screen->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(screen->rect().contains(control->geometry()), qPrintable(control->objectName()));
    QVERIFY(screen->flagFrame()->rect().contains(screen->flag()->geometry()));
    QVERIFY(screen->overviewList()->parentWidget()->rect().contains(screen->overviewList()->geometry()));
    QVERIFY(screen->originFrame()->rect().contains(screen->originList()->geometry()));

    // Only アジア has the second link button, at the first one's place.
    QCOMPARE(screen->otherMinistryLink() != nullptr, regionId == 1);
    if (screen->otherMinistryLink())
        QCOMPARE(screen->otherMinistryLink()->geometry(), screen->foreignMinistryLink()->geometry());
    QCOMPARE(screen->drillButton()->accessibleName(), QStringLiteral("国ドリル"));
    QCOMPARE(screen->menuButton()->accessibleName(), QStringLiteral("メニュー"));

    // The origin pop-up lies over the map, the link button over the title picture.
    const QPoint popupCentre = screen->originFrame()->geometry().center();
    QCOMPARE(screen->childAt(popupCentre), screen->map());
    screen->originFrame()->show();
    screen->foreignMinistryLink()->show();
    QVERIFY(screen->childAt(popupCentre) == screen->originFrame()
            || screen->originFrame()->isAncestorOf(screen->childAt(popupCentre)));
    QCOMPARE(screen->childAt(pointOn(screen->titlePicture())), screen->foreignMinistryLink());
}

void AtlasTest::loadState()
{
    const RegionInfo &region = RegionCatalogue::region(1);
    m_fixture->writeRegion(region);
    m_fixture->state.CurrentCountry = 7;
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    AppState &state = m_fixture->state;
    QCOMPARE(state.CurrentCountry, 0);

    // Rows in list-position order: entry k stands at position 26 - k.
    EntrySelector *combo = screen->selector();
    QCOMPARE(combo->count(), 25);
    QCOMPARE(combo->itemText(0), AtlasFixture::name(25));
    QCOMPARE(combo->itemText(24), AtlasFixture::name(1));
    QCOMPARE(combo->text(), QString());
    QCOMPARE(combo->currentIndex(), -1);
    for (int k = 1; k <= 25; ++k)
        QCOMPARE(screen->map()->marker(k - 1)->toolTip(), AtlasFixture::name(k));
    QCOMPARE(state.PageTable[10][2], QStringLiteral("http://127.0.0.1:9/page10.html"));
    QCOMPARE(state.PageTable[10][1], AtlasFixture::name(10));

    QCOMPARE(screen->map()->surface(), screen->map()->pristineMap());
    QVERIFY(!screen->flag()->isVisible());
    QVERIFY(!screen->overviewList()->isVisible());
    QVERIFY(!screen->originFrame()->isVisible());
    QVERIFY(!screen->foreignMinistryLink()->isVisible());
    QVERIFY(!screen->otherMinistryLink()->isVisible());
    QCOMPARE(screen->flagFrame()->title(), QStringLiteral("国旗"));
    QCOMPARE(screen->originFrame()->title(), QStringLiteral("国旗の由来"));
}

void AtlasTest::hoverBeforeChoice()
{
    m_fixture->writeRegion(RegionCatalogue::region(1));
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    moveTo(pointOn(screen->titlePicture()));
    moveTo(pointOn(screen->titlePicture(), QPoint(5, 3)));
    QVERIFY(!screen->foreignMinistryLink()->isVisible());
    QVERIFY(!screen->otherMinistryLink()->isVisible());
    // Where the flag will be: the hidden flag is not there to point at.
    const QPoint flagPlace = screen->flagFrame()->mapTo(screen, QRect(71, 37, 114, 77).center());
    moveTo(flagPlace);
    moveTo(flagPlace + QPoint(3, 2));
    QVERIFY(!screen->originFrame()->isVisible());
}

void AtlasTest::chooseFromListByKeyboard()
{
    m_fixture->writeRegion(RegionCatalogue::region(1));
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    // Row 5 shows list position 6, entry 20.
    chooseRow(5);
    QCOMPARE(m_fixture->state.CurrentCountry, 20);
    QCOMPARE(screen->selector()->text(), AtlasFixture::name(20));
    QCOMPARE(screen->map()->surface(), paintedAlone(1, 20));
    QVERIFY(screen->flag()->isVisible());
    QCOMPARE(screen->flag()->image().pixel(0, 0), QColor::fromHsv(120, 200, 220).rgb());
    QVERIFY(screen->overviewList()->isVisible());
    QCOMPARE(lines(screen->overviewList()), (QStringList{QStringLiteral("概要 20"), QStringLiteral("二行目")}));
    // Arrow keys move on to the next row, another choice.
    QTest::keyClick(screen->selector(), Qt::Key_Down);
    QCOMPARE(m_fixture->state.CurrentCountry, 19);
    QCOMPARE(screen->map()->surface(), paintedAlone(1, 19));
    QCOMPARE(lines(screen->overviewList()).first(), QStringLiteral("概要 19"));
}

void AtlasTest::chooseByMarker_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("left button") << int(Qt::LeftButton);
    QTest::newRow("right button") << int(Qt::RightButton);
}

void AtlasTest::chooseByMarker()
{
    QFETCH(int, button);
    m_fixture->writeRegion(RegionCatalogue::region(1));
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    QTest::mousePress(screen->map()->marker(2), Qt::MouseButton(button), {}, QPoint(1, 1));
    QCOMPARE(m_fixture->state.CurrentCountry, 3);
    QCOMPARE(screen->selector()->text(), AtlasFixture::name(3));
    QCOMPARE(screen->map()->surface(), paintedAlone(1, 3));
    QVERIFY(screen->flag()->isVisible());
    QCOMPARE(lines(screen->overviewList()).first(), QStringLiteral("概要 3"));
}

void AtlasTest::originPopup()
{
    const RegionInfo &region = RegionCatalogue::region(1);
    m_fixture->writeRegion(region);
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    chooseRow(2);  // entry 23, a regional flag
    QCOMPARE(m_fixture->state.CurrentCountry, 23);

    // The first move over the flag loads and shows the origin.
    moveTo(pointOn(screen->flag()));
    QVERIFY(screen->originFrame()->isVisible());
    QCOMPARE(lines(screen->originList()), QStringList{QStringLiteral("由来 23")});
    QCOMPARE(screen->originFrame()->title(), QStringLiteral("域旗の由来"));

    // Further moves over the flag do nothing: the changed file is not read.
    m_fixture->data.write(QStringLiteral("国旗/アジア/由来/y23.txt"), crlfText({QStringLiteral("改訂")}));
    moveTo(pointOn(screen->flag(), QPoint(4, 2)));
    QCOMPARE(lines(screen->originList()), QStringList{QStringLiteral("由来 23")});

    // A list choice reloads the lines and keeps the caption.
    chooseRow(9);  // entry 16
    QCOMPARE(m_fixture->state.CurrentCountry, 16);
    QVERIFY(screen->originFrame()->isVisible());
    QCOMPARE(lines(screen->originList()), QStringList{QStringLiteral("由来 16")});
    QCOMPARE(screen->originFrame()->title(), QStringLiteral("域旗の由来"));

    // A marker choice leaves the previous entry's lines (it never runs the list choice).
    QTest::mouseClick(screen->map()->marker(4), Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(m_fixture->state.CurrentCountry, 5);
    QCOMPARE(screen->selector()->text(), AtlasFixture::name(5));
    QCOMPARE(lines(screen->originList()), QStringList{QStringLiteral("由来 16")});
    QCOMPARE(lines(screen->overviewList()).first(), QStringLiteral("概要 5"));

    // After the background, the flag shows the current entry's origin.
    moveTo(QPoint(2, 470));
    QVERIFY(!screen->originFrame()->isVisible());
    moveTo(pointOn(screen->flag()));
    QCOMPARE(lines(screen->originList()), QStringList{QStringLiteral("由来 5")});
    QCOMPARE(screen->originFrame()->title(), QStringLiteral("国旗の由来"));
}

void AtlasTest::hideOverMapAndBackground()
{
    m_fixture->writeRegion(RegionCatalogue::region(1));
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    chooseRow(1);
    QPoint onMap;
    for (int y = 200; y < 360 && onMap.isNull(); y += 7)
        for (int x = 300; x < 450 && onMap.isNull(); x += 7)
            if (screen->map()->childAt(x, y) == nullptr)
                onMap = screen->map()->mapTo(screen, QPoint(x, y));
    QVERIFY(!onMap.isNull());

    for (const QPoint hideAt : {onMap, QPoint(2, 470)}) {
        moveTo(pointOn(screen->flag()));
        moveTo(pointOn(screen->titlePicture()));
        QVERIFY(screen->originFrame()->isVisible());
        QVERIFY(screen->foreignMinistryLink()->isVisible());
        // Over the shown button and the pop-up nothing changes.
        moveTo(pointOn(screen->foreignMinistryLink(), QPoint(3, 0)));
        moveTo(pointOn(screen->originFrame()));
        QVERIFY(screen->originFrame()->isVisible());
        QVERIFY(screen->foreignMinistryLink()->isVisible());
        moveTo(hideAt);
        QVERIFY(!screen->originFrame()->isVisible());
        QVERIFY(!screen->foreignMinistryLink()->isVisible());
        // The choice itself stays on show.
        QVERIFY(screen->flag()->isVisible());
        QVERIFY(screen->overviewList()->isVisible());
        QVERIFY(screen->map()->surface() != screen->map()->pristineMap());
    }
}

void AtlasTest::linkButton_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("country");
    QTest::addColumn<QString>("button");

    QTest::newRow("アジア 1") << 1 << 1 << QStringLiteral("Command3");
    QTest::newRow("アジア 10, another ministry") << 1 << 10 << QStringLiteral("Command4");
    QTest::newRow("アジア 25") << 1 << 25 << QStringLiteral("Command3");
    QTest::newRow("西アジア 17") << 2 << 17 << QStringLiteral("Command3");
    QTest::newRow("オセアニア 14") << 3 << 14 << QStringLiteral("Command3");
    QTest::newRow("オセアニア 15") << 3 << 15 << QString();
    QTest::newRow("オセアニア 16") << 3 << 16 << QStringLiteral("Command3");
    QTest::newRow("オセアニア 17") << 3 << 17 << QString();
    QTest::newRow("アフリカ 53") << 4 << 53 << QStringLiteral("Command3");
    QTest::newRow("北アメリカ 23") << 7 << 23 << QStringLiteral("Command3");
    QTest::newRow("北アメリカ 24") << 7 << 24 << QString();
    QTest::newRow("北アメリカ 30") << 7 << 30 << QString();
    QTest::newRow("南アメリカ 12") << 8 << 12 << QStringLiteral("Command3");
}

void AtlasTest::linkButton()
{
    QFETCH(int, regionId);
    QFETCH(int, country);
    QFETCH(QString, button);

    m_fixture->writeRegion(RegionCatalogue::region(regionId));
    RegionAtlasScreen *screen = open(regionId);
    QVERIFY(screen);
    QTest::mouseClick(screen->map()->marker(country - 1), Qt::LeftButton, {}, QPoint(1, 1));
    moveTo(pointOn(screen->titlePicture()));
    QWidget *shown = nullptr;
    for (QWidget *link : {static_cast<QWidget *>(screen->foreignMinistryLink()),
                          static_cast<QWidget *>(screen->otherMinistryLink())}) {
        if (link && link->isVisible()) {
            QVERIFY(!shown);
            shown = link;
        }
    }
    QCOMPARE(shown ? shown->objectName() : QString(), button);
    if (!shown)
        return;

    // Clicking it opens the viewer with the entry's page.
    QTest::mouseClick(shown, Qt::LeftButton);
    auto *viewer = qobject_cast<OfficialPageScreen *>(m_fixture->host.loadedScreen(QStringLiteral("外務省")));
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(screen->isVisible());
    QCOMPARE(viewer->addressBox()->text(), QStringLiteral("http://127.0.0.1:9/page%1.html").arg(country));
    QCOMPARE(viewer->windowTitle(), AtlasFixture::name(country));
}

void AtlasTest::captions_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("flagCaption");
    QTest::addColumn<QString>("originCaption");

    const QString national = QStringLiteral("国旗");
    const QString regional = QStringLiteral("域旗");
    const QString nationalOrigin = QStringLiteral("国旗の由来");
    const QString regionalOrigin = QStringLiteral("域旗の由来");
    QTest::newRow("アジア 22") << 1 << 25 << 22 << national << nationalOrigin;
    QTest::newRow("アジア 23") << 1 << 1 << 23 << regional << regionalOrigin;
    QTest::newRow("西アジア 16") << 2 << 17 << 16 << national << nationalOrigin;
    QTest::newRow("西アジア 17") << 2 << 1 << 17 << regional << regionalOrigin;
    QTest::newRow("オセアニア 15") << 3 << 1 << 15 << regional << regionalOrigin;
    QTest::newRow("北アメリカ 23") << 7 << 30 << 23 << national << nationalOrigin;
    QTest::newRow("北アメリカ 24") << 7 << 1 << 24 << regional << regionalOrigin;
    QTest::newRow("アフリカ keeps its captions") << 4 << 1 << 2 << national << nationalOrigin;
    QTest::newRow("ヨーロッパ keeps its captions") << 5 << 40 << 39 << national << nationalOrigin;
}

void AtlasTest::captions()
{
    QFETCH(int, regionId);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QString, flagCaption);
    QFETCH(QString, originCaption);

    m_fixture->writeRegion(RegionCatalogue::region(regionId));
    RegionAtlasScreen *screen = open(regionId);
    QVERIFY(screen);
    for (int country : {first, second}) {
        QTest::mouseClick(screen->map()->marker(country - 1), Qt::LeftButton, {}, QPoint(1, 1));
        moveTo(QPoint(2, 470 + country % 2));
        moveTo(pointOn(screen->flag(), QPoint(country % 2, 0)));
        QVERIFY(screen->originFrame()->isVisible());
    }
    QCOMPARE(screen->flagFrame()->title(), flagCaption);
    QCOMPARE(screen->originFrame()->title(), originCaption);
}

void AtlasTest::flagCentring_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("placed");

    QTest::newRow("the box's own size") << QSize(114, 77) << QRect(71, 37, 114, 77);
    QTest::newRow("smaller") << QSize(50, 31) << QRect(103, 60, 50, 31);
    QTest::newRow("larger: overhangs equally") << QSize(130, 91) << QRect(63, 30, 130, 91);
    QTest::newRow("larger than the frame") << QSize(300, 200) << QRect(-22, -24, 300, 200);
    QTest::newRow("odd difference rounds half to even") << QSize(121, 74) << QRect(68, 38, 121, 74);
}

void AtlasTest::flagCentring()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, placed);

    m_fixture->writeRegion(RegionCatalogue::region(8), picture);
    RegionAtlasScreen *screen = open(8);
    QVERIFY(screen);
    chooseRow(4);
    QCOMPARE(screen->flag()->geometry(), placed);
    QCOMPARE(screen->flag()->image().size(), picture);
    QVERIFY(screen->flag()->isVisible());
    if ((114 - picture.width()) % 2 == 0)
        QCOMPARE(71 - placed.left(), (placed.left() + placed.width()) - (71 + 114));
}

void AtlasTest::rowThatNoRecordNamed()
{
    // Entries 1 and 2 both claim position 1; position 2 is named by no record.
    const RegionInfo &region = RegionCatalogue::region(8);
    m_fixture->writeRegion(region, QSize(100, 60), [](int k) { return k <= 2 ? 1 : k; });
    RegionAtlasScreen *screen = open(8);
    QVERIFY(screen);
    QCOMPARE(screen->selector()->itemText(0), AtlasFixture::name(2));  // the later record wins
    QCOMPARE(screen->selector()->itemText(1), QString());
    QCOMPARE(screen->selector()->currentIndex(), -1);
    chooseRow(0);
    QCOMPARE(m_fixture->state.CurrentCountry, 2);
    const QImage painted = screen->map()->surface();
    chooseRow(1);
    QCOMPARE(m_fixture->state.CurrentCountry, 2);
    QCOMPARE(screen->map()->surface(), painted);
    QCOMPARE(lines(screen->overviewList()).first(), QStringLiteral("概要 2"));
}

void AtlasTest::sameEntryTwiceReadsAgain()
{
    m_fixture->writeRegion(RegionCatalogue::region(6));
    RegionAtlasScreen *screen = open(6);
    QVERIFY(screen);
    chooseRow(3);  // entry 9
    QCOMPARE(lines(screen->overviewList()).first(), QStringLiteral("概要 9"));
    m_fixture->data.write(QStringLiteral("概要/ＮＩＳ諸国/s9.txt"), crlfText({QStringLiteral("新しい概要")}));
    m_fixture->data.write(QStringLiteral("国旗/ＮＩＳ諸国/h9.gif"), pictureBytes(QSize(60, 40), Qt::red));
    screen->selector()->setFocus();
    QTest::keyClick(screen->selector(), Qt::Key_Up);
    QTest::keyClick(screen->selector(), Qt::Key_Down);
    QCOMPARE(m_fixture->state.CurrentCountry, 9);
    QCOMPARE(lines(screen->overviewList()), QStringList{QStringLiteral("新しい概要")});
    QCOMPARE(screen->flag()->size(), QSize(60, 40));
    // The same marker twice also reads afresh.
    m_fixture->data.write(QStringLiteral("概要/ＮＩＳ諸国/s9.txt"), crlfText({}));
    QTest::mouseClick(screen->map()->marker(8), Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(screen->overviewList()->count(), 0);
    QVERIFY(screen->overviewList()->isVisible());
}

void AtlasTest::nothingElseReacts()
{
    m_fixture->writeRegion(RegionCatalogue::region(1));
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    chooseRow(0);
    const QImage painted = screen->map()->surface();
    const qint16 chosen = m_fixture->state.CurrentCountry;
    // Clicks on the map away from the markers, on the frames, lists and title.
    QTest::mouseClick(screen->map(), Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(screen->flagFrame(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(screen->overviewList()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(screen->titlePicture(), Qt::LeftButton);
    // Typing at the selector chooses nothing.
    screen->selector()->setFocus();
    QTest::keyClicks(screen->selector(), QStringLiteral("xyz"));
    QCOMPARE(m_fixture->state.CurrentCountry, chosen);
    QCOMPARE(screen->map()->surface(), painted);
    QVERIFY(!m_fixture->host.isLoaded(QStringLiteral("外務省")));
}

void AtlasTest::leaving_data()
{
    QTest::addColumn<bool>("drillExists");
    QTest::addColumn<bool>("menuButton");
    QTest::addColumn<QString>("next");

    QTest::newRow("drill") << true << false << QStringLiteral("オセアニアドリル");
    QTest::newRow("drill not built yet") << false << false << QString();
    QTest::newRow("menu") << true << true << QStringLiteral("メニュー");
}

void AtlasTest::leaving()
{
    QFETCH(bool, drillExists);
    QFETCH(bool, menuButton);
    QFETCH(QString, next);

    ScreenHost &host = m_fixture->host;
    host.registerScreen(QStringLiteral("メニュー"), [] { return new QWidget; });
    if (drillExists)
        host.registerScreen(QStringLiteral("オセアニアドリル"), [] { return new QWidget; });
    m_fixture->writeRegion(RegionCatalogue::region(3));
    RegionAtlasScreen *screen = open(3);
    QVERIFY(screen);
    QTest::mouseClick(screen->map()->marker(0), Qt::LeftButton, {}, QPoint(1, 1));
    moveTo(pointOn(screen->titlePicture()));
    QTest::mouseClick(screen->foreignMinistryLink(), Qt::LeftButton);
    QVERIFY(host.isLoaded(QStringLiteral("外務省")));

    QTest::mouseClick(menuButton ? screen->menuButton() : screen->drillButton(), Qt::LeftButton);
    if (next.isEmpty()) {
        QVERIFY(host.isLoaded(QStringLiteral("オセアニア")));
        QVERIFY(host.isLoaded(QStringLiteral("外務省")));
        return;
    }
    QVERIFY(!host.isLoaded(QStringLiteral("オセアニア")));
    QVERIFY(!host.isLoaded(QStringLiteral("外務省")));
    QVERIFY(host.isLoaded(next));
    QVERIFY(host.loadedScreen(next)->isVisible());
    QCOMPARE(m_fixture->state.CurrentCountry, 1);  // left as it was
}

void AtlasTest::closingTheWindowClosesTheViewer()
{
    ScreenHost &host = m_fixture->host;
    QSignalSpy lastClosed(&host, &ScreenHost::lastScreenClosed);
    m_fixture->writeRegion(RegionCatalogue::region(1));
    RegionAtlasScreen *screen = open(1);
    QVERIFY(screen);
    QTest::mouseClick(screen->map()->marker(0), Qt::LeftButton, {}, QPoint(1, 1));
    moveTo(pointOn(screen->titlePicture()));
    QTest::mouseClick(screen->foreignMinistryLink(), Qt::LeftButton);
    QVERIFY(host.isLoaded(QStringLiteral("外務省")));
    screen->close();
    QVERIFY(!host.isLoaded(QStringLiteral("アジア")));
    QVERIFY(!host.isLoaded(QStringLiteral("外務省")));
    QCOMPARE(lastClosed.count(), 1);
}

void AtlasTest::missingCountryList()
{
    m_fixture->writeRegion(RegionCatalogue::region(2));
    m_fixture->data.remove(QStringLiteral("概要/西アジア/kuni.txt"));
    QVERIFY_THROWS_EXCEPTION(DataError, m_fixture->host.show(QStringLiteral("西アジア")));
    QVERIFY(!m_fixture->host.isLoaded(QStringLiteral("西アジア")));
}

KUNISHIRABE_SCREEN_TEST_MAIN(AtlasTest)

#include "tst_atlas.moc"
