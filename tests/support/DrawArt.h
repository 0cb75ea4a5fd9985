#pragma once
// The one bitmap writer, a temporary folder, and synthetic art whose every pixel says where it
// came from, so a test can tell which blit landed where. Shared by the drawing and play tests.
#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "state/Surface.h"
#include "state/Game.h"
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace drawtest {

// ---- pictures ------------------------------------------------------------------------------

// Position-coded pixels: the top byte names the piece, the rest the pixel inside it.
inline uint32_t FrontPix(int d, int x, int y) {
    return uint32_t(0x10 + d) << 16 | uint32_t(y) << 8 | uint32_t(x);
}
inline uint32_t BackPix(int d, int x, int y) {
    return uint32_t(0x40 + d) << 16 | uint32_t(y) << 8 | uint32_t(x);
}
inline uint32_t CourtPix(int x, int y) {
    return 0xA0u << 16 | uint32_t(y) << 8 | uint32_t(x);
}
inline uint32_t BgPix(int x, int y) {
    return uint32_t(y) << 10 | uint32_t(x);
} // red byte stays below 0x10
// Masked pieces are opaque at two corners only; each corner has its own colour.
inline uint32_t PipMark(int suit, bool inverted, int corner) {
    return 0x80u << 16 | uint32_t(suit) << 8 | uint32_t(inverted) << 4 | uint32_t(corner);
}
inline uint32_t SignMark(int rank, int band, bool inverted, int corner) {
    return 0x90u << 16 | uint32_t(rank) << 8 | uint32_t(band) << 4 | uint32_t(inverted) << 1 |
           uint32_t(corner);
}
inline uint32_t GoalMark(int k, int corner) {
    return 0xB0u << 16 | uint32_t(k) << 8 | uint32_t(corner);
}
inline uint32_t TaviMark(int corner) {
    return 0xC0u << 16 | uint32_t(corner);
}

constexpr uint32_t White = 0x00FFFFFF;
constexpr uint32_t Junk = 0x00EEEEEE; // what a surface holds before the code under test paints

template <typename Pix> Surface Coded(int w, int h, Pix pix) {
    Surface s = NewBlankSurface(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.At(x, y) = pix(x, y);
    return s;
}

// Image cell at (ix, iy) and mask cell at (mx, my), size w x h, opaque at two corners.
inline void PutMaskedCell(Surface& s, int ix, int iy, int mx, int my, int w, int h, uint32_t tl,
                          uint32_t br) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.At(mx + x, my + y) = White;
    s.At(mx, my) = 0;
    s.At(mx + w - 1, my + h - 1) = 0;
    s.At(ix, iy) = tl;
    s.At(ix + w - 1, iy + h - 1) = br;
}

inline Surface MakeFront(int designs) {
    return Coded(64, 104 * designs, [](int x, int y) { return FrontPix(y / 104, x, y % 104); });
}
inline Surface MakeBack(int designs) {
    return Coded(128, 104 * designs, [](int x, int y) { return BackPix(y / 104, x, y % 104); });
}
inline Surface MakeSort() {
    Surface s = NewBlankSurface(60, 60);
    for (int suit = 0; suit < 4; ++suit)
        for (int inv = 0; inv < 2; ++inv)
            PutMaskedCell(s, 15 * suit, 15 * inv, 15 * suit, 30 + 15 * inv, 15, 15,
                          PipMark(suit, inv, 0), PipMark(suit, inv, 1));
    return s;
}
inline Surface MakeSign() {
    Surface s = NewBlankSurface(130, 80);
    for (int rank = 1; rank <= 13; ++rank)
        for (int band = 0; band < 2; ++band)
            for (int inv = 0; inv < 2; ++inv)
                PutMaskedCell(s, 10 * (rank - 1), 40 * band + 10 * inv, 10 * (rank - 1),
                              40 * band + 20 + 10 * inv, 10, 10, SignMark(rank, band, inv, 0),
                              SignMark(rank, band, inv, 1));
    return s;
}
inline Surface MakeGoal() {
    Surface s = NewBlankSurface(256, 208);
    for (int k = 1; k <= 4; ++k)
        PutMaskedCell(s, 64 * (k - 1), 0, 64 * (k - 1), 104, 64, 104, GoalMark(k, 0),
                      GoalMark(k, 1));
    return s;
}
inline Surface MakeTavi(int w, int h) {
    Surface s = NewBlankSurface(w, 2 * h);
    PutMaskedCell(s, 0, 0, 0, h, w, h, TaviMark(0), TaviMark(1));
    return s;
}

// Gives a game the synthetic art above on a 640 x 480 table, piles empty at their places.
inline void Dress(Game& g) {
    Graphics& x = g.gfx;
    x.surfFront = MakeFront(2);
    x.surfBack = MakeBack(2);
    x.surfSort = MakeSort();
    x.surfSign = MakeSign();
    x.surfImgCard = Coded(120, 70, CourtPix);
    x.surfGoal = MakeGoal();
    x.surfTavi = MakeTavi(40, 30);
    x.surfBackground = Coded(640, 480, BgPix);
    x.surfTable = NewBlankSurface(640, 480);
    x.surfWindow = NewBlankSurface(640, 480);
    x.surfDrag = NewBlankSurface(128, 376);
    FillSurface(x.surfTable, Junk);
    g.settings.ShowTavi = false;
    BuildCardFaces(g);
    Table& tb = g.table;
    for (int i = 1; i <= 7; ++i)
        tb.Tableau[i].Reset(TableauX(i), TableauY, TableauBound);
    for (int k = 1; k <= 4; ++k)
        tb.Goal[k].Reset(GoalX(k), GoalY, GoalBound);
    tb.Stock.Reset(StockX, StockY, StockBound);
    tb.Waste.Reset(WasteX, WasteY, StockBound);
}

struct DressedGame {
    TestGame t;
    Game& g = t.g();
    DressedGame() { Dress(g); }
    // Card number of rank r (1..13) in suit s, as BuildCardFaces lays the deck out.
    static uint8_t Number(int rank, int suit) { return uint8_t(13 * suit + rank); }
    void Put(Pile& p, int rank, int suit, uint8_t state) {
        const uint8_t n = Number(rank, suit);
        g.table.Cards[n].State = state;
        p.Push(n);
    }
};

// A card face as it must come out: the front, the court picture, then the corner marks of
// every pip and sign, each at the place written out by hand in the test.
struct ExpectedPip {
    int x, y;
    bool inverted;
};
inline Surface ExpectedFace(int rank, int suit, int design, const std::vector<ExpectedPip>& pips) {
    Surface s = Coded(64, 104, [design](int x, int y) { return FrontPix(design, x, y); });
    if (rank > 10)
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 40; ++x)
                s.At(12 + x, 17 + y) = CourtPix(40 * (rank - 11) + x, y);
    for (const ExpectedPip& p : pips) {
        s.At(p.x, p.y) = PipMark(suit, p.inverted, 0);
        s.At(p.x + 14, p.y + 14) = PipMark(suit, p.inverted, 1);
    }
    const int band = suit / 2;
    s.At(4, 4) = SignMark(rank, band, false, 0);
    s.At(13, 13) = SignMark(rank, band, false, 1);
    s.At(50, 88) = SignMark(rank, band, true, 0);
    s.At(59, 97) = SignMark(rank, band, true, 1);
    return s;
}

