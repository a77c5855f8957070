#pragma once

#include <QString>
#include <QStringList>

struct AppState;
struct RegionInfo;

// The capital an overview names: the rest of the first line that begins with
// "首都：", joined with the lines after it that begin with a full-width space
// (the space left out), up to the first such line that is a note in
// parentheses, which is not part of the name.

// The capital an overview names, from its lines (as ReadTextLines gives them); empty when none.
QString capitalOf(const QStringList &overviewLines);
// The capital of entry `country` (1..N) of `region`, read from the data
// directory: an unreadable overview is a DataError as for every data file.
QString ReadCapital(const AppState &state, const RegionInfo &region, int country);
