#pragma once

#include <QRect>
#include <QtGlobal>

#include <span>

// Marker rectangles on a region map, in map pixels. A marker is an 8 x 8
// magenta square, or such a square with a two-pixel leader line that points
// at a small country (20 x 8, 15 x 8, 8 x 19 or 8 x 14).

enum class MarkerSquareEnd : quint8 {
    Near,  // square at the left (wide markers) or at the top (tall markers)
    Far,   // square at the right (wide markers) or at the bottom (tall markers)
};

struct MarkerRect {
    qint16 left;
    qint16 top;
    qint16 width;
    qint16 height;
    MarkerSquareEnd squareEnd;

    QRect rect() const { return QRect(left, top, width, height); }
};

struct RegionMarkerLayout {
    qint16 regionId;
    std::span<const MarkerRect> atlasMarkers;  // element k belongs to CountryIndex k + 1
    std::span<const MarkerRect> drillMarkers;  // same count; equal to atlasMarkers except where a drill differs
};

// The markers of a region, RegionId 1..8.
const RegionMarkerLayout &markerLayout(int regionId);
