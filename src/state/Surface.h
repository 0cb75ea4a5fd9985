#pragma once
#include <cstdint>
#include <string>
#include <vector>

// An off-screen picture: Width x Height pixels of 0x00RRGGBB. Empty when it holds no pixels;
// blits from or to an empty surface draw nothing.
struct Surface {
    std::string FileName; // the bitmap it is loaded from; empty for blank surfaces
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;

    bool Empty() const { return Pixels.empty(); }
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
    uint32_t& At(int x, int y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

enum class Rop { Copy, And, Xor };

// The one drawing primitive: combine a w x h rectangle of src at (sx, sy) into dst at (x, y).
// Cut at the edges of both surfaces, like the platform blit it stands in for.
void Blit(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
          Rop op = Rop::Copy);

// A blank surface of the given size (contents black), or an empty one if the size is unusable.
Surface NewBlankSurface(int width, int height);
void FreeSurface(Surface& s);
// Every pixel of s set to one colour.
void FillSurface(Surface& s, uint32_t colour);
