#pragma once

#include <QSize>
#include <QSizeF>

namespace ScreenScale {

// The scale at which a screen of `screen` pixels is drawn on a page of
// `page` CSS pixels: the largest at which it fits, a whole number unless the
// device has two or more device pixels per CSS pixel, where a fraction still
// looks sharp. A page too small for the screen shrinks it to fit.
qreal fitting(QSize screen, QSizeF page, qreal devicePixelsPerCssPixel);

} // namespace ScreenScale
