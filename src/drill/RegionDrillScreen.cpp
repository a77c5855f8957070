#include "RegionDrillScreen.h"

#include "AppState.h"
#include "CaptionFrame.h"
#include "CountryData.h"
#include "DataError.h"
#include "DataFiles.h"
#include "DrillWidgets.h"
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
#include "TouchConfirm.h"

#include <QHideEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace {

// The verdict after an answer, as text beside the circle and the cross.
const QString CorrectText = QStringLiteral("正解");
const QString WrongText = QStringLiteral("不正解");

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
    const DrillWidgets::TitleRow row =
        DrillWidgets::titleRow(this, m_profile, QStringLiteral("国ドリル"), [this] { restart(); },
                               [this] { return workInProgress(); },
                               [this](const QString &screenName) { leaveTo(screenName); });
    std::tie(Image3, Command3, Command1, Command2, Frame3, Label6, Label4, Label1) = row.controls();
    Command6 = row.confirmRestart;
    m_restartQuestion = row.restartQuestion;

    Frame1 = new CaptionFrame(QStringLiteral("判定"), Palette::LightYellow, Palette::Red, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(64, 131, 166, 139);
    Image2 = new PictureBox(Frame1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(4, 9, 158, 127);
    Image2->setAccessibleName(Frame1->caption());
    Image2->hide();
    Label8 = DrillWidgets::label(Frame1, QStringLiteral("不合格"), QRect(7, 42, 152, 53),
                       Fonts::font(Fonts::Mincho, 36, true), Palette::White, Palette::Magenta);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->hide();

    const QFont accuracyFont = Fonts::font(Fonts::Mincho, 60, true);
    Frame2 = new CaptionFrame(QStringLiteral("正解率"), Palette::LightPink, Palette::Red, this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(22, 304, 247, 161);
    Label2 = DrillWidgets::label(Frame2, QString(), QRect(8, 38, 148, 88), accuracyFont, Palette::White, Palette::Red,
                       Qt::AlignRight | Qt::AlignVCenter);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = DrillWidgets::label(Frame2, QStringLiteral("％"), QRect(156, 38, 81, 88), accuracyFont, Palette::White, Palette::Red);
    Label3->setObjectName(QStringLiteral("Label3"));

    Picture1 = DrillWidgets::regionMap(this, m_profile);
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
    reveal->addTrigger(Image3, {Command3, Command6}, [this] { revealRestart(); }, [this] { hideRestart(); });

    // Shown once a run with a miss is over, where the question stood; made
    // after the map, so that it comes after the map in the tab order too.
    Command4 = new PictureButton(QStringLiteral("まちがえた国をもう一度"), Palette::RestartFace, this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setGeometry(22, 70, 247, 52);
    Command4->hide();
    connect(Command4, &QAbstractButton::clicked, this,
            FatalErrors::guarded(this, &RegionDrillScreen::reviewMisses));

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
    m_restartQuestion->withdraw();
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
        spoken += QStringLiteral("　正しいのは") + DrillWidgets::markerName(*Picture1, m_run.currentQuestion - 1);
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
    Command4->setVisible(!m_run.missedCountries().isEmpty());
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
    Command4->hide();
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

void RegionDrillScreen::reviewMisses()
{
    const QString review = m_profile.region().reviewDrillScreenName();
    if (!m_context.host.isRegistered(review))
        return;
    m_context.state.ReviewCountries = m_run.missedCountries();
    leaveTo(review);
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
