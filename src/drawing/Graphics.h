#pragma once
#include "drawing/Surface.h"
#include <string>

struct Game;

void LoadSurface(Game& g, Surface& s);
Surface NewSurface(Game& g, int width, int height);
void LoadGraphics(Game& g);
void TileBackground(Game& g);
// AppFolder + "BG/BG<index + 1>.BMP"
std::string BackgroundFile(const Game& g, int index);
