#include "Platform.h"

#include "BrowserReviewStore.h"
#include "DataError.h"
#include "Fonts.h"
#include "Page.h"
#include "ScreenReader.h"
#include "ScreenWindow.h"
#include "Seams.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

const QString DataRoot = QStringLiteral("/kunishirabe");

// Room for the frame and title bar that the browser's window manager draws.
constexpr QSize WindowFrame{8, 30};

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

// The same whole-number scale for every screen, the largest at which the
// largest screen fits the page: whole numbers keep pictures crisp. A page
// smaller than that screen shrinks it to fit.
qreal scaleFor(QSize viewport)
{
    const QSize largest = ScreenWindow::LargestClientSize + WindowFrame;
    const qreal fit = std::min(qreal(viewport.width()) / largest.width(),
                               qreal(viewport.height()) / largest.height());
    return fit >= 1 ? std::floor(fit) : fit;
}

} // namespace

namespace Platform {

void prepareProcess(int, char **)
{
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", QByteArray::number(scaleFor(Page::viewportSize())));
    Page::installDataFiles(DataRoot);
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

void screenShown(const QWidget &screen)
{
    const qreal scale = screen.devicePixelRatioF();
    Page::logScreen(screen.windowTitle(), screen.geometry(), scale);
}

void endProgram(int)
{
    stop(QStringLiteral("世界の国しらべを終わりました。"));
}

} // namespace Platform
