#include "OfficialPage.h"

#include <QDesktopServices>
#include <QUrl>

namespace OfficialPage {

bool isNavigable(const QUrl &address)
{
    const QString scheme = address.scheme();
    return address.isValid() && !address.host().isEmpty()
           && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void openInBrowserTab(const QString &address)
{
    const QUrl url(address);
    if (isNavigable(url))
        QDesktopServices::openUrl(url);
}

} // namespace OfficialPage
