#include "ReviewStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

ReviewStore::Read ReviewRecordFile::read(QByteArray *bytes)
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return Read::Missing;
    if (!info.isFile())
        return Read::Failed;
    if (info.size() > ReviewRecord::MaxBytes)
        return Read::TooLarge;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return Read::Failed;
    // The file may have grown since it was looked at.
    *bytes = file.read(ReviewRecord::MaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Read::Failed;
    return bytes->size() > ReviewRecord::MaxBytes ? Read::TooLarge : Read::Found;
}

bool ReviewRecordFile::write(const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool ReviewRecordFile::setAside(const QDateTime &now)
{
    const QString stem = m_path + QStringLiteral(".bad-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = stem + QLatin1Char('-') + QString::number(n);
    return QFile::rename(m_path, aside);
}

ReviewRecord ReviewKeeper::open(const QDateTime &now, Notice *notice)
{
    *notice = Notice::None;
    QByteArray bytes;
    ReviewRecord::Fault fault = ReviewRecord::Fault::None;
    switch (m_store.read(&bytes)) {
    case ReviewStore::Read::Missing:
        return ReviewRecord();
    case ReviewStore::Read::Found: {
        ReviewRecord record = ReviewRecord::fromJson(bytes, &fault);
        if (fault == ReviewRecord::Fault::None)
            return record;
        break;
    }
    case ReviewStore::Read::TooLarge:
        break;
    case ReviewStore::Read::Failed:
        // It may be sound, only out of reach: leave it be.
        m_mayWrite = false;
        *notice = Notice::CannotSave;
        return ReviewRecord();
    }
    if (m_store.setAside(now)) {
        *notice = Notice::BadRecordSetAside;
    } else {
        m_mayWrite = false;
        *notice = Notice::CannotSave;
    }
    return ReviewRecord();
}

bool ReviewKeeper::save(const ReviewRecord &record)
{
    return m_mayWrite && m_store.write(record.toJson());
}
