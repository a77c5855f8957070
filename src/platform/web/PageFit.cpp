#include "PageFit.h"

#include "MarkerReach.h"
#include "Page.h"
#include "RegionMapView.h"
#include "ScreenScale.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>

namespace PageFit {

void fit(QWidget &screen)
{
    QScreen *page = QGuiApplication::primaryScreen();
    if (!page || !page->handle())
        return;
    // The platform screen is the page's canvas, in CSS pixels.
    const QPlatformScreen &canvas = *page->handle();
    const qreal scale = ScreenScale::fitting(screen.size(), canvas.geometry().size(), canvas.devicePixelRatio());
    if (!qFuzzyCompare(QHighDpiScaling::factor(page), scale))
        QHighDpiScaling::setScreenFactor(page, scale);
    RegionMapView::setFingerReach(MarkerReach::FingerCssPixels / scale);

    // Centred on the canvas as it is now: the screen's own geometry may still
    // be that of a size the page has passed through.
    const QRectF canvasArea = canvas.geometry();
    QRectF placed(QPointF(), screen.size());
    placed.moveCenter(canvasArea.center() / scale);
    if (QWindow *window = screen.windowHandle(); window && screen.isVisible()) {
        // The window's native size still has the old scale in it.
        window->setGeometry(placed.toRect());
        // Every control is drawn again at the new density, scrolled lists too.
        screen.update();
        for (QWidget *control : screen.findChildren<QWidget *>())
            control->update();
        Page::logScreen(screen.windowTitle(), placed.toRect(), scale * canvas.devicePixelRatio());
    } else {
        screen.move(placed.topLeft().toPoint());
    }
}

void followThePage()
{
    QScreen *page = QGuiApplication::primaryScreen();
    if (!page)
        return;
    QObject::connect(page, &QScreen::geometryChanged, qApp, [] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                fit(*window);
        }
    });
}

} // namespace PageFit
