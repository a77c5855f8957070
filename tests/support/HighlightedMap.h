#pragma once

#include "DrillProfile.h"
#include "HighlightRenderer.h"
#include "MarkerLayout.h"
#include "RegionHighlightTable.h"
#include "RegionMapView.h"

#include <QImage>

// What the renderer paints for a country on a fresh copy of a drill's map.
inline QImage highlightedDrillMap(int regionId, int country)
{
    const DrillProfile &profile = DrillProfiles::forRegion(regionId);
    RegionMapView map;
    map.setMap(QImage(profile.mapResource()));
    map.setMarkers(markerLayout(regionId).drillMarkers);
    HighlightRenderer renderer(highlightTable(regionId), map);
    renderer.Highlight(country);
    return map.surface();
}
