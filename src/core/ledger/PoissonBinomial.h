#pragma once

#include <cstdint>
#include <vector>

namespace tovarin {

// P(X >= successes) for X the number of successes of independent trials
// with the given chances (the Poisson binomial distribution): 1 for no
// successes, 0 for more successes than trials. Exact up to the rounding of
// doubles: a convolution over the trials of min(successes, failures + 1)
// states, so O(trials x that) steps, with sums and products only, so every
// system gives the same bits. A state below the smallest normal double is
// taken as 0.
double PoissonBinomialUpperTail(const std::vector<double>& chances, int64_t successes);

}  // namespace tovarin
