#pragma once

#include <QtPlugin>

#include <functional>
#include <memory>

class QString;
class QUrl;
class QWidget;

// What the view tells about the page it loads. A load that a newer one
// replaces ends without a word.
struct PageLoadWatch {
    std::function<void(int percent)> progressed;
    std::function<void(bool ok)> finished;
};

// The web view of the page viewer. It lives in a plugin so that Qt WebEngine
// is loaded only when the first page is shown. Its own pages (network
// errors and the like) are in Japanese.
class PageBrowser
{
public:
    virtual ~PageBrowser() = default;
    // The view; a child of the parent given at creation.
    virtual QWidget *widget() const = 0;
    virtual void load(const QUrl &address) = 0;
    virtual void showHtml(const QString &html) = 0;
    virtual void watchLoading(PageLoadWatch watch) = 0;
};

class PageBrowserFactory
{
public:
    virtual ~PageBrowserFactory() = default;
    // A browser that keeps nothing it sees on disk.
    virtual std::unique_ptr<PageBrowser> create(QWidget *parent) = 0;
};

#define PageBrowserFactory_iid "io.github.kunishirabe.PageBrowserFactory/2"
Q_DECLARE_INTERFACE(PageBrowserFactory, PageBrowserFactory_iid)
