// Long seeded streams of events through the real handlers, with the game's invariants (and, in
// one stream of each kind, the pictures) checked after every event. A failure names the seed;
// PLAY_SOAK_SEED=<n> replays that one plain stream.
#include "Soak.h"
#include <cstdlib>
#include <gtest/gtest.h>

TEST(PlayInvariants, RandomStreamsKeepTheGameWholeAndReallyPlay) {
    const char* only = std::getenv("PLAY_SOAK_SEED");
    const uint64_t first = only ? std::strtoull(only, nullptr, 10) : 1;
    soak::Tally plain, all;
    long restarts = 0;
    // Plain mouse streams, then streams with every command, key and timer of the program.
    for (uint64_t seed = first; seed < first + (only ? 1 : 21); ++seed) {
        soak::Soak stream(seed, seed % 21 == 1); // drawing costs far more than the rules
        ASSERT_EQ(stream.Run(seed % 21 == 1 ? 1000 : 5000, plain), "") << "seed " << seed;
    }
    for (uint64_t seed = 1000; seed < (only ? 1000 : 1010); ++seed) {
        soak::Soak stream(seed, seed == 1000, true);
        ASSERT_EQ(stream.Run(seed == 1000 ? 1000 : 10000, all), "") << "everything, seed " << seed;
        restarts += stream.restarts;
    }
    if (only) return;
    for (const soak::Tally& tally : {plain, all}) {
        EXPECT_GE(tally.events, 90000);
        EXPECT_GT(tally.pickUps, tally.events / 20);
        EXPECT_GT(tally.goalMoves, tally.events / 1000);
        EXPECT_GT(tally.tableauMoves, tally.events / 500);
    }
    EXPECT_GT(restarts, 0);
}
