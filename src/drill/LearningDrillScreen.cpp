#include "LearningDrillScreen.h"

#include "AnswerPause.h"
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
#include "TouchConfirm.h"

#include <QHideEvent>
#include <QLabel>

namespace {

const QString Gap = QStringLiteral("　");

// The four names of 国名ドリル, in the question box's coordinates.
QRect choiceRect(int index)
{
    return QRect(8, 18 + index * 38, 231, 34);
}

} // namespace

LearningDrillScreen::LearningDrillScreen(ScreenContext &context, const DrillProfile &profile,
                                         const LearningKind &kind)
    : ScreenWindow(kind.screenName(profile.region()), profile.clientArea, Palette::LightGreen),
      m_context(context), m_profile(profile), m_kind(kind)
{
    setFont(Fonts::font(Fonts::Mincho, 9));
    buildControls();

    m_pause = new AnswerPause(this, m_context.clock, [this] { endPause(); });
    m_pause->keepMeaningOf({Command1, Command2, Command3, Command6});
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
    const DrillWidgets::TitleRow row =
        DrillWidgets::titleRow(this, m_profile, m_kind.titleWord(), [this] { restart(); },
                               [this] { return workInProgress(); },
                               [this](const QString &screenName) { leaveTo(screenName); });
    std::tie(Image3, Command3, Command1, Command2, Frame3, Label6, Label4, Label1) = row.controls();
    Command6 = row.confirmRestart;
    m_restartQuestion = row.restartQuestion;

    m_panel = std::make_unique<LearningPanel>(this, m_kind.cueBoxCaption());
    buildChoices();

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
    Command5->setGeometry(LearningPanel::BelowSummaryRect);
    Command5->hide();
    connect(Command5, &QAbstractButton::clicked, this, FatalErrors::guarded([this] {
        // The list is copied: the new run replaces the order that holds it.
        const QList<qint16> missed = m_order->missedAtFirst();
        Command5->hide();
        startRun(missed);
    }));

    auto *reveal = new KeyboardReveal(this);
    reveal->addTrigger(Image3, {Command3, Command6}, [this] { revealRestart(); }, [this] { hideRestart(); });

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

void LearningDrillScreen::buildChoices()
{
    if (m_kind.answer != LearningKind::Answer::ByName)
        return;
    for (int i = 0; i < int(Command4.size()); ++i) {
        auto *choice = new PictureButton(QString(), Palette::RegionFace, m_panel->questionBox());
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

void LearningDrillScreen::startRun(const QList<qint16> &entries)
{
    m_pause->stop();
    m_runEntries = entries;
    m_order = std::make_unique<ReaskOrder>(entries, m_context.random);
    m_finished = false;
    m_renderer->ClearMap();
    m_panel->clear();
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

    const QImage flag = question.showsFlag ? DataFiles::readPicture(CountryFilePath(
                                                 m_context.state, CountryFileKind::FlagPicture, m_profile.region(), m_asked))
                                           : QImage();
    m_panel->showQuestion(question, flag);
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
    // The asked entry is shown on the map after every answer.
    m_renderer->Highlight(m_asked);
    m_feedbackSpoken = m_panel->showJudgement(right, nameOf(country), nameOf(m_asked), mark);
    m_panel->setAccuracy(accuracyPercent());
    Label6->setText(QString::number(m_order->remainingCount()));
    ScreenReader::say(this, m_feedbackSpoken + Gap + m_panel->accuracySpoken());
    m_pause->start();
}

int LearningDrillScreen::accuracyPercent() const
{
    // First answers only; at the end of the run every entry has one.
    return DrillRules::accuracyPercent(m_order->rightAtFirstCount(), m_order->firstAnswerCount());
}

void LearningDrillScreen::timerTicked()
{
    m_pause->tick();
}

void LearningDrillScreen::endPause()
{
    m_panel->endJudgement();
    m_renderer->ClearMap();
    askCurrent();
}

void LearningDrillScreen::finish()
{
    m_finished = true;
    m_awaitingAnswer = false;
    Label1->hide();
    Label4->hide();
    Frame3->hide();
    for (PictureButton *choice : Command4)
        if (choice)
            choice->hide();
    if (m_order->entryCount() == 0) {
        m_panel->cueLabel()->hide();
        m_panel->showSummary({QStringLiteral("きける問題がありません。")});
        m_summarySpoken = m_panel->feedbackText()->text();
        ScreenReader::say(this, spokenState());
        return;
    }
    const int percent = DrillRules::accuracyPercent(m_order->rightAtFirstCount(), m_order->entryCount());
    m_panel->setAccuracy(percent);
    const DrillVerdict verdict = DrillRules::verdictFor(percent);
    playSound(DrillRules::verdictSound(verdict));
    const bool failed = verdict == DrillVerdict::Fail;
    const QImage medal =
        failed ? QImage() : DataFiles::readPicture(DataPath(m_context.state.DataRoot, DrillRules::medalPicture(verdict)));
    m_panel->showVerdict(medal, failed ? QString() : DrillRules::medalName(verdict), failed,
                         DrillRules::verdictText(verdict));
    const int missed = int(m_order->missedAtFirst().size());
    const QStringList summary{QStringLiteral("はじめの答えで正解 %1 / %2 問")
                                  .arg(m_order->rightAtFirstCount())
                                  .arg(m_order->entryCount()),
                              QStringLiteral("まちがえた国の数 %1").arg(missed)};
    m_summarySpoken = summary.join(Gap);
    m_panel->showSummary(summary);
    Command5->setVisible(missed > 0);
    ScreenReader::say(this, spokenState());
}

QString LearningDrillScreen::spokenState() const
{
    if (m_finished)
        return m_panel->judgementDescription() + Gap + m_panel->accuracySpoken() + Gap + m_summarySpoken;
    return Label1->text().trimmed() + Gap + QStringLiteral("残 %1 問").arg(m_order->remainingCount());
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
    m_restartQuestion->withdraw();
    restartShown = 0;
}

bool LearningDrillScreen::workInProgress() const
{
    return m_order && m_order->firstAnswerCount() > 0 && !m_finished;
}

void LearningDrillScreen::restart()
{
    startRun(m_runEntries);
}

void LearningDrillScreen::leaveTo(const QString &screenName)
{
    if (!m_context.host.isRegistered(screenName))
        return;
    m_pause->stop();
    m_context.host.transition(windowTitle(), screenName);
}

void LearningDrillScreen::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        m_pause->stop();
    ScreenWindow::hideEvent(event);
}

void LearningDrillScreen::playSound(const QString &relativePath)
{
    m_context.sound.play(DataPath(m_context.state.DataRoot, relativePath).filePath());
}

QString LearningDrillScreen::nameOf(int country) const
{
    return m_entries.names.value(country);
}
