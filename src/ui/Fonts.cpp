#include "Fonts.h"

namespace Fonts {

void installSubstitutions()
{
    QFont::insertSubstitution(Mincho, QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(PMincho, QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(Gothic, QStringLiteral("IPAGothic"));
}

QFont font(const QString &family, qreal pointSize, bool bold)
{
    QFont result(family);
    result.setPointSizeF(pointSize);
    result.setBold(bold);
    result.setStyleStrategy(QFont::PreferAntialias);
    return result;
}

} // namespace Fonts
