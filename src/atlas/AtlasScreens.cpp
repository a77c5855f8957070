#include "AtlasScreens.h"

#include "AtlasProfile.h"
#include "OfficialPageScreen.h"
#include "PageBrowserLoader.h"
#include "RegionAtlasScreen.h"
#include "RegionCatalogue.h"
#include "ScreenDirectory.h"

void registerAtlasScreens(ScreenDirectory &host, ScreenContext &context)
{
    for (const AtlasProfile &profile : AtlasProfiles::all()) {
        host.registerScreen(profile.region().atlasScreenName(),
                            [&profile, &context] { return new RegionAtlasScreen(profile, context); });
    }
    host.registerScreen(OfficialPageScreen::ScreenName,
                        [&context] { return new OfficialPageScreen(context, PageBrowserLoader::load()); });
}
