#pragma once

#include "Seams.h"

#include <QList>

#include <algorithm>
#include <cmath>

// Draws from the random source.
namespace RandomDraw {

// An index 0..count-1 from r in [0, 1): floor(r * count); a source that
// strays outside [0, 1) still gives an index.
inline int index(double r, int count)
{
    const double drawn = std::floor(r * count);
    return int(std::clamp(drawn, 0.0, double(count - 1)));
}

// Shuffles in place, one draw from the source per place (Fisher-Yates, from the back).
template <typename T>
void shuffle(QList<T> &items, RandomSource &random)
{
    for (qsizetype i = items.size() - 1; i > 0; --i)
        std::swap(items[i], items[index(random.next(), int(i + 1))]);
}

} // namespace RandomDraw
