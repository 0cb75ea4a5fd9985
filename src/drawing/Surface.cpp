#include "drawing/Surface.h"
#include <algorithm>
#include <cstring>

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

// Plain loops over distinct rows: the compiler vectorises them.
void AndRow(uint32_t* d, const uint32_t* s, size_t n) {
    for (size_t i = 0; i < n; ++i) d[i] &= s[i];
}
void XorRow(uint32_t* d, const uint32_t* s, size_t n) {
    for (size_t i = 0; i < n; ++i) d[i] ^= s[i];
}

// A row that overlaps itself within one surface: walk so that no source pixel is changed
// before it is read, as if the source had been read whole first.
void CombineOverlapping(uint32_t* d, const uint32_t* s, size_t n, Rop op) {
    if (op == Rop::Copy) {
        std::memmove(d, s, n * sizeof(uint32_t));
        return;
    }
    auto one = [op](uint32_t& dp, uint32_t sp) { dp = op == Rop::And ? (dp & sp) : (dp ^ sp); };
    if (d > s) {
        for (size_t i = n; i-- > 0;) one(d[i], s[i]);
    } else {
        for (size_t i = 0; i < n; ++i) one(d[i], s[i]);
    }
}
} // namespace

void Blit(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop op) {
    if (w <= 0 || h <= 0 || !Drawable(dst) || !Drawable(src)) return;
    int64_t dx = x, dy = y, sx64 = sx, sy64 = sy, cw = w, ch = h;
    if (!ClipAxis(dx, sx64, cw, dst.Width, src.Width)) return;
    if (!ClipAxis(dy, sy64, ch, dst.Height, src.Height)) return;

    const auto n = static_cast<size_t>(cw);
    const bool same = &dst == &src;
    const bool bottomUp = same && dy > sy64; // later rows would be overwritten first otherwise
    for (int64_t row = 0; row < ch; ++row) {
        const int64_t r = bottomUp ? ch - 1 - row : row;
        uint32_t* d = dst.Pixels.data() + static_cast<size_t>(dy + r) * dst.Width + dx;
        const uint32_t* s = src.Pixels.data() + static_cast<size_t>(sy64 + r) * src.Width + sx64;
        if (same) {
            CombineOverlapping(d, s, n, op);
            continue;
        }
        switch (op) {
        case Rop::Copy: std::memcpy(d, s, n * sizeof(uint32_t)); break;
        case Rop::And: AndRow(d, s, n); break;
        case Rop::Xor: XorRow(d, s, n); break;
        }
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

void FillSurface(Surface& s, uint32_t colour) { std::fill(s.Pixels.begin(), s.Pixels.end(), colour); }
