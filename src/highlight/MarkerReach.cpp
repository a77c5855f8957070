#include "MarkerReach.h"

#include <QLineF>

namespace MarkerReach {

QRect square(const MarkerRect &marker)
{
    constexpr int Side = 8;
    const bool far = marker.squareEnd == MarkerSquareEnd::Far;
    const int left = far && marker.width > Side ? marker.left + marker.width - Side : marker.left;
    const int top = far && marker.height > Side ? marker.top + marker.height - Side : marker.top;
    return QRect(left, top, Side, Side);
}

QPointF squareCentre(const MarkerRect &marker)
{
    return QRectF(square(marker)).center();
}

int nearestWithin(std::span<const MarkerRect> markers, QPointF point, qreal reach)
{
    int nearest = -1;
    qreal nearestDistance = reach;
    for (std::size_t k = 0; k < markers.size(); ++k) {
        const qreal distance = QLineF(point, squareCentre(markers[k])).length();
        if (distance < nearestDistance || (nearest < 0 && distance <= reach)) {
            nearest = int(k);
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace MarkerReach
