#include "SystemSeams.h"

#include <chrono>
#include <cmath>

void TimerSeededRandom::reseed()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    m_generator.seed(std::mt19937::result_type(ticks ^ (ticks >> 32)));
}

double TimerSeededRandom::next()
{
    const double value = std::generate_canonical<double, 53>(m_generator);
    return value < 1.0 ? value : std::nextafter(1.0, 0.0);
}
