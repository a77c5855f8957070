#include "HighlightRenderer.h"

#include "FloodFill.h"
#include "Placement.h"
#include "RegionMapView.h"

#include <QPainter>
#include <QVarLengthArray>

#include <cstring>

namespace Twips {

QPoint markerSeed(double leftTwips, double topTwips, double twipsPerPixelX, double twipsPerPixelY)
{
    const double left = roundHalfEven(leftTwips);
    const double top = roundHalfEven(topTwips);
    return QPoint(roundHalfEven(left / twipsPerPixelX), roundHalfEven(top / twipsPerPixelY));
}

} // namespace Twips

HighlightRenderer::HighlightRenderer(const RegionHighlightTable &table, RegionMapView &map,
                                     CaptionSetter flagFrameCaption)
    : m_table(table), m_map(map), m_flagFrameCaption(std::move(flagFrameCaption))
{
}

void HighlightRenderer::setTwipsPerPixel(double x, double y)
{
    m_twipsPerPixelX = x;
    m_twipsPerPixelY = y;
}

void HighlightRenderer::ClearMap()
{
    m_map.clear();
}

void HighlightRenderer::restoreMap()
{
    // A surface with pixels of its own is overwritten in place, which spares
    // allocating a new one; a shared one copies the map on its first write.
    const QImage &pristine = m_map.pristineMap();
    QImage &surface = m_map.editSurface();
    if (!pristine.isNull() && surface.isDetached() && surface.format() == pristine.format()
        && surface.size() == pristine.size() && surface.bytesPerLine() == pristine.bytesPerLine())
        std::memcpy(surface.bits(), pristine.constBits(), std::size_t(pristine.sizeInBytes()));
    else
        m_map.clear();
}

void HighlightRenderer::Highlight(int country)
{
    if (m_table.hasFlagFrameRule && m_flagFrameCaption)
        m_flagFrameCaption(country < FirstRegionalFlag ? QStringLiteral("国旗") : QStringLiteral("域旗"));

    restoreMap();
    const MapMarker *marker = m_map.marker(country - 1);
    if (!marker)
        return;  // outside 1..N: nothing to paint
    const QPoint markerSeed = Twips::markerSeed(marker->x() * m_twipsPerPixelX,
                                                marker->y() * m_twipsPerPixelY, m_twipsPerPixelX,
                                                m_twipsPerPixelY);

    QImage &surface = m_map.editSurface();
    const std::optional<HighlightEntry> entry = m_table.entryFor(country);
    if (entry && entry->kind == HighlightKind::Circle) {
        drawRing(*entry);
    } else if (entry) {
        QVarLengthArray<QPoint, 64> seeds;
        for (const FillSeed &seed : m_table.seedsOf(*entry))
            seeds.append(QPoint(seed.x, seed.y));
        floodFill(surface, std::span<const QPoint>(seeds.constData(), std::size_t(seeds.size())),
                  HighlightColour, BorderColour);
    } else if (m_table.defaultRule == DefaultRule::MarkerSeed) {
        floodFill(surface, markerSeed, HighlightColour, BorderColour);
    }
    m_map.surfaceChanged();
}

void HighlightRenderer::drawRing(const HighlightEntry &entry)
{
    // The ring is laid out in twips and drawn in map pixels.
    const double centreX = entry.centre.x * m_twipsPerPixelX;
    const double centreY = entry.centre.y * m_twipsPerPixelY;
    const double radiusTwips = entry.radiusUnit == RadiusUnit::Twips
                                   ? double(entry.radius)
                                   : entry.radius * m_twipsPerPixelX;

    // Aliased, so the map keeps exactly its own colours and the red.
    QPainter painter(&m_map.editSurface());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgb(HighlightColour), RingWidth));
    painter.setBrush(Qt::NoBrush);
    // The centre of pixel (x, y) is at (x + 0.5, y + 0.5).
    painter.drawEllipse(QPointF(centreX / m_twipsPerPixelX + 0.5, centreY / m_twipsPerPixelY + 0.5),
                        radiusTwips / m_twipsPerPixelX, radiusTwips / m_twipsPerPixelY);
}
