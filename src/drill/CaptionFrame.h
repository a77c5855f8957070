#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A frame: a filled box with an etched border and, when it has one, a caption
// set into the top edge at the left. Controls placed in it use its
// coordinates, caption band included.
class CaptionFrame : public QWidget
{
    Q_OBJECT
public:
    CaptionFrame(const QString &caption, QColor background, QColor captionColour,
                 QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_background;
    QColor m_captionColour;
};
