#include "Platform.h"

#include "BrowserReviewStore.h"
#include "DataError.h"
#include "Fonts.h"
#include "Page.h"
#include "PageFit.h"
#include "ScreenReader.h"
#include "ScreenWindow.h"
#include "Seams.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QWidget>

#include <emscripten/bind.h>

namespace {

const QString DataRoot = QStringLiteral("/kunishirabe");

void stop(const QString &message)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    Page::showStopped(message);
}

// The message that the desktop shows in its message box, shown on the page.
class PageReporter : public FatalErrorReporter
{
public:
    void report(const DataError &error) override { stop(error.message()); }
};

// Plays through the browser's own audio; a browser that holds sound back
// until the first tap stays silent until then.
class BrowserSoundPlayer : public SoundPlayer
{
public:
    void play(const QString &filePath) override
    {
        QFile file(filePath);
        if (file.open(QIODevice::ReadOnly))
            Page::playSound(filePath, file.readAll());
    }
};

// Whether leaving the page now would lose a showing screen's work, asked by
// the page before it unloads.
bool workInProgress()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        const auto *screen = qobject_cast<const ScreenWindow *>(window);
        if (screen && screen->isVisible() && screen->workInProgress())
            return true;
    }
    return false;
}

EMSCRIPTEN_BINDINGS(kunishirabe_page) {
    emscripten::function("kunishirabeWorkInProgress", &workInProgress);
}

} // namespace

namespace Platform {

void prepareProcess(int, char **)
{
    Page::installDataFiles(DataRoot);
    Page::askProgramBeforeLeaving();
    // Qt's browser build has no accessibility bridge: what the screens tell
    // a screen reader goes to the page's live region.
    ScreenReader::setAnnouncer(Page::announce);
}

std::unique_ptr<FatalErrorReporter> fatalErrorReporter()
{
    return std::make_unique<PageReporter>();
}

std::unique_ptr<SoundPlayer> soundPlayer()
{
    return std::make_unique<BrowserSoundPlayer>();
}

std::unique_ptr<ReviewStore> reviewStore()
{
    return std::make_unique<BrowserReviewStore>();
}

void installFonts()
{
    // The subset fonts that travel with the page, for the names the screens use.
    // The IPA originals' names follow, for a site whose fonts were put back.
    const struct {
        const QString &name;
        const char *file;
        const char *original;
    } fonts[] = {
        {Fonts::Mincho, ":/fonts/kunishirabe-mincho.ttf", "IPAMincho"},
        {Fonts::PMincho, ":/fonts/kunishirabe-pmincho.ttf", "IPAPMincho"},
        {Fonts::Gothic, ":/fonts/kunishirabe-gothic.ttf", "IPAGothic"},
    };
    for (const auto &font : fonts) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(font.file));
        const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
        QFont::insertSubstitutions(font.name, {family, QString::fromLatin1(font.original)});
    }
    // Controls that name no font of their own.
    QApplication::setFont(QFont(Fonts::Gothic));
}

QString dataRoot()
{
    return DataRoot;
}

OfficialPage::Opener officialPageOpener(ScreenDirectory &, ScreenContext &)
{
    return OfficialPage::openInBrowserTab;
}

void screenLoaded(QWidget &screen)
{
    static bool followingThePage = false;
    if (!followingThePage) {
        PageFit::followThePage();
        followingThePage = true;
    }
    // The page is the window: no title bar, frame or close button.
    screen.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    PageFit::fit(screen);
}

void screenShown(const QWidget &screen)
{
    const qreal scale = screen.devicePixelRatioF();
    Page::logScreen(screen.windowTitle(), screen.geometry(), scale);
    // The page's title says what the window's caption said, as a screen reader names it.
    Page::setTitle(screen.accessibleName().isEmpty() ? screen.windowTitle() : screen.accessibleName());
}

void endProgram(int)
{
    stop(QStringLiteral("世界の国しらべを終わりました。"));
}

} // namespace Platform
