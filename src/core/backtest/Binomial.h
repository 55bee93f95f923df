#pragma once

#include <cstdint>

namespace tovarin {

// I_x(a, b), the regularized incomplete beta function, for a, b > 0 and
// 0 <= x <= 1; accurate for a and b up to millions (log-gamma front factor
// and a continued fraction on whichever side converges).
double RegularizedBeta(double a, double b, double x);

// P(X >= successes) for X ~ Bin(trials, probability): 1 for no successes,
// 0 for more successes than trials.
double BinomialUpperTail(int64_t trials, int64_t successes, double probability);

}  // namespace tovarin
