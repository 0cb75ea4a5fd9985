#include "state/Surface.h"
#include <climits>
#include <gtest/gtest.h>

namespace {
// 4 x 4 source whose pixels name their place: 1 + x + 10 y.
Surface Source() {
    Surface s = NewBlankSurface(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            s.At(x, y) = uint32_t(1 + x + 10 * y);
    return s;
}
} // namespace

TEST(Surface, RasterOpsCombinePixelByPixel) {
    struct Case {
        Rop op;
        uint32_t expected;
    } cases[] = {{Rop::Copy, 0x00FF00FF}, {Rop::And, 0x00F000F0}, {Rop::Xor, 0x000FF00F}};
    for (const Case& c : cases) {
        Surface dst = NewBlankSurface(2, 1), src = NewBlankSurface(2, 1);
        FillSurface(dst, 0x00F0F0F0);
        FillSurface(src, 0x00FF00FF);
        Blit(dst, 1, 0, 1, 1, src, 0, 0, c.op);
        EXPECT_EQ(dst.At(0, 0), 0x00F0F0F0u) << "outside the rectangle";
        EXPECT_EQ(dst.At(1, 0), c.expected) << int(c.op);
    }
}

// Each case: the blit, then by hand the destination rectangle it must fill and the shift
// from destination to source pixels. Everything else of the 5 x 5 destination stays 0.
TEST(Surface, BlitIsCutAtEveryEdgeOfBothSurfaces) {
    struct Case {
        const char* what;
        int x, y, w, h, sx, sy;
        int x0, y0, x1, y1, shiftX, shiftY;
    } cases[] = {
        {"inside", 1, 1, 2, 2, 1, 1, 1, 1, 3, 3, 0, 0},
        {"left of destination", -2, 0, 4, 4, 0, 0, 0, 0, 2, 4, 2, 0},
        {"above destination", 0, -3, 4, 4, 0, 0, 0, 0, 4, 1, 0, 3},
        {"right of destination", 3, 0, 4, 4, 0, 0, 3, 0, 5, 4, -3, 0},
        {"below destination", 0, 3, 4, 4, 0, 0, 0, 3, 4, 5, 0, -3},
        {"left of source", 0, 0, 4, 4, -1, 0, 1, 0, 4, 4, -1, 0},
        {"above source", 0, 0, 4, 4, 0, -2, 0, 2, 4, 4, 0, -2},
        {"right of source", 0, 0, 4, 4, 2, 0, 0, 0, 2, 4, 2, 0},
        {"below source", 0, 0, 4, 4, 0, 3, 0, 0, 4, 1, 0, 3},
        {"both corners", -1, -1, 9, 9, -1, -1, 0, 0, 4, 4, 0, 0},
        {"huge size", 0, 0, INT_MAX, INT_MAX, 0, 0, 0, 0, 4, 4, 0, 0},
        {"far left", INT_MIN, 0, INT_MAX, 4, 0, 0, 0, 0, 0, 0, 0, 0},
        {"far right", INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, 0, 0, 0, 0, 0, 0},
        {"source far away", 0, 0, 4, 4, INT_MIN, INT_MAX, 0, 0, 0, 0, 0, 0},
        {"past the right edge", 5, 0, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0},
        {"zero width", 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0},
        {"negative height", 0, 0, 4, -4, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    const Surface src = Source();
    for (const Case& c : cases) {
        Surface dst = NewBlankSurface(5, 5);
        Blit(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const bool in = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                const uint32_t want = in ? src.At(x + c.shiftX, y + c.shiftY) : 0;
                ASSERT_EQ(dst.At(x, y), want) << c.what << " at (" << x << ", " << y << ")";
            }
    }
}

TEST(Surface, EmptyOrInconsistentSurfacesDrawNothing) {
    Surface empty, lying = NewBlankSurface(2, 2);
    lying.Width = 50; // claims more pixels than it holds
    Surface dst = NewBlankSurface(3, 3);
    Blit(dst, 0, 0, 3, 3, empty, 0, 0);
    Blit(dst, 0, 0, 3, 3, lying, 0, 0);
    Blit(empty, 0, 0, 3, 3, dst, 0, 0);
    Blit(lying, 0, 0, 50, 2, Source(), 0, 0);
    EXPECT_EQ(dst.Pixels, std::vector<uint32_t>(9, 0));
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(lying.Pixels, std::vector<uint32_t>(4, 0));
}

// Within one surface the result is as if the source had been read whole first.
TEST(Surface, OverlappingBlitWithinOneSurface) {
    for (Rop op : {Rop::Copy, Rop::And, Rop::Xor})
        for (auto [dx, dy] : {std::pair{1, 1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            Surface s = Source(), expected = Source();
            const Surface before = Source();
            Blit(expected, 1 + dx, 1 + dy, 2, 2, before, 1, 1, op);
            Blit(s, 1 + dx, 1 + dy, 2, 2, s, 1, 1, op);
            EXPECT_EQ(s.Pixels, expected.Pixels) << int(op) << " by " << dx << ", " << dy;
        }
}

TEST(Surface, BlankSurfacesOfUnusableSizeAreEmpty) {
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {100000, 100000}, {INT_MAX, 2}})
        EXPECT_TRUE(NewBlankSurface(w, h).Empty()) << w << " x " << h;
    Surface s = NewBlankSurface(3, 2);
    EXPECT_EQ(s.Pixels.size(), 6u);
    FreeSurface(s);
    FreeSurface(s); // a second release does nothing
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.Width, 0);
}
