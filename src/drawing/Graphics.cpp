#include "drawing/Graphics.h"
#include "game/Game.h"

// Placeholder bodies; the loader comes with the drawing work.
void LoadSurface(Game&, Surface&) {}
Surface NewSurface(Game&, int width, int height) { return NewBlankSurface(width, height); }
void LoadGraphics(Game& g) {
    g.gfx.surfTable = NewBlankSurface(g.table.TableWidth, g.table.TableHeight);
    g.gfx.surfBackground = NewBlankSurface(g.table.TableWidth, g.table.TableHeight);
    g.gfx.surfDrag = NewBlankSurface(128, 376);
}
void TileBackground(Game&) {}
std::string BackgroundFile(const Game& g, int index) {
    return g.table.AppFolder + "BG/BG" + std::to_string(index + 1) + ".BMP";
}
