#include "DrawArt.h"
#include "Invariants.h"
#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "play/Commands.h"
#include "play/Deck.h"
#include "play/Mouse.h"
#include "play/Win.h"
#include "settings/UiTexts.h"
#include <gtest/gtest.h>

namespace {
struct WinTest : ::testing::Test {
    TestGame t;
    Game& g = t.g();
    void SetUp() override {
        SetDefaultTexts(g);
        g.table.UserSection = "ann";
        drawtest::Dress(g);
        g.sounds.WinSound = {1};
        g.sounds.WinSound2 = {2};
        BuildCardFaces(g);
        NewGame(g, 0);
        t.host.invalidated.clear();
    }
    // The places where faces were put on the window, in order.
    std::vector<std::array<int, 4>> Faces() const {
        std::vector<std::array<int, 4>> out;
        for (auto r : t.host.invalidated)
            if (r[2] == 64 && r[3] == 104) out.push_back(r);
        return out;
    }
    void FillGoals() {
        for (int k = 1; k <= 4; ++k) g.table.Goal[k].Count = 13;
    }
};
} // namespace

TEST_F(WinTest, ThreeFullGoalsAndTwelveIsNoWin) {
    for (int k = 1; k <= 3; ++k) g.table.Goal[k].Count = 13;
    g.table.Goal[4].Count = 12;
    CheckForWin(g);
    EXPECT_TRUE(t.host.played.empty());
    EXPECT_FALSE(g.table.WinCheckBusy);
}

TEST_F(WinTest, WinSoundFirstThenLoopingTrailUntilAClickThenYesDealsAgain) {
    g.settings.PlaySounds = false; // the win is heard all the same
    FillGoals();
    int rounds = 0;
    t.host.onDoEvents = [&] {
        ++rounds;
        // The player clicks on a face-up tableau card: it only ends the celebration.
        Form_MouseDown(g, ButtonLeft, 0, 110, 170);
    };
    t.host.answers = {MsgResult::Yes};
    t.host.tick = 4242;
    CheckForWin(g);
    ASSERT_GE(t.host.played.size(), 3u);
    EXPECT_EQ(t.host.played[0].how, "sync");
    EXPECT_EQ(t.host.played[0].data, g.sounds.WinSound);
    EXPECT_EQ(t.host.played[1].how, "loop");
    EXPECT_EQ(t.host.played[2].how, "stop");
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(Faces().size(), 52u); // input is looked at once a round of the deck
    EXPECT_EQ(g.table.HandCount, 0);
    EXPECT_FALSE(g.table.Dragging);
    ASSERT_EQ(t.host.shown.size(), 1u);
    EXPECT_EQ(t.host.shown[0].text, "是否开始新游戏？");
    EXPECT_EQ(t.host.shown[0].title, "开始新游戏");
    EXPECT_EQ(t.host.shown[0].style, MsgStyle::YesNoQuestion);
    EXPECT_EQ(g.table.Goal[1].Count, 0); // a fresh deal
    EXPECT_EQ(g.table.GameStart, t.host.tick - t.host.tickStep);
    EXPECT_FALSE(g.table.WinCheckBusy);
    EXPECT_TRUE(t.host.TimerEnabled(TimerId::TaviBlink));
}

TEST_F(WinTest, FacesStartAtTheFirstGoalAndBounceOffEveryEdge) {
    for (int i = 0; i < 100000; ++i) t.host.randomScript.push_back(0.5); // no jitter, no kick
    FillGoals();
    int rounds = 0;
    t.host.onDoEvents = [&] {
        if (++rounds == 6) g.table.InputArmed = true;
    };
    t.host.answers = {MsgResult::Yes};
    CheckForWin(g);
    const auto faces = Faces();
    ASSERT_GE(faces.size(), 64u);
    EXPECT_EQ(faces[0][0], 325);
    EXPECT_EQ(faces[0][1], 30);
    EXPECT_EQ(faces[1][0], 329);
    EXPECT_EQ(faces[1][1], 33);
    // x = 325 + 4k reaches 573; the next step would pass 640 - 64, so it turns back.
    EXPECT_EQ(faces[62][0], 573);
    EXPECT_EQ(faces[63][0], 569);
    EXPECT_EQ(faces[63][1], 30 + 3 * 63);
    // y = 30 + 3k reaches 375 at k = 115; 378 would pass 480 - 104. Then up to 0 and back.
    ASSERT_GE(faces.size(), 250u);
    EXPECT_EQ(faces[115][1], 375);
    EXPECT_EQ(faces[116][1], 372);
    EXPECT_EQ(faces[240][1], 0);
    EXPECT_EQ(faces[241][1], 3);
    // x turns at the left edge too: 569 - 4j reaches 1 at j = 142, then comes back.
    EXPECT_EQ(faces[205][0], 1);
    EXPECT_EQ(faces[206][0], 5);
}

