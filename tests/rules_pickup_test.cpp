#include "Positions.h"
#include "Printers.h"
#include "model/Rules.h"
#include <array>

namespace {
using Rect = std::array<int, 4>;

class RulesPickUp : public PlayTest {
  protected:
    Point stock{StockX + 10.0f, StockY + 10.0f};
    std::string PileCards(uint8_t n) { return PileText(t, t.PileAt(n)); }
};
} // namespace

TEST_F(RulesPickUp, DrawThreeTurnsThreeThenTheRestThenTurnsTheWasteOver) {
    g.settings.DrawRule = 3;
    Lay(g, PileStock, "AS 2S 3S 4S 5S 6S 7S"); // 7S on top
    Press(stock);
    EXPECT_EQ(PileCards(PileWaste), "7♠ 6♠ 5♠");
    Press(stock);
    EXPECT_EQ(PileCards(PileWaste), "7♠ 6♠ 5♠ 4♠ 3♠ 2♠");
    Press(stock);
    EXPECT_EQ(PileCards(PileWaste), "7♠ 6♠ 5♠ 4♠ 3♠ 2♠ A♠");
    EXPECT_EQ(t.Stock.Count, 0);
    Press(stock);
    EXPECT_EQ(t.Waste.Count, 0);
    EXPECT_EQ(PileCards(PileStock), "A♠ 2♠ 3♠ 4♠ 5♠ 6♠ 7♠")
        << "the first card turned is on top again";
    EXPECT_FALSE(t.Dragging);
}

TEST_F(RulesPickUp, DrawThreeWithTwoLeftPutsTheStockTopOnTheWasteTop) {
    g.settings.DrawRule = 3;
    Lay(g, PileStock, "9H KD");
    Lay(g, PileWaste, "2C");
    t.WasteFan = 2;
    Press(stock);
    EXPECT_EQ(PileCards(PileWaste), "2♣ 9♥ K♦");
    EXPECT_EQ(t.WasteFan, 0);
}

TEST_F(RulesPickUp, StockPressClearsUndoAndCopiesOnlyItsStrip) {
    struct Case {
        uint8_t rule;
        const char* stock;
        const char* waste;
        std::vector<Rect> shown;
    } cases[] = {
        {1, "5D 6D", "", {{StockX, StockY, 139, 104}}},
        {3, "5D 6D", "", {{StockX, StockY, 169, 104}}},
        {1, "", "5D 6D", {{StockX, StockY, 139, 104}}},
        {3, "", "", {}}, // nothing to move, nothing drawn
    };
    for (const Case& c : cases) {
        ClearTable(g);
        g.settings.DrawRule = c.rule;
        Lay(g, PileStock, c.stock);
        Lay(g, PileWaste, c.waste);
        t.UndoAvailable = true;
        host.invalidated.clear();
        Press(stock);
        SCOPED_TRACE(PositionText(t));
        EXPECT_FALSE(t.UndoAvailable);
        EXPECT_EQ(host.invalidated, c.shown);
        EXPECT_EQ(host.played.size(), 0u) << "turning the stock is silent";
    }
}

TEST_F(RulesPickUp, WastePressTakesTheTopCardFromItsFanSlot) {
    g.settings.DrawRule = 3;
    Lay(g, PileWaste, "2C 3C 4C 5C"); // fan shows 3C 4C 5C, 5C at +30
    t.UndoAvailable = true;
    host.invalidated.clear();
    Press({WasteX + 30 + 7.0f, WasteY + 9.0f});
    SCOPED_TRACE(PositionText(t));
    ASSERT_TRUE(t.Dragging);
    EXPECT_EQ(HandText(t), "5♣ from waste (kind 3)");
    EXPECT_EQ(t.GrabDX, 7);
    EXPECT_EQ(t.GrabDY, 9);
    EXPECT_EQ(t.WasteFan, 1);
    EXPECT_TRUE(t.UndoAvailable) << "taking a card is no move yet";
    ASSERT_FALSE(host.invalidated.empty());
    EXPECT_EQ(host.invalidated.front(), (Rect{WasteX, WasteY, 30, 104})) << "the fan left of it";
    EXPECT_EQ(t.DownX, WasteX + 30);
    EXPECT_EQ(t.DownY, WasteY) << "the hand is shown where the card lay";
}

TEST_F(RulesPickUp, AfterTwoCardsOfAFanArePlayedTheTopIsAtSlotZero) {
    g.settings.DrawRule = 3;
    Lay(g, PileWaste, "2C 3C 4C 5C");
    t.WasteFan = 2;
    host.invalidated.clear();
    Press({WasteX + 64.0f, WasteY + 5.0f});
    EXPECT_FALSE(t.Dragging) << "x = Waste.X + 64 lies past the top card";
    Press({WasteX + 63.0f, WasteY + 5.0f});
    ASSERT_TRUE(t.Dragging);
    EXPECT_EQ(t.GrabDX, 63);
    EXPECT_EQ(t.WasteFan, 3);
    EXPECT_EQ(host.invalidated.size(), 1u) << "no fan strip is left to show, only the hand";
}

