#include "FloodFill.h"

#include <vector>

namespace {

struct Span {
    int x;
    int y;
};

} // namespace

qsizetype floodFill(QImage &image, QPoint seed, QRgb fillColour, QRgb borderColour)
{
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    if (seed.x() < 0 || seed.y() < 0 || seed.x() >= width || seed.y() >= height)
        return 0;

    const QRgb border = borderColour & RGB_MASK;
    const QRgb fill = 0xff000000u | (fillColour & RGB_MASK);
    std::vector<quint8> visited(std::size_t(width) * std::size_t(height), 0);
    auto row = [&](int y) { return reinterpret_cast<QRgb *>(image.scanLine(y)); };
    auto open = [&](const QRgb *line, int x, int y) {
        return (line[x] & RGB_MASK) != border && !visited[std::size_t(y) * width + x];
    };

    if ((row(seed.y())[seed.x()] & RGB_MASK) == border)
        return 0;

    qsizetype painted = 0;
    std::vector<Span> pending{{seed.x(), seed.y()}};
    while (!pending.empty()) {
        const Span start = pending.back();
        pending.pop_back();
        QRgb *line = row(start.y);
        if (!open(line, start.x, start.y))
            continue;

        int left = start.x;
        while (left > 0 && open(line, left - 1, start.y))
            --left;
        int right = start.x;
        while (right + 1 < width && open(line, right + 1, start.y))
            ++right;

        quint8 *visitedRow = visited.data() + std::size_t(start.y) * width;
        for (int x = left; x <= right; ++x) {
            line[x] = fill;
            visitedRow[x] = 1;
        }
        painted += right - left + 1;

        // Queue the start of every open run above and below this span.
        for (int y : {start.y - 1, start.y + 1}) {
            if (y < 0 || y >= height)
                continue;
            const QRgb *neighbour = row(y);
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool isOpen = open(neighbour, x, y);
                if (isOpen && !inRun)
                    pending.push_back({x, y});
                inRun = isOpen;
            }
        }
    }
    return painted;
}
