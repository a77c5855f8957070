#include "PictureButton.h"

#include "Fonts.h"
#include "WordArt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

namespace {

// Whether the program's last key or button press came from the keyboard.
// When a focused button hides, Qt moves the focus on for the Tab reason,
// also after a click; that move shows no ring to a pointer user.
class LastPress : public QObject
{
public:
    static void watch() { instance(); }
    static bool wasKey() { return instance()->m_key; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            m_key = true;
        else if (event->type() == QEvent::MouseButtonPress)
            m_key = false;
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;

    static LastPress *instance()
    {
        static QPointer<LastPress> watcher;
        if (!watcher) {
            watcher = new LastPress(qApp);
            qApp->installEventFilter(watcher);
        }
        return watcher;
    }

    bool m_key = false;
};

} // namespace

PictureButton::PictureButton(const QString &word, QColor face, QWidget *parent)
    : QAbstractButton(parent), m_word(word), m_face(face)
{
    LastPress::watch();
    setAccessibleName(word);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setWord(const QString &word)
{
    m_word = word;
    setAccessibleName(word);
    update();
}

QSize PictureButton::sizeHint() const
{
    return QSize(109, 45);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    const WordArt::FaceState state = isDown() ? WordArt::FaceState::Pressed
                                              : (m_hovered ? WordArt::FaceState::Hovered : WordArt::FaceState::Normal);
    QPainter painter(this);
    WordArt::paintButtonFace(painter, rect(), m_word, m_face, state, hasFocus() && m_keyboardFocus);
}

void PictureButton::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus = reason == Qt::ShortcutFocusReason
                      || ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && LastPress::wasKey());
    QAbstractButton::focusInEvent(event);
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    m_keyboardFocus = true;
    update();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
