#include "drawing/TablePainter.h"
#include "DrawArt.h"
#include "play/Deck.h"

using namespace drawtest;

namespace {
// What a pixel of the table must be: the background, a junk pixel left alone, or a given colour.
testing::AssertionResult Column(const Surface& s, int x, int y0, int y1,
                                uint32_t (*want)(int, int)) {
    for (int y = y0; y < y1; ++y)
        if (s.At(x, y) != want(x, y))
            return testing::AssertionFailure() << "at (" << x << ", " << y << ")";
    return testing::AssertionSuccess();
}
uint32_t JunkPix(int, int) {
    return Junk;
}

// The card whose upper-left sign is at (x + 4, y + 4) on the table.
testing::AssertionResult ShowsRank(const Surface& s, int x, int y, int rank, int suit) {
    if (s.At(x + 4, y + 4) != SignMark(rank, suit / 2, false, 0))
        return testing::AssertionFailure() << "no rank " << rank << " at " << x << ", " << y;
    return testing::AssertionSuccess();
}
} // namespace

TEST(TablePaint, TableauFansFourteenApartAndClearsOneStepBelow) {
    DressedGame d;
    d.g.settings.BackDesign = 1;
    Pile& p = d.g.table.Tableau[3];
    for (int r = 2; r <= 4; ++r)
        d.Put(p, r, 0, StateFaceDown);
    d.Put(p, 5, 1, StateFaceUp);
    d.Put(p, 6, 2, StateFaceUp);
    Surface& table = d.g.gfx.surfTable;
    DrawTableau(d.g, table);
    const int X = p.X, Y = p.Y;
    for (int k = 0; k < 3; ++k)
        for (int r = 0; r < 14; ++r)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(table.At(X + x, Y + 14 * k + r), BackPix(1, x, r));
    const std::vector<ExpectedPip> five = {
        {14, 20, false}, {35, 20, false}, {14, 69, true}, {35, 69, true}, {24, 44, false}};
    const std::vector<ExpectedPip> six = {{14, 18, false}, {35, 18, false}, {14, 44, false},
                                          {35, 44, false}, {14, 70, true},  {35, 70, true}};
    EXPECT_TRUE(SameRect(table, X, Y + 42, ExpectedFace(5, 1, 0, five), 0, 0, 64, 14));
    EXPECT_TRUE(SameRect(table, X, Y + 56, ExpectedFace(6, 2, 0, six), 0, 0, 64, 104));
    for (int x = X; x < X + 64; ++x) {
        EXPECT_TRUE(Column(table, x, Y + 160, Y + 174, BgPix)) << "cleared one step below";
        EXPECT_TRUE(Column(table, x, Y + 174, 480, JunkPix)) << "and no further";
        EXPECT_TRUE(Column(table, x + 75 * 2, Y, 480, BgPix)) << "empty pile 5";
    }
    EXPECT_TRUE(Column(table, X + 64, 0, 480, JunkPix));
    EXPECT_TRUE(Column(table, 100, 0, Y, JunkPix));

    p.Pop(), p.Pop();
    DrawTableauPile(d.g, 3, table); // the whole column, however many cards left it
    for (int x = X; x < X + 64; ++x) {
        EXPECT_TRUE(Column(table, x, Y + 28 + 104, 480, BgPix));
        EXPECT_EQ(table.At(x, Y + 28 + 103), BackPix(1, x - X, 103));
    }
}

TEST(TablePaint, StockShowsAnEdgeSlicePerTenCards) {
    for (int count : {24, 9, 0}) {
        DressedGame d;
        d.g.settings.BackDesign = 1;
        for (int i = 1; i <= count; ++i)
            d.Put(d.g.table.Stock, 1 + i % 13, i / 13, StateFaceUp);
        Surface& table = d.g.gfx.surfTable;
        DrawStockAndWaste(d.g, table);
        const int slices = count / 10;
        for (int y = 0; y < 104; ++y)
            for (int x = 24; x <= 194; ++x) {
                uint32_t want = BgPix(x, 30 + y);
                if (x == 24 || x == 194)
                    want = Junk;
                else if (x < 89)
                    want = BackPix(1, x - 25 + (count ? 0 : 64), y);
                else if (x < 89 + 3 * slices)
                    want = BackPix(1, 61 + (x - 89) % 3, y);
                ASSERT_EQ(table.At(x, 30 + y), want) << count << " cards, at " << x << ", " << y;
            }
        EXPECT_EQ(table.At(50, 29), Junk);
        EXPECT_EQ(table.At(50, 134), Junk);
    }
}

