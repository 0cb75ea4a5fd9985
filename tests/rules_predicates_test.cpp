#include "Positions.h"
#include "TestHost.h"
#include "model/Rules.h"
#include <gtest/gtest.h>

namespace {
Card Make(uint8_t rank, uint8_t suit, uint8_t state = StateFaceUp) {
    Card c;
    c.Rank = rank;
    c.Suit = suit;
    c.State = state;
    return c;
}
Pile PileOf(int x, int y, uint8_t count) {
    Pile p;
    p.Reset(x, y, TableauBound);
    for (uint8_t k = 1; k <= count; ++k)
        p.Push(k);
    return p;
}
} // namespace

TEST(RulesPredicates, TableauTakesOneLowerOfTheOtherColourOrAKingWhenEmpty) {
    const Pile empty = PileOf(100, 164, 0);
    const Pile some = PileOf(100, 164, 1);
    struct Case {
        const char* what;
        const Pile& target;
        Card c, top;
        bool fits;
    } cases[] = {
        {"king of any suit on empty", empty, Make(13, 2), Card{}, true},
        {"king of spades on empty", empty, Make(13, 0), Card{}, true},
        {"queen on empty", empty, Make(12, 0), Card{}, false},
        {"ace on empty (record 0 is rank 0)", empty, Make(1, 2), Card{}, false},
        {"6H on 7S", some, Make(6, 2), Make(7, 0), true},
        {"6D on 7C", some, Make(6, 3), Make(7, 1), true},
        {"6H on 7D: same colour", some, Make(6, 2), Make(7, 3), false},
        {"6C on 7S: suits 0 and 1 share a colour", some, Make(6, 1), Make(7, 0), false},
        {"6C on 7H: suits 1 and 2 differ", some, Make(6, 1), Make(7, 2), true},
        {"5H on 7S: two lower", some, Make(5, 2), Make(7, 0), false},
        {"8H on 7S: higher", some, Make(8, 2), Make(7, 0), false},
        {"AH on 2S", some, Make(1, 2), Make(2, 0), true},
        {"6H on a face-down 7S", some, Make(6, 2), Make(7, 0, StateFaceDown), true},
        {"face-down 6H on 7S", some, Make(6, 2, StateFaceDown), Make(7, 0), false},
        {"king on a non-empty pile", some, Make(13, 2), Make(1, 0), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitsOnTableau(c.target, c.c, c.top), c.fits) << c.what;
    EXPECT_TRUE(KingOnEmptyPile(empty, Make(13, 3)));
    EXPECT_FALSE(KingOnEmptyPile(some, Make(13, 3)));
    EXPECT_TRUE(OneLowerAndOtherColour(Make(10, 0), Make(11, 3)));
}

TEST(RulesPredicates, GoalTakesTheNextCardOfItsOwnSuit) {
    Pile empty;
    empty.Reset(325, 30, GoalBound);
    Pile holdsAce = empty;
    holdsAce.Push(1);
    struct Case {
        const char* what;
        int goal;
        const Pile& target;
        Card c, top;
        bool fits;
    } cases[] = {
        {"ace of suit 2 on goal 3", 3, empty, Make(1, 2), Card{}, true},
        {"ace of suit 2 on goal 1", 1, empty, Make(1, 2), Card{}, false},
        {"ace of suit 2 on goal 4", 4, empty, Make(1, 2), Card{}, false},
        {"two on an empty goal", 1, empty, Make(2, 0), Card{}, false},
        {"two on its ace", 1, holdsAce, Make(2, 0), Make(1, 0), true},
        {"three on its ace", 1, holdsAce, Make(3, 0), Make(1, 0), false},
        {"two of another suit", 1, holdsAce, Make(2, 1), Make(1, 0), false},
        {"face-down two on its ace", 1, holdsAce, Make(2, 0, StateFaceDown), Make(1, 0), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextOfGoalSuit(c.goal, c.target, c.c, c.top), c.fits) << c.what;
    EXPECT_EQ(GoalForSuit(Make(5, 3)), 4);
    EXPECT_TRUE(NextOnItsGoal(Make(1, 1), Card{}));
    EXPECT_FALSE(NextOnItsGoal(Make(2, 1), Card{}));
}

TEST(RulesPredicates, CardRectangleExcludesTheRightEdgeAndIncludesTheBottom) {
    EXPECT_TRUE(InCardRect(100, 30, 100, 30));
    EXPECT_TRUE(InCardRect(100, 30, 163, 134));
    EXPECT_FALSE(InCardRect(100, 30, 164, 40));
    EXPECT_FALSE(InCardRect(100, 30, 99, 40));
    EXPECT_FALSE(InCardRect(100, 30, 120, 29));
    EXPECT_FALSE(InCardRect(100, 30, 120, 135));
    // Sending from stock and waste counts both edges.
    EXPECT_TRUE(InSendRect(100, 30, 164, 134));
    EXPECT_FALSE(InSendRect(100, 30, 165, 40));
}

TEST(RulesPredicates, TableauSlotsAreFourteenPixelBandsAndTheTopCardIsWhole) {
    const Pile p = PileOf(100, 164, 3); // cards at 164, 178, 192; last bottom at 296
    EXPECT_TRUE(InTableauRect(p, 100, 164 + 104 + 42));
    EXPECT_FALSE(InTableauRect(p, 100, 164 + 104 + 43));
    EXPECT_FALSE(InTableauRect(p, 164, 200));
    struct Case {
        int dy, slot;
    } cases[] = {{-1, 0}, {0, 1}, {13, 1}, {14, 2}, {27, 2}, {28, 3}, {131, 3}, {132, 0}, {142, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(TableauSlotAt(p, 164 + c.dy), c.slot) << "dy " << c.dy;
    EXPECT_EQ(TableauSlotAt(PileOf(100, 164, 0), 170), 0);
    EXPECT_EQ(TableauSlotAt(PileOf(100, 164, 1), 164 + 103), 1);
}

TEST(RulesPredicates, DropZonesAreJudgedAroundThePileCorner) {
    const Pile p = PileOf(175, 164, 2);
    EXPECT_TRUE(InTableauDropZone(p, 175 - 37, 164 - 25));
    EXPECT_TRUE(InTableauDropZone(p, 175 + 36, 164 + 14 * 2 + 95));
    EXPECT_FALSE(InTableauDropZone(p, 175 + 37, 200));
    EXPECT_FALSE(InTableauDropZone(p, 175 - 38, 200));
    EXPECT_FALSE(InTableauDropZone(p, 175, 164 - 26));
    EXPECT_FALSE(InTableauDropZone(p, 175, 164 + 14 * 2 + 96));
    Pile goal;
    goal.Reset(400, 30, GoalBound);
    EXPECT_TRUE(InGoalDropZone(goal, 363, 30 - 57));
    EXPECT_TRUE(InGoalDropZone(goal, 436, 30 + 57));
    EXPECT_FALSE(InGoalDropZone(goal, 437, 30));
    EXPECT_FALSE(InGoalDropZone(goal, 400, 30 - 58));
    EXPECT_FALSE(InGoalDropZone(goal, 400, 30 + 58));
}

TEST(RulesPredicates, TheFanPutsTheWasteTopInItsLastShownSlot) {
    TestGame tg;
    Table& t = tg.g().table;
    struct Case {
        uint8_t rule, count, fan;
        int top, back;
    } cases[] = {
        {3, 7, 0, 30, 45}, {3, 7, 1, 15, 30}, {3, 7, 2, 0, 15}, {3, 2, 0, 15, 30},
        {3, 1, 1, 0, 15},  {3, 0, 0, -15, 0}, {1, 7, 2, 0, 0},  {1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        t.Waste.Count = c.count;
        t.WasteFan = c.fan;
        EXPECT_EQ(WasteTopOffset(t, c.rule), c.top)
            << int(c.rule) << "/" << int(c.count) << "/" << int(c.fan);
        EXPECT_EQ(WasteReturnOffset(t, c.rule), c.back) << int(c.rule) << "/" << int(c.count);
    }
}

TEST(RulesPredicates, EventCoordinatesRoundToWholePixelsAndWildOnesStayFarOff) {
    EXPECT_EQ(Pixel(163.4f), 163);
    EXPECT_EQ(Pixel(163.6f), 164);
    EXPECT_EQ(Pixel(-2.6f), -3);
    EXPECT_EQ(Pixel(1e30f), 1000000);
    EXPECT_EQ(Pixel(-1e30f), -1000000);
    EXPECT_EQ(Pixel(std::numeric_limits<float>::quiet_NaN()), -1000000);
}
