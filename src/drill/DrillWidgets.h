#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class CaptionFrame;
class PictureBox;
class QLabel;
class QWidget;
class RegionMapView;
struct DrillProfile;

// Controls that every drill screen lays out alike.
namespace DrillWidgets {

inline const QColor PlateInk(200, 30, 30);

// A label of one font and colour pair, filled with its ground.
QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, const QFont &font, QColor ink,
              QColor ground, Qt::Alignment alignment = Qt::AlignCenter);

// The title plate Image3 with the drill's word.
PictureBox *titlePlate(QWidget *parent, const QString &word);

// Frame3, the count of questions left: "残", the number (Label6, returned in
// `number`) and "問".
CaptionFrame *remainingBox(QWidget *parent, QLabel **number);

// Picture1: the region's map with the drill's markers, named by number and
// place only, as a drill never names a country's marker.
RegionMapView *regionMap(QWidget *parent, const DrillProfile &profile);

// What a screen reader says of marker k: "マーカー 3 左上".
QString markerName(const RegionMapView &map, int markerIndex);

} // namespace DrillWidgets
