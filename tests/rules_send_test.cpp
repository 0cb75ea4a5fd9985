#include "Positions.h"
#include "Printers.h"
#include <array>

namespace {
using Rect = std::array<int, 4>;

class RulesSend : public PlayTest {
  protected:
    std::string Cards(uint8_t n) { return PileText(t, t.PileAt(n)); }
    bool Shown(const Rect& r) const {
        for (const Rect& s : host.invalidated)
            if (s == r) return true;
        return false;
    }
};
} // namespace

TEST_F(RulesSend, DoubleClickSendsATableauTopCardToItsGoalAndTheNextOneAfter) {
    Lay(g, 8, "AS");
    Lay(g, 4, "(9D) 3S 2S");
    DoubleClick(OnTableauCard(g, 4, 3));
    SCOPED_TRACE(PositionText(t));
    EXPECT_EQ(Cards(8), "A♠ 2♠");
    EXPECT_EQ(Cards(4), "1 down, 3♠");
    EXPECT_EQ(t.UndoCount, 1);
    EXPECT_EQ(t.UndoFrom, 4);
    EXPECT_EQ(t.UndoTo, 8);
    EXPECT_TRUE(t.UndoAvailable);
    EXPECT_HEARD(GoalSounds(), 1);
    EXPECT_TRUE(Shown({GoalX(1), GoalY, 64, 104})) << "the goal is shown at once";
    EXPECT_TRUE(Shown({TableauX(4), TableauY, 64, t.TableHeight - TableauY})) << "and the column";

    DoubleClick(OnTableauCard(g, 4, 2));
    EXPECT_EQ(Cards(8), "A♠ 2♠ 3♠");
    DoubleClick(OnTableauCard(g, 4, 1));
    EXPECT_EQ(Cards(4), "9♦") << "the press turns it; a 9 does not go on a 3";
    EXPECT_EQ(t.Cards[CardNo("9D")].State, StateFaceUp);
}

TEST_F(RulesSend, OnlyTheTopCardOfAPileIsSent) {
    Lay(g, 2, "AH 5C");
    EXPECT_FALSE(SendToGoal(g, TableauX(2) + 5, TableauY + 5));
    Form_MouseDown(g, ButtonRight, 0, TableauX(2) + 5.0f, TableauY + 5.0f);
    Form_MouseUp(g, ButtonRight, 0, TableauX(2) + 5.0f, TableauY + 5.0f);
    EXPECT_EQ(Cards(2), "A♥ 5♣");
    EXPECT_EQ(host.optionsPopups, 1);
}

TEST_F(RulesSend, AFaceDownTopCardIsTurnedByThePressThenSent) {
    Lay(g, 6, "(7H) (AD)");
    DoubleClick(OnTableauCard(g, 6, 2));
    EXPECT_EQ(Cards(11), "A♦");
    EXPECT_EQ(Cards(6), "1 down") << "the card below stays face down";
    EXPECT_EQ(t.UndoFrom, 6);
}

TEST_F(RulesSend, DoubleClickingTheStockTurnsItTwice) {
    Lay(g, PileStock, "2H 3H 4H");
    DoubleClick({StockX + 5.0f, StockY + 5.0f});
    EXPECT_EQ(Cards(PileWaste), "4♥ 3♥");
    EXPECT_FALSE(t.UndoAvailable);
}

TEST_F(RulesSend, RightClickSendsAnAceOrOffersTheOptions) {
    Lay(g, 3, "AC");
    RightClick(OnTableauCard(g, 3, 1));
    EXPECT_EQ(Cards(9), "A♣");
    EXPECT_EQ(host.optionsPopups, 0);
    RightClick({20.0f, 450.0f});
    EXPECT_EQ(host.optionsPopups, 1);
    RightClick(OnTableauCard(g, 3, 1)); // now an empty pile
    EXPECT_EQ(host.optionsPopups, 2);
    Lay(g, PileStock, "KS");
    // Sending claims the stock's right edge too, but the press it plays there misses the card.
    RightClick({StockX + 64.0f, StockY + 104.0f});
    EXPECT_EQ(Cards(PileWaste), "empty");
    EXPECT_EQ(host.optionsPopups, 2);
    RightClick({StockX + 63.0f, StockY + 104.0f});
    EXPECT_EQ(Cards(PileWaste), "K♠");
    EXPECT_EQ(host.optionsPopups, 2);
}

TEST_F(RulesSend, TheWasteIsSentFromItsFirstCardPlaceWhateverTheFan) {
    g.settings.DrawRule = 3;
    struct Case {
        int x;
        bool sends;
    } cases[] = {{WasteX - 1, false},
                 {WasteX, true},
                 {WasteX + 5, true},
                 {WasteX + 64, true},
                 {WasteX + 65, false}};
    for (const Case& c : cases) {
        ClearTable(g);
        Lay(g, 8, "AS 2S");
        Lay(g, PileWaste, "QH 9D 8C 3S"); // the fan shows 9D 8C 3S, 3S at +30
        RightClick({static_cast<float>(c.x), WasteY + 50.0f});
        EXPECT_EQ(t.Goal[1].Count == 3, c.sends) << "x " << c.x << PositionText(t);
    }
}

TEST_F(RulesSend, SendingTheThirdCardOfAFanUsesItUp) {
    g.settings.DrawRule = 3;
    Lay(g, PileWaste, "KH 5D 3S 2S AS");
    const int fanAfter[] = {1, 2, 0};
    for (int sent = 0; sent < 3; ++sent) {
        RightClick({WasteX + 10.0f, WasteY + 10.0f});
        EXPECT_EQ(t.Goal[1].Count, sent + 1);
        EXPECT_EQ(t.WasteFan, fanAfter[sent]);
        EXPECT_EQ(t.HandCount, 0);
        EXPECT_FALSE(t.Dragging);
    }
    EXPECT_EQ(t.UndoFrom, PileWaste);
    EXPECT_EQ(host.invalidated.back(), (Rect{0, 0, t.TableWidth, t.TableHeight}));
    RightClick({WasteX + 10.0f, WasteY + 10.0f}); // 5D has no goal to go to yet
    EXPECT_EQ(Cards(PileWaste), "K♥ 5♦");
    EXPECT_EQ(host.optionsPopups, 1);
    ClearTable(g);
    RightClick({WasteX + 10.0f, WasteY + 10.0f}); // an empty waste sends nothing
    EXPECT_EQ(host.optionsPopups, 2);
}

TEST_F(RulesSend, DoubleClickAfterARightPressDoesNothing) {
    Lay(g, 1, "AH");
    t.DownX = TableauX(1) + 5;
    t.DownY = TableauY + 5;
    Form_MouseDown(g, ButtonRight, 0, 600.0f, 400.0f);
    Form_DblClick(g);
    EXPECT_EQ(Cards(10), "empty");
    Press(OnTableauCard(g, 1, 1));
    Form_DblClick(g); // while carrying: nothing is sent
    EXPECT_EQ(Cards(10), "empty");
    EXPECT_TRUE(t.Dragging);
}
