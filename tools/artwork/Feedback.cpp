// The circle and cross marks and the three medals of the drill's judgement box.
#include "Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Pictures {

void fillStroke(QPainter &painter, const QList<StrokePoint> &points, const QColor &colour)
{
    if (points.size() < 2)
        return;
    QPolygonF outline;
    QList<QPointF> right;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF prev = points[std::max<qsizetype>(0, i - 1)].at;
        const QPointF next = points[std::min(points.size() - 1, i + 1)].at;
        QPointF tangent = next - prev;
        const double len = std::hypot(tangent.x(), tangent.y());
        if (len > 0)
            tangent /= len;
        const QPointF normal(-tangent.y(), tangent.x());
        const double half = points[i].width / 2;
        outline << points[i].at + normal * half;
        right.append(points[i].at - normal * half);
    }
    for (qsizetype i = right.size() - 1; i >= 0; --i)
        outline << right[i];
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    // Winding fill keeps the parts where the stroke crosses itself solid.
    painter.drawPolygon(outline, Qt::WindingFill);
    for (const StrokePoint &end : {points.first(), points.last()})
        painter.drawEllipse(end.at, end.width / 2, end.width / 2);
    painter.restore();
}

namespace {

QImage canvas(int w, int h, QColor background)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

double smoothstep(double a, double b, double x)
{
    const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

struct Metal
{
    QColor light;
    QColor mid;
    QColor dark;
    QColor ribbon;
    QColor ribbonDark;
    QString character;
};

Metal metal(Medal kind)
{
    switch (kind) {
    case Medal::Gold:
        return {{255, 244, 170}, {236, 184, 30}, {150, 96, 0}, {214, 32, 40}, {150, 16, 24}, QStringLiteral("金")};
    case Medal::Silver:
        return {{252, 252, 255}, {192, 198, 210}, {104, 110, 124}, {36, 84, 196}, {20, 50, 130}, QStringLiteral("銀")};
    case Medal::Copper:
        break;
    }
    return {{255, 204, 160}, {196, 112, 58}, {106, 50, 18}, {24, 140, 70}, {12, 90, 44}, QStringLiteral("銅")};
}

} // namespace

QImage circleMark()
{
    // A teacher's red circle: one brush stroke, started at the top and
    // drawn anticlockwise a little past its start.
    QImage image = canvas(120, 120, judgementBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(60, 61);
    const double startDeg = -80; // just right of the top (y grows downwards)
    const double sweepDeg = 385;
    QList<StrokePoint> points;
    const int steps = 160;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double a = (startDeg - sweepDeg * t) * std::numbers::pi / 180.0;
        const double r = 45.5 - 3.5 * t + 1.2 * std::sin(2 * a);
        const double width = 6.0 + 10.0 * smoothstep(0.0, 0.12, t) - 7.0 * smoothstep(0.86, 1.0, t);
        points.append({centre + QPointF(r * 1.03 * std::cos(a), r * std::sin(a)), width});
    }
    fillStroke(p, points, QColor(222, 22, 28));
    return image;
}

QImage crossMark()
{
    // A bold dark-blue cross of two slightly curved, tapering strokes.
    QImage image = canvas(120, 120, judgementBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    auto stroke = [](QPointF from, QPointF to, double bow) {
        QList<StrokePoint> points;
        const QPointF d = to - from;
        const QPointF normal(-d.y() / std::hypot(d.x(), d.y()), d.x() / std::hypot(d.x(), d.y()));
        const int steps = 60;
        for (int i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            const double width = 15.0 + 2.0 * smoothstep(0.0, 0.2, t) - 5.0 * smoothstep(0.75, 1.0, t);
            points.append({from + d * t + normal * (bow * std::sin(std::numbers::pi * t)), width});
        }
        return points;
    };
    const QColor ink(24, 44, 150);
    fillStroke(p, stroke({22, 20}, {99, 100}, 3.0), ink);
    fillStroke(p, stroke({98, 19}, {21, 101}, -3.0), ink);
    return image;
}

QImage medal(Medal kind)
{
    const Metal m = metal(kind);
    QImage image = canvas(112, 126, judgementBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(56, 80);
    const double radius = 43;

    // Ribbon: two straps meeting behind the medal, each with a white stripe.
    auto strap = [&](const QPolygonF &shape, const QPolygonF &stripe, bool leftSide) {
        QLinearGradient shade(shape.boundingRect().topLeft(), shape.boundingRect().topRight());
        shade.setColorAt(0, leftSide ? m.ribbon : m.ribbonDark);
        shade.setColorAt(1, leftSide ? m.ribbonDark : m.ribbon);
        p.setPen(QPen(m.ribbonDark, 1));
        p.setBrush(shade);
        p.drawPolygon(shape);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 250));
        p.drawPolygon(stripe);
    };
    strap(QPolygonF({{14, 0}, {42, 0}, {70, 52}, {46, 58}}), QPolygonF({{25, 0}, {31, 0}, {60, 54}, {54, 56}}), true);
    strap(QPolygonF({{70, 0}, {98, 0}, {66, 58}, {42, 52}}), QPolygonF({{81, 0}, {87, 0}, {58, 56}, {52, 54}}), false);

    // Suspension ring.
    p.setPen(QPen(m.dark, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(56, 36), 5, 4);

    // Shadow, rim and face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(centre + QPointF(2.5, 2.5), radius, radius);
    QLinearGradient rim(centre + QPointF(-radius, -radius), centre + QPointF(radius, radius));
    rim.setColorAt(0.0, m.light);
    rim.setColorAt(0.45, m.mid);
    rim.setColorAt(1.0, m.dark);
    p.setBrush(rim);
    p.drawEllipse(centre, radius, radius);
    QLinearGradient face(centre + QPointF(-radius, -radius), centre + QPointF(radius, radius));
    face.setColorAt(0.0, m.dark);
    face.setColorAt(0.5, m.mid);
    face.setColorAt(1.0, m.light);
    p.setBrush(face);
    p.drawEllipse(centre, radius - 5, radius - 5);
    QRadialGradient glow(centre + QPointF(-10, -12), radius - 6);
    glow.setColorAt(0.0, QColor(255, 255, 255, 120));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(glow);
    p.drawEllipse(centre, radius - 6, radius - 6);

    // Engraved ring of dots.
    for (int i = 0; i < 36; ++i) {
        const double a = i * 2 * std::numbers::pi / 36;
        const QPointF at = centre + QPointF(std::cos(a), std::sin(a)) * (radius - 9.5);
        p.setBrush(m.dark);
        p.drawEllipse(at + QPointF(0.4, 0.4), 1.1, 1.1);
        p.setBrush(m.light);
        p.drawEllipse(at, 0.9, 0.9);
    }

    // Embossed character.
    QFont font(QStringLiteral("IPAMincho"));
    font.setPixelSize(44);
    font.setBold(true);
    p.setFont(font);
    const QRectF box(centre.x() - 30, centre.y() - 29, 60, 60);
    p.setPen(m.light);
    p.drawText(box.translated(-1, -1), Qt::AlignCenter, m.character);
    p.setPen(m.dark);
    p.drawText(box.translated(1.5, 1.5), Qt::AlignCenter, m.character);
    p.setPen(m.mid.darker(112));
    p.drawText(box, Qt::AlignCenter, m.character);
    return image;
}

} // namespace Pictures
