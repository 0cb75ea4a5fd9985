#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Game;

void PlayMoveSound(Game& g, const std::vector<uint8_t>& image);
// AppFolder + "Snd<index + 1>.wav"
std::string SoundFile(const Game& g, int index);
