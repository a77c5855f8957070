// The page viewer 外務省 against pages served by the test on 127.0.0.1.
#include "AtlasFixture.h"
#include "ScreenTestMain.h"

#include "OfficialPageScreen.h"
#include "PageBrowserLoader.h"
#include "PictureButton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// Answers every GET with a small page whose title is the requested path.
class PageServer : public QTcpServer
{
public:
    PageServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost);
    }

    QString address(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

    QStringList requested;

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->readAll();
        const QList<QByteArray> words = request.split(' ');
        if (words.size() < 2 || words.first() != "GET")
            return;
        const QByteArray path = words.at(1);
        if (path == "/favicon.ico") {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        requested.append(QString::fromLatin1(path));
        const QByteArray body = "<html><head><title>" + path + "</title></head><body>" + path + "</body></html>";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
};

QWebEngineView *webView(const OfficialPageScreen *viewer)
{
    return qobject_cast<QWebEngineView *>(viewer->browser());
}

QString pageText(QWebEnginePage *page)
{
    QString text;
    bool done = false;
    page->toPlainText([&](const QString &result) {
        text = result;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 5000))
        return QStringLiteral("(no answer from the page)");
    return text;
}

} // namespace

class OfficialPageTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void window();
    void changeRule();
    void typingReloadsTheEntrysPage();
    void schemeGuard_data();
    void schemeGuard();
    void navigable_data();
    void navigable();
    void unreachablePageInJapanese();
    void withoutBrowserPlugin();
    void sandboxOnlyForRoot_data();
    void sandboxOnlyForRoot();

private:
    OfficialPageScreen *openViewer();

    std::unique_ptr<AtlasFixture> m_fixture;
    std::unique_ptr<PageServer> m_server;
};

void OfficialPageTest::init()
{
    m_fixture = std::make_unique<AtlasFixture>();
    m_server = std::make_unique<PageServer>();
    QVERIFY(m_server->isListening());
    AppState &state = m_fixture->state;
    const QStringList addresses = {m_server->address(QStringLiteral("/a.html")),
                                   m_server->address(QStringLiteral("/b.html"))};
    for (int k = 1; k <= 2; ++k) {
        state.CountryNames[k] = AtlasFixture::name(k);
        state.PageTable[k][1] = AtlasFixture::name(k);
        state.PageTable[k][2] = addresses[k - 1];
    }
}

void OfficialPageTest::cleanup()
{
    m_fixture.reset();
    m_server.reset();
}

OfficialPageScreen *OfficialPageTest::openViewer()
{
    m_fixture->host.show(OfficialPageScreen::ScreenName);
    return qobject_cast<OfficialPageScreen *>(m_fixture->host.loadedScreen(OfficialPageScreen::ScreenName));
}

void OfficialPageTest::window()
{
    OfficialPageScreen *viewer = openViewer();
    QVERIFY(viewer);
    QCOMPARE(viewer->size(), QSize(655, 480));
    QCOMPARE(viewer->windowTitle(), QString());
    QCOMPARE(viewer->addressBox()->geometry(), QRect(3, 5, 311, 21));
    const QRect browser = viewer->browser()->geometry();
    QVERIFY(browser.top() > 26);
    QCOMPARE(browser.bottom(), 479);
    QCOMPARE(browser.width(), 655);
    QVERIFY(webView(viewer)->page()->profile()->isOffTheRecord());
}

