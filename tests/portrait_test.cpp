#include "TestHost.h"
#include "options/Options.h"
#include "status/Portrait.h"
#include <gtest/gtest.h>

namespace {
constexpr int Frames = 4;
constexpr uint32_t Felt = 0x00123456;
uint32_t FrameColour(int f) { return 0x00100000u * static_cast<uint32_t>(f + 1); }

struct PortraitTest : ::testing::Test {
    TestGame t;
    Game& g = t.g();
    void SetUp() override {
        g.gfx.surfTable = NewBlankSurface(640, 480);
        g.gfx.surfWindow = NewBlankSurface(640, 480);
        g.gfx.surfBackground = NewBlankSurface(640, 480);
        FillSurface(g.gfx.surfBackground, Felt);
        g.gfx.surfTavi = NewBlankSurface(120, 280);
        g.gfx.surfTaviAni = NewBlankSurface(35 * Frames, 99);
        for (int y = 0; y < 99; ++y)
            for (int x = 0; x < 35 * Frames; ++x) g.gfx.surfTaviAni.At(x, y) = FrameColour(x / 35);
        t.host.tickStep = 10;
    }
    // Which frame each copy to the window showed, read from the left eye's place.
    std::vector<int> Shown() const { return shown; }
    std::vector<int> shown;
    void Record() {
        t.host.onDoEvents = [this] {
            const uint32_t px = g.gfx.surfTable.At(195 + 22, 15 + 37);
            if (!t.host.invalidated.empty()) {
                t.host.invalidated.clear();
                shown.push_back(static_cast<int>(px / 0x00100000u) - 1);
            }
        };
    }
};
} // namespace

TEST_F(PortraitTest, PlaysForwardsThenBackwardsAndEndsOnFrameZero) {
    Record();
    tmrTaviBlink_Timer(g);
    t.host.onDoEvents(); // the last frame is recorded by one more look
    EXPECT_EQ(Shown(), (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0}));
    EXPECT_EQ(g.gfx.surfTable.At(195 + 68, 15 + 36), FrameColour(0));
    EXPECT_EQ(g.gfx.surfTable.At(195 + 41, 15 + 86), FrameColour(0));
    EXPECT_EQ(g.gfx.surfTable.At(195 + 41 + 35, 15 + 86), 0u); // pieces stay 35 wide
    EXPECT_FALSE(g.BlinkRunning);
}

TEST_F(PortraitTest, NothingWhenOffOrDuringTheCelebration) {
    g.settings.ShowTavi = false;
    tmrTaviBlink_Timer(g);
    g.settings.ShowTavi = true;
    g.table.InputArmed = false;
    tmrTaviBlink_Timer(g);
    EXPECT_TRUE(t.host.invalidated.empty());
    g.gfx.surfTaviAni = NewBlankSurface(34, 99); // narrower than a frame
    g.table.InputArmed = true;
    tmrTaviBlink_Timer(g);
    EXPECT_TRUE(t.host.invalidated.empty());
}

TEST_F(PortraitTest, ADragBegunOverThePortraitHoldsTheAnimation) {
    g.table.Dragging = true;
    g.table.HandCount = 1;
    g.table.DownX = 150; // 195 - 64 < 150 < 195 + 120
    g.table.DownY = 20;
    tmrTaviBlink_Timer(g);
    EXPECT_TRUE(t.host.invalidated.empty());

    // Begun elsewhere and brought over mid-way: the frames wait until the drag ends.
    g.table.Dragging = false;
    int looks = 0;
    t.host.onDoEvents = [&] {
        ++looks;
        if (looks == 3) g.table.Dragging = true;
        if (looks == 10) g.table.Dragging = false;
    };
    tmrTaviBlink_Timer(g);
    EXPECT_GE(looks, 10);
    EXPECT_EQ(g.gfx.surfTable.At(195 + 22, 15 + 37), FrameColour(0));
}

// Switched off while it blinks: not one frame more, the timer off, the portrait gone.
TEST_F(PortraitTest, SwitchingOffMidwayStopsBeforeTheNextFrame) {
    int looks = 0;
    size_t shownAtSwitch = 0;
    t.host.onDoEvents = [&] {
        if (++looks != 6) return;
        mnuOptionsTavi_Click(g);
        shownAtSwitch = t.host.invalidated.size();
    };
    t.host.SetTimerEnabled(TimerId::TaviBlink, true);
    tmrTaviBlink_Timer(g);
    EXPECT_FALSE(g.settings.ShowTavi);
    EXPECT_FALSE(t.host.TimerEnabled(TimerId::TaviBlink));
    EXPECT_GT(shownAtSwitch, 0u);
    EXPECT_EQ(t.host.invalidated.size(), shownAtSwitch) << "a frame was shown after the switch";
    EXPECT_EQ(g.gfx.surfTable.At(195 + 22, 15 + 37), Felt) << "the portrait is still on the table";
    EXPECT_EQ(g.gfx.surfWindow.At(195 + 22, 15 + 37), Felt);
    EXPECT_FALSE(g.BlinkRunning);
}
