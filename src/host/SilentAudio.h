#pragma once
#include "host/Host.h"

// What plays when there is no audio device: nothing, and nothing waits.
class SilentAudio : public AudioService {
public:
    void PlayAsync(std::span<const uint8_t>) override {}
    void PlaySync(std::span<const uint8_t>) override {}
    void PlayLoop(std::span<const uint8_t>) override {}
    void Stop() override {}
};
