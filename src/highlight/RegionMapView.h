#pragma once

#include "MarkerLayout.h"

#include <QImage>
#include <QList>
#include <QWidget>

#include <span>

// One country marker, Image1(k): a magenta square, with a leader line when the
// rectangle is longer than the square. Presses and pointer crossings are
// reported; the marker does not track the pointer, so moves reach the window.
class MapMarker : public QWidget
{
    Q_OBJECT
public:
    MapMarker(int index, const MarkerRect &rect, QWidget *parent);

    int index() const { return m_index; }  // k: belongs to CountryIndex k + 1
    const MarkerRect &markerRect() const { return m_rect; }

    static constexpr QRgb Colour = 0xffff00ff;

signals:
    void pressed(Qt::MouseButton button);
    void entered();
    void left();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int m_index;
    MarkerRect m_rect;
};

// The region map, Picture1: keeps the map as loaded and a working copy that
// fills and rings modify, and shows the working copy at its natural size.
// The markers are its children, placed in map pixels.
class RegionMapView : public QWidget
{
    Q_OBJECT
public:
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

signals:
    void markerPressed(int index, Qt::MouseButton button);
    void markerEntered(int index);
    void markerLeft(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_pristine;
    QImage m_surface;
    QList<MapMarker *> m_markers;
};
