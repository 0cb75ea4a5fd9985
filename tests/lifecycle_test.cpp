#include "TestHost.h"
#include "Invariants.h"
#include "play/Commands.h"
#include "play/Lifecycle.h"
#include "settings/UiTexts.h"
#include <gtest/gtest.h>

#ifndef GAME_DATA_DIR
#define GAME_DATA_DIR "data"
#endif

TEST(ScreenCheck, AsksOnlyBelow800By600) {
    struct Case {
        int w, h;
        bool asks;
    };
    for (Case c : {Case{1024, 768, false}, Case{800, 600, false}, Case{800, 599, true},
                   Case{799, 600, true}, Case{0, 0, true}}) {
        TestGame t;
        t.host.screenW = c.w;
        t.host.screenH = c.h;
        EXPECT_TRUE(ScreenCheck(t.g()));
        EXPECT_EQ(t.host.shown.size(), c.asks ? 1u : 0u) << c.w << "x" << c.h;
    }
}

TEST(ScreenCheck, QuestionTextAndNoEndsBeforeAnythingIsSaved) {
    TestGame t;
    t.host.screenW = 640;
    t.host.screenH = 480;
    t.host.answers = {MsgResult::No};
    EXPECT_FALSE(ScreenCheck(t.g()));
    ASSERT_EQ(t.host.shown.size(), 1u);
    EXPECT_EQ(t.host.shown[0].text, "该游戏适合在分辨率 800x600 或者更高分辨率下进行。\n"
                                    "在玩游戏之前，你想改变当前屏幕分辨率吗？\n\n"
                                    "是否忽略该该错误继续游戏?");
    EXPECT_EQ(t.host.shown[0].title, "错误报告：");
    EXPECT_EQ(t.host.shown[0].style, MsgStyle::YesNoExclamation);
    EXPECT_TRUE(t.host.store.empty());
}

TEST(AppFolder, EndsInExactlyOneSeparator) {
    EXPECT_EQ(MakeAppFolder("/usr/lib/zorvo"), "/usr/lib/zorvo/");
    EXPECT_EQ(MakeAppFolder("/usr/lib/zorvo/"), "/usr/lib/zorvo/");
    EXPECT_EQ(MakeAppFolder("/usr/lib/zorvo//"), "/usr/lib/zorvo/");
    EXPECT_EQ(MakeAppFolder("/"), "/");
    EXPECT_EQ(MakeAppFolder("C:\\"), "C:\\");
    EXPECT_EQ(MakeAppFolder("C:\\Games\\Cards"), "C:\\Games\\Cards/");
}

TEST(UserSection, TrimmedNameOrTheDefault) {
    EXPECT_EQ(MakeUserSection("ann"), "ann");
    EXPECT_EQ(MakeUserSection("  ann "), "ann");
    EXPECT_EQ(MakeUserSection(""), "$Default$");
    EXPECT_EQ(MakeUserSection("   "), "$Default$");
    EXPECT_EQ(MakeUserSection("ann lee"), "ann lee");
}

namespace {
struct ShutDownTest : ::testing::Test {
    TestGame t;
    Game& g = t.g();
    void SetUp() override {
        g.table.UserSection = "ann";
        SetDefaultTexts(g);
        g.gfx.FrontDesignCount = 3;
        g.gfx.BackDesignCount = 4;
        g.gfx.BackgroundCount = 2;
        for (int i = 0; i < 2; ++i) t.host.ListAdd(MenuList::LayoutFrontFront, "f");
        for (int i = 0; i < 3; ++i) t.host.ListAdd(MenuList::LayoutBackBack, "b");
        t.host.ListAdd(MenuList::LayoutBgBg, "g");
        for (int i = 0; i < 2; ++i) t.host.ListAdd(MenuList::SoundsDefsndSnd, "s");
        g.gfx.surfTable = NewBlankSurface(10, 10);
        g.gfx.surfBgFile = NewBlankSurface(10, 10);
    }
};
} // namespace

TEST_F(ShutDownTest, ReleasesShrinksMenusCaptionsAndSaves) {
    g.settings.DrawRule = 3;
    ShutDown(g);
    EXPECT_TRUE(g.gfx.surfTable.Empty());
    EXPECT_TRUE(g.gfx.surfBgFile.Empty());
    EXPECT_EQ(t.host.ListCount(MenuList::LayoutFrontFront), 1);
    EXPECT_EQ(t.host.ListCount(MenuList::LayoutBackBack), 1);
    EXPECT_EQ(t.host.ListCount(MenuList::LayoutBgBg), 1);
    EXPECT_EQ(t.host.ListCount(MenuList::SoundsDefsndSnd), 3); // sound lists stay
    EXPECT_EQ(t.host.caption, "Zorvo - Quenta软件");
    EXPECT_EQ(t.host.Get("ann", "Draw"), "3");
    EXPECT_TRUE(g.Ended);
    const int saves = t.host.flushes;
    mnuFileExit_Click(g); // an end after the end does not shut down again
    EXPECT_EQ(t.host.flushes, saves);
}

// Start-up from the data folder: the game is ready to play, both timers run (the portrait's
// handler looks at the setting itself), and the table is whole.
TEST(StartUp, LoadsEverythingAndStartsTheTimers) {
    for (const char* showTavi : {"1", "0"}) {
        TestGame t;
        t.g().table.AppFolder = std::string(GAME_DATA_DIR) + "/";
        t.g().table.UserSection = "ann";
        t.host.Set("ann", "ShowTavi", showTavi);
        LoadGame(t.g());
        ASSERT_FALSE(t.g().Ended);
        EXPECT_TRUE(t.host.shown.empty());
        EXPECT_TRUE(t.host.TimerEnabled(TimerId::TaviBlink)) << showTavi;
        EXPECT_TRUE(t.host.TimerEnabled(TimerId::Effect));
        EXPECT_FALSE(t.g().table.UndoAvailable);
        EXPECT_EQ(BrokenInvariant(t.g()), "");
        EXPECT_FALSE(t.g().sounds.MoveSoundData.empty());
        EXPECT_FALSE(t.g().sounds.WinSound2.empty());
    }
}
