#include "ReviewSessionScreen.h"

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
#include "LearningRecordScreen.h"
#include "Palette.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionCatalogue.h"
#include "RegionMapView.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"
#include "ScreenReader.h"
#include "Seams.h"

#include <QHideEvent>
#include <QLabel>
#include <QLocale>

#include <utility>

namespace {

const QString Gap = QStringLiteral("　");
const QRect SummaryRect(8, 18, 231, 146);

// A region's drill profile as this screen lays it out: the widest client
// area, the map against its right edge.
DrillProfile widened(const DrillProfile &profile)
{
    DrillProfile wide = profile;
    wide.clientArea = ScreenWindow::LargestClientSize;
    return wide;
}

QString noticeText(ReviewKeeper::Notice notice)
{
    switch (notice) {
    case ReviewKeeper::Notice::BadRecordSetAside:
        return QStringLiteral("これまでの記録が読めませんでした。別の名前でとっておき、新しい記録を始めます。");
    case ReviewKeeper::Notice::CannotSave:
        return QStringLiteral("記録を保存できません。復習はできますが、答えは残りません。");
    case ReviewKeeper::Notice::None:
        break;
    }
    return QString();
}

} // namespace

ReviewSessionScreen::ReviewSessionScreen(ScreenContext &context, ReviewDesk &desk)
    : ScreenWindow(ScreenName, LargestClientSize, Palette::LightGreen), m_context(context), m_desk(desk),
      m_keeper(desk.store())
{
    setFont(Fonts::font(Fonts::Mincho, 9));
    buildControls();
    m_pause = new AnswerPause(this, m_context.clock, [this] { endPause(); });
    m_pause->keepMeaningOf({Command1, Command2});
    openRecord();
    centreOnScreen();
    askCurrent();
}

ReviewSessionScreen::~ReviewSessionScreen() = default;

void ReviewSessionScreen::buildControls()
{
    const DrillProfile layout = widened(DrillProfiles::forRegion(1));
    std::tie(Image3, Command3, Command1, Command2, Frame3, Label6, Label4, Label1) =
        DrillWidgets::titleRow(this, layout, ScreenName, [] {}, [] { return false; },
                               [this](const QString &screenName) { leaveTo(screenName); },
                               LearningRecordScreen::ScreenName, LearningRecordScreen::ScreenName)
            .controls();

    m_panel = std::make_unique<LearningPanel>(this, LearningKinds::review().cueBoxCaption());
    Label11 = DrillWidgets::label(m_panel->questionBox(), QString(), SummaryRect, Fonts::font(Fonts::Gothic, 12, true),
                                  Palette::DarkBlue, Palette::White, Qt::AlignLeft | Qt::AlignVCenter);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setTextFormat(Qt::RichText);
    Label11->setWordWrap(true);
    Label11->hide();

    Command5 = new PictureButton(QStringLiteral("学習の記録を見る"), Palette::RegionFace, this);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->setGeometry(LearningPanel::BelowSummaryRect);
    Command5->hide();
    connect(Command5, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { leaveTo(LearningRecordScreen::ScreenName); }));

    setTabOrder(Image3, Command1);
    setTabOrder(Command1, Command2);
}

void ReviewSessionScreen::openRecord()
{
    const QDateTime now = m_desk.calendar().now();
    ReviewKeeper::Notice notice = ReviewKeeper::Notice::None;
    m_record = m_keeper.open(now, &notice);
    m_notice = noticeText(notice);
    m_saveFailureTold = notice == ReviewKeeper::Notice::CannotSave;
    m_catalogue = ReviewDesk::readCatalogue(m_context.state, true);
    m_record.keepOnly(m_catalogue.keptOf(m_record));
    const int startRegion = m_context.state.CurrentRegion > 0 ? m_context.state.CurrentRegion : 1;
    m_session = std::make_unique<ReviewSession>(
        ReviewPlan::plan(m_record, m_catalogue.entries, now.date(), startRegion, m_context.random), now.date(),
        m_context.random);
}

