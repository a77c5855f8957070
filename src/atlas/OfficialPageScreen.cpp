#include "OfficialPageScreen.h"

#include "AccessibleRole.h"
#include "AppState.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "PageBrowser.h"
#include "Palette.h"
#include "PictureButton.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
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

QString unreachableNoticeText(const QString &address)
{
    return QStringLiteral("ページに接続できませんでした。\n%1\n"
                          "ネットワークへの接続を確かめてから、「再読み込み」を押してください。")
        .arg(address);
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

    m_progress = new QProgressBar(this);
    m_progress->setGeometry(322, 7, 180, 17);
    m_progress->setRange(0, 100);
    m_progress->setAccessibleName(QStringLiteral("読み込み中"));
    m_progress->hide();

    const QRect browserArea(0, 38, 655, 442);
    if (browsers.factory) {
        WebBrowser1 = browsers.factory->create(this);
        QWidget *view = WebBrowser1->widget();
        view->setObjectName(QStringLiteral("WebBrowser1"));
        view->setAccessibleName(QStringLiteral("公式ページ"));
        view->setGeometry(browserArea);
        WebBrowser1->watchLoading(
            {FatalErrors::guarded([this](int percent) { m_progress->setValue(percent); }),
             FatalErrors::guarded(this, &OfficialPageScreen::loadFinished)});
        buildUnreachableNotice(browserArea);
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

void OfficialPageScreen::addressChanged()
{
    const int country = m_context.state.CurrentCountry;
    setWindowTitle(m_context.state.CountryNames[country]);
    const QString address = m_context.state.PageTable[country][2];
    emit navigationRequested(address);
    if (!WebBrowser1)
        return;
    // The box shows where the address begins, unless the user is typing in it.
    if (!Text1->isModified())
        Text1->setCursorPosition(0);
    const QUrl url(address);
    if (isNavigable(url))
        load(url);
    else
        WebBrowser1->showHtml(refusalPage(address));
}

void OfficialPageScreen::buildUnreachableNotice(const QRect &browserArea)
{
    m_unreachable = new QWidget(this);
    m_unreachable->setObjectName(QStringLiteral("unreachableNotice"));
    m_unreachable->setGeometry(browserArea.left(), browserArea.top(), browserArea.width(), 96);
    m_unreachable->setAutoFillBackground(true);
    QPalette colours = m_unreachable->palette();
    colours.setColor(QPalette::Window, Palette::LightYellow);
    m_unreachable->setPalette(colours);
    AccessibleRole::set(m_unreachable, QAccessible::AlertMessage);
    m_unreachable->setAccessibleName(QStringLiteral("ページに接続できませんでした"));

    m_unreachableText = new QLabel(m_unreachable);
    m_unreachableText->setGeometry(12, 8, 490, 80);
    m_unreachableText->setWordWrap(true);
    m_unreachableText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_unreachableText->setTextFormat(Qt::PlainText);
    m_unreachableText->setFont(Fonts::font(Fonts::Gothic, 10.5));

    m_retry = new PictureButton(QStringLiteral("再読み込み"), Palette::LightGreen, m_unreachable);
    m_retry->setGeometry(512, 25, 131, 45);
    connect(m_retry, &QAbstractButton::clicked, this, FatalErrors::guarded([this] { load(m_address); }));
    m_unreachable->hide();
}

void OfficialPageScreen::load(const QUrl &address)
{
    m_address = address;
    m_unreachable->hide();
    m_progress->setValue(0);
    m_progress->show();
    setCursor(Qt::BusyCursor);
    WebBrowser1->load(address);
}

void OfficialPageScreen::loadFinished(bool ok)
{
    m_progress->hide();
    unsetCursor();
    if (ok || m_address.isEmpty()) {
        m_unreachable->hide();
        return;
    }
    m_unreachableText->setText(unreachableNoticeText(m_address.toString()));
    m_unreachable->show();
    m_unreachable->raise();
    QAccessibleEvent alert(m_unreachable, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

OfficialPage::Opener registerOfficialPageScreen(ScreenDirectory &host, ScreenContext &context)
{
    host.registerScreen(OfficialPageScreen::ScreenName,
                        [&context] { return new OfficialPageScreen(context, PageBrowserLoader::load()); });
    return [&host](const QString &address) {
        auto *viewer = qobject_cast<OfficialPageScreen *>(host.screen(OfficialPageScreen::ScreenName));
        Q_ASSERT(viewer);
        viewer->addressBox()->setText(address);
        host.show(OfficialPageScreen::ScreenName);
    };
}
