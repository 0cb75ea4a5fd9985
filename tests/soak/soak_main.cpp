// The long soak: a million or more random events of every kind through the real handlers,
// checking the game's invariants after each. Build it in the asan tree to run it under the
// sanitizers:   build/asan/bin/soak [events] [first seed]
#include "Soak.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long events = argc > 1 ? std::atol(argv[1]) : 1000000;
    const uint64_t first = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    constexpr long PerStream = 20000;
    soak::Tally tally;
    long restarts = 0;
    const auto start = std::chrono::steady_clock::now();
    for (uint64_t seed = first; tally.events < events; ++seed) {
        const bool pictures = seed % 10 == 0; // one stream in ten draws every pixel
        soak::Soak s(seed, pictures, true);
        const std::string broken = s.Run(static_cast<int>(std::min(PerStream, events - tally.events)), tally);
        restarts += s.restarts;
        if (!broken.empty()) {
            std::printf("seed %llu broke: %s\n", static_cast<unsigned long long>(seed), broken.c_str());
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %ld events from seed %llu, 0 invariant violations, %.0f events/s\n"
                "      %ld pick-ups, %ld tableau moves, %ld goal moves, %ld restarts\n",
                tally.events, static_cast<unsigned long long>(first), double(tally.events) / seconds,
                tally.pickUps, tally.tableauMoves, tally.goalMoves, restarts);
    return 0;
}
