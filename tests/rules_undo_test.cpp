#include "Positions.h"
#include "Printers.h"
#include "play/Deck.h"
#include <functional>

namespace {
class RulesUndo : public PlayTest {
  protected:
    std::string Cards(uint8_t n) { return PileText(t, t.PileAt(n)); }
    void DropOnPile(Point from, int pile) {
        Press(from);
        const Point to{static_cast<float>(TableauX(pile) + t.GrabDX),
                       static_cast<float>(TableauY + 14 * t.Tableau[pile].Count + t.GrabDY)};
        Move(to);
        Release(to);
    }
};
} // namespace

TEST_F(RulesUndo, ARunComesBackInItsOwnOrderOntoTheCardItUncovered) {
    Lay(g, 1, "(4S) (QD) 9S 8H 7C");
    Lay(g, 5, "10H");
    DropOnPile(OnTableauCard(g, 1, 3), 5);
    ASSERT_EQ(Cards(5), "10♥ 9♠ 8♥ 7♣");
    ASSERT_EQ(Cards(1), "2 down");
    host.played.clear();
    mnuFileUndo_Click(g);
    EXPECT_EQ(Cards(1), "2 down, 9♠ 8♥ 7♣") << "back on the face-down card, which stays down";
    EXPECT_EQ(Cards(5), "10♥");
    EXPECT_FALSE(t.UndoAvailable);
    EXPECT_EQ(host.played.size(), 0u);
    mnuFileUndo_Click(g);
    EXPECT_EQ(Cards(1), "2 down, 9♠ 8♥ 7♣") << "a second undo does nothing";
}

TEST_F(RulesUndo, ASentWasteCardGoesBackOnTopOfTheWaste) {
    g.settings.DrawRule = 3;
    Lay(g, PileWaste, "5H 6H AH");
    RightClick({WasteX + 5.0f, WasteY + 5.0f});
    ASSERT_EQ(Cards(10), "A♥");
    ASSERT_EQ(t.WasteFan, 1);
    UndoMove(g);
    EXPECT_EQ(Cards(PileWaste), "5♥ 6♥ A♥");
    EXPECT_EQ(Cards(10), "empty");
    EXPECT_EQ(t.WasteFan, 1) << "the fan count is not undone";
}

TEST_F(RulesUndo, UndoingAMoveOntoTheSamePileChangesNothing) {
    Lay(g, 2, "(4C) 10D 9S");
    DropOnPile(OnTableauCard(g, 2, 3), 2);
    ASSERT_TRUE(t.UndoAvailable);
    UndoMove(g);
    EXPECT_EQ(Cards(2), "1 down, 10♦ 9♠");
    EXPECT_FALSE(t.UndoAvailable);
}

TEST_F(RulesUndo, EveryWriterOfTheRecordAsTheRulesTableIt) {
    // Each step starts from an undoable move and says whether one is left afterwards.
    Lay(g, 3, "(KC) 6D");
    Lay(g, 4, "(2C) 7S");
    Lay(g, 9, "AC");
    Lay(g, PileStock, "QH");
    struct Case {
        const char* what;
        std::function<void()> act;
        bool undoable;
    } cases[] = {
        {"a refused drop", [&] { DropOnPile(OnTableauCard(g, 4, 2), 3); }, true},
        {"a right click on nothing",
         [&] {
             RightClick({600.0f, 450.0f});
         },
         true},
        {"a stock press that moves nothing either",
         [&] {
             ClearTable(g);
             t.UndoAvailable = true;
             Press({StockX + 1.0f, StockY + 1.0f});
         },
         false},
        {"turning a face-down card",
         [&] {
             Lay(g, 1, "(3H)");
             Press(OnTableauCard(g, 1, 1));
         },
         false},
        {"a new game", [&] { NewGame(g, 1); }, false},
        {"undo itself", [&] { UndoMove(g); }, false},
    };
    for (const Case& c : cases) {
        t.UndoAvailable = true;
        t.UndoCount = 1;
        t.UndoFrom = 3;
        t.UndoTo = 3;
        c.act();
        EXPECT_EQ(t.UndoAvailable, c.undoable) << c.what;
    }
}

TEST_F(RulesUndo, UndoWaitsWhileCardsAreCarried) {
    Lay(g, 1, "KS QH");
    Lay(g, 2, "KC");
    DropOnPile(OnTableauCard(g, 1, 2), 2);
    ASSERT_EQ(Cards(2), "K♣ Q♥");
    Press(OnTableauCard(g, 2, 1)); // the pile the record points at, now in the hand
    ASSERT_EQ(t.HandCount, 2);
    UndoMove(g);
    EXPECT_EQ(Cards(2), "empty");
    EXPECT_TRUE(t.UndoAvailable) << "kept for when the cards are down";
    Release({5.0f, 470.0f});
    UndoMove(g);
    EXPECT_EQ(Cards(1), "K♠ Q♥");
    EXPECT_EQ(Cards(2), "K♣");
}

TEST_F(RulesUndo, ANewGameWhileCarryingDealsEveryCardOnce) {
    NewGame(g, 1);
    Press(OnTableauCard(g, 7, 7));
    ASSERT_TRUE(t.Dragging);
    NewGame(g, 1);
    EXPECT_FALSE(t.Dragging);
    EXPECT_EQ(t.HandCount, 0);
    Release({300.0f, 300.0f});
    int cards = 0;
    for (int i = 1; i <= 7; ++i)
        cards += t.Tableau[i].Count;
    EXPECT_EQ(cards + t.Stock.Count, 52) << PositionText(t);
}
