#include "RegionAtlasScreen.h"

#include "AccessibleRole.h"
#include "AppState.h"
#include "CountryData.h"
#include "DataError.h"
#include "DataFiles.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "HighlightRenderer.h"
#include "KeyboardReveal.h"
#include "MarkerLayout.h"
#include "Palette.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "Placement.h"
#include "RegionCatalogue.h"
#include "RegionHighlightTable.h"
#include "RegionMapView.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"
#include "ScreenReader.h"
#include "WordArt.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

namespace {

const QColor Plate(255, 236, 150);
const QColor PlateInk(0, 96, 0);

const QString NationalFlag = QStringLiteral("国旗");
const QString RegionalFlag = QStringLiteral("域旗");
const QString NationalOrigin = QStringLiteral("国旗の由来");
const QString RegionalOrigin = QStringLiteral("域旗の由来");

QGroupBox *frame(const QString &name, const QString &caption, QRect geometry, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    QPalette colours = box->palette();
    colours.setColor(QPalette::WindowText, Palette::Red);
    box->setPalette(colours);
    return box;
}

QListWidget *lineList(const QString &name, QSize size, QColor ink, QColor paper, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(QRect(AtlasLayout::ListInFrame, size));
    list->setFont(Fonts::font(Fonts::PMincho, 11.25));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    // Reached by Tab only, so that a long text can be scrolled from the keyboard.
    list->setFocusPolicy(Qt::TabFocus);
    list->setFrameShape(QFrame::Box);
    list->setFrameShadow(QFrame::Plain);
    list->setLineWidth(1);
    ScreenReader::readFromCurrentLine(list);
    QPalette colours = list->palette();
    colours.setColor(QPalette::Base, paper);
    colours.setColor(QPalette::Text, ink);
    list->setPalette(colours);
    return list;
}

} // namespace

RegionAtlasScreen::RegionAtlasScreen(const AtlasProfile &profile, ScreenContext &context,
                                     OfficialPage::Opener openPage)
    : ScreenWindow(profile.region().atlasScreenName(), profile.clientArea, Palette::LightGreen),
      m_profile(profile), m_context(context), m_openPage(std::move(openPage))
{
    // Told apart from the region's submenu, whose caption is the same.
    setAccessibleName(profile.region().atlasScreenName() + QStringLiteral(" 国しらべ"));
    setFont(Fonts::font(Fonts::Mincho, 9));
    buildControls();
    load();
    centreOnScreen();
}

RegionAtlasScreen::~RegionAtlasScreen() = default;

