#pragma once

#include <QImage>
#include <QList>
#include <QPolygonF>
#include <QString>

// Land of the world as polygons in longitude/latitude degrees, read from a
// TopoJSON file of world-atlas (land-50m.json), with a raster for look-ups.
class LandMask
{
public:
    bool load(const QString &topoJsonPath, QString *error);

    const QList<QPolygonF> &rings() const { return m_rings; }

    // Fraction of land (0..1) at a longitude/latitude in degrees.
    double coverage(double lon, double lat) const;

private:
    QList<QPolygonF> m_rings;
    QImage m_raster; // equirectangular, Format_Grayscale8
};
