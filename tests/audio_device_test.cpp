// What may reach the audio library, and what SDL's disk driver says would reach the speakers.
#include "sound/AudioDevice.h"
#include "sound/WavCheck.h"
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <numbers>
#include <thread>
#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
void Put(Bytes& w, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) w[at + i] = uint8_t(v >> 8 * i);
}
Bytes Read(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}
Bytes Sound(const char* name) { return Read(std::string(GAME_DATA_DIR "/") + name); }
// A plain 44-byte header and `n` bytes of a faint steady level: heard, but not as a sound is.
Bytes Wav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t claim, size_t n) {
    Bytes w = Sound("Snd1.wav");
    w.resize(44 + n, 0x01);
    Put(w, 4, uint32_t(36 + n), 4), Put(w, 20, tag, 2), Put(w, 22, channels, 2);
    Put(w, 24, rate, 4), Put(w, 28, rate * channels * bits / 8, 4);
    Put(w, 32, channels * bits / 8, 2), Put(w, 34, bits, 2), Put(w, 40, claim, 4);
    return w;
}
// 20 MB of 8-bit mono at 4,000 Hz, 87 minutes of a 100 Hz cosine 100 steps high: the kind of
// file that once made the player convert a gigabyte at every play.
constexpr double ToneLevel = 100.0 / 128 * 32767; // on the device's 16-bit scale
SoundImage Tone() {
    const size_t n = 20u << 20;
    using std::numbers::pi;
    Bytes w = Wav(1, 1, 4000, 8, uint32_t(n), n);
    for (size_t i = 0; i < n; ++i) // 40 samples a period
        w[44 + i] = uint8_t(std::lround(128 + 100 * std::cos(double(i % 40) / 20 * pi)));
    return w;
}
// How far the device's stereo output from `onset` (a byte offset) strays from the cosine at
// 44,100 Hz, as a share of its level. SDL's resampler is not ours: it may place the start a
// few samples off and ring a little at the step, so the best start nearby is taken and the
// first 64 samples are not judged; what is left must follow the curve to within a few 8-bit steps.
double ToneError(const Bytes& out, size_t onset) {
    const double rate = 44100, frames = 22050, at = double(onset / 4);
    double best = 1e9;
    for (double start = at - 20; start <= at + 20; start += 0.25) {
        double sum = 0;
        for (double k = at + 64; k < at + frames; ++k) {
            const double want = ToneLevel * std::cos(std::numbers::pi * 200 * (k - start) / rate);
            int16_t lr[2];
            std::memcpy(lr, &out[size_t(k) * 4], 4);
            sum += (lr[0] - want) * (lr[0] - want) + (lr[1] - want) * (lr[1] - want);
        }
        best = std::min(best, std::sqrt(sum / (2 * frames)) / ToneLevel);
    }
    return best;
}
// The first stereo frame from `from` on that is clearly sound, or the end.
size_t Onset(const Bytes& out, size_t from) {
    for (size_t at = from & ~size_t(3); at + 4 <= out.size(); at += 4) {
        int16_t s;
        std::memcpy(&s, &out[at], 2);
        if (std::abs(s) > ToneLevel / 2) return at;
    }
    return out.size();
}
// Resident memory as the kernel counts it: its growth since this was made, at its peak when
// the peak can be reset, else the most seen at each Sample.
struct Resident {
    static long Kb(const std::string& key) {
        std::ifstream status("/proc/self/status");
        for (std::string word; status >> word;)
            if (word == key && status >> word) return std::stol(word);
        return 0;
    }
    static bool ResetPeak() {
        return bool(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
    }
    bool reset = ResetPeak();
    long base = Kb("VmRSS:"), most = base;
    void Sample() { most = std::max(most, Kb("VmRSS:")); }
    long GrowthMb() { return ((reset ? Kb("VmHWM:") : most) - base) / 1024; }
};
// Root-mean-square level of the 16-bit samples in bytes [from, to) of what the device wrote.
double Rms(const Bytes& out, size_t from, size_t to) {
    double sum = 0, n = 0;
    for (int16_t s = 0; from + 1 < std::min(to, out.size()); from += 2, ++n)
        std::memcpy(&s, &out[from], 2), sum += double(s) * s;
    return n > 0 ? std::sqrt(sum / n) : 0;
}
} // namespace

