#include "FloodFill.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

struct Segment {
    int left;
    int right;
    int y;
    int dy;  // +1 or -1: the direction in which it was reached
};

struct Run {
    int y;
    int left;
    int right;
};

// Working memory of the fills on one thread, kept from call to call so that
// a fill costs in proportion to its area, not to the image: the segments
// still to look at, the runs painted, and for ARGB32 a visited flag per
// pixel, all clear between calls.
struct Scratch {
    std::vector<quint8> visited;
    std::vector<Segment> pending;
    std::vector<Run> painted;
};

thread_local Scratch scratch;

// Sets `count` pixels from `pixels` on to `colour`.
void setPixels(QRgb *pixels, std::size_t count, QRgb colour)
{
#if defined(__SSE2__)
    if (count >= 4) {
        const __m128i four = _mm_set1_epi32(int(colour));
        QRgb *const end = pixels + count;
        for (; pixels + 4 <= end; pixels += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i *>(pixels), four);
        // The last one to three pixels: a store that overlaps the one before.
        _mm_storeu_si128(reinterpret_cast<__m128i *>(end - 4), four);
        return;
    }
#endif
    std::fill_n(pixels, count, colour);
}

// How a filler tells the pixels it has painted from the others, which may
// have the fill colour already.
enum class Marks {
    // Format_RGB32 keeps alpha at 0xff in every pixel, so a painted pixel
    // carries the fill colour with alpha 0 until the filler goes.
    InAlpha,
    // Format_ARGB32 may have any alpha: a visited flag per pixel.
    Flags,
};

// Fills one image from any number of seeds. What one seed painted stays
// marked for the later seeds; the marks are cleared when the filler goes.
template <Marks marks>
class Filler
{
public:
    Filler(QImage &image, QRgb fillColour, QRgb borderColour)
        : m_scratch(scratch), m_width(image.width()), m_height(image.height()),
          m_stride(image.bytesPerLine() / qsizetype(sizeof(QRgb))),
          m_border(borderColour & RGB_MASK), m_fill(0xff000000u | (fillColour & RGB_MASK)),
          m_mark(marks == Marks::InAlpha ? fillColour & RGB_MASK : m_fill)
    {
        const std::size_t pixels = std::size_t(m_width) * std::size_t(m_height);
        if (marks == Marks::Flags && m_scratch.visited.size() < pixels)
            m_scratch.visited.resize(pixels, 0);
        if (pixels > 0)
            m_pixels = reinterpret_cast<QRgb *>(image.bits());
    }

    ~Filler()
    {
        for (const Run &run : m_scratch.painted) {
            const std::size_t length = std::size_t(run.right - run.left + 1);
            if constexpr (marks == Marks::InAlpha)
                setPixels(row(run.y) + run.left, length, m_fill);
            else
                std::memset(visitedRow(run.y) + run.left, 0, length);
        }
        m_scratch.painted.clear();
    }

    Filler(const Filler &) = delete;
    Filler &operator=(const Filler &) = delete;

