#pragma once

#include "ReviewSchedule.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <utility>

// The review record: the schedule of every entry asked so far and the days
// practised, nothing else. Entries are keyed by region folder and entry name
// ("アジア/日本"), never by index, so a reordered kuni.txt cannot mix them up.
class ReviewRecord
{
public:
    static constexpr int FormatNumber = 1;
    // Bounds that no honest record comes near: 8 regions of at most 60
    // entries, a year of practice days, a few dozen kilobytes of text.
    static constexpr int MaxEntries = 8 * 60;
    static constexpr int PracticeDaysKept = 366;
    static constexpr qint64 MaxBytes = 256 * 1024;

    // Why a stored record cannot be taken.
    enum class Fault { None, TooLarge, NotJson, OtherFormat, WrongShape, AbsurdValue };

    static QString keyOf(const QString &regionFolder, const QString &entryName);

    bool isEmpty() const { return m_entries.isEmpty() && m_days.isEmpty(); }
    const QMap<QString, ReviewState> &entries() const { return m_entries; }
    // The entry's state, or null when it has never been asked.
    const ReviewState *state(const QString &key) const;
    // Days with a session, oldest first.
    const QList<QDate> &practiceDays() const { return m_days; }
    int dueCount(QDate today, const QSet<QString> &known) const;

    // A session on `date`: each entry with whether its first answer was right.
    void recordSession(const QList<std::pair<QString, bool>> &answers, QDate date);
    // Entries no longer in the data go, quietly.
    void keepOnly(const QSet<QString> &known);
    void clear();

    QByteArray toJson() const;
    // The record that `bytes` hold; an empty record and the fault when they
    // hold none that can be trusted.
    static ReviewRecord fromJson(const QByteArray &bytes, Fault *fault);

private:
    void addPracticeDay(QDate date);

    QMap<QString, ReviewState> m_entries;
    QList<QDate> m_days;
};
