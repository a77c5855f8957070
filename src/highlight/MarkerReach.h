#pragma once

#include "MarkerLayout.h"

#include <QPointF>
#include <QRect>

#include <span>

// Where a finger meets the markers: a tap within reach of a marker's square
// counts as a tap on the nearest one, measured from the squares' centres.
namespace MarkerReach {

// The reach of a finger in CSS pixels.
constexpr qreal FingerCssPixels = 22;

// The 8 x 8 square of a marker, without its leader line, in map pixels.
QRect square(const MarkerRect &marker);
QPointF squareCentre(const MarkerRect &marker);

// k of the marker whose square's centre lies nearest `point` and within
// `reach` of it (the first of equals), or -1 when none does.
int nearestWithin(std::span<const MarkerRect> markers, QPointF point, qreal reach);

} // namespace MarkerReach
