#include "LearningDrillScreen.h"

#include "AppState.h"
#include "CapitalLine.h"
#include "CaptionFrame.h"
#include "CountryData.h"
#include "DataFiles.h"
#include "DrillRun.h"
#include "DrillWidgets.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "HighlightRenderer.h"
#include "KeyboardReveal.h"
#include "MarkerLayout.h"
#include "NameChoices.h"
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

#include <QApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

const QString CorrectText = QStringLiteral("正解");
const QString WrongText = QStringLiteral("不正解");
const QString Gap = QStringLiteral("　");

// The question box Frame4 and what it shows, in its own coordinates.
const QRect QuestionBoxRect(22, 106, 247, 172);
const QRect QuestionPictureHome(4, 14, 239, 154);
const QRect CueRect(6, 16, 235, 148);
const QRect FailRect(7, 60, 233, 53);
QRect choiceRect(int index)
{
    return QRect(8, 18 + index * 38, 231, 34);
}

// The judgement box Frame1: the circle or cross, shrunk beside the words
// that name the answer; after the run, the summary over the review button.
const QRect JudgementRect(22, 284, 247, 116);
const QSize MarkSize(64, 64);
const QRect MarkHome(8, 22, 64, 64);
const QRect FeedbackRect(78, 14, 163, 96);
const QRect SummaryRect(6, 14, 235, 44);
const QRect ReviewButtonRect(30, 344, 231, 50);

const QRect AccuracyRect(22, 406, 247, 66);

} // namespace

LearningDrillScreen::LearningDrillScreen(ScreenContext &context, const DrillProfile &profile,
                                         const LearningKind &kind)
    : ScreenWindow(kind.screenName(profile.region()), profile.clientArea, Palette::LightGreen),
      m_context(context), m_profile(profile), m_kind(kind)
{
    setFont(Fonts::font(Fonts::Mincho, 9));
    buildControls();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TimerInterval);
    connect(Timer1, &QTimer::timeout, this, FatalErrors::guarded(this, &LearningDrillScreen::timerTicked));
    readEntries();
    QList<qint16> entries = askableEntries();
    // A drill that hands over its misses asks only those.
    QList<qint16> &handed = m_context.state.ReviewCountries;
    if (!handed.isEmpty()) {
        QList<qint16> missed;
        for (qint16 country : std::as_const(handed))
            if (entries.contains(country) && !missed.contains(country))
                missed.append(country);
        handed.clear();
        entries = missed;
    }
    centreOnScreen();
    startRun(entries);
}

LearningDrillScreen::~LearningDrillScreen() = default;

