#include "TestHost.h"
#include "play/Commands.h"
#include "options/Options.h"
#include "settings/UiTexts.h"
#include <gtest/gtest.h>

namespace {
struct MenusTest : ::testing::Test {
    TestGame t;
    Game& g = t.g();
    void SetUp() override { SetDefaultTexts(g); }
};
} // namespace

TEST_F(MenusTest, ApplyTextsCaptionsTheBarAndLeavesListItemZero) {
    t.host.ListSetCaption(MenuList::LayoutFrontFront, 0, "图案 1");
    ApplyTexts(g);
    EXPECT_EQ(t.host.Get(MenuItem::TopFile).caption, "文件(&F)");
    EXPECT_EQ(t.host.Get(MenuItem::FileNewgame).caption, "新游戏(&G)");
    EXPECT_EQ(t.host.Get(MenuItem::FileUndo).caption, "撤销(&U)");
    EXPECT_EQ(t.host.Get(MenuItem::OptionsSounds).caption, "声效(&S)");
    EXPECT_EQ(t.host.Get(MenuItem::OptionsSoundsPlaysounds).caption, "启动声效");
    EXPECT_EQ(t.host.Get(MenuItem::OptionsTavi).caption, "显示头像");
    EXPECT_EQ(t.host.Get(MenuItem::HelpAbout).caption, "关于(&A)...");
    EXPECT_EQ(t.host.Get(MenuItem::OptionsRulesDraw).caption, "Draw..");
    EXPECT_EQ(t.host.Get(MenuItem::DebugWin).caption, ""); // the debug menu keeps its own
    EXPECT_EQ(t.host.caption, "Zorvo - Quenta软件");
    // The counts are still zero at start-up: item 0 keeps its layout caption.
    EXPECT_EQ(t.host.List(MenuList::LayoutFrontFront)[0].caption, "图案 1");
}

TEST_F(MenusTest, FileOpeningArmsInputAndFollowsUndo) {
    g.table.InputArmed = false;
    g.table.UndoAvailable = false;
    mnuTopFile_Click(g);
    EXPECT_TRUE(g.table.InputArmed);
    EXPECT_FALSE(t.host.Get(MenuItem::FileUndo).enabled);
    g.table.UndoAvailable = true;
    EXPECT_FALSE(t.host.Get(MenuItem::FileUndo).enabled); // only opening File changes it
    mnuTopFile_Click(g);
    EXPECT_TRUE(t.host.Get(MenuItem::FileUndo).enabled);
    g.table.InputArmed = false;
    mnuTopHelp_Click(g);
    EXPECT_TRUE(g.table.InputArmed);
}

TEST_F(MenusTest, OptionsOpeningChecksExactlyTheCurrentChoices) {
    g.gfx.FrontDesignCount = 3;
    g.gfx.BackDesignCount = 4;
    g.gfx.BackgroundCount = 3;
    g.gfx.SoundCount = 3;
    for (MenuList l : {MenuList::LayoutFrontFront, MenuList::LayoutBgBg, MenuList::SoundsDefsndSnd,
                       MenuList::SoundsGoalsndSnd})
        for (int i = 1; i < 3; ++i) t.host.ListAdd(l, "x");
    for (int i = 1; i < 4; ++i) t.host.ListAdd(MenuList::LayoutBackBack, "x");
    t.host.ListSetChecked(MenuList::SoundsDefsndSnd, 0, true); // a stale mark
    Settings& s = g.settings;
    s.FrontDesign = 1;
    s.BackDesign = 3;
    s.Background = 0;
    s.MoveSound = 2;
    s.GoalSound = 1;
    s.ShowTavi = false;
    s.DrawRule = 3;
    s.PlaySounds = true;
    s.LanguageCode = "DE";
    g.table.InputArmed = false;
    RefreshOptionsMenu(g);
    auto marks = [&](MenuList l) {
        std::string m;
        for (auto& item : t.host.List(l)) m += item.checked ? 'x' : '.';
        return m;
    };
    EXPECT_TRUE(g.table.InputArmed);
    EXPECT_EQ(marks(MenuList::LayoutFrontFront), ".x.");
    EXPECT_EQ(marks(MenuList::LayoutBackBack), "...x");
    EXPECT_EQ(marks(MenuList::LayoutBgBg), "x..");
    EXPECT_EQ(marks(MenuList::SoundsDefsndSnd), "..x");
    EXPECT_EQ(marks(MenuList::SoundsGoalsndSnd), ".x.");
    EXPECT_FALSE(t.host.Get(MenuItem::OptionsTavi).checked);
    EXPECT_FALSE(t.host.Get(MenuItem::OptionsRulesDrawOne).checked);
    EXPECT_TRUE(t.host.Get(MenuItem::OptionsRulesDrawThree).checked);
    EXPECT_TRUE(t.host.Get(MenuItem::OptionsSoundsPlaysounds).checked);
    EXPECT_TRUE(t.host.Get(MenuItem::OptionsLanguageGerman).checked);
    EXPECT_FALSE(t.host.Get(MenuItem::OptionsLanguageEnglish).checked);

    s.DrawRule = 1;
    RefreshOptionsMenu(g);
    EXPECT_TRUE(t.host.Get(MenuItem::OptionsRulesDrawOne).checked);
    EXPECT_FALSE(t.host.Get(MenuItem::OptionsRulesDrawThree).checked);
}

TEST_F(MenusTest, AboutBoxText) {
    mnuHelpAbout_Click(g);
    ASSERT_EQ(t.host.shown.size(), 1u);
    EXPECT_EQ(t.host.shown[0].text, "ZorvoV2.7(Quenta软件)");
    EXPECT_EQ(t.host.shown[0].title, "关于");
    EXPECT_EQ(t.host.shown[0].style, MsgStyle::Information);
}
