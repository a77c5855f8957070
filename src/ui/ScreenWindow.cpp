#include "ScreenWindow.h"

#include "AccessibleRole.h"
#include "FatalErrors.h"
#include "KeyboardReveal.h"
#include "ScreenReader.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QWindow>

ScreenWindow::ScreenWindow(const QString &caption, QSize clientSize, QColor background,
                           QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    // A window named by its caption, as screen readers announce windows.
    AccessibleRole::set(this, QAccessible::Window);
    setObjectName(caption);
    setWindowTitle(caption);
    setFixedSize(clientSize);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    setAutoFillBackground(true);
}

void ScreenWindow::showEvent(QShowEvent *event)
{
    // Watch the native window: it sees every move, whether or not the
    // control under the pointer tracks the mouse.
    if (QWindow *window = windowHandle()) {
        window->removeEventFilter(this);
        window->installEventFilter(this);
    }
    QWidget::showEvent(event);
}

bool ScreenWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != windowHandle())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        QWidget *under = childAt(move->position().toPoint());
        FatalErrors::guard([&] { pointerMovedOver(under); });
        break;
    }
    case QEvent::TouchBegin: {
        const auto *touch = static_cast<QTouchEvent *>(event);
        if (!touch->points().isEmpty()) {
            const QPoint position = touch->points().constFirst().position().toPoint();
            m_swallowingTap = false;
            FatalErrors::guard([&] { m_swallowingTap = touched(position); });
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (swallowsTouchPress(*static_cast<QMouseEvent *>(event)))
            return true;
        break;
    case QEvent::KeyPress:
        m_pressedByTouch = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool ScreenWindow::pressedByTouch(const QWidget *control)
{
    const auto *screen = qobject_cast<const ScreenWindow *>(control->window());
    return screen && screen->m_pressedByTouch;
}

bool ScreenWindow::swallowsTouchPress(const QMouseEvent &event)
{
    const bool byTouch = event.pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen;
    if (event.type() != QEvent::MouseButtonRelease)
        m_pressedByTouch = byTouch;
    if (!byTouch || !m_swallowingTap)
        return false;
    if (event.type() == QEvent::MouseButtonRelease)
        m_swallowingTap = false;
    return true;
}

bool ScreenWindow::touched(QPoint position)
{
    // A touch on a control that a trigger revealed is the pointer resting
    // there, and the press follows; anywhere else the finger arrives as the
    // pointer would, across the background: a tap on a trigger reveals, a
    // tap on the background hides.
    QWidget *under = childAt(position);
    const auto *reveal = findChild<const KeyboardReveal *>(QString(), Qt::FindDirectChildrenOnly);
    if (reveal && reveal->isRevealedControl(under)) {
        pointerMovedOver(under);
        return false;
    }
    pointerMovedOver(nullptr);
    pointerMovedOver(childAt(position));
    return reveal && reveal->isRevealedControl(childAt(position));
}

void ScreenWindow::pointerMovedOver(QWidget *) {}

QString ScreenWindow::spokenState() const
{
    return QString();
}

void ScreenWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ScreenReader::say(this, spokenState());
    QWidget::changeEvent(event);
}

void ScreenWindow::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}
