#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct Game;
// Fuzz entry points, also run by the corpus replay: each returns "" or the check that broke,
// and sets `taken` when the game used the input rather than refusing it or falling back.
// First byte picks the picture file, the rest are its bytes; the table must match a repaint.
std::string FuzzBitmap(const uint8_t* data, size_t size, bool* taken = nullptr);
// Any bytes as a sound: what reaches the device is checked, then played, looped and stopped.
std::string FuzzSound(const uint8_t* data, size_t size, bool* taken = nullptr);
// Lines of text as the stored values of the keys: loaded, validated, saved and read back.
std::string FuzzSettings(const uint8_t* data, size_t size, bool* taken = nullptr);

// Deals, picks the second table if there is one, turns the stock, carries a card, drops it.
void PlayALittle(Game& g);
// Runs `play` in a forked child (as user nobody if `nobody`) whose files may grow to `maxBytes`
// (0: any size), as on a nearly full disk. True if it returned true and no check failed in it.
bool InChild(const std::function<bool()>& play, unsigned long maxBytes = 0, bool nobody = false);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path); // "" when it cannot be read
