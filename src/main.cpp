#include "AppState.h"
#include "Application.h"
#include "AtlasScreens.h"
#include "DrillScreens.h"
#include "MainMenuScreen.h"
#include "PracticeScreens.h"
#include "Platform.h"
#include "RegionSubmenuScreen.h"
#include "ResultsScreen.h"
#include "ReviewDesk.h"
#include "ReviewStore.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "Seams.h"
#include "SystemSeams.h"

#include <QIcon>

int main(int argc, char *argv[])
{
    Platform::prepareProcess(argc, argv);
    const auto reporter = Platform::fatalErrorReporter();
    Application app(argc, argv, *reporter);
    app.setApplicationName(QStringLiteral("kunishirabe"));
    app.setDesktopFileName(QStringLiteral("io.github.kunishirabe.Kunishirabe"));
    app.setQuitOnLastWindowClosed(false);
    app.setWindowIcon(QIcon(QStringLiteral(":/icons/kunishirabe.png")));
    Platform::installFonts();

    AppState state;
    state.DataRoot = Platform::dataRoot();

    ScreenHost host;
    const auto sound = Platform::soundPlayer();
    SteadyClock clock;
    TimerSeededRandom random;
    ScreenContext context{state, host, *sound, clock, random};
    LocalCalendar calendar;
    const auto reviewStore = Platform::reviewStore();
    ReviewDesk review(*reviewStore, calendar);

    host.registerScreen(MainMenuScreen::ScreenName, [&] { return new MainMenuScreen(context, &review); });
    host.registerScreen(RegionSubmenuScreen::ScreenName, [&] { return new RegionSubmenuScreen(context); });
    registerAtlasScreens(host, context, Platform::officialPageOpener(host, context));
    registerDrillScreens(host, context);
    registerResultsScreen(host, context);
    registerPracticeScreens(host, context, review);
    QObject::connect(&host, &ScreenHost::screenLoaded, [](QWidget *screen) { Platform::screenLoaded(*screen); });
    QObject::connect(&host, &ScreenHost::screenShown, [](QWidget *screen) { Platform::screenShown(*screen); });
    QObject::connect(&host, &ScreenHost::lastScreenClosed, [] { Platform::endProgram(EXIT_SUCCESS); });
    QObject::connect(&host, &ScreenHost::programEndRequested, [] { Platform::endProgram(EXIT_SUCCESS); });

    host.show(MainMenuScreen::ScreenName);
    return app.exec();
}
