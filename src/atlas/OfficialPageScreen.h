#pragma once

#include "OfficialPage.h"
#include "PageBrowserLoader.h"
#include "ScreenWindow.h"

#include <QUrl>

#include <memory>

class PageBrowser;
class PictureButton;
class QLabel;
class QLineEdit;
class QProgressBar;
struct ScreenContext;
class ScreenDirectory;

// Call before the QApplication exists: Chromium's sandbox refuses to start
// as root, so it is switched off then, and only then.
void prepareWebEngineEnvironment();
// The same for a given effective user id (0 = root).
void prepareWebEngineEnvironment(unsigned effectiveUserId);

// 外務省: a browser window beside an atlas that shows the official page of
// the chosen entry. A caller asks for a page by writing its address into
// Text1; every change of Text1 retitles the window with the entry's name and
// loads the entry's address from the page table. The web view comes from
// the browser plugin; without it the window says so in the view's place.
// While a page loads, a progress bar and a busy pointer show; a page that
// cannot be reached is named in a notice with a button to try again.
class OfficialPageScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString &ScreenName = OfficialPage::ViewerScreenName;

    OfficialPageScreen(ScreenContext &context, const PageBrowserSource &browsers);
    ~OfficialPageScreen() override;

    QLineEdit *addressBox() const { return Text1; }
    // The web view, or null when the plugin could not be loaded.
    QWidget *browser() const;
    // The notice shown instead of the web view, or null.
    QLabel *browserMissingNotice() const { return m_missingNotice; }
    QProgressBar *progressBar() const { return m_progress; }
    // The notice about a page that could not be reached, or null without a view.
    QWidget *unreachableNotice() const { return m_unreachable; }
    QLabel *unreachableText() const { return m_unreachableText; }
    PictureButton *retryButton() const { return m_retry; }

    // Only these schemes are navigated to.
    static bool isNavigable(const QUrl &address) { return OfficialPage::isNavigable(address); }

signals:
    // The page asked for after a change of Text1 (tests watch it).
    void navigationRequested(const QString &address);

private:
    void addressChanged();
    void buildUnreachableNotice(const QRect &browserArea);
    void load(const QUrl &address);
    void loadFinished(bool ok);

    ScreenContext &m_context;
    QLineEdit *Text1 = nullptr;
    std::unique_ptr<PageBrowser> WebBrowser1;
    QLabel *m_missingNotice = nullptr;
    QProgressBar *m_progress = nullptr;
    QWidget *m_unreachable = nullptr;
    QLabel *m_unreachableText = nullptr;
    PictureButton *m_retry = nullptr;
    QUrl m_address;  // the page loaded last
};

// Registers the page viewer with the host and returns the way to show a page in it.
OfficialPage::Opener registerOfficialPageScreen(ScreenDirectory &host, ScreenContext &context);
