#pragma once
#include "host/Host.h"
#include <span>

// Decodes bitmap files with Qt's image readers, refusing pictures too large to be ours.
class QtPictureDecoder : public PictureService {
public:
    std::optional<Picture> Decode(const std::string& path) override;
    // The same, from bytes in memory.
    std::optional<Picture> DecodeBytes(std::span<const uint8_t> bytes);

    // Side and area limits: generous for any card art, far below what hurts memory.
    static constexpr int MaxSide = 16384;
    static constexpr long long MaxPixels = 16LL * 1024 * 1024;
    static constexpr long long MaxFileBytes = 64LL * 1024 * 1024;
};
