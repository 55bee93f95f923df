#include "ChildRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace tovarin::bench {
namespace {

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// GNU time writes the peak as the last line; a failed command has one before it.
double ReadPeakKiB(const std::string& file) {
    double peakKiB = 0;
    if (FILE* peak = std::fopen(file.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, peak) != nullptr) {
            peakKiB = std::atof(line);
        }
        std::fclose(peak);
    }
    unlink(file.c_str());
    return peakKiB;
}

}  // namespace

// The peak comes from GNU time, which forks the command from its own small
// process: a child that Linux spawns straight from a large benchmark keeps
// the parent's resident set as its recorded peak across exec. The processor
// time of the wait covers the command, which GNU time waits for.
TChildCost RunQuiet(const std::vector<std::string>& command) {
    const std::string peakFile = "/tmp/tovarin-bench-peak-" + std::to_string(getpid());
    std::vector<std::string> words = {"/usr/bin/time", "-f", "%M", "-o", peakFile};
    words.insert(words.end(), command.begin(), command.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    TChildCost cost;
    int status = 0;
    rusage usage{};
    if (spawned == 0 && wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
        cost.status = WEXITSTATUS(status);
        cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    }
    cost.peakBytes = ReadPeakKiB(peakFile) * 1024;
    return cost;
}

TChildCost RunCli(const std::vector<std::string>& words) {
    std::vector<std::string> command = {TOVARIN_CLI};
    command.insert(command.end(), words.begin(), words.end());
    return RunQuiet(command);
}

void TimeCli(benchmark::State& state, const std::vector<std::string>& words) {
    for (auto _ : state) {
        const TChildCost cost = RunCli(words);
        if (cost.status != 0) {
            state.SkipWithError("tovarin-cli failed");
            return;
        }
        state.SetIterationTime(cost.cpuSeconds);
    }
}

}  // namespace tovarin::bench
