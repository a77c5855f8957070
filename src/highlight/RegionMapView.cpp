#include "RegionMapView.h"

#include "AccessibleRole.h"
#include "MarkerReach.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cstdlib>

namespace {

qreal g_fingerReach = MarkerReach::FingerCssPixels;

bool madeByFinger(const QMouseEvent *event)
{
    return event->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen;
}

} // namespace

MapMarker::MapMarker(int index, const MarkerRect &rect, QWidget *parent)
    : QWidget(parent), m_index(index), m_rect(rect)
{
    setObjectName(QStringLiteral("Image1(%1)").arg(index));
    setGeometry(rect.rect());
    setCursor(Qt::PointingHandCursor);
    // A marker is pressed to choose or to answer.
    AccessibleRole::set(this, QAccessible::Button);
}

void MapMarker::paintEvent(QPaintEvent *)
{
    constexpr int LineWidth = 2;
    QPainter painter(this);
    const QColor colour = QColor::fromRgb(Colour);
    // The square, and the leader line over the rest of the rectangle.
    const QRect square = MarkerReach::square(m_rect).translated(-m_rect.left, -m_rect.top);
    painter.fillRect(square, colour);
    if (width() > square.width()) {
        const int lineLeft = square.left() == 0 ? square.width() : 0;
        painter.fillRect(lineLeft, (square.height() - LineWidth) / 2, width() - square.width(), LineWidth, colour);
    } else if (height() > square.height()) {
        const int lineTop = square.top() == 0 ? square.height() : 0;
        painter.fillRect((square.width() - LineWidth) / 2, lineTop, LineWidth, height() - square.height(), colour);
    }
}

void MapMarker::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(event->button(), madeByFinger(event));
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

void MapMarker::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    emit focusGained(event->reason());
}

void MapMarker::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    emit focusLost();
}

RegionMapView::RegionMapView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    AccessibleRole::set(this, QAccessible::Graphic);
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
        connect(marker, &MapMarker::pressed, this, [this, index](Qt::MouseButton button, bool byFinger) {
            if (byFinger)
                pressedByFinger(index);
            emit markerPressed(index, button);
        });
        connect(marker, &MapMarker::entered, this, [this, index] { emit markerEntered(index); });
        connect(marker, &MapMarker::left, this, [this, index] { emit markerLeft(index); });
        connect(marker, &MapMarker::focusGained, this,
                [this, index](Qt::FocusReason reason) { markerFocusGained(index, reason); });
        connect(marker, &MapMarker::focusLost, this, &RegionMapView::updateRing);
        marker->setFocusPolicy(Qt::NoFocus);
        marker->show();
        m_markers.append(marker);
    }
    m_current = 0;
    setKeyboardNavigation(m_keyboardNavigation);
}

void RegionMapView::setFingerReach(qreal mapPixels)
{
    g_fingerReach = mapPixels;
}

