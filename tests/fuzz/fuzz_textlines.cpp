// Line files (s*.txt, y*.txt) and the decoders beneath them: code page 932,
// or UTF-8 for a file that is valid UTF-8 beyond ASCII.

#include "FuzzSupport.h"

#include "AppState.h"
#include "CountryData.h"
#include "Cp932.h"
#include "DataText.h"
#include "RegionCatalogue.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

FuzzDataRoot &dataRoot()
{
    static FuzzDataRoot root;
    return root;
}

DataPath overviewPath()
{
    AppState state;
    state.DataRoot = dataRoot().root();
    return CountryFilePath(state, CountryFileKind::Overview, RegionCatalogue::region(1), 1);
}

// The lines as the format defines them: CR LF, CR or LF ends a line, and a
// line end at the very end of the text adds no empty line.
QStringList expectedLines(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    // Empty exactly when the text is empty or ends with a line end.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    dataRoot().link(overviewPath().filePath());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);

    const QString text = Cp932::decode(bytes);
    // Every character comes from at least one byte.
    FUZZ_CHECK(text.size() <= bytes.size());
    // The control codes that ICU exchanges map to themselves, and an invalid
    // sequence (U+FFFD) never shows as one of them.
    for (const char control : {'\x1a', '\x1c', '\x7f'})
        FUZZ_CHECK(text.count(QLatin1Char(control)) == bytes.count(control));

    // Either decoding makes at most one character of each byte, and a text
    // is code page 932 unless it is all valid UTF-8.
    const QString fileText = DataText::decode(bytes);
    FUZZ_CHECK(fileText.size() <= bytes.size());
    FUZZ_CHECK(fileText == text || QString::fromUtf8(bytes).toUtf8() == bytes
               || bytes.startsWith("\xEF\xBB\xBF"));

    dataRoot().write(bytes);
    const DataPath path = overviewPath();
    expectReadOrDataError(path.displayName(), [&] {
        const QStringList lines = ReadTextLines(path);
        FUZZ_CHECK(lines == expectedLines(fileText));
    });
    return 0;
}
