#include "TestHost.h"
#include "drawing/CardFaces.h"
#include "game/Deck.h"
#include <gtest/gtest.h>

TEST(Deck, Smoke) {
    TestGame t;
    BuildCardFaces(t.g());
    DealCards(t.g());
    EXPECT_EQ(t.g().table.Stock.Count, 24);
}