    // Span filling (Smith 1979, Heckbert 1990): each segment is a run of
    // pixels to test in row y, reached from row y - dy. A run is found by
    // reading it once and painted whole; only the parts of it that overhang
    // the parent segment are looked at again in the parent's row.
    qsizetype fill(QPoint seed)
    {
        if (seed.x() < 0 || seed.y() < 0 || seed.x() >= m_width || seed.y() >= m_height)
            return 0;
        if (!open(row(seed.y()), visitedRow(seed.y()), seed.x()))
            return 0;

        qsizetype painted = 0;
        std::vector<Segment> &pending = m_scratch.pending;
        pending.clear();
        // Segments outside the image are never queued.
        const auto queue = [&](int left, int right, int y, int dy) {
            if (y >= 0 && y < m_height)
                pending.push_back({left, right, y, dy});
        };
        queue(seed.x(), seed.x(), seed.y(), 1);
        queue(seed.x(), seed.x(), seed.y() - 1, -1);
        while (!pending.empty()) {
            const Segment segment = pending.back();
            pending.pop_back();
            const int y = segment.y;
            QRgb *line = row(y);
            quint8 *seen = visitedRow(y);
            const int last = segment.right;
            int x1 = segment.left;
            int x = x1;  // start of the run that x1 is in
            // A run open at the segment's left end may go on to the left.
            if (x > 0 && open(line, seen, x) && open(line, seen, x - 1)) {
                x = runStart(line, seen, x - 1);
                queue(x, x1 - 1, y - segment.dy, -segment.dy);
            }
            while (x1 <= last) {
                x1 = runEnd(line, seen, x1);
                if (x1 > x) {
                    paint(line, seen, y, x, x1 - 1);
                    painted += x1 - x;
                    queue(x, x1 - 1, y + segment.dy, segment.dy);
                }
                if (x1 - 1 > last)
                    queue(last + 1, x1 - 1, y - segment.dy, -segment.dy);
                // On to the next open pixel of the segment.
                ++x1;
                while (x1 < last && !open(line, seen, x1))
                    ++x1;
                x = x1;
            }
        }
        return painted;
    }

private:
    void paint(QRgb *line, quint8 *seen, int y, int left, int right)
    {
        const std::size_t length = std::size_t(right - left + 1);
        setPixels(line + left, length, m_mark);
        if constexpr (marks == Marks::Flags)
            std::memset(seen + left, 1, length);
        m_scratch.painted.push_back({y, left, right});
    }
    // The first x from `x` on whose pixel is closed, or the width.
    int runEnd(const QRgb *line, const quint8 *seen, int x) const
    {
#if defined(__SSE2__)
        if constexpr (marks == Marks::InAlpha) {
            for (; x + 4 <= m_width; x += 4) {
                if (const unsigned closed = closedOfFour(line + x))
                    return x + std::countr_zero(closed);
            }
        }
#endif
        while (x < m_width && open(line, seen, x))
            ++x;
        return x;
    }
    // The first x of the open run that ends at the open pixel `x`.
    int runStart(const QRgb *line, const quint8 *seen, int x) const
    {
#if defined(__SSE2__)
        if constexpr (marks == Marks::InAlpha) {
            for (; x >= 4; x -= 4) {
                if (const unsigned closed = closedOfFour(line + x - 4))
                    return x - std::countl_zero(closed) + 28;  // just after the last closed one
            }
        }
#endif
        while (x > 0 && open(line, seen, x - 1))
            --x;
        return x;
    }
#if defined(__SSE2__)
    // Bit i set: pixel i of the four is closed (marked or of the border colour).
    unsigned closedOfFour(const QRgb *pixels) const
    {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels));
        const __m128i marked = _mm_cmpeq_epi32(four, _mm_set1_epi32(int(m_mark)));
        const __m128i border = _mm_cmpeq_epi32(_mm_and_si128(four, _mm_set1_epi32(int(RGB_MASK))),
                                               _mm_set1_epi32(int(m_border)));
        return unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_or_si128(marked, border))));
    }
#endif
    QRgb *row(int y) const { return m_pixels + qsizetype(y) * m_stride; }
    quint8 *visitedRow(int y) const
    {
        if constexpr (marks == Marks::InAlpha)
            return nullptr;
        return m_scratch.visited.data() + std::size_t(y) * std::size_t(m_width);
    }
    bool open(const QRgb *line, const quint8 *seen, int x) const
    {
        const QRgb pixel = line[x];
        if constexpr (marks == Marks::InAlpha)
            return pixel != m_mark && (pixel & RGB_MASK) != m_border;
        return !seen[x] && (pixel & RGB_MASK) != m_border;
    }

    Scratch &m_scratch;
    const int m_width;
    const int m_height;
    const qsizetype m_stride;  // in pixels
    const QRgb m_border;
    const QRgb m_fill;
    const QRgb m_mark;  // painted, until the filler goes
    QRgb *m_pixels = nullptr;
};

} // namespace

qsizetype floodFill(QImage &image, QPoint seed, QRgb fillColour, QRgb borderColour)
{
    return floodFill(image, std::span<const QPoint>(&seed, 1), fillColour, borderColour);
}

qsizetype floodFill(QImage &image, std::span<const QPoint> seeds, QRgb fillColour, QRgb borderColour)
{
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32);
    const auto fillAll = [&](auto &filler) {
        qsizetype painted = 0;
        for (const QPoint seed : seeds)
            painted += filler.fill(seed);
        return painted;
    };
    if (image.format() == QImage::Format_RGB32) {
        Filler<Marks::InAlpha> filler(image, fillColour, borderColour);
        return fillAll(filler);
    }
    Filler<Marks::Flags> filler(image, fillColour, borderColour);
    return fillAll(filler);
}
