#include "CapitalLine.h"

#include "CountryData.h"

namespace {

const QString CapitalLabel = QStringLiteral("首都：");
const QChar Continuation(0x3000);

// A continuation that is a note, "　（憲法上の首都はスクレ）", rather than more of the name.
bool isNote(const QString &piece)
{
    return piece.startsWith(QChar(0xff08)) || piece.startsWith(QLatin1Char('('));
}

} // namespace

QString capitalOf(const QStringList &overviewLines)
{
    qsizetype i = 0;
    while (i < overviewLines.size() && !overviewLines.at(i).startsWith(CapitalLabel))
        ++i;
    if (i == overviewLines.size())
        return {};

    QString capital = overviewLines.at(i).mid(CapitalLabel.size()).trimmed();
    for (++i; i < overviewLines.size() && overviewLines.at(i).startsWith(Continuation); ++i) {
        // trimmed() takes the full-width space as well as any other blank.
        const QString piece = overviewLines.at(i).trimmed();
        // A note ends the name, and so does a blank line: whatever follows
        // either may be the note's own second line.
        if (piece.isEmpty() || isNote(piece))
            break;
        capital += piece;
    }
    return capital;
}

QString ReadCapital(const AppState &state, const RegionInfo &region, int country)
{
    return capitalOf(ReadTextLines(CountryFilePath(state, CountryFileKind::Overview, region, country)));
}