void OfficialPageTest::changeRule()
{
    AppState &state = m_fixture->state;
    OfficialPageScreen *viewer = openViewer();
    QVERIFY(viewer);
    QSignalSpy asked(viewer, &OfficialPageScreen::navigationRequested);
    QSignalSpy loaded(webView(viewer), &QWebEngineView::loadFinished);

    // A new address: the caption becomes the entry's name and the page loads.
    state.CurrentCountry = 1;
    viewer->addressBox()->setText(state.PageTable[1][2]);
    QCOMPARE(viewer->windowTitle(), AtlasFixture::name(1));
    QCOMPARE(asked.count(), 1);
    QVERIFY(loaded.wait(10000));
    QCOMPARE(loaded.last().first().toBool(), true);
    QCOMPARE(webView(viewer)->url().toString(), state.PageTable[1][2]);
    QCOMPARE(m_server->requested, QStringList{QStringLiteral("/a.html")});

    // The same address again is no change: nothing is loaded.
    viewer->setWindowTitle(QStringLiteral("別の題"));
    viewer->addressBox()->setText(state.PageTable[1][2]);
    QCOMPARE(asked.count(), 1);
    QVERIFY(!loaded.wait(500));
    QCOMPARE(m_server->requested.size(), 1);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("別の題"));

    // Another entry navigates at once and retitles.
    state.CurrentCountry = 2;
    viewer->addressBox()->setText(state.PageTable[2][2]);
    QCOMPARE(viewer->windowTitle(), AtlasFixture::name(2));
    QVERIFY(loaded.wait(10000));
    QCOMPARE(webView(viewer)->url().toString(), state.PageTable[2][2]);
    QCOMPARE(m_server->requested.last(), QStringLiteral("/b.html"));
}

void OfficialPageTest::typingReloadsTheEntrysPage()
{
    AppState &state = m_fixture->state;
    OfficialPageScreen *viewer = openViewer();
    QVERIFY(viewer);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QSignalSpy asked(viewer, &OfficialPageScreen::navigationRequested);
    QSignalSpy loaded(webView(viewer), &QWebEngineView::loadFinished);
    state.CurrentCountry = 2;
    viewer->addressBox()->setText(state.PageTable[2][2]);
    QVERIFY(loaded.wait(10000));

    viewer->addressBox()->setFocus();
    QTest::keyClicks(viewer->addressBox(), QStringLiteral("/c.html"));
    QCOMPARE(asked.count(), 1 + 7);
    for (const QList<QVariant> &request : asked)
        QCOMPARE(request.first().toString(), state.PageTable[2][2]);
    QCOMPARE(viewer->windowTitle(), AtlasFixture::name(2));
    QVERIFY(QTest::qWaitFor([&] { return !loaded.isEmpty() && loaded.last().first().toBool(); }, 10000));
    QTest::qWait(200);
    QCOMPARE(webView(viewer)->url().toString(), state.PageTable[2][2]);
    QVERIFY(!m_server->requested.contains(QStringLiteral("/b.html/c.html")));
}

void OfficialPageTest::schemeGuard_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("local file") << QStringLiteral("file:///etc/hostname");
    QTest::newRow("script") << QStringLiteral("javascript:document.title='x'");
    QTest::newRow("data") << QStringLiteral("data:text/html,<b>x</b>");
    QTest::newRow("no scheme") << QStringLiteral("www.mofa.go.jp/mofaj/area/index.html");
    QTest::newRow("empty") << QString();
}

void OfficialPageTest::schemeGuard()
{
    QFETCH(QString, address);
    AppState &state = m_fixture->state;
    state.CountryNames[3] = AtlasFixture::name(3);
    state.PageTable[3][2] = address;
    state.CurrentCountry = 3;
    OfficialPageScreen *viewer = openViewer();
    QVERIFY(viewer);
    QSignalSpy loaded(webView(viewer), &QWebEngineView::loadFinished);
    viewer->addressBox()->setText(address.isEmpty() ? QStringLiteral("x") : address);
    QCOMPARE(viewer->windowTitle(), AtlasFixture::name(3));
    QVERIFY(loaded.wait(10000));
    const QString shown = pageText(webView(viewer)->page());
    QVERIFY2(shown.contains(QStringLiteral("このアドレスは開けません")), qPrintable(shown));
    QVERIFY(webView(viewer)->url().scheme() != QLatin1String("file"));
    QVERIFY(m_server->requested.isEmpty());
}

void OfficialPageTest::navigable_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("navigable");
    QTest::newRow("http") << QStringLiteral("http://www.mofa.go.jp/") << true;
    QTest::newRow("https") << QStringLiteral("https://www.stat.go.jp/") << true;
    QTest::newRow("upper-case scheme") << QStringLiteral("HTTPS://www.mofa.go.jp/") << true;
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/x") << false;
    QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << false;
    QTest::newRow("no host") << QStringLiteral("http:///etc/passwd") << false;
    QTest::newRow("relative") << QStringLiteral("mofaj/area/index.html") << false;
}

