#pragma once

#include <QByteArray>
#include <QString>

// The text of a data file. The files are written in code page 932 (Shift_JIS
// with Microsoft's extensions); today's editors save UTF-8 by default, with
// or without a byte order mark. Japanese text in code page 932 is practically
// never valid UTF-8, so a file that is valid UTF-8 and holds a byte beyond
// ASCII is read as UTF-8, and every other file as code page 932.
namespace DataText {

QString decode(const QByteArray &bytes);

} // namespace DataText
