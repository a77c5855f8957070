#pragma once

#include "ScreenWindow.h"

class QLineEdit;
class QWebEngineProfile;
class QWebEngineView;
struct ScreenContext;

// Call before the QApplication exists: Chromium's sandbox refuses to start
// as root, so it is switched off then, and only then.
void prepareWebEngineEnvironment();
// The same for a given effective user id (0 = root).
void prepareWebEngineEnvironment(unsigned effectiveUserId);

// 外務省: a browser window beside an atlas that shows the official page of
// the chosen entry. A caller asks for a page by writing its address into
// Text1; every change of Text1 retitles the window with the entry's name and
// loads the entry's address from the page table.
class OfficialPageScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString ScreenName = QStringLiteral("外務省");

    explicit OfficialPageScreen(ScreenContext &context);
    ~OfficialPageScreen() override;

    QLineEdit *addressBox() const { return Text1; }
    QWebEngineView *browser() const { return WebBrowser1; }

    // Only these schemes are navigated to.
    static bool isNavigable(const QUrl &address);

signals:
    // The page asked for after a change of Text1 (tests watch it).
    void navigationRequested(const QString &address);

private:
    void addressChanged();

    ScreenContext &m_context;
    QWebEngineProfile *m_profile = nullptr;
    QLineEdit *Text1 = nullptr;
    QWebEngineView *WebBrowser1 = nullptr;
};
