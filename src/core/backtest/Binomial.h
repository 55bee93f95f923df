#pragma once

#include <cstdint>

namespace tovarin {

// I_x(a, b), the regularized incomplete beta function, for whole a, b > 0
// and 0 <= x <= 1; accurate for a and b up to millions. Computed with the
// four rules of arithmetic only, so every system gives the same bits.
double RegularizedBeta(int64_t a, int64_t b, double x);

// P(X >= successes) for X ~ Bin(trials, probability): 1 for no successes,
// 0 for more successes than trials.
double BinomialUpperTail(int64_t trials, int64_t successes, double probability);

}  // namespace tovarin
