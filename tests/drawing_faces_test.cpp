#include "DrawArt.h"
#include <climits>

using namespace drawtest;

namespace {
constexpr int At = 8; // cards are drawn at (8, 8) on an 80 x 120 surface full of junk

Surface Canvas() {
    Surface s = NewBlankSurface(80, 120);
    FillSurface(s, Junk);
    return s;
}

// Nothing outside the card's 64 x 104 rectangle at (8, 8) was touched.
testing::AssertionResult OnlyCardArea(const Surface& s) {
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x) {
            const bool card = x >= At && x < At + 64 && y >= At && y < At + 104;
            if (!card && s.At(x, y) != Junk)
                return testing::AssertionFailure() << "touched (" << x << ", " << y << ")";
        }
    return testing::AssertionSuccess();
}
} // namespace

TEST(DrawFaces, LayoutsHaveOnePipPerRankInvertedBelowUpright) {
    DressedGame d;
    const Table& t = d.g.table;
    for (int r = 1; r <= 13; ++r) {
        const auto& pips = t.RankLayouts[r].Pips;
        int used = 0, lowestUp = -1, highestDown = 1000;
        while (used < 10 &&
               (pips[used + 1].Dir == PipUpright || pips[used + 1].Dir == PipInverted)) {
            const Pip& p = pips[++used];
            EXPECT_TRUE(p.X >= 0 && p.X + 15 <= 64 && p.Y >= 0 && p.Y + 15 <= 104) << r;
            if (p.Dir == PipUpright)
                lowestUp = std::max(lowestUp, p.Y);
            else
                highestDown = std::min(highestDown, p.Y);
        }
        EXPECT_EQ(used, r <= 10 ? r : 2) << r;
        EXPECT_LT(lowestUp, highestDown) << r;
        for (int s = 0; s < 4; ++s) {
            const Card& c = t.Cards[13 * s + r];
            EXPECT_EQ(c.Rank, r);
            EXPECT_EQ(c.Suit, s);
            EXPECT_EQ(c.State, 0);
            EXPECT_EQ(c.Pips[1].X, pips[1].X); // the layout travels with the record
        }
    }
    EXPECT_EQ(t.BackCard.State, StateBack);
    EXPECT_EQ(t.EmptyStockCard.State, StateEmptyStock);
}

// Faces composed piece by piece: pips at the places written out here, court pictures,
// corner signs of the suit's colour band, the blank front of the chosen design.
TEST(DrawFaces, FaceIsComposedPipByPip) {
    struct Case {
        int rank, suit, design;
        std::vector<ExpectedPip> pips;
    } cases[] = {
        {1, 0, 0, {{24, 44, false}}},
        {5, 1, 1, {{14, 20, false}, {35, 20, false}, {14, 69, true}, {35, 69, true}, {24, 44, false}}},
        {10, 2, 0, {{10, 14, false}, {39, 14, false}, {10, 34, false}, {39, 34, false}, {10, 54, true},
                    {39, 54, true}, {10, 74, true}, {39, 74, true}, {24, 24, false}, {24, 64, true}}},
        {11, 3, 1, {{14, 19, false}, {35, 70, true}}},
        {13, 0, 0, {{14, 19, false}, {35, 70, true}}},
    };
    for (const Case& c : cases) {
        DressedGame d;
        d.g.settings.FrontDesign = int16_t(c.design);
        d.g.settings.BackDesign = int16_t(1 - c.design); // the back's design must not matter
        Card card = d.g.table.Cards[DressedGame::Number(c.rank, c.suit)];
        card.State = StateFaceUp;
        Surface s = Canvas();
        DrawCard(d.g, s, At, At, card);
        EXPECT_TRUE(SameRect(s, At, At, ExpectedFace(c.rank, c.suit, c.design, c.pips), 0, 0, 64, 104))
            << "rank " << c.rank;
        EXPECT_TRUE(OnlyCardArea(s));
    }
}

TEST(DrawFaces, BackMarkerAndOtherStates) {
    for (int design : {0, 1})
        for (uint8_t state : {uint8_t(0), uint8_t(2), uint8_t(3), uint8_t(255)}) {
            DressedGame d;
            d.g.settings.BackDesign = int16_t(design);
            Card card = d.g.table.Cards[5];
            card.State = state;
            Surface s = Canvas();
            DrawCard(d.g, s, At, At, card);
            for (int y = 0; y < 104; ++y)
                for (int x = 0; x < 64; ++x) {
                    const uint32_t want = state == 0   ? BackPix(design, x, y)
                                          : state == 2 ? BackPix(design, 64 + x, y)
                                                       : Junk;
                    ASSERT_EQ(s.At(At + x, At + y), want) << int(state) << " design " << design;
                }
            EXPECT_TRUE(OnlyCardArea(s));
        }
}

// Records that no deal produces: nothing is read or written outside the surfaces, and
// a card we cannot name shows its blank front only.
TEST(DrawFaces, DamagedRecordsStayInsideTheCard) {
    DressedGame d;
    const Surface front = ExpectedFace(1, 0, 0, {});
    for (auto [rank, suit] : {std::pair{0, 0}, {14, 1}, {255, 2}, {1, 4}, {13, 255}}) {
        Card card = d.g.table.Cards[1];
        card.Rank = uint8_t(rank);
        card.Suit = uint8_t(suit);
        card.State = StateFaceUp;
        Surface s = Canvas();
        DrawCard(d.g, s, At, At, card);
        for (int y = 0; y < 104; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(s.At(At + x, At + y), FrontPix(0, x, y)) << rank << ", " << suit;
    }
    Card wild = d.g.table.Cards[1];
    wild.State = StateFaceUp;
    wild.Pips[1] = {INT_MAX, INT_MIN, PipUpright};
    wild.Pips[2] = {-1000000, 5, PipInverted};
    wild.Pips[3] = {INT_MIN, INT_MAX, 7}; // ends the list
    Surface s = Canvas();
    DrawCard(d.g, s, At, At, wild);
    EXPECT_TRUE(SameRect(s, At, At, front, 0, 0, 64, 104));
    for (int design : {-1, 2, INT16_MAX, INT16_MIN}) {
        d.g.settings.FrontDesign = d.g.settings.BackDesign = int16_t(design);
        for (uint8_t state : {StateBack, StateFaceUp, StateEmptyStock}) {
            Surface c = Canvas();
            DrawCard(d.g, c, At, At, Card{d.g.table.Cards[40].Pips, 13, 3, state});
            EXPECT_TRUE(OnlyCardArea(c)) << design;
        }
    }
}
