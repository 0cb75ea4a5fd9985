#pragma once
// Synthetic art whose every pixel says which file and place it came from: shows what landed where.
#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "state/Game.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace drawtest {
enum Tag : uint32_t { Front = 1, Back, Court, Sort, Sign, Goal, Tavi };
constexpr uint32_t White = 0xFFFFFF, Junk = 0xEEEEEE; // Junk: what a surface holds before painting
// Pixel (x, y) of a file; the background's red byte stays below every tag's.
inline constexpr auto Px = [](uint32_t t, int x, int y) { return t << 20 | uint32_t(y << 8 | x); };
inline constexpr auto BgPix = [](int x, int y) { return uint32_t(y) << 10 | uint32_t(x); };
template <typename Pix> Surface Coded(int w, int h, Pix pix) {
    Surface s = NewBlankSurface(w, h);
    for (size_t i = 0; i < s.Pixels.size(); ++i)
        s.Pixels[i] = pix(int(i % size_t(w)), int(i / size_t(w)));
    return s;
}
// Pieces of cw x ch, image bands and mask bands alternating every `band` rows, each opaque at
// its two opposite corners only, where the image shows Px of its place; 1 x 1: a plain picture.
inline Surface Art(int w, int h, Tag t, int cw = 1, int ch = 1, int band = 4096) {
    return Coded(w, h, [=](int x, int y) {
        const bool corner = (x % cw == 0 && y % ch == 0) || (x % cw == cw - 1 && y % ch == ch - 1);
        return y / band % 2 ? (corner ? 0 : White) : corner ? Px(t, x, y) : 0;
    });
}
// Gives a game the art above on a 640 x 480 table of junk, piles empty at their places.
inline void Dress(Game& g) {
    Graphics& a = g.gfx;
    a.surfFront = Art(64, 208, Front), a.surfBack = Art(128, 208, Back);
    a.surfImgCard = Art(120, 70, Court), a.surfSort = Art(60, 60, Sort, 15, 15, 30);
    a.surfSign = Art(130, 80, Sign, 10, 10, 20), a.surfGoal = Art(256, 208, Goal, 64, 104, 104);
    a.surfTavi = Art(40, 60, Tavi, 40, 30, 30), a.surfBackground = Coded(640, 480, BgPix);
    a.surfTable = a.surfWindow = NewBlankSurface(640, 480), a.surfDrag = NewBlankSurface(128, 376);
    FillSurface(a.surfTable, Junk);
    g.settings.ShowTavi = false;
    BuildCardFaces(g);
    Table& t = g.table;
    for (int i = 1; i <= 7; ++i)
        t.Tableau[i].Reset(TableauX(i), TableauY, TableauBound);
    for (int k = 1; k <= 4; ++k)
        t.Goal[k].Reset(GoalX(k), GoalY, GoalBound);
    t.Stock.Reset(StockX, StockY, StockBound), t.Waste.Reset(WasteX, WasteY, StockBound);
}
struct DressedGame {
    TestGame t;
    Game& g = t.g();
    DressedGame() { Dress(g); }
    // Card number of rank r (1..13) in suit s, as BuildCardFaces lays the deck out.
    static uint8_t Number(int rank, int suit) { return uint8_t(13 * suit + rank); }
    void Put(Pile& p, int rank, int suit, uint8_t state) {
        g.table.Cards[Number(rank, suit)].State = state;
        p.Push(Number(rank, suit));
    }
};
// Two equal surfaces, or where they first differ.
inline testing::AssertionResult Same(const Surface& a, const Surface& b) {
    if (a.Width == b.Width && a.Pixels == b.Pixels) return testing::AssertionSuccess();
    const auto at = std::ranges::mismatch(a.Pixels, b.Pixels).in1 - a.Pixels.begin();
    return testing::AssertionFailure() << "pixel " << at << " differs";
}
} // namespace drawtest
