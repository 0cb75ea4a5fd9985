#pragma once
#include "host/Host.h"
#include <memory>

// The audio device if there is one; otherwise a silent player, so the game never waits on sound.
std::unique_ptr<AudioService> OpenAudioDevice();