RegionEntries &ReviewSessionScreen::entriesOf(int regionId)
{
    auto found = m_regionEntries.find(regionId);
    if (found != m_regionEntries.end())
        return *found;
    RegionEntries entries;
    entries.names = {QString()};
    entries.capitals = {QString()};
    const RegionInfo &region = RegionCatalogue::region(regionId);
    for (int country = 1; country <= region.countryCount; ++country) {
        entries.names.append(QString());
        entries.capitals.append(QString());
    }
    for (const ReviewEntry &entry : std::as_const(m_catalogue.entries))
        if (entry.regionId == regionId)
            entries.names[entry.country] = entry.key.section(QLatin1Char('/'), 1);
    return *m_regionEntries.insert(regionId, entries);
}

const LearningKind &ReviewSessionScreen::kindOf(ReviewQuestionKind kind) const
{
    switch (kind) {
    case ReviewQuestionKind::Flag:
        return LearningKinds::submenuKinds()[0];
    case ReviewQuestionKind::Capital:
        return LearningKinds::submenuKinds()[1];
    case ReviewQuestionKind::Location:
        break;
    }
    return LearningKinds::review();
}

void ReviewSessionScreen::showRegion(int regionId)
{
    if (regionId == m_regionId)
        return;
    const bool mapHadFocus = Picture1 && Picture1->isAncestorOf(focusWidget());
    m_renderer.reset();
    if (Picture1) {
        // It may be delivering the press that ended the pause.
        Picture1->hide();
        Picture1->deleteLater();
    }
    m_regionId = regionId;
    m_profile = widened(DrillProfiles::forRegion(regionId));
    Picture1 = DrillWidgets::regionMap(this, *m_profile);
    m_renderer = std::make_unique<HighlightRenderer>(highlightTable(regionId), *Picture1);
    connect(Picture1, &RegionMapView::markerPressed, this,
            FatalErrors::guarded([this](int index, Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            answerWith(index + 1);
    }));
    Picture1->setKeyboardNavigation(true);
    connect(Picture1, &RegionMapView::markerActivated, this,
            FatalErrors::guarded([this](int index) { answerWith(index + 1); }));
    Picture1->show();
    // Tab order: title plate, 学習の記録, メニュー, the map, the end's button.
    setTabOrder(Command2, Picture1->marker(0));
    setTabOrder(Picture1->marker(0), Command5);
    if (mapHadFocus || !focusWidget() || focusWidget() == this)
        Picture1->focusMarker(0, Qt::OtherFocusReason);
}

void ReviewSessionScreen::askCurrent()
{
    if (m_session->isOver()) {
        finish();
        return;
    }
    const ReviewQuestion &question = m_session->current();
    const int country = question.entry.country;
    showRegion(question.entry.regionId);
    const LearningKind &kind = kindOf(question.kind);
    RegionEntries &entries = entriesOf(m_regionId);
    const RegionInfo &region = m_profile->region();
    if (kind.readsCapitals && entries.capitals.value(country).isEmpty())
        entries.capitals[country] = ReadCapital(m_context.state, region, country);
    const LearningQuestion asked = kind.ask(entries, country);

    Label1->setText(QStringLiteral(" ") + asked.text + QStringLiteral(" "));
    Label1->adjustSize();
    Label6->setText(QString::number(m_session->remainingCount()));
    m_panel->setCueCaption(kind.cueBoxCaption());
    const QImage flag = asked.showsFlag ? DataFiles::readPicture(CountryFilePath(
                                              m_context.state, CountryFileKind::FlagPicture, region, country))
                                        : QImage();
    m_panel->showQuestion(asked, flag);
    m_awaitingAnswer = true;
    m_noticeShown = std::exchange(m_notice, QString());
    if (!m_noticeShown.isEmpty())
        m_panel->showNotice(m_noticeShown);
    ScreenReader::say(this, spokenState());
}

