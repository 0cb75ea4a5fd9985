#include "host/ClockRandom.h"
#include <chrono>

void ClockRandom::Reseed() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    engine.seed(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
}

double ClockRandom::Next() {
    const double u = uniform(engine);
    return u < 1.0 ? u : 0.0; // some library versions can round up to 1.0
}
