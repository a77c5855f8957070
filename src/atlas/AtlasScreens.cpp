#include "AtlasScreens.h"

#include "AtlasProfile.h"
#include "RegionAtlasScreen.h"
#include "RegionCatalogue.h"
#include "ScreenDirectory.h"

void registerAtlasScreens(ScreenDirectory &host, ScreenContext &context, OfficialPage::Opener openPage)
{
    for (const AtlasProfile &profile : AtlasProfiles::all()) {
        host.registerScreen(profile.region().atlasScreenName(), [&profile, &context, openPage] {
            return new RegionAtlasScreen(profile, context, openPage);
        });
    }
}
