#pragma once

#include <QColor>
#include <QWidget>

// A fixed-size top-level window of one screen: caption, background colour
// and the pointer movement that screens react to. Every pointer movement in
// the window, over whichever control, reaches pointerMovedOver() with the
// innermost widget under the pointer, or nullptr over the bare background.
class ScreenWindow : public QWidget
{
    Q_OBJECT
public:
    // No screen's client area is wider or taller.
    static constexpr QSize LargestClientSize{818, 480};

    ScreenWindow(const QString &caption, QSize clientSize, QColor background,
                 QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    virtual void pointerMovedOver(QWidget *under);
    // A touch on the screen at `position`, before the press it makes.
    void touched(QPoint position);
    // Where the screen stands, in words, told to a screen reader each time
    // the window becomes active (nothing by default).
    virtual QString spokenState() const;

    // Places the window at the centre of its screen.
    void centreOnScreen();
};
