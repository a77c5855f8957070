#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

// Owns the screens, one instance at most per screen name. A screen is
// loaded on first use, shown modeless, and discarded by unload; the next use
// loads it afresh. When the user closes the last screen window, the host
// reports that no screen is left.
class ScreenHost : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;

    ~ScreenHost() override;

    void registerScreen(const QString &name, Factory factory);
    bool isRegistered(const QString &name) const { return m_factories.contains(name); }

    // The screen, loaded first if it is not (its load step runs then).
    QWidget *screen(const QString &name);
    // The screen if it is loaded, else nullptr.
    QWidget *loadedScreen(const QString &name) const;
    bool isLoaded(const QString &name) const { return loadedScreen(name) != nullptr; }
    int loadedCount() const { return int(m_loaded.size()); }

    // Loads if needed and displays modeless; brings it forward if shown.
    void show(const QString &name);
    // Closes and discards the screen; nothing happens if it is not loaded.
    void unload(const QString &name);
    // Every transition: unload the current screen, then show the next.
    void transition(const QString &from, const QString &to);
    // The program ends at once (the menu's exit button).
    void endProgram() { emit programEndRequested(); }

signals:
    void lastScreenClosed();
    void programEndRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_loaded;
};
