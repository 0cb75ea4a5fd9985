#include "drawing/CardFaces.h"
#include "drawing/Graphics.h"
#include "state/Game.h"
#include <algorithm>
#include <array>
#include <limits>

namespace {
constexpr int PipSize = 15;
constexpr int SignSize = 10;
constexpr int CourtWidth = 40;
constexpr int CourtHeight = 70;
constexpr int CourtX = 12, CourtY = 17;
constexpr int SignUpX = 4, SignUpY = 4;
constexpr int SignDownX = 50, SignDownY = 88;
constexpr int SignBandHeight = 40;
constexpr int MarkerX = 64; // the empty-stock marker sits beside the back

constexpr Pip Up(int32_t x, int32_t y) {
    return {x, y, PipUpright};
}
constexpr Pip Down(int32_t x, int32_t y) {
    return {x, y, PipInverted};
}

// Every placement is listed, lower half inverted; slots left out stay unused.
using Layout = std::array<Pip, 10>;
constexpr Layout CourtLayout = {Up(14, 19), Down(35, 70)};
constexpr std::array<Layout, 14> PipLayouts = {{
    {},
    {Up(24, 44)},
    {Up(24, 24), Down(24, 64)},
    {Up(24, 18), Up(24, 44), Down(24, 70)},
    {Up(14, 20), Up(35, 20), Down(14, 69), Down(35, 69)},
    {Up(14, 20), Up(35, 20), Down(14, 69), Down(35, 69), Up(24, 44)},
    {Up(14, 18), Up(35, 18), Up(14, 44), Up(35, 44), Down(14, 70), Down(35, 70)},
    {Up(14, 18), Up(35, 18), Up(14, 48), Up(35, 48), Down(14, 70), Down(35, 70), Up(24, 34)},
    {Up(14, 14), Up(35, 14), Up(14, 34), Up(35, 34), Down(14, 54), Down(35, 54), Down(14, 74),
     Down(35, 74)},
    {Up(10, 14), Up(39, 14), Up(10, 34), Up(39, 34), Down(10, 54), Down(39, 54), Down(10, 74),
     Down(39, 74), Up(24, 44)},
    {Up(10, 14), Up(39, 14), Up(10, 34), Up(39, 34), Down(10, 54), Down(39, 54), Down(10, 74),
     Down(39, 74), Up(24, 24), Down(24, 64)},
    CourtLayout,
    CourtLayout,
    CourtLayout,
}};

// Top of a design's band; a stray design number only points outside the file.
int Band(int16_t design) {
    return DesignBandHeight * design;
}

// A pip offset from a card record that may be damaged: added without overflow.
int Offset(int base, int32_t delta) {
    const int64_t v = int64_t{base} + delta;
    return static_cast<int>(
        std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Mask cut in with AND, then the picture put in with XOR.
void PutMasked(Surface& dc, int x, int y, int size, const Surface& src, int sx, int maskY,
               int imageY) {
    Blit(dc, x, y, size, size, src, sx, maskY, Rop::And);
    Blit(dc, x, y, size, size, src, sx, imageY, Rop::Xor);
}

void DrawFace(const Game& g, Surface& dc, int x, int y, const Card& c) {
    const Graphics& gx = g.gfx;
    Blit(dc, x, y, CardWidth, CardHeight, gx.surfFront, 0, Band(g.settings.FrontDesign));
    // A record with no rank or suit we know has nothing more to show.
    if (c.Rank < RankAce || c.Rank > RankKing || c.Suit > 3) return;
    if (c.Rank > 10)
        Blit(dc, x + CourtX, y + CourtY, CourtWidth, CourtHeight, gx.surfImgCard,
             CourtWidth * (c.Rank - 11), 0);
    const int pipX = PipSize * c.Suit;
    for (int k = 1; k <= 10; ++k) {
        const Pip& p = c.Pips[k];
        if (p.Dir != PipUpright && p.Dir != PipInverted) break;
        const bool up = p.Dir == PipUpright;
        PutMasked(dc, Offset(x, p.X), Offset(y, p.Y), PipSize, gx.surfSort, pipX,
                  up ? 2 * PipSize : 3 * PipSize, up ? 0 : PipSize);
    }
    const int signX = SignSize * (c.Rank - 1);
    const int b = SignBandHeight * (c.Suit / 2);
    PutMasked(dc, x + SignUpX, y + SignUpY, SignSize, gx.surfSign, signX, b + 20, b);
    PutMasked(dc, x + SignDownX, y + SignDownY, SignSize, gx.surfSign, signX, b + 30, b + 10);
}
} // namespace

void BuildCardFaces(Game& g) {
    Table& t = g.table;
    t.RankLayouts = {};
    t.Cards = {};
    for (uint8_t r = RankAce; r <= RankKing; ++r)
        std::copy(PipLayouts[r].begin(), PipLayouts[r].end(), t.RankLayouts[r].Pips.begin() + 1);
    for (uint8_t s = 0; s < 4; ++s)
        for (uint8_t r = RankAce; r <= RankKing; ++r) {
            Card& c = t.Cards[13 * s + r];
            c = t.RankLayouts[r];
            c.Suit = s;
            c.Rank = r;
        }
    t.BackCard.State = StateBack;
    t.EmptyStockCard.State = StateEmptyStock;
}

void DrawCard(const Game& g, Surface& dc, int x, int y, const Card& card) {
    const Surface& back = g.gfx.surfBack;
    const int band = Band(g.settings.BackDesign);
    switch (card.State) {
    case StateBack:
        Blit(dc, x, y, CardWidth, CardHeight, back, 0, band);
        break;
    case StateEmptyStock:
        Blit(dc, x, y, CardWidth, CardHeight, back, MarkerX, band);
        break;
    case StateFaceUp:
        DrawFace(g, dc, x, y, card);
        break;
    default:
        break; // not a drawing mode: nothing
    }
}
