#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QList>

class LandMask;
class QPainter;

namespace Pictures {

// Background of the judgement box in which the feedback pictures appear.
inline const QColor judgementBackground{255, 255, 192};
inline const QColor menuBackground{0, 255, 255};
inline const QColor submenuBackground{255, 192, 192};
inline const QColor flagBoxBackground{192, 255, 192};
inline const QColor flagBorder{64, 64, 64};

enum class Medal { Gold, Silver, Copper };

QImage circleMark();
QImage crossMark();
QImage medal(Medal kind);

QImage dove();
QImage redCrossFlag();
QImage unitedNationsFlag(const LandMask &land);
QImage olympicFlag();
QImage globe(const LandMask &land);

// A flag rendered with transparency, composited over the flag box colour
// and framed by a one-pixel border.
QImage framedFlag(const QImage &flag, QColor background = flagBoxBackground, QColor border = flagBorder);

// A brush stroke along points with a width per point and round ends.
struct StrokePoint
{
    QPointF at;
    double width;
};
void fillStroke(QPainter &painter, const QList<StrokePoint> &points, const QColor &colour);

} // namespace Pictures
