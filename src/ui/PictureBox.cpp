#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

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
