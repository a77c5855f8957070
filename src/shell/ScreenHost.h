#pragma once

#include "ScreenDirectory.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

// Owns the screens, one instance at most per screen name. A screen is
// loaded on first use, shown modeless, and discarded by unload; the next use
// loads it afresh. When the user closes the last screen window, the host
// reports that no screen is left.
class ScreenHost : public QObject, public ScreenDirectory
{
    Q_OBJECT
public:
    ~ScreenHost() override;

    void registerScreen(const QString &name, Factory factory) override;
    bool isRegistered(const QString &name) const override { return m_factories.contains(name); }
    QWidget *screen(const QString &name) override;
    QWidget *loadedScreen(const QString &name) const override;
    int loadedCount() const { return int(m_loaded.size()); }
    void show(const QString &name) override;
    void unload(const QString &name) override;
    void transition(const QString &from, const QString &to) override;
    void endProgram() override { emit programEndRequested(); }

signals:
    // A screen was made, not yet shown.
    void screenLoaded(QWidget *screen);
    // A screen was shown, or raised when it was already showing.
    void screenShown(QWidget *screen);
    void lastScreenClosed();
    void programEndRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_loaded;
};
