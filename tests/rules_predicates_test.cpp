// Hit tests and drop zones at their edges, and event coordinates: the move rules and the fan's
// slots are pinned by real gestures in the gesture table.
#include "model/Rules.h"
#include <gtest/gtest.h>
#include <limits>

TEST(RulesPredicates, HitTestsAndDropZonesEndWhereTheCardsDo) {
    // A card: right edge out, bottom edge in.
    EXPECT_TRUE(InCardRect(100, 30, 100, 30) && InCardRect(100, 30, 163, 134));
    EXPECT_FALSE(InCardRect(100, 30, 164, 40) || InCardRect(100, 30, 99, 40));
    EXPECT_FALSE(InCardRect(100, 30, 120, 29) || InCardRect(100, 30, 120, 135));
    Pile p, q, goal, none;
    p.Reset(100, 164, TableauBound), p.Count = 3; // cards at 164, 178, 192; the last ends at 296
    q.Reset(175, 164, TableauBound), q.Count = 2;
    goal.Reset(400, 30, GoalBound), none.Reset(100, 164, TableauBound);
    EXPECT_TRUE(InTableauRect(p, 100, 164 + 104 + 42));
    EXPECT_FALSE(InTableauRect(p, 100, 164 + 104 + 43) || InTableauRect(p, 164, 200));
    for (const auto& [dy, slot] :
         {std::pair{-1, 0}, {0, 1}, {13, 1}, {14, 2}, {27, 2}, {28, 3}, {131, 3}, {132, 0}})
        EXPECT_EQ(TableauSlotAt(p, 164 + dy), slot) << "dy " << dy;
    EXPECT_EQ(TableauSlotAt(none, 170), 0);
    // Judged by the lowest carried card's corner around the pile's.
    EXPECT_TRUE(InTableauDropZone(q, 175 - 37, 164 - 25) &&
                InTableauDropZone(q, 211, 164 + 28 + 95));
    EXPECT_FALSE(InTableauDropZone(q, 175 + 37, 200) || InTableauDropZone(q, 175 - 38, 200));
    EXPECT_FALSE(InTableauDropZone(q, 175, 164 - 26) || InTableauDropZone(q, 175, 164 + 28 + 96));
    EXPECT_TRUE(InGoalDropZone(goal, 363, 30 - 57) && InGoalDropZone(goal, 436, 30 + 57));
    EXPECT_FALSE(InGoalDropZone(goal, 437, 30) || InGoalDropZone(goal, 362, 30));
    EXPECT_FALSE(InGoalDropZone(goal, 400, 30 - 58) || InGoalDropZone(goal, 400, 30 + 58));
}
TEST(RulesPredicates, EventCoordinatesRoundToWholePixelsAndWildOnesStayFarOff) {
    EXPECT_EQ(Pixel(163.4f), 163);
    EXPECT_EQ(Pixel(163.6f), 164);
    EXPECT_EQ(Pixel(-2.6f), -3);
    EXPECT_EQ(Pixel(1e30f), 1000000);
    EXPECT_EQ(Pixel(std::numeric_limits<float>::quiet_NaN()), -1000000);
}
