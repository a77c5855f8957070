#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

// The accuracy chart: a fixed picture of eight rows with a 0..100% scale,
// on which each region's rate is drawn as a red bar. Coordinates are pixels
// of the 677 x 400 chart picture.
namespace ResultsChart {

inline constexpr QSize PictureSize(677, 400);
inline constexpr int ZeroX = 139;         // the 0% line
inline constexpr int PixelsPerPoint = 5;  // 100% at x = 639
inline constexpr int FirstBarTop = 67;
inline constexpr int RowHeight = 38;
inline constexpr int BarHeight = 14;
inline constexpr int FirstRowLine = 54;   // rows lie between y = 54 + 38k, k = 0..8
inline constexpr int LabelCellLeft = 20;
inline constexpr int PassMark = 60;

inline constexpr QRgb BarColour = 0xffff0000;
inline constexpr QRgb Background = 0xffffff80;

// The bar of region 1..8 at rate 0..100: from the 0% line, 5 pixels a point,
// 14 pixels high in the middle of its row. Empty for a rate of 0.
QRect barRect(int regionId, int rate);

// The chart picture without bars, drawn at the given device pixel ratio.
QImage drawPicture(qreal devicePixelRatio);

// Draws the bar of a region onto a copy of the chart picture.
void drawBar(QImage &surface, int regionId, int rate);

} // namespace ResultsChart
