#include "core/ledger/PoissonBinomial.h"

#include <cstddef>
#include <limits>

namespace tovarin {
namespace {

// Subnormal numbers would slow every step that touches them, and are far
// below anything shown.
double Flush(double value) { return value < std::numeric_limits<double>::min() ? 0.0 : value; }

// The chance of each count 0..last of successes (or of failures) after all
// the trials; with lumpLast the last state holds every count from last on,
// otherwise counts beyond last are dropped. Only sums of products: nothing
// is subtracted but each trial's 1 - chance, so a small tail keeps its
// digits.
std::vector<double> CountChances(const std::vector<double>& chances, bool countFailures,
                                 size_t last, bool lumpLast) {
    std::vector<double> state(last + 1, 0.0);
    state[0] = 1.0;
    size_t reach = 0;  // the highest count reached so far
    for (const double chance : chances) {
        const double counted = countFailures ? 1.0 - chance : chance;
        const double other = countFailures ? chance : 1.0 - chance;
        if (reach < last) {
            ++reach;
        }
        for (size_t j = reach; j > 0; --j) {
            const double stay = lumpLast && j == last ? state[j] : state[j] * other;
            state[j] = Flush(stay + state[j - 1] * counted);
        }
        state[0] = Flush(state[0] * other);
    }
    return state;
}

}  // namespace

double PoissonBinomialUpperTail(const std::vector<double>& chances, int64_t successes) {
    const auto trials = static_cast<int64_t>(chances.size());
    if (successes <= 0) {
        return 1.0;
    }
    if (successes > trials) {
        return 0.0;
    }
    // At least h successes is at most n - h failures: the shorter of the
    // two counts is followed.
    const auto failuresAllowed = static_cast<size_t>(trials - successes);
    if (failuresAllowed < static_cast<size_t>(successes)) {
        double sum = 0.0;
        for (const double p : CountChances(chances, true, failuresAllowed, false)) {
            sum += p;
        }
        return sum;
    }
    return CountChances(chances, false, static_cast<size_t>(successes), true).back();
}

}  // namespace tovarin
