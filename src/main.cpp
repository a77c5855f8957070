#include "AppState.h"
#include "Application.h"
#include "AtlasScreens.h"
#include "DataPath.h"
#include "DrillScreens.h"
#include "Fonts.h"
#include "MainMenuScreen.h"
#include "OfficialPageScreen.h"
#include "QuietLibraries.h"
#include "RegionSubmenuScreen.h"
#include "ResultsScreen.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "SystemSeams.h"

int main(int argc, char *argv[])
{
    keepLibrariesFromWriting();
    prepareWebEngineEnvironment();
    MessageBoxReporter reporter;
    Application app(argc, argv, reporter);
    app.setApplicationName(QStringLiteral("kunishirabe"));
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
    registerAtlasScreens(host, context);
    registerDrillScreens(host, context);
    registerResultsScreen(host, context);
    QObject::connect(&host, &ScreenHost::lastScreenClosed, &app, &QCoreApplication::quit);
    QObject::connect(&host, &ScreenHost::programEndRequested, &app, &QCoreApplication::quit);

    host.show(MainMenuScreen::ScreenName);
    return app.exec();
}
