#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

// Drawing of the word pictures: button faces, title plates and titles. Each
// picture is drawn once for what it shows, its size and the device's pixel
// ratio, and kept (QPixmapCache) for every later paint of it.
namespace WordArt {

enum class FaceState { Normal, Hovered, Pressed };

void paintButtonFace(QPainter &painter, QRect bounds, const QString &word, QColor face,
                     FaceState state, bool focused);

// The dotted ring of keyboard focus along the bounds.
void paintFocusRing(QPainter &painter, QRectF bounds, qreal radius = 3);

// A raised plate with the word, as the screens' title plates (国しらべ, 国ドリル, 正解率).
void paintWordPlate(QPainter &painter, QRect bounds, const QString &word, QColor plate,
                    QColor ink);

// Large title lettering with an outline and a shadow, on a transparent ground.
void paintTitle(QPainter &painter, QRect bounds, const QString &title, QColor fill,
                QColor outline);

} // namespace WordArt
