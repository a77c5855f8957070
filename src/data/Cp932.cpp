#include "Cp932.h"

#include "generated/Cp932Table.h"

#include <algorithm>
#include <array>
#include <vector>

namespace Cp932 {

namespace {

constexpr char16_t Replacement = 0xfffd;

// Written for a character that has no code, as ICU's windows-31j did.
constexpr char Substitute[] = "\xfc\xfc";

bool isLeadByte(quint8 byte)
{
    return (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
}

bool isTrailByte(quint8 byte)
{
    return byte >= 0x40 && byte <= 0xfc && byte != 0x7f;
}

int rowOf(quint8 lead)
{
    return lead <= 0x9f ? lead - 0x81 : lead - 0xe0 + 0x1f;
}

quint8 leadOf(int row)
{
    return quint8(row < 0x1f ? 0x81 + row : 0xe0 + row - 0x1f);
}

int cellOf(quint8 trail)
{
    return trail < 0x7f ? trail - 0x40 : trail - 0x41;
}

quint8 trailOf(int cell)
{
    return quint8(cell < 0x3f ? 0x40 + cell : 0x41 + cell);
}

char16_t character(quint8 lead, quint8 trail)
{
    const Cp932Table::Row &row = Cp932Table::rows[rowOf(lead)];
    const int cell = cellOf(trail);
    if (row.linearStart != 0)
        return char16_t(row.linearStart + cell);
    return cell < int(row.cells.size()) ? row.cells[cell] : Replacement;
}

struct Code
{
    char16_t character;
    quint16 bytes;
};

// Each character with its double-byte code, sorted by character. Of several
// codes for one character the first wins, in the order of Microsoft's
// encoder: JIS X 0208, NEC row 13 and the IBM extensions (FA-FC) before NEC's
// selection of IBM extensions (ED-EE).
std::vector<Code> makeCodes()
{
    std::vector<int> rowOrder;
    for (int row = 0; row < Cp932Table::RowCount; ++row) {
        if (leadOf(row) != 0xed && leadOf(row) != 0xee)
            rowOrder.push_back(row);
    }
    rowOrder.push_back(rowOf(0xed));
    rowOrder.push_back(rowOf(0xee));

    std::vector<Code> codes;
    for (const int row : rowOrder) {
        for (int cell = 0; cell < Cp932Table::CellCount; ++cell) {
            const char16_t c = character(leadOf(row), trailOf(cell));
            if (c != Replacement)
                codes.push_back({c, quint16(leadOf(row) << 8 | trailOf(cell))});
        }
    }
    std::stable_sort(codes.begin(), codes.end(),
                     [](const Code &a, const Code &b) { return a.character < b.character; });
    const auto sameCharacter = [](const Code &a, const Code &b) { return a.character == b.character; };
    codes.erase(std::unique(codes.begin(), codes.end(), sameCharacter), codes.end());
    return codes;
}

// The double-byte code of `c`, or 0.
quint16 codeOf(char16_t c)
{
    static const std::vector<Code> codes = makeCodes();
    const auto it = std::lower_bound(codes.begin(), codes.end(), c,
                                     [](const Code &code, char16_t c) { return code.character < c; });
    return it != codes.end() && it->character == c ? it->bytes : 0;
}

// Unicode's Default_Ignorable_Code_Point. ICU's encoder left these out when
// they have no code, rather than writing the substitute.
constexpr std::array<std::pair<char32_t, char32_t>, 17> DefaultIgnorable{{
    {0x00ad, 0x00ad}, {0x034f, 0x034f}, {0x061c, 0x061c}, {0x115f, 0x1160},
    {0x17b4, 0x17b5}, {0x180b, 0x180f}, {0x200b, 0x200f}, {0x202a, 0x202e},
    {0x2060, 0x206f}, {0x3164, 0x3164}, {0xfe00, 0xfe0f}, {0xfeff, 0xfeff},
    {0xffa0, 0xffa0}, {0xfff0, 0xfff8}, {0x1bca0, 0x1bca3}, {0x1d173, 0x1d17a},
    {0xe0000, 0xe0fff},
}};

bool isDefaultIgnorable(char32_t c)
{
    return std::any_of(DefaultIgnorable.begin(), DefaultIgnorable.end(),
                       [c](const auto &range) { return c >= range.first && c <= range.second; });
}

void appendCode(QByteArray &bytes, quint16 code)
{
    bytes += char(code >> 8);
    bytes += char(code & 0xff);
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 byte = quint8(bytes[i]);
        if (byte < 0x80) {
            text += QChar(byte);
        } else if (byte >= 0xa1 && byte <= 0xdf) {
            text += QChar(0xff61 + byte - 0xa1);
        } else if (isLeadByte(byte) && i + 1 < bytes.size() && isTrailByte(quint8(bytes[i + 1]))) {
            // A code without a character is one invalid sequence of two bytes.
            text += QChar(character(byte, quint8(bytes[++i])));
        } else {
            // 80, A0 and FD-FF, or a lead byte without its trail byte: the next
            // byte is read afresh.
            text += QChar(Replacement);
        }
    }
    return text;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            bytes += char(c);
        } else if (c >= 0xff61 && c <= 0xff9f) {
            bytes += char(c - 0xff61 + 0xa1);
        } else if (const quint16 code = codeOf(c)) {
            appendCode(bytes, code);
        } else if (c == 0xf86f) {
            // A private-use character that ICU's table also wrote as № (NEC row 13).
            appendCode(bytes, 0x8782);
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            if (!isDefaultIgnorable(QChar::surrogateToUcs4(c, text[++i].unicode())))
                bytes += Substitute;
        } else if (!isDefaultIgnorable(c)) {
            // Also a lone surrogate, wherever it stands.
            bytes += Substitute;
        }
    }
    return bytes;
}

} // namespace Cp932
