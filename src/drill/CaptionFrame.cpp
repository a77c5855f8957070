#include "CaptionFrame.h"

#include "AccessibleRole.h"

#include <QFontMetrics>
#include <QPainter>

CaptionFrame::CaptionFrame(const QString &caption, QColor background, QColor captionColour,
                           QWidget *parent)
    : QWidget(parent), m_caption(caption), m_background(background), m_captionColour(captionColour)
{
    AccessibleRole::set(this, QAccessible::Grouping);
    setAccessibleName(caption);
}

void CaptionFrame::setCaption(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption);
    update();
}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);

    const QFontMetrics metrics(font());
    const int borderTop = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect border(0, borderTop, width() - 1, height() - 1 - borderTop);
    // Etched: a dark line with a light one inside it, offset by a pixel.
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(border.adjusted(1, 1, 0, 0));

    if (m_caption.isEmpty())
        return;
    const int captionLeft = 8;
    const QRect captionBox(captionLeft, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
    painter.fillRect(captionBox, m_background);
    painter.setPen(m_captionColour);
    painter.drawText(captionBox, Qt::AlignCenter, m_caption);
}
