#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Entry points shared by the fuzzers and by the test that replays their corpus. Each returns ""
// or the check that broke (the fuzz driver aborts on it); sanitizers catch the rest.

// First byte picks the picture file; the rest are its bytes. Loads the whole game with that
// file replaced, deals and paints a full table, and plays a few moves.
std::string FuzzBitmap(const uint8_t* data, size_t size);
// Any bytes as a sound file: checked, then played, looped and stopped on the real device.
std::string FuzzSound(const uint8_t* data, size_t size);
// Lines of text as the stored values of the settings keys, in order.
std::string FuzzSettings(const uint8_t* data, size_t size);