void RegionMapView::mousePressEvent(QMouseEvent *event)
{
    if (!madeByFinger(event) || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    QList<MarkerRect> rects;
    for (const MapMarker *marker : std::as_const(m_markers))
        rects.append(marker->markerRect());
    const int nearest = MarkerReach::nearestWithin(rects, event->position(), g_fingerReach);
    if (nearest < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    pressedByFinger(nearest);
    emit markerPressed(nearest, Qt::LeftButton);
}

void RegionMapView::pressedByFinger(int index)
{
    const int press = ++m_pressCount;
    m_pressed = index;
    update();
    QTimer::singleShot(PressedShownMs, this, [this, press] {
        if (press != m_pressCount)
            return;
        m_pressed = -1;
        update();
    });
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

void RegionMapView::setKeyboardNavigation(bool on)
{
    m_keyboardNavigation = on;
    for (MapMarker *marker : std::as_const(m_markers))
        marker->setFocusPolicy(on && marker->index() == m_current ? Qt::TabFocus : Qt::NoFocus);
    updateRing();
}

void RegionMapView::focusMarker(int index, Qt::FocusReason reason)
{
    MapMarker *target = marker(index);
    if (!m_keyboardNavigation || !target)
        return;
    MapMarker *previous = marker(m_current);
    m_current = index;
    target->setFocusPolicy(Qt::TabFocus);
    target->setFocus(reason);
    if (previous && previous != target)
        previous->setFocusPolicy(Qt::NoFocus);
    updateRing();
}

void RegionMapView::markerFocusGained(int index, Qt::FocusReason reason)
{
    m_current = index;
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::ShortcutFocusReason)
        m_keyboardUsed = true;
    updateRing();
}

int RegionMapView::nearestMarker(int from, int arrowKey) const
{
    const MapMarker *origin = marker(from);
    if (!origin)
        return -1;
    // Centres in half pixels, so that they stay whole numbers.
    const auto centre = [](const MapMarker *marker) {
        const QRect r = marker->markerRect().rect();
        return QPoint(2 * r.left() + r.width(), 2 * r.top() + r.height());
    };
    const QPoint start = centre(origin);
    int best = -1;
    int bestScore = 0;
    int bestAlong = 0;
    for (const MapMarker *candidate : m_markers) {
        if (candidate == origin)
            continue;
        const QPoint d = centre(candidate) - start;
        int along = 0;
        int across = 0;
        switch (arrowKey) {
        case Qt::Key_Right: along = d.x(); across = d.y(); break;
        case Qt::Key_Left: along = -d.x(); across = d.y(); break;
        case Qt::Key_Down: along = d.y(); across = d.x(); break;
        case Qt::Key_Up: along = -d.y(); across = d.x(); break;
        default: return -1;
        }
        if (along <= 0)
            continue;
        // Straight ahead counts more than off to the side.
        const int score = along + 2 * std::abs(across);
        if (best < 0 || score < bestScore || (score == bestScore && along < bestAlong)) {
            best = candidate->index();
            bestScore = score;
            bestAlong = along;
        }
    }
    return best;
}

QRect RegionMapView::focusRing() const
{
    const MapMarker *focused = marker(m_current);
    if (!m_keyboardNavigation || !m_keyboardUsed || !focused || !focused->hasFocus())
        return {};
    constexpr int Margin = RingGap + RingWidth;
    return focused->geometry().adjusted(-Margin, -Margin, Margin, Margin);
}

void RegionMapView::updateRing()
{
    const QRect ring = focusRing();
    if (ring == m_ringShown)
        return;
    update(m_ringShown);
    update(ring);
    m_ringShown = ring;
}

void RegionMapView::keyPressEvent(QKeyEvent *event)
{
    // Keys reach the map from its focused marker, which does not take them.
    const int index = markerIndexOf(QApplication::focusWidget());
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!m_keyboardNavigation || index < 0 || !plain) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        m_keyboardUsed = true;
        const int next = nearestMarker(index, event->key());
        if (next >= 0)
            focusMarker(next, Qt::OtherFocusReason);
        else
            updateRing();
        event->accept();
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        m_keyboardUsed = true;
        updateRing();
        if (!event->isAutoRepeat())
            emit markerActivated(index);
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void RegionMapView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Map pixels are scaled up as blocks: no smoothing may grey the borders.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QPoint(0, 0), m_surface);

    if (const MapMarker *pressed = marker(m_pressed)) {
        constexpr int Margin = RingGap + RingWidth;
        const QRect square = MarkerReach::square(pressed->markerRect());
        paintRing(painter, square.adjusted(-Margin, -Margin, Margin, Margin), QColor::fromRgb(PressedColour));
    }
    const QRect ring = focusRing();
    if (!ring.isEmpty())
        paintRing(painter, ring, QColor::fromRgb(RingColour));
}

void RegionMapView::paintRing(QPainter &painter, QRect ring, QColor colour)
{
    painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), RingWidth), colour);
    painter.fillRect(QRect(ring.left(), ring.bottom() - RingWidth + 1, ring.width(), RingWidth), colour);
    painter.fillRect(QRect(ring.left(), ring.top(), RingWidth, ring.height()), colour);
    painter.fillRect(QRect(ring.right() - RingWidth + 1, ring.top(), RingWidth, ring.height()), colour);
}
