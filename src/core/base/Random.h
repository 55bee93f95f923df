#pragma once

#include <cstdint>

namespace tovarin {

// The one pseudo-random generator of the process. It starts seeded from
// the clock; tests and --seed fix the seed to get repeatable choices.
void Randomize();
void RandSeed(uint64_t seed);
// A uniformly distributed integer 0..range-1; 0 when range is not positive.
int Random(int range);

}  // namespace tovarin
