#pragma once
#include <cstdint>

// Pixels of four 8-bit channels, rows `stride` pixels apart.
struct PixelsIn {
    const uint32_t* data;
    int width, height, stride;
};
struct PixelsOut {
    uint32_t* data;
    int width, height, stride;
};
struct PixelArea {
    int x, y, w, h;
};

// Scales `src` to the size of `dst`, writing only the pixels of `area` (in `dst`'s
// coordinates, clipped to it). Each source pixel is replicated K = ceil(ratio) times and the
// result is area-averaged down to the target, which comes to the exact coverage of each target
// pixel over the source: at an integer ratio every source pixel becomes a uniform block, and in
// between edges stay one blended pixel wide instead of wavering. Fixed point throughout, so the
// same input gives the same bytes on every machine. The fourth byte comes out 0xff whatever it
// was: opaque, as the toolkit's RGB32 promises and as a window with alpha (Wayland) needs.
void Resample(PixelsIn src, PixelsOut dst, PixelArea area);
