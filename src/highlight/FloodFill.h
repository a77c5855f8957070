#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <span>

// Border fill: paints every pixel 4-connected to the seed through pixels
// whose colour is not exactly the border colour. Border pixels stay; any
// other colour in the area is painted over. A seed outside the image or on
// the border colour paints nothing. Returns the number of pixels painted.
// The image must be in Format_RGB32 or Format_ARGB32; alpha is ignored.
qsizetype floodFill(QImage &image, QPoint seed, QRgb fillColour, QRgb borderColour);

// The same fill from every seed in turn, with the same pixels as a call per
// seed. An area that an earlier seed filled is not walked again, since
// painting it again changes nothing. Returns the pixels painted, each once.
qsizetype floodFill(QImage &image, std::span<const QPoint> seeds, QRgb fillColour, QRgb borderColour);
