// The history statistics of a million draws against a loop that only sums
// their head digits, and `tovarin-cli stats` against `tovarin-cli info` on a
// document of a million draws.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "ChildRun.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/stats/HistoryStats.h"

namespace tovarin {
namespace {

constexpr int kDraws = 1000000;

// Digits from a small generator, so that every item occurs in runs of
// irregular length as real draws give them.
void FillTable(TCodeNet& net) {
    std::vector<TSeq> rows(kDraws);
    unsigned value = 2026;
    for (TSeq& row : rows) {
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            value = value * 1664525u + 1013904223u;
            row.SetNum(pos, static_cast<int>((value >> 16) % 10));
        }
    }
    net.Replace(std::move(rows));
}

TCodeNet& BigTable() {
    static TCodeNet* net = [] {
        auto* table = new TCodeNet;
        FillTable(*table);
        return table;
    }();
    return *net;
}

void BM_SumHeadDigits(benchmark::State& state) {
    const TCodeNet& net = BigTable();
    for (auto _ : state) {
        long long sum = 0;
        for (int row = 0; row < net.Count(); ++row) {
            sum += net.GetSeq(row).GetNum(0);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_SumHeadDigits)->Unit(benchmark::kMillisecond);

void BM_HistoryStatsAllDimensions(benchmark::State& state) {
    const TCodeNet& net = BigTable();
    for (auto _ : state) {
        THistoryStats stats = ComputeHistoryStats(net, 0);
        benchmark::DoNotOptimize(stats);
    }
}
BENCHMARK(BM_HistoryStatsAllDimensions)->Unit(benchmark::kMillisecond);

std::string BenchFolder() { return "/tmp/tovarin-stats-bench-" + std::to_string(getpid()); }

// The document of a million draws and no project, written once.
const std::string& BigDocument() {
    static const std::string path = [] {
        const std::string file = BenchFolder() + ".lvrn";
        TPrjMgr projects(BigTable());
        SaveDocument(file, BigTable(), projects);
        return file;
    }();
    return path;
}

struct RemoveDocument {
    ~RemoveDocument() { unlink((BenchFolder() + ".lvrn").c_str()); }
} removeDocument;

void BM_CliInfo(benchmark::State& state) { bench::TimeCli(state, {"info", BigDocument()}); }
void BM_CliStats(benchmark::State& state) { bench::TimeCli(state, {"stats", BigDocument()}); }
void BM_CliStatsJson(benchmark::State& state) {
    bench::TimeCli(state, {"stats", BigDocument(), "--json"});
}
BENCHMARK(BM_CliInfo)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CliStats)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CliStatsJson)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace tovarin
