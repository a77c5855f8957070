#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// A picture of one colour as PNG bytes. Pictures are read by content, so it
// stands in for a flag GIF too.
inline QByteArray pictureBytes(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A throw-away data directory for tests. Files are given by their relative
// data path with "/" separators and their raw bytes.
class TempDataRoot
{
public:
    QString root() const { return m_dir.path(); }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
    }

    void remove(const QString &relative) const { QFile::remove(m_dir.filePath(relative)); }

private:
    QTemporaryDir m_dir;
};
