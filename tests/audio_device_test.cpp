// The real audio adapter on SDL's file-writing and dummy drivers: what would reach the speakers.
#include "sound/AudioDevice.h"
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>
#include <gtest/gtest.h>

#ifndef GAME_DATA_DIR
#define GAME_DATA_DIR "data"
#endif

namespace {
std::vector<uint8_t> ReadData(const char* name) {
    QFile f(QString(GAME_DATA_DIR) + "/" + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}

// Root-mean-square level of the 16-bit samples written by the disk driver, from byte `from`
// on, `length` bytes of them (all when negative).
double Rms(const QString& path, qint64 from = 0, qint64 length = -1) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || !f.seek(from)) return 0;
    const QByteArray b = length < 0 ? f.readAll() : f.read(length);
    const auto* s = reinterpret_cast<const int16_t*>(b.constData());
    const size_t n = static_cast<size_t>(b.size()) / 2;
    double sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / double(n)) : 0;
}

// A loud tone as a WAV image: 16-bit mono samples at 22050 Hz.
std::vector<uint8_t> Tone(double seconds) {
    const uint32_t rate = 22050, samples = static_cast<uint32_t>(seconds * rate), data = 2 * samples;
    std::vector<uint8_t> w;
    auto text = [&](const char* s) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(s[i]));
    };
    auto le = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    text("RIFF"), le(36 + data, 4), text("WAVE"), text("fmt "), le(16, 4), le(1, 2), le(1, 2);
    le(rate, 4), le(2 * rate, 4), le(2, 2), le(16, 2), text("data"), le(data, 4);
    for (uint32_t i = 0; i < samples; ++i)
        le(static_cast<uint16_t>(static_cast<int16_t>(12000 * std::sin(i * 0.1))), 2);
    return w;
}

struct AudioDeviceTest : ::testing::Test {
    QTemporaryDir dir;
    QString out;
    void UseDisk() {
        out = dir.filePath("out.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", out.toLocal8Bit().constData(), 1);
    }
    void TearDown() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};
} // namespace

double Seconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(AudioDeviceTest, MoveSoundIsHeardAndTheWinSoundWaitsForItsEnd) {
    UseDisk();
    {
        auto audio = OpenAudioDevice();
        audio->PlayAsync(ReadData("Snd1.wav"));
        const auto win = ReadData("Win.wav");
        EXPECT_GT(Seconds([&] { audio->PlaySync(win); }), 1.5); // the tune lasts about two seconds
    }
    EXPECT_GT(Rms(out), 300.0) << "nothing audible was written";
}

// One sound at a time: a move sound or the win sound cuts off a long move sound still playing,
// and once the short one has ended nothing more is heard.
TEST_F(AudioDeviceTest, EachSoundCutsOffTheOneStillPlaying) {
    for (const bool win : {false, true}) {
        UseDisk();
        auto audio = OpenAudioDevice();
        audio->PlayAsync(Tone(6.0));
        win ? audio->PlaySync(Tone(0.2)) : audio->PlayAsync(Tone(0.2));
        const auto size = [&] { return QFileInfo(out).size(); };
        const qint64 from = size(), second = 44100 * 2 * 2; // the device's 16-bit stereo
        for (int i = 0; i < 2000 && size() < from + second; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        audio.reset();
        EXPECT_GT(Rms(out, 0, from + second / 2), 300.0) << win << ": the sounds were heard";
        EXPECT_LT(Rms(out, from + second / 2, second / 2), 30.0) << win << ": the long one went on";
        QFile::remove(out);
    }
}

TEST_F(AudioDeviceTest, BadBytesAreSilentAndNeverHang) {
    UseDisk();
    auto audio = OpenAudioDevice();
    const std::vector<std::vector<uint8_t>> bad = {
        {}, {'R', 'I', 'F', 'F'}, std::vector<uint8_t>(1000, 0xAB), ReadData("Snd1.wav")};
    for (size_t i = 0; i < bad.size(); ++i) {
        std::vector<uint8_t> bytes = bad[i];
        if (i == 3) bytes.resize(bytes.size() / 3); // a truncated sound still plays what it has
        audio->PlayAsync(bytes);
        audio->PlayLoop(bytes);
        audio->PlaySync(bytes);
        audio->Stop();
    }
}

// Without a device every call returns: the game falls back to silence rather than hang.
TEST_F(AudioDeviceTest, WithoutADeviceEverythingIsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    auto audio = OpenAudioDevice();
    audio->PlaySync(ReadData("Win.wav"));
    audio->PlayLoop(ReadData("Win2.wav"));
    audio->Stop();
}
