#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp932 {

namespace {

bool isLeadByte(quint8 byte)
{
    return (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
}

bool endsWithLoneLeadByte(const QByteArray &bytes)
{
    bool expectTrail = false;
    for (const char c : bytes)
        expectTrail = !expectTrail && isLeadByte(quint8(c));
    return expectTrail;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    // Stateless, so that a lone lead byte at the end is an error, not dropped.
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    // The decoder marks invalid sequences with U+001A (a real SUB byte stays)
    // and drops a lead byte that ends the input.
    if (!bytes.contains('\x1a'))
        text.replace(QChar(0x1a), QChar::ReplacementCharacter);
    if (endsWithLoneLeadByte(bytes))
        text.append(QChar::ReplacementCharacter);
    return text;
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace Cp932
