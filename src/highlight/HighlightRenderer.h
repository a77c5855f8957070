#pragma once

#include "RegionHighlightTable.h"

#include <QPoint>
#include <QRgb>
#include <QString>

#include <functional>

class RegionMapView;

// Screen positions are kept in twips, 1/1440 inch. Qt lays out in
// device-independent pixels, the 96-dpi pixels of the layouts: 15 twips each.
namespace Twips {

inline constexpr double PerPixel = 15.0;

// The map pixel of a marker's top-left corner: Left and Top in twips are
// rounded, divided by twips per pixel and rounded again, halves to even.
QPoint markerSeed(double leftTwips, double topTwips, double twipsPerPixelX,
                  double twipsPerPixelY);

} // namespace Twips

// Paints one country of a region on its map: clears the map, then fills the
// country's areas from its stored seeds, rings it, or fills once from its
// marker, as the region's table says. Belongs to one screen; it keeps no
// state beyond the map's pixels.
class HighlightRenderer
{
public:
    using CaptionSetter = std::function<void(const QString &)>;

    static constexpr QRgb HighlightColour = 0xffff0000;
    static constexpr QRgb BorderColour = 0xff000000;
    static constexpr int RingWidth = 3;
    // Under the flag-frame rule, entries from this one on carry a regional flag.
    static constexpr int FirstRegionalFlag = 24;

    // flagFrameCaption: on a screen whose flag box follows the table's
    // flag-frame rule, sets that box's caption; empty everywhere else.
    HighlightRenderer(const RegionHighlightTable &table, RegionMapView &map,
                      CaptionSetter flagFrameCaption = {});

    // country: 1..N. Markers are read from the map's Image1 array.
    void Highlight(int country);
    void ClearMap();

    // Twips per pixel of each axis (tests vary them; the screens use 15).
    void setTwipsPerPixel(double x, double y);

private:
    // Puts the map back exactly as it was loaded.
    void restoreMap();
    void drawRing(const HighlightEntry &entry);

    const RegionHighlightTable &m_table;
    RegionMapView &m_map;
    CaptionSetter m_flagFrameCaption;
    double m_twipsPerPixelX = Twips::PerPixel;
    double m_twipsPerPixelY = Twips::PerPixel;
};
