#include "drawing/TablePainter.h"
#include "game/Game.h"

void BlitToWindow(Game& g, int x, int y, int w, int h, const Surface& src, int sx, int sy) {
    Blit(g.gfx.surfWindow, x, y, w, h, src, sx, sy, Rop::Copy);
    g.host.window->Invalidate(x, y, w, h);
}
void CopyTableToWindow(Game& g, int x, int y, int w, int h) {
    BlitToWindow(g, x, y, w, h, g.gfx.surfTable, x, y);
}
void ShowTable(Game& g) { CopyTableToWindow(g, 0, 0, g.table.TableWidth, g.table.TableHeight); }
void RedrawTable(Game& g) { ShowTable(g); }
void DrawTableau(Game&, Surface&) {}
void DrawTableauPile(Game&, uint8_t, Surface&) {}
void DrawGoals(Game&, Surface&) {}
void DrawGoal(Game&, uint8_t, Surface&) {}
void DrawStockAndWaste(Game&, Surface&) {}
