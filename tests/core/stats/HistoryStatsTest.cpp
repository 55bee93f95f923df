#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/stats/HistoryStats.h"
#include "core/stats/StatsText.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

// Heads 1 1 3 1 4, tails 2 5 2 9 2; the other positions hold 9 and 7, so a
// pass that read the wrong position would count nines and sevens.
const std::vector<std::string> kFiveDraws = {"1992777", "1995777", "3992777", "1999777", "4992777"};

const TItemStats& ItemOf(const THistoryStats& stats, TStatDim dim, int item) {
    return stats.Of(dim).at(static_cast<size_t>(item));
}

void ExpectItem(const THistoryStats& stats, TStatDim dim, int item, int hits, double expected,
                int current, int max, double average) {
    const TItemStats& got = ItemOf(stats, dim, item);
    SCOPED_TRACE("dimension " + std::to_string(static_cast<int>(dim)) + " item " +
                 std::to_string(item));
    EXPECT_EQ(got.Item, item);
    EXPECT_EQ(got.Hits, hits);
    EXPECT_DOUBLE_EQ(got.Expected, expected);
    EXPECT_EQ(got.Current, current);
    EXPECT_EQ(got.Max, max);
    EXPECT_DOUBLE_EQ(got.Average, average);
}

class FiveDraws : public ::testing::Test {
protected:
    FiveDraws() { test::AddDraws(net_, kFiveDraws); }
    TCodeNet net_;
};

TEST(StatItems, CountsAndTexts) {
    EXPECT_EQ(ItemCount(TStatDim::Head), 10);
    EXPECT_EQ(ItemCount(TStatDim::Tail), 10);
    EXPECT_EQ(ItemCount(TStatDim::Sum), 19);
    EXPECT_EQ(ItemCount(TStatDim::Code), 100);
    EXPECT_EQ(ItemText(TStatDim::Code, 37), "3xx7");
    EXPECT_EQ(ItemText(TStatDim::Code, 0), "0xx0");
    EXPECT_EQ(ItemText(TStatDim::Code, 90), "9xx0");
    EXPECT_EQ(ItemText(TStatDim::Sum, 18), "18");
    EXPECT_EQ(ItemText(TStatDim::Tail, 0), "0");
}

TEST(StatItems, ItemOfDrawReadsHeadAndTailPositions) {
    TSeq draw;
    draw.SetNum(0, 6);
    draw.SetNum(1, 1);
    draw.SetNum(2, 2);
    draw.SetNum(3, 8);
    draw.SetNum(6, 5);
    EXPECT_EQ(ItemOfDraw(TStatDim::Head, draw), 6);
    EXPECT_EQ(ItemOfDraw(TStatDim::Tail, draw), 8);
    EXPECT_EQ(ItemOfDraw(TStatDim::Sum, draw), 14);
    EXPECT_EQ(ItemOfDraw(TStatDim::Code, draw), 68);
}

TEST_F(FiveDraws, WindowOfAllDraws) {
    const THistoryStats stats = ComputeHistoryStats(net_, 0);
    EXPECT_EQ(stats.Draws, 5);
    EXPECT_EQ(stats.Window.First, 0);
    EXPECT_EQ(stats.Window.Count, 5);
    EXPECT_EQ(stats.FromPeriod, 1);
    EXPECT_EQ(stats.ToPeriod, 5);
    for (const TStatDim dim : kStatDims) {
        EXPECT_EQ(stats.Of(dim).size(), static_cast<size_t>(ItemCount(dim)));
    }
}

TEST_F(FiveDraws, HeadDigits) {
    const THistoryStats stats = ComputeHistoryStats(net_, 0);
    // Never occurs: the whole window is one run.
    ExpectItem(stats, TStatDim::Head, 0, 0, 0.5, 5, 5, 5.0);
    // Rows 0, 1 and 3: runs 0, 0, 1, 1.
    ExpectItem(stats, TStatDim::Head, 1, 3, 0.5, 1, 1, 0.5);
    // Only the middle draw: two runs of two.
    ExpectItem(stats, TStatDim::Head, 3, 1, 0.5, 2, 2, 2.0);
    // Only the last draw: nothing after it, four before.
    ExpectItem(stats, TStatDim::Head, 4, 1, 0.5, 0, 4, 2.0);
    ExpectItem(stats, TStatDim::Head, 9, 0, 0.5, 5, 5, 5.0);
}