void OfficialPageTest::navigable()
{
    QFETCH(QString, address);
    QFETCH(bool, navigable);
    QCOMPARE(OfficialPageScreen::isNavigable(QUrl(address)), navigable);
}

void OfficialPageTest::unreachablePageInJapanese()
{
    // Nothing listens on the discard port: the page cannot be reached, as
    // with no network at all.
    AppState &state = m_fixture->state;
    const QString address = QStringLiteral("http://127.0.0.1:9/mofaj/area/japan/index.html");
    state.CountryNames[3] = AtlasFixture::name(3);
    state.PageTable[3][2] = address;
    state.CurrentCountry = 3;
    OfficialPageScreen *viewer = openViewer();
    QVERIFY(viewer);
    QSignalSpy loaded(webView(viewer), &QWebEngineView::loadFinished);
    viewer->addressBox()->setText(address);

    // At work: progress bar and busy pointer; the box shows where the address begins.
    QCOMPARE(viewer->addressBox()->cursorPosition(), 0);
    QVERIFY(viewer->progressBar()->isVisible());
    QCOMPARE(viewer->cursor().shape(), Qt::BusyCursor);
    QVERIFY(!viewer->unreachableNotice()->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(viewer->unreachableNotice()->isVisible(), 20000);
    const QString notice = viewer->unreachableText()->text();
    QVERIFY2(notice.contains(QStringLiteral("接続できませんでした")) && notice.contains(address), qPrintable(notice));
    QVERIFY(!viewer->progressBar()->isVisible());
    QCOMPARE(viewer->cursor().shape(), Qt::ArrowCursor);
    // The browser's own error page speaks Japanese too.
    QVERIFY(loaded.wait(5000) || !loaded.isEmpty());
    const QString errorPage = pageText(webView(viewer)->page());
    QVERIFY2(errorPage.contains(QStringLiteral("アクセスできません")), qPrintable(errorPage));

    // Trying again loads the page again, and fails again.
    QTest::keyClick(viewer->retryButton(), Qt::Key_Space);
    QVERIFY(!viewer->unreachableNotice()->isVisible());
    QVERIFY(viewer->progressBar()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(viewer->unreachableNotice()->isVisible(), 20000);
}

void OfficialPageTest::withoutBrowserPlugin()
{
    // The plugin is found beside the program and loaded once, on first use.
    const PageBrowserSource found = PageBrowserLoader::load();
    QVERIFY2(found.factory, qPrintable(found.error));
    QCOMPARE(PageBrowserLoader::load().factory, found.factory);

    // Without it the window still opens and names the cause instead of a page.
    const QString cause = QStringLiteral("libkunishirabe_webbrowser.so: cannot open shared object file");
    OfficialPageScreen viewer(m_fixture->context, PageBrowserSource{nullptr, cause});
    QCOMPARE(viewer.browser(), nullptr);
    QVERIFY(viewer.browserMissingNotice());
    QVERIFY(viewer.browserMissingNotice()->text().contains(cause));
    QVERIFY(viewer.browserMissingNotice()->text().startsWith(QStringLiteral("ページを表示する部品")));
    m_fixture->state.CurrentCountry = 2;
    QSignalSpy requested(&viewer, &OfficialPageScreen::navigationRequested);
    viewer.addressBox()->setText(m_fixture->state.PageTable[2][2]);
    QCOMPARE(viewer.windowTitle(), AtlasFixture::name(2));
    QCOMPARE(requested.count(), 1);
}

void OfficialPageTest::sandboxOnlyForRoot_data()
{
    QTest::addColumn<unsigned>("user");
    QTest::addColumn<bool>("sandboxOff");
    QTest::newRow("root") << 0u << true;
    QTest::newRow("ordinary user") << 1000u << false;
}

void OfficialPageTest::sandboxOnlyForRoot()
{
    QFETCH(unsigned, user);
    QFETCH(bool, sandboxOff);
    const QByteArray saved = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    prepareWebEngineEnvironment(user);
    const bool set = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", saved);
    QCOMPARE(set, sandboxOff);
}

KUNISHIRABE_SCREEN_TEST_MAIN(OfficialPageTest)

#include "tst_officialpage.moc"
