#include "TouchConfirm.h"

#include "FatalErrors.h"
#include "ScreenWindow.h"

#include <QAbstractButton>

TouchConfirm::TouchConfirm(QAbstractButton *button, QAbstractButton *confirm, std::function<bool()> destroys,
                           std::function<void()> action)
    : QObject(button), m_button(button), m_confirm(confirm), m_destroys(std::move(destroys)),
      m_action(std::move(action))
{
    m_confirm->hide();
    connect(m_button, &QAbstractButton::clicked, this, FatalErrors::guarded(this, &TouchConfirm::buttonPressed));
    connect(m_confirm, &QAbstractButton::clicked, this, FatalErrors::guarded([this] {
                withdraw();
                m_action();
            }));
}

void TouchConfirm::withdraw()
{
    m_confirm->hide();
}

void TouchConfirm::buttonPressed()
{
    if (ScreenWindow::pressedByTouch(m_button) && m_destroys()) {
        m_confirm->show();
        m_confirm->raise();
        return;
    }
    withdraw();
    m_action();
}
