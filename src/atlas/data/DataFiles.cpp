#include "DataFiles.h"

#include "DataError.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace DataFiles {

QByteArray readBytes(const DataPath &path)
{
    QFile file(path.filePath());
    if (!file.exists())
        throw DataError(path.displayName(), QStringLiteral("ファイルが見つかりません。"));
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly))
        throw DataError(path.displayName(), QStringLiteral("ファイルを開けません。"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DataError(path.displayName(),
                        QStringLiteral("ファイルを読めません（%1）。").arg(file.errorString()));
    return bytes;
}

QImage readPicture(const DataPath &path)
{
    const QByteArray bytes = readBytes(path);
    QImage picture;
    if (!picture.loadFromData(bytes))
        throw DataError(path.displayName(), QStringLiteral("画像として読めません。"));
    return picture;
}

} // namespace DataFiles
