#include "drawing/CardFaces.h"
#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "state/Game.h"
#include <algorithm>

namespace {
constexpr int GapWidth = 11;
constexpr int SliceWidth = 3;
constexpr int CardsPerSlice = 10;
constexpr int BackEdgeX = 61; // the last three columns of the back
constexpr int WasteAreaWidth = CardWidth + 2 * FanStep;

// Erasing is copying the tiled background from the same place.
void Erase(const Game& g, Surface& dc, int x, int y, int w, int h) {
    Blit(dc, x, y, w, h, g.gfx.surfBackground, x, y, Rop::Copy);
}

// Cards of a pile that may be read: a damaged count never walks past the list.
int Shown(const Pile& p) {
    return std::min<int>(p.Count, static_cast<int>(p.List.size()) - 1);
}

// The record of a card number, or nothing for a number past the deck. Number 0 is the empty
// record, drawn as a back: what a goal shows whose count was raised without cards.
const Card* CardOf(const Table& t, uint8_t number) {
    return number <= 52 ? &t.Cards[number] : nullptr;
}

void DrawCardNumber(const Game& g, Surface& dc, int x, int y, uint8_t number) {
    if (const Card* c = CardOf(g.table, number)) DrawCard(g, dc, x, y, *c);
}

// Face-down cards show the back whatever their record holds.
void DrawFan(const Game& g, const Pile& p, Surface& dc) {
    const Table& t = g.table;
    for (int k = 1; k <= Shown(p); ++k) {
        const Card* c = CardOf(t, p.List[k]);
        if (!c) continue;
        DrawCard(g, dc, p.X, p.Y + TableauStep * (k - 1), IsFaceUp(*c) ? *c : t.BackCard);
    }
}

void EraseColumn(const Game& g, const Pile& p, Surface& dc) {
    Erase(g, dc, p.X, p.Y, CardWidth, g.table.TableHeight - p.Y);
}

void DrawWasteThree(const Game& g, Surface& dc) {
    const Table& t = g.table;
    const Pile& w = t.Waste;
    const int count = Shown(w);
    if (count == 0) return;
    // While the waste's top card is carried, the fan keeps the places it had.
    const int fan = (t.HandKind == HandFromWaste && t.HandCount == 1) ? t.WasteFan : 0;
    const int start = std::max(1, count - 2 + fan);
    for (int k = start; k <= count; ++k)
        DrawCardNumber(g, dc, w.X + FanStep * (k - start), w.Y, w.List[k]);
}

void DrawWasteOne(const Game& g, Surface& dc) {
    const Pile& w = g.table.Waste;
    const int count = Shown(w);
    if (count == 0) return;
    DrawCardNumber(g, dc, w.X, w.Y, w.List[count]);
    const int band = DesignBandHeight * g.settings.FrontDesign;
    for (int k = 1; k <= count / CardsPerSlice; ++k)
        Blit(dc, w.X - SliceWidth * k, w.Y, SliceWidth, CardHeight, g.gfx.surfFront, 0, band);
}
} // namespace

void DrawTableau(Game& g, Surface& dc) {
    for (int i = 1; i <= 7; ++i) {
        const Pile& p = g.table.Tableau[i];
        if (Shown(p) > 0) {
            // One fan step more than the cards cover: where a card just taken lay.
            Erase(g, dc, p.X, p.Y, CardWidth, TableauStep * Shown(p) + CardHeight);
            DrawFan(g, p, dc);
        } else {
            EraseColumn(g, p, dc);
        }
    }
}

void DrawTableauPile(Game& g, uint8_t index, Surface& dc) {
    if (index < 1 || index > 7) return;
    const Pile& p = g.table.Tableau[index];
    EraseColumn(g, p, dc);
    DrawFan(g, p, dc);
}

void DrawGoals(Game& g, Surface& dc) {
    for (uint8_t k = 1; k <= 4; ++k)
        DrawGoal(g, k, dc);
}

void DrawGoal(Game& g, uint8_t index, Surface& dc) {
    if (index < 1 || index > 4) return;
    const Pile& p = g.table.Goal[index];
    if (Shown(p) > 0) {
        DrawCardNumber(g, dc, p.X, p.Y, p.List[Shown(p)]);
        return;
    }
    // Each goal place has a placeholder of its own, by position.
    const Surface& goal = g.gfx.surfGoal;
    const int sx = CardWidth * (index - 1);
    Erase(g, dc, p.X, p.Y, CardWidth, CardHeight);
    Blit(dc, p.X, p.Y, CardWidth, CardHeight, goal, sx, CardHeight, Rop::And);
    Blit(dc, p.X, p.Y, CardWidth, CardHeight, goal, sx, 0, Rop::Xor);
}

void DrawStockAndWaste(Game& g, Surface& dc) {
    const Table& t = g.table;
    const Pile& s = t.Stock;
    const Pile& w = t.Waste;
    Erase(g, dc, s.X, s.Y, CardWidth, CardHeight);
    Erase(g, dc, w.X - GapWidth, w.Y, GapWidth, CardHeight);
    Erase(g, dc, w.X, w.Y, WasteAreaWidth, CardHeight);
    const int band = DesignBandHeight * g.settings.BackDesign;
    for (int j = 1; j <= s.Count / CardsPerSlice; ++j)
        Blit(dc, s.X + CardWidth + SliceWidth * (j - 1), s.Y, SliceWidth, CardHeight,
             g.gfx.surfBack, BackEdgeX, band);
    DrawCard(g, dc, s.X, s.Y, s.Count > 0 ? t.BackCard : t.EmptyStockCard);
    if (g.settings.DrawRule == 3)
        DrawWasteThree(g, dc);
    else
        DrawWasteOne(g, dc);
}
