#pragma once

#include <QSize>
#include <QtGlobal>

#include <optional>
#include <span>

// How one region map paints each of its entries: flood fills from stored
// seeds, a red ring, or (by the default rule) one fill from the marker.

struct FillSeed {
    qint16 x;
    qint16 y;
};

enum class HighlightKind : quint8 { Fill, Circle };

enum class RadiusUnit : quint8 { Pixels, Twips };

enum class DefaultRule : quint8 { MarkerSeed, NoPaint };

struct HighlightEntry {
    qint16 country;         // CountryIndex 1..N
    HighlightKind kind;
    quint16 firstSeed;      // Fill: first seed in RegionHighlightTable::seeds
    quint16 seedCount;      // Fill: 1..45 seeds
    FillSeed centre;        // Circle: centre in map pixels
    qint16 radius;          // Circle: in radiusUnit
    RadiusUnit radiusUnit;
};

struct RegionHighlightTable {
    qint16 regionId;
    QSize mapSize;
    qint16 countryCount;
    std::span<const HighlightEntry> entries;  // sorted by country, at most one each
    std::span<const FillSeed> seeds;
    DefaultRule defaultRule;
    bool hasFlagFrameRule;  // 北アメリカ: entries 24 and above carry a regional flag

    // The entry of a country, or nothing when the default rule applies.
    std::optional<HighlightEntry> entryFor(int country) const;
    std::span<const FillSeed> seedsOf(const HighlightEntry &entry) const;
};

// The table of a region, RegionId 1..8.
const RegionHighlightTable &highlightTable(int regionId);
