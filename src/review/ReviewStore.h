#pragma once

#include "ReviewRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Where the review record lives: a file on the desktop, the site's storage
// in the browser.
class ReviewStore
{
public:
    enum class Read { Missing, Found, TooLarge, Failed };

    virtual ~ReviewStore() = default;
    // The stored record's bytes; a record larger than ReviewRecord::MaxBytes
    // is not read.
    virtual Read read(QByteArray *bytes) = 0;
    // Replaces the stored record whole, or leaves it as it was.
    virtual bool write(const QByteArray &bytes) = 0;
    // Moves the stored record, unchanged, where it is neither read nor
    // written again; `now` names it.
    virtual bool setAside(const QDateTime &now) = 0;
};

// The record as one file, written through QSaveFile so that a crash or a
// power cut during a write leaves the old record. A bad one is renamed with
// ".bad" and a time stamp.
class ReviewRecordFile : public ReviewStore
{
public:
    explicit ReviewRecordFile(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }
    Read read(QByteArray *bytes) override;
    bool write(const QByteArray &bytes) override;
    bool setAside(const QDateTime &now) override;

private:
    QString m_path;
};

// Opens the record for a session and saves it after. A record that cannot
// be trusted is kept aside and a fresh one started, and the pupil is told;
// a record that could not be kept aside is never written over.
class ReviewKeeper
{
public:
    enum class Notice { None, BadRecordSetAside, CannotSave };

    explicit ReviewKeeper(ReviewStore &store) : m_store(store) {}

    // The stored record, or a fresh one; `notice` says what the pupil is told.
    ReviewRecord open(const QDateTime &now, Notice *notice);
    // False when the record could not be saved (the session goes on).
    bool save(const ReviewRecord &record);

private:
    ReviewStore &m_store;
    bool m_mayWrite = true;
};
