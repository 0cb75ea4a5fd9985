#pragma once
#include <cstdint>

struct Game;
struct Surface;

void ShowTable(Game& g);
void RedrawTable(Game& g);
void DrawTableau(Game& g, Surface& dc);
void DrawTableauPile(Game& g, uint8_t index, Surface& dc);
void DrawGoals(Game& g, Surface& dc);
void DrawGoal(Game& g, uint8_t index, Surface& dc);
void DrawStockAndWaste(Game& g, Surface& dc);
// Copy a rectangle of src to the same-sized rectangle of the window and show it.
void BlitToWindow(Game& g, int x, int y, int w, int h, const Surface& src, int sx, int sy);
// Copy a rectangle of surfTable to the same place on the window.
void CopyTableToWindow(Game& g, int x, int y, int w, int h);
