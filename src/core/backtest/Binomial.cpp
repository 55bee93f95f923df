#include "core/backtest/Binomial.h"

#include <cmath>
#include <limits>

namespace tovarin {
namespace {

// The continued fraction of I_x(a, b) (modified Lentz). It converges fast
// for x below (a + 1) / (a + b + 2), in about sqrt(max(a, b)) terms.
double BetaFraction(double a, double b, double x) {
    constexpr double kTiny =
        std::numeric_limits<double>::min() / std::numeric_limits<double>::epsilon();
    constexpr double kEpsilon = 1e-16;
    constexpr int kMaxTerms = 1000000;
    auto notTiny = [](double value) { return std::fabs(value) < kTiny ? kTiny : value; };
    double c = 1.0;
    double d = 1.0 / notTiny(1.0 - (a + b) * x / (a + 1.0));
    double fraction = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        const double even = m * (b - m) * x / ((a + 2.0 * m - 1.0) * (a + 2.0 * m));
        d = 1.0 / notTiny(1.0 + even * d);
        c = notTiny(1.0 + even / c);
        fraction *= d * c;
        const double odd = -(a + m) * (a + b + m) * x / ((a + 2.0 * m) * (a + 2.0 * m + 1.0));
        d = 1.0 / notTiny(1.0 + odd * d);
        c = notTiny(1.0 + odd / c);
        const double step = d * c;
        fraction *= step;
        if (std::fabs(step - 1.0) < kEpsilon) {
            break;
        }
    }
    return fraction;
}

}  // namespace

double RegularizedBeta(double a, double b, double x) {
    if (x <= 0.0) {
        return 0.0;
    }
    if (x >= 1.0) {
        return 1.0;
    }
    // x^a (1-x)^b / B(a, b), kept in logarithms so that a million trials
    // neither overflow nor underflow before the end.
    const double logFront =
        std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
    const double front = std::exp(logFront);
    if (x < (a + 1.0) / (a + b + 2.0)) {
        return front * BetaFraction(a, b, x) / a;
    }
    return 1.0 - front * BetaFraction(b, a, 1.0 - x) / b;
}

double BinomialUpperTail(int64_t trials, int64_t successes, double probability) {
    if (successes <= 0) {
        return 1.0;
    }
    if (successes > trials) {
        return 0.0;
    }
    // P(X >= h) = I_p(h, n - h + 1).
    return RegularizedBeta(static_cast<double>(successes),
                           static_cast<double>(trials - successes + 1), probability);
}

}  // namespace tovarin
