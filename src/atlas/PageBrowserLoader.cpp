#include "PageBrowserLoader.h"

#include "PageBrowser.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <QSurfaceFormat>

// Qt's own modules set the context shared with Qt WebEngine through these.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();

namespace {

QOpenGLContext *sharedContext = nullptr;

void deleteSharedContext()
{
    qt_gl_set_global_share_context(nullptr);
    delete sharedContext;
    sharedContext = nullptr;
}

// Qt WebEngine draws through an OpenGL context shared with the application.
// Qt::AA_ShareOpenGLContexts would create it with the application and load
// the OpenGL driver at every start; it is made here, as the application
// would have made it, just before the browser is loaded.
void shareOpenGLContext()
{
    if (qt_gl_global_share_context())
        return;
    sharedContext = new QOpenGLContext;
    sharedContext->setFormat(QSurfaceFormat::defaultFormat());
    sharedContext->create();
    qt_gl_set_global_share_context(sharedContext);
    qAddPostRoutine(deleteSharedContext);
}

} // namespace

PageBrowserSource PageBrowserLoader::load()
{
    static QPluginLoader loader(QString::fromLatin1(PluginName));
    if (!loader.isLoaded())
        shareOpenGLContext();
    PageBrowserSource source;
    if (QObject *plugin = loader.instance())
        source.factory = qobject_cast<PageBrowserFactory *>(plugin);
    if (!source.factory)
        source.error = QStringLiteral("%1: %2").arg(QString::fromLatin1(PluginName), loader.errorString());
    return source;
}
