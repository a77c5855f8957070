#pragma once

#include "OfficialPage.h"

#include <QString>

#include <memory>

class FatalErrorReporter;
class QWidget;
class ReviewStore;
class ScreenDirectory;
struct ScreenContext;
class SoundPlayer;

// What differs between the desktop program and the web page. The build
// compiles one implementation of these, desktop/ or web/; nothing else in
// the program knows where it runs.
namespace Platform {

// First thing in main(), before QApplication exists.
void prepareProcess(int argc, char **argv);

std::unique_ptr<FatalErrorReporter> fatalErrorReporter();
std::unique_ptr<SoundPlayer> soundPlayer();

// The fonts the screens name, once QApplication exists.
void installFonts();

// Where the data directory is.
QString dataRoot();

// Where the review's record is kept on this device.
std::unique_ptr<ReviewStore> reviewStore();

// How the atlas's page link shows the official page.
OfficialPage::Opener officialPageOpener(ScreenDirectory &host, ScreenContext &context);

// Each time the host has made a screen, before it is first shown.
void screenLoaded(QWidget &screen);

// Each time the host shows a screen.
void screenShown(const QWidget &screen);

// The user ended the program (終, or the last window closed).
void endProgram(int status);

} // namespace Platform
