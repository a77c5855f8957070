#pragma once

// Every screen of the program, loaded through the host from the real data
// directory, as the program loads them.

#include "AppState.h"
#include "AtlasScreens.h"
#include "DrillScreens.h"
#include "LearningRecordScreen.h"
#include "MainMenuScreen.h"
#include "OfficialPageScreen.h"
#include "PracticeScreens.h"
#include "RegionCatalogue.h"
#include "RegionSubmenuScreen.h"
#include "ResultsScreen.h"
#include "ReviewDesk.h"
#include "ReviewSessionScreen.h"
#include "ReviewStore.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "TestSeams.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

// A screen to open: its host name and, for the submenu, the region chosen.
struct ScreenStop {
    QString name;
    int region = 1;
};

struct ScreenTour {
    AppState state;
    ScreenHost host;
    RecordingSoundPlayer sound;
    FakeClock clock;
    ScriptedRandom random;
    ScreenContext context{state, host, sound, clock, random};
    FakeCalendar calendar;
    QTemporaryDir reviewFolder;
    ReviewRecordFile reviewStore{reviewFolder.filePath(QStringLiteral("review-record.json"))};
    ReviewDesk review{reviewStore, calendar};

    ScreenTour()
    {
        state.DataRoot = QStringLiteral(KUNISHIRABE_SOURCE_DIR) + QStringLiteral("/data");
        host.registerScreen(MainMenuScreen::ScreenName, [this] { return new MainMenuScreen(context, &review); });
        host.registerScreen(RegionSubmenuScreen::ScreenName,
                            [this] { return new RegionSubmenuScreen(context); });
        registerAtlasScreens(host, context, registerOfficialPageScreen(host, context));
        registerDrillScreens(host, context);
        registerResultsScreen(host, context);
        registerPracticeScreens(host, context, review);
    }

    ~ScreenTour()
    {
        for (const QString &name : allScreenNames())
            host.unload(name);
        host.unload(OfficialPageScreen::ScreenName);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Every screen but the page viewer, which an atlas opens.
    static QStringList allScreenNames()
    {
        QStringList names{MainMenuScreen::ScreenName, RegionSubmenuScreen::ScreenName};
        for (const RegionInfo &region : RegionCatalogue::all())
            names << region.atlasScreenName() << region.drillScreenName();
        names << ResultsScreen::ScreenName << ReviewSessionScreen::ScreenName << LearningRecordScreen::ScreenName;
        return names;
    }

    // Loads and shows a screen, waits until it is active, and moves the
    // pointer onto a bare corner (twice: a move to the place of the last move
    // is dropped, and the last screen may have ended there).
    template <typename Screen = QWidget>
    Screen *open(const QString &name, int region = 1)
    {
        state.CurrentRegion = qint16(region);
        host.show(name);
        QWidget *screen = host.loadedScreen(name);
        if (!screen)
            return nullptr;
        screen->activateWindow();
        if (!QTest::qWaitForWindowActive(screen))
            return nullptr;
        QTest::mouseMove(screen, QPoint(screen->width() - 3, screen->height() - 3));
        QTest::mouseMove(screen, QPoint(screen->width() - 2, screen->height() - 2));
        return qobject_cast<Screen *>(screen);
    }

    // The page viewer showing a page that is never fetched (a closed local port).
    OfficialPageScreen *openViewer()
    {
        state.CurrentCountry = 1;
        state.CountryNames[1] = QStringLiteral("日本");
        state.PageTable[1][2] = QStringLiteral("http://127.0.0.1:9/");
        auto *viewer = qobject_cast<OfficialPageScreen *>(host.screen(OfficialPageScreen::ScreenName));
        viewer->addressBox()->setText(state.PageTable[1][2]);
        host.show(OfficialPageScreen::ScreenName);
        viewer->activateWindow();
        return QTest::qWaitForWindowActive(viewer) ? viewer : nullptr;
    }

    // The question asked first: the random source is read once per draw.
    void askFirst(int country, int questionCount)
    {
        random.values = {(country - 0.5) / questionCount};
    }
};

// Qt's composite controls build their parts (a combo box's pop-up list, a
// list box's viewport and scroll bars, a web view's render widget) as child
// widgets of their own. Assistive technology reaches those parts through the
// composite's accessible interface, which names them itself (list rows, scroll
// bars); they are not controls of ours.
inline bool isCompositeControl(const QWidget *widget)
{
    return qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractScrollArea *>(widget)
           || qobject_cast<const QWebEngineView *>(widget);
}

// The composite control that `widget` is a part of, below `screen`; nullptr
// for a control of the screen's own.
inline const QWidget *compositeOwner(const QWidget *widget, const QWidget *screen)
{
    for (const QWidget *up = widget->parentWidget(); up && up != screen; up = up->parentWidget()) {
        if (isCompositeControl(up))
            return up;
    }
    return nullptr;
}

// The screen's own controls, shown or hidden, in creation order.
inline QList<QWidget *> controlsOf(QWidget *screen)
{
    QList<QWidget *> controls;
    for (QWidget *widget : screen->findChildren<QWidget *>()) {
        if (!compositeOwner(widget, screen))
            controls << widget;
    }
    return controls;
}

inline QString accessibleText(QWidget *widget, QAccessible::Text which)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(which) : QString();
}

// The control of the screen with that accessible name, shown or hidden.
inline QWidget *controlNamed(QWidget *screen, const QString &name)
{
    for (QWidget *control : controlsOf(screen)) {
        if (accessibleText(control, QAccessible::Name) == name)
            return control;
    }
    return nullptr;
}
