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
