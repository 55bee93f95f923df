#include "core/backtest/BacktestText.h"

#include <cmath>
#include <cstdio>

#include "core/base/Text.h"
#include "core/draws/LawNet.h"

namespace tovarin {

const char* const kBacktestCaution =
    "注意：如果这些条件是看着这些开奖号码挑出来的，它们在这里的成绩会比在今后的开奖中好看。";

std::string PercentText(double share) {
    const double percent = share * 100.0;
    if (percent > 0.0 && percent < 0.5) {
        return "不到1%";
    }
    if (percent >= 99.5 && percent < 100.0) {
        return "超过99%";
    }
    return std::to_string(static_cast<long long>(std::lround(percent))) + "%";
}

// Amounts are never negative: they count periods.
std::string AmountText(double amount) {
    const auto tenths = static_cast<long long>(std::llround(amount * 10.0));
    std::string whole = GroupedInt(tenths / 10);
    if (tenths % 10 == 0) {
        return whole;
    }
    return whole + "." + std::to_string(tenths % 10);
}

namespace {

std::string FixedText(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string StepsText(const std::vector<int>& steps) {
    std::string text;
    for (const int step : steps) {
        text += (text.empty() ? "第" : ",第") + std::to_string(step) + "步";
    }
    return text;
}

}  // namespace

std::string RangeText(TPeriodRange range, int lastPeriod) {
    if (range.To == lastPeriod) {
        return "近" + GroupedInt(range.Periods()) + "期";
    }
    return "第" + std::to_string(range.From) + "期至第" + std::to_string(range.To) + "期";
}

std::string SummarySentence(const TBacktestReport& report, int lastPeriod) {
    const TBacktestResult& r = report.Result;
    const std::string hits = GroupedInt(r.Hits);
    std::string text = RangeText(report.Range, lastPeriod) + "中命中" + hits + "期（" +
                       PercentText(r.Rate) + "）；随机选" + GroupedInt(r.Codes) + "个号码平均命中" +
                       AmountText(r.Baseline * report.Range.Periods()) + "期；随机选号命中不少于" +
                       hits + "期的概率";
    const std::string chance = PercentText(r.PValue);
    const bool bound = chance.rfind("不到", 0) == 0 || chance.rfind("超过", 0) == 0;
    text += bound ? chance : "为" + chance;
    if (r.Lift) {
        text += "；命中率是随机选号的" + FixedText(*r.Lift, 2) + "倍";
    }
    return text;
}

void WriteBacktestReport(const TBacktestReport& report, const TEvaluation& evaluation,
                         const TCodeNet& net, int projectNumber, bool details,
                         const std::function<void(const std::string&)>& sink) {
    const int lastPeriod = net.FirstPeriod() + net.Count() - 1;
    const TBacktestResult& r = report.Result;
    sink("方案" + std::to_string(projectNumber) + "回测：第" + std::to_string(report.Range.From) +
         "期至第" + std::to_string(report.Range.To) + "期，共" +
         GroupedInt(report.Range.Periods()) + "期；容错" + std::to_string(report.Tolerance) +
         "，勾选条件" + std::to_string(report.Checked) + "个");
    sink(SummarySentence(report, lastPeriod));
    sink(kBacktestCaution);
    sink("最长连续失误" + GroupedInt(r.LongestMissRun) + "期，当前连续失误" +
         GroupedInt(r.CurrentMissRun) + "期；随机选号命中不少于" + GroupedInt(r.Hits) +
         "期的概率p=" + FixedText(r.PValue, 6));
    sink("");

    std::string errors = "中奖号码的错误值：";
    for (const TErrorPeriods& entry : report.WinnerErrors) {
        errors += ErrorText(entry.Error) + ":" + GroupedInt(entry.Periods) + "期 ";
    }
    sink(errors);
    sink("");

    sink("容错曲线：");
    for (const TTolerancePoint& point : report.ToleranceCurve) {
        sink("  容错" + std::to_string(point.Tolerance) + "：保留号码" +
             std::to_string(point.Codes) + "个，命中" + GroupedInt(point.Hits) + "期" +
             (point.Tolerance == report.Tolerance ? "（当前容错）" : ""));
    }
    sink("");

    sink("条件成绩单：");
    for (const TConditionScore& score : report.Conditions) {
        sink("  第" + std::to_string(score.Step) + "步 " + score.Text + "：通过号码" +
             std::to_string(score.PassedCodes) + "个（" + PercentText(score.PassedCodes / 100.0) +
             "），通过中奖号码" + GroupedInt(score.WinnerPassed) + "期（" +
             PercentText(static_cast<double>(score.WinnerPassed) / report.Range.Periods()) + "）");
    }
    sink("");

    sink("推荐组：");
    for (const TGroupScore& group : report.Groups) {
        sink("  " + std::to_string(group.Size) + "组（共" + std::to_string(group.Codes) +
             "个号码）：期望命中" + AmountText(group.ExpectedHits) + "期（" +
             PercentText(group.ExpectedHits / report.Range.Periods()) + "），随机基准" +
             PercentText(group.Codes / 100.0));
    }

    if (details) {
        sink("");
        sink("每期明细：");
        for (int period = report.Range.From; period <= report.Range.To; ++period) {
            const TPeriodDetail detail = PeriodDetail(evaluation, net, period);
            std::string line = "  第" + std::to_string(period) + "期 " + detail.Draw + " " +
                               CodeToStr(detail.Code) + " 错误值:" + ErrorText(detail.Error) +
                               (detail.Hit ? " 命中" : " 失误");
            if (!detail.FailedSteps.empty()) {
                line += " 未通过:" + StepsText(detail.FailedSteps);
            }
            sink(line);
        }
    }
}

}  // namespace tovarin
