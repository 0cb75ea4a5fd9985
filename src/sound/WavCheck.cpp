#include "sound/WavCheck.h"
#include <cstring>

namespace {
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

struct Format {
    uint16_t tag, channels, bits;
    uint32_t rate;
};

bool Sensible(const Format& f) {
    const bool knownTag = f.tag == 1 || f.tag == 3 || f.tag == 6 || f.tag == 7 || f.tag == 0xFFFE;
    const bool knownBits = f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32;
    return knownTag && knownBits && f.channels >= 1 && f.channels <= 8 && f.rate >= 4000 && f.rate <= 192000;
}
} // namespace

std::optional<std::vector<uint8_t>> PlayableWav(std::span<const uint8_t> bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::vector<uint8_t> wav(bytes.begin(), bytes.end());
    std::optional<Format> format;
    size_t at = 12;
    while (at + 8 <= wav.size()) {
        const uint8_t* chunk = wav.data() + at;
        const uint64_t left = wav.size() - at - 8;
        uint64_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > left) return std::nullopt;
            format = Format{Le16(chunk + 8), Le16(chunk + 10), Le16(chunk + 22), Le32(chunk + 12)};
            if (!Sensible(*format)) return std::nullopt;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) return std::nullopt;
            if (size > left) {
                size = left; // a cut-off file plays what it has
                Put32(wav.data() + at + 4, static_cast<uint32_t>(size));
            }
            wav.resize(at + 8 + size);
            Put32(wav.data() + 4, static_cast<uint32_t>(wav.size() - 8));
            return wav;
        }
        if (size > left) return std::nullopt;
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}
