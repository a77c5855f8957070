#pragma once

#include "DrillProfile.h"
#include "DrillRun.h"
#include "ScreenWindow.h"

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

// The location drill of one region (アジアドリル ... 南アメリカドリル): names one
// country at a time, judges the click on the map's markers, pauses on the
// circle or cross, and ends the run with a medal or 不合格.
class RegionDrillScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static constexpr int TimerInterval = 100;  // milliseconds

    RegionDrillScreen(ScreenContext &context, const DrillProfile &profile);
    ~RegionDrillScreen() override;

    const DrillProfile &profile() const { return m_profile; }
    const DrillRun &run() const { return m_run; }

    PictureBox *titlePlate() const { return Image3; }
    PictureButton *restartButton() const { return Command3; }
    PictureButton *atlasButton() const { return Command1; }
    PictureButton *menuButton() const { return Command2; }
    PictureButton *reviewButton() const { return Command4; }
    // The touch screen's second button before a run with answers restarts.
    PictureButton *confirmRestartButton() const { return Command6; }
    QWidget *remainingBox() const;
    QLabel *remainingLabel() const { return Label6; }
    QLabel *questionHeading() const { return Label4; }
    QLabel *questionLabel() const { return Label1; }
    CaptionFrame *judgementBox() const { return Frame1; }
    PictureBox *feedbackPicture() const { return Image2; }
    QLabel *failNotice() const { return Label8; }
    QLabel *accuracyLabel() const { return Label2; }
    RegionMapView *mapView() const { return Picture1; }
    const QTimer *feedbackTimer() const { return Timer1; }

    // One tick of the feedback timer.
    void timerTicked();

    // A run with answers that is not over.
    bool workInProgress() const override { return m_run.inProgress(); }

    qint16 hoverHighlightShown = 0;
    qint16 highlightCountry = 0;
    qint16 restartShown = 0;
    QRect feedbackHome;

protected:
    void pointerMovedOver(QWidget *under) override;
    void hideEvent(QHideEvent *event) override;
    // The question with the count left, or the verdict once the run is over.
    QString spokenState() const override;

private:
    void buildControls();
    void startRun();
    void chooseQuestion();
    void showQuestion();
    void hoverHighlight(int markerIndex);
    void hoverOut();
    void revealRestart();
    void hideRestart();
    void judgeAnswer(int markerIndex);
    // Shows a picture in the judgement box; `shows` names it in words.
    void showFeedbackPicture(const QString &relativePath, const QString &shows);
    void restart();
    void leaveTo(const QString &screenName);
    void reviewMisses();
    void FinishDrill();
    void playSound(const QString &relativePath);
    QString accuracySpoken() const;

    ScreenContext &m_context;
    const DrillProfile &m_profile;
    DrillRun m_run;

    PictureBox *Image3 = nullptr;
    PictureButton *Command3 = nullptr;
    PictureButton *Command1 = nullptr;
    PictureButton *Command2 = nullptr;
    PictureButton *Command4 = nullptr;
    PictureButton *Command6 = nullptr;
    TouchConfirm *m_restartQuestion = nullptr;
    CaptionFrame *Frame3 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label1 = nullptr;
    CaptionFrame *Frame1 = nullptr;
    PictureBox *Image2 = nullptr;
    QLabel *Label8 = nullptr;
    CaptionFrame *Frame2 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    RegionMapView *Picture1 = nullptr;
    QTimer *Timer1 = nullptr;
    std::unique_ptr<HighlightRenderer> m_renderer;
};
