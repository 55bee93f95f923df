#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/stats/HistoryStats.h"
#include "core/stats/Trend.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

using Rows = std::vector<std::vector<int>>;

Rows WalkAll(const TCodeNet& net, TStatDim dim, TDrawWindow window) {
    TTrendWalk walk(net, dim, window);
    Rows rows;
    for (int row = window.First; row < window.First + window.Count; ++row) {
        walk.Step(net.GetSeq(row));
        rows.push_back(walk.Omissions());
    }
    return rows;
}

// An irregular table whose heads and tails cover every digit.
void FillIrregular(TCodeNet& net, int count) {
    std::vector<std::string> draws;
    unsigned value = 777;
    for (int i = 0; i < count; ++i) {
        value = value * 1664525u + 1013904223u;
        std::string digits;
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            digits += static_cast<char>('0' + (value >> (4 + 3 * pos)) % 10);
        }
        draws.push_back(digits);
    }
    test::AddDraws(net, draws);
}

TEST(TrendWalk, HeadsOfFiveDraws) {
    TCodeNet net;
    // Heads 1 1 3 1 4.
    test::AddDraws(net, {"1992777", "1995777", "3992777", "1999777", "4992777"});
    const Rows rows = WalkAll(net, TStatDim::Head, LastDraws(net, 0));
    const Rows expected = {
        {1, 0, 1, 1, 1, 1, 1, 1, 1, 1}, {2, 0, 2, 2, 2, 2, 2, 2, 2, 2},
        {3, 1, 3, 0, 3, 3, 3, 3, 3, 3}, {4, 0, 4, 1, 4, 4, 4, 4, 4, 4},
        {5, 1, 5, 2, 0, 5, 5, 5, 5, 5},
    };
    EXPECT_EQ(rows, expected);
}

TEST(TrendWalk, SumsOfTheLastTwoDraws) {
    TCodeNet net;
    // Sums 3, 6, 18, 0.
    test::AddDraws(net, {"1002000", "3003000", "9009000", "0000999"});
    const Rows rows = WalkAll(net, TStatDim::Sum, LastDraws(net, 2));
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(rows[0].size(), 19u);
    // The omissions count the draws before the window too; an item not yet
    // out stands at the number of draws so far.
    EXPECT_EQ(rows[0][18], 0);
    EXPECT_EQ(rows[0][3], 2);
    EXPECT_EQ(rows[0][6], 1);
    EXPECT_EQ(rows[0][0], 3);
    EXPECT_EQ(rows[1][0], 0);
    EXPECT_EQ(rows[1][18], 1);
    EXPECT_EQ(rows[1][6], 2);
    EXPECT_EQ(rows[1][3], 3);
    EXPECT_EQ(rows[1][5], 4);
}

TEST(TrendWalk, EmptyWindowGivesNoRows) {
    TCodeNet net;
    EXPECT_TRUE(WalkAll(net, TStatDim::Tail, LastDraws(net, 0)).empty());
    TTrendIndex index(net, TStatDim::Tail, LastDraws(net, 0));
    EXPECT_TRUE(index.Lines(0, 40).empty());
}

// The trend's last row is every item's current omission, and the largest
// value of a column is its longest run.
TEST(TrendWalk, AgreesWithTheStatistics) {
    TCodeNet net;
    FillIrregular(net, 400);
    for (const TStatDim dim : {TStatDim::Head, TStatDim::Tail, TStatDim::Sum}) {
        const THistoryStats stats = ComputeHistoryStats(net, 250);
        const Rows rows = WalkAll(net, dim, stats.Window);
        ASSERT_EQ(rows.size(), 250u);
        for (int item = 0; item < ItemCount(dim); ++item) {
            const TItemStats& want = stats.Of(dim)[static_cast<size_t>(item)];
            int longest = 0;
            int zeros = 0;
            for (const std::vector<int>& row : rows) {
                longest = std::max(longest, row[static_cast<size_t>(item)]);
                zeros += row[static_cast<size_t>(item)] == 0 ? 1 : 0;
            }
            EXPECT_EQ(rows.back()[static_cast<size_t>(item)], want.Current);
            EXPECT_EQ(longest, want.Max);
            EXPECT_EQ(zeros, want.Hits);
        }
    }
}

TEST(TrendIndex, LinesMatchTheFullWalkAcrossMarks) {
    TCodeNet net;
    FillIrregular(net, 3 * TTrendIndex::kMarkStep + 17);
    const TDrawWindow window = LastDraws(net, 2 * TTrendIndex::kMarkStep + 40);
    const Rows all = WalkAll(net, TStatDim::Sum, window);
    const TTrendIndex index(net, TStatDim::Sum, window);
    for (const int first : {0, 1, TTrendIndex::kMarkStep - 3, TTrendIndex::kMarkStep,
                            2 * TTrendIndex::kMarkStep + 30}) {
        const Rows lines = index.Lines(first, 20);
        const int end = std::min(first + 20, window.Count);
        ASSERT_EQ(lines.size(), static_cast<size_t>(end - first)) << first;
        for (int line = first; line < end; ++line) {
            EXPECT_EQ(lines[static_cast<size_t>(line - first)], all[static_cast<size_t>(line)])
                << "line " << line;
        }
    }
}

TEST(TrendIndex, LinesOutsideTheWindowAreClipped) {
    TCodeNet net;
    FillIrregular(net, 10);
    const TTrendIndex index(net, TStatDim::Head, LastDraws(net, 0));
    EXPECT_TRUE(index.Lines(10, 5).empty());
    EXPECT_TRUE(index.Lines(3, 0).empty());
    EXPECT_EQ(index.Lines(-2, 4).size(), 2u);
    EXPECT_EQ(index.Lines(8, 100).size(), 2u);
}

}  // namespace
}  // namespace tovarin