void LearningDrillScreen::buildControls()
{
    std::tie(Image3, Command3, Command1, Command2, Frame3, Label6, Label4, Label1) =
        DrillWidgets::titleRow(this, m_profile, m_kind.titleWord(), [this] { restart(); },
                               [this](const QString &screenName) { leaveTo(screenName); })
            .controls();

    buildQuestionBox();

    Frame1 = new CaptionFrame(QStringLiteral("判定"), Palette::LightYellow, Palette::Red, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(JudgementRect);
    Image2 = new PictureBox(Frame1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setNearestNeighbour(false);
    Image2->setGeometry(MarkHome);
    Image2->hide();
    Label10 = DrillWidgets::label(Frame1, QString(), FeedbackRect, Fonts::font(Fonts::Gothic, 11, true),
                                  Palette::Black, Palette::LightYellow, Qt::AlignLeft | Qt::AlignVCenter);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setTextFormat(Qt::RichText);
    Label10->setWordWrap(true);

    Frame2 = new CaptionFrame(QStringLiteral("正解率"), Palette::LightPink, Palette::Red, this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(AccuracyRect);
    const QFont accuracyFont = Fonts::font(Fonts::Mincho, 28, true);
    Label2 = DrillWidgets::label(Frame2, QString(), QRect(8, 16, 148, 44), accuracyFont, Palette::White,
                                 Palette::Red, Qt::AlignRight | Qt::AlignVCenter);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = DrillWidgets::label(Frame2, QStringLiteral("％"), QRect(156, 16, 81, 44), accuracyFont, Palette::White,
                                 Palette::Red);
    Label3->setObjectName(QStringLiteral("Label3"));

    Picture1 = DrillWidgets::regionMap(this, m_profile);
    m_renderer = std::make_unique<HighlightRenderer>(highlightTable(m_profile.regionId), *Picture1);
    const bool onMarkers = m_kind.answer == LearningKind::Answer::OnMarkers;
    if (onMarkers) {
        connect(Picture1, &RegionMapView::markerPressed, this,
                FatalErrors::guarded([this](int index, Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                answerWith(index + 1);
        }));
        Picture1->setKeyboardNavigation(true);
        connect(Picture1, &RegionMapView::markerActivated, this,
                FatalErrors::guarded([this](int index) { answerWith(index + 1); }));
    } else {
        // The map only shows the asked entry; the names answer.
        Picture1->setFocusPolicy(Qt::NoFocus);
        for (int k = 0; k < Picture1->markerCount(); ++k)
            Picture1->marker(k)->setFocusPolicy(Qt::NoFocus);
    }

    // Made last, to come last in the tab order too.
    Command5 = new PictureButton(QStringLiteral("まちがえた国をもう一度"), Palette::RestartFace, this);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setGeometry(ReviewButtonRect);
    Command5->hide();
    connect(Command5, &QAbstractButton::clicked, this, FatalErrors::guarded([this] {
        // The list is copied: the new run replaces the order that holds it.
        const QList<qint16> missed = m_order->missedAtFirst();
        Command5->hide();
        startRun(missed);
    }));

    auto *reveal = new KeyboardReveal(this);
    reveal->addTrigger(Image3, {Command3}, [this] { revealRestart(); }, [this] { hideRestart(); });

    // Tab order: title plate, restart, atlas, menu, the four names, the map's
    // focused marker, the review button.
    setTabOrder(Image3, Command3);
    setTabOrder(Command3, Command1);
    setTabOrder(Command1, Command2);
    if (!onMarkers) {
        QWidget *previous = Command2;
        for (PictureButton *choice : Command4) {
            setTabOrder(previous, choice);
            previous = choice;
        }
    }
    if (onMarkers)
        Picture1->focusMarker(0, Qt::OtherFocusReason);
    else
        Command4[0]->setFocus(Qt::OtherFocusReason);
}

void LearningDrillScreen::buildQuestionBox()
{
    Frame4 = new CaptionFrame(m_kind.cueBoxCaption(), Palette::White, Palette::Red, this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setGeometry(QuestionBoxRect);

    Image4 = new PictureBox(Frame4);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setGeometry(QuestionPictureHome);
    Image4->hide();

    Label9 = DrillWidgets::label(Frame4, QString(), CueRect, Fonts::font(Fonts::Gothic, 20, true),
                                 Palette::DarkBlue, Palette::White);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setWordWrap(true);
    Label9->hide();

    Label8 = DrillWidgets::label(Frame4, QStringLiteral("不合格"), FailRect, Fonts::font(Fonts::Mincho, 36, true),
                                 Palette::White, Palette::Magenta);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->hide();

    if (m_kind.answer != LearningKind::Answer::ByName)
        return;
    for (int i = 0; i < int(Command4.size()); ++i) {
        auto *choice = new PictureButton(QString(), Palette::RegionFace, Frame4);
        choice->setObjectName(QStringLiteral("Command4_%1").arg(i));
        choice->setGeometry(choiceRect(i));
        connect(choice, &QAbstractButton::clicked, this,
                FatalErrors::guarded([this, i] { answerWith(m_choices.value(i)); }));
        Command4[std::size_t(i)] = choice;
    }
}

void LearningDrillScreen::readEntries()
{
    AppState &state = m_context.state;
    const RegionInfo &region = m_profile.region();
    LoadCountryNames(state, region);
    m_entries.names = {QString()};
    m_entries.capitals = {QString()};
    for (int country = 1; country <= m_profile.questionCount; ++country) {
        m_entries.names.append(state.CountryNames[country]);
        m_entries.capitals.append(m_kind.readsCapitals ? ReadCapital(state, region, country) : QString());
    }
}

QList<qint16> LearningDrillScreen::askableEntries() const
{
    QList<qint16> entries;
    for (int country = 1; country <= m_profile.questionCount; ++country)
        if (!m_kind.ask(m_entries, country).text.isEmpty())
            entries.append(qint16(country));
    return entries;
}

void LearningDrillScreen::stopPause()
{
    Timer1->stop();
    qApp->removeEventFilter(this);
}

void LearningDrillScreen::startRun(const QList<qint16> &entries)
{
    stopPause();
    m_runEntries = entries;
    m_order = std::make_unique<ReaskOrder>(entries, m_context.random);
    m_finished = false;
    m_renderer->ClearMap();
    Label2->setText(QString());
    Label8->hide();
    Image2->hide();
    Image2->setGeometry(MarkHome);
    Image4->hide();
    Label10->setGeometry(FeedbackRect);
    Label10->setText(QString());
    Command5->hide();
    Label1->show();
    Label4->show();
    Frame3->show();
    askCurrent();
}

void LearningDrillScreen::askCurrent()
{
    if (m_order->isOver()) {
        finish();
        return;
    }
    m_asked = m_order->current();
    const LearningQuestion question = m_kind.ask(m_entries, m_asked);
    Label1->setText(QStringLiteral(" ") + question.text + QStringLiteral(" "));
    Label1->adjustSize();
    Label6->setText(QString::number(m_order->remainingCount()));

    if (question.showsFlag) {
        const QImage flag = DataFiles::readPicture(
            CountryFilePath(m_context.state, CountryFileKind::FlagPicture, m_profile.region(), m_asked));
        showPicture(Image4, flag, QuestionPictureHome, QStringLiteral("問題の国旗"));
    }
    Label9->setText(question.cue);
    Label9->setVisible(!question.cue.isEmpty());
    if (question.paintsEntry)
        m_renderer->Highlight(m_asked);
    if (m_kind.answer == LearningKind::Answer::ByName) {
        m_choices = NameChoices::choicesFor(markerLayout(m_profile.regionId).drillMarkers, m_asked,
                                            m_context.random);
        for (int i = 0; i < int(Command4.size()); ++i) {
            Command4[std::size_t(i)]->setWord(nameOf(m_choices.value(i)));
            Command4[std::size_t(i)]->show();
        }
    }
    m_awaitingAnswer = true;
    ScreenReader::say(this, spokenState());
}

void LearningDrillScreen::answerWith(int country)
{
    if (m_finished || !m_awaitingAnswer || country < 1)
        return;
    m_awaitingAnswer = false;
    const bool right = country == m_asked;
    m_order->answer(right, m_context.random);

    playSound(right ? QStringLiteral("\\音\\o.wav") : QStringLiteral("\\音\\x.wav"));
    const QImage mark = DataFiles::readPicture(DataPath(
        m_context.state.DataRoot, right ? QStringLiteral("\\画像\\maru.gif") : QStringLiteral("\\画像\\batu.gif")));
    showPicture(Image2, mark.scaled(MarkSize, Qt::KeepAspectRatio, Qt::SmoothTransformation), MarkHome,
                right ? CorrectText : WrongText);
    // The asked entry is shown on the map after every answer.
    m_renderer->Highlight(m_asked);
    // The name asked in red, as the map paints it.
    const QString asked = QStringLiteral("<b style=\"color:#c00000\">%1</b>").arg(nameOf(m_asked).toHtmlEscaped());
    if (right) {
        Label10->setText(CorrectText + QStringLiteral("！<br>") + asked);
        m_feedbackSpoken = CorrectText + Gap + nameOf(m_asked);
    } else {
        Label10->setText(QStringLiteral("あなたの答え<br><b>%1</b><br>正しい答え<br>%2")
                             .arg(nameOf(country).toHtmlEscaped(), asked));
        m_feedbackSpoken = WrongText + Gap + QStringLiteral("あなたの答えは") + nameOf(country) + Gap
                           + QStringLiteral("正しい答えは") + nameOf(m_asked);
    }
    Frame1->setAccessibleDescription(m_feedbackSpoken);
    Label2->setText(QString::number(accuracyPercent()));
    Label6->setText(QString::number(m_order->remainingCount()));
    ScreenReader::say(this, m_feedbackSpoken + Gap + accuracySpoken());
    m_answerTime = DrillRules::answerTimeOf(m_context.clock.seconds());
    Timer1->start();
    // Enter, Space, a click or a tap anywhere on the screen ends the pause;
    // they reach the control under the pointer or with the focus first.
    qApp->installEventFilter(this);
}

int LearningDrillScreen::accuracyPercent() const
{
    // First answers only; at the end of the run every entry has one.
    return DrillRules::accuracyPercent(m_order->rightAtFirstCount(), m_order->firstAnswerCount());
}

void LearningDrillScreen::timerTicked()
{
    if (Timer1->isActive() && DrillRules::pauseOver(m_context.clock.seconds(), m_answerTime))
        endPause();
}

void LearningDrillScreen::endPause()
{
    stopPause();
    Image2->hide();
    Image4->hide();
    Label10->setText(QString());
    Frame1->setAccessibleDescription(QString());
    m_renderer->ClearMap();
    askCurrent();
}

bool LearningDrillScreen::endsPause(QObject *watched, QEvent *event) const
{
    if (!Timer1->isActive() || (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::KeyPress))
        return false;
    // A press on this screen; the buttons that leave or restart keep their meaning.
    const auto *widget = qobject_cast<const QWidget *>(watched);
    if (!widget || widget->window() != this || widget == Command1 || widget == Command2 || widget == Command3)
        return false;
    if (event->type() == QEvent::MouseButtonPress)
        return true;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

bool LearningDrillScreen::eventFilter(QObject *watched, QEvent *event)
{
    bool ended = false;
    FatalErrors::guard([&] {
        ended = endsPause(watched, event);
        if (ended)
            endPause();
    });
    return ended || ScreenWindow::eventFilter(watched, event);
}

void LearningDrillScreen::finish()
{
    m_finished = true;
    m_awaitingAnswer = false;
    Label1->hide();
    Label4->hide();
    Frame3->hide();
    Label9->hide();
    for (PictureButton *choice : Command4)
        if (choice)
            choice->hide();
    if (m_order->entryCount() == 0) {
        Label10->setGeometry(SummaryRect);
        Label10->setText(QStringLiteral("きける問題がありません。"));
        m_summarySpoken = Label10->text();
        ScreenReader::say(this, spokenState());
        return;
    }
    const int percent = DrillRules::accuracyPercent(m_order->rightAtFirstCount(), m_order->entryCount());
    Label2->setText(QString::number(percent));
    const DrillVerdict verdict = DrillRules::verdictFor(percent);
    playSound(DrillRules::verdictSound(verdict));
    if (verdict == DrillVerdict::Fail) {
        Label8->show();
    } else {
        const QImage medal =
            DataFiles::readPicture(DataPath(m_context.state.DataRoot, DrillRules::medalPicture(verdict)));
        showPicture(Image4, medal, QuestionPictureHome, DrillRules::medalName(verdict));
    }
    const int missed = int(m_order->missedAtFirst().size());
    const QStringList summary{QStringLiteral("はじめの答えで正解 %1 / %2 問")
                                  .arg(m_order->rightAtFirstCount())
                                  .arg(m_order->entryCount()),
                              QStringLiteral("まちがえた国の数 %1").arg(missed)};
    m_summarySpoken = summary.join(Gap);
    Label10->setGeometry(SummaryRect);
    Label10->setText(summary.join(QStringLiteral("<br>")));
    Frame1->setAccessibleDescription(DrillRules::verdictText(verdict));
    Command5->setVisible(missed > 0);
    ScreenReader::say(this, spokenState());
}

QString LearningDrillScreen::spokenState() const
{
    if (m_finished)
        return Frame1->accessibleDescription() + Gap + accuracySpoken() + Gap + m_summarySpoken;
    return Label1->text().trimmed() + Gap + QStringLiteral("残 %1 問").arg(m_order->remainingCount());
}

QString LearningDrillScreen::accuracySpoken() const
{
    return QStringLiteral("正解率 %1 ％").arg(Label2->text().isEmpty() ? QStringLiteral("0") : Label2->text());
}

void LearningDrillScreen::pointerMovedOver(QWidget *under)
{
    if (under == Image3)
        revealRestart();
    else if ((under == nullptr || under == Picture1) && restartShown == 1)
        hideRestart();
}

void LearningDrillScreen::revealRestart()
{
    if (restartShown != 0)
        return;
    Command3->show();
    Command3->raise();
    restartShown = 1;
}

void LearningDrillScreen::hideRestart()
{
    Command3->hide();
    restartShown = 0;
}

void LearningDrillScreen::restart()
{
    startRun(m_runEntries);
}

void LearningDrillScreen::leaveTo(const QString &screenName)
{
    if (!m_context.host.isRegistered(screenName))
        return;
    stopPause();
    m_context.host.transition(windowTitle(), screenName);
}

void LearningDrillScreen::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        stopPause();
    ScreenWindow::hideEvent(event);
}

void LearningDrillScreen::showPicture(PictureBox *box, const QImage &picture, const QRect &home,
                                      const QString &shows)
{
    box->setImage(picture);
    box->setAccessibleName(shows);
    box->setGeometry(centredOn(home, picture.size()));
    box->show();
}

void LearningDrillScreen::playSound(const QString &relativePath)
{
    m_context.sound.play(DataPath(m_context.state.DataRoot, relativePath).filePath());
}

QString LearningDrillScreen::nameOf(int country) const
{
    return m_entries.names.value(country);
}
