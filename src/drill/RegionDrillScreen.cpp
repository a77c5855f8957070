#include "RegionDrillScreen.h"

#include "AppState.h"
#include "CaptionFrame.h"
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
#include "RegionMapView.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"
#include "ScreenReader.h"
#include "Seams.h"
#include "WordArt.h"

#include <QHideEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

const QColor PlateInk(200, 30, 30);

// The verdict after an answer, as text beside the circle and the cross.
const QString CorrectText = QStringLiteral("正解");
const QString WrongText = QStringLiteral("不正解");

// Where a marker lies on the map, in thirds across and down: what a pupil who
// cannot see the map goes by.
QString placeOnMap(QPoint centre, QSize map)
{
    static const QString places[3][3] = {
        {QStringLiteral("左上"), QStringLiteral("上"), QStringLiteral("右上")},
        {QStringLiteral("左"), QStringLiteral("中央"), QStringLiteral("右")},
        {QStringLiteral("左下"), QStringLiteral("下"), QStringLiteral("右下")},
    };
    const auto third = [](int at, int length) { return std::clamp(at * 3 / std::max(length, 1), 0, 2); };
    return places[third(centre.y(), map.height())][third(centre.x(), map.width())];
}

QLabel *makeLabel(QWidget *parent, const QString &text, const QRect &geometry, const QFont &font,
                  QColor ink, QColor ground, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setMargin(0);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, ink);
    colours.setColor(QPalette::Window, ground);
    label->setPalette(colours);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

RegionDrillScreen::RegionDrillScreen(ScreenContext &context, const DrillProfile &profile)
    : ScreenWindow(profile.screenName(), profile.clientArea, Palette::LightGreen),
      m_context(context), m_profile(profile), m_run(profile.questionCount)
{
    setFont(Fonts::font(Fonts::Mincho, 9));
    buildControls();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TimerInterval);
    connect(Timer1, &QTimer::timeout, this, FatalErrors::guarded(this, &RegionDrillScreen::timerTicked));

    centreOnScreen();
    startRun();
}

RegionDrillScreen::~RegionDrillScreen() = default;

QWidget *RegionDrillScreen::remainingBox() const
{
    return Frame3;
}

