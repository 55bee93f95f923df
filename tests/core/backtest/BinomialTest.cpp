// The chance baseline's tail against values worked out exactly elsewhere
// (rational sums for small cases, 40-digit sums of the terms for a million
// trials).
#include <gtest/gtest.h>

#include <cmath>

#include "core/backtest/Binomial.h"

namespace tovarin {
namespace {

struct TailCase {
    int64_t trials;
    int64_t successes;
    double probability;
    double expected;
};

class BinomialTailTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(BinomialTailTest, MatchesTheExactSum) {
    const TailCase& c = GetParam();
    const double tail = BinomialUpperTail(c.trials, c.successes, c.probability);
    EXPECT_NEAR(tail / c.expected, 1.0, 1e-8)
        << "P(X >= " << c.successes << "), X ~ Bin(" << c.trials << ", " << c.probability
        << ") = " << tail;
}

INSTANTIATE_TEST_SUITE_P(
    KnownValues, BinomialTailTest,
    ::testing::Values(TailCase{10, 8, 0.5, 56.0 / 1024.0},
                      TailCase{100, 68, 0.71, 0.78155816004187362008},
                      TailCase{100, 80, 0.71, 0.027388643512667895023},
                      TailCase{20, 20, 0.3, 3.4867844009999974193e-11}, TailCase{1, 1, 0.71, 0.71},
                      TailCase{50, 3, 0.02, 0.078427748350969063239},
                      TailCase{1000000, 500000, 0.5, 0.50039894218066587504},
                      TailCase{1000000, 300500, 0.3, 0.13786294613395840094},
                      TailCase{1000000, 10300, 0.01, 0.0013631150395317031499},
                      TailCase{1000000, 709000, 0.71, 0.98624857362739990583},
                      TailCase{1000000, 12000, 0.01, 7.4596078504951107868e-85}));

TEST(BinomialTail, NoSuccessNeededIsCertain) {
    EXPECT_EQ(BinomialUpperTail(100, 0, 0.0), 1.0);
    EXPECT_EQ(BinomialUpperTail(100, 0, 0.3), 1.0);
    EXPECT_EQ(BinomialUpperTail(0, 0, 0.3), 1.0);
}

TEST(BinomialTail, MoreSuccessesThanTrialsIsImpossible) {
    EXPECT_EQ(BinomialUpperTail(5, 6, 0.9), 0.0);
}

TEST(BinomialTail, CertainAndImpossibleSingleChances) {
    EXPECT_EQ(BinomialUpperTail(100, 1, 0.0), 0.0);
    EXPECT_EQ(BinomialUpperTail(100, 100, 1.0), 1.0);
}

TEST(BinomialTail, FarTailUnderflowsToZeroWithoutNaN) {
    const double tail = BinomialUpperTail(1000000, 900000, 0.5);
    EXPECT_FALSE(std::isnan(tail));
    EXPECT_EQ(tail, 0.0);
}

TEST(BinomialTail, FallsAsTheHitsGrow) {
    double previous = 1.0;
    for (int64_t hits = 0; hits <= 1000; hits += 50) {
        const double tail = BinomialUpperTail(1000, hits, 0.42);
        EXPECT_LE(tail, previous) << hits;
        EXPECT_GE(tail, 0.0);
        previous = tail;
    }
}

// The chance is printed in full, so every system must reach the same bits:
// these are the Linux build's, checked again in the Windows build.
TEST(BinomialTail, SameBitsOnEverySystem) {
    EXPECT_EQ(BinomialUpperTail(100, 85, 0.9), 0x1.eb93780546801p-1);
    EXPECT_EQ(BinomialUpperTail(360, 40, 0.13), 0x1.c0148203f6379p-1);
    EXPECT_EQ(BinomialUpperTail(1000000, 709000, 0.71), 0x1.f8f592b2e8b7bp-1);
    EXPECT_EQ(BinomialUpperTail(1000000, 12000, 0.01), 0x1.72fbcf4c00035p-280);
}

TEST(RegularizedBeta, EndsAndSymmetry) {
    EXPECT_EQ(RegularizedBeta(2, 3, 0.0), 0.0);
    EXPECT_EQ(RegularizedBeta(2, 3, 1.0), 1.0);
    // I_x(1, 1) = x; I_x(a, b) = 1 - I_(1-x)(b, a).
    EXPECT_NEAR(RegularizedBeta(1, 1, 0.37), 0.37, 1e-15);
    EXPECT_NEAR(RegularizedBeta(7, 3, 0.6) + RegularizedBeta(3, 7, 0.4), 1.0, 1e-14);
}

}  // namespace
}  // namespace tovarin
