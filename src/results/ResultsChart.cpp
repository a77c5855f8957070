#include "ResultsChart.h"

#include "Fonts.h"
#include "RegionCatalogue.h"

#include <QPainter>

#include <array>

namespace ResultsChart {

namespace {

const QColor GridBlue(0, 0, 255);
const QColor CellBlue(0, 0, 200);
const QColor PassRed(255, 0, 0);
const QColor ScaleInk(0, 0, 128);

constexpr int GridRight = ZeroX + 100 * PixelsPerPoint;  // 639
constexpr int RowCount = 8;
constexpr int GridBottom = FirstRowLine + RowCount * RowHeight;  // 358

int xOfPoints(int points)
{
    return ZeroX + points * PixelsPerPoint;
}

struct MedalMark {
    int points;
    const char *text;
    QColor ink;
};

const std::array<MedalMark, 3> MedalMarks{{
    {60, "合格[銅]", QColor(176, 96, 32)},
    {80, "[銀]", QColor(96, 96, 112)},
    {90, "[金]", QColor(190, 140, 0)},
}};

} // namespace

QRect barRect(int regionId, int rate)
{
    if (rate <= 0)
        return {};
    const int top = FirstBarTop + RowHeight * (regionId - 1);
    return QRect(ZeroX, top, PixelsPerPoint * rate, BarHeight);
}

QImage drawPicture(qreal devicePixelRatio)
{
    QImage picture(PictureSize * devicePixelRatio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(QColor::fromRgb(Background));

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // Label cells with the region names, white on blue.
    painter.setFont(Fonts::font(Fonts::Mincho, 12, true));
    for (const RegionInfo &region : RegionCatalogue::all()) {
        const QRect cell(LabelCellLeft, FirstRowLine + RowHeight * (region.id - 1),
                         ZeroX - LabelCellLeft, RowHeight);
        painter.fillRect(cell, CellBlue);
        painter.setPen(Qt::white);
        painter.drawText(cell, Qt::AlignCenter, region.regionName());
    }

    // Row lines and the vertical grid, one line every 10 points.
    painter.setPen(QPen(GridBlue, 1));
    for (int k = 0; k <= RowCount; ++k) {
        const int y = FirstRowLine + RowHeight * k;
        painter.drawLine(LabelCellLeft, y, GridRight, y);
    }
    for (int points = 0; points <= 100; points += 10) {
        const int x = xOfPoints(points);
        painter.drawLine(x, FirstRowLine - 5, x, GridBottom);
    }
    painter.drawLine(LabelCellLeft, FirstRowLine, LabelCellLeft, GridBottom);

    // The scale along the top.
    painter.setFont(Fonts::font(Fonts::Mincho, 10, true));
    painter.setPen(ScaleInk);
    for (int points = 0; points <= 100; points += 10) {
        const QString label = points == 100 ? QStringLiteral("100%") : QString::number(points);
        const int x = xOfPoints(points);
        const int width = 40;
        QRect box(x - width / 2, FirstRowLine - 28, width, 20);
        if (points == 100)
            box.translate(8, 0);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, label);
    }

    // The pass mark, thicker and red, over the grid.
    const int passX = xOfPoints(PassMark);
    painter.fillRect(QRect(passX - 1, FirstRowLine - 5, 3, GridBottom - FirstRowLine + 13), PassRed);

    // The medal marks under the grid.
    painter.setFont(Fonts::font(Fonts::Mincho, 11, true));
    for (const MedalMark &mark : MedalMarks) {
        const QString text = QString::fromUtf8(mark.text);
        const int x = xOfPoints(mark.points);
        const int width = 90;
        painter.setPen(mark.ink);
        painter.drawText(QRect(x - width / 2, GridBottom + 10, width, 24), Qt::AlignCenter, text);
        painter.drawLine(x, GridBottom + 1, x, GridBottom + 8);
    }
    return picture;
}

void drawBar(QImage &surface, int regionId, int rate)
{
    const QRect bar = barRect(regionId, rate);
    if (bar.isEmpty())
        return;
    QPainter painter(&surface);
    painter.fillRect(bar, QColor::fromRgb(BarColour));
}

} // namespace ResultsChart
