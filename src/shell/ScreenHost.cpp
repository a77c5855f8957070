#include "ScreenHost.h"

#include "DataError.h"

#include <QEvent>

ScreenHost::~ScreenHost()
{
    for (const QPointer<QWidget> &screen : std::as_const(m_loaded)) {
        if (screen) {
            screen->removeEventFilter(this);
            delete screen.data();
        }
    }
}

void ScreenHost::registerScreen(const QString &name, Factory factory)
{
    m_factories.insert(name, std::move(factory));
}

QWidget *ScreenHost::loadedScreen(const QString &name) const
{
    const auto found = m_loaded.constFind(name);
    return found == m_loaded.cend() ? nullptr : found->data();
}

QWidget *ScreenHost::screen(const QString &name)
{
    if (QWidget *existing = loadedScreen(name))
        return existing;
    const auto factory = m_factories.constFind(name);
    if (factory == m_factories.cend())
        throw DataError(QString(), QStringLiteral("画面「%1」がありません。").arg(name));
    QWidget *created = (*factory)();
    created->installEventFilter(this);
    m_loaded.insert(name, created);
    emit screenLoaded(created);
    return created;
}

void ScreenHost::show(const QString &name)
{
    QWidget *target = screen(name);
    if (target->isVisible()) {
        target->raise();
        target->activateWindow();
    } else {
        // Not show(): where the platform shows new windows full screen (the
        // browser), a screen keeps its own size all the same.
        target->setVisible(true);
    }
    emit screenShown(target);
}

void ScreenHost::unload(const QString &name)
{
    const QPointer<QWidget> target = m_loaded.take(name);
    if (!target)
        return;
    target->removeEventFilter(this);
    target->hide();
    // The handler that unloads its own screen still runs to its end.
    target->deleteLater();
}

void ScreenHost::transition(const QString &from, const QString &to)
{
    unload(from);
    show(to);
}

bool ScreenHost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        for (auto it = m_loaded.cbegin(); it != m_loaded.cend(); ++it) {
            if (it.value() == watched) {
                unload(it.key());
                if (m_loaded.isEmpty())
                    emit lastScreenClosed();
                return false;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
