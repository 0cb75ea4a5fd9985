#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include "model/Rules.h"
#include "play/Mouse.h"
#include "state/Game.h"
#include <algorithm>
#include <cstdlib>

// surfTable never holds the carried cards, so whatever they uncover is restored from it and
// the window always shows surfTable plus the hand.

namespace {

// The carried cards on dc, Hand(1) at (x, y). Cards are opaque and each covers all but the top
// fan step of the one below, so the lower ones are drawn through a surface one step high: the
// same picture for a fraction of the work.
void DrawCarried(Game& g, Surface& dc, int x, int y) {
    const Table& t = g.table;
    if (dc.Empty()) return;
    Surface strip = NewBlankSurface(CardWidth, TableauStep);
    for (int k = 1; k <= t.HandCount; ++k) {
        Card c = t.Cards[t.Hand[k]];
        c.State = StateFaceUp;
        const int top = y + TableauStep * (k - 1);
        if (k == t.HandCount) {
            DrawCard(g, dc, x, top, c);
        } else {
            DrawCard(g, strip, 0, 0, c);
            Blit(dc, x, top, CardWidth, TableauStep, strip, 0, 0);
        }
    }
}

int HandHeight(int n) {
    return CardHeight + TableauStep * (n - 1);
}

// A rectangle of the table at (x, y) into the drag surface, whose corner stands at (left, top).
void FromTable(Game& g, int left, int top, int x, int y, int w, int h) {
    Blit(g.gfx.surfDrag, x - left, y - top, w, h, g.gfx.surfTable, x, y);
}

// Old and new places overlap: compose their union once and show it in one copy.
void NearMove(Game& g, int oldX, int oldY, int newX, int newY) {
    Table& t = g.table;
    const int left = std::min(oldX, newX);
    const int top = std::min(oldY, newY);
    const int right = std::max(oldX, newX) + CardWidth;
    const int bottom = std::max(oldY, newY) + HandHeight(t.HandCount);
    // The opaque cards will cover their new place whole, so only the rest of the union is
    // taken from the table: a band beside them and one above or below.
    const int hand = HandHeight(t.HandCount);
    const int tall = bottom - top;
    FromTable(g, left, top, left, top, newX - left, tall);
    FromTable(g, left, top, newX + CardWidth, top, right - newX - CardWidth, tall);
    FromTable(g, left, top, newX, top, CardWidth, newY - top);
    FromTable(g, left, top, newX, newY + hand, CardWidth, bottom - newY - hand);
    t.DownX = newX;
    t.DownY = newY;
    DrawCarried(g, g.gfx.surfDrag, newX - left, newY - top);
    BlitToWindow(g, left, top, right - left, bottom - top, g.gfx.surfDrag, 0, 0);
}

// Apart: restore the old place from the table, then show the cards at the new one.
void FarMove(Game& g, int oldX, int oldY, int newX, int newY) {
    Table& t = g.table;
    const int n = t.HandCount;
    CopyTableToWindow(g, oldX, oldY, CardWidth, CardHeight + TableauStep * n);
    t.DownX = newX;
    t.DownY = newY;
    DrawCarried(g, g.gfx.surfDrag, 0, 0); // opaque cards cover the whole area
    BlitToWindow(g, newX, newY, CardWidth, HandHeight(n), g.gfx.surfDrag, 0, 0);
}
} // namespace

void Form_MouseMove(Game& g, uint8_t buttons, uint8_t, float x, float y) {
    if (buttons == ButtonLeft && g.table.Dragging) DrawHand(g, x, y);
}

void DrawHand(Game& g, float x, float y) {
    const Table& t = g.table;
    if (t.HandCount == 0) return;
    const int newX = Pixel(x) - t.GrabDX;
    const int newY = Pixel(y) - t.GrabDY;
    const int oldX = t.DownX;
    const int oldY = t.DownY;
    if (std::abs(newX - oldX) < CardWidth && std::abs(newY - oldY) < CardHeight)
        NearMove(g, oldX, oldY, newX, newY);
    else
        FarMove(g, oldX, oldY, newX, newY);
}
