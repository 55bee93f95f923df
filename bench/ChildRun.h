// Runs a program to its end as a fresh process, for the benches that
// measure what only a process shows: its processor time and its peak memory.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace tovarin::bench {

struct TChildCost {
    int status = -1;        // the exit status; -1 when it did not start or end normally
    double cpuSeconds = 0;  // user and system time, which a busy machine disturbs less
    double peakBytes = 0;   // the largest resident set it had
};

// The command (program and its words) with its output and errors thrown away.
TChildCost RunQuiet(const std::vector<std::string>& command);

// tovarin-cli, built beside the benchmarks, with the given words.
TChildCost RunCli(const std::vector<std::string>& words);

// Times tovarin-cli with the given words by its processor time, once per
// iteration of a benchmark registered with UseManualTime().
void TimeCli(benchmark::State& state, const std::vector<std::string>& words);

}  // namespace tovarin::bench
