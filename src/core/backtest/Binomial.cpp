#include "core/backtest/Binomial.h"

#include <algorithm>
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

// A positive number as a mantissa and a power of two of its own, so that a
// product of a million factors neither overflows nor underflows on the
// way. Multiplication and frexp round alike on every system; the C
// libraries' logarithms and exponentials do not, and the chance is printed
// in full.
class ScaledNumber {
public:
    explicit ScaledNumber(double value) { Scale(value, 0); }

    ScaledNumber& operator*=(double factor) { return Scale(mantissa_ * factor, 0); }
    ScaledNumber& operator*=(const ScaledNumber& other) {
        return Scale(mantissa_ * other.mantissa_, other.exponent_);
    }

    double Value() const {
        // Beyond these the value is 0 or infinite anyway, and ldexp takes an int.
        constexpr int64_t kBeyondDoubles = 4096;
        return std::ldexp(mantissa_,
                          static_cast<int>(std::clamp(exponent_, -kBeyondDoubles, kBeyondDoubles)));
    }

private:
    ScaledNumber& Scale(double product, int64_t exponent) {
        int shift = 0;
        mantissa_ = std::frexp(product, &shift);
        exponent_ += exponent + shift;
        return *this;
    }

    double mantissa_ = 0;
    int64_t exponent_ = 0;
};

ScaledNumber Power(double base, int64_t exponent) {
    ScaledNumber result(1.0);
    ScaledNumber square(base);
    for (; exponent > 0; exponent >>= 1) {
        if (exponent & 1) {
            result *= square;
        }
        square *= square;
    }
    return result;
}

// C(n, k), one factor (n - k + j) / j at a time: each is a correctly
// rounded division of whole numbers.
ScaledNumber Binomial(int64_t n, int64_t k) {
    k = std::min(k, n - k);
    ScaledNumber result(1.0);
    for (int64_t j = 1; j <= k; ++j) {
        result *= static_cast<double>(n - k + j) / static_cast<double>(j);
    }
    return result;
}

}  // namespace

double RegularizedBeta(int64_t a, int64_t b, double x) {
    if (x <= 0.0) {
        return 0.0;
    }
    if (x >= 1.0) {
        return 1.0;
    }
    // x^a (1-x)^b / B(a, b) divided by a is C(a+b-1, a) x^a (1-x)^b, and
    // divided by b it is C(a+b-1, b) x^a (1-x)^b.
    ScaledNumber powers = Power(x, a);
    powers *= Power(1.0 - x, b);
    const auto da = static_cast<double>(a);
    const auto db = static_cast<double>(b);
    if (x < (da + 1.0) / (da + db + 2.0)) {
        ScaledNumber front = Binomial(a + b - 1, a);
        front *= powers;
        return front.Value() * BetaFraction(da, db, x);
    }
    ScaledNumber front = Binomial(a + b - 1, b);
    front *= powers;
    return 1.0 - front.Value() * BetaFraction(db, da, 1.0 - x);
}

double BinomialUpperTail(int64_t trials, int64_t successes, double probability) {
    if (successes <= 0) {
        return 1.0;
    }
    if (successes > trials) {
        return 0.0;
    }
    // P(X >= h) = I_p(h, n - h + 1).
    return RegularizedBeta(successes, trials - successes + 1, probability);
}

}  // namespace tovarin
