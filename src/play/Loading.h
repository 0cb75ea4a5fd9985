#pragma once
#include "host/SoundImage.h"
#include <cstdint>
#include <string>
#include <vector>

struct Game;

// The pictures, the menus' design lists, the checked settings, the background and the win
// sounds: the loading steps of start-up that come before the deal.
void LoadGraphics(Game& g);
// Reads the whole file into image; a missing file is fatal (message, ShutDown, end).
void LoadSoundFile(Game& g, const std::string& path, SoundImage& image);
void LoadMoveSounds(Game& g);
