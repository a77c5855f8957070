#include "DataText.h"

#include "Cp932.h"

#include <QStringDecoder>

#include <algorithm>

namespace DataText {

QString decode(const QByteArray &bytes)
{
    const bool beyondAscii = std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return quint8(c) >= 0x80; });
    if (beyondAscii) {
        // Stateless, so that a sequence cut off at the end is an error. The
        // decoder drops a byte order mark at the start.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return Cp932::decode(bytes);
}

} // namespace DataText
