// Every figure of a backtest on small cases worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "BacktestTestSupport.h"
#include "core/backtest/Backtest.h"
#include "core/backtest/BacktestText.h"

namespace tovarin {
namespace {

using test::BacktestBench;

std::vector<int> ErrorPeriods(const TBacktestReport& report) {
    std::vector<int> periods;
    for (const TErrorPeriods& entry : report.WinnerErrors) {
        periods.push_back(entry.Periods);
    }
    return periods;
}

TBacktestReport RunAll(BacktestBench& bench) {
    return Backtest(EvaluateProject(bench.project), bench.net, {1, bench.net.Count()});
}

TEST(Backtest, NoCheckedConditionHitsEveryPeriod) {
    BacktestBench bench;
    bench.Add(2, "3", true, false);
    bench.AddWinners({37, 0, 99, 37});
    const TBacktestReport report = RunAll(bench);
    EXPECT_EQ(report.Range.From, 1);
    EXPECT_EQ(report.Range.To, 4);
    EXPECT_EQ(report.Checked, 0);
    EXPECT_EQ(report.Tolerance, 1);
    const TBacktestResult& r = report.Result;
    EXPECT_EQ(r.Codes, 100);
    EXPECT_EQ(r.Hits, 4);
    EXPECT_DOUBLE_EQ(r.Rate, 1.0);
    EXPECT_DOUBLE_EQ(r.Baseline, 1.0);
    ASSERT_TRUE(r.Lift.has_value());
    EXPECT_DOUBLE_EQ(*r.Lift, 1.0);
    EXPECT_DOUBLE_EQ(r.PValue, 1.0);
    EXPECT_EQ(r.LongestMissRun, 0);
    EXPECT_EQ(r.CurrentMissRun, 0);
    EXPECT_EQ(ErrorPeriods(report), (std::vector<int>{0, 4}));
    EXPECT_EQ(report.WinnerErrors[0].Error, -1);
    ASSERT_EQ(report.ToleranceCurve.size(), 1U);
    EXPECT_EQ(report.ToleranceCurve[0].Codes, 100);
    EXPECT_EQ(report.ToleranceCurve[0].Hits, 4);
    EXPECT_TRUE(report.Conditions.empty());
    ASSERT_EQ(report.Groups.size(), 2U);
    EXPECT_EQ(report.Groups[0].Size, 40);
    EXPECT_EQ(report.Groups[0].Codes, 40);
    EXPECT_DOUBLE_EQ(report.Groups[0].ExpectedHits, 1.6);
    EXPECT_DOUBLE_EQ(report.Groups[1].ExpectedHits, 1.2);
}

TEST(Backtest, AllAssuredConditions) {
    BacktestBench bench;
    bench.Add(1, "1,2", true);  // heads 1 and 2: 20 codes
    bench.Add(4, "0", true);    // no tail 0: 90 codes
    bench.Configure([](TPrjOptions& o) { o.Middle = false; });
    bench.AddWinners({10, 14, 29, 30, 53});
    const TBacktestReport report = RunAll(bench);
    const TBacktestResult& r = report.Result;
    EXPECT_EQ(r.Codes, 18);
    EXPECT_EQ(r.Hits, 2);
    EXPECT_DOUBLE_EQ(r.Rate, 0.4);
    EXPECT_DOUBLE_EQ(r.Baseline, 0.18);
    EXPECT_DOUBLE_EQ(*r.Lift, 0.4 / 0.18);
    const double q = 0.82;
    EXPECT_NEAR(r.PValue, 1 - std::pow(q, 5) - 5 * 0.18 * std::pow(q, 4), 1e-14);
    EXPECT_EQ(r.LongestMissRun, 2);
    EXPECT_EQ(r.CurrentMissRun, 2);
    EXPECT_EQ(ErrorPeriods(report), (std::vector<int>{3, 2, 0, 0}));
    ASSERT_EQ(report.ToleranceCurve.size(), 3U);
    for (const TTolerancePoint& point : report.ToleranceCurve) {
        EXPECT_EQ(point.Codes, 18) << point.Tolerance;
        EXPECT_EQ(point.Hits, 2) << point.Tolerance;
    }
    ASSERT_EQ(report.Conditions.size(), 2U);
    EXPECT_EQ(report.Conditions[0].Step, 1);
    EXPECT_EQ(report.Conditions[0].Text, "稳上头:[铁]1,2");
    EXPECT_EQ(report.Conditions[0].PassedCodes, 20);
    EXPECT_EQ(report.Conditions[0].WinnerPassed, 3);  // 1xx0 1xx4 2xx9
    EXPECT_EQ(report.Conditions[1].PassedCodes, 90);
    EXPECT_EQ(report.Conditions[1].WinnerPassed, 3);  // 1xx4 2xx9 5xx3
    ASSERT_EQ(report.Groups.size(), 1U);
    EXPECT_EQ(report.Groups[0].Codes, 18);
    EXPECT_DOUBLE_EQ(report.Groups[0].ExpectedHits, 2.0);
}

TEST(Backtest, LargerToleranceCatchesMore) {
    BacktestBench bench;
    bench.Add(1, "1", false);  // head 1
    bench.Add(3, "1", false);  // tail 1
    bench.Configure([](TPrjOptions& o) { o.MissMax = 0; });
    bench.AddWinners({11, 15, 51, 55, 99, 11});
    const TBacktestReport report = RunAll(bench);
    ASSERT_EQ(report.ToleranceCurve.size(), 3U);
    EXPECT_EQ(report.ToleranceCurve[0].Codes, 1);
    EXPECT_EQ(report.ToleranceCurve[0].Hits, 2);
    EXPECT_EQ(report.ToleranceCurve[1].Tolerance, 1);
    EXPECT_EQ(report.ToleranceCurve[1].Codes, 19);
    EXPECT_EQ(report.ToleranceCurve[1].Hits, 4);
    EXPECT_EQ(report.ToleranceCurve[2].Codes, 100);
    EXPECT_EQ(report.ToleranceCurve[2].Hits, 6);
    const TBacktestResult& r = report.Result;
    EXPECT_EQ(r.Codes, 1);
    EXPECT_EQ(r.Hits, 2);
    EXPECT_DOUBLE_EQ(*r.Lift, (2.0 / 6.0) / 0.01);
    EXPECT_NEAR(r.PValue, 1 - std::pow(0.99, 6) - 6 * 0.01 * std::pow(0.99, 5), 1e-14);
    EXPECT_EQ(r.LongestMissRun, 4);
    EXPECT_EQ(r.CurrentMissRun, 0);
    EXPECT_EQ(ErrorPeriods(report), (std::vector<int>{0, 2, 2, 2}));
}

TEST(Backtest, SampledLevelGroupExpectsExactHits) {
    BacktestBench bench;
    bench.Add(1, "0,1,2,3,4,5", true);
    bench.Add(8, "0,1,2", true);
    bench.Add(1, "0,1,2,3", false);
    bench.AddWinners({33, 45, 0, 95, 12, 51});
    const TBacktestReport report = RunAll(bench);
    EXPECT_EQ(report.Result.Codes, 54);
    EXPECT_EQ(report.Result.Hits, 4);
    ASSERT_EQ(report.Groups.size(), 2U);
    EXPECT_EQ(report.Groups[0].Size, 40);
    EXPECT_EQ(report.Groups[0].Codes, 40);
    EXPECT_DOUBLE_EQ(report.Groups[0].ExpectedHits, 2.0 + 2 * (6.0 / 20.0));
    EXPECT_EQ(report.Groups[1].Codes, 30);
    EXPECT_DOUBLE_EQ(report.Groups[1].ExpectedHits, 2 * (30.0 / 34.0));
    EXPECT_EQ(ErrorPeriods(report), (std::vector<int>{2, 2, 2, 0, 0}));
}

TEST(Backtest, EmptyResultHasNoLift) {
    BacktestBench bench;
    bench.Add(1, "", true);  // an empty list passes nothing
    bench.AddWinners({37, 12});
    const TBacktestReport report = RunAll(bench);
    const TBacktestResult& r = report.Result;
    EXPECT_EQ(r.Codes, 0);
    EXPECT_EQ(r.Hits, 0);
    EXPECT_DOUBLE_EQ(r.Rate, 0.0);
    EXPECT_DOUBLE_EQ(r.Baseline, 0.0);
    EXPECT_FALSE(r.Lift.has_value());
    EXPECT_DOUBLE_EQ(r.PValue, 1.0);
    EXPECT_EQ(r.LongestMissRun, 2);
    EXPECT_EQ(r.CurrentMissRun, 2);
    EXPECT_EQ(report.Conditions[0].PassedCodes, 0);
    EXPECT_EQ(report.Groups[0].Codes, 0);
    EXPECT_DOUBLE_EQ(report.Groups[0].ExpectedHits, 0.0);
}

TEST(Backtest, RangeOfOnePeriod) {
    BacktestBench bench;
    bench.Add(2, "3", true);
    bench.AddWinners({37, 12, 45});
    const TEvaluation evaluation = EvaluateProject(bench.project);
    const TBacktestReport report = Backtest(evaluation, bench.net, {2, 2});
    EXPECT_EQ(report.Range.Periods(), 1);
    EXPECT_EQ(report.Result.Hits, 1);
    EXPECT_DOUBLE_EQ(report.Result.Rate, 1.0);
    EXPECT_DOUBLE_EQ(report.Result.PValue, 0.9);
    EXPECT_EQ(report.Result.LongestMissRun, 0);
    const TBacktestReport missed = Backtest(evaluation, bench.net, {1, 1});
    EXPECT_EQ(missed.Result.Hits, 0);
    EXPECT_DOUBLE_EQ(missed.Result.PValue, 1.0);
    EXPECT_EQ(missed.Result.LongestMissRun, 1);
    EXPECT_EQ(missed.Result.CurrentMissRun, 1);
}

TEST(Backtest, OnlyTheRangeCounts) {
    BacktestBench bench;
    bench.Add(2, "3", true);
    bench.AddWinners({37, 37, 12, 45, 37});
    const TBacktestReport report = Backtest(EvaluateProject(bench.project), bench.net, {3, 4});
    EXPECT_EQ(report.Result.Hits, 2);
    EXPECT_EQ(report.Result.LongestMissRun, 0);
    EXPECT_EQ(ErrorPeriods(report), (std::vector<int>{0, 2, 0}));
}

TEST(Backtest, DefaultRangeIsTheLastHundredDraws) {
    TCodeNet net;
    std::vector<std::string> draws(150, "1234567");
    test::AddDraws(net, draws);
    EXPECT_EQ(DefaultRange(net).From, 51);
    EXPECT_EQ(DefaultRange(net).To, 150);
    TCodeNet few;
    test::AddDraws(few, {"1234567", "7654321"});
    EXPECT_EQ(DefaultRange(few).From, 1);
    EXPECT_EQ(DefaultRange(few).To, 2);
}

TEST(Backtest, RefusesRangesTheTableCannotAnswer) {
    BacktestBench bench;
    bench.AddWinners({37, 12, 45});
    const TEvaluation evaluation = EvaluateProject(bench.project);
    for (const TPeriodRange range :
         {TPeriodRange{0, 2}, TPeriodRange{1, 4}, TPeriodRange{3, 2}, TPeriodRange{-5, -1}}) {
        EXPECT_THROW(Backtest(evaluation, bench.net, range), EBacktestRange)
            << range.From << ".." << range.To;
    }
    try {
        Backtest(evaluation, bench.net, {2, 9});
    } catch (const EBacktestRange& error) {
        EXPECT_STREQ(error.what(), "range 2..9 is not within periods 1..3 in order");
    }
}

TEST(Backtest, EmptyTableHasNoDrawsToTest) {
    BacktestBench bench;
    try {
        Backtest(EvaluateProject(bench.project), bench.net, DefaultRange(bench.net));
        FAIL() << "no error";
    } catch (const EBacktestRange&) {
        FAIL() << "a range error instead";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "no draws to test");
    }
}

TEST(Backtest, PeriodDetailNamesWhatBlockedTheWinner) {
    BacktestBench bench;
    bench.Add(1, "1", false);
    bench.Add(3, "1", false);
    bench.Configure([](TPrjOptions& o) { o.MissMax = 0; });
    test::AddDraws(bench.net, {"1201000", "5436589"});
    const TEvaluation evaluation = EvaluateProject(bench.project);
    const TPeriodDetail first = PeriodDetail(evaluation, bench.net, 1);
    EXPECT_EQ(first.Period, 1);
    EXPECT_EQ(first.Draw, "1201000");
    EXPECT_EQ(first.Code, 11);
    EXPECT_EQ(first.Error, 0);
    EXPECT_TRUE(first.Hit);
    EXPECT_TRUE(first.FailedSteps.empty());
    const TPeriodDetail second = PeriodDetail(evaluation, bench.net, 2);
    EXPECT_EQ(second.Draw, "5436589");
    EXPECT_EQ(second.Code, 56);
    EXPECT_EQ(second.Error, 2);
    EXPECT_FALSE(second.Hit);
    EXPECT_EQ(second.FailedSteps, (std::vector<int>{1, 2}));
    EXPECT_THROW(PeriodDetail(evaluation, bench.net, 3), EBacktestRange);
}

TEST(Backtest, RollingHitRatesSlideOverTheRange) {
    BacktestBench bench;
    bench.Add(2, "3", true);
    // hit miss hit hit miss miss
    bench.AddWinners({12, 37, 45, 0, 38, 39});
    const TEvaluation evaluation = EvaluateProject(bench.project);
    const std::vector<double> rates = RollingHitRates(evaluation, bench.net, {1, 6}, 3);
    ASSERT_EQ(rates.size(), 4U);
    EXPECT_DOUBLE_EQ(rates[0], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(rates[1], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(rates[2], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(rates[3], 1.0 / 3.0);
    EXPECT_TRUE(RollingHitRates(evaluation, bench.net, {2, 3}, 3).empty());
    EXPECT_EQ(RollingHitRates(evaluation, bench.net, {4, 6}, 3), (std::vector<double>{1.0 / 3.0}));
}

// A project judges a draw by its head and tail alone: its backtest over a
// 七星彩 or 排列5 table is that over the seven-digit table with the same
// heads and tails, figure for figure.
std::vector<std::string> ReportLines(const TBacktestReport& report, const TEvaluation& evaluation,
                                     const TCodeNet& net) {
    std::vector<std::string> lines;
    WriteBacktestReport(report, evaluation, net, 1, false,
                        [&lines](const std::string& line) { lines.push_back(line); });
    return lines;
}

TEST(Backtest, EveryGameWithTheSameHeadsAndTailsGivesTheSameReport) {
    BacktestBench seven;
    test::FillGameTable(seven.net, TGame::Seven, 120);
    seven.Add(1, "1,2,3,4,5", false);  // heads
    seven.Add(3, "1,3,5,7", true);     // tails
    const TEvaluation evaluation = EvaluateProject(seven.project);
    const TBacktestReport expected = Backtest(evaluation, seven.net, {5, 120});
    const std::vector<std::string> expectedLines = ReportLines(expected, evaluation, seven.net);
    for (const TGame game : {TGame::Qxc, TGame::Pl5}) {
        TCodeNet net;
        test::FillGameTable(net, game, 120);
        const TBacktestReport report = Backtest(evaluation, net, {5, 120});
        EXPECT_EQ(report.Result.Hits, expected.Result.Hits) << GameName(game);
        EXPECT_EQ(ErrorPeriods(report), ErrorPeriods(expected)) << GameName(game);
        EXPECT_EQ(ReportLines(report, evaluation, net), expectedLines) << GameName(game);
        EXPECT_EQ(PeriodDetail(evaluation, net, 60).Code,
                  PeriodDetail(evaluation, seven.net, 60).Code);
    }
}

}  // namespace
}  // namespace tovarin
