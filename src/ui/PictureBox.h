#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

// An image control: shows a picture (or a drawing) in its rectangle and
// reports presses and clicks. It does not track the pointer itself, so
// pointer movement over it reaches its window. When the keyboard gives it
// the focus it shows the focus ring.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    using Drawing = std::function<void(QPainter &, QRect)>;

    explicit PictureBox(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    void setDrawing(Drawing drawing);
    // Scale the picture to the control without smoothing (maps keep their pixels).
    void setNearestNeighbour(bool on) { m_nearest = on; update(); }

signals:
    void pressed(Qt::MouseButton button);
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QImage m_image;
    Drawing m_drawing;
    bool m_nearest = true;
};
