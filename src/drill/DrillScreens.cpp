#include "DrillScreens.h"

#include "DrillProfile.h"
#include "LearningDrillScreen.h"
#include "LearningKind.h"
#include "RegionDrillScreen.h"
#include "ScreenDirectory.h"

void registerDrillScreens(ScreenDirectory &host, ScreenContext &context)
{
    for (const DrillProfile &profile : DrillProfiles::all()) {
        const DrillProfile *record = &profile;
        host.registerScreen(profile.screenName(),
                            [&context, record] { return new RegionDrillScreen(context, *record); });
        const auto registerLearning = [&](const LearningKind &kind) {
            const LearningKind *learning = &kind;
            host.registerScreen(kind.screenName(profile.region()), [&context, record, learning] {
                return new LearningDrillScreen(context, *record, *learning);
            });
        };
        for (const LearningKind &kind : LearningKinds::submenuKinds())
            registerLearning(kind);
        registerLearning(LearningKinds::review());
    }
}
