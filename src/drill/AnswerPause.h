#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class MonotonicClock;
class QTimer;
class QWidget;

// The pause after an answer in a learning screen: it ends on its own after
// the drill's pause, or at once on Enter, Space, a click or a tap anywhere on
// the screen but on the controls that keep their own meaning. Presses are
// watched only while the pause runs.
class AnswerPause : public QObject
{
    Q_OBJECT
public:
    static constexpr int TimerInterval = 100;  // milliseconds

    // `ended` runs when the pause is over, however it ends.
    AnswerPause(QWidget *screen, MonotonicClock &clock, std::function<void()> ended);
    ~AnswerPause() override;

    // Controls whose presses do not end the pause.
    void keepMeaningOf(const QList<QWidget *> &controls);
    void start();
    void stop();
    bool isRunning() const;
    const QTimer *timer() const { return m_timer; }
    // One tick of the timer.
    void tick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool endsPause(QObject *watched, QEvent *event) const;
    void end();

    QWidget *m_screen;
    MonotonicClock &m_clock;
    std::function<void()> m_ended;
    QTimer *m_timer;
    qint32 m_answerTime = 0;
    QList<QPointer<QWidget>> m_keepMeaning;
};
