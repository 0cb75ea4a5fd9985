// Long seeded streams of mouse and menu events through the real handlers, with the table's
// invariants checked after every event. A failure names the seed and the last events, and
// PLAY_SOAK_SEED=<n> replays that one stream.
#include "Soak.h"
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using soak::Soak;
using soak::Tally;

namespace {
constexpr int Streams = 21;
constexpr int EventsPerStream = 5000;

uint64_t FirstSeed() {
    const char* s = std::getenv("PLAY_SOAK_SEED");
    return s ? std::strtoull(s, nullptr, 10) : 1;
}
} // namespace

TEST(PlayInvariants, LongRandomEventStreamsKeepEveryCardAndTheHandInShape) {
    const bool one = std::getenv("PLAY_SOAK_SEED") != nullptr;
    const uint64_t first = FirstSeed();
    Tally tally;
    for (uint64_t seed = first; seed < first + (one ? 1 : Streams); ++seed) {
        // One stream draws on real surfaces, shorter: drawing costs far more than the rules.
        const bool pictures = seed % Streams == 1;
        Soak stream(seed, pictures);
        const std::string broken =
            stream.Run(pictures ? EventsPerStream / 5 : EventsPerStream, tally);
        ASSERT_EQ(broken, "") << "seed " << seed << " (replay with PLAY_SOAK_SEED=" << seed << ")";
    }
    EXPECT_GE(tally.events, one ? EventsPerStream / 5 : 100000);
    // The streams must really play, not just click at the table.
    EXPECT_GT(tally.pickUps, tally.events / 20);
    EXPECT_GT(tally.goalMoves, tally.events / 1000);
    EXPECT_GT(tally.tableauMoves, tally.events / 500);
    std::printf("[ soak     ] %ld events, %ld pick-ups, %ld tableau moves, %ld goal moves\n",
                tally.events, tally.pickUps, tally.tableauMoves, tally.goalMoves);
}

// The whole program's events mixed in: menus, option and debug commands (the win with its
// celebration and question, File/Exit and the close box, after which the program starts
// again), keys with the debug phrases, and the two timers.
TEST(PlayInvariants, EveryCommandKeyAndTimerKeepTheGameWhole) {
    Tally tally;
    long restarts = 0;
    constexpr int EverythingStreams = 10;
    for (uint64_t seed = 1000; seed < 1000 + EverythingStreams; ++seed) {
        const bool pictures = seed == 1000;
        Soak stream(seed, pictures, true);
        const std::string broken = stream.Run(pictures ? EventsPerStream / 5 : 2 * EventsPerStream, tally);
        ASSERT_EQ(broken, "") << "seed " << seed;
        restarts += stream.restarts;
    }
    EXPECT_GE(tally.events, 90000);
    EXPECT_GT(restarts, 0);
    EXPECT_GT(tally.goalMoves, tally.events / 1000);
}
