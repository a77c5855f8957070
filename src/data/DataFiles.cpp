#include "DataFiles.h"

#include "DataError.h"

#include <QFile>
#include <QImageReader>

namespace {

// The end of the data sub-blocks that start at pos (after their zero-length
// terminator), or -1 when the data ends first.
qsizetype skipSubBlocks(const QByteArray &gif, qsizetype pos)
{
    while (pos < gif.size()) {
        const quint8 length = quint8(gif.at(pos));
        pos += 1 + length;
        if (length == 0)
            return pos;
    }
    return -1;
}

qsizetype colourTableSize(quint8 packedFields)
{
    return (packedFields & 0x80) ? 3 * (2 << (packedFields & 0x07)) : 0;
}

// Whether a GIF stream breaks off inside one of its blocks, or before its
// first picture. Qt shows such a picture as far as it goes, the rest blank.
bool isCutShort(const QByteArray &gif)
{
    // Header and logical screen descriptor, then the global colour table.
    if (gif.size() < 13)
        return true;
    qsizetype pos = 13 + colourTableSize(quint8(gif.at(10)));
    bool havePicture = false;
    while (pos >= 0 && pos < gif.size()) {
        const quint8 introducer = quint8(gif.at(pos));
        if (introducer == 0x3b)  // trailer
            break;
        if (introducer == 0x21) {  // extension: label, then sub-blocks
            pos = skipSubBlocks(gif, pos + 2);
        } else if (introducer == 0x2c) {  // image descriptor, local colour table, code size, sub-blocks
            if (pos + 10 > gif.size())
                return true;
            pos = skipSubBlocks(gif, pos + 10 + colourTableSize(quint8(gif.at(pos + 9))) + 1);
            havePicture = true;
        } else {
            return false;  // not a block: the decoder judges the rest
        }
    }
    return pos < 0 || !havePicture;
}

} // namespace

namespace DataFiles {

QByteArray readBytes(const DataPath &path)
{
    // Opened first, as most files are there: Qt refuses to open a folder,
    // and only a failure asks the file system why.
    QFile file(path.filePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (!file.exists())
            throw DataError(path.displayName(), QStringLiteral("ファイルが見つかりません。"));
        throw DataError(path.displayName(), QStringLiteral("ファイルを開けません。"));
    }
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
    if (bytes.startsWith("GIF8") && isCutShort(bytes))
        throw DataError(path.displayName(), QStringLiteral("画像のデータが途中で切れています。"));
    return picture;
}

} // namespace DataFiles