// Waste card k is rank k of suit 0; each case lists the cards shown from left to right.
TEST(TablePaint, DrawThreeFansTheWaste) {
    struct Case {
        int waste, fan, handKind, handCount;
        std::vector<int> shown;
    } cases[] = {
        {7, 0, 0, 0, {5, 6, 7}}, {6, 1, 3, 1, {5, 6}}, {6, 1, 3, 0, {4, 5, 6}},
        {6, 1, 1, 1, {4, 5, 6}}, {2, 0, 0, 0, {1, 2}}, {1, 1, 3, 1, {1}},
        {0, 0, 0, 0, {}},        {3, 255, 3, 1, {}},
    };
    for (const Case& c : cases) {
        DressedGame d;
        Table& t = d.g.table;
        d.g.settings.DrawRule = 3;
        for (int k = 1; k <= c.waste; ++k)
            d.Put(t.Waste, k, 0, StateFaceUp);
        t.WasteFan = uint8_t(c.fan);
        t.HandKind = uint8_t(c.handKind);
        t.HandCount = uint8_t(c.handCount);
        Surface& table = d.g.gfx.surfTable;
        DrawStockAndWaste(d.g, table);
        const int n = int(c.shown.size());
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE(ShowsRank(table, 100 + 15 * i, 30, c.shown[i], 0))
                << c.waste << " slot " << i;
        const int right = n ? 100 + 15 * (n - 1) + 64 : 100;
        for (int x = right; x < 194; ++x)
            ASSERT_TRUE(Column(table, x, 30, 134, BgPix)) << c.waste;
    }
}

TEST(TablePaint, DrawOneShowsTopCardAndFrontSlices) {
    DressedGame d;
    d.g.settings.FrontDesign = 1;
    for (int i = 1; i <= 23; ++i)
        d.Put(d.g.table.Waste, 1 + (i - 1) % 13, (i - 1) / 13, StateFaceUp);
    Surface& table = d.g.gfx.surfTable;
    DrawStockAndWaste(d.g, table);
    EXPECT_TRUE(ShowsRank(table, 100, 30, 10, 1)); // card 23
    for (int y = 0; y < 104; ++y) {
        for (int x = 94; x < 100; ++x)
            ASSERT_EQ(table.At(x, 30 + y), FrontPix(1, (x - 94) % 3, y));
        for (int x = 89; x < 94; ++x)
            ASSERT_EQ(table.At(x, 30 + y), BgPix(x, 30 + y));
        for (int x = 164; x < 194; ++x)
            ASSERT_EQ(table.At(x, 30 + y), BgPix(x, 30 + y));
    }
}

TEST(TablePaint, EmptyGoalShowsThePlaceholderOfItsPlace) {
    DressedGame d;
    d.g.settings.BackDesign = 1;
    d.Put(d.g.table.Goal[3], 1, 2, StateFaceUp);
    d.Put(d.g.table.Goal[3], 2, 2, StateFaceUp);
    d.g.table.Goal[4].Count = 13; // as "Win Game" leaves it: a count without cards
    Surface& table = d.g.gfx.surfTable;
    DrawGoals(d.g, table);
    for (int y = 0; y < 104; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(table.At(GoalX(4) + x, 30 + y), BackPix(1, x, y)) << "the empty record";
    for (int k : {1, 2}) {
        const int X = GoalX(k);
        for (int y = 30; y < 134; ++y)
            for (int x = X; x < X + 64; ++x) {
                const uint32_t want = (x == X && y == 30)         ? GoalMark(k, 0)
                                      : (x == X + 63 && y == 133) ? GoalMark(k, 1)
                                                                  : BgPix(x, y);
                ASSERT_EQ(table.At(x, y), want) << "goal " << k;
            }
    }
    EXPECT_TRUE(ShowsRank(table, GoalX(3), 30, 2, 2)) << "only the top card";
}

// The whole table is the background with the portrait and every pile painted on it alone.
TEST(TablePaint, RedrawEqualsBackgroundPlusEachPileAlone) {
    for (uint8_t rule : {uint8_t(1), uint8_t(3)}) {
        DressedGame d;
        Game& g = d.g;
        DealCards(g);
        Table& t = g.table;
        for (int i = 0; i < 13; ++i)
            t.Waste.Push(t.Stock.Pop());
        t.Goal[2].Push(t.Tableau[7].Pop());
        g.settings.DrawRule = rule;
        g.settings.ShowTavi = true;

        const Surface& bg = g.gfx.surfBackground;
        Surface expected = bg;
        expected.At(195, 15) = TaviMark(0);
        expected.At(195 + 39, 15 + 29) = TaviMark(1);
        auto layer = [&](auto paint) {
            Surface alone = bg;
            paint(alone);
            for (size_t i = 0; i < alone.Pixels.size(); ++i)
                if (alone.Pixels[i] != bg.Pixels[i]) expected.Pixels[i] = alone.Pixels[i];
        };
        for (uint8_t i = 1; i <= 7; ++i)
            layer([&](Surface& s) { DrawTableauPile(g, i, s); });
        for (uint8_t k = 1; k <= 4; ++k)
            layer([&](Surface& s) { DrawGoal(g, k, s); });
        layer([&](Surface& s) { DrawStockAndWaste(g, s); });

        RedrawTable(g);
        EXPECT_TRUE(g.gfx.surfTable.Pixels == expected.Pixels) << int(rule);
        EXPECT_TRUE(g.gfx.surfWindow.Pixels == expected.Pixels);
        EXPECT_EQ(d.t.host.PanelWidth(1), 100);
        EXPECT_EQ(d.t.host.PanelWidth(2), 540);
        ASSERT_FALSE(d.t.host.invalidated.empty());
        EXPECT_EQ(d.t.host.invalidated.back(), (std::array<int, 4>{0, 0, 640, 480}));
    }
}
