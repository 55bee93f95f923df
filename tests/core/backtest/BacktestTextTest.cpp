// The words of the backtest: the summary sentence, the amounts and the
// readable report of the command line.
#include <gtest/gtest.h>

#include "BacktestTestSupport.h"
#include "core/backtest/BacktestText.h"

namespace tovarin {
namespace {

TBacktestReport HundredPeriods(int hits, int codes) {
    TBacktestReport report;
    report.Range = {1, 100};
    report.Result.Hits = hits;
    report.Result.Codes = codes;
    report.Result.Rate = hits / 100.0;
    report.Result.Baseline = codes / 100.0;
    if (codes > 0) {
        report.Result.Lift = report.Result.Rate / report.Result.Baseline;
    }
    report.Result.PValue = 0.78155816004187362008;
    return report;
}

TEST(BacktestText, SummaryOfTheLastHundredDraws) {
    EXPECT_EQ(SummarySentence(HundredPeriods(68, 71), 100),
              "近100期中命中68期（68%）；随机选71个号码平均命中71期；"
              "随机选号命中不少于68期的概率为78%；命中率是随机选号的0.96倍");
}

TEST(BacktestText, SummaryOfAnInnerRangeWithoutLift) {
    TBacktestReport report = HundredPeriods(0, 0);
    report.Range = {5, 34};
    report.Result.PValue = 1.0;
    EXPECT_EQ(SummarySentence(report, 100),
              "第5期至第34期中命中0期（0%）；随机选0个号码平均命中0期；"
              "随机选号命中不少于0期的概率为100%");
}

TEST(BacktestText, SummaryOfASmallChance) {
    TBacktestReport report = HundredPeriods(30, 7);
    report.Range = {71, 100};
    report.Result.Rate = 1.0;
    report.Result.Lift = 1.0 / 0.07;
    report.Result.PValue = 2e-35;
    EXPECT_EQ(SummarySentence(report, 100),
              "近30期中命中30期（100%）；随机选7个号码平均命中2.1期；"
              "随机选号命中不少于30期的概率不到1%；命中率是随机选号的14.29倍");
}

TEST(BacktestText, SummaryOfANearCertainChance) {
    TBacktestReport report = HundredPeriods(56, 71);
    report.Result.PValue = 0.9995;
    EXPECT_EQ(SummarySentence(report, 100),
              "近100期中命中56期（56%）；随机选71个号码平均命中71期；"
              "随机选号命中不少于56期的概率超过99%；命中率是随机选号的0.79倍");
}

TEST(BacktestText, SummaryOfAMillionDrawsGroupsItsCounts) {
    TBacktestReport report = HundredPeriods(710694, 71);
    report.Range = {1, 1000000};
    report.Result.Rate = 0.710694;
    report.Result.Lift = 0.710694 / 0.71;
    report.Result.PValue = 0.01;
    EXPECT_EQ(SummarySentence(report, 1000000),
              "近1,000,000期中命中710,694期（71%）；随机选71个号码平均命中710,000期；"
              "随机选号命中不少于710,694期的概率为1%；命中率是随机选号的1.00倍");
}

TEST(BacktestText, PercentAndAmount) {
    EXPECT_EQ(PercentText(0.0), "0%");
    EXPECT_EQ(PercentText(0.004), "不到1%");
    EXPECT_EQ(PercentText(0.005), "1%");
    EXPECT_EQ(PercentText(0.684), "68%");
    EXPECT_EQ(PercentText(0.994), "99%");
    EXPECT_EQ(PercentText(0.9995), "超过99%");
    EXPECT_EQ(PercentText(1.0), "100%");
    EXPECT_EQ(AmountText(71.0), "71");
    EXPECT_EQ(AmountText(21.3), "21.3");
    EXPECT_EQ(AmountText(2.0 + 2 * 0.3), "2.6");
    EXPECT_EQ(AmountText(0.04), "0");
    EXPECT_EQ(AmountText(71069.44), "71,069.4");
    EXPECT_EQ(AmountText(1234567.0), "1,234,567");
}

std::vector<std::string> ReportLines(const TBacktestReport& report, const TEvaluation& evaluation,
                                     const TCodeNet& net, bool details) {
    std::vector<std::string> lines;
    WriteBacktestReport(report, evaluation, net, 2, details,
                        [&lines](const std::string& line) { lines.push_back(line); });
    return lines;
}

TEST(BacktestText, ReadableReport) {
    test::BacktestBench bench;
    bench.Add(1, "1", false);
    bench.Add(3, "1", false);
    bench.Configure([](TPrjOptions& o) {
        o.MissMax = 0;
        o.Middle = false;
    });
    bench.AddWinners({11, 15, 51});
    const TEvaluation evaluation = EvaluateProject(bench.project);
    const TBacktestReport report = Backtest(evaluation, bench.net, {1, 3});
    const std::vector<std::string> lines = ReportLines(report, evaluation, bench.net, true);
    const std::vector<std::string> expected = {
        "方案2回测：第1期至第3期，共3期；容错0，勾选条件2个",
        SummarySentence(report, 3),
        kBacktestCaution,
        "最长连续失误2期，当前连续失误2期；随机选号命中不少于1期的概率p=0.029701",
        "",
        "中奖号码的错误值：F:0期 0:1期 1:2期 2:0期 ",
        "",
        "容错曲线：",
        "  容错0：保留号码1个，命中1期（当前容错）",
        "  容错1：保留号码19个，命中3期",
        "  容错2：保留号码100个，命中3期",
        "",
        "条件成绩单：",
        "  第1步 稳上头:[容]1：通过号码10个（10%），通过中奖号码2期（67%）",
        "  第2步 稳上尾:[容]1：通过号码10个（10%），通过中奖号码2期（67%）",
        "",
        "推荐组：",
        "  40组（共40个号码）：期望命中3期（100%），随机基准40%",
        "",
        "每期明细：",
        "  第1期 1001000 1xx1 错误值:0 命中",
        "  第2期 1005000 1xx5 错误值:1 失误 未通过:第2步",
        "  第3期 5001000 5xx1 错误值:1 失误 未通过:第1步",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(ReportLines(report, evaluation, bench.net, false).size(), expected.size() - 5);
}

}  // namespace
}  // namespace tovarin
