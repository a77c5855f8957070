#include "NameChoices.h"

#include "RandomDraw.h"

#include <algorithm>
#include <cmath>

namespace NameChoices {

QPointF markerPoint(const MarkerRect &marker)
{
    const QRectF rect = marker.rect();
    constexpr qreal Square = 8;
    if (rect.width() <= Square && rect.height() <= Square)
        return rect.center();
    const bool wide = rect.width() > rect.height();
    const bool squareNear = marker.squareEnd == MarkerSquareEnd::Near;
    // The leader leaves the square and ends at the far side of the rectangle.
    if (wide)
        return QPointF(squareNear ? rect.right() : rect.left(), rect.center().y());
    return QPointF(rect.center().x(), squareNear ? rect.bottom() : rect.top());
}

QList<qint16> nearestEntries(std::span<const MarkerRect> markers, int asked, int count)
{
    const int markerCount = int(markers.size());
    if (asked < 1 || asked > markerCount)
        return {};
    const QPointF from = markerPoint(markers[std::size_t(asked - 1)]);
    struct Candidate {
        qreal distance;
        qint16 entry;
    };
    QList<Candidate> candidates;
    for (int k = 0; k < markerCount; ++k) {
        if (k + 1 == asked)
            continue;
        const QPointF to = markerPoint(markers[std::size_t(k)]);
        candidates.append({std::hypot(to.x() - from.x(), to.y() - from.y()), qint16(k + 1)});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.distance < b.distance; });
    QList<qint16> nearest;
    for (const Candidate &candidate : candidates) {
        if (nearest.size() == count)
            break;
        nearest.append(candidate.entry);
    }
    return nearest;
}

QList<qint16> choicesFor(std::span<const MarkerRect> markers, int asked, RandomSource &random)
{
    QList<qint16> choices = nearestEntries(markers, asked, ChoiceCount - 1);
    choices.append(qint16(asked));
    RandomDraw::shuffle(choices, random);
    return choices;
}

} // namespace NameChoices
