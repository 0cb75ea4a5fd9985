#include "DrawArt.h"
#include "drawing/TablePainter.h"
#include <climits>

using namespace drawtest;

namespace {
// {src, x, y, sy, sx, w, h}: w x h at (x, y) shows the background, a file at (sx, sy) or card sy.
enum Src { Bg, Fr, Bk, Cd, Gl, Tv, So, Si, Ct };
struct Piece {
    Src src;
    int x, y, sy = 0, sx = 0, w = 64, h = 104;
};
// The painter turns a table of junk into the pieces, laid in order on junk.
template <typename Paint>
testing::AssertionResult Paints(DressedGame& d, Paint paint, const std::vector<Piece>& want) {
    Graphics& x = d.g.gfx;
    Surface faces = NewBlankSurface(64, 104 * 53), expected = x.surfTable;
    for (int n = 1; n <= 52; ++n) {
        const Card& c = d.g.table.Cards[size_t(n)];
        DrawCard(d.g, faces, 0, 104 * n, Card{c.Pips, c.Rank, c.Suit, StateFaceUp});
    }
    const Surface* from[] = {&x.surfBackground, &x.surfFront, &x.surfBack, &faces,
                             &x.surfGoal,       &x.surfTavi,  &x.surfSort, &x.surfSign,
                             &x.surfImgCard};
    for (const Piece& p : want)
        Blit(expected, p.x, p.y, p.w, p.h, *from[p.src], p.src ? p.sx : p.x,
             p.src ? p.sy * (p.src == Cd ? 104 : 1) : p.y);
    paint(d.g, x.surfTable);
    return Same(x.surfTable, expected);
}
// Where a masked w x h piece at (sx, sy) of a file shows through at (x, y): its two corners.
void Masked(std::vector<Piece>& v, Src src, int x, int y, int sx, int sy, int w, int h) {
    v.push_back({src, x, y, sy, sx, 1, 1});
    v.push_back({src, x + w - 1, y + h - 1, sy + h - 1, sx + w - 1, 1, 1});
}
// Pips of each rank, court cards last; y < 0: inverted, at -y.
// clang-format off
const std::vector<std::pair<int, int>> Layouts[] = {{}, {{24, 44}}, {{24, 24}, {24, -64}},
    {{24, 18}, {24, 44}, {24, -70}},
    {{14, 20}, {35, 20}, {14, -69}, {35, -69}},
    {{14, 20}, {35, 20}, {14, -69}, {35, -69}, {24, 44}},
    {{14, 18}, {35, 18}, {14, 44}, {35, 44}, {14, -70}, {35, -70}},
    {{14, 18}, {35, 18}, {14, 48}, {35, 48}, {14, -70}, {35, -70}, {24, 34}},
    {{14, 14}, {35, 14}, {14, 34}, {35, 34}, {14, -54}, {35, -54}, {14, -74}, {35, -74}},
    {{10, 14}, {39, 14}, {10, 34}, {39, 34}, {10, -54}, {39, -54}, {10, -74}, {39, -74}, {24, 44}},
    {{10, 14}, {39, 14}, {10, 34}, {39, 34}, {10, -54}, {39, -54}, {10, -74}, {39, -74}, {24, 24},
     {24, -64}},
    {{14, 19}, {35, -70}}};
// clang-format on
// A face at (8, 8) over the given front: court picture, pips, signs in the suit's colour band.
std::vector<Piece> Face(int rank, int suit, std::vector<Piece> v, bool pips = true) {
    if (rank > 10) v.push_back({Ct, 20, 25, 0, 40 * (rank - 11), 40, 70});
    for (auto [x, y] : pips ? Layouts[std::min(rank, 11)] : Layouts[0])
        Masked(v, So, 8 + x, 8 + std::abs(y), 15 * suit, y < 0 ? 15 : 0, 15, 15);
    Masked(v, Si, 12, 12, 10 * (rank - 1), 40 * (suit / 2), 10, 10);
    Masked(v, Si, 58, 96, 10 * (rank - 1), 40 * (suit / 2) + 10, 10, 10);
    return v;
}
auto At8(Card c, uint8_t state) {
    c.State = state;
    return [c](Game& g, Surface& s) { DrawCard(g, s, 8, 8, c); };
}
void Fill(DressedGame& d, Pile& p, int n) {
    for (int i = 1; i <= n; ++i)
        d.Put(p, 1 + (i - 1) % 13, (i - 1) / 13, StateFaceUp);
}
} // namespace
// Faces, backs, the empty-stock marker, no-draw states; damaged records stay inside the card.
TEST(DrawFaces, FacesBacksAndDamagedRecords) {
    DressedGame d;
    for (int rank = 1; rank <= 13; ++rank)
        for (int suit = 0; suit < 4; ++suit) {
            const int design = (rank + suit) % 2;
            d.g.settings.FrontDesign = int16_t(design);
            d.g.settings.BackDesign = int16_t(1 - design); // the back's design must not matter
            const Card& c = d.g.table.Cards[d.Number(rank, suit)];
            const auto want = Face(rank, suit, {{Fr, 8, 8, 104 * design}});
            const int back = 104 - 104 * design;
            EXPECT_TRUE(Paints(d, At8(c, StateFaceUp), want)) << rank << ", " << suit;
            EXPECT_TRUE(Paints(d, At8(c, StateBack), {{Bk, 8, 8, back}}));
            EXPECT_TRUE(Paints(d, At8(c, StateEmptyStock), {{Bk, 8, 8, back, 64}}));
            EXPECT_TRUE(Paints(d, At8(c, uint8_t(3 + rank * suit)), {}));
        }
    Card c = d.g.table.Cards[40]; // ace of suit 3
    d.g.settings.FrontDesign = 0;
    for (auto [rank, suit] : {std::pair{0, 0}, {14, 1}, {255, 2}, {1, 4}, {13, 255}})
        EXPECT_TRUE(
            Paints(d, At8({c.Pips, uint8_t(rank), uint8_t(suit)}, StateFaceUp), {{Fr, 8, 8}}));
    c.Pips[1] = {INT_MAX, INT_MIN, PipUpright};
    c.Pips[2] = {-1000000, 5, PipInverted};
    c.Pips[3] = {INT_MIN, INT_MAX, 7}; // ends the list
    EXPECT_TRUE(Paints(d, At8(c, StateFaceUp), Face(1, 3, {{Fr, 8, 8}}, false)));
}
// Piles (x = 100 + 75 (i - 1), y = 164) fan 14 apart and clear a step below, or to the bottom;
// goals (x = 325 + 75 (k - 1), y = 30) show a card, their placeholder, or a back for a bare count.
TEST(TablePaint, TableauGoalsAndTheWholeTable) {
    DressedGame d;
    Table& t = d.g.table;
    d.g.settings.BackDesign = 1;
    for (int r = 2; r <= 6; ++r) // three face down, then 5 of suit 1 and 6 of suit 2
        d.Put(t.Tableau[3], r, r < 5 ? 3 : r - 4, r < 5 ? StateFaceDown : StateFaceUp);
    Fill(d, t.Goal[3], 2);
    t.Goal[4].Count = 13;
    std::vector<Piece> want;
    for (int x : {100, 175, 325, 400, 475, 550})
        want.push_back({Bg, x, 164, 0, 0, 64, 316});
    // clang-format off
    want.insert(want.end(), {{Bg, 250, 164, 0, 0, 64, 174}, {Bk, 250, 164, 104, 0, 64, 14},
        {Bk, 250, 178, 104, 0, 64, 14}, {Bk, 250, 192, 104, 0, 64, 14},
        {Cd, 250, 206, 18, 0, 64, 14}, {Cd, 250, 220, 32}, {Bg, 325, 30}, {Bg, 400, 30},
        {Cd, 475, 30, 2}, {Bk, 550, 30, 104}});
    // clang-format on
    Masked(want, Gl, 325, 30, 0, 0, 64, 104), Masked(want, Gl, 400, 30, 64, 0, 64, 104);
    EXPECT_TRUE(Paints(
        d, [](Game& g, Surface& s) { DrawTableau(g, s), DrawGoals(g, s); }, want));
    // The whole table: background, portrait, every pile, and the window shows it.
    d.g.settings.ShowTavi = true;
    want.insert(want.begin(), {Bg, 0, 0, 0, 0, 640, 480});
    want.push_back({Bk, 25, 30, 104, 64});
    Masked(want, Tv, 195, 15, 0, 0, 40, 30);
    EXPECT_TRUE(Paints(
        d, [](Game& g, Surface&) { RedrawTable(g); }, want));
    EXPECT_TRUE(Same(d.g.gfx.surfWindow, d.g.gfx.surfTable));
    EXPECT_TRUE(d.t.host.PanelWidth(1) == 100 && d.t.host.PanelWidth(2) == 540);
    EXPECT_EQ(d.t.host.invalidated, (std::vector{std::array{0, 0, 640, 480}}));
}
// Stock (25, 30): back or empty marker, an edge slice per ten cards. Waste (100, 30): top card and
// front slices per ten; drawing three, the last 15 apart, in place while the top one is carried.
TEST(TablePaint, StockAndWaste) {
    constexpr int W = HandFromWaste, T = HandFromTableau;
    // clang-format off
    for (auto [stock, waste, rule, fan, kind, count, slices, first, shown, fronts] :
         {std::array{24, 0, 1, 0, 0, 0, 2, 0, 0, 0}, {9, 0, 1, 0, 0, 0, 0, 0, 0, 0},
          {0, 23, 1, 0, 0, 0, 0, 23, 1, 2}, {0, 7, 3, 0, 0, 0, 0, 5, 3, 0},
          {0, 6, 3, 1, W, 1, 0, 5, 2, 0}, {0, 6, 3, 1, W, 0, 0, 4, 3, 0},
          {0, 6, 3, 1, T, 1, 0, 4, 3, 0}, {0, 3, 3, 255, W, 1, 0, 0, 0, 0},
          {1, 0, 1, 0, 0, 0, 0, 0, 0, 0}}) {
        // clang-format on
        DressedGame d;
        Table& t = d.g.table;
        d.g.settings.DrawRule = uint8_t(rule);
        d.g.settings.BackDesign = d.g.settings.FrontDesign = 1;
        Fill(d, t.Stock, stock), Fill(d, t.Waste, waste);
        t.WasteFan = uint8_t(fan), t.HandKind = uint8_t(kind), t.HandCount = uint8_t(count);
        std::vector<Piece> want = {{Bg, 25, 30, 0, 0, 169}, {Bk, 25, 30, 104, stock ? 0 : 64}};
        for (int i = 0; i < slices; ++i)
            want.push_back({Bk, 89 + 3 * i, 30, 104, 61, 3});
        for (int i = 0; i < fronts; ++i)
            want.push_back({Fr, 97 - 3 * i, 30, 104, 0, 3});
        for (int i = 0; i < shown; ++i)
            want.push_back({Cd, 100 + 15 * i, 30, first + i});
        EXPECT_TRUE(Paints(d, DrawStockAndWaste, want)) << stock << " " << waste << " " << fan;
    }
}
