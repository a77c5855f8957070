#include "LandMask.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int rasterWidth = 4096;
constexpr int rasterHeight = 2048;

// Decodes the delta-encoded, quantised arcs of a TopoJSON topology.
QList<QPolygonF> decodeArcs(const QJsonObject &topology)
{
    const QJsonObject transform = topology.value(QLatin1String("transform")).toObject();
    const QJsonArray scale = transform.value(QLatin1String("scale")).toArray();
    const QJsonArray translate = transform.value(QLatin1String("translate")).toArray();
    const bool quantised = scale.size() == 2 && translate.size() == 2;
    QList<QPolygonF> arcs;
    for (const QJsonValue &arcValue : topology.value(QLatin1String("arcs")).toArray()) {
        QPolygonF arc;
        double x = 0;
        double y = 0;
        for (const QJsonValue &pointValue : arcValue.toArray()) {
            const QJsonArray point = pointValue.toArray();
            if (quantised) {
                x += point.at(0).toDouble();
                y += point.at(1).toDouble();
                arc << QPointF(x * scale.at(0).toDouble() + translate.at(0).toDouble(),
                               y * scale.at(1).toDouble() + translate.at(1).toDouble());
            } else {
                arc << QPointF(point.at(0).toDouble(), point.at(1).toDouble());
            }
        }
        arcs.append(arc);
    }
    return arcs;
}

QPolygonF ring(const QJsonArray &arcIndices, const QList<QPolygonF> &arcs)
{
    QPolygonF points;
    for (const QJsonValue &v : arcIndices) {
        const int index = v.toInt();
        QPolygonF arc = arcs.value(index < 0 ? ~index : index);
        if (index < 0)
            std::reverse(arc.begin(), arc.end());
        // Consecutive arcs share their joining point.
        points += points.isEmpty() ? arc : arc.mid(1);
    }
    return points;
}

void collectRings(const QJsonObject &geometry, const QList<QPolygonF> &arcs, QList<QPolygonF> *out)
{
    const QString type = geometry.value(QLatin1String("type")).toString();
    const QJsonArray coords = geometry.value(QLatin1String("arcs")).toArray();
    if (type == QLatin1String("GeometryCollection")) {
        for (const QJsonValue &g : geometry.value(QLatin1String("geometries")).toArray())
            collectRings(g.toObject(), arcs, out);
    } else if (type == QLatin1String("Polygon")) {
        for (const QJsonValue &r : coords)
            out->append(ring(r.toArray(), arcs));
    } else if (type == QLatin1String("MultiPolygon")) {
        for (const QJsonValue &polygon : coords)
            for (const QJsonValue &r : polygon.toArray())
                out->append(ring(r.toArray(), arcs));
    }
}

} // namespace

bool LandMask::load(const QString &topoJsonPath, QString *error)
{
    QFile file(topoJsonPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = topoJsonPath + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    const QJsonObject land = doc.object().value(QLatin1String("objects")).toObject().value(QLatin1String("land")).toObject();
    if (doc.isNull() || land.isEmpty()) {
        *error = topoJsonPath + QStringLiteral(": no land object (") + parseError.errorString() + QLatin1Char(')');
        return false;
    }
    m_rings.clear();
    collectRings(land, decodeArcs(doc.object()), &m_rings);

    // Rings are cut at the antimeridian, so a plain even-odd fill in
    // longitude/latitude gives land, with lakes and inland seas as holes.
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const QPolygonF &r : std::as_const(m_rings))
        path.addPolygon(r);
    m_raster = QImage(rasterWidth, rasterHeight, QImage::Format_Grayscale8);
    m_raster.fill(0);
    QPainter p(&m_raster);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rasterWidth / 2.0, rasterHeight / 2.0);
    p.scale(rasterWidth / 360.0, -rasterHeight / 180.0);
    p.fillPath(path, Qt::white);
    return true;
}

double LandMask::coverage(double lon, double lat) const
{
    if (m_raster.isNull())
        return 0.0;
    lon = std::remainder(lon, 360.0);
    const double fx = (lon + 180.0) / 360.0 * rasterWidth - 0.5;
    const double fy = (90.0 - lat) / 180.0 * rasterHeight - 0.5;
    const int x0 = int(std::floor(fx));
    const int y0 = int(std::floor(fy));
    const double ax = fx - x0;
    const double ay = fy - y0;
    auto at = [this](int x, int y) {
        x = (x % rasterWidth + rasterWidth) % rasterWidth;
        y = std::clamp(y, 0, rasterHeight - 1);
        return m_raster.constScanLine(y)[x] / 255.0;
    };
    return (1 - ay) * ((1 - ax) * at(x0, y0) + ax * at(x0 + 1, y0)) + ay * ((1 - ax) * at(x0, y0 + 1) + ax * at(x0 + 1, y0 + 1));
}
