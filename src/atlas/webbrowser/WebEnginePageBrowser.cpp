// The page viewer's web view on Qt WebEngine, built as a plugin.
#include "PageBrowser.h"

#include <QObject>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

class WebEnginePageBrowser final : public PageBrowser
{
public:
    explicit WebEnginePageBrowser(QWidget *parent)
        : m_profile(std::make_unique<QWebEngineProfile>()), m_view(new QWebEngineView(parent))
    {
        // A profile without a storage name is off the record: nothing is kept on disk.
        Q_ASSERT(m_profile->isOffTheRecord());
        m_view->setPage(new QWebEnginePage(m_profile.get(), m_view));
    }

    ~WebEnginePageBrowser() override
    {
        // A page must go before its profile.
        delete m_view;
    }

    QWidget *widget() const override { return m_view; }
    void load(const QUrl &address) override { m_view->load(address); }
    void showHtml(const QString &html) override { m_view->setHtml(html); }

private:
    std::unique_ptr<QWebEngineProfile> m_profile;
    QWebEngineView *m_view;
};

} // namespace

class WebEnginePageBrowserPlugin : public QObject, public PageBrowserFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PageBrowserFactory_iid)
    Q_INTERFACES(PageBrowserFactory)
public:
    std::unique_ptr<PageBrowser> create(QWidget *parent) override
    {
        return std::make_unique<WebEnginePageBrowser>(parent);
    }
};

#include "WebEnginePageBrowser.moc"
