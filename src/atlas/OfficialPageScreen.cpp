#include "OfficialPageScreen.h"

#include "AppState.h"
#include "Palette.h"
#include "ScreenContext.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <unistd.h>

namespace {

QString refusalPage(const QString &address)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head>"
                          "<body style=\"font-family: sans-serif\">"
                          "<p>このアドレスは開けません（http と https のページだけを表示します）。</p>"
                          "<p>%1</p></body></html>")
        .arg(address.toHtmlEscaped());
}

} // namespace

void prepareWebEngineEnvironment()
{
    prepareWebEngineEnvironment(unsigned(geteuid()));
    // The web view shares the application's OpenGL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void prepareWebEngineEnvironment(unsigned effectiveUserId)
{
    if (effectiveUserId == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

OfficialPageScreen::OfficialPageScreen(ScreenContext &context)
    : ScreenWindow(ScreenName, QSize(655, 480), Palette::LightBlue), m_context(context)
{
    setWindowTitle(QString());

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(3, 5, 311, 21);
    Text1->setAccessibleName(QStringLiteral("アドレス"));

    // Nothing the browser sees is kept on disk.
    m_profile = new QWebEngineProfile(this);
    Q_ASSERT(m_profile->isOffTheRecord());
    WebBrowser1 = new QWebEngineView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setAccessibleName(QStringLiteral("公式ページ"));
    WebBrowser1->setPage(new QWebEnginePage(m_profile, WebBrowser1));
    WebBrowser1->setGeometry(0, 38, 655, 442);

    connect(Text1, &QLineEdit::textChanged, this, &OfficialPageScreen::addressChanged);
}

OfficialPageScreen::~OfficialPageScreen()
{
    // A page must go before its profile.
    delete WebBrowser1;
}

bool OfficialPageScreen::isNavigable(const QUrl &address)
{
    const QString scheme = address.scheme();
    return address.isValid() && !address.host().isEmpty()
           && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void OfficialPageScreen::addressChanged()
{
    const int country = m_context.state.CurrentCountry;
    setWindowTitle(m_context.state.CountryNames[country]);
    const QString address = m_context.state.PageTable[country][2];
    emit navigationRequested(address);
    const QUrl url(address);
    if (isNavigable(url))
        WebBrowser1->load(url);
    else
        WebBrowser1->setHtml(refusalPage(address));
}
