#include "RegionMapView.h"

#include <QMouseEvent>
#include <QPainter>

MapMarker::MapMarker(int index, const MarkerRect &rect, QWidget *parent)
    : QWidget(parent), m_index(index), m_rect(rect)
{
    setObjectName(QStringLiteral("Image1(%1)").arg(index));
    setGeometry(rect.rect());
    setCursor(Qt::PointingHandCursor);
}

void MapMarker::paintEvent(QPaintEvent *)
{
    constexpr int Square = 8;
    constexpr int LineWidth = 2;
    QPainter painter(this);
    const QColor colour = QColor::fromRgb(Colour);
    const int w = width();
    const int h = height();
    const bool far = m_rect.squareEnd == MarkerSquareEnd::Far;
    if (w > Square) {
        const int squareLeft = far ? w - Square : 0;
        painter.fillRect(squareLeft, 0, Square, Square, colour);
        const int lineLeft = far ? 0 : Square;
        painter.fillRect(lineLeft, (Square - LineWidth) / 2, w - Square, LineWidth, colour);
    } else if (h > Square) {
        const int squareTop = far ? h - Square : 0;
        painter.fillRect(0, squareTop, Square, Square, colour);
        const int lineTop = far ? 0 : Square;
        painter.fillRect((Square - LineWidth) / 2, lineTop, LineWidth, h - Square, colour);
    } else {
        painter.fillRect(rect(), colour);
    }
}

void MapMarker::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(event->button());
}

void MapMarker::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    emit entered();
}

void MapMarker::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    emit left();
}

RegionMapView::RegionMapView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
}

void RegionMapView::setMap(const QImage &map)
{
    m_pristine = map.convertToFormat(QImage::Format_RGB32);
    m_surface = m_pristine;
    update();
}

void RegionMapView::surfaceChanged()
{
    update();
}

void RegionMapView::clear()
{
    m_surface = m_pristine;
    update();
}

void RegionMapView::setMarkers(std::span<const MarkerRect> rects)
{
    qDeleteAll(m_markers);
    m_markers.clear();
    m_markers.reserve(qsizetype(rects.size()));
    for (const MarkerRect &rect : rects) {
        auto *marker = new MapMarker(int(m_markers.size()), rect, this);
        const int index = marker->index();
        connect(marker, &MapMarker::pressed, this,
                [this, index](Qt::MouseButton button) { emit markerPressed(index, button); });
        connect(marker, &MapMarker::entered, this, [this, index] { emit markerEntered(index); });
        connect(marker, &MapMarker::left, this, [this, index] { emit markerLeft(index); });
        marker->show();
        m_markers.append(marker);
    }
}

MapMarker *RegionMapView::marker(int index) const
{
    return index >= 0 && index < m_markers.size() ? m_markers.at(index) : nullptr;
}

int RegionMapView::markerIndexOf(const QWidget *widget) const
{
    for (const MapMarker *marker : m_markers) {
        if (marker == widget)
            return marker->index();
    }
    return -1;
}

void RegionMapView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_surface);
}
