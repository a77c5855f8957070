#pragma once

#include <QObject>

#include <functional>

class QAbstractButton;

// On a touch screen an action that destroys something asks first: a tap on
// its button shows a second, confirming button, and only a tap on that one
// does the action. The pointer and the keyboard act at once, as before.
class TouchConfirm : public QObject
{
    Q_OBJECT
public:
    // `destroys`: whether the action would lose something now.
    TouchConfirm(QAbstractButton *button, QAbstractButton *confirm, std::function<bool()> destroys,
                 std::function<void()> action);

    // Takes the question back, as the hide step of the button does.
    void withdraw();

private:
    void buttonPressed();

    QAbstractButton *m_button;
    QAbstractButton *m_confirm;
    std::function<bool()> m_destroys;
    std::function<void()> m_action;
};
