#pragma once

#include <QColor>
#include <QWidget>

class QMouseEvent;

// A fixed-size top-level window of one screen: caption, background colour
// and the pointer movement that screens react to. Every pointer movement in
// the window, over whichever control, reaches pointerMovedOver() with the
// innermost widget under the pointer, or nullptr over the bare background.
//
// A finger cannot rest on a trigger picture: a tap arrives as the pointer
// would, across the background onto the trigger, and a tap that brings out
// a control under the finger presses nothing; the next tap on the control
// presses it.
class ScreenWindow : public QWidget
{
    Q_OBJECT
public:
    // No screen's client area is wider or taller.
    static constexpr QSize LargestClientSize{818, 480};

    // Whether the press being handled on `control`'s screen came from a
    // finger rather than the pointer or the keyboard.
    static bool pressedByTouch(const QWidget *control);
    // Whether leaving now would lose work: a drill run with answers.
    virtual bool workInProgress() const { return false; }

    ScreenWindow(const QString &caption, QSize clientSize, QColor background,
                 QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    virtual void pointerMovedOver(QWidget *under);
    // Where the screen stands, in words, told to a screen reader each time
    // the window becomes active (nothing by default).
    virtual QString spokenState() const;

    // Places the window at the centre of its screen.
    void centreOnScreen();

private:
    // A touch on the screen at `position`, before the press it makes; true
    // when it brought out the control under the finger.
    bool touched(QPoint position);
    // Whether a press or release made from the touch is to go no further.
    bool swallowsTouchPress(const QMouseEvent &event);

    bool m_pressedByTouch = false;
    bool m_swallowingTap = false;
};
