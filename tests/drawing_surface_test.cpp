#include "DrawArt.h"
#include <climits>

using drawtest::Coded;

// Rows: op, blit into 5 x 5 (cut at each edge of destination, source, wild sizes), source 4 x 4 or
// itself (as if read whole first), the rectangle [x0, x1) x [y0, y1) it changes.
TEST(Surface, BlitCombinesPixelByPixelAndIsCutAtEveryEdge) {
    constexpr int C = int(Rop::Copy), A = int(Rop::And), X = int(Rop::Xor), M = INT_MAX,
                  N = INT_MIN;
    // clang-format off
    const std::array<int, 12> rows[] = {
        {C, 1, 1, 2, 2, 1, 1, 0, 1, 1, 3, 3},    {A, 1, 0, 3, 4, 0, 1, 0, 1, 0, 4, 3},
        {X, 0, 1, 4, 3, 0, 0, 0, 0, 1, 4, 4},    {C, -2, 0, 4, 4, 0, 0, 0, 0, 0, 2, 4},
        {X, 0, -3, 4, 4, 0, 0, 0, 0, 0, 4, 1},   {A, 3, 0, 4, 4, 0, 0, 0, 3, 0, 5, 4},
        {C, 0, 3, 4, 4, 0, 0, 0, 0, 3, 4, 5},    {C, 0, 0, 4, 4, -1, 0, 0, 1, 0, 4, 4},
        {C, 0, 0, 4, 4, 0, -2, 0, 0, 2, 4, 4},   {C, 0, 0, 4, 4, 2, 0, 0, 0, 0, 2, 4},
        {C, 0, 0, 4, 4, 0, 3, 0, 0, 0, 4, 1},    {C, -1, -1, 9, 9, -1, -1, 0, 0, 0, 4, 4},
        {C, 0, 0, M, M, 0, 0, 0, 0, 0, 4, 4},    {C, N, 0, M, 4, 0, 0, 0, 0, 0, 0, 0},
        {C, M, M, M, M, 0, 0, 0, 0, 0, 0, 0},    {C, 0, 0, 4, 4, N, M, 0, 0, 0, 0, 0},
        {C, 5, 0, 4, 4, 0, 0, 0, 0, 0, 0, 0},    {C, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0},
        {C, 0, 0, 4, -4, 0, 0, 0, 0, 0, 0, 0},   {C, 2, 2, 3, 3, 1, 1, 1, 2, 2, 5, 5},
        {A, 0, 0, 3, 3, 1, 1, 1, 0, 0, 3, 3},    {X, 2, 1, 3, 3, 1, 1, 1, 2, 1, 5, 4},
        {C, 0, 1, 3, 3, 1, 1, 1, 0, 1, 3, 4},    {A, 1, 2, 3, 3, 1, 1, 1, 1, 2, 4, 5},
        {X, 1, 0, 3, 3, 1, 1, 1, 1, 0, 4, 3}};
    // clang-format on
    // Pixels that name their place and mix set and clear bits, the two surfaces apart.
    const Surface src =
        Coded(4, 4, [](int x, int y) { return 0x0F0F0Fu ^ uint32_t(x + 9 * y) * 0x10101u; });
    const Surface before =
        Coded(5, 5, [](int x, int y) { return 0xF0F0F0u ^ uint32_t(x + 7 * y) * 0x10101u; });
    for (auto [op, bx, by, w, h, sx, sy, self, x0, y0, x1, y1] : rows) {
        Surface dst = before;
        Blit(dst, bx, by, w, h, self ? dst : src, sx, sy, Rop(op));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const bool in = x >= x0 && x < x1 && y >= y0 && y < y1;
                const uint32_t d = before.At(x, y),
                               s = in ? (self ? before : src).At(x - bx + sx, y - by + sy) : 0;
                ASSERT_EQ(dst.At(x, y), !in       ? d
                                        : op == C ? s
                                        : op == A ? (d & s)
                                                  : (d ^ s))
                    << op << " " << bx << " " << by << " at " << x << ", " << y;
            }
    }
}
TEST(Surface, EmptyInconsistentAndUnusableSurfacesDrawNothing) {
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {100000, 100000}, {INT_MAX, 2}})
        EXPECT_TRUE(NewBlankSurface(w, h).Empty()) << w << " x " << h;
    Surface empty, lying = NewBlankSurface(2, 2),
                   dst = Coded(3, 3, [](int x, int) { return x + 1u; });
    lying.Width = 50; // claims more pixels than it holds
    for (auto [to, from] :
         {std::pair{&dst, &empty}, {&dst, &lying}, {&empty, &dst}, {&lying, &dst}})
        Blit(*to, 0, 0, 50, 3, *from, 0, 0);
    EXPECT_TRUE(dst.At(0, 0) == 1 && dst.At(2, 2) == 3 && empty.Empty());
    EXPECT_EQ(lying.Pixels, std::vector<uint32_t>(4, 0));
}
