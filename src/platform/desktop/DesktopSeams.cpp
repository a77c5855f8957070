#include "DesktopSeams.h"

#include "DataError.h"

#include <QFile>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

void MessageBoxReporter::report(const DataError &error)
{
    QMessageBox::critical(nullptr, QStringLiteral("世界の国しらべ"), error.message());
}

SoundEffectPlayer::SoundEffectPlayer() = default;
SoundEffectPlayer::~SoundEffectPlayer() = default;

void SoundEffectPlayer::play(const QString &filePath)
{
    if (!isPlayable(filePath))
        return;
    // A fresh effect per sound: the previous one stops, the new one starts at once.
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setSource(QUrl::fromLocalFile(filePath));
    m_effect->play();
}

bool SoundEffectPlayer::isPlayable(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.sliced(8) != "WAVE")
        return false;
    const qint64 size = file.size();
    bool haveFormat = false;
    qint64 chunk = 12;
    while (chunk + 8 <= size && file.seek(chunk)) {
        const QByteArray header = file.read(8);
        if (header.size() != 8)
            return false;
        const qint64 length = qFromLittleEndian<quint32>(header.constData() + 4);
        const qint64 end = chunk + 8 + length;
        if (header.startsWith("data"))
            return haveFormat && length > 0 && end <= size;
        // Qt's loader does not skip the pad byte after a chunk of odd length.
        if (end > size || (length & 1) != 0)
            return false;
        haveFormat = haveFormat || header.startsWith("fmt ");
        chunk = end;
    }
    return false;
}
