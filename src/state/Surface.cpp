#include "state/Surface.h"
#include <algorithm>

namespace {
// Largest blank surface we agree to create (the table is 640 x 480; this is generous).
constexpr int64_t MaxBlankPixels = int64_t{8192} * 8192;

// Cut one axis of a blit to both surfaces. Done in 64 bits so that no coordinate a caller
// passes, however wild, can overflow on the way.
bool ClipAxis(int64_t& d, int64_t& s, int64_t& len, int64_t dstLimit, int64_t srcLimit) {
    const int64_t skip = std::max({int64_t{0}, -d, -s});
    d += skip;
    s += skip;
    len -= skip;
    len = std::min({len, dstLimit - d, srcLimit - s});
    return len > 0;
}

// Pixels that match the stated size; anything else is treated as empty rather than trusted.
bool Drawable(const Surface& s) {
    return s.Width > 0 && s.Height > 0 &&
           s.Pixels.size() >= static_cast<size_t>(s.Width) * static_cast<size_t>(s.Height);
}

// Rows of distinct surfaces never overlap. Fixed blocks of four let the compiler use vector
// instructions even at -O2, where it will not vectorise a loop of unknown length. Measure
// before reshaping: blocks of eight or sixteen, or a second tail loop, made it many times slower.
// Copies take this loop too, not memcpy: the C library picks its copy strategy by CPU, and on
// some (AMD EPYC among them) the one it picks for table-wide rows runs at a tenth of this speed.
template <typename Op>
void CombineRows(uint32_t* __restrict d, size_t dStride, const uint32_t* __restrict s,
                 size_t sStride, size_t n, size_t rows, Op op) {
    for (size_t r = 0; r < rows; ++r, d += dStride, s += sStride) {
        size_t i = 0;
        for (; i + 4 <= n; i += 4)
            for (size_t k = 0; k < 4; ++k)
                d[i + k] = op(d[i + k], s[i + k]);
        // Spelled out rather than looped: a short copy loop is turned back into a library call.
        switch (n - i) {
        case 3:
            d[i + 2] = op(d[i + 2], s[i + 2]);
            [[fallthrough]];
        case 2:
            d[i + 1] = op(d[i + 1], s[i + 1]);
            [[fallthrough]];
        case 1:
            d[i] = op(d[i], s[i]);
            break;
        default:
            break;
        }
    }
}

uint32_t Source(uint32_t, uint32_t b) {
    return b;
}
uint32_t And(uint32_t a, uint32_t b) {
    return a & b;
}
uint32_t Xor(uint32_t a, uint32_t b) {
    return a ^ b;
}

// A row that overlaps itself within one surface: walk so that no source pixel is changed
// before it is read, as if the source had been read whole first.
void CombineOverlapping(uint32_t* d, const uint32_t* s, size_t n, Rop op) {
    auto one = [op](uint32_t& dp, uint32_t sp) {
        dp = op == Rop::Copy ? sp : op == Rop::And ? (dp & sp) : (dp ^ sp);
    };
    if (d > s) {
        for (size_t i = n; i-- > 0;)
            one(d[i], s[i]);
    } else {
        for (size_t i = 0; i < n; ++i)
            one(d[i], s[i]);
    }
}

// Source and destination are one surface: rows are taken in the order that reads each
// source row before it is overwritten.
void BlitWithin(Surface& s, int64_t dx, int64_t dy, int64_t sx, int64_t sy, size_t n, int64_t rows,
                Rop op) {
    const bool bottomUp = dy > sy;
    for (int64_t row = 0; row < rows; ++row) {
        const int64_t r = bottomUp ? rows - 1 - row : row;
        uint32_t* d = s.Pixels.data() + static_cast<size_t>(dy + r) * s.Width + dx;
        const uint32_t* from = s.Pixels.data() + static_cast<size_t>(sy + r) * s.Width + sx;
        CombineOverlapping(d, from, n, op);
    }
}
} // namespace

void Blit(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop op) {
    if (w <= 0 || h <= 0 || !Drawable(dst) || !Drawable(src)) return;
    int64_t dx = x, dy = y, sx64 = sx, sy64 = sy, cw = w, ch = h;
    if (!ClipAxis(dx, sx64, cw, dst.Width, src.Width)) return;
    if (!ClipAxis(dy, sy64, ch, dst.Height, src.Height)) return;

    const auto n = static_cast<size_t>(cw);
    const auto rows = static_cast<size_t>(ch);
    if (&dst == &src) {
        BlitWithin(dst, dx, dy, sx64, sy64, n, ch, op);
        return;
    }
    const auto dStride = static_cast<size_t>(dst.Width), sStride = static_cast<size_t>(src.Width);
    uint32_t* d = dst.Pixels.data() + static_cast<size_t>(dy) * dStride + static_cast<size_t>(dx);
    const uint32_t* s =
        src.Pixels.data() + static_cast<size_t>(sy64) * sStride + static_cast<size_t>(sx64);
    switch (op) {
    case Rop::Copy:
        CombineRows(d, dStride, s, sStride, n, rows, Source);
        break;
    case Rop::And:
        CombineRows(d, dStride, s, sStride, n, rows, And);
        break;
    case Rop::Xor:
        CombineRows(d, dStride, s, sStride, n, rows, Xor);
        break;
    }
}

Surface NewBlankSurface(int width, int height) {
    Surface s;
    if (width <= 0 || height <= 0 || int64_t{width} * height > MaxBlankPixels) return s;
    s.Pixels.assign(static_cast<size_t>(width) * height, 0);
    s.Width = width;
    s.Height = height;
    return s;
}

void FreeSurface(Surface& s) {
    s.Pixels.clear();
    s.Pixels.shrink_to_fit();
    s.Width = 0;
    s.Height = 0;
}

void FillSurface(Surface& s, uint32_t colour) {
    std::fill(s.Pixels.begin(), s.Pixels.end(), colour);
}
