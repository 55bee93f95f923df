// The history statistics of a million draws against a loop that only sums
// their head digits, and `tovarin-cli stats` against `tovarin-cli info` on a
// document of a million draws.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/stats/HistoryStats.h"

extern char** environ;

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

std::string CliPath() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/') + 1) + "tovarin-cli";
}

// Runs the command to its end with its output thrown away and gives the
// processor seconds it used (user and system), which other programs on a
// busy machine disturb less than the elapsed time; -1 when it could not
// start or failed.
double RunCli(const std::vector<std::string>& words) {
    const std::string program = CliPath();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Cli(benchmark::State& state, const std::vector<std::string>& words) {
    for (auto _ : state) {
        const double seconds = RunCli(words);
        if (seconds < 0) {
            state.SkipWithError("tovarin-cli failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_CliInfo(benchmark::State& state) { Cli(state, {"info", BigDocument()}); }
void BM_CliStats(benchmark::State& state) { Cli(state, {"stats", BigDocument()}); }
void BM_CliStatsJson(benchmark::State& state) { Cli(state, {"stats", BigDocument(), "--json"}); }
BENCHMARK(BM_CliInfo)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CliStats)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CliStatsJson)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace tovarin
