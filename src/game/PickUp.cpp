#include "drawing/TablePainter.h"
#include "game/Game.h"
#include "game/Mouse.h"
#include "game/Rules.h"

namespace {
constexpr int StripWideThree = 169; // stock plus a full three-card fan
constexpr int StripWideOne = 139;   // stock plus the waste and its edge slices

void MoveTop(Pile& from, Pile& to) {
    to.Push(from.Pop());
}

// The stock's cards leave in turning order; returns whether anything moved.
bool TurnStock(Table& t, uint8_t drawRule) {
    Pile& stock = t.Stock;
    Pile& waste = t.Waste;
    if (stock.Count == 0) {
        if (waste.Count == 0) return false;
        // Turning the waste over brings the cards back in the order they were first turned.
        while (waste.Count > 0)
            MoveTop(waste, stock);
        return true;
    }
    if (drawRule != 3) {
        MoveTop(stock, waste);
        return true;
    }
    t.WasteFan = 0;
    if (stock.Count >= 3) {
        for (int k = 0; k < 3; ++k)
            MoveTop(stock, waste);
        return true;
    }
    // One or two left: they go over bottom first, so the stock's top card ends on top.
    for (int k = 1; k <= stock.Count; ++k)
        waste.Push(stock.List[k]);
    stock.Count = 0;
    return true;
}

void PressStock(Game& g) {
    Table& t = g.table;
    t.UndoAvailable = false;
    if (!TurnStock(t, g.settings.DrawRule)) return;
    DrawStockAndWaste(g, g.gfx.surfTable);
    const int wide = g.settings.DrawRule == 3 ? StripWideThree : StripWideOne;
    CopyTableToWindow(g, t.Stock.X, t.Stock.Y, wide, CardHeight);
}

void PressWaste(Game& g, int x, int y, int offset, float fx, float fy) {
    Table& t = g.table;
    if (t.Waste.Count == 0) return;
    t.Hand[1] = t.Waste.Pop();
    t.HandCount = 1;
    t.GrabDX = x - t.Waste.X - offset;
    t.GrabDY = y - t.Waste.Y;
    t.HandFrom = PileWaste;
    t.HandKind = HandFromWaste;
    t.Dragging = true;
    const bool three = g.settings.DrawRule == 3;
    if (three) ++t.WasteFan;
    DrawStockAndWaste(g, g.gfx.surfTable);
    // The edge slices and the fan change (a used-up fan shows the next cards); the hand is
    // drawn over them.
    CopyTableToWindow(g, t.Stock.X + CardWidth, t.Waste.Y, StripWideThree - CardWidth, CardHeight);
    DrawHand(g, fx, fy);
}

void TakeRun(Game& g, uint8_t pile, int slot, int dx, int dy, float fx, float fy) {
    Table& t = g.table;
    Pile& p = t.Tableau[pile];
    const int n = p.Count - slot + 1;
    // Face-up runs are at most thirteen long in play; a longer one is no position to carry.
    if (n > 13) return;
    for (int k = slot; k <= p.Count; ++k)
        t.Hand[k - slot + 1] = p.List[k];
    t.HandCount = static_cast<uint8_t>(n);
    p.Count = static_cast<uint8_t>(p.Count - n);
    t.GrabDX = dx;
    t.GrabDY = dy - TableauStep * (slot - 1);
    t.HandFrom = pile;
    t.HandKind = HandFromTableau;
    t.Dragging = true;
    DrawTableauPile(g, pile, g.gfx.surfTable);
    DrawHand(g, fx, fy);
}

void TurnTopCard(Game& g, uint8_t pile) {
    Table& t = g.table;
    t.Cards[t.Tableau[pile].Top()].State = StateFaceUp;
    DrawTableauPile(g, pile, g.gfx.surfTable);
    ShowTable(g);
    t.HandCount = 0;
    t.Dragging = false;
    t.UndoAvailable = false;
}
} // namespace

void Form_MouseDown(Game& g, uint8_t button, uint8_t, float x, float y) {
    Table& t = g.table;
    t.LastButton = button;
    if (t.Dragging) return;
    if (button == ButtonRight) {
        t.RightDownX = Pixel(x);
        t.RightDownY = Pixel(y);
        return;
    }
    if (button != ButtonLeft) return;
    if (!t.InputArmed) {
        t.InputArmed = true; // this press only ends the celebration
        return;
    }
    t.DownX = Pixel(x);
    t.DownY = Pixel(y);
    if (ClickStockOrWaste(g, x, y)) return;
    if (PickUpFromTableau(g, x, y)) return;
    PickUpFromGoal(g, x, y);
}

void TriggerClick(Game& g, int32_t x, int32_t y) {
    Form_MouseDown(g, ButtonLeft, 0, static_cast<float>(x), static_cast<float>(y));
}

bool ClickStockOrWaste(Game& g, float fx, float fy) {
    Table& t = g.table;
    if (t.Dragging) return false; // the hand must not be overwritten or its fan turned away
    const int x = Pixel(fx);
    const int y = Pixel(fy);
    const int offset = WasteTopOffset(t, g.settings.DrawRule);
    if (InCardRect(t.Stock.X, t.Stock.Y, x, y)) {
        PressStock(g);
        return true;
    }
    if (!InCardRect(t.Waste.X + offset, t.Waste.Y, x, y)) return false;
    PressWaste(g, x, y, offset, fx, fy);
    return true;
}

bool PickUpFromTableau(Game& g, float fx, float fy) {
    Table& t = g.table;
    if (t.Dragging) return false;
    const int x = Pixel(fx);
    const int y = Pixel(fy);
    for (uint8_t i = 1; i <= 7; ++i) {
        const Pile& p = t.Tableau[i];
        if (!InTableauRect(p, x, y)) continue;
        const int slot = TableauSlotAt(p, y);
        if (slot == 0) return false;
        if (IsFaceUp(t.Cards[p.List[slot]]))
            TakeRun(g, i, slot, x - p.X, y - p.Y, fx, fy);
        else if (slot == p.Count)
            TurnTopCard(g, i);
        return true;
    }
    return false;
}

bool PickUpFromGoal(Game& g, float fx, float fy) {
    Table& t = g.table;
    if (t.Dragging) return false;
    const int x = Pixel(fx);
    const int y = Pixel(fy);
    for (uint8_t k = 1; k <= 4; ++k) {
        Pile& p = t.Goal[k];
        if (!InCardRect(p.X, p.Y, x, y)) continue;
        if (p.Count == 0) return false;
        t.Hand[1] = p.Pop();
        t.HandCount = 1;
        t.GrabDX = x - p.X;
        t.GrabDY = y - p.Y;
        t.HandFrom = static_cast<uint8_t>(k + 7);
        t.HandKind = HandFromGoal;
        t.Dragging = true;
        DrawGoal(g, k, g.gfx.surfTable);
        DrawHand(g, fx, fy);
        return true;
    }
    return false;
}
