#pragma once
#include <cstddef>
#include <cstdint>

// Entry points shared by the fuzzers and by the test that replays their corpus. Each one
// aborts on a broken invariant; sanitizers catch the rest.

// First byte picks the picture file; the rest are its bytes. Loads the whole game with that
// file replaced, deals and paints a full table, and plays a few moves.
void FuzzBitmap(const uint8_t* data, size_t size);
// Any bytes as a sound file: loaded, then played, looped and stopped on the real device.
void FuzzSound(const uint8_t* data, size_t size);
// Lines of text as the stored values of the settings keys, in order.
void FuzzSettings(const uint8_t* data, size_t size);
