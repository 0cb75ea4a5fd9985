#include "status/Portrait.h"
#include "drawing/TablePainter.h"
#include "state/Game.h"

namespace {
constexpr int FrameWidth = 35;
constexpr int PieceHeight = 33;
constexpr uint32_t FrameGapMs = 30;

struct Piece {
    int stripY, dx, dy;
};
constexpr Piece Pieces[] = {{0, 22, 37}, {33, 68, 36}, {66, 41, 86}};

int ShownHeight(const Game& g) { return g.gfx.surfTavi.Height / 2; }

// The drag began over the portrait: animating under the carried cards would paint over them.
bool DragOverPortrait(const Game& g) {
    const Table& t = g.table;
    return t.Dragging && t.PortraitX - CardWidth < t.DownX &&
           t.DownX < t.PortraitX + g.gfx.surfTavi.Width && t.DownY < t.PortraitY + ShownHeight(g);
}

// Serves events until the next frame is due; false when the animation must stop.
bool WaitForFrame(Game& g, uint32_t last) {
    for (;;) {
        if (g.Ended || !g.settings.ShowTavi || !g.table.InputArmed) return false;
        const uint32_t waited = g.host.system->TickCount() - last;
        if (!DragOverPortrait(g) && waited >= FrameGapMs) return true;
        g.host.system->WaitEvents(static_cast<int>(waited < FrameGapMs ? FrameGapMs - waited : FrameGapMs));
    }
}

void ShowFrame(Game& g, int f) {
    const Table& t = g.table;
    for (const Piece& p : Pieces)
        Blit(g.gfx.surfTable, t.PortraitX + p.dx, t.PortraitY + p.dy, FrameWidth, PieceHeight,
             g.gfx.surfTaviAni, FrameWidth * f, p.stripY, Rop::Copy);
    CopyTableToWindow(g, t.PortraitX, t.PortraitY, g.gfx.surfTavi.Width, ShownHeight(g));
}
} // namespace

void tmrTaviBlink_Timer(Game& g) {
    if (!g.table.InputArmed || !g.settings.ShowTavi || g.BlinkRunning) return;
    if (DragOverPortrait(g)) return;
    const int n = g.gfx.surfTaviAni.Width / FrameWidth;
    g.BlinkRunning = true;
    uint32_t last = g.host.system->TickCount();
    for (int step = 0; step < 2 * n; ++step) {
        const int f = step < n ? step : 2 * n - 1 - step; // forwards, then back
        if (!WaitForFrame(g, last)) break;
        ShowFrame(g, f);
        last = g.host.system->TickCount();
    }
    g.BlinkRunning = false;
}
