#include "AppFixture.h"
#include "play/Win.h"
#include <condition_variable>
#include <mutex>

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

// A win tune that would play for a minute: a close asked for while it plays ends the program
// through the shutdown routine at once, and the tune is cut short.
TEST_F(AppFixture, ClosedWhileTheWinTunePlaysEndsThroughTheShutdown) {
    struct LongTune : AudioService {
        std::mutex m;
        std::condition_variable stop;
        bool stopped = false, cutShort = false;
        void PlayAsync(std::span<const uint8_t>) override {}
        void PlayLoop(std::span<const uint8_t>) override {}
        void PlaySync(std::span<const uint8_t>) override {
            std::unique_lock lock(m);
            cutShort = stop.wait_for(lock, std::chrono::seconds(60), [this] { return stopped; });
        }
        void Stop() override {
            const std::lock_guard lock(m);
            stopped = true;
            stop.notify_all();
        }
    } tune;
    audio = &tune;
    Start();
    g().settings.DrawRule = 3;
    QMetaObject::invokeMethod(&window(), &QWidget::close, Qt::QueuedConnection);
    mnuDebugWin_Click(g());
    EXPECT_TRUE(tune.cutShort);
    EXPECT_TRUE(g().Ended);
    EXPECT_EQ(system.endCalls, 1);
    EXPECT_EQ(host.Get("ann", "Draw"), "3");
    EXPECT_TRUE(host.shown.empty()) << "no win question after the end";
}

// The debug phrases see the keyboard's own codes: letters, digits and the space as they are,
// the other keys a code of their own that no phrase holds. A Shift typed inside a phrase breaks it.
TEST_F(AppFixture, KeysReachTheGameWithTheKeyboardsCodes) {
    const struct {
        int key, code;
    } keys[] = {{Qt::Key_A, 'A'}, {Qt::Key_Z, 'Z'},       {Qt::Key_0, '0'},     {Qt::Key_9, '9'},
                {Qt::Key_Space, 32}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
                {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
                {Qt::Key_Escape, 27}, {Qt::Key_F1, 255},  {Qt::Key_Left, 255}};
    for (const auto& k : keys) EXPECT_EQ(WindowsKeyCode(k.key), k.code) << k.key;
    Start();
    window().activateWindow();
    QTest::keyClicks(table(), "start ");
    QTest::keyClick(table(), Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyClicks(table(), "admin view");
    EXPECT_FALSE(action(MenuItem::TopDebug)->isVisible());
    QTest::keyClicks(table(), "start admin view");
    EXPECT_TRUE(action(MenuItem::TopDebug)->isVisible());
}
