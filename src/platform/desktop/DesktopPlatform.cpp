#include "Platform.h"

#include "DataPath.h"
#include "DesktopSeams.h"
#include "Fonts.h"
#include "OfficialPageScreen.h"
#include "QuietLibraries.h"
#include "ReviewStore.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace Platform {

void prepareProcess(int, char **)
{
    keepLibrariesFromWriting();
    prepareWebEngineEnvironment();
}

std::unique_ptr<FatalErrorReporter> fatalErrorReporter()
{
    return std::make_unique<MessageBoxReporter>();
}

std::unique_ptr<SoundPlayer> soundPlayer()
{
    return std::make_unique<SoundEffectPlayer>();
}

void installFonts()
{
    Fonts::installSubstitutions();
}

QString dataRoot()
{
    return DataRootRule::fromProgramDirectory(QCoreApplication::applicationDirPath());
}

std::unique_ptr<ReviewStore> reviewStore()
{
    return std::make_unique<ReviewRecordFile>(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/review-record.json"));
}

OfficialPage::Opener officialPageOpener(ScreenDirectory &host, ScreenContext &context)
{
    return registerOfficialPageScreen(host, context);
}

void screenLoaded(QWidget &) {}

void screenShown(const QWidget &) {}

void endProgram(int status)
{
    QCoreApplication::exit(status);
}

} // namespace Platform
