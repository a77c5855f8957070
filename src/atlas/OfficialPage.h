#pragma once

#include <QString>

#include <functional>

class QUrl;

// Where the atlas's page link takes the pupil: the official page of the
// chosen entry, shown by whatever the program was given for it (the page
// viewer screen, or a tab of the browser the program runs in).
namespace OfficialPage {

// The page viewer screen, where the program has one.
inline const QString ViewerScreenName = QStringLiteral("外務省");

// Shows the page at an address from the page table.
using Opener = std::function<void(const QString &address)>;

// Only http and https addresses with a host are opened.
bool isNavigable(const QUrl &address);

// Opens a navigable address in a new tab of the browser the program runs in.
void openInBrowserTab(const QString &address);

} // namespace OfficialPage
