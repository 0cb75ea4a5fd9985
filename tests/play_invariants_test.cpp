// Long seeded streams of events through the real handlers, with the game's invariants (and, in
// one stream of each kind, the pictures) checked after every event: mouse streams, then streams
// with every command, key and timer of the program. PLAY_SOAK_SEED=<n> replays stream n alone.
#include "Soak.h"
#include <cstdlib>
#include <gtest/gtest.h>

TEST(PlayInvariants, RandomStreamsKeepTheGameWholeAndReallyPlay) {
    const char* only = std::getenv("PLAY_SOAK_SEED");
    const uint64_t first = only ? std::strtoull(only, nullptr, 10) : 1;
    soak::Tally tallies[2];
    long restarts = 0;
    for (uint64_t seed = first; seed < first + (only ? 1 : 31); ++seed) {
        const bool all = seed > 21, pictures = seed == 1 || seed == 22; // drawing costs far more
        soak::Soak stream(seed, pictures, all);
        const int events = pictures ? 1000 : all ? 10000 : 5000;
        ASSERT_EQ(stream.Run(events, tallies[all]), "") << "seed " << seed;
        restarts += stream.restarts;
    }
    for (const soak::Tally& tally : tallies) { // they really play
        EXPECT_GE(tally.events, only ? 0 : 90000);
        EXPECT_GE(tally.pickUps, tally.events / 20);
        EXPECT_GE(tally.goalMoves, tally.events / 1000);
        EXPECT_GE(tally.tableauMoves, tally.events / 500);
    }
    EXPECT_GT(restarts, only ? -1 : 0);
}
