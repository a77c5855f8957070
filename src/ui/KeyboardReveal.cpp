#include "KeyboardReveal.h"

#include "FatalErrors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

// The control itself, or the first of its children that Tab reaches (the
// list inside a pop-up frame).
QWidget *tabStopOf(QWidget *control)
{
    if (control->focusPolicy() & Qt::TabFocus)
        return control;
    for (QWidget *child : control->findChildren<QWidget *>()) {
        if (child->focusPolicy() & Qt::TabFocus)
            return child;
    }
    return nullptr;
}

} // namespace

KeyboardReveal::KeyboardReveal(QWidget *window) : QObject(window), m_window(window)
{
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { FatalErrors::guard([&] { focusChanged(now); }); });
}

bool KeyboardReveal::isRevealedControl(const QWidget *widget) const
{
    for (; widget != nullptr && widget != m_window; widget = widget->parentWidget()) {
        for (const Rule &rule : m_rules) {
            if (std::find(rule.revealed.cbegin(), rule.revealed.cend(), widget) != rule.revealed.cend())
                return true;
        }
    }
    return false;
}

void KeyboardReveal::addTrigger(QWidget *trigger, const QList<QWidget *> &revealed,
                                std::function<void()> reveal, std::function<void()> conceal)
{
    trigger->setFocusPolicy(Qt::TabFocus);
    trigger->installEventFilter(this);
    for (QWidget *control : revealed) {
        if (QWidget *stop = tabStopOf(control))
            stop->installEventFilter(this);
    }
    m_rules.push_back(Rule{trigger, revealed, std::move(reveal), std::move(conceal)});
}

bool KeyboardReveal::contains(const Rule &rule, const QWidget *widget) const
{
    if (widget == rule.trigger)
        return true;
    for (const QWidget *control : rule.revealed) {
        if (control == widget || control->isAncestorOf(widget))
            return true;
    }
    return false;
}

void KeyboardReveal::focusChanged(QWidget *now)
{
    // Focus going to another window, or nowhere, leaves everything as it is.
    if (m_escaping || !now || now->window() != m_window)
        return;
    // All hiding first: triggers may share what they reveal.
    for (Rule &rule : m_rules) {
        if (rule.active && !contains(rule, now)) {
            rule.active = false;
            rule.conceal();
        }
    }
    for (Rule &rule : m_rules) {
        if (now != rule.trigger)
            continue;
        if (!rule.active) {
            QWidget *stop = revealFrom(rule);
            if (stop && covers(stop, rule.trigger))
                passFocusOn(rule.trigger, stop, Qt::TabFocusReason);
        } else if (const QWidget *stop = focusStopOf(rule); stop && covers(stop, rule.trigger)) {
            // Shift+Tab from the control that hides this trigger.
            leaveBackwards(rule);
        }
        return;
    }
}

// After the focus change under way has ended, so that assistive technology
// hears the two changes in their order.
void KeyboardReveal::passFocusOn(QWidget *from, QWidget *to, Qt::FocusReason reason)
{
    QTimer::singleShot(0, to, [from = QPointer<QWidget>(from), to, reason] {
        if (from && from->hasFocus() && to->isVisible())
            to->setFocus(reason);
    });
}

// The visible revealed control's tab stop, made the next stop after the trigger.
QWidget *KeyboardReveal::revealFrom(Rule &rule)
{
    rule.conceal();
    rule.reveal();
    rule.active = true;
    QWidget *stop = focusStopOf(rule);
    if (stop)
        QWidget::setTabOrder(rule.trigger, stop);
    return stop;
}

QWidget *KeyboardReveal::focusStopOf(const Rule &rule) const
{
    for (QWidget *control : rule.revealed) {
        if (control->isVisibleTo(m_window))
            return tabStopOf(control);
    }
    return nullptr;
}

bool KeyboardReveal::covers(const QWidget *control, const QWidget *trigger) const
{
    const QRect over(control->mapTo(m_window, QPoint()), control->size());
    const QRect under(trigger->mapTo(m_window, QPoint()), trigger->size());
    return over.contains(under.center());
}

void KeyboardReveal::leaveBackwards(Rule &rule)
{
    rule.active = false;
    rule.conceal();
    QWidget *previous = rule.trigger->previousInFocusChain();
    while (previous != rule.trigger
           && !((previous->focusPolicy() & Qt::TabFocus) && previous->isVisibleTo(m_window)
                && previous->isEnabled() && previous->window() == m_window))
        previous = previous->previousInFocusChain();
    if (previous != rule.trigger)
        passFocusOn(rule.trigger, previous, Qt::BacktabFocusReason);
}

void KeyboardReveal::escape(Rule &rule)
{
    m_escaping = true;
    rule.trigger->setFocus(Qt::OtherFocusReason);
    m_escaping = false;
    rule.active = false;
    rule.conceal();
}

bool KeyboardReveal::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        for (Rule &rule : m_rules) {
            if (rule.active && watched->isWidgetType() && contains(rule, static_cast<QWidget *>(watched))) {
                FatalErrors::guard([&] { escape(rule); });
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