void RegionDrillScreen::buildControls()
{
    Image3 = new PictureBox(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(47, 10, 184, 53);
    Image3->setAccessibleName(QStringLiteral("国ドリル"));
    Image3->setDrawing([](QPainter &painter, QRect bounds) {
        WordArt::paintWordPlate(painter, bounds, QStringLiteral("国ドリル"), Palette::GoldPlate, PlateInk);
    });

    Command3 = new PictureButton(QStringLiteral("再スタート"), Palette::RestartFace, this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(46, 5, 189, 59);
    Command3->hide();
    connect(Command3, &QAbstractButton::clicked, this,
            FatalErrors::guarded(this, &RegionDrillScreen::restart));

    Command1 = new PictureButton(QStringLiteral("国しらべ"), Palette::RegionFace, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(m_profile.atlasButtonRect());
    connect(Command1, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { leaveTo(m_profile.atlasScreenName()); }));

    Command2 = new PictureButton(QStringLiteral("メニュー"), Palette::MenuFace, this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(m_profile.menuButtonRect());
    connect(Command2, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { leaveTo(QStringLiteral("メニュー")); }));

    const QFont countFont = Fonts::font(Fonts::Mincho, 26.25, true);
    Frame3 = new CaptionFrame(QString(), Palette::Periwinkle, Palette::Red, this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setGeometry(295, 15, 179, 46);
    Frame3->setAccessibleName(QStringLiteral("残り問題数"));
    Label7 = makeLabel(Frame3, QStringLiteral("残"), QRect(6, 4, 44, 38), countFont, Palette::White, Palette::Blue);
    Label6 = makeLabel(Frame3, QString(), QRect(52, 4, 75, 38), countFont, Palette::White, Palette::Blue);
    Label5 = makeLabel(Frame3, QStringLiteral("問"), QRect(129, 4, 44, 38), countFont, Palette::White, Palette::Blue);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label6->setObjectName(QStringLiteral("Label6"));
    Label5->setObjectName(QStringLiteral("Label5"));

    Label4 = makeLabel(this, QStringLiteral(" 問 題 "), QRect(50, 70, 82, 27),
                       Fonts::font(Fonts::Mincho, 14.25, true), Palette::White, Palette::Periwinkle);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label1 = makeLabel(this, QString(), QRect(138, 70, 0, 27), Fonts::font(Fonts::PMincho, 15.75),
                       Palette::Black, Palette::White, Qt::AlignLeft | Qt::AlignVCenter);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->adjustSize();

    Frame1 = new CaptionFrame(QStringLiteral("判定"), Palette::LightYellow, Palette::Red, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(64, 131, 166, 139);
    Image2 = new PictureBox(Frame1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(4, 9, 158, 127);
    Image2->setAccessibleName(Frame1->caption());
    Image2->hide();
    Label8 = makeLabel(Frame1, QStringLiteral("不合格"), QRect(7, 42, 152, 53),
                       Fonts::font(Fonts::Mincho, 36, true), Palette::White, Palette::Magenta);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->hide();

    const QFont accuracyFont = Fonts::font(Fonts::Mincho, 60, true);
    Frame2 = new CaptionFrame(QStringLiteral("正解率"), Palette::LightPink, Palette::Red, this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(22, 304, 247, 161);
    Label2 = makeLabel(Frame2, QString(), QRect(8, 38, 148, 88), accuracyFont, Palette::White, Palette::Red,
                       Qt::AlignRight | Qt::AlignVCenter);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = makeLabel(Frame2, QStringLiteral("％"), QRect(156, 38, 81, 88), accuracyFont, Palette::White, Palette::Red);
    Label3->setObjectName(QStringLiteral("Label3"));

    Picture1 = new RegionMapView(this);
    Picture1->setGeometry(m_profile.mapRect());
    const QImage map(m_profile.mapResource());
    if (map.isNull())
        throw DataError(QString(), QStringLiteral("地図「%1」がありません。").arg(m_profile.mapResource()));
    Picture1->setMap(map);
    const RegionMarkerLayout &markers = markerLayout(m_profile.regionId);
    if (int(markers.drillMarkers.size()) != m_profile.questionCount)
        throw DataError(QString(), QStringLiteral("%1 の印の数が %2 ではありません。")
                                       .arg(m_profile.screenName())
                                       .arg(m_profile.questionCount));
    Picture1->setMarkers(markers.drillMarkers);
    Picture1->setAccessibleName(m_profile.region().regionName() + QStringLiteral("の地図"));
    // Markers are named by number and place only: the drill never names a country's marker.
    for (int k = 0; k < Picture1->markerCount(); ++k)
        Picture1->marker(k)->setAccessibleName(markerName(k));
    connect(Picture1, &RegionMapView::markerPressed, this,
            FatalErrors::guarded([this](int index, Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            judgeAnswer(index);
    }));
    // Enter or Space on the focused marker answers as a click on it does.
    Picture1->setKeyboardNavigation(true);
    connect(Picture1, &RegionMapView::markerActivated, this,
            FatalErrors::guarded(this, &RegionDrillScreen::judgeAnswer));
    // The drill's frame is the judgement box: the renderer never sets its caption.
    m_renderer = std::make_unique<HighlightRenderer>(highlightTable(m_profile.regionId), *Picture1);

    // The keyboard reveals the restart button from the title plate, as the pointer does.
    auto *reveal = new KeyboardReveal(this);
    reveal->addTrigger(Image3, {Command3}, [this] { revealRestart(); }, [this] { hideRestart(); });

    // Tab order: title plate, restart, atlas, menu, then the map's focused
    // marker; the screen opens with the focus on the map, ready for the arrow keys.
    setTabOrder(Image3, Command3);
    setTabOrder(Command3, Command1);
    setTabOrder(Command1, Command2);
    Picture1->focusMarker(0, Qt::OtherFocusReason);
}

void RegionDrillScreen::startRun()
{
    m_run.start();
    hoverHighlightShown = 0;
    highlightCountry = 0;

    AppState &state = m_context.state;
    LoadCountryNames(state, m_profile.region());
    for (int i = 1; i <= m_profile.questionCount; ++i)
        state.CountryNames[i] = QStringLiteral(" ") + state.CountryNames[i] + QStringLiteral("はどこ？ ");

    feedbackHome = Image2->geometry();
    chooseQuestion();
}

void RegionDrillScreen::chooseQuestion()
{
    m_run.chooseQuestion(m_context.random);
    showQuestion();
}

void RegionDrillScreen::showQuestion()
{
    Label1->setText(m_context.state.CountryNames[m_run.currentQuestion]);
    Label1->adjustSize();
    Label6->setText(QString::number(m_run.remainingCount()));
    Frame1->setAccessibleDescription(QString());
    ScreenReader::say(this, spokenState());
}

QString RegionDrillScreen::markerName(int markerIndex) const
{
    const QWidget *marker = Picture1->marker(markerIndex);
    return QStringLiteral("マーカー %1 %2")
        .arg(markerIndex + 1)
        .arg(placeOnMap(marker->geometry().center(), Picture1->size()));
}

QString RegionDrillScreen::spokenState() const
{
    if (m_run.finished != 0)
        return Frame1->accessibleDescription() + QStringLiteral("　") + accuracySpoken();
    return Label1->text().trimmed() + QStringLiteral("　残 %1 問").arg(m_run.remainingCount());
}

QString RegionDrillScreen::accuracySpoken() const
{
    return QStringLiteral("正解率 %1 ％").arg(m_run.accuracyPercent);
}

void RegionDrillScreen::pointerMovedOver(QWidget *under)
{
    const int markerIndex = Picture1->markerIndexOf(under);
    if (markerIndex >= 0)
        hoverHighlight(markerIndex);
    else if (under == nullptr || under == Picture1)
        hoverOut();
    else if (under == Image3)
        revealRestart();
}

void RegionDrillScreen::hoverHighlight(int markerIndex)
{
    if (m_run.finished != 0 || hoverHighlightShown != 0)
        return;
    highlightCountry = qint16(markerIndex + 1);
    m_renderer->Highlight(highlightCountry);
    hoverHighlightShown = 1;
}

void RegionDrillScreen::hoverOut()
{
    if (hoverHighlightShown == 1) {
        m_renderer->ClearMap();
        hoverHighlightShown = 0;
    }
    if (restartShown == 1)
        hideRestart();
}

void RegionDrillScreen::hideRestart()
{
    Command3->hide();
    restartShown = 0;
}

void RegionDrillScreen::revealRestart()
{
    if (restartShown != 0)
        return;
    Command3->show();
    Command3->raise();
    restartShown = 1;
}

void RegionDrillScreen::judgeAnswer(int markerIndex)
{
    const DrillRun::Answer answer = m_run.answer(markerIndex + 1, m_context.clock.seconds());
    if (answer == DrillRun::Answer::Ignored)
        return;
    if (answer == DrillRun::Answer::Correct) {
        playSound(QStringLiteral("\\音\\o.wav"));
        showFeedbackPicture(QStringLiteral("\\画像\\maru.gif"), CorrectText);
    } else {
        playSound(QStringLiteral("\\音\\x.wav"));
        showFeedbackPicture(QStringLiteral("\\画像\\batu.gif"), WrongText);
        highlightCountry = m_run.currentQuestion;
        m_renderer->Highlight(highlightCountry);
    }
    Frame1->setAccessibleDescription(answer == DrillRun::Answer::Correct ? CorrectText : WrongText);
    Label2->setText(QString::number(m_run.accuracyPercent));
    QString spoken = Frame1->accessibleDescription() + QStringLiteral("　") + accuracySpoken();
    if (answer == DrillRun::Answer::Wrong)
        spoken += QStringLiteral("　正しいのは") + markerName(m_run.currentQuestion - 1);
    ScreenReader::say(this, spoken);
    Timer1->start();
}

void RegionDrillScreen::showFeedbackPicture(const QString &relativePath, const QString &shows)
{
    const QImage picture = DataFiles::readPicture(DataPath(m_context.state.DataRoot, relativePath));
    Image2->setImage(picture);
    Image2->setAccessibleName(shows);
    Image2->setGeometry(centredOn(feedbackHome, picture.size()));
    Image2->show();
}

void RegionDrillScreen::timerTicked()
{
    // Only a running pause can end.
    if (!Timer1->isActive() || !m_run.pauseOver(m_context.clock.seconds()))
        return;
    Timer1->stop();
    Image2->hide();
    m_renderer->ClearMap();
    if (m_run.allAsked())
        FinishDrill();
    else
        chooseQuestion();
}

void RegionDrillScreen::FinishDrill()
{
    const DrillVerdict verdict = m_run.finish();
    m_context.state.AccuracyRates[m_profile.regionId] = m_run.accuracyPercent;

    Label1->hide();
    Label4->hide();
    Frame3->hide();

    playSound(DrillRules::verdictSound(verdict));
    if (verdict == DrillVerdict::Fail)
        Label8->show();
    else
        showFeedbackPicture(DrillRules::medalPicture(verdict), DrillRules::medalName(verdict));
    Frame1->setAccessibleDescription(DrillRules::verdictText(verdict));
    ScreenReader::say(this, spokenState());
}

void RegionDrillScreen::restart()
{
    // setText, unlike clear(), tells assistive technology that the label changed.
    Label2->setText(QString());
    Image2->hide();
    if (m_profile.restartHidesItself)
        Command3->hide();
    Image2->setGeometry(feedbackHome);
    Label8->hide();
    Label1->show();
    Label4->show();
    Frame3->show();
    // A pause of the old run ends here, as its last tick would have ended it,
    // so that it cannot replace the new run's first question.
    if (Timer1->isActive()) {
        Timer1->stop();
        m_renderer->ClearMap();
    }
    startRun();
}

void RegionDrillScreen::leaveTo(const QString &screenName)
{
    if (!m_context.host.isRegistered(screenName))
        return;
    Timer1->stop();
    m_context.host.transition(m_profile.screenName(), screenName);
}

void RegionDrillScreen::hideEvent(QHideEvent *event)
{
    // Closing the screen ends a pause with it: no tick reaches a screen that is
    // being discarded, and a run left before its end stores nothing.
    if (!event->spontaneous())
        Timer1->stop();
    ScreenWindow::hideEvent(event);
}

void RegionDrillScreen::playSound(const QString &relativePath)
{
    m_context.sound.play(DataPath(m_context.state.DataRoot, relativePath).filePath());
}
