#include "sound/WavCheck.h"
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {
std::vector<uint8_t> Wav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t declared,
                         size_t actual) {
    std::vector<uint8_t> w;
    auto put = [&](const void* p, size_t n) {
        for (size_t i = 0; i < n; ++i) w.push_back(static_cast<const uint8_t*>(p)[i]);
    };
    auto u32 = [&](uint32_t v) { put(&v, 4); };
    auto u16 = [&](uint16_t v) { put(&v, 2); };
    put("RIFF", 4);
    u32(static_cast<uint32_t>(36 + actual));
    put("WAVEfmt ", 8);
    u32(16);
    u16(tag);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(static_cast<uint16_t>(channels * bits / 8));
    u16(bits);
    put("data", 4);
    u32(declared);
    for (size_t i = 0; i < actual; ++i) w.push_back(0x40);
    return w;
}
uint32_t DataSize(const std::vector<uint8_t>& w) {
    uint32_t v;
    std::memcpy(&v, w.data() + 40, 4);
    return v;
}
} // namespace

TEST(WavCheck, OrdinaryFilesPassUnchanged) {
    const auto w = Wav(1, 1, 22050, 16, 100, 100);
    EXPECT_EQ(PlayableWav(w), w);
}

TEST(WavCheck, ClaimsBeyondTheFileAreCutToWhatIsThere) {
    const auto w = Wav(1, 2, 44100, 16, 0x7FFFFFF0u, 64);
    const auto safe = PlayableWav(w);
    ASSERT_TRUE(safe);
    EXPECT_EQ(DataSize(*safe), 64u);
    EXPECT_EQ(safe->size(), w.size());
}

TEST(WavCheck, FormatsThatWouldBalloonOrMeanNothingAreRefused) {
    EXPECT_FALSE(PlayableWav(Wav(1, 1, 1, 16, 10, 10)));      // one sample a second
    EXPECT_FALSE(PlayableWav(Wav(1, 0, 22050, 16, 10, 10)));  // no channels
    EXPECT_FALSE(PlayableWav(Wav(1, 200, 22050, 16, 10, 10)));
    EXPECT_FALSE(PlayableWav(Wav(1, 1, 22050, 13, 10, 10)));
    EXPECT_FALSE(PlayableWav(Wav(0x55, 1, 22050, 16, 10, 10))); // compressed kinds we do not ship
    const std::vector<uint8_t> junk = {'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'A', 'V', 'E', 'd', 'a', 't', 'a'};
    EXPECT_FALSE(PlayableWav(junk));
    EXPECT_FALSE(PlayableWav({}));
    const std::string text = "this is not a sound";
    EXPECT_FALSE(PlayableWav(std::vector<uint8_t>(text.begin(), text.end())));
}
