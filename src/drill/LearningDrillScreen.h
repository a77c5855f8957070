#pragma once

#include "DrillProfile.h"
#include "LearningKind.h"
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
    static constexpr int TimerInterval = 100;  // milliseconds

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
    QLabel *remainingLabel() const { return Label6; }
    QLabel *questionLabel() const { return Label1; }
    PictureBox *questionPicture() const { return Image4; }
    QLabel *cueLabel() const { return Label9; }
    PictureBox *feedbackPicture() const { return Image2; }
    QLabel *feedbackText() const { return Label10; }
    QLabel *failNotice() const { return Label8; }
    QLabel *accuracyLabel() const { return Label2; }
    RegionMapView *mapView() const { return Picture1; }
    const QTimer *feedbackTimer() const { return Timer1; }
    // The entry that choice button i names.
    int choiceCountry(int index) const { return m_choices.value(index); }

    // One tick of the feedback timer.
    void timerTicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void pointerMovedOver(QWidget *under) override;
    void hideEvent(QHideEvent *event) override;
    // The question with the count left, or the verdict once the run is over.
    QString spokenState() const override;

private:
    void buildControls();
    void buildQuestionBox();
    void readEntries();
    QList<qint16> askableEntries() const;
    void startRun(const QList<qint16> &entries);
    void askCurrent();
    void answerWith(int country);
    void endPause();
    void stopPause();
    void finish();
    bool endsPause(QObject *watched, QEvent *event) const;
    void revealRestart();
    void hideRestart();
    void restart();
    void leaveTo(const QString &screenName);
    void showPicture(PictureBox *box, const QImage &picture, const QRect &home, const QString &shows);
    void playSound(const QString &relativePath);
    QString nameOf(int country) const;
    QString accuracySpoken() const;

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
    qint32 m_answerTime = 0;
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
    CaptionFrame *Frame4 = nullptr;
    PictureBox *Image4 = nullptr;
    QLabel *Label9 = nullptr;
    std::array<PictureButton *, 4> Command4{};
    QLabel *Label8 = nullptr;
    CaptionFrame *Frame1 = nullptr;
    PictureBox *Image2 = nullptr;
    QLabel *Label10 = nullptr;
    PictureButton *Command5 = nullptr;
    CaptionFrame *Frame2 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    RegionMapView *Picture1 = nullptr;
    QTimer *Timer1 = nullptr;
    std::unique_ptr<HighlightRenderer> m_renderer;
};