void ReviewSessionScreen::answerWith(int country)
{
    if (m_finished || !m_awaitingAnswer || country < 1)
        return;
    m_awaitingAnswer = false;
    m_noticeShown.clear();
    const int asked = m_session->current().entry.country;
    const RegionEntries &entries = entriesOf(m_regionId);
    const bool right = country == asked;
    if (m_session->answer(right, m_record, m_context.random) && !m_keeper.save(m_record) && !m_saveFailureTold) {
        m_saveFailureTold = true;
        m_notice = noticeText(ReviewKeeper::Notice::CannotSave);
    }

    playSound(right ? QStringLiteral("\\音\\o.wav") : QStringLiteral("\\音\\x.wav"));
    const QImage mark = DataFiles::readPicture(DataPath(
        m_context.state.DataRoot, right ? QStringLiteral("\\画像\\maru.gif") : QStringLiteral("\\画像\\batu.gif")));
    m_renderer->Highlight(asked);
    m_panel->setAccuracy(DrillRules::accuracyPercent(m_session->rightAtFirstCount(), m_session->firstAnswerCount()));
    m_feedbackSpoken = m_panel->showJudgement(right, entries.names.value(country), entries.names.value(asked), mark);
    Label6->setText(QString::number(m_session->remainingCount()));
    ScreenReader::say(this, m_feedbackSpoken + Gap + m_panel->accuracySpoken());
    m_pause->start();
}

const QTimer *ReviewSessionScreen::feedbackTimer() const
{
    return m_pause->timer();
}

void ReviewSessionScreen::timerTicked()
{
    m_pause->tick();
}

void ReviewSessionScreen::endPause()
{
    m_panel->endJudgement();
    m_renderer->ClearMap();
    askCurrent();
}

void ReviewSessionScreen::finish()
{
    m_finished = true;
    m_awaitingAnswer = false;
    Label1->hide();
    Label4->hide();
    Frame3->hide();
    m_panel->cueLabel()->hide();
    m_panel->setCueCaption(QStringLiteral("きょうの復習"));
    const QDate today = m_session->date();
    QStringList summary;
    if (m_session->questionCount() == 0) {
        summary << QStringLiteral("きょう復習する国はありません。");
        QDate next;
        for (const ReviewState &state : m_record.entries())
            if (!next.isValid() || state.due < next)
                next = state.due;
        if (next.isValid())
            summary << QStringLiteral("つぎの復習は %1 です。").arg(QLocale(QLocale::Japanese).toString(next, QStringLiteral("M月d日")));
    } else {
        m_panel->setAccuracy(DrillRules::accuracyPercent(m_session->rightAtFirstCount(), m_session->questionCount()));
        summary << QStringLiteral("はじめの答えで正解 %1 / %2 問")
                       .arg(m_session->rightAtFirstCount())
                       .arg(m_session->questionCount())
                << QStringLiteral("もう一度きいた国 %1").arg(m_session->askedAgainCount())
                << QStringLiteral("あしたの復習 %1 問")
                       .arg(m_record.dueCount(today.addDays(1), m_catalogue.keys));
    }
    m_summarySpoken = summary.join(Gap);
    Label11->setText(summary.join(QStringLiteral("<br><br>")));
    Label11->show();
    m_noticeShown = std::exchange(m_notice, QString());
    if (m_noticeShown.isEmpty())
        m_panel->showSummary({QStringLiteral("きょうの復習はおしまいです。")});
    else
        m_panel->showNotice(m_noticeShown);
    Command5->show();
    Command5->setFocus(Qt::OtherFocusReason);
    ScreenReader::say(this, spokenState());
}

QString ReviewSessionScreen::spokenState() const
{
    // A notice is told with what the screen shows until the pupil answers.
    const QString notice = m_noticeShown.isEmpty() ? QString() : m_noticeShown + Gap;
    if (m_finished)
        return notice + QStringLiteral("きょうの復習 おしまい") + Gap + m_summarySpoken;
    return notice + Label1->text().trimmed() + Gap + QStringLiteral("残 %1 問").arg(m_session->remainingCount());
}

void ReviewSessionScreen::leaveTo(const QString &screenName)
{
    if (!m_context.host.isRegistered(screenName))
        return;
    m_pause->stop();
    m_context.host.transition(windowTitle(), screenName);
}

void ReviewSessionScreen::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        m_pause->stop();
    ScreenWindow::hideEvent(event);
}

void ReviewSessionScreen::playSound(const QString &relativePath)
{
    m_context.sound.play(DataPath(m_context.state.DataRoot, relativePath).filePath());
}
