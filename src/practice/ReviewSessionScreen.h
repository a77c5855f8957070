#pragma once

#include "DrillProfile.h"
#include "LearningKind.h"
#include "LearningPanel.h"
#include "ReviewDesk.h"
#include "ReviewSession.h"
#include "ScreenWindow.h"

#include <QHash>

#include <memory>
#include <optional>

class AnswerPause;
class CaptionFrame;
class HighlightRenderer;
class PictureBox;
class PictureButton;
class QLabel;
class QTimer;
class RegionMapView;
struct ScreenContext;

// きょうの復習: one session of the review spaced over days. It asks the
// planned entries on their own region's map, the map changing with the
// region, by place, flag or capital as the plan says; feedback and asking
// again follow the learning drills. Each first answer is kept in the record
// at once.
class ReviewSessionScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString ScreenName = QStringLiteral("きょうの復習");

    ReviewSessionScreen(ScreenContext &context, ReviewDesk &desk);
    ~ReviewSessionScreen() override;

    const ReviewSession &session() const { return *m_session; }
    const ReviewRecord &record() const { return m_record; }
    bool isFinished() const { return m_finished; }
    // The region whose map shows, 0 before the first question.
    int shownRegion() const { return m_regionId; }

    PictureButton *recordButton() const { return Command1; }
    PictureButton *menuButton() const { return Command2; }
    PictureButton *endRecordButton() const { return Command5; }
    QLabel *remainingLabel() const { return Label6; }
    QLabel *questionLabel() const { return Label1; }
    const LearningPanel &panel() const { return *m_panel; }
    QLabel *summaryLabel() const { return Label11; }
    RegionMapView *mapView() const { return Picture1; }
    const QTimer *feedbackTimer() const;
    void timerTicked();

protected:
    void hideEvent(QHideEvent *event) override;
    QString spokenState() const override;

private:
    void buildControls();
    void openRecord();
    void showRegion(int regionId);
    RegionEntries &entriesOf(int regionId);
    const LearningKind &kindOf(ReviewQuestionKind kind) const;
    void askCurrent();
    void answerWith(int country);
    void endPause();
    void finish();
    void tell(const QString &notice);
    void leaveTo(const QString &screenName);
    void playSound(const QString &relativePath);

    ScreenContext &m_context;
    ReviewDesk &m_desk;
    ReviewKeeper m_keeper;
    ReviewCatalogue m_catalogue;
    ReviewRecord m_record;
    std::unique_ptr<ReviewSession> m_session;
    QHash<int, RegionEntries> m_regionEntries;
    std::optional<DrillProfile> m_profile;  // the region's, widened to this screen
    int m_regionId = 0;
    bool m_awaitingAnswer = false;
    bool m_finished = false;
    bool m_saveFailureTold = false;
    QString m_notice;       // to be told with the next question or the end
    QString m_noticeShown;  // told, and shown until the next answer
    QString m_feedbackSpoken;
    QString m_summarySpoken;

    PictureBox *Image3 = nullptr;
    PictureButton *Command3 = nullptr;
    PictureButton *Command1 = nullptr;
    PictureButton *Command2 = nullptr;
    CaptionFrame *Frame3 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label1 = nullptr;
    std::unique_ptr<LearningPanel> m_panel;
    QLabel *Label11 = nullptr;
    PictureButton *Command5 = nullptr;
    RegionMapView *Picture1 = nullptr;
    std::unique_ptr<HighlightRenderer> m_renderer;
    AnswerPause *m_pause = nullptr;
};
