#pragma once

#include <QRect>
#include <QSize>

#include <cmath>

// Rounds to the nearest integer, halves to the even neighbour.
inline int roundHalfEven(double value)
{
    return int(std::nearbyint(value));
}

// A picture of its natural size centred on a laid-out box: the offsets are
// worked out with fractional division and rounded half to even.
inline QRect centredOn(const QRect &box, QSize picture)
{
    const double left = box.left() + (box.width() - picture.width()) / 2.0;
    const double top = box.top() + (box.height() - picture.height()) / 2.0;
    return QRect(roundHalfEven(left), roundHalfEven(top), picture.width(), picture.height());
}
