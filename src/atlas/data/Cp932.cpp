#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp932 {

QString decode(const QByteArray &bytes)
{
    // Stateless, so that a lone lead byte at the end is an error, not dropped.
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    // The decoder marks invalid sequences with U+001A; a real SUB byte stays.
    if (decoder.hasError() && !bytes.contains('\x1a'))
        text.replace(QChar(0x1a), QChar::ReplacementCharacter);
    return text;
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace Cp932
