// The long soak: a million or more random events of every kind through the real handlers,
// checking the game's invariants after each, one stream in ten its pictures too. Build it in the
// asan tree to run it under the sanitizers:   build/asan/bin/soak [events] [first seed]
#include "Soak.h"
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long events = argc > 1 ? std::atol(argv[1]) : 1000000;
    const unsigned long long first = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    soak::Tally tally;
    for (unsigned long long seed = first; tally.events < events; ++seed) {
        soak::Soak s(seed, seed % 10 == 0, true);
        const std::string broken =
            s.Run(static_cast<int>(std::min(20000L, events - tally.events)), tally);
        if (broken.empty()) continue;
        std::printf("seed %llu broke: %s\n", seed, broken.c_str());
        return 1;
    }
    std::printf("soak: %ld events from seed %llu, no broken invariant; %ld pick-ups, %ld tableau "
                "moves, %ld goal moves\n",
                tally.events, first, tally.pickUps, tally.tableauMoves, tally.goalMoves);
}
