#include "CountryData.h"

#include "AppState.h"
#include "DataError.h"
#include "DataFiles.h"
#include "DataText.h"
#include "RecordReader.h"
#include "RegionCatalogue.h"

namespace {

// Every data text is decoded here.
QString readText(const DataPath &path)
{
    return DataText::decode(DataFiles::readBytes(path));
}

RecordReader openRecords(const DataPath &path)
{
    return RecordReader(readText(path), path.displayName());
}

} // namespace

DataPath CountryFilePath(const AppState &state, CountryFileKind kind, const RegionInfo &region,
                         int country)
{
    const QString folder = region.regionName();
    const QString n = QString::number(country);
    switch (kind) {
    case CountryFileKind::Overview:
        return DataPath(state.DataRoot, QStringLiteral("\\概要\\") + folder + QStringLiteral("\\s") + n
                                            + QStringLiteral(".txt"));
    case CountryFileKind::FlagPicture:
        return DataPath(state.DataRoot, QStringLiteral("\\国旗\\") + folder + QStringLiteral("\\h") + n
                                            + QStringLiteral(".gif"));
    case CountryFileKind::FlagOrigin:
        return DataPath(state.DataRoot, QStringLiteral("\\国旗\\") + folder
                                            + QStringLiteral("\\由来\\y") + n + QStringLiteral(".txt"));
    }
    Q_UNREACHABLE();
}

DataPath CountryListPath(const AppState &state, const RegionInfo &region)
{
    return DataPath(state.DataRoot,
                    QStringLiteral("\\概要\\") + region.regionName() + QStringLiteral("\\kuni.txt"));
}

DataPath PageTablePath(const AppState &state, const RegionInfo &region)
{
    return DataPath(state.DataRoot,
                    QStringLiteral("\\外務省\\") + region.regionName() + QStringLiteral("\\url.txt"));
}

void LoadCountryList(AppState &state, const RegionInfo &region)
{
    const DataPath path = CountryListPath(state, region);
    RecordReader records = openRecords(path);
    for (int i = 1; i <= region.countryCount; ++i) {
        const QString name = records.readText(i);
        const int position = records.readInteger(i);
        if (position < 0 || position > AppState::MaxCountries)
            throw DataError(path.displayName(),
                            QStringLiteral("%1 件目のリスト位置 %2 が範囲 0〜%3 の外です。")
                                .arg(i)
                                .arg(position)
                                .arg(AppState::MaxCountries));
        state.CountryNames[i] = name;
        state.ListNames[position] = name;
        state.ListToCountry[position] = qint16(i);
    }
}

void LoadCountryNames(AppState &state, const RegionInfo &region)
{
    RecordReader records = openRecords(CountryListPath(state, region));
    for (int i = 1; i <= region.countryCount; ++i) {
        state.CountryNames[i] = records.readText(i);
        records.readText(i);
    }
}

void LoadPageTable(AppState &state, const RegionInfo &region)
{
    RecordReader records = openRecords(PageTablePath(state, region));
    for (int i = 1; i <= region.countryCount; ++i) {
        state.PageTable[i][1] = records.readText(i);
        state.PageTable[i][2] = records.readText(i);
    }
}

QStringList ReadTextLines(const DataPath &path)
{
    const QString text = readText(path);
    QStringList lines;
    qsizetype start = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar c = text.at(pos);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, pos - start));
            if (c == QLatin1Char('\r') && pos + 1 < text.size() && text.at(pos + 1) == QLatin1Char('\n'))
                ++pos;
            start = pos + 1;
        }
        ++pos;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QStringList ReadShownLines(const DataPath &path)
{
    QStringList lines = ReadTextLines(path);
    for (QString &line : lines) {
        if (line.size() <= MaxShownLineLength)
            continue;
        line.truncate(MaxShownLineLength - 1);
        line.append(QChar(0x2026));
    }
    return lines;
}