// Ordinary files play whole, claims are cut to the whole frames there; -1: refused (balloons).
TEST(WavCheck, OrdinaryFilesPassClaimsAreCutOddFormatsAreRefused) {
    const std::string junk("RIFF\1\2\3\4WAVEdata", 16), text = "this is not a sound";
    const struct { Bytes wav; int64_t data; } rows[] = {
        {Wav(1, 1, 22050, 16, 100, 100), 100}, {Wav(1, 1, 11025, 8, 7, 7), 7},
        {Wav(1, 8, 4000, 24, 48, 48), 48}, {Wav(3, 2, 192000, 32, 64, 64), 64},
        {Wav(1, 2, 44100, 16, 0x7FFFFFF0u, 64), 64}, {Wav(1, 1, 22050, 16, 100, 99), 98},
        {Wav(1, 1, 3999, 16, 10, 10), -1}, {Wav(1, 1, 192001, 16, 10, 10), -1},
        {Wav(1, 0, 22050, 16, 10, 10), -1}, {Wav(1, 9, 22050, 16, 10, 10), -1},
        {Wav(1, 1, 22050, 13, 10, 10), -1}, {Wav(0x55, 1, 22050, 16, 10, 10), -1}, // packed
        {Bytes(junk.begin(), junk.end()), -1}, {{}, -1}, {Bytes(text.begin(), text.end()), -1}};
    for (const auto& r : rows) {
        const auto safe = PlayableWav(r.wav);
        ASSERT_EQ(safe.has_value(), r.data >= 0) << r.data;
        EXPECT_TRUE(!safe || (safe->dataAt == 44 && int64_t(safe->dataBytes) == r.data)) << r.data;
    }
    // What the library cannot take is widened, checked at the ends and middle of each scale.
    using enum WavEncoding;
    const struct { WavEncoding e; uint16_t bits; Bytes in; std::vector<int32_t> out; } wide[] = {
        {ALaw, 8, {0xD5, 0x55, 0xAA, 0x2A}, {8, -8, 32256, -32256}},
        {MuLaw, 8, {0xFF, 0x7F, 0x80, 0x00}, {0, 0, 32124, -32124}},
        {Pcm, 24, {0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF}, {0x12345600, -256}}, {Pcm, 16, {1, 2}, {}}};
    for (const auto& w : wide) {
        uint8_t out[16] = {};
        const size_t n = WidenSamples({w.e, 1, w.bits, 8000}, w.in, out);
        std::vector<int32_t> got;
        for (size_t at = 0; at < n; at += w.bits == 24 ? 4 : 2) {
            int16_t s16;
            int32_t s32;
            std::memcpy(&s16, out + at, 2), std::memcpy(&s32, out + at, 4);
            got.push_back(w.bits == 24 ? s32 : s16);
        }
        EXPECT_EQ(got, w.out) << int(w.e);
    }
}

// Each sound is heard and cuts off a long one still playing; the game waits for the win tune's
// end (two seconds). Bytes that are no sound are silent, and nothing hangs, even with no device.
// The 20 MB tone, as the goal sound and as the win tune, starts as it should, and while it plays
// the program holds no more than 16 MB beyond the file itself.
TEST(AudioDevice, EachSoundIsHeardAloneAndBadBytesAreSilent) {
    QTemporaryDir dir;
    const std::string out = dir.filePath("out.raw").toStdString();
    const auto written = [&] { return fs::exists(out) ? fs::file_size(out) : 0; };
    Bytes cut = Sound("Snd1.wav");
    cut.resize(cut.size() / 3);
    const SoundImage tone = Tone();
    const struct { const char* driver; SoundImage wav; bool sync, overLong, heard, big; } rows[] = {
        {"disk", Sound("Snd1.wav"), false, true, true, false},
        {"disk", Sound("Win.wav"), true, true, true, false},
        {"disk", cut, true, false, true, false}, {"disk", {}, true, false, false, false},
        {"disk", {'R', 'I', 'F', 'F'}, true, false, false, false},
        {"disk", Bytes(999, 0xAB), true, false, false, false},
        {"no-such-driver", Sound("Win.wav"), true, false, false, false},
        {"disk", tone, false, false, true, true}, {"disk", tone, true, false, true, true}};
    for (const auto& r : rows) {
        setenv("SDL_AUDIODRIVER", r.driver, 1), setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
        auto audio = OpenAudioDevice();
        if (r.overLong) audio->PlayAsync(Wav(1, 1, 22050, 16, 441000, 441000)); // ten seconds
        const uintmax_t second = 44100 * 4; // 16-bit stereo
        const auto start = std::chrono::steady_clock::now();
        if (r.big) {
            Resident memory;
            const auto play = [&] { r.sync ? audio->PlaySync(r.wav) : audio->PlayAsync(r.wav); };
            audio->Stop(); // the device opens on this thread, as the game's opens on its own
            auto tune = std::async(std::launch::async, play); // the tune lasts 87 minutes
            Bytes played;
            while (std::chrono::steady_clock::now() - start < 60s && // only a fault waits this out
                   Onset(played, 0) + second / 2 > played.size())
                std::this_thread::sleep_for(5ms), memory.Sample(), played = Read(out);
            EXPECT_LT(ToneError(played, Onset(played, 0)), 0.02) << r.sync;
            EXPECT_LE(memory.GrowthMb(), 16) << r.sync;
            audio->Stop(), tune.get();
        } else {
            r.sync ? audio->PlaySync(r.wav) : audio->PlayAsync(r.wav);
            const auto least = r.sync && r.overLong ? 1500ms : 0ms;
            EXPECT_GE(std::chrono::steady_clock::now() - start, least);
        }
        if (r.sync) audio->PlayLoop(r.wav), audio->Stop(); // a loop ends when told
        const uintmax_t from = written();
        while (fs::exists(out) && written() < from + second) std::this_thread::sleep_for(5ms);
        audio.reset();
        const Bytes played = Read(out);
        EXPECT_EQ(Rms(played, 0, from + second / 2) > 300, r.heard) << r.wav.size();
        EXPECT_LT(Rms(played, from + second / 2, from + second), 30.0) << r.wav.size();
        fs::remove(out);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
