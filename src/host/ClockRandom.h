#pragma once
#include "host/Host.h"
#include <random>

// The game's own generator: a Mersenne twister re-seeded from the clock on request.
class ClockRandom : public RandomSource {
public:
    void Reseed() override;
    double Next() override;

private:
    std::mt19937 engine{std::random_device{}()};
    std::uniform_real_distribution<double> uniform{0.0, 1.0};
};
