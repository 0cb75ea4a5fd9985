#pragma once
#include <cstdint>
#include <string>

struct Game;
// Fuzz entry points, replayed on the kept corpus too: each returns "" or the check that broke,
// and sets `taken` when the game used the input rather than refusing it or falling back.
std::string FuzzBitmap(const uint8_t* data, size_t size, bool* taken = nullptr); // 1st byte: file
std::string FuzzSound(const uint8_t* data, size_t size, bool* taken = nullptr);
std::string FuzzSettings(const uint8_t* data, size_t size, bool* taken = nullptr); // a line a key
void PlayALittle(Game& g); // deals, picks the second table, turns the stock, drags a card
