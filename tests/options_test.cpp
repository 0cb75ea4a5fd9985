#include "TestHost.h"
#include "options/Options.h"
#include "settings/UiTexts.h"
#include "play/Lifecycle.h"
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {
struct OptionsTest : ::testing::Test {
    QTemporaryDir dir;
    TestGame t;
    Game& g = t.g();
    void SetUp() override {
        SetDefaultTexts(g);
        g.table.AppFolder = dir.path().toStdString() + "/";
        g.table.UserSection = "ann";
        g.gfx.surfTable = NewBlankSurface(640, 480);
        g.gfx.surfBackground = NewBlankSurface(640, 480);
        g.gfx.surfWindow = NewBlankSurface(640, 480);
        for (int i = 1; i <= 2; ++i) {
            QFile f(dir.filePath(QString("Snd%1.wav").arg(i)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(i * 10, 'x'));
        }
    }
};
} // namespace

TEST_F(OptionsTest, DesignAndRuleChoicesChangeTheSettingAndRepaint) {
    const struct {
        std::function<void()> choose;
        std::function<bool()> holds;
    } cases[] = {
        {[&] { mnuOptionsLayoutFrontFront_Click(g, 2); }, [&] { return g.settings.FrontDesign == 2; }},
        {[&] { mnuOptionsLayoutBackBack_Click(g, 3); }, [&] { return g.settings.BackDesign == 3; }},
        {[&] { mnuOptionsRulesDrawThree_Click(g); }, [&] { return g.settings.DrawRule == 3; }},
        {[&] { mnuOptionsRulesDrawOne_Click(g); }, [&] { return g.settings.DrawRule == 1; }},
    };
    for (const auto& c : cases) {
        t.host.invalidated.clear();
        c.choose();
        EXPECT_TRUE(c.holds());
        ASSERT_FALSE(t.host.invalidated.empty());
        EXPECT_EQ(t.host.invalidated.back(), (std::array<int, 4>{0, 0, 640, 480}));
    }
    EXPECT_TRUE(t.host.store.empty()); // choices reach the store only at the end
}

TEST_F(OptionsTest, SoundChoiceLetsEventsRunFirstThenReadsTheFile) {
    int16_t seen = -1;
    t.host.onDoEvents = [&] { seen = g.settings.MoveSound; };
    mnuOptionsSoundsDefsndSnd_Click(g, 1);
    EXPECT_EQ(seen, 0); // pending events ran before the choice changed
    EXPECT_EQ(g.settings.MoveSound, 1);
    EXPECT_EQ(g.sounds.MoveSoundData.size(), 20u);
    mnuOptionsSoundsGoalsndSnd_Click(g, 0);
    EXPECT_EQ(g.sounds.GoalSoundData.size(), 10u);
    EXPECT_TRUE(t.host.played.empty()); // choosing plays nothing
}

TEST_F(OptionsTest, SoundFileGoneSinceStartUpEndsTheProgram) {
    mnuOptionsSoundsGoalsndSnd_Click(g, 4);
    EXPECT_TRUE(g.Ended);
    EXPECT_EQ(t.host.Get("ann", "GoalMove"), "4");
}

TEST_F(OptionsTest, ClosingWhileTheSoundChoiceWaitsDoesNothingMore) {
    t.host.onDoEvents = [&] { EndGame(g); };
    mnuOptionsSoundsDefsndSnd_Click(g, 1);
    EXPECT_EQ(g.settings.MoveSound, 0);
    EXPECT_EQ(t.host.endCalls, 1);
}

TEST_F(OptionsTest, SoundsToggleLeavesTheImagesAlone) {
    g.sounds.MoveSoundData = {1, 2};
    mnuOptionsSoundsPlaysounds_Click(g);
    EXPECT_FALSE(g.settings.PlaySounds);
    mnuOptionsSoundsPlaysounds_Click(g);
    EXPECT_TRUE(g.settings.PlaySounds);
    EXPECT_EQ(g.sounds.MoveSoundData, (std::vector<uint8_t>{1, 2}));
}

TEST_F(OptionsTest, PortraitSwitchStopsTheTimerBeforeRepaintAndStartsItAfter) {
    t.host.SetTimerEnabled(TimerId::TaviBlink, true);
    mnuOptionsTavi_Click(g);
    EXPECT_FALSE(g.settings.ShowTavi);
    EXPECT_FALSE(t.host.TimerEnabled(TimerId::TaviBlink));
    mnuOptionsTavi_Click(g);
    EXPECT_TRUE(g.settings.ShowTavi);
    EXPECT_TRUE(t.host.TimerEnabled(TimerId::TaviBlink));
}
