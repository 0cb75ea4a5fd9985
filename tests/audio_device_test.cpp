// The real audio adapter on SDL's file-writing and dummy drivers: what would reach the speakers.
#include "sound/AudioDevice.h"
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
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

// Root-mean-square level of the 16-bit samples written by the disk driver.
double Rms(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray b = f.readAll();
    const auto* s = reinterpret_cast<const int16_t*>(b.constData());
    const size_t n = static_cast<size_t>(b.size()) / 2;
    double sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / double(n)) : 0;
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
