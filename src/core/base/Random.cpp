#include "core/base/Random.h"

#include <chrono>
#include <random>

namespace tovarin {
namespace {

uint64_t ClockSeed() {
    return static_cast<uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

std::mt19937_64& Generator() {
    static std::mt19937_64 generator(ClockSeed());
    return generator;
}

}  // namespace

void Randomize() { Generator().seed(ClockSeed()); }

void RandSeed(uint64_t seed) { Generator().seed(seed); }

int Random(int range) {
    // An empty range has no value to pick; the framework answers 0.
    if (range <= 0) {
        return 0;
    }
    std::uniform_int_distribution<int> pick(0, range - 1);
    return pick(Generator());
}

}  // namespace tovarin
