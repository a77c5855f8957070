#include "WordArt.h"

#include "Fonts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

#include <cmath>
#include <functional>

namespace WordArt {

namespace {

// The largest font of the family whose rendering of text fits the box.
QFont fittingFont(const QString &family, const QString &text, QSizeF box, bool bold)
{
    qreal size = box.height() * 0.62;
    QFont font = Fonts::font(family, 10, bold);
    for (; size > 6; size -= 0.5) {
        font.setPixelSize(int(size));
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(text) <= box.width() && metrics.height() <= box.height())
            break;
    }
    return font;
}

QPainterPath textPath(const QFont &font, const QString &text, QRectF bounds)
{
    QPainterPath path;
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal baseline = bounds.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    path.addText(QPointF(bounds.center().x() - width / 2, baseline), font, text);
    return path;
}

// Filling a word's outline is most of a screen's first paint (in the browser
// a large outline overflows the rasterizer, which starts again): a picture is
// drawn once for its key (what it shows), size, scale and place within a
// device pixel, and copied onto whole device pixels from then on. A painter
// that turns, shears or stretches the picture draws it afresh.
void paintKept(QPainter &painter, QRect bounds, const QString &key,
               const std::function<void(QPainter &, QRect)> &draw)
{
    const qreal scale = painter.device() ? painter.device()->devicePixelRatio() : 0;
    const QTransform &device = painter.deviceTransform();
    if (scale <= 0 || device.type() > QTransform::TxScale || !qFuzzyCompare(device.m11(), scale)
        || !qFuzzyCompare(device.m22(), scale) || painter.opacity() < 1) {
        draw(painter, bounds);
        return;
    }
    // Where the picture starts on the device, and how far into that pixel.
    const QPointF start = device.map(QPointF(bounds.topLeft()));
    const QPointF pixel(std::floor(start.x()), std::floor(start.y()));
    const QPointF within = start - pixel;
    const QString id = QStringLiteral("WordArt|%1x%2|%3|%4,%5|")
                           .arg(bounds.width())
                           .arg(bounds.height())
                           .arg(scale, 0, 'g', 17)
                           .arg(within.x(), 0, 'g', 17)
                           .arg(within.y(), 0, 'g', 17)
                       + key;
    QPixmap picture;
    if (!QPixmapCache::find(id, &picture)) {
        picture = QPixmap(int(std::ceil(bounds.width() * scale + within.x())),
                          int(std::ceil(bounds.height() * scale + within.y())));
        picture.setDevicePixelRatio(scale);
        picture.fill(Qt::transparent);
        QPainter drawing(&picture);
        drawing.translate(within / scale);
        draw(drawing, QRect(QPoint(), bounds.size()));
        drawing.end();
        QPixmapCache::insert(id, picture);
    }
    painter.drawPixmap(device.inverted().map(pixel), picture);
}

QString colours(std::initializer_list<QColor> list)
{
    QString text;
    for (const QColor &colour : list)
        text += QString::number(colour.rgba(), 16) + QLatin1Char('|');
    return text;
}

void drawButtonFace(QPainter &painter, QRect bounds, const QString &word, QColor face, FaceState state,
                    bool focused)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(bounds).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin(outer.height() / 5, 9.0);

    QColor top = face.lighter(state == FaceState::Hovered ? 125 : 115);
    QColor bottom = face.darker(state == FaceState::Pressed ? 90 : 125);
    if (state == FaceState::Pressed)
        std::swap(top, bottom);
    QLinearGradient gradient(outer.topLeft(), outer.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(QPen(face.darker(220), 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(outer, radius, radius);

    // Bevel highlight along the top edge.
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outer.adjusted(2, 2, -2, -2), radius - 2, radius - 2);

    const QRectF textBox = outer.adjusted(outer.height() * 0.25, 3, -outer.height() * 0.25, -3)
                               .translated(state == FaceState::Pressed ? QPointF(1, 1) : QPointF());
    const QFont font = fittingFont(Fonts::Gothic, word, textBox.size(), true);
    const QPainterPath path = textPath(font, word, textBox);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.fillPath(path, face.darker(400));

    if (focused)
        paintFocusRing(painter, outer.adjusted(3, 3, -3, -3), radius - 3);
    painter.restore();
}

void drawWordPlate(QPainter &painter, QRect bounds, const QString &word, QColor plate, QColor ink)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(bounds).adjusted(1, 1, -1, -1);
    QLinearGradient gradient(outer.topLeft(), outer.bottomRight());
    gradient.setColorAt(0, plate.lighter(130));
    gradient.setColorAt(1, plate.darker(115));
    painter.setPen(QPen(plate.darker(200), 2));
    painter.setBrush(gradient);
    painter.drawRoundedRect(outer, 8, 8);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outer.adjusted(4, 4, -4, -4), 5, 5);

    const QRectF textBox = outer.adjusted(12, 5, -12, -5);
    const QFont font = fittingFont(Fonts::Mincho, word, textBox.size(), true);
    const QPainterPath path = textPath(font, word, textBox);
    painter.fillPath(path.translated(1.5, 1.5), QColor(0, 0, 0, 90));
    painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.fillPath(path, ink);
    painter.restore();
}

void drawTitle(QPainter &painter, QRect bounds, const QString &title, QColor fill, QColor outline)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(bounds).adjusted(4, 4, -4, -4);
    const QFont font = fittingFont(Fonts::Mincho, title, box.size(), true);
    const QPainterPath path = textPath(font, title, box);
    painter.fillPath(path.translated(3, 3), QColor(0, 0, 0, 80));
    painter.setPen(QPen(outline, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, fill.lighter(140));
    gradient.setColorAt(1, fill);
    painter.fillPath(path, gradient);
    painter.restore();
}

} // namespace

void paintButtonFace(QPainter &painter, QRect bounds, const QString &word, QColor face,
                     FaceState state, bool focused)
{
    paintKept(painter, bounds,
              QStringLiteral("face|%1|%2|").arg(int(state)).arg(focused) + colours({face}) + word,
              [&](QPainter &drawing, QRect area) { drawButtonFace(drawing, area, word, face, state, focused); });
}

void paintFocusRing(QPainter &painter, QRectF bounds, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 160), 2, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(bounds, radius, radius);
    painter.restore();
}

void paintWordPlate(QPainter &painter, QRect bounds, const QString &word, QColor plate, QColor ink)
{
    paintKept(painter, bounds, QStringLiteral("plate|") + colours({plate, ink}) + word,
              [&](QPainter &drawing, QRect area) { drawWordPlate(drawing, area, word, plate, ink); });
}

void paintTitle(QPainter &painter, QRect bounds, const QString &title, QColor fill, QColor outline)
{
    paintKept(painter, bounds, QStringLiteral("title|") + colours({fill, outline}) + title,
              [&](QPainter &drawing, QRect area) { drawTitle(drawing, area, title, fill, outline); });
}

} // namespace WordArt
