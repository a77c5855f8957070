#include "PictureBox.h"

#include "AccessibleRole.h"
#include "WordArt.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    AccessibleRole::set(this, QAccessible::Graphic);
}

void PictureBox::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PictureBox::setDrawing(Drawing drawing)
{
    m_drawing = std::move(drawing);
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_image.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, !m_nearest);
        painter.drawImage(QRect(QPoint(0, 0), m_image.size()), m_image);
    }
    if (m_drawing)
        m_drawing(painter, rect());
    // Only the keyboard gives a picture the focus (a trigger of a reveal).
    if (hasFocus())
        WordArt::paintFocusRing(painter, QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->button());
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}
