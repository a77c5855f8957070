// Country flags rendered from SVG, prepared for the atlas flag box.
#include "Pictures.h"

#include <QPainter>

namespace Pictures {

namespace {

bool hasTransparentPixels(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) < 255)
                return true;
    }
    return false;
}

} // namespace

QImage framedFlag(const QImage &flag, QColor background, QColor border)
{
    // A flag that is not a rectangle (Nepal) keeps its own outline: a frame
    // round its empty corner would look like part of the flag.
    QImage out(flag.width() + 2, flag.height() + 2, QImage::Format_RGB32);
    out.fill(hasTransparentPixels(flag) ? background : border);
    QPainter p(&out);
    p.fillRect(1, 1, flag.width(), flag.height(), background);
    p.drawImage(1, 1, flag.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return out;
}

} // namespace Pictures
