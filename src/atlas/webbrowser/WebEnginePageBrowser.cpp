// The page viewer's web view on Qt WebEngine, built as a plugin.
#include "PageBrowser.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// Chromium takes its language from its command line when the first profile
// starts it; its own pages (network errors) then come in Japanese.
void speakJapanese()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--lang="))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + "--lang=ja");
}

std::unique_ptr<QWebEngineProfile> japaneseProfile()
{
    speakJapanese();
    auto profile = std::make_unique<QWebEngineProfile>();
    // A profile without a storage name is off the record: nothing is kept on disk.
    Q_ASSERT(profile->isOffTheRecord());
    profile->setHttpAcceptLanguage(QStringLiteral("ja"));
    return profile;
}

class WebEnginePageBrowser final : public PageBrowser
{
public:
    explicit WebEnginePageBrowser(QWidget *parent)
        : m_profile(japaneseProfile()), m_view(new QWebEngineView(parent))
    {
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

    void watchLoading(PageLoadWatch watch) override
    {
        QObject::connect(m_view, &QWebEngineView::loadProgress, m_view, watch.progressed);
        QObject::connect(m_view->page(), &QWebEnginePage::loadingChanged, m_view,
                         [finished = watch.finished](const QWebEngineLoadingInfo &info) {
            if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                finished(true);
            else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
                finished(false);
        });
    }

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
