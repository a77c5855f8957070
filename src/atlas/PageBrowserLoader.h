#pragma once

#include <QString>

class PageBrowserFactory;

// Finds the web browser plugin on first use: "plugins/" under each of
// QCoreApplication::libraryPaths(), the program's own directory first.
// The plugin stays loaded until the program ends.
struct PageBrowserSource {
    PageBrowserFactory *factory = nullptr;
    QString error; // why factory is null
};

namespace PageBrowserLoader {

inline constexpr char PluginName[] = "plugins/kunishirabe_webbrowser";

PageBrowserSource load();

} // namespace PageBrowserLoader
