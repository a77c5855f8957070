#include "ReviewDesk.h"

#include "AppState.h"
#include "CapitalLine.h"
#include "CountryData.h"
#include "DataError.h"
#include "RegionCatalogue.h"
#include "Seams.h"

bool ReviewCatalogue::keeps(const QString &key) const
{
    if (keys.contains(key))
        return true;
    const QString folder = key.section(QLatin1Char('/'), 0, 0);
    return unreadableRegions.contains(folder);
}

QSet<QString> ReviewCatalogue::keptOf(const ReviewRecord &record) const
{
    QSet<QString> kept;
    for (auto it = record.entries().cbegin(); it != record.entries().cend(); ++it)
        if (keeps(it.key()))
            kept.insert(it.key());
    return kept;
}

ReviewCatalogue ReviewDesk::readCatalogue(const AppState &state, bool withCapitals)
{
    ReviewCatalogue catalogue;
    AppState scratch;
    scratch.DataRoot = state.DataRoot;
    for (const RegionInfo &region : RegionCatalogue::all()) {
        QList<ReviewEntry> regionEntries;
        try {
            LoadCountryNames(scratch, region);
            for (int country = 1; country <= region.countryCount; ++country) {
                const QString key = ReviewRecord::keyOf(region.regionName(), scratch.CountryNames[country]);
                const bool hasCapital = withCapitals && !ReadCapital(scratch, region, country).isEmpty();
                regionEntries.append({region.id, qint16(country), key, hasCapital});
            }
        } catch (const DataError &) {
            // The region's own screens report it; the review waits for it.
            catalogue.unreadableRegions.insert(region.regionName());
            continue;
        }
        for (const ReviewEntry &entry : std::as_const(regionEntries))
            catalogue.keys.insert(entry.key);
        catalogue.entries.append(regionEntries);
    }
    return catalogue;
}

int ReviewDesk::dueToday(const AppState &state)
{
    QByteArray bytes;
    if (m_store.read(&bytes) != ReviewStore::Read::Found)
        return 0;
    ReviewRecord::Fault fault = ReviewRecord::Fault::None;
    const ReviewRecord record = ReviewRecord::fromJson(bytes, &fault);
    if (fault != ReviewRecord::Fault::None)
        return 0;
    return record.dueCount(m_calendar.today(), readCatalogue(state, false).keys);
}
