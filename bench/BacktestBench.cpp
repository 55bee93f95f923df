// The backtest of one project over a million draws against a loop that only
// reads every draw's head and tail digit; and the command line's backtest of
// a million-draw document against its info command on the same document.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "MillionDraws.h"
#include "core/backtest/Backtest.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

extern char** environ;

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

void RunCli(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    std::string program = TOVARIN_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copies = words;
    for (std::string& word : copies) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&quiet);
        throw std::runtime_error("cannot start " + program);
    }
    posix_spawn_file_actions_destroy(&quiet);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("tovarin-cli failed");
    }
}

// The baseline of the command: reading the document and describing it.
void BM_CliInfo(benchmark::State& state) {
    const std::string path = Million().path;
    for (auto _ : state) {
        RunCli({"info", path});
    }
}
BENCHMARK(BM_CliInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

// Goal: at most 1.5x the info command.
void BM_CliBacktestAllDraws(benchmark::State& state) {
    const std::string path = Million().path;
    for (auto _ : state) {
        RunCli({"backtest", path, "--project", "1", "--from", "1", "--json"});
    }
}
BENCHMARK(BM_CliBacktestAllDraws)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tovarin
