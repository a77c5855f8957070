#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <span>

struct RegionInfo;

// What sets one region's drill screen apart from the others.
//
// Every drill screen shares the left column and the title row of the アジア
// layout. The map box Picture1 is one pixel larger than the map each way
// (463 x 370 for the 462 x 369 アジア map); its right edge lies 22 pixels
// inside the client area, its top at 103, raised where a tall map would come
// closer than 2 pixels to the bottom edge. The 国しらべ and メニュー buttons
// keep their distance from the right edge, so wider screens move them right.
struct DrillProfile {
    qint16 regionId;
    qint16 questionCount;
    QSize clientArea;
    QSize mapSize;
    const char *mapName;      // assets/maps/<mapName>.png
    bool restartHidesItself;  // the restart button hides as it is clicked

    const RegionInfo &region() const;
    QString screenName() const;
    QString atlasScreenName() const;
    QString mapResource() const;

    QRect mapRect() const;          // Picture1
    QRect atlasButtonRect() const;  // Command1, 国しらべ
    QRect menuButtonRect() const;   // Command2, メニュー
};

namespace DrillProfiles {

std::span<const DrillProfile> all();
// The profile of a RegionId 1..8; any other id is a data error.
const DrillProfile &forRegion(int regionId);

} // namespace DrillProfiles
