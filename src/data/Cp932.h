#pragma once

#include <QByteArray>
#include <QString>

// Text of the data files: Shift_JIS as Windows code page 932. Invalid byte
// sequences become U+FFFD; they do not stop the reading. Both directions go
// through the table in generated/, so no ICU is needed.
namespace Cp932 {

QString decode(const QByteArray &bytes);
QByteArray encode(const QString &text);

} // namespace Cp932