void RegionAtlasScreen::buildControls()
{
    Image3 = new PictureBox(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(AtlasLayout::TitlePicture);
    Image3->setAccessibleName(QStringLiteral("国しらべ"));
    Image3->setDrawing([](QPainter &painter, QRect bounds) {
        WordArt::paintWordPlate(painter, bounds, QStringLiteral("国しらべ"), Plate, PlateInk);
    });

    Label1 = new QLabel(QStringLiteral("国名を選択してください"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(AtlasLayout::Prompt);
    Label1->setFont(Fonts::font(Fonts::Mincho, 14.25));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    QPalette prompt = Label1->palette();
    prompt.setColor(QPalette::Window, Palette::DarkBlue);
    prompt.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(prompt);

    Combo1 = new EntrySelector(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(AtlasLayout::Selector);
    Combo1->setFont(Fonts::font(Fonts::PMincho, 12));
    // Assistive technology takes the selector's label from the buddy relation.
    Combo1->setAccessibleName(QStringLiteral("国名の選択"));
    Label1->setBuddy(Combo1);
    connect(Combo1, &QComboBox::activated, this,
            FatalErrors::guarded(this, &RegionAtlasScreen::chooseFromList));

    Command1 = new PictureButton(QStringLiteral("国ドリル"), Palette::LightGreen, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(AtlasLayout::DrillButton);
    connect(Command1, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { leaveFor(m_profile.region().drillScreenName()); }));
    Command2 = new PictureButton(QStringLiteral("メニュー"), Palette::LightGreen, this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(AtlasLayout::MenuButton);
    connect(Command2, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { leaveFor(QStringLiteral("メニュー")); }));

    Frame1 = frame(QStringLiteral("Frame1"), NationalFlag, m_profile.flagFrame, this);
    Image2 = new PictureBox(Frame1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(AtlasLayout::FlagInFrame);
    Image2->setAccessibleName(NationalFlag);
    Image2->hide();

    Frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("概要"), m_profile.overviewFrame, this);
    List1 = lineList(QStringLiteral("List1"), m_profile.overviewList, Qt::white, Palette::Blue, Frame2);
    List1->setAccessibleName(QStringLiteral("概要"));
    List1->hide();

    Picture1 = new RegionMapView(this);
    Picture1->setGeometry(m_profile.map);
    Picture1->setAccessibleName(m_profile.region().regionName() + QStringLiteral("の地図"));
    const QImage map(QString::fromLatin1(m_profile.mapResource));
    if (map.isNull())
        throw DataError(QString(), QStringLiteral("地図 %1 がありません。")
                                       .arg(QString::fromLatin1(m_profile.mapResource)));
    Picture1->setMap(map);
    Picture1->setMarkers(markerLayout(m_profile.regionId).atlasMarkers);
    connect(Picture1, &RegionMapView::markerPressed, this,
            FatalErrors::guarded([this](int index, Qt::MouseButton) { chooseByMarker(index); }));
    HighlightRenderer::CaptionSetter flagCaption;
    if (m_profile.flagCaption == CaptionRule::ByRenderer)
        flagCaption = [this](const QString &caption) { Frame1->setTitle(caption); };
    m_renderer = std::make_unique<HighlightRenderer>(highlightTable(m_profile.regionId), *Picture1,
                                                     std::move(flagCaption));

    // The pop-up lies over the top left of the map.
    Frame3 = frame(QStringLiteral("Frame3"), NationalOrigin, m_profile.originFrame, this);
    Frame3->setAutoFillBackground(true);
    List2 = lineList(QStringLiteral("List2"), m_profile.originList, Qt::yellow, Palette::DarkGreen, Frame3);
    List2->setAccessibleName(NationalOrigin);
    Frame3->hide();

    // The link buttons lie over the title picture.
    Command3 = new PictureButton(QStringLiteral("外務省データリンク"), Palette::LightGreen, this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(AtlasLayout::LinkButton);
    Command3->hide();
    connect(Command3, &QAbstractButton::clicked, this,
            FatalErrors::guarded(this, &RegionAtlasScreen::openOfficialPage));
    if (m_profile.otherMinistryEntry != 0) {
        Command4 = new PictureButton(QStringLiteral("総務省データリンク"), Palette::LightGreen, this);
        Command4->setObjectName(QStringLiteral("Command4"));
        Command4->setGeometry(AtlasLayout::LinkButton);
        Command4->hide();
        connect(Command4, &QAbstractButton::clicked, this,
                FatalErrors::guarded(this, &RegionAtlasScreen::openOfficialPage));
    }

    // The keyboard reveals what the pointer does: the title picture the link
    // button, the flag its story.
    QList<QWidget *> links{Command3};
    if (Command4)
        links << Command4;
    auto *reveal = new KeyboardReveal(this);
    reveal->addTrigger(Image3, links, [this] { revealLink(); }, [this] { hideLink(); });
    reveal->addTrigger(Image2, {Frame3}, [this] { revealOrigin(); }, [this] { hideOrigin(); });

    // Tab order in reading order: the title picture and the link button (when
    // shown), the entry selector, 国ドリル, メニュー, then the flag with its
    // story and the overview.
    QWidget *previous = Image3;
    for (QWidget *next : links + QList<QWidget *>{Combo1, Command1, Command2, Image2, List2, List1}) {
        setTabOrder(previous, next);
        previous = next;
    }
    // The screen opens with the focus on the entry selector.
    Combo1->setFocus(Qt::OtherFocusReason);
}

void RegionAtlasScreen::load()
{
    AppState &state = m_context.state;
    const RegionInfo &region = m_profile.region();
    LoadCountryList(state, region);
    m_originShown = 0;
    m_linkShown = 0;
    state.CurrentCountry = 0;

    Combo1->clear();
    for (int position = 1; position <= region.countryCount; ++position)
        Combo1->addItem(state.ListNames[position]);
    Combo1->setText(QString());

    for (int i = 1; i <= region.countryCount; ++i) {
        if (QWidget *marker = Picture1->marker(i - 1)) {
            marker->setToolTip(state.CountryNames[i]);
            AccessibleRole::setQuietName(marker, state.CountryNames[i]);
        }
    }

    LoadPageTable(state, region);
    m_flagBox = Image2->geometry();
}

void RegionAtlasScreen::chooseFromList(int row)
{
    AppState &state = m_context.state;
    const qint16 country = state.ListToCountry[row + 1];
    // A row that no record named leads nowhere: there is no entry 0.
    if (country < 1 || country > m_profile.region().countryCount)
        return;
    state.CurrentCountry = country;
    m_countryNumber = country;
    m_renderer->Highlight(country);
    showFlag();
    showOverview();
    if (m_originShown == 1)
        loadOrigin();
}

void RegionAtlasScreen::chooseByMarker(int index)
{
    AppState &state = m_context.state;
    const qint16 country = qint16(index + 1);
    state.CurrentCountry = country;
    m_countryNumber = country;
    Combo1->setText(state.CountryNames[country]);
    m_renderer->Highlight(country);
    showFlag();
    showOverview();
}

void RegionAtlasScreen::showFlag()
{
    const int country = m_context.state.CurrentCountry;
    if (m_profile.flagCaption == CaptionRule::ByEntrySet)
        Frame1->setTitle(m_profile.regionalFlags.contains(country) ? RegionalFlag : NationalFlag);

    const DataPath path = CountryFilePath(m_context.state, CountryFileKind::FlagPicture,
                                          m_profile.region(), m_countryNumber);
    Image2->hide();
    const QImage picture = DataFiles::readPicture(path);
    Image2->setImage(picture);
    Image2->setAccessibleName(m_context.state.CountryNames[country] + QStringLiteral("の")
                              + Frame1->title());
    Image2->setGeometry(centredOn(m_flagBox, picture.size()));
    Image2->show();
}

void RegionAtlasScreen::showOverview()
{
    const DataPath path = CountryFilePath(m_context.state, CountryFileKind::Overview,
                                          m_profile.region(), m_countryNumber);
    List1->clear();
    List1->addItems(ReadShownLines(path));
    List1->show();
}

void RegionAtlasScreen::revealOrigin()
{
    const int country = m_context.state.CurrentCountry;
    if (country < 1 || m_originShown == 1)
        return;
    m_originShown = 1;
    const QStringList story = loadOrigin();
    if (m_profile.originCaption == CaptionRule::ByEntrySet)
        Frame3->setTitle(m_profile.regionalOrigins.contains(country) ? RegionalOrigin : NationalOrigin);
    Frame3->show();
    ScreenReader::say(this, story.join(QLatin1Char('\n')));
}

QStringList RegionAtlasScreen::loadOrigin()
{
    m_countryNumber = m_context.state.CurrentCountry;
    const DataPath path = CountryFilePath(m_context.state, CountryFileKind::FlagOrigin,
                                          m_profile.region(), m_countryNumber);
    const QStringList story = ReadShownLines(path);
    List2->clear();
    List2->addItems(story);
    return story;
}

void RegionAtlasScreen::revealLink()
{
    const int country = m_context.state.CurrentCountry;
    const LinkButton button = m_profile.linkFor(country);
    if (country < 1 || m_linkShown == 1 || button == LinkButton::None)
        return;
    m_linkShown = 1;
    if (button == LinkButton::OtherMinistry && Command4)
        Command4->show();
    else
        Command3->show();
}

void RegionAtlasScreen::hidePopups()
{
    hideOrigin();
    hideLink();
}

void RegionAtlasScreen::hideOrigin()
{
    m_originShown = 0;
    Frame3->hide();
}

void RegionAtlasScreen::hideLink()
{
    m_linkShown = 0;
    Command3->hide();
    if (Command4)
        Command4->hide();
}

void RegionAtlasScreen::pointerMovedOver(QWidget *under)
{
    if (under == nullptr || under == Picture1)
        hidePopups();
    else if (under == Image2)
        revealOrigin();
    else if (under == Image3)
        revealLink();
}

void RegionAtlasScreen::openOfficialPage()
{
    const AppState &state = m_context.state;
    m_openPage(state.PageTable[state.CurrentCountry][2]);
}

void RegionAtlasScreen::leaveFor(const QString &next)
{
    ScreenDirectory &host = m_context.host;
    if (!host.isRegistered(next))
        return;  // the screen does not exist in this build
    host.unload(objectName());
    host.unload(OfficialPage::ViewerScreenName);
    host.show(next);
}

void RegionAtlasScreen::closeEvent(QCloseEvent *event)
{
    // The page viewer goes with its atlas.
    if (QWidget *viewer = m_context.host.loadedScreen(OfficialPage::ViewerScreenName))
        viewer->close();
    ScreenWindow::closeEvent(event);
}
