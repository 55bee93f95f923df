#include "core/backtest/Backtest.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/backtest/Binomial.h"
#include "core/draws/LawNet.h"

namespace tovarin {
namespace {

using TWinnerCounts = std::array<int, TCodes::kCount>;

// The periods each code won over the range, and the runs of misses: the
// only pass over the draws, so everything else reads 100 counts.
struct TRangePass {
    TWinnerCounts Wins{};
    int LongestMissRun = 0;
    int CurrentMissRun = 0;
};

TRangePass PassOverDraws(const TEvaluation& evaluation, const TCodeNet& net, TPeriodRange range) {
    std::array<bool, TCodes::kCount> kept{};
    for (TCode code = 0; code < TCodes::kCount; ++code) {
        kept[static_cast<size_t>(code)] = evaluation.Kept(code);
    }
    TRangePass pass;
    const int first = range.From - net.FirstPeriod();
    const int last = range.To - net.FirstPeriod();
    for (int row = first; row <= last; ++row) {
        const auto winner = static_cast<size_t>(WinnerCode(net.GetSeq(row)));
        ++pass.Wins[winner];
        pass.CurrentMissRun = kept[winner] ? 0 : pass.CurrentMissRun + 1;
        pass.LongestMissRun = std::max(pass.LongestMissRun, pass.CurrentMissRun);
    }
    return pass;
}

template <class Test>
int WinsWhere(const TWinnerCounts& wins, Test test) {
    int periods = 0;
    for (TCode code = 0; code < TCodes::kCount; ++code) {
        periods += test(code) ? wins[static_cast<size_t>(code)] : 0;
    }
    return periods;
}

template <class Test>
int CodesWhere(Test test) {
    int codes = 0;
    for (TCode code = 0; code < TCodes::kCount; ++code) {
        codes += test(code) ? 1 : 0;
    }
    return codes;
}

TBacktestResult Result(const TEvaluation& evaluation, const TRangePass& pass, int periods) {
    TBacktestResult result;
    result.Codes = evaluation.KeptCount();
    result.Hits = WinsWhere(pass.Wins, [&](TCode code) { return evaluation.Kept(code); });
    result.Rate = static_cast<double>(result.Hits) / periods;
    result.Baseline = result.Codes / 100.0;
    if (result.Codes > 0) {
        result.Lift = result.Rate / result.Baseline;
    }
    result.PValue = BinomialUpperTail(periods, result.Hits, result.Baseline);
    result.LongestMissRun = pass.LongestMissRun;
    result.CurrentMissRun = pass.CurrentMissRun;
    return result;
}

}  // namespace

TCode WinnerCode(const TSeq& draw) { return draw.GetNum(0) * 10 + draw.GetNum(3); }

TPeriodRange DefaultRange(const TCodeNet& net) {
    const int to = net.FirstPeriod() + net.Count() - 1;
    return {std::max(net.FirstPeriod(), to - 99), to};
}

void CheckRange(const TCodeNet& net, TPeriodRange range) {
    const int last = net.FirstPeriod() + net.Count() - 1;
    if (range.From < net.FirstPeriod() || range.To > last || range.From > range.To) {
        throw EBacktestRange("range " + std::to_string(range.From) + ".." +
                             std::to_string(range.To) + " is not within periods 1.." +
                             std::to_string(last) + " in order");
    }
}

TBacktestReport Backtest(const TEvaluation& evaluation, const TCodeNet& net, TPeriodRange range) {
    if (net.Count() == 0) {
        throw Exception("no draws to test");
    }
    CheckRange(net, range);
    const TRangePass pass = PassOverDraws(evaluation, net, range);

    TBacktestReport report;
    report.Range = range;
    report.Tolerance = evaluation.Tolerance;
    report.Checked = evaluation.Checked();
    report.Result = Result(evaluation, pass, range.Periods());
    for (int error = -1; error <= evaluation.Checked(); ++error) {
        report.WinnerErrors.push_back({error, WinsWhere(pass.Wins, [&](TCode code) {
                                           return evaluation.Errors[static_cast<size_t>(code)] ==
                                                  error;
                                       })});
    }
    for (int u = 0; u <= evaluation.Checked(); ++u) {
        const auto keptAt = [&](TCode code) { return evaluation.KeptAt(code, u); };
        report.ToleranceCurve.push_back({u, CodesWhere(keptAt), WinsWhere(pass.Wins, keptAt)});
    }
    for (const TCheckedStep& step : evaluation.Steps) {
        const auto passes = [&](TCode code) { return step.Passes[static_cast<size_t>(code)]; };
        report.Conditions.push_back(
            {step.Step, step.Text, CodesWhere(passes), WinsWhere(pass.Wins, passes)});
    }
    for (const TGroupChances& group : evaluation.Groups) {
        double expected = 0;
        for (TCode code = 0; code < TCodes::kCount; ++code) {
            expected +=
                group.Chance[static_cast<size_t>(code)] * pass.Wins[static_cast<size_t>(code)];
        }
        report.Groups.push_back({group.Size, group.Codes, expected});
    }
    return report;
}

TPeriodDetail PeriodDetail(const TEvaluation& evaluation, const TCodeNet& net, int period) {
    CheckRange(net, {period, period});
    const TSeq& draw = net.GetSeq(period - net.FirstPeriod());
    TPeriodDetail detail;
    detail.Period = period;
    detail.Label = draw.GetLabel().Text();
    detail.Draw = NumbersText(draw, net.Game());
    TCodeVerdict verdict = ExplainCode(evaluation, WinnerCode(draw));
    detail.Code = verdict.Code;
    detail.Error = verdict.Error;
    detail.Hit = evaluation.Kept(detail.Code);
    detail.FailedSteps = std::move(verdict.FailedSteps);
    return detail;
}

std::vector<double> RollingHitRates(const TEvaluation& evaluation, const TCodeNet& net,
                                    TPeriodRange range, int window) {
    CheckRange(net, range);
    std::vector<double> rates;
    if (window <= 0 || range.Periods() < window) {
        return rates;
    }
    rates.reserve(static_cast<size_t>(range.Periods()) - static_cast<size_t>(window) + 1);
    const auto hitAt = [&](int period) {
        return evaluation.Kept(WinnerCode(net.GetSeq(period - net.FirstPeriod()))) ? 1 : 0;
    };
    int hits = 0;
    for (int period = range.From; period <= range.To; ++period) {
        hits += hitAt(period);
        if (period - range.From >= window) {
            hits -= hitAt(period - window);
        }
        if (period - range.From + 1 >= window) {
            rates.push_back(static_cast<double>(hits) / window);
        }
    }
    return rates;
}

}  // namespace tovarin
