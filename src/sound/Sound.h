#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Game;

// Reads the whole file into image; a missing file is fatal (message, ShutDown, end).
void LoadSoundFile(Game& g, const std::string& path, std::vector<uint8_t>& image);
void LoadMoveSounds(Game& g);
void PlayMoveSound(Game& g, const std::vector<uint8_t>& image);
// AppFolder + "Snd<index + 1>.wav"
std::string SoundFile(const Game& g, int index);
