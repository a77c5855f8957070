#pragma once

#include <QAbstractButton>
#include <QColor>

// A button whose face is a picture of its word; it carries no caption text.
// The word is the accessible name. Enter and Space activate it when focused.
class PictureButton : public QAbstractButton
{
    Q_OBJECT
public:
    PictureButton(const QString &word, QColor face, QWidget *parent = nullptr);

    QString word() const { return m_word; }
    // A new word on the face, and as the accessible name.
    void setWord(const QString &word);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QString m_word;
    QColor m_face;
    bool m_hovered = false;
    bool m_keyboardFocus = false;  // the focus ring shows only after keyboard use
};
