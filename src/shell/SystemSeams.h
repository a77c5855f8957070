#pragma once

#include "Seams.h"

#include <QElapsedTimer>

#include <memory>
#include <random>

class QSoundEffect;

// The production seams.

class MessageBoxReporter : public FatalErrorReporter
{
public:
    void report(const DataError &error) override;
};

class SoundEffectPlayer : public SoundPlayer
{
public:
    SoundEffectPlayer();
    ~SoundEffectPlayer() override;
    void play(const QString &filePath) override;

    // Whether play() hands the file on: a RIFF WAVE file with a whole format
    // chunk, then a data chunk that states its length and holds all of it,
    // and no chunk of odd length between. Qt's sound loader waits for ever
    // for the rest of a file it takes to be cut short, and releasing the next
    // sound then waits for that loader: the program would hang.
    static bool isPlayable(const QString &filePath);

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

class SteadyClock : public MonotonicClock
{
public:
    SteadyClock() { m_timer.start(); }
    double seconds() const override { return double(m_timer.nsecsElapsed()) / 1e9; }

private:
    QElapsedTimer m_timer;
};

class TimerSeededRandom : public RandomSource
{
public:
    void reseed() override;
    double next() override;

private:
    std::mt19937 m_generator;
};
