#include "drawing/TablePainter.h"
#include "model/Rules.h"
#include "play/Mouse.h"
#include "play/Win.h"
#include "sound/Sound.h"
#include "state/Game.h"

namespace {
constexpr int ReturnSteps = 25;
// Each step of the flight back is shown this long after the one before, so it is seen as a
// flight of about 175 ms on any machine rather than a jump.
constexpr uint32_t ReturnStepMs = 7;

void RecordMove(Table& t, uint8_t count, uint8_t to) {
    t.UndoCount = count;
    t.UndoFrom = t.HandFrom;
    t.UndoTo = to;
    t.UndoAvailable = true;
}

void EmptyHand(Table& t) {
    t.HandCount = 0;
    t.Dragging = false;
}

// A fan whose third card has been played is used up; the next cards of the waste show.
bool FanUsedUp(const Table& t) {
    return t.HandKind == HandFromWaste && t.WasteFan >= 3;
}

// Where Hand(1) lay before it was taken.
void ReturnCorner(const Game& g, int& x, int& y) {
    const Table& t = g.table;
    if (t.HandKind == HandFromTableau) {
        const Pile& p = t.Tableau[t.HandFrom];
        x = p.X;
        y = p.Y + TableauStep * p.Count;
    } else if (t.HandKind == HandFromGoal) {
        x = t.Goal[t.HandFrom - 7].X;
        y = t.Goal[t.HandFrom - 7].Y;
    } else {
        x = t.Waste.X + WasteReturnOffset(t, g.settings.DrawRule);
        y = t.Waste.Y;
    }
}

// The cards go back in order, and their pile is drawn while the hand still holds them: a
// waste fan is drawn from the hand, and an empty hand would show the whole fan again.
void PutHandBack(Game& g) {
    Table& t = g.table;
    Pile& p = t.PileAt(t.HandFrom);
    for (int k = 1; k <= t.HandCount; ++k)
        p.Push(t.Hand[k]);
    Surface& dc = g.gfx.surfTable;
    if (t.HandKind == HandFromTableau) {
        DrawTableauPile(g, t.HandFrom, dc);
    } else if (t.HandKind == HandFromGoal) {
        DrawGoal(g, static_cast<uint8_t>(t.HandFrom - 7), dc);
    } else {
        for (int k = 1; k <= t.HandCount; ++k)
            t.WasteFan = t.WasteFan == 0 ? 2 : static_cast<uint8_t>(t.WasteFan - 1);
        DrawStockAndWaste(g, dc);
    }
}
} // namespace

void Form_MouseUp(Game& g, uint8_t button, uint8_t, float x, float y) {
    Table& t = g.table;
    if (button == ButtonRight) {
        if (SendToGoal(g, t.RightDownX, t.RightDownY)) return;
        // The menu takes the mouse, so cards still carried would never see their release.
        if (t.Dragging) ReturnHand(g);
        g.host.window->PopupOptionsMenu();
        return;
    }
    if (button != ButtonLeft) return;
    if (DropOnTableau(g, x, y) || DropOnGoal(g, x, y)) {
        if (FanUsedUp(t)) {
            t.WasteFan = 0;
            DrawStockAndWaste(g, g.gfx.surfTable);
            ShowTable(g);
        }
    } else if (t.Dragging) {
        ReturnHand(g);
    }
}

bool DropOnTableau(Game& g, float x, float y) {
    Table& t = g.table;
    if (!t.Dragging) return false;
    const int left = Pixel(x) - t.GrabDX;
    const int top = Pixel(y) - t.GrabDY;
    uint8_t i = 1;
    while (i <= 7 && !InTableauDropZone(t.Tableau[i], left, top))
        ++i;
    if (i > 7) return false;
    Pile& p = t.Tableau[i];
    if (!FitsOnTableau(p, t.Cards[t.Hand[1]], t.TopCard(p))) return false;
    if (p.Count + t.HandCount > p.Bound) return false; // never lose cards off the end of a pile
    for (int k = 1; k <= t.HandCount; ++k)
        p.Push(t.Hand[k]);
    RecordMove(t, t.HandCount, i);
    EmptyHand(t);
    DrawTableauPile(g, i, g.gfx.surfTable);
    ShowTable(g);
    // Laying a run back where it was taken is silent.
    if (!(t.HandKind == HandFromTableau && t.HandFrom == i))
        PlayMoveSound(g, g.sounds.MoveSoundData);
    return true;
}

bool DropOnGoal(Game& g, float x, float y) {
    Table& t = g.table;
    if (!t.Dragging) {
        CheckForWin(g); // every release that carried nothing looks for a win
        return false;
    }
    const int left = Pixel(x) - t.GrabDX;
    const int top = Pixel(y) - t.GrabDY;
    uint8_t k = 1;
    while (k <= 4 && !InGoalDropZone(t.Goal[k], left, top))
        ++k;
    if (k > 4) return false;
    Pile& p = t.Goal[k];
    if (t.HandCount != 1 || !NextOfGoalSuit(k, p, t.Cards[t.Hand[1]], t.TopCard(p))) return false;
    p.Push(t.Hand[1]);
    RecordMove(t, 1, static_cast<uint8_t>(k + 7));
    EmptyHand(t);
    DrawGoal(g, k, g.gfx.surfTable);
    if (t.HandKind != HandFromGoal) PlayMoveSound(g, g.sounds.GoalSoundData);
    if (FanUsedUp(t)) {
        t.WasteFan = 0;
        DrawStockAndWaste(g, g.gfx.surfTable);
    }
    ShowTable(g);
    CheckForWin(g);
    return true;
}

void ReturnHand(Game& g) {
    Table& t = g.table;
    if (t.HandCount == 0) {
        t.Dragging = false;
        return;
    }
    int destX = 0;
    int destY = 0;
    ReturnCorner(g, destX, destY);
    const int startX = t.DownX;
    const int startY = t.DownY;
    t.GrabDX = 0;
    t.GrabDY = 0;
    // No window events are served during the flight: a press waits until the cards are home.
    const uint32_t began = g.host.system->TickCount();
    for (int s = 1; s <= ReturnSteps; ++s) {
        const uint32_t due = ReturnStepMs * static_cast<uint32_t>(s);
        const uint32_t elapsed = g.host.system->TickCount() - began;
        if (elapsed < due) g.host.system->Pause(static_cast<int>(due - elapsed));
        // Integer division truncates toward zero, so the last step lands exactly.
        const int x = startX + (destX - startX) * s / ReturnSteps;
        const int y = startY + (destY - startY) * s / ReturnSteps;
        DrawHand(g, static_cast<float>(x), static_cast<float>(y));
        g.host.window->ShowNow();
    }
    PutHandBack(g);
    EmptyHand(t);
    ShowTable(g);
}

void Form_CaptureLost(Game& g) {
    if (g.table.Dragging) ReturnHand(g);
}
