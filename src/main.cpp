#include "AppState.h"
#include "Application.h"
#include "DataPath.h"
#include "Fonts.h"
#include "MainMenuScreen.h"
#include "RegionSubmenuScreen.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "SystemSeams.h"

#ifdef KUNISHIRABE_HAS_ATLAS
#include "AtlasScreens.h"
#include "OfficialPageScreen.h"
#endif
#ifdef KUNISHIRABE_HAS_DRILL
#include "DrillScreens.h"
#endif
#ifdef KUNISHIRABE_HAS_RESULTS
#include "ResultsScreen.h"
#endif

int main(int argc, char *argv[])
{
#ifdef KUNISHIRABE_HAS_ATLAS
    prepareWebEngineEnvironment();
#endif
    MessageBoxReporter reporter;
    Application app(argc, argv, reporter);
    app.setApplicationName(QStringLiteral("kunishirabe"));
    app.setApplicationDisplayName(QStringLiteral("世界の国しらべ"));
    app.setDesktopFileName(QStringLiteral("io.github.kunishirabe.Kunishirabe"));
    app.setQuitOnLastWindowClosed(false);
    Fonts::installSubstitutions();

    AppState state;
    state.DataRoot = DataRootRule::fromProgramDirectory(QCoreApplication::applicationDirPath());

    ScreenHost host;
    SoundEffectPlayer sound;
    SteadyClock clock;
    TimerSeededRandom random;
    ScreenContext context{state, host, sound, clock, random};

    host.registerScreen(MainMenuScreen::ScreenName, [&] { return new MainMenuScreen(context); });
    host.registerScreen(RegionSubmenuScreen::ScreenName, [&] { return new RegionSubmenuScreen(context); });
#ifdef KUNISHIRABE_HAS_ATLAS
    registerAtlasScreens(host, context);
#endif
#ifdef KUNISHIRABE_HAS_DRILL
    registerDrillScreens(host, context);
#endif
#ifdef KUNISHIRABE_HAS_RESULTS
    registerResultsScreen(host, context);
#endif
    QObject::connect(&host, &ScreenHost::lastScreenClosed, &app, &QCoreApplication::quit);
    QObject::connect(&host, &ScreenHost::programEndRequested, &app, &QCoreApplication::quit);

    host.show(MainMenuScreen::ScreenName);
    return app.exec();
}
