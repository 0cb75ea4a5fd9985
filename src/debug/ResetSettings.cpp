#include "debug/DebugMode.h"
#include "drawing/Graphics.h"
#include "drawing/TablePainter.h"
#include "settings/Settings.h"
#include "state/Game.h"

void mnuDebugResetsettings_Click(Game& g) {
    g.settings.FrontDesign = 0;
    g.settings.BackDesign = 0;
    g.settings.Background = 0;
    Surface& bg = g.gfx.surfBgFile;
    bg.FileName = BackgroundFile(g, 0);
    FreeSurface(bg);
    LoadSurface(g, bg);
    TileBackground(g);
    RedrawTable(g);
}