TEST_F(FiveDraws, TailDigits) {
    const THistoryStats stats = ComputeHistoryStats(net_, 0);
    // The first and the last draw and the middle one.
    ExpectItem(stats, TStatDim::Tail, 2, 3, 0.5, 0, 1, 0.5);
    ExpectItem(stats, TStatDim::Tail, 5, 1, 0.5, 3, 3, 2.0);
    ExpectItem(stats, TStatDim::Tail, 9, 1, 0.5, 1, 3, 2.0);
    ExpectItem(stats, TStatDim::Tail, 7, 0, 0.5, 5, 5, 5.0);
}

TEST_F(FiveDraws, Sums) {
    const THistoryStats stats = ComputeHistoryStats(net_, 0);
    // Sums 3, 6, 5, 10, 6.
    ExpectItem(stats, TStatDim::Sum, 3, 1, 0.20, 4, 4, 2.0);
    ExpectItem(stats, TStatDim::Sum, 6, 2, 0.35, 0, 2, 1.0);
    ExpectItem(stats, TStatDim::Sum, 10, 1, 0.45, 1, 3, 2.0);
    ExpectItem(stats, TStatDim::Sum, 0, 0, 0.05, 5, 5, 5.0);
    ExpectItem(stats, TStatDim::Sum, 18, 0, 0.05, 5, 5, 5.0);
    // The digits 9 beside the head would give 10 + 9 if positions 1 or 2
    // were read: sum 11 must stay empty.
    ExpectItem(stats, TStatDim::Sum, 11, 0, 0.40, 5, 5, 5.0);
}

// A hundred draws: every expectation is the window × the item's chance, and
// each dimension's expectations add up to the window.
TEST(HistoryStats, ExpectedHitsOfAHundredDraws) {
    TCodeNet net;
    test::AddDraws(net, std::vector<std::string>(100, "5000000"));
    const THistoryStats stats = ComputeHistoryStats(net, 0);
    EXPECT_DOUBLE_EQ(stats.Of(TStatDim::Head)[4].Expected, 10.0);
    EXPECT_DOUBLE_EQ(stats.Of(TStatDim::Code)[55].Expected, 1.0);
    const std::vector<double> sums = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    for (int sum = 0; sum < 19; ++sum) {
        EXPECT_DOUBLE_EQ(stats.Of(TStatDim::Sum)[static_cast<size_t>(sum)].Expected,
                         sums[static_cast<size_t>(sum)])
            << sum;
    }
    for (const TStatDim dim : kStatDims) {
        double total = 0;
        for (const TItemStats& item : stats.Of(dim)) {
            total += item.Expected;
        }
        EXPECT_DOUBLE_EQ(total, 100.0);
    }
}

TEST_F(FiveDraws, Codes) {
    const THistoryStats stats = ComputeHistoryStats(net_, 0);
    ExpectItem(stats, TStatDim::Code, 12, 1, 0.05, 4, 4, 2.0);
    ExpectItem(stats, TStatDim::Code, 42, 1, 0.05, 0, 4, 2.0);
    ExpectItem(stats, TStatDim::Code, 0, 0, 0.05, 5, 5, 5.0);
    ExpectItem(stats, TStatDim::Code, 99, 0, 0.05, 5, 5, 5.0);
    int hits = 0;
    for (const TItemStats& item : stats.Of(TStatDim::Code)) {
        hits += item.Hits;
    }
    EXPECT_EQ(hits, 5);
}

TEST_F(FiveDraws, LastThreeDraws) {
    const THistoryStats stats = ComputeHistoryStats(net_, 3);
    EXPECT_EQ(stats.Window.First, 2);
    EXPECT_EQ(stats.Window.Count, 3);
    EXPECT_EQ(stats.FromPeriod, 3);
    EXPECT_EQ(stats.ToPeriod, 5);
    // Heads 3 1 4: head 1's earlier hits lie outside the window.
    ExpectItem(stats, TStatDim::Head, 1, 1, 0.3, 1, 1, 1.0);
    ExpectItem(stats, TStatDim::Head, 3, 1, 0.3, 2, 2, 1.0);
    // Never out: its omissions count the whole table.
    ExpectItem(stats, TStatDim::Head, 0, 0, 0.3, 5, 5, 3.0);
    ExpectItem(stats, TStatDim::Tail, 2, 2, 0.3, 0, 1, 1.0 / 3.0);
    ExpectItem(stats, TStatDim::Tail, 5, 0, 0.3, 3, 3, 3.0);
}

