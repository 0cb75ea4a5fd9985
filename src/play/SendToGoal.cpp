#include "drawing/TablePainter.h"
#include "model/Rules.h"
#include "play/Mouse.h"
#include "play/Win.h"
#include "sound/Sound.h"
#include "state/Game.h"

namespace {
// Puts card number n on its goal pile, repainted off-screen and on the window at once.
void LayOnGoal(Game& g, uint8_t n, uint8_t from) {
    Table& t = g.table;
    const uint8_t k = GoalForSuit(t.Cards[n]);
    Pile& goal = t.Goal[k];
    goal.Push(n);
    DrawGoal(g, k, g.gfx.surfTable);
    CopyTableToWindow(g, goal.X, goal.Y, CardWidth, CardHeight);
    t.UndoCount = 1;
    t.UndoFrom = from;
    t.UndoTo = static_cast<uint8_t>(k + 7);
    t.UndoAvailable = true;
}

bool Fits(const Table& t, uint8_t n) {
    const Card& c = t.Cards[n];
    const Pile& goal = t.Goal[GoalForSuit(c)];
    return n != 0 && !goal.Full() && NextOnItsGoal(c, t.TopCard(goal));
}

bool SendFromTableau(Game& g, uint8_t i, int slot) {
    Table& t = g.table;
    Pile& p = t.Tableau[i];
    if (p.Count == 0 || !IsFaceUp(t.TopCard(p))) return false;
    if (slot != p.Count || !Fits(t, p.Top())) {
        CheckForWin(g);
        return false;
    }
    LayOnGoal(g, p.Pop(), i); // a face-down card left on top stays face down
    DrawTableauPile(g, i, g.gfx.surfTable);
    CopyTableToWindow(g, p.X, p.Y, CardWidth, t.TableHeight - p.Y);
    PlayMoveSound(g, g.sounds.GoalSoundData);
    CheckForWin(g);
    return true;
}

bool SendFromWaste(Game& g) {
    Table& t = g.table;
    if (!Fits(t, t.Waste.Top())) {
        CheckForWin(g);
        return false;
    }
    LayOnGoal(g, t.Waste.Pop(), PileWaste);
    ++t.WasteFan;
    if (t.WasteFan >= 3) t.WasteFan = 0;
    // Drawn as while a waste card is carried, so the fan shows only the cards left in it.
    t.HandKind = HandFromWaste;
    t.HandFrom = PileWaste;
    t.HandCount = 1;
    DrawStockAndWaste(g, g.gfx.surfTable);
    ShowTable(g);
    t.HandCount = 0;
    PlayMoveSound(g, g.sounds.GoalSoundData);
    CheckForWin(g);
    return true;
}
} // namespace

bool SendToGoal(Game& g, int32_t x, int32_t y) {
    Table& t = g.table;
    if (t.Dragging) return false;
    for (uint8_t i = 1; i <= 7; ++i)
        if (InTableauRect(t.Tableau[i], x, y))
            return SendFromTableau(g, i, TableauSlotAt(t.Tableau[i], y));
    if (InSendRect(t.Waste.X, t.Waste.Y, x, y)) return SendFromWaste(g);
    if (InSendRect(t.Stock.X, t.Stock.Y, x, y)) {
        TriggerClick(g, x, y);
        CheckForWin(g);
        return true;
    }
    CheckForWin(g);
    return false;
}

void Form_DblClick(Game& g) {
    if (g.table.LastButton == ButtonLeft) SendToGoal(g, g.table.DownX, g.table.DownY);
}