// The w x h rectangle of a at (ax, ay) against that of b at (bx, by); the first difference
// is named with its place and both colours.
inline testing::AssertionResult SameRect(const Surface& a, int ax, int ay, const Surface& b, int bx,
                                         int by, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t pa = a.At(ax + x, ay + y), pb = b.At(bx + x, by + y);
            if (pa != pb) {
                char buf[160];
                std::snprintf(buf, sizeof buf, "at +(%d, %d): 0x%06X, expected 0x%06X", x, y,
                              unsigned(pa), unsigned(pb));
                return testing::AssertionFailure() << buf;
            }
        }
    return testing::AssertionSuccess();
}
// ---- files -----------------------------------------------------------------------------------

// A fresh folder, removed with everything in it when the test ends.
class TempFolder {
  public:
    TempFolder() {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("zorvo-draw-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_ / "BG");
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string Folder() const { return path_.string() + "/"; }
    std::string operator/(const std::string& name) const { return Folder() + name; }

  private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit Windows bitmap, bottom row first.
inline void WriteBmp(const std::string& path, const Surface& s) {
    const uint32_t stride = uint32_t(s.Width * 3 + 3) / 4 * 4, size = stride * uint32_t(s.Height);
    std::vector<uint8_t> f = {'B', 'M'};
    for (uint32_t v : {54 + size, 0u, 54u, 40u, uint32_t(s.Width), uint32_t(s.Height),
                       1u | 24u << 16, 0u, size, 2835u, 2835u, 0u, 0u})
        for (int k = 0; k < 4; ++k) f.push_back(uint8_t(v >> (8 * k)));
    for (int y = s.Height - 1; y >= 0; --y) {
        for (int x = 0; x < s.Width; ++x)
            for (int k = 0; k < 3; ++k) f.push_back(uint8_t(s.At(x, y) >> (8 * k)));
        f.resize(f.size() + stride - size_t(s.Width) * 3, 0);
    }
    WriteBytes(path, f);
}

} // namespace drawtest
