// Reads a screen dump written by `xwd -root` and answers questions about its
// pixels, so that the end-to-end script can check what the program drew.
//
//   xwdpixels count DUMP X Y W H RRGGBB        pixels of that colour in the rectangle
//   xwdpixels other DUMP X Y W H RRGGBB        pixels of any other colour in it
//   xwdpixels block DUMP X Y W H RRGGBB BW BH  "x y" of the first BW x BH block wholly
//                                              of that colour, row by row; exit 1 if none
//   xwdpixels blocks DUMP X Y W H RRGGBB BW BH "x y" of every such block, one a line, each
//                                              found row by row and apart from those before
//   xwdpixels diff  DUMP1 DUMP2 X Y W H        pixels that differ between two dumps
//   xwdpixels png   DUMP OUT.png               the dump as a PNG picture
//
// Rectangles are in screen pixels and are clipped to the screen.

#include <QImage>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

// X11/XWDFile.h: 25 big-endian 32-bit fields, then the window name.
enum HeaderField {
    HeaderSize, FileVersion, PixmapFormat, PixmapDepth, PixmapWidth, PixmapHeight,
    XOffset, ByteOrder, BitmapUnit, BitmapBitOrder, BitmapPad, BitsPerPixel,
    BytesPerLine, VisualClass, RedMask, GreenMask, BlueMask, BitsPerRgb,
    ColormapEntries, ColorCount, WindowWidth, WindowHeight, WindowX, WindowY,
    WindowBorderWidth, HeaderFieldCount
};
constexpr std::uint32_t ZPixmap = 2;
constexpr std::uint32_t TrueColor = 4;
constexpr std::uint32_t DirectColor = 5;
constexpr std::size_t ColorEntrySize = 12;

[[noreturn]] void fail(const std::string &message)
{
    std::fprintf(stderr, "xwdpixels: %s\n", message.c_str());
    std::exit(2);
}

std::uint32_t bigEndian32(const unsigned char *p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

int lowestBit(std::uint32_t mask)
{
    int shift = 0;
    while (shift < 32 && !(mask >> shift & 1u))
        ++shift;
    return shift;
}

// 8-bit channel value of a masked field, scaled when the field is narrower.
int channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = lowestBit(mask);
    const std::uint32_t max = mask >> shift;
    const std::uint32_t value = (pixel & mask) >> shift;
    return int((value * 255 + max / 2) / max);
}

QImage readDump(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail(std::string("cannot open ") + path);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < HeaderFieldCount * 4)
        fail("dump too short");
    std::uint32_t h[HeaderFieldCount];
    for (int i = 0; i < HeaderFieldCount; ++i)
        h[i] = bigEndian32(&bytes[std::size_t(i) * 4]);
    if (h[FileVersion] != 7 || h[PixmapFormat] != ZPixmap)
        fail("not an XWD version 7 ZPixmap dump");
    if (h[VisualClass] != TrueColor && h[VisualClass] != DirectColor)
        fail("only TrueColor and DirectColor dumps are read");
    const std::uint32_t bpp = h[BitsPerPixel];
    if (bpp != 32 && bpp != 24 && bpp != 16)
        fail("unsupported bits per pixel " + std::to_string(bpp));

    const std::size_t width = h[PixmapWidth];
    const std::size_t height = h[PixmapHeight];
    const std::size_t stride = h[BytesPerLine];
    const std::size_t pixelsAt = std::size_t(h[HeaderSize]) + std::size_t(h[ColorCount]) * ColorEntrySize;
    if (width == 0 || height == 0 || stride < width * (bpp / 8) || bytes.size() < pixelsAt + stride * height)
        fail("dump truncated");

    const bool msbFirst = h[ByteOrder] != 0;
    const std::size_t bytesPerPixel = bpp / 8;
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (std::size_t y = 0; y < height; ++y) {
        const unsigned char *row = &bytes[pixelsAt + y * stride];
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (std::size_t x = 0; x < width; ++x) {
            const unsigned char *p = row + x * bytesPerPixel;
            std::uint32_t pixel = 0;
            for (std::size_t b = 0; b < bytesPerPixel; ++b) {
                const std::size_t i = msbFirst ? b : bytesPerPixel - 1 - b;
                pixel = pixel << 8 | p[i];
            }
            out[x] = qRgb(channel(pixel, h[RedMask]), channel(pixel, h[GreenMask]),
                          channel(pixel, h[BlueMask]));
        }
    }
    return image;
}

