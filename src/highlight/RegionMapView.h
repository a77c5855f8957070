#pragma once

#include "MarkerLayout.h"

#include <QImage>
#include <QList>
#include <QWidget>

#include <span>

class QPainter;

// One country marker, Image1(k): a magenta square, with a leader line when the
// rectangle is longer than the square. Presses (and whether a finger made
// them) and pointer crossings are reported; the marker does not track the
// pointer, so moves reach the window.
class MapMarker : public QWidget
{
    Q_OBJECT
public:
    MapMarker(int index, const MarkerRect &rect, QWidget *parent);

    int index() const { return m_index; }  // k: belongs to CountryIndex k + 1
    const MarkerRect &markerRect() const { return m_rect; }

    static constexpr QRgb Colour = 0xffff00ff;

signals:
    void pressed(Qt::MouseButton button, bool byFinger);
    void entered();
    void left();
    void focusGained(Qt::FocusReason reason);
    void focusLost();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int m_index;
    MarkerRect m_rect;
};

// The region map, Picture1: keeps the map as loaded and a working copy that
// fills and rings modify, and shows the working copy at its natural size
// (scaled without smoothing on high-density screens, so borders stay black).
// The markers are its children, placed in map pixels.
//
// With keyboard navigation on, one marker at a time is in the tab chain;
// the arrow keys move the focus to the nearest marker in their direction
// and Enter or Space activates the focused marker. A ring around the focused
// marker shows where the focus is once the keyboard has been used; it is
// drawn over the map as shown, never into the working copy.
//
// A tap within a finger's reach of a marker's square presses the nearest
// marker, and a marker pressed by a finger shows a ring for a moment, so
// that the pupil sees what was taken. Pointer clicks take the marker under
// them only.
class RegionMapView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RingWidth = 2;
    static constexpr int RingGap = 1;  // between the marker and the ring
    static constexpr QRgb RingColour = 0xff0000a0;
    static constexpr QRgb PressedColour = 0xff000000;
    static constexpr int PressedShownMs = 400;

    // The finger's reach in the map's pixels: 22 CSS pixels at the scale the
    // screens are drawn at (22 until told otherwise).
    static void setFingerReach(qreal mapPixels);

    explicit RegionMapView(QWidget *parent = nullptr);

    // Replaces the map; the working copy starts pristine.
    void setMap(const QImage &map);
    const QImage &pristineMap() const { return m_pristine; }
    const QImage &surface() const { return m_surface; }
    // For drawing on the working copy; call surfaceChanged() afterwards.
    QImage &editSurface() { return m_surface; }
    void surfaceChanged();
    // Back to the map as loaded.
    void clear();

    // Creates Image1(0)..Image1(n-1) from the rectangles, replacing any markers.
    void setMarkers(std::span<const MarkerRect> rects);
    int markerCount() const { return int(m_markers.size()); }
    MapMarker *marker(int index) const;
    // k of a marker widget, or -1 for any other widget.
    int markerIndexOf(const QWidget *widget) const;

    void setKeyboardNavigation(bool on);
    bool keyboardNavigation() const { return m_keyboardNavigation; }
    // The marker that is in the tab chain (it has, or last had, the focus).
    int currentMarker() const { return m_current; }
    // Moves the focus to marker k; it becomes the one in the tab chain.
    void focusMarker(int index, Qt::FocusReason reason);
    // The marker nearest to marker `from` in the direction of an arrow key
    // (Qt::Key_Left, Key_Right, Key_Up, Key_Down), or -1 if none lies that way.
    int nearestMarker(int from, int arrowKey) const;
    // The focus ring in map pixels; empty while none is shown.
    QRect focusRing() const;
    // The marker shown pressed by a finger, or -1.
    int markerShownPressed() const { return m_pressed; }

signals:
    void markerPressed(int index, Qt::MouseButton button);
    void markerEntered(int index);
    void markerLeft(int index);
    // Enter or Space on the focused marker.
    void markerActivated(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void markerFocusGained(int index, Qt::FocusReason reason);
    void updateRing();
    void pressedByFinger(int index);
    static void paintRing(QPainter &painter, QRect ring, QColor colour);

    QImage m_pristine;
    QImage m_surface;
    QList<MapMarker *> m_markers;
    bool m_keyboardNavigation = false;
    int m_current = 0;
    bool m_keyboardUsed = false;  // the ring shows only after keyboard use
    QRect m_ringShown;
    int m_pressed = -1;
    int m_pressCount = 0;  // so that only the last press's moment ends the ring
};
