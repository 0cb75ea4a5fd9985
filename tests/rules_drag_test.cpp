#include "Positions.h"
#include "Printers.h"
#include "drawing/CardFaces.h"
#include "drawing/TablePainter.h"
#include <array>
#include <string>

namespace {
using Rect = std::array<int, 4>;

// Where a and b differ, or "" when they agree (outside the skipped rectangle, if any).
std::string FirstDifference(const Surface& a, const Surface& b, Rect skip = {0, 0, 0, 0}) {
    if (a.Width != b.Width || a.Height != b.Height) return "sizes differ";
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) {
            const bool skipped =
                x >= skip[0] && x < skip[0] + skip[2] && y >= skip[1] && y < skip[1] + skip[3];
            if (!skipped && a.At(x, y) != b.At(x, y))
                return Cat(
                    {"first difference at (", std::to_string(x), ", ", std::to_string(y), ")"});
        }
    return "";
}

class RulesDrag : public PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        Lay(g, 1, "KS QH JS 10H 9S 8H 7S 6H 5S 4H 3S 2H AS");
        RedrawTable(g); // a composed table, shown
        ASSERT_EQ(FirstDifference(g.gfx.surfWindow, g.gfx.surfTable), "");
    }
    void TakeAll() {
        Press({TableauX(1) + 10.0f, TableauY + 5.0f});
        ASSERT_EQ(t.HandCount, 13);
    }
    // The table with the carried cards drawn where the hand says they are.
    Surface Expected() {
        Surface s = g.gfx.surfTable;
        for (int k = 1; k <= t.HandCount; ++k) {
            Card c = t.Cards[t.Hand[k]];
            c.State = StateFaceUp;
            DrawCard(g, s, t.DownX, t.DownY + TableauStep * (k - 1), c);
        }
        return s;
    }
    Rect HandRect() const { return {t.DownX, t.DownY, 64, 104 + 14 * (t.HandCount - 1)}; }
    // The window must be the table plus the hand; until DrawCard draws, the hand's own
    // pixels are whatever the drag surface held, so they are left out of the comparison.
    void ExpectWindowShowsTableAndHand() {
        const Rect skip = DrawCardDraws(g) ? Rect{0, 0, 0, 0} : HandRect();
        EXPECT_EQ(FirstDifference(g.gfx.surfWindow, Expected(), skip), "") << PositionText(t);
    }
};
} // namespace

TEST_F(RulesDrag, TheFirstDrawAfterTakingShowsTheCardsWhereTheyLay) {
    TakeAll();
    EXPECT_EQ(t.DownX, TableauX(1));
    EXPECT_EQ(t.DownY, TableauY);
    ExpectWindowShowsTableAndHand();
}

TEST_F(RulesDrag, ANearMoveCopiesOneUnionRectangle) {
    TakeAll();
    host.invalidated.clear();
    Move({TableauX(1) + 11.0f, TableauY + 6.0f});
    EXPECT_EQ(host.invalidated, (std::vector<Rect>{{TableauX(1), TableauY, 65, 273}}));
    EXPECT_EQ(t.DownX, TableauX(1) + 1);
    ExpectWindowShowsTableAndHand();
    host.invalidated.clear();
    Move({TableauX(1) + 11.0f - 63, TableauY + 6.0f - 103});
    ASSERT_EQ(host.invalidated.size(), 1u) << "63 left and 103 up is still near";
    ExpectWindowShowsTableAndHand();
}

TEST_F(RulesDrag, AFarMoveRestoresTheOldPlaceThenDrawsTheNew) {
    TakeAll();
    host.invalidated.clear();
    Move({TableauX(1) + 80.0f, TableauY + 5.0f});
    EXPECT_EQ(host.invalidated, (std::vector<Rect>{{TableauX(1), TableauY, 64, 104 + 14 * 13},
                                                   {TableauX(1) + 70, TableauY, 64, 272}}));
    ExpectWindowShowsTableAndHand();
    Move({TableauX(1) + 80.0f, TableauY + 5.0f + 104}); // exactly one card height down
    EXPECT_EQ(host.invalidated.size(), 4u);
    ExpectWindowShowsTableAndHand();
}

TEST_F(RulesDrag, CardsCarriedOffTheWindowEdgeStayConsistent) {
    TakeAll();
    Move({5.0f, 5.0f});
    Move({-30.0f, -40.0f});
    ExpectWindowShowsTableAndHand();
    Move({600.0f, 470.0f});
    Move({630.0f, 475.0f});
    ExpectWindowShowsTableAndHand();
}

TEST_F(RulesDrag, MovesOnlyFollowTheLeftButtonAlone) {
    TakeAll();
    host.invalidated.clear();
    Form_MouseMove(g, ButtonLeft | ButtonRight, 0, 300.0f, 300.0f);
    Form_MouseMove(g, 0, 0, 300.0f, 300.0f);
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_EQ(t.DownX, TableauX(1));
    Release({TableauX(1) + 10.0f, TableauY + 5.0f});
    Move({300.0f, 300.0f});
    DrawHand(g, 200.0f, 200.0f);
    EXPECT_EQ(t.DownX, TableauX(1)) << "with nothing carried nothing is drawn";
}

TEST_F(RulesDrag, AfterADropOrAReturnTheWindowIsTheTable) {
    Lay(g, 3, "(4D) 5C");
    Lay(g, PileWaste, "4H 6D");
    TakeAll();
    Move({250.0f, 300.0f});
    Release({250.0f, 300.0f}); // a king onto nothing: it flies back
    EXPECT_EQ(t.Tableau[1].Count, 13);
    EXPECT_EQ(FirstDifference(g.gfx.surfWindow, g.gfx.surfTable), "");
    Press({WasteX + 5.0f, WasteY + 5.0f});
    Move({TableauX(3) + 5.0f, TableauY + 19.0f});
    Release({TableauX(3) + 5.0f, TableauY + 19.0f}); // 6♦ is no card for 5♣: back it goes
    EXPECT_EQ(t.Waste.Count, 2);
    EXPECT_EQ(FirstDifference(g.gfx.surfWindow, g.gfx.surfTable), "");
}

TEST_F(RulesDrag, AStockPressCopiesTheStripOfTheTableToTheWindow) {
    Lay(g, PileStock, "2S 3S 4S");
    g.gfx.surfWindow = NewBlankSurface(t.TableWidth, t.TableHeight);
    Press({StockX + 1.0f, StockY + 1.0f});
    const Rect strip{StockX, StockY, 139, 104};
    EXPECT_EQ(host.invalidated.back(), strip);
    Surface expected = NewBlankSurface(t.TableWidth, t.TableHeight);
    Blit(expected, StockX, StockY, 139, 104, g.gfx.surfTable, StockX, StockY);
    EXPECT_EQ(FirstDifference(g.gfx.surfWindow, expected), "");
}
