#include "OfficialPageScreen.h"

#include "AppState.h"
#include "FatalErrors.h"
#include "PageBrowser.h"
#include "Palette.h"
#include "ScreenContext.h"

#include <QLabel>
#include <QLineEdit>
#include <QUrl>

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
}

void prepareWebEngineEnvironment(unsigned effectiveUserId)
{
    if (effectiveUserId == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

OfficialPageScreen::OfficialPageScreen(ScreenContext &context, const PageBrowserSource &browsers)
    : ScreenWindow(ScreenName, QSize(655, 480), Palette::LightBlue), m_context(context)
{
    setWindowTitle(QString());

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(3, 5, 311, 21);
    Text1->setAccessibleName(QStringLiteral("アドレス"));

    const QRect browserArea(0, 38, 655, 442);
    if (browsers.factory) {
        WebBrowser1 = browsers.factory->create(this);
        QWidget *view = WebBrowser1->widget();
        view->setObjectName(QStringLiteral("WebBrowser1"));
        view->setAccessibleName(QStringLiteral("公式ページ"));
        view->setGeometry(browserArea);
    } else {
        m_missingNotice = new QLabel(
            QStringLiteral("ページを表示する部品を読み込めませんでした。\n%1").arg(browsers.error), this);
        m_missingNotice->setGeometry(browserArea.adjusted(12, 12, -12, -12));
        m_missingNotice->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        m_missingNotice->setWordWrap(true);
    }

    connect(Text1, &QLineEdit::textChanged, this,
            FatalErrors::guarded(this, &OfficialPageScreen::addressChanged));
}

OfficialPageScreen::~OfficialPageScreen() = default;

QWidget *OfficialPageScreen::browser() const
{
    return WebBrowser1 ? WebBrowser1->widget() : nullptr;
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
    if (!WebBrowser1)
        return;
    const QUrl url(address);
    if (isNavigable(url))
        WebBrowser1->load(url);
    else
        WebBrowser1->showHtml(refusalPage(address));
}
