#include "DrillScreens.h"

#include "DrillProfile.h"
#include "RegionDrillScreen.h"
#include "ScreenDirectory.h"

void registerDrillScreens(ScreenDirectory &host, ScreenContext &context)
{
    for (const DrillProfile &profile : DrillProfiles::all()) {
        const DrillProfile *record = &profile;
        host.registerScreen(profile.screenName(),
                            [&context, record] { return new RegionDrillScreen(context, *record); });
    }
}
