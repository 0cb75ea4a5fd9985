#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// How a WAV file's samples are stored, as far as the player understands it.
enum class WavEncoding { Pcm, Float, ALaw, MuLaw };

struct WavLayout {
    WavEncoding encoding = WavEncoding::Pcm;
    uint16_t channels = 0;
    uint16_t bits = 0; // per sample as stored
    uint32_t rate = 0;
    uint64_t dataAt = 0;    // first byte of the samples in the file
    uint64_t dataBytes = 0; // whole frames only, never past the file's end
    uint64_t FrameBytes() const { return uint64_t(channels) * bits / 8; }
};

// Where the samples of a RIFF/WAVE file lie and what they are: a sensible format and a data
// chunk cut to the bytes that are there. Nothing when the bytes are not such a file. Only the
// headers are read, so a sound of any length is looked at in the same few steps; a header that
// claims gigabytes, or a rate of one sample a second, never gets near the audio library.
std::optional<WavLayout> PlayableWav(std::span<const uint8_t> bytes);

// Widens samples the audio library cannot take as they are: 24-bit to 32-bit, A-law and
// mu-law to 16-bit. Writes to `out` (at most twice the input's size) and returns the bytes
// written; other encodings are not touched and give 0.
size_t WidenSamples(const WavLayout& layout, std::span<const uint8_t> in, uint8_t* out);
