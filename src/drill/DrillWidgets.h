#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <functional>
#include <tuple>

class CaptionFrame;
class PictureBox;
class PictureButton;
class QLabel;
class QWidget;
class RegionMapView;
class TouchConfirm;
struct DrillProfile;

// Controls that every drill screen lays out alike.
namespace DrillWidgets {

inline const QColor PlateInk(200, 30, 30);

// A label of one font and colour pair, filled with its ground.
QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, const QFont &font, QColor ink,
              QColor ground, Qt::Alignment alignment = Qt::AlignCenter);

// The top of every drill screen: the title plate Image3 with the drill's
// word and the restart button Command3 over it (hidden), 国しらべ Command1 and
// メニュー Command2, the count left Frame3 ("残", Label6, "問"), and the
// question row: Label4 " 問 題 " and the question Label1. The restart button
// calls `restart`, the other two `leaveTo` with the atlas's or the menu's name.
// A tap on the restart button while `restartLoses` a run asks first with
// Command6 "本当にやり直す" over the count (`restartQuestion`).
// `sideWord` and `sideScreen`, when given, put another screen in the atlas's place.
struct TitleRow {
    PictureBox *plate;
    PictureButton *restart;
    PictureButton *atlas;
    PictureButton *menu;
    CaptionFrame *remaining;
    QLabel *remainingNumber;
    QLabel *heading;
    QLabel *question;
    PictureButton *confirmRestart;
    TouchConfirm *restartQuestion;

    auto controls() const
    {
        return std::make_tuple(plate, restart, atlas, menu, remaining, remainingNumber, heading, question);
    }
};
TitleRow titleRow(QWidget *parent, const DrillProfile &profile, const QString &word, std::function<void()> restart,
                  std::function<bool()> restartLoses, std::function<void(const QString &screenName)> leaveTo,
                  const QString &sideWord = QString(),
                  const QString &sideScreen = QString());

// Picture1: the region's map with the drill's markers, named by number and
// place only, as a drill never names a country's marker.
RegionMapView *regionMap(QWidget *parent, const DrillProfile &profile);

// What a screen reader says of marker k: "マーカー 3 左上".
QString markerName(const RegionMapView &map, int markerIndex);

} // namespace DrillWidgets
