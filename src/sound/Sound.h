#pragma once
#include "host/SoundImage.h"
#include <cstdint>
#include <string>
#include <vector>

struct Game;

void PlayMoveSound(Game& g, const SoundImage& image);
// AppFolder + "Snd<index + 1>.wav"
std::string SoundFile(const Game& g, int index);
