#pragma once

#include <QFont>
#include <QString>

// The screens name the Windows Japanese fonts; on Linux the IPA fonts
// stand in for them through font substitution.
namespace Fonts {

inline const QString Mincho = QStringLiteral("ＭＳ 明朝");
inline const QString PMincho = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString Gothic = QStringLiteral("ＭＳ ゴシック");

void installSubstitutions();

QFont font(const QString &family, qreal pointSize, bool bold = false);

} // namespace Fonts
