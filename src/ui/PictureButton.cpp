#include "PictureButton.h"

#include "Fonts.h"
#include "WordArt.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

PictureButton::PictureButton(const QString &word, QColor face, QWidget *parent)
    : QAbstractButton(parent), m_word(word), m_face(face)
{
    setAccessibleName(word);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize PictureButton::sizeHint() const
{
    return QSize(109, 45);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    WordArt::paintButtonFace(painter, rect(), m_word, m_face,
                             isDown() ? WordArt::FaceState::Pressed
                                      : (m_hovered ? WordArt::FaceState::Hovered
                                                   : WordArt::FaceState::Normal),
                             hasFocus() && m_keyboardFocus);
}

void PictureButton::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
                      || reason == Qt::ShortcutFocusReason;
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
