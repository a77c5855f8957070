#pragma once

#include "MarkerLayout.h"

#include <QList>
#include <QPoint>
#include <QtGlobal>

#include <span>

class RandomSource;

// The choices of a name question: the asked entry and the entries whose
// markers lie nearest its marker, the neighbours that pupils mix up.
namespace NameChoices {

inline constexpr int ChoiceCount = 4;

// Where a marker shows its country: the tip of its leader line, or the centre
// of a plain square.
QPointF markerPoint(const MarkerRect &marker);

// The `count` entries (CountryIndex) nearest to `asked`'s marker, nearest
// first; equal distances go by CountryIndex.
QList<qint16> nearestEntries(std::span<const MarkerRect> markers, int asked, int count);

// `asked` and its ChoiceCount - 1 nearest neighbours, in random order.
QList<qint16> choicesFor(std::span<const MarkerRect> markers, int asked, RandomSource &random);

} // namespace NameChoices
