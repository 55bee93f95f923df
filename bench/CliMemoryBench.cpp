// The peak memory of tovarin-cli as a process (its largest resident size),
// for the commands whose answers grow with their input: a draw-history
// import of a 128 MiB file of bad lines against the file's size, and a
// backtest's details over a million periods against the same backtest
// without them.
//
// The large files are made by children of their own, so that this process
// stays as small as the programs it measures.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ChildRun.h"
#include "MillionDraws.h"
#include "core/base/FileIO.h"
#include "core/draws/TableImport.h"

namespace tovarin {
namespace {

// Runs the work in a child process, whose memory this one never holds.
void InChild(const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the child that writes a file failed");
    }
}

// A 128 MiB file of lines no draw can be read from, the shortest there are
// (a period without digits, two bytes): the most lines to report. With a
// draw first, the import goes through and its report is written.
struct BadLines {
    std::string path;
    std::string document;

    explicit BadLines(bool withDraw) {
        const std::string tag = std::to_string(getpid()) + (withDraw ? "-draw" : "-bad");
        path = "/tmp/tovarin-bad-lines-" + tag + ".csv";
        document = "/tmp/tovarin-bad-lines-" + tag + ".lvrn";
        InChild([&] {
            std::string text = withDraw ? "1,1234567\n" : "";
            while (text.size() + 2 <= MaxTableFileBytes) {
                text += "2\n";
            }
            WriteFileAtomically(path, text);
        });
    }
    ~BadLines() {
        unlink(path.c_str());
        unlink(document.c_str());
    }
};

// Goal: at most 3x the file's size.
void ImportBadLines(benchmark::State& state, bool withDraw, int status) {
    const BadLines file(withDraw);
    bench::TChildCost run;
    for (auto _ : state) {
        unlink(file.document.c_str());
        run = bench::RunCli({"draws", "import-table", file.document, file.path, "--json"});
        if (run.status != status) {
            state.SkipWithError("tovarin-cli answered with another status");
            return;
        }
    }
    const double fileBytes = static_cast<double>(MaxTableFileBytes);
    state.counters["file_MB"] = fileBytes / (1 << 20);
    state.counters["peak_MB"] = run.peakBytes / (1 << 20);
    state.counters["peak_per_file_byte"] = run.peakBytes / fileBytes;
}

// Refused for want of draws (status 1), after every line was read.
void BM_CliImportOnlyBadLines(benchmark::State& state) { ImportBadLines(state, false, 1); }
void BM_CliImportOneDrawAndBadLines(benchmark::State& state) { ImportBadLines(state, true, 0); }
BENCHMARK(BM_CliImportOnlyBadLines)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_CliImportOneDrawAndBadLines)->Unit(benchmark::kMillisecond)->Iterations(2);

// The backtest benchmarks' document of a million draws, saved by a child.
const std::string& MillionDrawsFile() {
    static const std::string path = [] {
        const std::string file = "/tmp/tovarin-memory-bench-" + std::to_string(getpid()) + ".lvrn";
        InChild([&file] {
            const MillionDraws document;
            if (rename(document.path.c_str(), file.c_str()) != 0) {
                _exit(1);
            }
        });
        return file;
    }();
    return path;
}

struct RemoveMillionDrawsFile {
    ~RemoveMillionDrawsFile() { unlink(MillionDrawsFile().c_str()); }
};

// Goal: the details at most 2x the peak of the same backtest without them.
void Backtest(benchmark::State& state, const std::vector<std::string>& form) {
    static const RemoveMillionDrawsFile removal;
    const std::string& path = MillionDrawsFile();
    std::vector<std::string> plain = {"backtest", path, "--project", "1", "--from", "1"};
    plain.insert(plain.end(), form.begin(), form.end());
    std::vector<std::string> detailed = plain;
    detailed.emplace_back("--details");
    bench::TChildCost without;
    bench::TChildCost with;
    for (auto _ : state) {
        without = bench::RunCli(plain);
        with = bench::RunCli(detailed);
        if (without.status != 0 || with.status != 0) {
            state.SkipWithError("tovarin-cli failed");
            return;
        }
    }
    state.counters["peak_MB"] = without.peakBytes / (1 << 20);
    state.counters["details_peak_MB"] = with.peakBytes / (1 << 20);
    state.counters["details_per_plain"] = with.peakBytes / without.peakBytes;
}

void BM_CliBacktestDetailsJson(benchmark::State& state) { Backtest(state, {"--json"}); }
void BM_CliBacktestDetailsText(benchmark::State& state) { Backtest(state, {}); }
BENCHMARK(BM_CliBacktestDetailsJson)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_CliBacktestDetailsText)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tovarin
