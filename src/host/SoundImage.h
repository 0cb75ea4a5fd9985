#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

// A sound file's bytes, read once and never changed afterwards. The player shares them rather
// than copying, so starting even a long sound costs the window nothing, and a sound replaced
// while it plays stays alive until the player lets go of it.
class SoundImage {
  public:
    SoundImage() = default;
    SoundImage(std::vector<uint8_t> bytes)
        : shared(std::make_shared<const std::vector<uint8_t>>(std::move(bytes))) {}
    SoundImage(std::initializer_list<uint8_t> bytes) : SoundImage(std::vector<uint8_t>(bytes)) {}

    std::span<const uint8_t> Bytes() const {
        return shared ? std::span<const uint8_t>(*shared) : std::span<const uint8_t>();
    }
    operator std::span<const uint8_t>() const { return Bytes(); }
    size_t size() const { return Bytes().size(); }
    bool empty() const { return Bytes().empty(); }

  private:
    std::shared_ptr<const std::vector<uint8_t>> shared;
};
