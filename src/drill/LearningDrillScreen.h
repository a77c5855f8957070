#pragma once

#include "AnswerPause.h"
#include "DrillProfile.h"
#include "LearningKind.h"
#include "LearningPanel.h"
#include "ReaskOrder.h"
#include "ScreenWindow.h"

#include <array>
#include <memory>

class CaptionFrame;
class HighlightRenderer;
class PictureBox;
class PictureButton;
class QLabel;
class QTimer;
class RegionMapView;
class TouchConfirm;
struct ScreenContext;

// A learning drill of one region (アジア国旗ドリル, アジア首都ドリル, アジア国名ドリル,
// and the review アジアドリル（もう一度）): asks what its kind asks of every
// entry it can ask, answered on the markers or by one of four names; after
// an answer it names the entry answered and the one asked, asks a missed
// entry again until it is answered right, and ends with the drill's medal
// or 不合格 for the first answers. It stores nothing.
class LearningDrillScreen : public ScreenWindow
{
    Q_OBJECT
public:
    LearningDrillScreen(ScreenContext &context, const DrillProfile &profile, const LearningKind &kind);
    ~LearningDrillScreen() override;

    const LearningKind &kind() const { return m_kind; }
    const ReaskOrder &order() const { return *m_order; }
    bool isFinished() const { return m_finished; }
    // The entry of the question being asked, or of the one whose pause runs.
    int askedCountry() const { return m_asked; }
    int accuracyPercent() const;

    PictureBox *titlePlate() const { return Image3; }
    PictureButton *restartButton() const { return Command3; }
    PictureButton *atlasButton() const { return Command1; }
    PictureButton *menuButton() const { return Command2; }
    // The four names of 国名ドリル; null in the drills answered on the markers.
    PictureButton *choiceButton(int index) const { return Command4[std::size_t(index)]; }
    PictureButton *reviewButton() const { return Command5; }
    PictureButton *confirmRestartButton() const { return Command6; }
    QLabel *remainingLabel() const { return Label6; }
    QLabel *questionLabel() const { return Label1; }
    PictureBox *questionPicture() const { return m_panel->questionPicture(); }
    QLabel *cueLabel() const { return m_panel->cueLabel(); }
    PictureBox *feedbackPicture() const { return m_panel->feedbackPicture(); }
    QLabel *feedbackText() const { return m_panel->feedbackText(); }
    QLabel *failNotice() const { return m_panel->failNotice(); }
    QLabel *accuracyLabel() const { return m_panel->accuracyLabel(); }
    RegionMapView *mapView() const { return Picture1; }
    const QTimer *feedbackTimer() const { return m_pause->timer(); }
    // The entry that choice button i names.
    int choiceCountry(int index) const { return m_choices.value(index); }

    // One tick of the feedback timer.
    void timerTicked();

    // A run with answers that is not over.
    bool workInProgress() const override;

protected:
    void pointerMovedOver(QWidget *under) override;
    void hideEvent(QHideEvent *event) override;
    // The question with the count left, or the verdict once the run is over.
    QString spokenState() const override;

private:
    void buildControls();
    void buildChoices();
    void readEntries();
    QList<qint16> askableEntries() const;
    void startRun(const QList<qint16> &entries);
    void askCurrent();
    void answerWith(int country);
    void endPause();
    void finish();
    void revealRestart();
    void hideRestart();
    void restart();
    void leaveTo(const QString &screenName);
    void playSound(const QString &relativePath);
    QString nameOf(int country) const;

    ScreenContext &m_context;
    const DrillProfile &m_profile;
    const LearningKind &m_kind;
    RegionEntries m_entries;
    QList<qint16> m_runEntries;
    std::unique_ptr<ReaskOrder> m_order;
    QList<qint16> m_choices;
    int m_asked = 0;
    bool m_awaitingAnswer = false;
    bool m_finished = false;
    QString m_feedbackSpoken;
    QString m_summarySpoken;
    qint16 restartShown = 0;

    PictureBox *Image3 = nullptr;
    PictureButton *Command3 = nullptr;
    PictureButton *Command1 = nullptr;
    PictureButton *Command2 = nullptr;
    CaptionFrame *Frame3 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label1 = nullptr;
    std::unique_ptr<LearningPanel> m_panel;
    std::array<PictureButton *, 4> Command4{};
    PictureButton *Command5 = nullptr;
    PictureButton *Command6 = nullptr;
    TouchConfirm *m_restartQuestion = nullptr;
    RegionMapView *Picture1 = nullptr;
    AnswerPause *m_pause = nullptr;
    std::unique_ptr<HighlightRenderer> m_renderer;
};
