#pragma once

#include "ReviewPlan.h"
#include "ReviewStore.h"

#include <QList>
#include <QSet>
#include <QString>

struct AppState;
class Calendar;

// The entries the review can ask, as the data directory holds them now.
struct ReviewCatalogue {
    QList<ReviewEntry> entries;  // menu order, then kuni.txt order
    QSet<QString> keys;
    QSet<QString> unreadableRegions;  // region folders whose kuni.txt could not be read

    // Whether the record should keep `key`: its entry is in the data, or its
    // region could not be read just now and may come back.
    bool keeps(const QString &key) const;
    // The record's keys worth keeping.
    QSet<QString> keptOf(const ReviewRecord &record) const;
};

// What the review screens share for the life of the program: where the
// record is kept and the device's calendar. Each screen reads the record as
// it loads; nothing is written before the first answer of a session.
class ReviewDesk
{
public:
    ReviewDesk(ReviewStore &store, Calendar &calendar) : m_store(store), m_calendar(calendar) {}

    ReviewStore &store() { return m_store; }
    Calendar &calendar() { return m_calendar; }

    // Every entry of the data directory. `withCapitals` reads each overview
    // for its capital line too. A region that cannot be read is left out.
    static ReviewCatalogue readCatalogue(const AppState &state, bool withCapitals);
    // How many entries are due today, read without writing anything; a record
    // that cannot be read has none due.
    int dueToday(const AppState &state);

private:
    ReviewStore &m_store;
    Calendar &m_calendar;
};
