#include "drawing/Surface.h"
#include <algorithm>
#include <cstring>

namespace {
// Largest blank surface we agree to create (the table is 640 x 480; this is generous).
constexpr int64_t MaxBlankPixels = int64_t{8192} * 8192;
} // namespace

void Blit(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop op) {
    if (dst.Empty() || src.Empty() || w <= 0 || h <= 0) return;
    // Clip against the source, then the destination, moving both origins together.
    auto clip = [&](int& a, int& b, int& len, int limitA) {
        if (a < 0) { b -= a; len += a; a = 0; }
        if (a + len > limitA) len = limitA - a;
    };
    clip(sx, x, w, src.Width);
    clip(sy, y, h, src.Height);
    clip(x, sx, w, dst.Width);
    clip(y, sy, h, dst.Height);
    if (w <= 0 || h <= 0) return;

    const bool same = &dst == &src;
    const bool bottomUp = same && y > sy; // overlapping copy within one surface
    for (int row = 0; row < h; ++row) {
        const int r = bottomUp ? h - 1 - row : row;
        uint32_t* d = dst.Pixels.data() + static_cast<size_t>(y + r) * dst.Width + x;
        const uint32_t* s = src.Pixels.data() + static_cast<size_t>(sy + r) * src.Width + sx;
        switch (op) {
        case Rop::Copy: std::memmove(d, s, static_cast<size_t>(w) * sizeof(uint32_t)); break;
        case Rop::And: for (int i = 0; i < w; ++i) d[i] &= s[i]; break;
        case Rop::Xor: for (int i = 0; i < w; ++i) d[i] ^= s[i]; break;
        }
    }
}

Surface NewBlankSurface(int width, int height) {
    Surface s;
    if (width <= 0 || height <= 0 || int64_t{width} * height > MaxBlankPixels) return s;
    s.Width = width;
    s.Height = height;
    s.Pixels.assign(static_cast<size_t>(width) * height, 0);
    return s;
}

void FreeSurface(Surface& s) {
    s.Pixels.clear();
    s.Pixels.shrink_to_fit();
    s.Width = 0;
    s.Height = 0;
}
