// One evaluation of a project: the errors the filtering run gives, the
// steps, the groups' exact chances and the explanation of a code.
#include <gtest/gtest.h>

#include <set>

#include "BacktestTestSupport.h"
#include "core/backtest/Evaluation.h"
#include "core/base/Random.h"
#include "core/engine/ReportPane.h"
#include "core/settings/AppOptions.h"

namespace tovarin {
namespace {

using test::BacktestBench;

class CollectingPane : public TReportPane {
public:
    void ReplaceLines(const std::vector<std::string>& lines) override { Lines = lines; }
    std::vector<std::string> Lines;
};

// The codes a group's report listing shows, from its title line on.
std::set<TCode> ListedGroup(const std::vector<std::string>& lines, const std::string& title) {
    std::set<TCode> codes;
    size_t at = 0;
    while (at < lines.size() && lines[at].rfind(title, 0) != 0) {
        ++at;
    }
    for (++at; at < lines.size() && !lines[at].empty(); ++at) {
        for (size_t i = 0; i + 4 <= lines[at].size(); i += 5) {
            codes.insert((lines[at][i] - '0') * 10 + (lines[at][i + 3] - '0'));
        }
    }
    return codes;
}

// Level 0 of 34 codes (heads 0-3 without the sums 0-2), level 1 of 20
// (heads 4 and 5), everything else failed.
void BuildSampledLevelProject(BacktestBench& bench) {
    bench.Add(1, "0,1,2,3,4,5", true);
    bench.Add(8, "0,1,2", true);
    bench.Add(1, "0,1,2,3", false);
}

TEST(Evaluation, MatchesTheFilteringRun) {
    BacktestBench bench;
    bench.Add(7, "5,6,7,8,9,10", false);
    bench.Add(2, "3", true);
    bench.Add(5, "1,2", false, false);  // unchecked: no step
    bench.Add(9, "12与34相配", false);
    bench.Configure([](TPrjOptions& o) { o.MissMax = 2; });
    TAppOptions settings;
    bench.project.CalcAll(settings, nullptr);

    const TEvaluation evaluation = EvaluateProject(bench.project);
    for (TCode code = 0; code < 100; ++code) {
        EXPECT_EQ(evaluation.Errors[static_cast<size_t>(code)],
                  bench.project.ResultCodes().GetMiss(code))
            << CodeToStr(code);
    }
    EXPECT_EQ(evaluation.Tolerance, 2);
    ASSERT_EQ(evaluation.Checked(), 3);
    EXPECT_EQ(evaluation.Steps[0].Text, "头尾合:[容]5,6,7,8,9,10");
    EXPECT_EQ(evaluation.Steps[1].Text, "不上头:[铁]3");
    EXPECT_EQ(evaluation.Steps[2].Step, 3);
    EXPECT_EQ(evaluation.Steps[2].Text, "稳搭配:[容]或者12与34相配");
    EXPECT_EQ(evaluation.KeptCount(), bench.project.ResultCodes().ValidCount());
}

TEST(Evaluation, LeavesTheLastRunAlone) {
    BacktestBench bench;
    bench.AddWinners({37});
    bench.Add(2, "3", true);
    bench.Configure([](TPrjOptions& o) { o.TargetSeq = 1; });
    bench.project.CalcAll(TAppOptions(), nullptr);
    ASSERT_EQ(bench.project.VerifyState(), TSeqPrj::kMiss);
    bench.project.GetBind(0).Checked = false;

    const TEvaluation evaluation = EvaluateProject(bench.project);
    EXPECT_EQ(evaluation.Errors[37], 0);
    EXPECT_EQ(bench.project.ResultCodes().GetMiss(37), -1);
    EXPECT_EQ(bench.project.VerifyState(), TSeqPrj::kMiss);
}

TEST(Evaluation, NoCheckedConditionKeepsEveryCode) {
    BacktestBench bench;
    bench.Add(2, "3", true, false);
    const TEvaluation evaluation = EvaluateProject(bench.project);
    EXPECT_EQ(evaluation.Checked(), 0);
    EXPECT_EQ(evaluation.KeptCount(), 100);
    // Level 0 holds all 100: the 40-group and the 30-group sample it.
    ASSERT_EQ(evaluation.Groups.size(), 2U);
    EXPECT_EQ(evaluation.Groups[0].Size, 40);
    EXPECT_EQ(evaluation.Groups[0].Codes, 40);
    EXPECT_DOUBLE_EQ(evaluation.Groups[0].Chance[55], 0.4);
    EXPECT_EQ(evaluation.Groups[1].Size, 30);
    EXPECT_DOUBLE_EQ(evaluation.Groups[1].Chance[0], 0.3);
}

TEST(Evaluation, SampledLevelGivesSixInTwenty) {
    BacktestBench bench;
    BuildSampledLevelProject(bench);
    const TEvaluation evaluation = EvaluateProject(bench.project);
    ASSERT_EQ(evaluation.Groups.size(), 2U);
    const TGroupChances& large = evaluation.Groups[0];
    EXPECT_EQ(large.Codes, 40);
    EXPECT_DOUBLE_EQ(large.Chance[33], 1.0);  // level 0, taken whole
    EXPECT_DOUBLE_EQ(large.Chance[45], 6.0 / 20.0);
    EXPECT_DOUBLE_EQ(large.Chance[0], 0.0);  // failed by the sums
    EXPECT_DOUBLE_EQ(large.Chance[95], 0.0);
    const TGroupChances& middle = evaluation.Groups[1];
    EXPECT_EQ(middle.Codes, 30);
    EXPECT_DOUBLE_EQ(middle.Chance[33], 30.0 / 34.0);
    EXPECT_DOUBLE_EQ(middle.Chance[45], 0.0);
    double sum = 0;
    for (const double chance : large.Chance) {
        sum += chance;
    }
    EXPECT_NEAR(sum, 40.0, 1e-9);
}

TEST(Evaluation, GroupChancesAgreeWithTheRunsDrawing) {
    BacktestBench bench;
    BuildSampledLevelProject(bench);
    bench.Configure([](TPrjOptions& o) { o.Small = true; });
    const TEvaluation evaluation = EvaluateProject(bench.project);
    ASSERT_EQ(evaluation.Groups.size(), 3U);
    const std::array<const char*, 3> titles = {"大范围定位推荐40组(共", "中范围定位推荐30组(共",
                                               "小范围定位推荐20组(共"};
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        RandSeed(seed);
        CollectingPane pane;
        bench.project.CalcAll(TAppOptions(), &pane);
        for (size_t g = 0; g < titles.size(); ++g) {
            const std::set<TCode> listed = ListedGroup(pane.Lines, titles[g]);
            const TGroupChances& group = evaluation.Groups[g];
            EXPECT_EQ(static_cast<int>(listed.size()), group.Codes) << titles[g];
            for (TCode code = 0; code < 100; ++code) {
                const double chance = group.Chance[static_cast<size_t>(code)];
                if (chance == 1.0) {
                    EXPECT_EQ(listed.count(code), 1U) << CodeToStr(code);
                } else if (chance == 0.0) {
                    EXPECT_EQ(listed.count(code), 0U) << CodeToStr(code);
                }
            }
        }
    }
}

TEST(Evaluation, FloatCountStopsBeforeTheNextLevel) {
    BacktestBench bench;
    BuildSampledLevelProject(bench);
    // Holding 34 of 40 with a float of 6 (34 >= 40 - 6) opens no more levels.
    bench.Configure([](TPrjOptions& o) {
        o.FloatCount = 6;
        o.Middle = false;
    });
    const TEvaluation evaluation = EvaluateProject(bench.project);
    ASSERT_EQ(evaluation.Groups.size(), 1U);
    EXPECT_EQ(evaluation.Groups[0].Codes, 34);
    EXPECT_DOUBLE_EQ(evaluation.Groups[0].Chance[45], 0.0);
}

TEST(Evaluation, RecommendationBaseAboveTheLevelsLeavesGroupsEmpty) {
    BacktestBench bench;
    bench.Add(2, "3", false);
    bench.Configure([](TPrjOptions& o) {
        o.RcMissBase = 2;
        o.Tiny = true;
    });
    const TEvaluation evaluation = EvaluateProject(bench.project);
    ASSERT_EQ(evaluation.Groups.size(), 3U);
    EXPECT_EQ(evaluation.Groups[2].Size, 10);
    for (const TGroupChances& group : evaluation.Groups) {
        EXPECT_EQ(group.Codes, 0);
        for (const double chance : group.Chance) {
            EXPECT_EQ(chance, 0.0);
        }
    }
}

TEST(Evaluation, RecommendationBaseOneStartsAtTheFirstErrorLevel) {
    BacktestBench bench;
    bench.Add(2, "3", false);  // heads 3: error 1, 10 codes
    bench.Configure([](TPrjOptions& o) {
        o.RcMissBase = 1;
        o.Middle = false;
    });
    const TEvaluation evaluation = EvaluateProject(bench.project);
    EXPECT_EQ(evaluation.Groups[0].Codes, 10);
    EXPECT_DOUBLE_EQ(evaluation.Groups[0].Chance[37], 1.0);
    EXPECT_DOUBLE_EQ(evaluation.Groups[0].Chance[47], 0.0);
}

TEST(Evaluation, ExplainsAnEliminatedCode) {
    BacktestBench bench;
    bench.Add(1, "1,2,3", true);
    bench.Add(7, "5,6,7", false);
    bench.Add(4, "7", false);
    bench.Add(2, "3", true, false);  // unchecked: never named
    bench.Configure([](TPrjOptions& o) { o.MissMax = 2; });
    const TEvaluation evaluation = EvaluateProject(bench.project);
    // Two errors within a tolerance of two: kept, though two steps failed it.
    EXPECT_EQ(ExplainCodeLines(evaluation, 37),
              (std::vector<std::string>{
                  "3xx7 保留：错误值2，未超过容错2；第2步 头尾合:[容]5,6,7 未通过；",
                  "第3步 不上尾:[容]7 未通过"}));
    EXPECT_EQ(
        ExplainCodeLines(evaluation, 97),
        (std::vector<std::string>{"9xx7 淘汰：未通过铁定条件；第1步 稳上头:[铁]1,2,3 未通过；",
                                  "第2步 头尾合:[容]5,6,7 未通过；", "第3步 不上尾:[容]7 未通过"}));
    EXPECT_EQ(ExplainCodeLines(evaluation, 25),
              (std::vector<std::string>{"2xx5 保留：错误值0，未超过容错2"}));
    bench.Configure([](TPrjOptions& o) { o.MissMax = 1; });
    EXPECT_EQ(
        ExplainCodeLines(EvaluateProject(bench.project), 37),
        (std::vector<std::string>{"3xx7 淘汰：错误值2，超过容错1；第2步 头尾合:[容]5,6,7 未通过；",
                                  "第3步 不上尾:[容]7 未通过"}));
    const TCodeVerdict verdict = ExplainCode(evaluation, 97);
    EXPECT_EQ(verdict.Code, 97);
    EXPECT_EQ(verdict.Error, -1);
    EXPECT_EQ(verdict.FailedSteps, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(ExplainCode(evaluation, 25).FailedSteps.empty());
    EXPECT_THROW(ExplainCode(evaluation, 100), ECodesException);
    EXPECT_THROW(ExplainCodeLines(evaluation, -1), ECodesException);
}

TEST(Evaluation, BadNumberListRaisesTheRunsError) {
    BacktestBench bench;
    bench.Add(7, "5,x", false);
    try {
        EvaluateProject(bench.project);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
    }
}

TEST(Evaluation, ToleranceOutsideTheRangeRaisesTheRunsError) {
    BacktestBench bench;
    bench.Configure([](TPrjOptions& o) { o.MissMax = 11; });
    try {
        EvaluateProject(bench.project);
        FAIL() << "no error";
    } catch (const ECodesException& error) {
        EXPECT_STREQ(error.what(), "TCodes.SetMissCount Is Error!");
    }
}

}  // namespace
}  // namespace tovarin
