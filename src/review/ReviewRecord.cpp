#include "ReviewRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <cmath>

namespace {

const QString FormatField = QStringLiteral("format");
const QString EntriesField = QStringLiteral("entries");
const QString DaysField = QStringLiteral("days");
const QString BoxField = QStringLiteral("box");
const QString DueField = QStringLiteral("due");
const QString AskedField = QStringLiteral("asked");

QString dayText(QDate date)
{
    return date.toString(Qt::ISODate);
}

// A calendar day of the record: valid, and within years any device shows.
bool readDay(const QJsonValue &value, QDate *date)
{
    if (!value.isString())
        return false;
    *date = QDate::fromString(value.toString(), Qt::ISODate);
    return date->isValid() && date->year() >= 2000 && date->year() <= 2999;
}

bool validKey(const QString &key)
{
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    return slash > 0 && slash < key.size() - 1 && key.size() <= 200;
}

} // namespace

QString ReviewRecord::keyOf(const QString &regionFolder, const QString &entryName)
{
    return regionFolder + QLatin1Char('/') + entryName;
}

const ReviewState *ReviewRecord::state(const QString &key) const
{
    const auto found = m_entries.constFind(key);
    return found == m_entries.constEnd() ? nullptr : &*found;
}

int ReviewRecord::dueCount(QDate today, const QSet<QString> &known) const
{
    int due = 0;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        if (known.contains(it.key()) && Leitner::isDue(it.value(), today))
            ++due;
    return due;
}

void ReviewRecord::recordSession(const QList<std::pair<QString, bool>> &answers, QDate date)
{
    for (const auto &[key, rightAtFirst] : answers)
        m_entries.insert(key, Leitner::afterSession(state(key), rightAtFirst, date));
    addPracticeDay(date);
}

void ReviewRecord::addPracticeDay(QDate date)
{
    const auto at = std::lower_bound(m_days.begin(), m_days.end(), date);
    if (at == m_days.end() || *at != date)
        m_days.insert(at, date);
    while (m_days.size() > PracticeDaysKept)
        m_days.removeFirst();
}

void ReviewRecord::keepOnly(const QSet<QString> &known)
{
    m_entries.removeIf([&known](const auto &entry) { return !known.contains(entry.key()); });
}

void ReviewRecord::clear()
{
    m_entries.clear();
    m_days.clear();
}

QByteArray ReviewRecord::toJson() const
{
    QJsonObject entries;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        entries.insert(it.key(), QJsonObject{{BoxField, it->box},
                                             {DueField, dayText(it->due)},
                                             {AskedField, dayText(it->lastAsked)}});
    QJsonArray days;
    for (QDate day : m_days)
        days.append(dayText(day));
    const QJsonObject record{{FormatField, FormatNumber}, {EntriesField, entries}, {DaysField, days}};
    return QJsonDocument(record).toJson(QJsonDocument::Compact);
}

ReviewRecord ReviewRecord::fromJson(const QByteArray &bytes, Fault *fault)
{
    const auto failed = [fault](Fault why) {
        *fault = why;
        return ReviewRecord();
    };
    if (bytes.size() > MaxBytes)
        return failed(Fault::TooLarge);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return failed(Fault::NotJson);
    if (!document.isObject())
        return failed(Fault::WrongShape);
    const QJsonObject object = document.object();
    const QJsonValue format = object.value(FormatField);
    if (!format.isDouble())
        return failed(Fault::WrongShape);
    if (format.toDouble() != FormatNumber)
        return failed(Fault::OtherFormat);
    const QJsonValue entries = object.value(EntriesField);
    const QJsonValue days = object.value(DaysField);
    if (!entries.isObject() || !days.isArray())
        return failed(Fault::WrongShape);
    if (entries.toObject().size() > MaxEntries || days.toArray().size() > PracticeDaysKept)
        return failed(Fault::AbsurdValue);

    ReviewRecord record;
    const QJsonObject entryObject = entries.toObject();
    for (auto it = entryObject.begin(); it != entryObject.end(); ++it) {
        if (!it.value().isObject())
            return failed(Fault::WrongShape);
        const QJsonObject fields = it.value().toObject();
        const QJsonValue box = fields.value(BoxField);
        ReviewState state;
        if (!validKey(it.key()) || !box.isDouble() || !readDay(fields.value(DueField), &state.due)
            || !readDay(fields.value(AskedField), &state.lastAsked))
            return failed(Fault::AbsurdValue);
        const double boxNumber = box.toDouble();
        if (boxNumber != std::floor(boxNumber) || boxNumber < Leitner::FirstBox || boxNumber > Leitner::LastBox)
            return failed(Fault::AbsurdValue);
        state.box = qint16(boxNumber);
        // Due exactly its box's interval after it was last asked.
        if (state.lastAsked.daysTo(state.due) != Leitner::intervalDays(state.box))
            return failed(Fault::AbsurdValue);
        record.m_entries.insert(it.key(), state);
    }
    for (const QJsonValue &value : days.toArray()) {
        QDate day;
        if (!readDay(value, &day))
            return failed(Fault::AbsurdValue);
        record.addPracticeDay(day);
    }
    *fault = Fault::None;
    return record;
}
