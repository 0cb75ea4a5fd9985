#include "sound/WavCheck.h"
#include <cstring>

namespace {
// Real files have a handful of chunks before their samples; a file of millions of tiny ones
// would make every play walk them all.
constexpr int MaxChunksBeforeData = 1024;

uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// The format chunk's own fields; an extensible format names its real encoding further on.
std::optional<WavLayout> ReadFormat(const uint8_t* fmt, uint64_t size) {
    uint16_t tag = Le16(fmt);
    if (tag == 0xFFFE) {
        if (size < 40) return std::nullopt;
        tag = Le16(fmt + 24);
    }
    WavLayout f;
    f.channels = Le16(fmt + 2), f.rate = Le32(fmt + 4), f.bits = Le16(fmt + 14);
    const uint16_t b = f.bits;
    if (tag == 1 && (b == 8 || b == 16 || b == 24 || b == 32))
        f.encoding = WavEncoding::Pcm;
    else if (tag == 3 && b == 32)
        f.encoding = WavEncoding::Float;
    else if ((tag == 6 || tag == 7) && b == 8)
        f.encoding = tag == 6 ? WavEncoding::ALaw : WavEncoding::MuLaw;
    else
        return std::nullopt;
    if (f.channels < 1 || f.channels > 8 || f.rate < 4000 || f.rate > 192000) return std::nullopt;
    return f;
}

int16_t FromALaw(uint8_t a) {
    a ^= 0x55;
    const int exponent = (a >> 4) & 7;
    int level = (a & 0x0F) << 4 | 8;
    if (exponent > 0) level = (level | 0x100) << (exponent - 1);
    return static_cast<int16_t>(a & 0x80 ? level : -level);
}

int16_t FromMuLaw(uint8_t u) {
    u = static_cast<uint8_t>(~u);
    const int level = ((u & 0x0F) << 3 | 0x84) << ((u >> 4) & 7);
    return static_cast<int16_t>(u & 0x80 ? 0x84 - level : level - 0x84);
}
} // namespace

std::optional<WavLayout> PlayableWav(std::span<const uint8_t> bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::optional<WavLayout> format;
    uint64_t at = 12;
    for (int chunks = 0; at + 8 <= bytes.size() && chunks < MaxChunksBeforeData; ++chunks) {
        const uint8_t* chunk = bytes.data() + at;
        const uint64_t left = bytes.size() - at - 8;
        const uint64_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > left) return std::nullopt;
            format = ReadFormat(chunk + 8, size);
            if (!format) return std::nullopt;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) return std::nullopt;
            format->dataAt = at + 8;
            const uint64_t there = size < left ? size : left; // a cut-off file plays what it has
            format->dataBytes = there - there % format->FrameBytes();
            return format;
        }
        if (size > left) return std::nullopt;
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

size_t WidenSamples(const WavLayout& layout, std::span<const uint8_t> in, uint8_t* out) {
    size_t n = 0;
    if (layout.encoding == WavEncoding::Pcm && layout.bits == 24) {
        for (size_t i = 0; i + 3 <= in.size(); i += 3, n += 4)
            out[n] = 0, std::memcpy(out + n + 1, &in[i], 3); // little-endian, in the top bits
    } else if (layout.encoding == WavEncoding::ALaw || layout.encoding == WavEncoding::MuLaw) {
        for (const uint8_t b : in) {
            const int16_t s = layout.encoding == WavEncoding::ALaw ? FromALaw(b) : FromMuLaw(b);
            std::memcpy(out + n, &s, 2), n += 2;
        }
    }
    return n;
}
