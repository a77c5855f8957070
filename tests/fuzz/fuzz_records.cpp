// Record files (kuni.txt, url.txt): the field reader on its own, then the
// region loaders that turn fields into array indices, on the same bytes.

#include "FuzzSupport.h"

#include "AppState.h"
#include "CountryData.h"
#include "Cp932.h"
#include "RecordReader.h"
#include "RegionCatalogue.h"

namespace {

// More records than any region has, so the reader also runs off the end.
constexpr int RecordsToRead = AppState::MaxCountries + 2;

FuzzDataRoot &dataRoot()
{
    static FuzzDataRoot root;
    return root;
}

void readFields(const QByteArray &bytes)
{
    const QString name = QStringLiteral("fuzz/kuni.txt");
    expectReadOrDataError(name, [&] {
        RecordReader records(Cp932::decode(bytes), name);
        for (int record = 1; record <= RecordsToRead; ++record) {
            records.readText(record);
            records.readInteger(record);
        }
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    AppState state;
    state.DataRoot = dataRoot().root();
    for (const RegionInfo &region : RegionCatalogue::all()) {
        dataRoot().link(CountryListPath(state, region).filePath());
        dataRoot().link(PageTablePath(state, region).filePath());
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    readFields(bytes);

    // One region per input, by its length, so that every record count is tried.
    const RegionInfo &region = RegionCatalogue::region(int(size % AppState::RegionCount) + 1);
    dataRoot().write(bytes);
    AppState state;
    state.DataRoot = dataRoot().root();
    const QString list = CountryListPath(state, region).displayName();
    const QString pages = PageTablePath(state, region).displayName();
    expectReadOrDataError(list, [&] { LoadCountryList(state, region); });
    expectReadOrDataError(list, [&] { LoadCountryNames(state, region); });
    expectReadOrDataError(pages, [&] { LoadPageTable(state, region); });
    return 0;
}