TEST_F(FiveDraws, LastDrawOnly) {
    const THistoryStats stats = ComputeHistoryStats(net_, 1);
    EXPECT_EQ(stats.FromPeriod, 5);
    EXPECT_EQ(stats.ToPeriod, 5);
    ExpectItem(stats, TStatDim::Head, 4, 1, 0.1, 0, 0, 0.0);
    ExpectItem(stats, TStatDim::Head, 1, 0, 0.1, 1, 1, 1.0);
}

TEST_F(FiveDraws, WindowLargerThanTableIsTheTable) {
    const THistoryStats all = ComputeHistoryStats(net_, 0);
    for (const int last : {5, 6, 1000000}) {
        const THistoryStats stats = ComputeHistoryStats(net_, last);
        EXPECT_EQ(stats.Window.First, 0);
        EXPECT_EQ(stats.Window.Count, 5);
        EXPECT_EQ(stats.ToPeriod, 5);
        for (const TStatDim dim : kStatDims) {
            for (int item = 0; item < ItemCount(dim); ++item) {
                EXPECT_EQ(ItemOf(stats, dim, item).Hits, ItemOf(all, dim, item).Hits);
                EXPECT_EQ(ItemOf(stats, dim, item).Max, ItemOf(all, dim, item).Max);
                EXPECT_DOUBLE_EQ(ItemOf(stats, dim, item).Expected,
                                 ItemOf(all, dim, item).Expected);
            }
        }
    }
}

// Omissions are draws since the item last came out, whatever the window:
// the run that reaches into the window counts whole, a run that ends
// before it does not count.
TEST(HistoryStats, OmissionsCountThroughTheWholeTable) {
    TCodeNet net;
    // Heads 0 5 5 5 5 0 5 5.
    test::AddDraws(net, {"0000000", "5000000", "5000000", "5000000", "5000000", "0000000",
                         "5000000", "5000000"});
    struct Case {
        int last;
        int current;
        int max;
    };
    // Head 0: runs of 4 (rows 1-4) and 2 (rows 6-7).
    for (const Case& c : {Case{1, 2, 2}, Case{3, 2, 2}, Case{4, 2, 4}, Case{8, 2, 4}}) {
        const THistoryStats stats = ComputeHistoryStats(net, c.last);
        SCOPED_TRACE("last " + std::to_string(c.last));
        EXPECT_EQ(ItemOf(stats, TStatDim::Head, 0).Current, c.current);
        EXPECT_EQ(ItemOf(stats, TStatDim::Head, 0).Max, c.max);
        // Never out: the whole table is its one run.
        EXPECT_EQ(ItemOf(stats, TStatDim::Head, 9).Current, 8);
        EXPECT_EQ(ItemOf(stats, TStatDim::Head, 9).Max, 8);
        EXPECT_EQ(ItemOf(stats, TStatDim::Code, 50).Current, 0);
    }
}

TEST(HistoryStats, LastRowsBeforeLooksBackUntilEveryItemIsFound) {
    TCodeNet net;
    // Tails 1 2 1 3.
    test::AddDraws(net, {"0001000", "0002000", "0001000", "0003000"});
    std::vector<int> expected(10, -1);
    expected[1] = 2;
    expected[2] = 1;
    EXPECT_EQ(LastRowsBefore(net, TStatDim::Tail, 3), expected);
    expected[3] = 3;
    EXPECT_EQ(LastRowsBefore(net, TStatDim::Tail, 4), expected);
    EXPECT_EQ(LastRowsBefore(net, TStatDim::Tail, 99), expected);
    EXPECT_EQ(LastRowsBefore(net, TStatDim::Tail, 0), std::vector<int>(10, -1));
}

