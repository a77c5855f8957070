#pragma once

#include "DataPath.h"

#include <QStringList>

struct AppState;
struct RegionInfo;

// The per-country data files of a region and their readers. Every call
// opens its file, reads it through and closes it; nothing is cached.

enum class CountryFileKind { Overview, FlagPicture, FlagOrigin };

// "\概要\R\s" n ".txt", "\国旗\R\h" n ".gif" or "\国旗\R\由来\y" n ".txt".
DataPath CountryFilePath(const AppState &state, CountryFileKind kind, const RegionInfo &region,
                         int country);
DataPath CountryListPath(const AppState &state, const RegionInfo &region);
DataPath PageTablePath(const AppState &state, const RegionInfo &region);

// kuni.txt: N records into CountryNames, ListNames and ListToCountry.
void LoadCountryList(AppState &state, const RegionInfo &region);
// kuni.txt: the N names into CountryNames; the list positions are read and not used.
void LoadCountryNames(AppState &state, const RegionInfo &region);
// url.txt: N records into columns 1 and 2 of PageTable.
void LoadPageTable(AppState &state, const RegionInfo &region);
// Every line of a line file, in order.
QStringList ReadTextLines(const DataPath &path);

// The longest line a list box shows, in characters, ellipsis included: far
// above any line of the shipped texts. A longer line is cut and ends in "…";
// laying out a line of megabytes would hold up every repaint for seconds.
inline constexpr qsizetype MaxShownLineLength = 1000;
// The lines of a line file as a list box shows them: ReadTextLines, each
// line cut to MaxShownLineLength.
QStringList ReadShownLines(const DataPath &path);
