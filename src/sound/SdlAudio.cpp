#include "host/SilentAudio.h"
#include "sound/AudioDevice.h"
#include "sound/WavCheck.h"
#include <SDL.h>
#include <algorithm>
#include <array>
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
    X(SDL_GetTicks64)                                                                              \
    X(SDL_Delay)                                                                                   \
    X(SDL_OpenAudioDevice)                                                                         \
    X(SDL_CloseAudioDevice) X(SDL_PauseAudioDevice) X(SDL_LockAudioDevice)                         \
        X(SDL_UnlockAudioDevice) X(SDL_NewAudioStream) X(SDL_AudioStreamPut) X(SDL_AudioStreamGet) \
            X(SDL_AudioStreamFlush) X(SDL_FreeAudioStream)
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

// The one sound that plays. Its samples are converted to the device's format on the audio
// thread, a piece at a time as the device asks, so a long sound holds no more converted audio
// than a few pieces, and starting it costs the window only a look at its headers.
struct Voice {
    SoundImage image; // shared with the game, never copied
    WavLayout layout;
    std::unique_ptr<SDL_AudioStream, void (*)(SDL_AudioStream*)> stream{nullptr, FreeStream};
    uint64_t at = 0; // samples fed so far, in bytes from the start of the data
    bool loop = false;
    bool playing = false;
    bool flushed = false;
    static void FreeStream(SDL_AudioStream* s) { sdl.SDL_FreeAudioStream(s); }
};

// Source bytes handed to the converter at a time; what comes out of them stays small even
// from 4,000 Hz mono bytes to 44,100 Hz stereo.
constexpr uint64_t PieceBytes = 4096;

// Gives the converter the next piece of the sound, from its start again when it loops, and
// once at the end whatever the converter still holds. False when nothing more will come.
bool Feed(Voice& v) {
    const WavLayout& w = v.layout;
    if (v.at >= w.dataBytes && v.loop) v.at = 0;
    if (v.at >= w.dataBytes) {
        if (v.flushed) return false;
        v.flushed = true;
        return sdl.SDL_AudioStreamFlush(v.stream.get()) == 0;
    }
    const uint64_t frame = w.FrameBytes();
    const uint64_t n =
        std::min(w.dataBytes - v.at, std::max(frame, PieceBytes - PieceBytes % frame));
    const auto piece = v.image.Bytes().subspan(w.dataAt + v.at, n);
    v.at += n;
    std::array<uint8_t, 2 * PieceBytes> wide;
    const size_t widened = WidenSamples(w, piece, wide.data());
    const int put = widened ? sdl.SDL_AudioStreamPut(v.stream.get(), wide.data(), int(widened))
                            : sdl.SDL_AudioStreamPut(v.stream.get(), piece.data(), int(n));
    return put == 0;
}

// Runs on the audio thread, with the device locked against the game's changes.
void Fill(void* user, Uint8* out, int length) {
    auto& v = *static_cast<Voice*>(user);
    std::memset(out, 0, static_cast<size_t>(length)); // signed 16-bit silence
    int done = 0;
    while (done < length && v.playing) {
        const int got = sdl.SDL_AudioStreamGet(v.stream.get(), out + done, length - done);
        done += std::max(got, 0);
        if (got < 0 || (done < length && !Feed(v))) v.playing = false;
    }
}

// The format the converter is given: what the file holds, or what WidenSamples makes of it.
SDL_AudioFormat SourceFormat(const WavLayout& w) {
    switch (w.encoding) {
    case WavEncoding::Float:
        return AUDIO_F32LSB;
    case WavEncoding::ALaw:
    case WavEncoding::MuLaw:
        return AUDIO_S16SYS;
    case WavEncoding::Pcm:
        break;
    }
    return w.bits == 8 ? AUDIO_U8 : w.bits == 16 ? AUDIO_S16LSB : AUDIO_S32LSB;
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

    void PlayAsync(const SoundImage& wav) override { Play(wav, false); }
    void PlayLoop(const SoundImage& wav) override { Play(wav, true); }
    void PlaySync(const SoundImage& wav) override {
        const uint64_t ms = Play(wav, false);
        if (ms == 0) return;
        // Wait no longer than the sound lasts (plus a margin), whatever the device does.
        const uint64_t limit = sdl.SDL_GetTicks64() + 500 + ms;
        while (Playing() && sdl.SDL_GetTicks64() < limit)
            sdl.SDL_Delay(5);
    }
    void Stop() override { Play({}, false); }

  private:
    // Starts the sound in place of what plays; a file that is not audio silences the device.
    // Returns how many milliseconds it lasts.
    uint64_t Play(const SoundImage& wav, bool loop) {
        Voice next;
        const std::optional<WavLayout> layout = PlayableWav(wav);
        if (layout && layout->dataBytes > 0) {
            next.stream.reset(sdl.SDL_NewAudioStream(SourceFormat(*layout), Uint8(layout->channels),
                                                     int(layout->rate), played.format,
                                                     played.channels, played.freq));
            next.image = wav, next.layout = *layout, next.loop = loop;
            next.playing = next.stream != nullptr;
        }
        // Rounded up, so that a sound shorter than a millisecond is still waited for.
        const WavLayout& w = next.layout;
        const uint64_t ms =
            next.playing ? (w.dataBytes / w.FrameBytes() * 1000 + w.rate - 1) / w.rate : 0;
        sdl.SDL_LockAudioDevice(device);
        std::swap(*voice, next);
        sdl.SDL_UnlockAudioDevice(device);
        return ms; // the sound that played is let go of here, outside the lock
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
    // SDL's own resampler, the same on every machine, whatever other libraries are installed.
    sdl.SDL_SetHint(SDL_HINT_AUDIO_RESAMPLING_MODE, "default");
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
    void PlayAsync(const SoundImage& wav) override { Device().PlayAsync(wav); }
    void PlaySync(const SoundImage& wav) override { Device().PlaySync(wav); }
    void PlayLoop(const SoundImage& wav) override { Device().PlayLoop(wav); }
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
