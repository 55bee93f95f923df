// What only a fresh process shows, each against a baseline measured in the
// same run: the first load of a large document as a program started from
// the shell pays it (touching fresh memory included), against `cat` of the
// same file; and the peak memory of commands against the file or the bound
// they read, beside the program's own base (`tovarin-cli --version`).
#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "BigDocument.h"
#include "ChildRun.h"
#include "core/base/FileIO.h"
#include "core/base/HttpGet.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

extern char** environ;

namespace tovarin {
namespace {

constexpr double kMiB = 1 << 20;

// The peak memory of the program doing nothing but start and end.
double BaseBytes() {
    static const double base = bench::RunCli({"--version"}).peakBytes;
    return base;
}

// Goal: the command's processor time at most 3x that of cat, each run as a
// fresh process, on the document of a million draws and 1,000 projects.
void BM_FreshProcessFirstLoad(benchmark::State& state) {
    const std::string& path = Big().path;
    double cat = 0;
    double filter = 0;
    for (auto _ : state) {
        const bench::TChildCost read = bench::RunQuiet({"cat", path});
        const bench::TChildCost load = bench::RunCli({"filter", path, "--project", "1"});
        if (read.status != 0 || load.status != 0) {
            state.SkipWithError("cat or tovarin-cli failed");
            return;
        }
        cat += read.cpuSeconds;
        filter += load.cpuSeconds;
        state.SetIterationTime(load.cpuSeconds);
    }
    state.counters["cat_ms"] = cat * 1000 / static_cast<double>(state.iterations());
    state.counters["filter_ms"] = filter * 1000 / static_cast<double>(state.iterations());
    state.counters["filter_per_cat"] = filter / cat;
}
BENCHMARK(BM_FreshProcessFirstLoad)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

// Goal: `info` of a document of four million empty conditions peaks at most
// 4x the file's size.
void BM_InfoPeakMemoryEmptyConditions(benchmark::State& state) {
    const std::string path = "/tmp/tovarin-process-bench-" + std::to_string(getpid()) + ".lvrn";
    {
        TCodeNet net;
        TPrjMgr projects(net);
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        for (int i = 0; i < 4000000; ++i) {
            project.AddBind(CreateBind(1, project.Options()));
        }
        SaveDocument(path, net, projects);
    }
    const double fileBytes = static_cast<double>(ReadFileHead(path, kMaxFileBytes).size());
    double peak = 0;
    for (auto _ : state) {
        const bench::TChildCost info = bench::RunCli({"info", path});
        if (info.status != 0) {
            state.SkipWithError("tovarin-cli info failed");
            break;
        }
        peak = info.peakBytes;
    }
    unlink(path.c_str());
    state.counters["file_MB"] = fileBytes / kMiB;
    state.counters["base_MB"] = BaseBytes() / kMiB;
    state.counters["peak_MB"] = peak / kMiB;
    state.counters["peak_per_file_byte"] = peak / fileBytes;
}
BENCHMARK(BM_InfoPeakMemoryEmptyConditions)->Unit(benchmark::kMillisecond)->Iterations(2);

// tools/draw-server on a free port, for as long as the object lives.
class DrawServer {
public:
    DrawServer(const std::string& history, const std::string& option) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        const std::string script = std::string(TOVARIN_SOURCE_DIR) + "/tools/draw-server";
        std::vector<std::string> words = {"python3", script, history, "--port", "0", option};
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        char c = 0;
        while (read(out[0], &c, 1) == 1 && c != '\n') {
            address_ += c;
        }
        close(out[0]);
    }
    DrawServer(const DrawServer&) = delete;
    DrawServer& operator=(const DrawServer&) = delete;
    ~DrawServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    const std::string& Address() const { return address_; }

private:
    pid_t pid_ = -1;
    std::string address_;
};

// Goal: a download whose answer never ends peaks at most 2x the answer
// bound above the program's base.
void BM_DownloadPeakMemoryEndlessAnswer(benchmark::State& state) {
    const std::string folder = "/tmp/tovarin-process-bench-" + std::to_string(getpid());
    const std::string history = folder + ".txt";
    const std::string document = folder + "-download.lvrn";
    WriteFileAtomically(history, "1234567\r\n7654321\r\n");
    const DrawServer server(history, "--endless");
    double peak = 0;
    for (auto _ : state) {
        // Refused at the bound: status 1, and no document written.
        const bench::TChildCost download =
            bench::RunCli({"download", document, "--url", server.Address()});
        if (download.status != 1 || server.Address().empty()) {
            state.SkipWithError("the download was not refused at the bound");
            break;
        }
        peak = download.peakBytes;
    }
    unlink(history.c_str());
    state.counters["bound_MB"] = static_cast<double>(kMaxAnswerBytes) / kMiB;
    state.counters["base_MB"] = BaseBytes() / kMiB;
    state.counters["peak_MB"] = peak / kMiB;
    state.counters["above_base_per_bound"] =
        (peak - BaseBytes()) / static_cast<double>(kMaxAnswerBytes);
}
BENCHMARK(BM_DownloadPeakMemoryEndlessAnswer)->Unit(benchmark::kMillisecond)->Iterations(2);

// An answer of 3,300,000 draws just under the bound, taken in and saved:
// the body, the records and the table it makes, then the document's image.
void BM_DownloadPeakMemoryAnswerNearTheBound(benchmark::State& state) {
    const std::string folder = "/tmp/tovarin-process-bench-" + std::to_string(getpid());
    const std::string answer = folder + "-answer.txt";
    const std::string document = folder + "-near.lvrn";
    std::string body = "\xB3\xC9\xB9\xA6\r\n";  // 成功
    const std::string line = "2026001#x#1234567\r\n";
    while (body.size() + line.size() < kMaxAnswerBytes - (size_t{1} << 20)) {
        body += line;
    }
    WriteFileAtomically(answer, body);
    const DrawServer server(answer, "--raw");
    double peak = 0;
    for (auto _ : state) {
        const bench::TChildCost download =
            bench::RunCli({"download", document, "--url", server.Address(), "--timeout", "600000"});
        if (download.status != 0) {
            state.SkipWithError("the download failed");
            break;
        }
        peak = download.peakBytes;
    }
    unlink(answer.c_str());
    unlink(document.c_str());
    state.counters["answer_MB"] = static_cast<double>(body.size()) / kMiB;
    state.counters["base_MB"] = BaseBytes() / kMiB;
    state.counters["peak_MB"] = peak / kMiB;
    state.counters["above_base_per_bound"] =
        (peak - BaseBytes()) / static_cast<double>(kMaxAnswerBytes);
}
BENCHMARK(BM_DownloadPeakMemoryAnswerNearTheBound)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tovarin
