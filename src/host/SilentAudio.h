#pragma once
#include "host/Host.h"

// What plays when there is no audio device: nothing, and nothing waits.
class SilentAudio : public AudioService {
public:
    void PlayAsync(const SoundImage&) override {}
    void PlaySync(const SoundImage&) override {}
    void PlayLoop(const SoundImage&) override {}
    void Stop() override {}
};
