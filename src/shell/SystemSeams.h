#pragma once

#include "Seams.h"

#include <QElapsedTimer>

#include <random>

// The production clock, calendar and random source, the same on every platform.

class SteadyClock : public MonotonicClock
{
public:
    SteadyClock() { m_timer.start(); }
    double seconds() const override { return double(m_timer.nsecsElapsed()) / 1e9; }

private:
    QElapsedTimer m_timer;
};

class LocalCalendar : public Calendar
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class TimerSeededRandom : public RandomSource
{
public:
    void reseed() override;
    double next() override;

private:
    std::mt19937 m_generator;
};
