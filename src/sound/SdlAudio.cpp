#include "sound/AudioDevice.h"
#include "host/SilentAudio.h"
#include "sound/WavCheck.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <future>
#include <memory>
#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {
// The audio library and its forty-odd codec libraries are loaded only when the device is
// opened, in the background after the first frame, so they cost start-up nothing.
struct SdlApi {
#define ZORVO_SDL_FUNCTIONS(X)                                                                     \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_RWFromConstMem) X(SDL_GetTicks) \
    X(SDL_Delay) X(Mix_OpenAudio) X(Mix_CloseAudio) X(Mix_AllocateChannels) X(Mix_HaltChannel)   \
    X(Mix_LoadWAV_RW) X(Mix_FreeChunk) X(Mix_PlayChannelTimed) X(Mix_Playing) X(Mix_QuerySpec)
#define ZORVO_SDL_POINTER(name) decltype(&::name) name = nullptr;
    ZORVO_SDL_FUNCTIONS(ZORVO_SDL_POINTER)

    bool Load() {
#ifdef _WIN32
#define ZORVO_SDL_BIND(name) name = &::name;
        ZORVO_SDL_FUNCTIONS(ZORVO_SDL_BIND)
        return true;
#else
        void* lib = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (lib == nullptr) return false;
        bool all = true;
#define ZORVO_SDL_FIND(name)                                                                       \
    name = reinterpret_cast<decltype(&::name)>(dlsym(lib, #name));                                  \
    all = all && name != nullptr;
        ZORVO_SDL_FUNCTIONS(ZORVO_SDL_FIND)
        return all; // the library stays loaded for the rest of the run
#endif
    }
#undef ZORVO_SDL_FUNCTIONS
#undef ZORVO_SDL_POINTER
#undef ZORVO_SDL_BIND
#undef ZORVO_SDL_FIND
};
SdlApi sdl;

// One sound at a time, as the game was made for: each new sound cuts off the one playing.
constexpr int Channel = 0;

struct ChunkDeleter {
    void operator()(Mix_Chunk* c) const { sdl.Mix_FreeChunk(c); }
};
using Chunk = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

class SdlAudio : public AudioService {
public:
    SdlAudio() { sdl.Mix_AllocateChannels(1); }
    ~SdlAudio() override {
        sdl.Mix_HaltChannel(-1);
        chunk.reset();
        sdl.Mix_CloseAudio();
        sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    void PlayAsync(std::span<const uint8_t> wav) override { Play(wav, 0); }
    void PlayLoop(std::span<const uint8_t> wav) override { Play(wav, -1); }
    void PlaySync(std::span<const uint8_t> wav) override {
        const Mix_Chunk* playing = Play(wav, 0);
        if (playing == nullptr) return;
        // Wait no longer than the sound lasts (plus a margin), whatever the device does.
        int freq = 0, channels = 0;
        Uint16 format = 0;
        sdl.Mix_QuerySpec(&freq, &format, &channels);
        const Uint32 bytesPerSecond = static_cast<Uint32>(freq * channels * (SDL_AUDIO_BITSIZE(format) / 8));
        const Uint32 lasts = bytesPerSecond ? static_cast<Uint32>(playing->alen * 1000ull / bytesPerSecond) : 0;
        const Uint32 limit = sdl.SDL_GetTicks() + 500 + lasts;
        while (sdl.Mix_Playing(Channel) && sdl.SDL_GetTicks() < limit) sdl.SDL_Delay(5);
    }
    void Stop() override { sdl.Mix_HaltChannel(-1); }

private:
    // Decodes the image and starts it; a file that is not audio plays nothing.
    Mix_Chunk* Play(std::span<const uint8_t> wav, int loops) {
        sdl.Mix_HaltChannel(Channel);
        chunk.reset();
        const std::optional<std::vector<uint8_t>> safe = PlayableWav(wav);
        if (!safe) return nullptr;
        SDL_RWops* rw = sdl.SDL_RWFromConstMem(safe->data(), static_cast<int>(safe->size()));
        if (rw == nullptr) return nullptr;
        chunk.reset(sdl.Mix_LoadWAV_RW(rw, 1));
        if (!chunk) return nullptr;
        if (sdl.Mix_PlayChannelTimed(Channel, chunk.get(), loops, -1) < 0) return nullptr;
        return chunk.get();
    }
    Chunk chunk;
};
} // namespace

namespace {
std::unique_ptr<AudioService> OpenNow() {
    if (!sdl.Load()) return std::make_unique<SilentAudio>();
    // SDL would catch SIGINT and SIGTERM for an event queue nobody reads, and the game
    // could then no longer be ended by its session or a shutdown.
    sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return std::make_unique<SilentAudio>();
    if (sdl.Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
