#pragma once

#include "BoundedArray.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// The program-wide state shared by the screens; it lives from start to exit
// and is never saved. Index 0 of every array is unused, so a CountryIndex or
// a RegionId indexes them directly.
struct AppState {
    static constexpr int MaxCountries = 60;
    static constexpr int RegionCount = 8;

    QString DataRoot;
    qint16 CurrentRegion = 0;   // RegionId
    qint16 SubmenuChoice = 0;   // 1 atlas, 2 drill
    qint16 CurrentCountry = 0;  // CountryIndex, 0 = none
    BoundedArray<QString, MaxCountries + 1> CountryNames;
    BoundedArray<QString, MaxCountries + 1> ListNames;
    BoundedArray<qint16, MaxCountries + 1> ListToCountry;
    BoundedArray<BoundedArray<QString, 3>, MaxCountries + 1> PageTable;  // column 1 label, 2 address
    BoundedArray<qint16, RegionCount + 1> AccuracyRates;                 // by RegionId
    // The entries (CountryIndex) a review drill asks, handed from the drill
    // that missed them; the review takes them as it loads.
    QList<qint16> ReviewCountries;
};
