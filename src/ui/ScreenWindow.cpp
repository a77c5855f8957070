#include "ScreenWindow.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>

ScreenWindow::ScreenWindow(const QString &caption, QSize clientSize, QColor background,
                           QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(caption);
    setWindowTitle(caption);
    setFixedSize(clientSize);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

void ScreenWindow::mouseMoveEvent(QMouseEvent *event)
{
    pointerMovedOver(childAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void ScreenWindow::pointerMovedOver(QWidget *) {}

void ScreenWindow::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}
