#pragma once

#include <QColor>

// The colours of the screens, named as their layouts name them.
namespace Palette {

inline const QColor White(255, 255, 255);
inline const QColor Black(0, 0, 0);
inline const QColor Red(255, 0, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor DarkBlue(0, 0, 192);
inline const QColor DarkGreen(0, 64, 0);
inline const QColor Cyan(0, 255, 255);
inline const QColor Magenta(255, 0, 255);
inline const QColor Periwinkle(128, 128, 255);
inline const QColor LightGreen(192, 255, 192);
inline const QColor LightPink(255, 192, 192);
inline const QColor LightBlue(192, 192, 255);
inline const QColor LightYellow(255, 255, 192);

// Button faces and title plates.
inline const QColor RegionFace(255, 255, 160);   // region buttons, 国しらべ
inline const QColor MenuFace(170, 200, 255);     // メニュー
inline const QColor RestartFace(255, 190, 120);  // 再スタート
inline const QColor GoldPlate(255, 214, 90);     // 国ドリル, 正解率
inline const QColor ConfirmFace(255, 120, 120);  // 本当に消す, 本当にやり直す

} // namespace Palette
