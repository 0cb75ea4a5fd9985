// What starting a sound costs the window, with the 20 MB 4 kHz file that once froze the game
// for seconds at every goal move; p999_ms and max_ms are the slowest starts seen (on a loaded
// machine the longest is the scheduler's, not the player's).
#include "cpu_model.h"
#include "sound/AudioDevice.h"
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {
SoundImage LongTone() {
    const uint32_t n = 20u << 20;
    std::vector<uint8_t> w(44 + n);
    const auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            w[at + i] = uint8_t(v >> 8 * i);
    };
    std::copy_n("RIFF....WAVEfmt ", 16, w.begin()), std::copy_n("data", 4, w.begin() + 36);
    put(4, 36 + n, 4), put(16, 16, 4), put(20, 1, 2), put(22, 1, 2), put(24, 4000, 4);
    put(28, 4000, 4), put(32, 1, 2), put(34, 8, 2), put(40, n, 4);
    for (uint32_t i = 0; i < n; ++i)
        w[44 + i] = uint8_t(128 + 100 * std::cos(i * 0.157));
    return w;
}

// Alternates the ways the game starts a sound: as a move sound, as the celebration's loop.
void BM_StartLongSound(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const SoundImage tone = LongTone();
    auto audio = OpenAudioDevice();
    audio->Stop(); // the device opens before the clock runs
    std::vector<double> took;
    took.reserve(state.max_iterations);
    bool loop = false;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        loop ? audio->PlayLoop(tone) : audio->PlayAsync(tone);
        const std::chrono::duration<double, std::milli> ms =
            std::chrono::steady_clock::now() - start;
        took.push_back(ms.count()), loop = !loop;
    }
    std::sort(took.begin(), took.end());
    state.counters["p999_ms"] = took[took.size() * 999 / 1000];
    state.counters["max_ms"] = took.back();
}
BENCHMARK(BM_StartLongSound)->Unit(benchmark::kMicrosecond)->Iterations(100000);
} // namespace
