#include "DrawArt.h"
#include "Invariants.h"
#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "play/Deck.h"
#include "settings/UiTexts.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {
struct DeckTest : ::testing::Test {
    TestGame t;
    Game& g = t.g();
    Table& table = g.table;
    void SetUp() override {
        drawtest::Dress(g);
        SetDefaultTexts(g);
    }
    // Rank and suit of every record, in deck order.
    std::vector<std::pair<int, int>> Order() const {
        std::vector<std::pair<int, int>> v;
        for (int n = 1; n <= 52; ++n) v.emplace_back(table.Cards[n].Rank, table.Cards[n].Suit);
        return v;
    }
};
} // namespace

TEST_F(DeckTest, DealLaysOutEveryPileInOrder) {
    DealCards(g);
    int next = 1;
    for (int i = 1; i <= 7; ++i) {
        const Pile& p = table.Tableau[i];
        EXPECT_EQ(p.X, 100 + 75 * (i - 1));
        EXPECT_EQ(p.Y, 164);
        ASSERT_EQ(p.Count, i);
        for (int l = 1; l <= i; ++l) {
            EXPECT_EQ(p.List[l], next++) << "pile " << i << " slot " << l;
            EXPECT_EQ(table.Cards[p.List[l]].State, l == i ? StateFaceUp : StateFaceDown);
        }
    }
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(table.Goal[k].Count, 0);
        EXPECT_EQ(table.Goal[k].X, 325 + 75 * (k - 1));
        EXPECT_EQ(table.Goal[k].Y, 30);
    }
    EXPECT_EQ(table.Stock.X, 25);
    EXPECT_EQ(table.Waste.X, 100);
    EXPECT_EQ(table.Waste.Count, 0);
    ASSERT_EQ(table.Stock.Count, 24);
    for (int k = 1; k <= 24; ++k) {
        EXPECT_EQ(table.Stock.List[k], 28 + k);
        EXPECT_EQ(table.Cards[28 + k].State, StateFaceUp); // marked up, painted as a back
    }
    EXPECT_TRUE(table.InputArmed);
}

TEST_F(DeckTest, DealClearsLeftoversOfThePreviousGame) {
    DealCards(g);
    table.Goal[2].Push(5);
    table.Tableau[1].List[7] = 44; // stale beyond Count
    table.InputArmed = false;
    DealCards(g);
    EXPECT_EQ(table.Goal[2].Count, 0);
    EXPECT_EQ(table.Tableau[1].List[7], 0);
    EXPECT_TRUE(table.InputArmed);
}

// The plain deal and the debug menu's no-shuffle deal (after a shuffled game) lay the sorted deck.
TEST_F(DeckTest, UnshuffledGameIsTheSortedDeck) {
    for (const bool debugMenu : {false, true}) {
        if (debugMenu) NewGame(g, 1), mnuDebugNoshuffle_Click(g);
        else NewGame(g, 0);
        EXPECT_EQ(t.host.reseeds, debugMenu ? 1 : 0);
        EXPECT_EQ(table.TopCard(table.Stock).Rank, 13);
        EXPECT_EQ(table.TopCard(table.Stock).Suit, 3);
        EXPECT_EQ(table.TopCard(table.Tableau[1]).Rank, 1);
        EXPECT_EQ(table.TopCard(table.Tableau[1]).Suit, 0);
        EXPECT_EQ(table.TopCard(table.Tableau[7]).Rank, 2);
        EXPECT_EQ(table.TopCard(table.Tableau[7]).Suit, 2);
    }
}

TEST_F(DeckTest, ShuffleIsAPermutationThatKeepsEachCardsFace) {
    NewGame(g, 1);
    std::set<std::pair<int, int>> seen;
    for (int n = 1; n <= 52; ++n) {
        const Card& c = table.Cards[n];
        seen.emplace(c.Rank, c.Suit);
        // The pips travel with their rank.
        EXPECT_EQ(c.Pips[1].X, table.RankLayouts[c.Rank].Pips[1].X);
    }
    EXPECT_EQ(seen.size(), 52u);
    EXPECT_EQ(t.host.reseeds, 1);
}

// Every draw of 0 picks card 1: each sweep exchange swaps 1 with j, pairs swap 1 with 1. One
// sweep pass rotates the deck right by one place; fifty passes by fifty. The shuffle starts from
// whatever order the deck holds, sorted or left by the game before.
TEST_F(DeckTest, PinnedRandomSourceShufflesTheCurrentOrderIntoAPinnedDeck) {
    for (const bool sorted : {true, false}) {
        BuildCardFaces(g);
        if (!sorted) std::reverse(table.Cards.begin() + 1, table.Cards.end());
        const auto start = Order();
        for (int i = 0; i < 2600 + 20000; ++i) t.host.randomScript.push_back(0.0);
        NewGame(g, 1);
        const auto shuffled = Order();
        for (size_t n = 0; n < 52; ++n) EXPECT_EQ(shuffled[n], start[(n + 2) % 52]) << sorted << " " << n;
    }
}

TEST_F(DeckTest, DrawsNearOneStayInsideTheDeck) {
    for (int i = 0; i < 22600; ++i) t.host.randomScript.push_back(0.9999999999);
    NewGame(g, 1);
    std::set<std::pair<int, int>> seen;
    for (int n = 1; n <= 52; ++n) seen.emplace(table.Cards[n].Rank, table.Cards[n].Suit);
    EXPECT_EQ(seen.size(), 52u);
}

TEST_F(DeckTest, NewGameResetsUndoClockAndShowsTheTable) {
    table.UndoAvailable = true;
    table.WasteFan = 2;
    t.host.tick = 777;
    NewGame(g, 1);
    EXPECT_FALSE(table.UndoAvailable);
    EXPECT_EQ(table.GameStart, 777u);
    EXPECT_TRUE(t.host.TimerEnabled(TimerId::UpdateTime));
    EXPECT_EQ(table.WasteFan, 2); // left alone
    EXPECT_EQ(PictureDiffers(g), "");
    EXPECT_EQ(g.gfx.surfWindow.Pixels, g.gfx.surfTable.Pixels);
    ASSERT_FALSE(t.host.invalidated.empty());
    EXPECT_EQ(t.host.invalidated.back(), (std::array<int, 4>{0, 0, 640, 480}));
}

TEST_F(DeckTest, NewGameQuestionYesDealsNoKeepsEverything) {
    NewGame(g, 1);
    table.UndoAvailable = true;
    table.GameStart = 5;
    const auto before = Order();
    t.host.answers = {MsgResult::No};
    mnuFileNewgame_Click(g);
    ASSERT_EQ(t.host.shown.size(), 1u);
    EXPECT_EQ(t.host.shown[0].text, "是否结束当前游戏?");
    EXPECT_EQ(t.host.shown[0].title, "是否开始新游戏?");
    EXPECT_EQ(t.host.shown[0].style, MsgStyle::YesNoQuestion);
    EXPECT_TRUE(table.UndoAvailable);
    EXPECT_EQ(table.GameStart, 5u);
    EXPECT_EQ(Order(), before);

    t.host.answers = {MsgResult::Yes};
    mnuFileNewgame_Click(g);
    EXPECT_FALSE(table.UndoAvailable);
    EXPECT_NE(Order(), before);
}
