#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's screens by name, as a screen sees them: it registers screens,
// looks them up and moves between them without knowing who owns them.
class ScreenDirectory
{
public:
    using Factory = std::function<QWidget *()>;

    virtual ~ScreenDirectory() = default;

    virtual void registerScreen(const QString &name, Factory factory) = 0;
    virtual bool isRegistered(const QString &name) const = 0;

    // The screen, loaded first if it is not (its load step runs then).
    virtual QWidget *screen(const QString &name) = 0;
    // The screen if it is loaded, else nullptr.
    virtual QWidget *loadedScreen(const QString &name) const = 0;
    bool isLoaded(const QString &name) const { return loadedScreen(name) != nullptr; }

    // Loads if needed and displays modeless; brings it forward if shown.
    virtual void show(const QString &name) = 0;
    // Closes and discards the screen; nothing happens if it is not loaded.
    virtual void unload(const QString &name) = 0;
    // Every transition: unload the current screen, then show the next.
    virtual void transition(const QString &from, const QString &to) = 0;
    // The program ends at once (the menu's exit button).
    virtual void endProgram() = 0;
};