TEST(HistoryStats, ItemInEveryDraw) {
    TCodeNet net;
    test::AddDraws(net, {"7000000", "7123456", "7999999", "7003000"});
    const THistoryStats stats = ComputeHistoryStats(net, 0);
    ExpectItem(stats, TStatDim::Head, 7, 4, 0.4, 0, 0, 0.0);
    ExpectItem(stats, TStatDim::Head, 6, 0, 0.4, 4, 4, 4.0);
    // Tails 0 3 9 3.
    ExpectItem(stats, TStatDim::Tail, 3, 2, 0.4, 0, 1, 2.0 / 3.0);
    ExpectItem(stats, TStatDim::Tail, 0, 1, 0.4, 3, 3, 1.5);
    ExpectItem(stats, TStatDim::Sum, 16, 1, 4 * 0.03, 1, 2, 1.5);
}

TEST(HistoryStats, EmptyTableGivesZeros) {
    TCodeNet net;
    for (const int last : {0, 1, 30}) {
        const THistoryStats stats = ComputeHistoryStats(net, last);
        EXPECT_EQ(stats.Draws, 0);
        EXPECT_EQ(stats.Window.Count, 0);
        EXPECT_EQ(stats.FromPeriod, 1);
        EXPECT_EQ(stats.ToPeriod, 0);
        for (const TStatDim dim : kStatDims) {
            ASSERT_EQ(stats.Of(dim).size(), static_cast<size_t>(ItemCount(dim)));
            for (int item = 0; item < ItemCount(dim); ++item) {
                ExpectItem(stats, dim, item, 0, 0.0, 0, 0, 0.0);
            }
        }
    }
}

TEST(HistoryStats, LastDrawsOfTable) {
    TCodeNet net;
    test::AddDraws(net, kFiveDraws);
    EXPECT_EQ(LastDraws(net, 0).First, 0);
    EXPECT_EQ(LastDraws(net, 0).Count, 5);
    EXPECT_EQ(LastDraws(net, -4).Count, 5);
    EXPECT_EQ(LastDraws(net, 2).First, 3);
    EXPECT_EQ(LastDraws(net, 2).Count, 2);
    EXPECT_EQ(LastDraws(net, 9).First, 0);
}

// Every item's runs without it add up with its hits to the window, and the
// average is their mean: checked on a longer, irregular table.
TEST(HistoryStats, RunsAndHitsAddUpToTheWindow) {
    TCodeNet net;
    std::vector<std::string> draws;
    unsigned value = 12345;
    for (int i = 0; i < 500; ++i) {
        value = value * 1103515245u + 12345u;
        std::string digits = std::to_string(1000000 + (value >> 8) % 9000000).substr(0, 7);
        draws.push_back(digits);
    }
    test::AddDraws(net, draws);
    const THistoryStats stats = ComputeHistoryStats(net, 321);
    for (const TStatDim dim : kStatDims) {
        int hits = 0;
        for (const TItemStats& item : stats.Of(dim)) {
            hits += item.Hits;
            EXPECT_LE(item.Current, item.Max);
            EXPECT_LE(item.Max, stats.Draws);
            EXPECT_DOUBLE_EQ(item.Average * (item.Hits + 1), 321 - item.Hits);
        }
        EXPECT_EQ(hits, 321);
    }
}

// Heads and tails are all the statistics read: tables of every game with
// the same heads and tails give the same report.
TEST(HistoryStats, EveryGameWithTheSameHeadsAndTailsGivesTheSameReport) {
    TCodeNet seven;
    test::FillGameTable(seven, TGame::Seven, 230);
    for (const int last : {0, 30, 100}) {
        const THistoryStats expected = ComputeHistoryStats(seven, last);
        for (const TGame game : {TGame::Qxc, TGame::Pl5}) {
            TCodeNet net;
            test::FillGameTable(net, game, 230);
            ASSERT_NE(test::DrawTexts(net), test::DrawTexts(seven));
            const THistoryStats stats = ComputeHistoryStats(net, last);
            EXPECT_EQ(StatsCsv(stats), StatsCsv(expected)) << GameName(game) << " " << last;
            EXPECT_EQ(StatsReportLines(stats), StatsReportLines(expected)) << GameName(game);
        }
    }
}

}  // namespace
}  // namespace tovarin
