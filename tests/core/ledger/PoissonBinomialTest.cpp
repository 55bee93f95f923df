// The exact chance of at least h hits among trials of different chances,
// against rational sums over every outcome.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/backtest/Binomial.h"
#include "core/ledger/PoissonBinomial.h"

namespace tovarin {
namespace {

// P(X >= h) for chances n_i / 100, as the exact fraction sum / 100^trials:
// every outcome's product of n_i or 100 - n_i, in whole numbers (exact in
// 64 bits for up to nine trials).
long double ExactTail(const std::vector<int>& hundredths, int hits) {
    const auto trials = static_cast<uint32_t>(hundredths.size());
    uint64_t sum = 0;
    for (uint32_t outcome = 0; outcome < (1U << trials); ++outcome) {
        if (std::popcount(outcome) < hits) {
            continue;
        }
        uint64_t product = 1;
        for (uint32_t i = 0; i < trials; ++i) {
            const int n = hundredths[i];
            product *= static_cast<uint64_t>((outcome >> i) & 1U ? n : 100 - n);
        }
        sum += product;
    }
    return static_cast<long double>(sum) / std::pow(100.0L, static_cast<long double>(trials));
}

TEST(PoissonBinomial, MatchesTheRationalSums) {
    const std::vector<std::vector<int>> sets = {
        {},
        {50},
        {0},
        {100},
        {37, 37, 37},
        {1, 99, 40, 7, 63, 100, 0, 25, 88},
        {12, 45, 45, 30, 61, 3, 77, 50, 20},
        {100, 100, 100, 100, 5},
    };
    for (const std::vector<int>& set : sets) {
        for (int hits = -1; hits <= static_cast<int>(set.size()) + 1; ++hits) {
            const long double exact = ExactTail(set, std::max(hits, 0));
            std::vector<double> chances;
            for (const int n : set) {
                chances.push_back(n / 100.0);
            }
            const double tail = PoissonBinomialUpperTail(chances, hits);
            EXPECT_NEAR(tail, static_cast<double>(exact), 1e-14 * static_cast<double>(exact))
                << set.size() << " trials, " << hits << " hits";
        }
    }
}

// With one chance for every trial it is the binomial tail, far tails
// (1.9e-24 for 80 hits in 2000 at 1%) included.
TEST(PoissonBinomial, EqualChancesGiveTheBinomialTail) {
    struct Case {
        int trials;
        int hits;
        int hundredths;
    };
    for (const Case c : {Case{200, 100, 47}, Case{1000, 330, 30}, Case{1000, 50, 4},
                         Case{500, 480, 90}, Case{2000, 80, 1}}) {
        const std::vector<double> chances(static_cast<size_t>(c.trials), c.hundredths / 100.0);
        const double expected = BinomialUpperTail(c.trials, c.hits, c.hundredths / 100.0);
        EXPECT_NEAR(PoissonBinomialUpperTail(chances, c.hits) / expected, 1.0, 1e-11)
            << c.trials << " trials, " << c.hits << " hits";
    }
}

// The chance is shown and written in full: every system must reach the
// same bits. These are the Linux build's, checked again in the Windows one.
TEST(PoissonBinomial, SameBitsOnEverySystem) {
    std::vector<double> chances(112, 0.47);
    chances.insert(chances.end(), 6, 0.46);
    EXPECT_EQ(PoissonBinomialUpperTail(chances, 61), 0x1.631599d6882d7p-3);
    std::vector<double> mixed;
    for (int i = 0; i < 500; ++i) {
        mixed.push_back((i * 37 % 101) / 100.0);
    }
    EXPECT_EQ(PoissonBinomialUpperTail(mixed, 240), 0x1.c057daa475b18p-1);
    EXPECT_EQ(PoissonBinomialUpperTail(mixed, 260), 0x1.2cc2336a42e65p-3);
    EXPECT_EQ(PoissonBinomialUpperTail(mixed, 300), 0x1.7b01d509d6196p-26);
}

}  // namespace
}  // namespace tovarin
