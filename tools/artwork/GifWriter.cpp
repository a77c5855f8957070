#include "GifWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QSaveFile>

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct ColourCount
{
    QRgb rgb;
    qint64 count;
};

int channel(QRgb c, int ch)
{
    switch (ch) {
    case 0: return qRed(c);
    case 1: return qGreen(c);
    default: return qBlue(c);
    }
}

// A median-cut box: a slice [begin, end) of the colour list.
struct Box
{
    int begin = 0;
    int end = 0;
    qint64 pixels = 0;
    int widest = 0; // channel with the largest extent
    int range = 0;  // that extent

    void measure(const std::vector<ColourCount> &colours)
    {
        int lo[3] = {255, 255, 255};
        int hi[3] = {0, 0, 0};
        pixels = 0;
        for (int i = begin; i < end; ++i) {
            pixels += colours[i].count;
            for (int ch = 0; ch < 3; ++ch) {
                const int v = channel(colours[i].rgb, ch);
                lo[ch] = std::min(lo[ch], v);
                hi[ch] = std::max(hi[ch], v);
            }
        }
        widest = 0;
        range = hi[0] - lo[0];
        for (int ch = 1; ch < 3; ++ch) {
            if (hi[ch] - lo[ch] > range) {
                range = hi[ch] - lo[ch];
                widest = ch;
            }
        }
    }

    // Boxes with a wide spread of many pixels are split first.
    double priority() const
    {
        return end - begin < 2 ? -1.0 : double(range) * double(range) * std::sqrt(double(pixels));
    }
};

bool frequentFirst(const ColourCount &a, const ColourCount &b)
{
    return a.count != b.count ? a.count > b.count : (a.rgb & 0xffffff) < (b.rgb & 0xffffff);
}

std::vector<ColourCount> countColours(const QImage &opaque)
{
    QHash<QRgb, qint64> counts;
    for (int y = 0; y < opaque.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            ++counts[line[x] | 0xff000000u];
    }
    std::vector<ColourCount> colours;
    colours.reserve(std::size_t(counts.size()));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        colours.push_back({it.key(), it.value()});
    std::sort(colours.begin(), colours.end(), frequentFirst);
    return colours;
}

int squaredDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

int writeToByteArray(GifFileType *gif, const GifByteType *data, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(data), length);
    return length;
}

} // namespace

GifWriter::GifWriter(QColor background)
    : m_background(background.rgb())
{
}

QImage GifWriter::flatten(const QImage &image) const
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(m_background);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    painter.end();
    return out;
}

QList<QRgb> GifWriter::buildPalette(const QImage &opaque, int maxColours)
{
    const QImage rgb = opaque.convertToFormat(QImage::Format_RGB32);
    std::vector<ColourCount> colours = countColours(rgb);
    QList<QRgb> palette;
    if (colours.size() <= std::size_t(maxColours)) {
        for (const ColourCount &c : colours)
            palette.append(c.rgb);
        return palette;
    }

    std::vector<Box> boxes(1);
    boxes[0].end = int(colours.size());
    boxes[0].measure(colours);
    while (boxes.size() < std::size_t(maxColours)) {
        auto pick = std::max_element(boxes.begin(), boxes.end(), [](const Box &a, const Box &b) {
            return a.priority() < b.priority();
        });
        if (pick->priority() < 0)
            break;
        Box &box = *pick;
        const int ch = box.widest;
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [ch](const ColourCount &a, const ColourCount &b) {
                      const int va = channel(a.rgb, ch);
                      const int vb = channel(b.rgb, ch);
                      return va != vb ? va < vb : (a.rgb & 0xffffff) < (b.rgb & 0xffffff);
                  });
        // Split at the pixel-weighted median, keeping both halves non-empty.
        qint64 seen = 0;
        int cut = box.begin + 1;
        for (int i = box.begin; i < box.end - 1; ++i) {
            seen += colours[i].count;
            cut = i + 1;
            if (2 * seen >= box.pixels)
                break;
        }
        Box upper;
        upper.begin = cut;
        upper.end = box.end;
        box.end = cut;
        box.measure(colours);
        upper.measure(colours);
        boxes.push_back(upper);
    }

    std::sort(boxes.begin(), boxes.end(), [&colours](const Box &a, const Box &b) {
        if (a.pixels != b.pixels)
            return a.pixels > b.pixels;
        return (colours[a.begin].rgb & 0xffffff) < (colours[b.begin].rgb & 0xffffff);
    });
    for (const Box &box : boxes) {
        const auto best = std::min_element(colours.begin() + box.begin, colours.begin() + box.end,
                                           frequentFirst);
        palette.append(best->rgb);
    }
    return palette;
}

QByteArray GifWriter::encode(const QImage &image)
{
    m_error.clear();
    if (image.isNull() || image.width() > 0xffff || image.height() > 0xffff) {
        m_error = QStringLiteral("picture is empty or too large for GIF");
        return {};
    }
    const QImage opaque = flatten(image);
    const QList<QRgb> palette = buildPalette(opaque);

    int bits = 1;
    while ((1 << bits) < palette.size())
        ++bits;
    ColorMapObject *map = GifMakeMapObject(1 << bits, nullptr);
    if (!map) {
        m_error = QStringLiteral("out of memory");
        return {};
    }
    QHash<QRgb, GifPixelType> index;
    for (int i = 0; i < map->ColorCount; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        map->Colors[i].Red = GifByteType(qRed(c));
        map->Colors[i].Green = GifByteType(qGreen(c));
        map->Colors[i].Blue = GifByteType(qBlue(c));
        if (i < palette.size())
            index.insert(c, GifPixelType(i));
    }

    auto lookup = [&](QRgb c) {
        c |= 0xff000000u;
        const auto it = index.constFind(c);
        if (it != index.cend())
            return it.value();
        int best = 0;
        int bestDistance = squaredDistance(c, palette[0]);
        for (int i = 1; i < palette.size() && bestDistance > 0; ++i) {
            const int d = squaredDistance(c, palette[i]);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        index.insert(c, GifPixelType(best));
        return GifPixelType(best);
    };

    QByteArray bytes;
    int error = 0;
    GifFileType *gif = EGifOpen(&bytes, writeToByteArray, &error);
    if (!gif) {
        GifFreeMapObject(map);
        m_error = QString::fromLatin1(GifErrorString(error));
        return {};
    }
    EGifSetGifVersion(gif, false);
    bool ok = EGifPutScreenDesc(gif, opaque.width(), opaque.height(), 8, 0, map) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, opaque.width(), opaque.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(std::size_t(opaque.width()));
    for (int y = 0; ok && y < opaque.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            line[std::size_t(x)] = lookup(src[x]);
        ok = EGifPutLine(gif, line.data(), opaque.width()) == GIF_OK;
    }
    if (!ok)
        m_error = QString::fromLatin1(GifErrorString(gif->Error));
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK && ok) {
        ok = false;
        m_error = QString::fromLatin1(GifErrorString(error));
    }
    return ok ? bytes : QByteArray();
}

bool GifWriter::write(const QImage &image, const QString &path)
{
    const QByteArray bytes = encode(image);
    if (bytes.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}
