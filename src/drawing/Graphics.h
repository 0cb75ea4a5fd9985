#pragma once
#include "state/Surface.h"
#include <cstdint>

struct Game;

// What the table shows when there is no background picture to tile.
constexpr uint32_t PlainTableColour = 0x00106A30;
// Design bands are this tall in the front and back files.
constexpr int DesignBandHeight = 104;
// Counts are kept in 8 bits: at most this many designs per file, and fewer numbered files.
constexpr int MaxDesigns = 255;
constexpr int MaxNumberedFiles = 254;

void LoadSurface(Game& g, Surface& s);
Surface NewSurface(Game& g, int width, int height);
void TileBackground(Game& g);
