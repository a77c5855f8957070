// Pictures of the main menu and the region submenu.
#include "LandMask.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Pictures {

namespace {

constexpr double degree = std::numbers::pi / 180.0;

QImage canvas(int w, int h, QColor background)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// A soft cloth ripple over a flag, brightening and darkening in bands.
void ripple(QPainter &p, const QRectF &area)
{
    QLinearGradient g(area.topLeft(), area.topRight());
    const int bands = 8;
    for (int i = 0; i <= bands; ++i) {
        const double t = double(i) / bands;
        const double s = std::sin(t * 2.6 * std::numbers::pi + 0.6);
        g.setColorAt(t, s > 0 ? QColor(255, 255, 255, int(36 * s)) : QColor(0, 0, 0, int(-10 * s)));
    }
    p.fillRect(area, g);
}

void flagEdge(QPainter &p, const QRectF &area)
{
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
}

// Points on a quadratic scallop between two feather tips.
void scallop(QPainterPath &path, QPointF to, QPointF outward)
{
    const QPointF from = path.currentPosition();
    path.quadTo((from + to) / 2 + outward, to);
}

} // namespace

QImage dove()
{
    QImage image = canvas(281, 158, menuBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(70, 150, 175);

    // Far wing, behind the body.
    QPainterPath farWing;
    farWing.moveTo(112, 56);
    farWing.cubicTo(112, 34, 130, 14, 158, 4);
    scallop(farWing, {160, 16}, {5, -2});
    scallop(farWing, {158, 28}, {5, 0});
    scallop(farWing, {152, 40}, {5, 2});
    scallop(farWing, {144, 52}, {4, 3});
    farWing.lineTo(136, 62);
    farWing.closeSubpath();
    QLinearGradient farShade(112, 60, 158, 4);
    farShade.setColorAt(0, QColor(206, 222, 230));
    farShade.setColorAt(1, QColor(236, 244, 248));
    p.setPen(QPen(outline, 1.0));
    p.setBrush(farShade);
    p.drawPath(farWing);

    // Tail fan.
    QPainterPath tail;
    tail.moveTo(186, 78);
    tail.lineTo(236, 62);
    scallop(tail, {245, 75}, {4, -3});
    scallop(tail, {249, 89}, {5, 0});
    scallop(tail, {245, 103}, {4, 3});
    scallop(tail, {236, 112}, {3, 4});
    tail.lineTo(188, 96);
    tail.closeSubpath();
    QLinearGradient tailShade(186, 80, 248, 90);
    tailShade.setColorAt(0, QColor(250, 252, 253));
    tailShade.setColorAt(1, QColor(222, 234, 240));
    p.setBrush(tailShade);
    p.drawPath(tail);
    p.setPen(QPen(QColor(170, 200, 212), 0.8));
    p.drawLine(QPointF(200, 85), QPointF(244, 75));
    p.drawLine(QPointF(200, 88), QPointF(248, 89));
    p.drawLine(QPointF(200, 91), QPointF(244, 103));

    // Body and head.
    QPainterPath body;
    body.moveTo(84, 50);
    body.cubicTo(84, 36, 100, 31, 108, 41);
    body.cubicTo(120, 54, 150, 66, 192, 78);
    body.lineTo(196, 93);
    body.cubicTo(165, 106, 124, 100, 104, 83);
    body.cubicTo(95, 75, 87, 65, 84, 50);
    body.closeSubpath();
    QLinearGradient bodyShade(120, 45, 130, 102);
    bodyShade.setColorAt(0, QColor(255, 255, 255));
    bodyShade.setColorAt(0.55, QColor(246, 250, 252));
    bodyShade.setColorAt(1, QColor(206, 222, 230));
    p.setPen(QPen(outline, 1.0));
    p.setBrush(bodyShade);
    p.drawPath(body);

    // Beak and eye.
    QPainterPath beak;
    beak.moveTo(85, 46);
    beak.quadTo(76, 47, 71, 51);
    beak.quadTo(77, 53, 85, 53);
    beak.closeSubpath();
    p.setPen(QPen(QColor(190, 110, 40), 0.8));
    p.setBrush(QColor(244, 168, 64));
    p.drawPath(beak);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 40));
    p.drawEllipse(QPointF(93.5, 44), 2.3, 2.3);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(94.2, 43.3), 0.7, 0.7);

    // Olive twig held in the beak.
    const QColor stem(96, 120, 40);
    const QColor leaf(96, 160, 48);
    p.setPen(QPen(stem, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath twig;
    twig.moveTo(78, 51);
    twig.cubicTo(66, 60, 56, 72, 52, 90);
    p.drawPath(twig);
    // Leaves alternate along the twig, pointing towards its end.
    const double leafAt[] = {0.16, 0.3, 0.44, 0.58, 0.72, 0.86, 1.0};
    for (int i = 0; i < 7; ++i) {
        const double t = leafAt[i];
        const QPointF at = twig.pointAtPercent(t);
        const double along = -twig.angleAtPercent(t); // QPainter angles grow clockwise
        p.save();
        p.translate(at);
        p.rotate(i == 6 ? along : along + (i % 2 == 0 ? -48 : 48));
        QPainterPath blade;
        blade.moveTo(0, 0);
        blade.quadTo(5, -3.2, 11, 0);
        blade.quadTo(5, 3.2, 0, 0);
        QLinearGradient shade(0, -3, 0, 3);
        shade.setColorAt(0, leaf.lighter(130));
        shade.setColorAt(1, leaf.darker(120));
        p.setPen(QPen(leaf.darker(150), 0.6));
        p.setBrush(shade);
        p.drawPath(blade);
        p.restore();
    }

    // Near wing, raised over the body.
    QPainterPath wing;
    wing.moveTo(118, 60);
    wing.cubicTo(124, 34, 158, 10, 204, 4);
    scallop(wing, {203, 17}, {5, -2});
    scallop(wing, {198, 30}, {6, 0});
    scallop(wing, {190, 43}, {6, 2});
    scallop(wing, {180, 55}, {5, 3});
    scallop(wing, {168, 66}, {4, 4});
    wing.cubicTo(160, 74, 140, 76, 128, 72);
    wing.closeSubpath();
    QLinearGradient wingShade(120, 70, 204, 4);
    wingShade.setColorAt(0, QColor(255, 255, 255));
    wingShade.setColorAt(0.6, QColor(246, 250, 252));
    wingShade.setColorAt(1, QColor(222, 234, 240));
    p.setPen(QPen(outline, 1.0));
    p.setBrush(wingShade);
    p.drawPath(wing);
    // Feather lines.
    p.setPen(QPen(QColor(176, 204, 216), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF tips[] = {{200, 12}, {196, 25}, {190, 38}, {181, 50}, {170, 61}};
    for (const QPointF &tip : tips) {
        QPainterPath line;
        line.moveTo(tip);
        line.quadTo(tip + QPointF(-12, 5), tip + QPointF(-21, 13));
        p.drawPath(line);
    }
    QPainterPath covert;
    covert.moveTo(128, 56);
    covert.cubicTo(140, 40, 160, 30, 176, 28);
    p.drawPath(covert);
    return image;
}

QImage redCrossFlag()
{
    QImage image = canvas(150, 146, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The emblem: five equal squares.
    const double arm = 28;
    const QPointF c(75, 73);
    const QColor red(228, 0, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawRect(QRectF(c.x() - arm / 2, c.y() - 1.5 * arm, arm, 3 * arm));
    p.drawRect(QRectF(c.x() - 1.5 * arm, c.y() - arm / 2, 3 * arm, arm));
    ripple(p, QRectF(0, 0, 150, 146));
    flagEdge(p, QRectF(0, 0, 150, 146));
    return image;
}

QImage unitedNationsFlag(const LandMask &land)
{
    const int w = 192;
    const int h = 127;
    const QColor blue(75, 146, 219);
    const QColor white(255, 255, 255);
    QImage image = canvas(w, h, blue);
    const QPointF centre(96, 61);
    const double radius = 30; // the map reaches 60 degrees south

    // Azimuthal equidistant map around the North Pole, Greenwich downwards.
    const int ss = 4;
    for (int y = int(centre.y() - radius - 1); y <= int(centre.y() + radius + 1); ++y) {
        for (int x = int(centre.x() - radius - 1); x <= int(centre.x() + radius + 1); ++x) {
            double landShare = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    const double dx = x + (i + 0.5) / ss - centre.x();
                    const double dy = y + (j + 0.5) / ss - centre.y();
                    const double rho = std::hypot(dx, dy) / radius;
                    if (rho > 1.0)
                        continue;
                    const double lat = 90.0 - 150.0 * rho;
                    const double lon = std::atan2(dx, dy) / degree;
                    landShare += land.coverage(lon, lat) > 0.5 ? 1.0 : 0.0;
                }
            landShare /= ss * ss;
            if (landShare > 0) {
                const QColor base = image.pixelColor(x, y);
                image.setPixelColor(x, y, QColor::fromRgbF(base.redF() + (1 - base.redF()) * landShare,
                                                           base.greenF() + (1 - base.greenF()) * landShare,
                                                           base.blueF() + (1 - base.blueF()) * landShare));
            }
        }
    }

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Grid: five circles of latitude and eight meridians.
    p.setPen(QPen(white, 0.8));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 5; ++i)
        p.drawEllipse(centre, radius * i / 5, radius * i / 5);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 45 * degree;
        p.drawLine(centre, centre + QPointF(std::cos(a), std::sin(a)) * radius);
    }

    // Two olive branches, crossed below the map.
    const double wreath = radius + 6;
    p.setPen(QPen(white, 1.3, Qt::SolidLine, Qt::RoundCap));
    for (int side : {-1, 1}) {
        QPainterPath stem;
        const int steps = 40;
        const double from = -14; // degrees past the bottom, so the stems cross
        const double to = 152;   // degrees round from the bottom
        for (int k = 0; k <= steps; ++k) {
            const double a = (from + (to - from) * k / steps) * degree;
            const QPointF at = centre + QPointF(-side * std::sin(a), std::cos(a)) * wreath;
            if (k == 0)
                stem.moveTo(at);
            else
                stem.lineTo(at);
        }
        p.setBrush(Qt::NoBrush);
        p.drawPath(stem);
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        for (double g = 6; g <= 148; g += 11.5) {
            const double a = g * degree;
            const QPointF at = centre + QPointF(-side * std::sin(a), std::cos(a)) * wreath;
            // Direction along the stem towards its tip.
            const double along = std::atan2(-std::sin(a), -side * std::cos(a)) / degree;
            for (int leafSide : {-1, 1}) {
                p.save();
                p.translate(at);
                p.rotate(along + leafSide * 40);
                const double len = g > 140 ? 6.0 : 8.0;
                QPainterPath blade;
                blade.moveTo(0, 0);
                blade.quadTo(len / 2, -3.0, len, 0);
                blade.quadTo(len / 2, 3.0, 0, 0);
                p.drawPath(blade);
                p.restore();
            }
        }
        p.setPen(QPen(white, 1.3, Qt::SolidLine, Qt::RoundCap));
    }
    ripple(p, QRectF(0, 0, w, h));
    return image;
}

QImage olympicFlag()
{
    const int w = 197;
    const int h = 131;
    QImage image = canvas(w, h, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const double r = 23;                // centre line radius
    const double width = 4.6;           // ring thickness
    const double gap = 1.3;             // white edge where rings cross
    const double dx = 2.365 * r;        // between centres of a row
    const double dy = r;                // from the upper to the lower row
    const double left = (w - (2 * dx + 2 * r + width)) / 2 + r + width / 2;
    const double top = (h - (dy + 2 * r + width)) / 2 + r + width / 2;
    struct Ring
    {
        QPointF centre;
        QColor colour;
    };
    const Ring rings[5] = {
        {{left, top}, QColor(0, 129, 200)},                   // blue
        {{left + dx / 2, top + dy}, QColor(252, 177, 49)},    // yellow
        {{left + dx, top}, QColor(0, 0, 0)},                  // black
        {{left + 1.5 * dx, top + dy}, QColor(0, 166, 81)},    // green
        {{left + 2 * dx, top}, QColor(238, 51, 78)},          // red
    };
    auto arc = [&](const Ring &ring, double fromDeg, double spanDeg) {
        const QRectF box(ring.centre - QPointF(r, r), QSizeF(2 * r, 2 * r));
        QPainterPath path;
        path.arcMoveTo(box, fromDeg);
        path.arcTo(box, fromDeg, spanDeg);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, width + 2 * gap, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(path);
        p.setPen(QPen(ring.colour, width, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(path);
    };
    // Each ring over the ones before it ...
    for (const Ring &ring : rings)
        arc(ring, 0, 360);
    // ... then the crossings where an earlier ring passes in front: an upper
    // ring is in front where the lower ring to its right rises through it
    // (blue, black), and a lower ring where it rises through the upper ring
    // to its right (yellow, green).
    auto crossing = [&](const Ring &front, const Ring &other, bool upper) {
        const QPointF d = other.centre - front.centre;
        const double dist = std::hypot(d.x(), d.y());
        const QPointF mid = front.centre + d / 2;
        const double half = std::sqrt(r * r - dist * dist / 4);
        const QPointF n(-d.y() / dist, d.x() / dist);
        QPointF a = mid + n * half;
        QPointF b = mid - n * half;
        if ((a.y() > b.y()) == upper)
            std::swap(a, b);
        const QPointF v = a - front.centre;
        const double deg = std::atan2(-v.y(), v.x()) / degree; // Qt arcs run anticlockwise, y up
        arc(front, deg - 22, 44);
    };
    crossing(rings[0], rings[1], true);  // blue over yellow on blue's right
    crossing(rings[1], rings[2], true);  // yellow over black on black's left
    crossing(rings[2], rings[3], true);  // black over green on black's right
    crossing(rings[3], rings[4], true);  // green over red on red's left
    ripple(p, QRectF(0, 0, w, h));
    flagEdge(p, QRectF(0, 0, w, h));
    return image;
}

QImage globe(const LandMask &land)
{
    const int size = 100;
    QImage image = canvas(size, size, submenuBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(47, 43);
    const double radius = 35;
    const double tilt = 23.4 * degree; // the axis leans to the right
    const double lon0 = 112 * degree;  // Asia and Japan face the viewer
    const double lat0 = 22 * degree;

    const QColor brass(176, 128, 40);
    const QColor brassLight(240, 204, 120);
    // Base and stem.
    QLinearGradient metal(0, 0, size, 0);
    metal.setColorAt(0, brass.darker(130));
    metal.setColorAt(0.45, brassLight);
    metal.setColorAt(1, brass.darker(140));
    p.setPen(QPen(brass.darker(170), 0.8));
    p.setBrush(metal);
    p.drawRect(QRectF(centre.x() - 2.5, centre.y() + radius + 4, 5, 10));
    p.drawEllipse(QRectF(centre.x() - 22, size - 10, 44, 8));

    // Shadow of the ball.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 36));
    p.drawEllipse(centre + QPointF(2, 2), radius, radius);

    // The ball, drawn pixel by pixel with 4x4 samples.
    const double cosT = std::cos(tilt);
    const double sinT = std::sin(tilt);
    const double light[3] = {-0.45, 0.55, 0.70}; // from the upper left, towards the viewer
    QImage ball(size, size, QImage::Format_ARGB32_Premultiplied);
    ball.fill(Qt::transparent);
    const int ss = 4;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum[3] = {0, 0, 0};
            int inside = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    const double sx = (x + (i + 0.5) / ss - centre.x()) / radius;
                    const double sy = (centre.y() - (y + (j + 0.5) / ss)) / radius;
                    const double rr = sx * sx + sy * sy;
                    if (rr > 1.0)
                        continue;
                    ++inside;
                    const double sz = std::sqrt(1.0 - rr);
                    // Undo the tilt, then invert the orthographic projection.
                    const double gx = sx * cosT - sy * sinT;
                    const double gy = sx * sinT + sy * cosT;
                    const double lat = std::asin(std::clamp(sz * std::sin(lat0) + gy * std::cos(lat0), -1.0, 1.0));
                    const double lon = lon0 + std::atan2(gx, sz * std::cos(lat0) - gy * std::sin(lat0));
                    const double latDeg = lat / degree;
                    const double share = land.coverage(lon / degree, latDeg);
                    const double absLat = std::abs(latDeg);
                    // Sea deepens towards the equator; land is green with a dry belt.
                    QColor sea = QColor::fromRgbF(0.16, 0.44 + 0.1 * absLat / 90, 0.86);
                    const double dry = std::clamp(1.0 - std::abs(absLat - 24) / 12.0, 0.0, 1.0);
                    const double ice = std::clamp((absLat - 62) / 8.0, 0.0, 1.0);
                    double lr = 0.30 + 0.55 * dry;
                    double lg = 0.70 + 0.12 * dry;
                    double lb = 0.25 + 0.05 * dry;
                    lr += (0.95 - lr) * ice;
                    lg += (0.97 - lg) * ice;
                    lb += (0.98 - lb) * ice;
                    double c[3] = {sea.redF() + (lr - sea.redF()) * share, sea.greenF() + (lg - sea.greenF()) * share,
                                   sea.blueF() + (lb - sea.blueF()) * share};
                    const double diffuse = std::max(0.0, sx * light[0] + sy * light[1] + sz * light[2]);
                    const double shade = 0.45 + 0.6 * diffuse;
                    const double spec = std::pow(std::max(0.0, diffuse), 30) * 0.3;
                    for (int k = 0; k < 3; ++k)
                        sum[k] += std::clamp(c[k] * shade + spec, 0.0, 1.0);
                }
            if (inside == 0)
                continue;
            const double a = double(inside) / (ss * ss);
            ball.setPixel(x, y, qRgba(int(std::lround(255 * sum[0] / (ss * ss))), int(std::lround(255 * sum[1] / (ss * ss))),
                                      int(std::lround(255 * sum[2] / (ss * ss))), int(std::lround(255 * a))));
        }
    }
    p.drawImage(0, 0, ball);

    // Graticule every 30 degrees on the visible side.
    auto project = [&](double lonDeg, double latDeg, bool *visible) {
        const double lon = lonDeg * degree - lon0;
        const double lat = latDeg * degree;
        const double gx = std::cos(lat) * std::sin(lon);
        const double gy = std::cos(lat0) * std::sin(lat) - std::sin(lat0) * std::cos(lat) * std::cos(lon);
        const double gz = std::sin(lat0) * std::sin(lat) + std::cos(lat0) * std::cos(lat) * std::cos(lon);
        *visible = gz > 0.0;
        const double sx = gx * cosT + gy * sinT;
        const double sy = -gx * sinT + gy * cosT;
        return QPointF(centre.x() + sx * radius, centre.y() - sy * radius);
    };
    p.setPen(QPen(QColor(255, 255, 255, 110), 0.7));
    p.setBrush(Qt::NoBrush);
    auto trace = [&](auto point, double from, double to) {
        QPainterPath path;
        bool drawing = false;
        for (double t = from; t <= to + 1e-9; t += 2) {
            bool visible = false;
            const QPointF at = point(t, &visible);
            if (!visible) {
                drawing = false;
                continue;
            }
            if (drawing)
                path.lineTo(at);
            else
                path.moveTo(at);
            drawing = true;
        }
        p.drawPath(path);
    };
    for (int lon = -180; lon < 180; lon += 30)
        trace([&](double t, bool *v) { return project(lon, t, v); }, -88, 88);
    for (int lat = -60; lat <= 60; lat += 30)
        trace([&](double t, bool *v) { return project(t, lat, v); }, -180, 180);

    // Rim and the half meridian ring that holds the ball.
    p.setPen(QPen(QColor(20, 50, 110), 0.8));
    p.drawEllipse(centre, radius, radius);
    const QRectF ringBox(centre - QPointF(radius + 4, radius + 4), QSizeF(2 * radius + 8, 2 * radius + 8));
    const double northDeg = 90 - tilt / degree;
    p.setPen(QPen(brass.darker(150), 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(ringBox, int(northDeg * 16), int(-180 * 16));
    p.setPen(QPen(brassLight, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(ringBox, int(northDeg * 16), int(-180 * 16));
    return image;
}

} // namespace Pictures
