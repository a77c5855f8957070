#pragma once

#include <QList>
#include <QObject>

#include <functional>
#include <vector>

class QWidget;

// The keyboard's way to what a screen reveals when the pointer rests on a
// trigger picture. Tab onto a trigger runs the screen's hide step for that
// element and then its reveal step, as the pointer crossing the background
// onto the trigger would, and puts the revealed control next in the tab
// order. Focus leaving the trigger and what it revealed (Tab past them,
// Shift+Tab) or Escape runs the hide step again. Triggers take the focus
// from the keyboard only, so pointer and clicks behave exactly as before.
// A revealed control that lies over its trigger's centre hides the trigger's
// focus ring, so there the focus goes on to the control at once, and
// Shift+Tab from the control passes over the trigger.
class KeyboardReveal : public QObject
{
    Q_OBJECT
public:
    explicit KeyboardReveal(QWidget *window);

    // `revealed`: the controls the reveal step may show (the one it shows
    // becomes the next stop after the trigger). `conceal`: the hide step of
    // this element alone, clearing its "shown" flag.
    void addTrigger(QWidget *trigger, const QList<QWidget *> &revealed, std::function<void()> reveal,
                    std::function<void()> conceal);

    // Whether `widget` is, or lies in, a control that a trigger may reveal.
    bool isRevealedControl(const QWidget *widget) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Rule {
        QWidget *trigger;
        QList<QWidget *> revealed;
        std::function<void()> reveal;
        std::function<void()> conceal;
        bool active = false;  // revealed from the keyboard and not hidden since
    };

    void focusChanged(QWidget *now);
    QWidget *revealFrom(Rule &rule);
    void leaveBackwards(Rule &rule);
    static void passFocusOn(QWidget *from, QWidget *to, Qt::FocusReason reason);
    QWidget *focusStopOf(const Rule &rule) const;
    bool covers(const QWidget *control, const QWidget *trigger) const;
    void escape(Rule &rule);
    bool contains(const Rule &rule, const QWidget *widget) const;

    QWidget *m_window;
    std::vector<Rule> m_rules;
    bool m_escaping = false;
};
