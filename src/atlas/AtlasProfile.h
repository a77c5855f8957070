#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <initializer_list>
#include <span>

struct RegionInfo;

// A set of CountryIndex values 1..60.
class EntrySet
{
public:
    constexpr EntrySet() = default;
    constexpr EntrySet(std::initializer_list<int> entries)
    {
        for (int entry : entries)
            m_bits |= quint64(1) << entry;
    }
    static constexpr EntrySet range(int first, int last)
    {
        EntrySet set;
        for (int entry = first; entry <= last; ++entry)
            set.m_bits |= quint64(1) << entry;
        return set;
    }
    constexpr bool contains(int entry) const
    {
        return entry >= 0 && entry < 64 && (m_bits >> entry) & 1u;
    }
    constexpr bool isEmpty() const { return m_bits == 0; }

private:
    quint64 m_bits = 0;
};

// Who sets a caption that names the flag: nobody (it keeps its laid-out
// text), the screen from an entry set, or the highlight renderer.
enum class CaptionRule : quint8 { Untouched, ByEntrySet, ByRenderer };

enum class LinkButton : quint8 {
    None,
    ForeignMinistry,   // Command3
    OtherMinistry,     // Command4
};

// Controls that sit at the same place on every atlas screen (window pixels).
namespace AtlasLayout {

inline constexpr QRect Prompt{290, 17, 228, 27};               // Label1
inline constexpr QRect Selector{290, 46, 228, 24};             // Combo1
inline constexpr QRect FlagInFrame{71, 37, 114, 77};           // Image2 in Frame1
inline constexpr QRect TitlePicture{46, 16, 184, 53};          // Image3
inline constexpr QRect LinkButton{44, 13, 189, 59};            // Command3, Command4
inline constexpr QRect DrillButton{531, 20, 109, 45};          // Command1
inline constexpr QRect MenuButton{650, 20, 109, 45};           // Command2
inline constexpr QPoint ListInFrame{10, 17};                   // List1, List2

} // namespace AtlasLayout

// Everything in which the eight atlas screens differ.
struct AtlasProfile {
    qint16 regionId;
    const char *mapResource;   // Qt resource path of the map picture
    QSize mapSize;
    QSize clientArea;
    QRect map;                 // Picture1
    QRect flagFrame;           // Frame1
    QRect overviewFrame;       // Frame2
    QSize overviewList;        // List1
    QRect originFrame;         // Frame3
    QSize originList;          // List2
    CaptionRule flagCaption;
    EntrySet regionalFlags;    // Frame1 "域旗" under ByEntrySet
    CaptionRule originCaption;
    EntrySet regionalOrigins;  // Frame3 "域旗の由来" under ByEntrySet
    EntrySet withoutLink;
    qint16 otherMinistryEntry; // the entry whose page is another ministry's, or 0

    const RegionInfo &region() const;
    LinkButton linkFor(int country) const;
};

namespace AtlasProfiles {

std::span<const AtlasProfile> all();
// The profile of a RegionId 1..8; any other id is a data error.
const AtlasProfile &forRegion(int regionId);

} // namespace AtlasProfiles
