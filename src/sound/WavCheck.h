#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A copy of a WAV image that the audio library may be given safely: a RIFF/WAVE file with a
// sensible format and a data chunk no longer than the bytes that are there. Nothing when the
// bytes are not such a file. Without this, a header that claims gigabytes of samples, or a
// rate of one sample a second to be converted up, makes the library allocate far beyond the
// file's own size.
std::optional<std::vector<uint8_t>> PlayableWav(std::span<const uint8_t> bytes);
