#include "Page.h"

#include <emscripten.h>

namespace {

// page.js defines globalThis.kunishirabePage before the program starts. The
// bodies stay plain ES5: emscripten's JavaScript optimizer reads nothing newer.

EM_JS(void, ask_program_before_leaving, (), {
    var program = Module;
    globalThis.kunishirabePage.workInProgress = function() { return program.kunishirabeWorkInProgress(); };
});

EM_JS(void, set_title, (const char *title), { document.title = UTF8ToString(title); });

EM_JS(void, install_data_files, (const char *root), {
    var base = UTF8ToString(root);
    var files = globalThis.kunishirabePage.takeDataFiles();
    for (var i = 0; i < files.length; ++i) {
        var target = base + '/' + files[i][0];
        FS.mkdirTree(target.substring(0, target.lastIndexOf('/')));
        FS.writeFile(target, files[i][1]);
    }
});

EM_JS(void, log_screen, (const char *caption, int x, int y, int width, int height, double scale), {
    globalThis.kunishirabePage.screenShown(UTF8ToString(caption), x, y, width, height, scale);
});

EM_JS(void, play_sound, (const char *key, const char *bytes, int length), {
    globalThis.kunishirabePage.playSound(UTF8ToString(key), HEAPU8.slice(bytes, bytes + length).buffer);
});

EM_JS(void, announce_text, (const char *text), {
    globalThis.kunishirabePage.announce(UTF8ToString(text));
});

EM_JS(void, show_stopped, (const char *message), {
    globalThis.kunishirabePage.showStopped(UTF8ToString(message));
});

} // namespace

namespace Page {

void askProgramBeforeLeaving()
{
    ask_program_before_leaving();
}

void setTitle(const QString &title)
{
    set_title(title.toUtf8().constData());
}

void installDataFiles(const QString &root)
{
    install_data_files(root.toUtf8().constData());
}

void logScreen(const QString &caption, QRect clientRect, qreal scale)
{
    log_screen(caption.toUtf8().constData(), clientRect.x(), clientRect.y(), clientRect.width(),
               clientRect.height(), scale);
}

void playSound(const QString &key, const QByteArray &wav)
{
    play_sound(key.toUtf8().constData(), wav.constData(), int(wav.size()));
}

void announce(const QString &text)
{
    announce_text(text.toUtf8().constData());
}

void showStopped(const QString &message)
{
    show_stopped(message.toUtf8().constData());
}

} // namespace Page
