#include "AnswerPause.h"

#include "DrillRun.h"
#include "FatalErrors.h"
#include "Seams.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

AnswerPause::AnswerPause(QWidget *screen, MonotonicClock &clock, std::function<void()> ended)
    : QObject(screen), m_screen(screen), m_clock(clock), m_ended(std::move(ended)), m_timer(new QTimer(screen))
{
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(TimerInterval);
    connect(m_timer, &QTimer::timeout, this, FatalErrors::guarded(this, &AnswerPause::tick));
}

AnswerPause::~AnswerPause()
{
    qApp->removeEventFilter(this);
}

void AnswerPause::keepMeaningOf(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls)
        m_keepMeaning.append(control);
}

void AnswerPause::start()
{
    m_answerTime = DrillRules::answerTimeOf(m_clock.seconds());
    m_timer->start();
    // Presses reach the control under the pointer or with the focus first.
    qApp->installEventFilter(this);
}

void AnswerPause::stop()
{
    m_timer->stop();
    qApp->removeEventFilter(this);
}

bool AnswerPause::isRunning() const
{
    return m_timer->isActive();
}

void AnswerPause::tick()
{
    if (m_timer->isActive() && DrillRules::pauseOver(m_clock.seconds(), m_answerTime))
        end();
}

void AnswerPause::end()
{
    stop();
    m_ended();
}

bool AnswerPause::endsPause(QObject *watched, QEvent *event) const
{
    if (!m_timer->isActive() || (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::KeyPress))
        return false;
    const auto *widget = qobject_cast<const QWidget *>(watched);
    if (!widget || widget->window() != m_screen)
        return false;
    for (const QPointer<QWidget> &kept : m_keepMeaning)
        if (kept == widget)
            return false;
    if (event->type() == QEvent::MouseButtonPress)
        return true;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

bool AnswerPause::eventFilter(QObject *watched, QEvent *event)
{
    bool ended = false;
    FatalErrors::guard([&] {
        ended = endsPause(watched, event);
        if (ended)
            end();
    });
    return ended || QObject::eventFilter(watched, event);
}
