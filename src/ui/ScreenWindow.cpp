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
    if (event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<QMouseEvent *>(event);
        QWidget *under = childAt(move->position().toPoint());
        FatalErrors::guard([&] { pointerMovedOver(under); });
    } else if (event->type() == QEvent::TouchBegin) {
        const auto *touch = static_cast<QTouchEvent *>(event);
        if (!touch->points().isEmpty()) {
            const QPoint position = touch->points().constFirst().position().toPoint();
            FatalErrors::guard([&] { touched(position); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ScreenWindow::touched(QPoint position)
{
    // A finger cannot rest on a picture. A touch on a control that a trigger
    // revealed is the pointer resting there, and the press follows; anywhere
    // else the finger arrives as the pointer would, across the background:
    // a tap on a trigger reveals, a tap on the background hides.
    QWidget *under = childAt(position);
    const auto *reveal = findChild<const KeyboardReveal *>(QString(), Qt::FindDirectChildrenOnly);
    if (!reveal || !reveal->isRevealedControl(under)) {
        pointerMovedOver(nullptr);
        under = childAt(position);
    }
    pointerMovedOver(under);
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
