// The backtest of one project over a million draws against a loop that only
// reads every draw's head and tail digit; and the command line's backtest of
// a million-draw document against its info command on the same document.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ChildRun.h"
#include "MillionDraws.h"
#include "core/backtest/Backtest.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

namespace tovarin {
namespace {

// The baseline: every draw's winner code read and nothing else.
void BM_ReadHeadAndTail(benchmark::State& state) {
    const TCodeNet& net = Million().net;
    for (auto _ : state) {
        int sum = 0;
        for (int row = 0; row < net.Count(); ++row) {
            const TSeq& draw = net.GetSeq(row);
            sum += draw.GetNum(0) * 10 + draw.GetNum(3);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["draws"] = net.Count();
}
BENCHMARK(BM_ReadHeadAndTail)->Unit(benchmark::kMillisecond);

// Goal: at most 3x the baseline.
void BM_BacktestOneProject(benchmark::State& state) {
    MillionDraws& doc = Million();
    TSeqPrj& project = doc.projects.GetSeqPrj(0);
    for (auto _ : state) {
        const TEvaluation evaluation = EvaluateProject(project);
        const TBacktestReport report = Backtest(evaluation, doc.net, {1, doc.net.Count()});
        benchmark::DoNotOptimize(report.Result.PValue);
    }
    state.counters["draws"] = doc.net.Count();
}
BENCHMARK(BM_BacktestOneProject)->Unit(benchmark::kMillisecond);

// The baseline of the command: reading the document and describing it.
void BM_CliInfo(benchmark::State& state) { bench::TimeCli(state, {"info", Million().path}); }
BENCHMARK(BM_CliInfo)->Unit(benchmark::kMillisecond)->UseManualTime();

// Goal: at most 1.5x the info command.
void BM_CliBacktestAllDraws(benchmark::State& state) {
    bench::TimeCli(state, {"backtest", Million().path, "--project", "1", "--from", "1", "--json"});
}
BENCHMARK(BM_CliBacktestAllDraws)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace tovarin
