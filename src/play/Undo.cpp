#include "drawing/TablePainter.h"
#include "play/Mouse.h"
#include "state/Game.h"
#include <array>

namespace {
// The undo record's pile numbers: tableau below 8, goal below 12, the waste otherwise.
Pile& UndoPile(Table& t, uint8_t n) {
    if (n < 8) return t.Tableau[n];
    if (n < 12) return t.Goal[n - 7];
    return t.Waste;
}

void RedrawUndoPile(Game& g, uint8_t n) {
    Surface& dc = g.gfx.surfTable;
    if (n < 8)
        DrawTableauPile(g, n, dc);
    else if (n < 12)
        DrawGoal(g, static_cast<uint8_t>(n - 7), dc);
    else
        DrawStockAndWaste(g, dc);
}
} // namespace

void UndoMove(Game& g) {
    Table& t = g.table;
    if (!t.UndoAvailable) return;
    // Carried cards may have come off the very pile the record points at; undo waits until
    // they are down again.
    if (t.Dragging) return;
    const int n = t.UndoCount;
    Pile& to = UndoPile(t, t.UndoTo);
    Pile& from = UndoPile(t, t.UndoFrom);
    t.UndoAvailable = false;
    const int room = from.Bound - from.Count + (&from == &to ? n : 0);
    if (n < 1 || n > 13 || to.Count < n || room < n) return; // a record that no longer fits
    std::array<uint8_t, 14> moved{};
    for (int k = 1; k <= n; ++k)
        moved[k] = to.Pop(); // uppermost first
    RedrawUndoPile(g, t.UndoTo);
    for (int k = n; k >= 1; --k)
        from.Push(moved[k]);
    RedrawUndoPile(g, t.UndoFrom);
    ShowTable(g);
}

void mnuFileUndo_Click(Game& g) {
    UndoMove(g);
}
