#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

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
