#include "AppFixture.h"

TEST_F(AppFixture, TypedPhraseShowsTheDebugMenuAndWinGameCelebratesUntilAKey) {
    Start();
    window().activateWindow();
    QTest::keyClicks(table(), "xstart admin view");
    EXPECT_TRUE(action(MenuItem::TopDebug)->isVisible());

    // A key pressed while the trail runs ends it; the question follows and No ends the game.
    QTimer::singleShot(100, table(), [this] { QTest::keyClick(table(), Qt::Key_Escape); });
    host.answers = {MsgResult::No};
    action(MenuItem::DebugWin)->trigger();
    ASSERT_GE(host.played.size(), 3u);
    EXPECT_EQ(host.played[0].how, "sync");
    EXPECT_EQ(host.played[1].how, "loop");
    EXPECT_EQ(host.played[2].how, "stop");
    EXPECT_EQ(host.shown.back().text, "是否开始新游戏？");
    EXPECT_EQ(system.endCalls, 1);
    EXPECT_EQ(host.Get("ann", "Version"), "Debug");
}

TEST_F(AppFixture, ChoicesMadeInTheMenusSurviveARestart) {
    Start();
    action(MenuItem::OptionsRulesDrawThree)->trigger();
    action(MenuItem::OptionsTavi)->trigger();
    action(MenuItem::OptionsSoundsPlaysounds)->trigger();
    const auto& backs = window().ListActions(MenuList::LayoutBackBack);
    ASSERT_GE(backs.size(), 2u);
    backs[1]->trigger();
    action(MenuItem::FileExit)->trigger();

    app.reset();
    Start();
    EXPECT_EQ(g().settings.DrawRule, 3);
    EXPECT_FALSE(g().settings.ShowTavi);
    EXPECT_FALSE(g().settings.PlaySounds);
    EXPECT_EQ(g().settings.BackDesign, 1);
    Open(MenuItem::TopOptions);
    EXPECT_TRUE(action(MenuItem::OptionsRulesDrawThree)->isChecked());
    EXPECT_FALSE(action(MenuItem::OptionsRulesDrawOne)->isChecked());
    EXPECT_TRUE(window().ListActions(MenuList::LayoutBackBack)[1]->isChecked());
}
