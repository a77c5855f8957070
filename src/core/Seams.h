#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

class DataError;

// What tests replace: the fatal-error reporter, the sound player, the clock,
// the calendar and the random source. Production versions live beside their users.

class FatalErrorReporter
{
public:
    virtual ~FatalErrorReporter() = default;
    // Tells the user; the application then ends the program.
    virtual void report(const DataError &error) = 0;
};

class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Starts playing a WAV file and returns at once; a missing file is silent.
    virtual void play(const QString &filePath) = 0;
};

class MonotonicClock
{
public:
    virtual ~MonotonicClock() = default;
    // Seconds since an arbitrary fixed start, never going back.
    virtual double seconds() const = 0;
};

class Calendar
{
public:
    virtual ~Calendar() = default;
    // The device's local date and time, as the user has set them; it may go back.
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Re-seeds from the system timer.
    virtual void reseed() = 0;
    // A value in [0, 1).
    virtual double next() = 0;
};
