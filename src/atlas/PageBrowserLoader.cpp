#include "PageBrowserLoader.h"

#include "PageBrowser.h"

#include <QPluginLoader>

PageBrowserSource PageBrowserLoader::load()
{
    static QPluginLoader loader(QString::fromLatin1(PluginName));
    PageBrowserSource source;
    if (QObject *plugin = loader.instance())
        source.factory = qobject_cast<PageBrowserFactory *>(plugin);
    if (!source.factory)
        source.error = loader.errorString();
    return source;
}
