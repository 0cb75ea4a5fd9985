#include "sound/AudioDevice.h"
#include "host/SilentAudio.h"
#include "sound/WavCheck.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <array>
#include <future>
#include <memory>

namespace {
// One channel per use, so a move sound never cuts the win loop and vice versa.
constexpr int MoveChannel = 0;
constexpr int WinChannel = 1;
constexpr int LoopChannel = 2;

struct ChunkDeleter {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
};
using Chunk = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

class SdlAudio : public AudioService {
public:
    SdlAudio() { Mix_AllocateChannels(3); }
    ~SdlAudio() override {
        Mix_HaltChannel(-1);
        for (auto& c : chunks) c.reset();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    void PlayAsync(std::span<const uint8_t> wav) override { Play(MoveChannel, wav, 0); }
    void PlayLoop(std::span<const uint8_t> wav) override { Play(LoopChannel, wav, -1); }
    void PlaySync(std::span<const uint8_t> wav) override {
        const Mix_Chunk* chunk = Play(WinChannel, wav, 0);
        if (chunk == nullptr) return;
        // Wait no longer than the sound lasts (plus a margin), whatever the device does.
        int freq = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&freq, &format, &channels);
        const Uint32 bytesPerSecond = static_cast<Uint32>(freq * channels * (SDL_AUDIO_BITSIZE(format) / 8));
        const Uint32 lasts = bytesPerSecond ? static_cast<Uint32>(chunk->alen * 1000ull / bytesPerSecond) : 0;
        const Uint32 limit = SDL_GetTicks() + 500 + lasts;
        while (Mix_Playing(WinChannel) && SDL_GetTicks() < limit) SDL_Delay(5);
    }
    void Stop() override { Mix_HaltChannel(-1); }

private:
    // Decodes the image and starts it; a file that is not audio plays nothing.
    Mix_Chunk* Play(int channel, std::span<const uint8_t> wav, int loops) {
        Mix_HaltChannel(channel);
        chunks[channel].reset();
        const std::optional<std::vector<uint8_t>> safe = PlayableWav(wav);
        if (!safe) return nullptr;
        SDL_RWops* rw = SDL_RWFromConstMem(safe->data(), static_cast<int>(safe->size()));
        if (rw == nullptr) return nullptr;
        chunks[channel].reset(Mix_LoadWAV_RW(rw, 1));
        if (!chunks[channel]) return nullptr;
        if (Mix_PlayChannel(channel, chunks[channel].get(), loops) < 0) return nullptr;
        return chunks[channel].get();
    }
    std::array<Chunk, 3> chunks;
};
} // namespace

namespace {
std::unique_ptr<AudioService> OpenNow() {
    // SDL would catch SIGINT and SIGTERM for an event queue nobody reads, and the game
    // could then no longer be ended by its session or a shutdown.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return std::make_unique<SilentAudio>();
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return std::make_unique<SilentAudio>();
    }
    return std::make_unique<SdlAudio>();
}

// Opening the device takes tens of milliseconds of both cores' time; it happens in the
// background once the window is up, and a sound wanted before that waits for it.
class DeferredAudio : public AudioService {
public:
    void Prepare() override {
        if (!device && !pending.valid()) pending = std::async(std::launch::async, OpenNow);
    }
    void PlayAsync(std::span<const uint8_t> wav) override { Device().PlayAsync(wav); }
    void PlaySync(std::span<const uint8_t> wav) override { Device().PlaySync(wav); }
    void PlayLoop(std::span<const uint8_t> wav) override { Device().PlayLoop(wav); }
    void Stop() override { Device().Stop(); }

private:
    AudioService& Device() {
        if (!device) device = pending.valid() ? pending.get() : OpenNow();
        return *device;
    }
    std::future<std::unique_ptr<AudioService>> pending;
    std::unique_ptr<AudioService> device;
};
} // namespace

std::unique_ptr<AudioService> OpenAudioDevice() { return std::make_unique<DeferredAudio>(); }