TEST_F(RulesPickUp, TableauPressTakesTheRunFromTheHitCardUp) {
    Lay(g, 3, "(2D) 9H 8S 7H");
    Press({TableauX(3) + 20.0f, TableauY + 14 + 14 + 6.0f}); // on 8S, slot 3
    SCOPED_TRACE(PositionText(t));
    ASSERT_TRUE(t.Dragging);
    EXPECT_EQ(HandText(t), "8♠ 7♥ from pile 3 (kind 1)");
    EXPECT_EQ(PileCards(3), "1 down, 9♥");
    EXPECT_EQ(t.GrabDX, 20);
    EXPECT_EQ(t.GrabDY, 6) << "measured from the top of the pressed card";
}

TEST_F(RulesPickUp, PressesThatHitNoCardOfAPileChangeNothing) {
    Lay(g, 2, "(QS) (3D) 4C");
    const Table before = t;
    struct Case {
        const char* what;
        Point p;
    } cases[] = {
        {"10 pixels below the last card", {TableauX(2) + 5.0f, TableauY + 28 + 104 + 10.0f}},
        {"face-down card second from the top", {TableauX(2) + 5.0f, TableauY + 14 + 3.0f}},
        {"right of the pile", {TableauX(2) + 64.0f, TableauY + 3.0f}},
        {"an empty pile", OnTableauCard(g, 5, 1)},
        {"an empty waste", {WasteX + 5.0f, WasteY + 5.0f}},
        {"an empty goal", OnCard(t.Goal[2])},
    };
    for (const Case& c : cases) {
        Press(c.p);
        EXPECT_FALSE(t.Dragging) << c.what;
        EXPECT_EQ(PileText(t, t.Tableau[2]), PileText(before, before.Tableau[2])) << c.what;
    }
}

TEST_F(RulesPickUp, PressOnAFaceDownTopCardTurnsItAndForgetsTheUndo) {
    Lay(g, 6, "(KC) (5H)");
    t.UndoAvailable = true;
    host.invalidations = 0;
    Press(OnTableauCard(g, 6, 2));
    EXPECT_EQ(PileCards(6), "1 down, 5♥");
    EXPECT_FALSE(t.Dragging);
    EXPECT_FALSE(t.UndoAvailable);
    ASSERT_EQ(host.invalidated.back(), (Rect{0, 0, t.TableWidth, t.TableHeight}));
    EXPECT_EQ(host.played.size(), 0u);
}

TEST_F(RulesPickUp, GoalPressTakesItsTopCard) {
    Lay(g, 9, "AC 2C 3C");
    Press({GoalX(2) + 63.0f, GoalY + 104.0f});
    ASSERT_TRUE(t.Dragging);
    EXPECT_EQ(HandText(t), "3♣ from goal 2 (kind 2)");
    EXPECT_EQ(t.GrabDX, 63);
    EXPECT_EQ(t.GrabDY, 104);
    EXPECT_EQ(t.Goal[2].Count, 2);
}

TEST_F(RulesPickUp, OnlyALeftPressActsAndAPressWhileCarryingIsIgnored) {
    Lay(g, 1, "KS");
    Form_MouseDown(g, ButtonRight, 0, 33.4f, 44.6f);
    EXPECT_EQ(t.RightDownX, 33);
    EXPECT_EQ(t.RightDownY, 45);
    EXPECT_EQ(t.LastButton, ButtonRight);
    Form_MouseDown(g, ButtonMiddle, 0, OnTableauCard(g, 1, 1).x, OnTableauCard(g, 1, 1).y);
    EXPECT_FALSE(t.Dragging);
    EXPECT_EQ(t.LastButton, ButtonMiddle);

    Lay(g, PileStock, "2D");
    Press(OnTableauCard(g, 1, 1));
    ASSERT_TRUE(t.Dragging);
    const int downX = t.DownX;
    Press(stock);
    Form_MouseDown(g, ButtonRight, 0, 1.0f, 1.0f);
    EXPECT_EQ(t.Stock.Count, 1) << "the stock is not turned while a card is carried";
    EXPECT_EQ(t.RightDownX, 33);
    EXPECT_EQ(t.DownX, downX);
    EXPECT_EQ(t.LastButton, ButtonRight);
    EXPECT_FALSE(ClickStockOrWaste(g, stock.x, stock.y));
    EXPECT_FALSE(PickUpFromGoal(g, 0, 0));
    EXPECT_EQ(HandText(t), "K♠ from pile 1 (kind 1)");
}

TEST_F(RulesPickUp, APressDuringTheCelebrationOnlyEndsIt) {
    Lay(g, 1, "KS");
    t.InputArmed = false;
    Press(OnTableauCard(g, 1, 1));
    EXPECT_TRUE(t.InputArmed);
    EXPECT_FALSE(t.Dragging);
    EXPECT_EQ(t.Tableau[1].Count, 1);
}
