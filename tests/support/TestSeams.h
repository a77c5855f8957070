#pragma once

// Seams for tests: a clock and a calendar moved by hand, a scripted random source and a
// sound player that only records.

#include "Seams.h"

#include <QList>
#include <QStringList>

// A clock the test moves by hand.
class FakeClock : public MonotonicClock
{
public:
    double seconds() const override { return now; }
    double now = 1000.0;
};

// A calendar the test sets by hand.
class FakeCalendar : public Calendar
{
public:
    QDateTime now() const override { return at; }
    QDateTime at{QDate(2026, 4, 8), QTime(8, 30)};
};

// Hands out the scripted values, then `otherwise` for ever; records every call.
class ScriptedRandom : public RandomSource
{
public:
    void reseed() override { calls.append(QStringLiteral("reseed")); }
    double next() override
    {
        calls.append(QStringLiteral("next"));
        return values.isEmpty() ? otherwise : values.takeFirst();
    }

    QList<double> values;
    double otherwise = 0.0;
    QStringList calls;
};

// Remembers what it was asked to play.
class RecordingSoundPlayer : public SoundPlayer
{
public:
    void play(const QString &filePath) override { played.append(filePath); }
    QStringList played;
};
