#include "ScreenScale.h"

#include <algorithm>
#include <cmath>

namespace ScreenScale {

qreal fitting(QSize screen, QSizeF page, qreal devicePixelsPerCssPixel)
{
    if (screen.isEmpty() || page.isEmpty())
        return 1;
    const qreal fit = std::min(page.width() / screen.width(), page.height() / screen.height());
    if (fit < 1 || devicePixelsPerCssPixel >= 2)
        return fit;
    return std::floor(fit);
}

} // namespace ScreenScale
