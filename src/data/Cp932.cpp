#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp932 {

namespace {

bool isLeadByte(quint8 byte)
{
    return (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
}

bool endsWithLoneLeadByte(QByteArrayView bytes)
{
    bool expectTrail = false;
    for (const char c : bytes)
        expectTrail = !expectTrail && isLeadByte(quint8(c));
    return expectTrail;
}

// ICU's windows-31j keeps IBM's exchange of three control codes (byte 1A is
// U+001C, 1C is U+007F, 7F is U+001A); code page 932 maps them to
// themselves. They are never part of a double-byte character, so the text
// between them is converted by ICU and they are converted here.
bool isExchangedControl(char16_t code)
{
    return code == 0x1a || code == 0x1c || code == 0x7f;
}

QString decodeRun(QByteArrayView bytes)
{
    // Stateless, so that a lone lead byte at the end is an error, not dropped.
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    // Without a 7F byte in the run, U+001A can only be the decoder's mark of
    // an invalid sequence. The decoder drops a lead byte that ends the input.
    text.replace(QChar(0x1a), QChar::ReplacementCharacter);
    if (endsWithLoneLeadByte(bytes))
        text.append(QChar::ReplacementCharacter);
    return text;
}

QByteArray encodeRun(QStringView text)
{
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QString text;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (!isExchangedControl(quint8(bytes[i])))
            continue;
        text += decodeRun(QByteArrayView(bytes).sliced(start, i - start));
        text += QChar(quint8(bytes[i]));
        start = i + 1;
    }
    return text + decodeRun(QByteArrayView(bytes).sliced(start));
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isExchangedControl(text[i].unicode()))
            continue;
        bytes += encodeRun(QStringView(text).sliced(start, i - start));
        bytes += char(text[i].unicode());
        start = i + 1;
    }
    return bytes + encodeRun(QStringView(text).sliced(start));
}

} // namespace Cp932
