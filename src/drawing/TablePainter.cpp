#include "drawing/TablePainter.h"
#include "state/Game.h"

namespace {
constexpr int StatusPanel1Width = 100;

// The still portrait: the lower half of its file is the mask, the upper half the picture.
void DrawPortrait(Game& g, Surface& dc) {
    const Surface& tavi = g.gfx.surfTavi;
    const int w = tavi.Width, h = tavi.Height / 2;
    const int x = g.table.PortraitX, y = g.table.PortraitY;
    Blit(dc, x, y, w, h, tavi, 0, h, Rop::And);
    Blit(dc, x, y, w, h, tavi, 0, 0, Rop::Xor);
}
} // namespace

void BlitToWindow(Game& g, int x, int y, int w, int h, const Surface& src, int sx, int sy) {
    Blit(g.gfx.surfWindow, x, y, w, h, src, sx, sy, Rop::Copy);
    g.host.window->Invalidate(x, y, w, h);
}

void CopyTableToWindow(Game& g, int x, int y, int w, int h) {
    BlitToWindow(g, x, y, w, h, g.gfx.surfTable, x, y);
}

void ShowTable(Game& g) {
    CopyTableToWindow(g, 0, 0, g.table.TableWidth, g.table.TableHeight);
}

void RedrawTable(Game& g) {
    Surface& table = g.gfx.surfTable;
    Blit(table, 0, 0, table.Width, table.Height, g.gfx.surfBackground, 0, 0, Rop::Copy);
    if (g.settings.ShowTavi) DrawPortrait(g, table);
    DrawTableau(g, table);
    DrawGoals(g, table);
    DrawStockAndWaste(g, table);
    WindowService& w = *g.host.window;
    w.SetPanelWidth(1, StatusPanel1Width);
    w.SetPanelWidth(2, g.table.TableWidth - w.PanelWidth(1));
    ShowTable(g);
}