int number(const char *text)
{
    bool ok = false;
    const int value = QString::fromLocal8Bit(text).toInt(&ok);
    if (!ok)
        fail(std::string("not a number: ") + text);
    return value;
}

QRgb colour(const char *text)
{
    bool ok = false;
    const QString hex = QString::fromLocal8Bit(text).remove(QLatin1Char('#'));
    const uint value = hex.toUInt(&ok, 16);
    if (!ok || hex.size() != 6)
        fail(std::string("not a colour RRGGBB: ") + text);
    return qRgb(int(value >> 16 & 0xff), int(value >> 8 & 0xff), int(value & 0xff));
}

QRect rectangle(char **args, const QImage &image)
{
    return QRect(number(args[0]), number(args[1]), number(args[2]), number(args[3]))
        .intersected(image.rect());
}

bool same(QRgb a, QRgb b)
{
    return (a & 0xffffff) == (b & 0xffffff);
}

long countOf(const QImage &image, const QRect &rect, QRgb wanted, bool matching)
{
    long count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (same(row[x], wanted) == matching)
                ++count;
    }
    return count;
}

std::optional<QPoint> firstBlock(const QImage &image, const QRect &rect, QRgb wanted, QSize block)
{
    for (int y = rect.top(); y + block.height() - 1 <= rect.bottom(); ++y)
        for (int x = rect.left(); x + block.width() - 1 <= rect.right(); ++x)
            if (countOf(image, QRect(QPoint(x, y), block), wanted, true) == block.width() * block.height())
                return QPoint(x, y);
    return std::nullopt;
}

std::vector<QPoint> separateBlocks(const QImage &image, const QRect &rect, QRgb wanted, QSize block)
{
    std::vector<QPoint> found;
    for (int y = rect.top(); y + block.height() - 1 <= rect.bottom(); ++y)
        for (int x = rect.left(); x + block.width() - 1 <= rect.right(); ++x) {
            const QRect candidate(QPoint(x, y), block);
            bool apart = true;
            for (const QPoint &earlier : found)
                apart = apart && !candidate.intersects(QRect(earlier, block));
            if (apart && countOf(image, candidate, wanted, true) == block.width() * block.height())
                found.push_back(candidate.topLeft());
        }
    return found;
}

long differing(const QImage &a, const QImage &b, const QRect &rect)
{
    if (a.size() != b.size())
        fail("the dumps differ in size");
    long count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto *rowA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *rowB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (!same(rowA[x], rowB[x]))
                ++count;
    }
    return count;
}

void usage()
{
    std::fprintf(stderr,
                 "usage: xwdpixels count|other DUMP X Y W H RRGGBB\n"
                 "       xwdpixels block|blocks DUMP X Y W H RRGGBB BW BH\n"
                 "       xwdpixels diff DUMP1 DUMP2 X Y W H\n"
                 "       xwdpixels png DUMP OUT.png\n");
    std::exit(2);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "png" && argc == 4) {
        if (!readDump(argv[2]).save(QString::fromLocal8Bit(argv[3]), "PNG"))
            fail(std::string("cannot write ") + argv[3]);
        return 0;
    }
    if ((command == "count" || command == "other") && argc == 8) {
        const QImage image = readDump(argv[2]);
        std::printf("%ld\n", countOf(image, rectangle(argv + 3, image), colour(argv[7]), command == "count"));
        return 0;
    }
    if (command == "blocks" && argc == 10) {
        const QImage image = readDump(argv[2]);
        const QSize block(number(argv[8]), number(argv[9]));
        if (block.isEmpty())
            fail("empty block");
        for (const QPoint &point : separateBlocks(image, rectangle(argv + 3, image), colour(argv[7]), block))
            std::printf("%d %d\n", point.x(), point.y());
        return 0;
    }
    if (command == "block" && argc == 10) {
        const QImage image = readDump(argv[2]);
        const QSize block(number(argv[8]), number(argv[9]));
        if (block.isEmpty())
            fail("empty block");
        const auto point = firstBlock(image, rectangle(argv + 3, image), colour(argv[7]), block);
        if (!point)
            return 1;
        std::printf("%d %d\n", point->x(), point->y());
        return 0;
    }
    if (command == "diff" && argc == 8) {
        const QImage a = readDump(argv[2]);
        const QImage b = readDump(argv[3]);
        std::printf("%ld\n", differing(a, b, rectangle(argv + 4, a)));
        return 0;
    }
    usage();
}
