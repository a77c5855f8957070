#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

// Writes a QImage as a single-frame GIF without transparency.
//
// The picture is first composited over an opaque background. A picture with
// at most 256 distinct colours keeps exactly those colours; a richer picture
// gets a palette of at most 256 colours chosen by median cut over its exact
// 8-bit colours, each entry being the most frequent picture colour of its box,
// and every pixel is mapped to the nearest palette entry.
class GifWriter
{
public:
    explicit GifWriter(QColor background = Qt::white);

    QColor background() const { return m_background; }

    // The opaque picture that is actually encoded.
    QImage flatten(const QImage &image) const;

    // Palette for an opaque picture (Format_RGB32), ordered by decreasing
    // frequency of use; never more than maxColours entries.
    static QList<QRgb> buildPalette(const QImage &opaque, int maxColours = 256);

    // Encoded GIF bytes, or an empty array with errorString() set.
    QByteArray encode(const QImage &image);

    // Encodes and writes atomically; false with errorString() set on failure.
    bool write(const QImage &image, const QString &path);

    QString errorString() const { return m_error; }

private:
    QColor m_background;
    QString m_error;
};
