#include "host/SilentAudio.h"
#include "sound/AudioDevice.h"
#include "sound/WavCheck.h"
#include <SDL.h>
#include <algorithm>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>
#include <vector>
#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {
// The audio library is loaded only when the device is opened, in the background after the
// first frame, so it costs start-up nothing. Only SDL's own audio is used: one sound at a time
// needs no mixer, and a mixer library would bring some forty codec libraries into memory.
struct SdlApi {
#define ZORVO_SDL_FUNCTIONS(X)                                                                     \
    X(SDL_SetHint)                                                                                 \
    X(SDL_InitSubSystem)                                                                           \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_RWFromConstMem)                                                                          \
    X(SDL_GetTicks) X(SDL_Delay) X(SDL_OpenAudioDevice) X(SDL_CloseAudioDevice)                    \
        X(SDL_PauseAudioDevice) X(SDL_LockAudioDevice) X(SDL_UnlockAudioDevice) X(SDL_LoadWAV_RW)  \
            X(SDL_FreeWAV) X(SDL_BuildAudioCVT) X(SDL_ConvertAudio)
#define ZORVO_SDL_POINTER(name) decltype(&::name) name = nullptr;
    ZORVO_SDL_FUNCTIONS(ZORVO_SDL_POINTER)

    bool Load() {
#ifdef _WIN32
#define ZORVO_SDL_BIND(name) name = &::name;
        ZORVO_SDL_FUNCTIONS(ZORVO_SDL_BIND)
        return true;
#else
        void* lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (lib == nullptr) return false;
        bool all = true;
#define ZORVO_SDL_FIND(name)                                                                       \
    name = reinterpret_cast<decltype(&::name)>(dlsym(lib, #name));                                 \
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

// The one sound that plays, in the device's own format. A new sound takes the place of the
// one playing, as the game expects of its sounds.
struct Voice {
    std::vector<uint8_t> samples;
    size_t at = 0;
    bool loop = false;
    bool playing = false;
};

// Runs on the audio thread, with the device locked against the game's changes.
void Fill(void* user, Uint8* stream, int length) {
    auto& v = *static_cast<Voice*>(user);
    const auto want = static_cast<size_t>(length);
    std::memset(stream, 0, want); // signed 16-bit silence
    size_t done = 0;
    while (done < want && v.playing) {
        const size_t n = std::min(want - done, v.samples.size() - v.at);
        std::memcpy(stream + done, v.samples.data() + v.at, n);
        done += n;
        v.at += n;
        if (v.at < v.samples.size()) continue;
        v.at = 0;
        v.playing = v.loop;
    }
}

class SdlAudio : public AudioService {
  public:
    SdlAudio(SDL_AudioDeviceID id, const SDL_AudioSpec& format) : device(id), played(format) {}
    ~SdlAudio() override {
        sdl.SDL_CloseAudioDevice(device);
        sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    // The voice lives at a fixed address for the audio thread's callback.
    static std::unique_ptr<AudioService> Open() {
        auto voice = std::make_unique<Voice>();
        SDL_AudioSpec want{}, have{};
        want.freq = 44100;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = Fill;
        want.userdata = voice.get();
        const SDL_AudioDeviceID id = sdl.SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (id == 0) return nullptr;
        auto audio = std::make_unique<SdlAudio>(id, have);
        audio->voice = std::move(voice);
        sdl.SDL_PauseAudioDevice(id, 0);
        return audio;
    }

    void PlayAsync(std::span<const uint8_t> wav) override { Play(wav, false); }
    void PlayLoop(std::span<const uint8_t> wav) override { Play(wav, true); }
    void PlaySync(std::span<const uint8_t> wav) override {
        const size_t bytes = Play(wav, false);
        if (bytes == 0) return;
        // Wait no longer than the sound lasts (plus a margin), whatever the device does.
        const size_t perSecond = static_cast<size_t>(played.freq) * played.channels *
                                 (SDL_AUDIO_BITSIZE(played.format) / 8);
        const auto lasts = static_cast<Uint32>(perSecond ? bytes * 1000 / perSecond : 0);
        const Uint32 limit = sdl.SDL_GetTicks() + 500 + lasts;
        while (Playing() && sdl.SDL_GetTicks() < limit)
            sdl.SDL_Delay(5);
    }
    void Stop() override { Swap({}, false); }

  private:
    // Decodes the image, converts it to the device's format and starts it in place of what
    // plays; a file that is not audio silences the device. Returns the bytes that will play.
    size_t Play(std::span<const uint8_t> wav, bool loop) {
        std::vector<uint8_t> samples = Convert(wav);
        const size_t bytes = samples.size();
        Swap(std::move(samples), loop);
        return bytes;
    }

    std::vector<uint8_t> Convert(std::span<const uint8_t> wav) const {
        const std::optional<std::vector<uint8_t>> safe = PlayableWav(wav);
        if (!safe) return {};
        SDL_RWops* rw = sdl.SDL_RWFromConstMem(safe->data(), static_cast<int>(safe->size()));
        SDL_AudioSpec from{};
        Uint8* data = nullptr;
        Uint32 length = 0;
        if (rw == nullptr || sdl.SDL_LoadWAV_RW(rw, 1, &from, &data, &length) == nullptr) return {};
        SDL_AudioCVT cvt{};
        std::vector<uint8_t> out;
        if (sdl.SDL_BuildAudioCVT(&cvt, from.format, from.channels, from.freq, played.format,
                                  played.channels, played.freq) >= 0) {
            out.resize(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult));
            std::copy_n(data, length, out.begin());
            cvt.buf = out.data();
            cvt.len = static_cast<int>(length);
            if (cvt.needed && sdl.SDL_ConvertAudio(&cvt) != 0) cvt.len_cvt = 0;
            out.resize(cvt.needed ? static_cast<size_t>(cvt.len_cvt) : length);
        }
        sdl.SDL_FreeWAV(data);
        return out;
    }

    // Puts new samples in the voice's place; the old ones are freed outside the lock.
    void Swap(std::vector<uint8_t> samples, bool loop) {
        sdl.SDL_LockAudioDevice(device);
        voice->samples.swap(samples);
        voice->at = 0;
        voice->loop = loop;
        voice->playing = !voice->samples.empty();
        sdl.SDL_UnlockAudioDevice(device);
    }

    bool Playing() {
        sdl.SDL_LockAudioDevice(device);
        const bool playing = voice->playing;
        sdl.SDL_UnlockAudioDevice(device);
        return playing;
    }

    SDL_AudioDeviceID device;
    SDL_AudioSpec played; // the format the device plays
    std::unique_ptr<Voice> voice;
};
} // namespace

namespace {
std::unique_ptr<AudioService> OpenNow() {
    if (!sdl.Load()) return std::make_unique<SilentAudio>();
    // SDL would catch SIGINT and SIGTERM for an event queue nobody reads, and the game
    // could then no longer be ended by its session or a shutdown.
    sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return std::make_unique<SilentAudio>();
    if (auto audio = SdlAudio::Open()) return audio;
    sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return std::make_unique<SilentAudio>();
}

// Opening the device takes tens of milliseconds of both cores' time; it happens in the
// background once the window is up, and a sound wanted before that waits for it.
class DeferredAudio : public AudioService {
  public:
    void Prepare() override {
        const std::lock_guard lock(opening);
        if (!device && !pending.valid()) pending = std::async(std::launch::async, OpenNow);
    }
    void PlayAsync(std::span<const uint8_t> wav) override { Device().PlayAsync(wav); }
    void PlaySync(std::span<const uint8_t> wav) override { Device().PlaySync(wav); }
    void PlayLoop(std::span<const uint8_t> wav) override { Device().PlayLoop(wav); }
    void Stop() override { Device().Stop(); }

  private:
    // The blocking sound may be waited on from another thread while a stop comes from this one.
    AudioService& Device() {
        const std::lock_guard lock(opening);
        if (!device) device = pending.valid() ? pending.get() : OpenNow();
        return *device;
    }
    std::mutex opening;
    std::future<std::unique_ptr<AudioService>> pending;
    std::unique_ptr<AudioService> device;
};
} // namespace

std::unique_ptr<AudioService> OpenAudioDevice() {
    return std::make_unique<DeferredAudio>();
}