// When the celebration ends, the trail is gone, the portrait blinks again, and the random
// source was re-seeded for it (and once more for the new deal).
TEST_F(WinTest, TheEndOfTheCelebrationErasesTheTrailAndRestartsThePortrait) {
    FillGoals();
    t.host.SetTimerEnabled(TimerId::TaviBlink, true);
    bool blinkingDuring = true;
    int reseedsDuring = -1;
    t.host.onDoEvents = [&] {
        blinkingDuring = t.host.TimerEnabled(TimerId::TaviBlink);
        reseedsDuring = t.host.reseeds;
        g.table.InputArmed = true;
    };
    t.host.answers = {MsgResult::Yes};
    const int reseeds = t.host.reseeds;
    const auto deal = [&] {
        std::vector<int> v;
        for (const Card& c : g.table.Cards) v.push_back(c.Rank * 4 + c.Suit);
        return v;
    };
    const auto before = deal();
    mnuDebugWin_Click(g);
    EXPECT_FALSE(blinkingDuring);
    EXPECT_EQ(reseedsDuring, reseeds + 1);
    EXPECT_EQ(t.host.reseeds, reseeds + 2);
    EXPECT_TRUE(t.host.TimerEnabled(TimerId::TaviBlink));
    EXPECT_NE(deal(), before);
    // The question is asked over the table as it was, the trail gone.
    Celebrate(g);
    EXPECT_EQ(PictureDiffers(g), "");
    EXPECT_EQ(g.gfx.surfWindow.Pixels, g.gfx.surfTable.Pixels) << "the trail is still on the window";
}

// Every release that carried nothing looks for a win.
TEST_F(WinTest, AReleaseThatCarriedNothingLooksForAWin) {
    FillGoals();
    t.host.onDoEvents = [&] { g.table.InputArmed = true; };
    Form_MouseUp(g, ButtonLeft, 0, 5.0f, 5.0f);
    EXPECT_EQ(t.host.shown.size(), 1u);
}

TEST_F(WinTest, NoEndsTheProgramWithSettingsSaved) {
    FillGoals();
    t.host.onDoEvents = [&] { g.table.InputArmed = true; };
    t.host.answers = {MsgResult::No};
    g.settings.DrawRule = 3;
    CheckForWin(g);
    EXPECT_TRUE(g.Ended);
    EXPECT_EQ(t.host.endCalls, 1);
    EXPECT_EQ(t.host.Get("ann", "Draw"), "3");
}

TEST_F(WinTest, HandlersRunningInsideTheCelebrationCannotNestOrBreakIt) {
    int rounds = 0;
    t.host.onDoEvents = [&] {
        ++rounds;
        if (rounds == 1) mnuDebugWin_Click(g); // a second "Win Game": turned away
        if (rounds == 2) mnuFileUndo_Click(g);
        if (rounds == 3) mnuTopHelp_Click(g); // opening a menu ends it
    };
    t.host.answers = {MsgResult::Yes};
    mnuDebugWin_Click(g);
    EXPECT_EQ(rounds, 3);
    int syncPlays = 0;
    for (auto& p : t.host.played) syncPlays += p.how == "sync";
    EXPECT_EQ(syncPlays, 1);
    EXPECT_EQ(t.host.shown.size(), 1u);
}

TEST_F(WinTest, ClosingTheWindowDuringTheCelebrationEndsCleanly) {
    t.host.onDoEvents = [&] { Form_Unload(g); };
    mnuDebugWin_Click(g);
    EXPECT_TRUE(g.Ended);
    EXPECT_EQ(t.host.endCalls, 1);
    EXPECT_TRUE(t.host.shown.empty()); // no question after the end
    EXPECT_TRUE(t.host.Get("ann", "Version").has_value());
}

TEST_F(WinTest, NewGameFromInsideTheCelebrationStillEndsItProperly) {
    t.host.onDoEvents = [&] {
        t.host.answers.push_front(MsgResult::Yes);
        mnuFileNewgame_Click(g); // deals, which arms input
    };
    t.host.answers = {MsgResult::Yes};
    mnuDebugWin_Click(g);
    EXPECT_FALSE(g.table.WinCheckBusy);
    EXPECT_FALSE(g.Ended);
}

// "Win Game" fills the goal counts without cards; a right-click on an ace while the trail runs
// must not push a fourteenth card onto a goal pile.
TEST_F(WinTest, SendingToAFullGoalDuringTheDebugWinIsRefused) {
    int aceLeftOn = -1, goalHeld = -1;
    t.host.onDoEvents = [&] {
        Form_MouseDown(g, ButtonRight, 0, 110, 170); // the ace of the sorted deal
        Form_MouseUp(g, ButtonRight, 0, 110, 170);
        aceLeftOn = g.table.Tableau[1].Count;
        goalHeld = g.table.Goal[1].Count;
        g.table.InputArmed = true;
    };
    t.host.answers = {MsgResult::Yes};
    mnuDebugWin_Click(g);
    EXPECT_EQ(aceLeftOn, 1);
    EXPECT_EQ(goalHeld, 13);
}
