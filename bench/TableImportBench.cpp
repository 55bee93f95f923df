// Reading a million-line draw-history file into a new table, against
// reading the same file and splitting it into lines.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/draws/TableImport.h"

namespace tovarin {
namespace {

constexpr int Lines = 1000000;

// A web site's layout: header, newest first, period, date, seven digit
// fields, CR LF.
struct BigCsv {
    std::string path;

    BigCsv() {
        std::string text = "期号,开奖日期,A,B,C,D,E,F,G\r\n";
        text.reserve(static_cast<size_t>(Lines) * 40);
        for (int i = Lines; i >= 1; --i) {
            text += std::to_string(i) + ",2026-12-07";
            for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
                text += ',';
                text += static_cast<char>('0' + (i * 7 + pos * 3) % 10);
            }
            text += "\r\n";
        }
        path = "/tmp/tovarin-bench-" + std::to_string(getpid()) + ".csv";
        WriteFileAtomically(path, text);
    }
    ~BigCsv() { unlink(path.c_str()); }
};

BigCsv& Csv() {
    static BigCsv csv;
    return csv;
}

void BM_ImportTable(benchmark::State& state) {
    const BigCsv& csv = Csv();
    size_t rows = 0;
    for (auto _ : state) {
        TCodeNet net;
        net.Replace(ImportedRows({}, ReadDrawTableFile(csv.path), TImportMode::Replace));
        rows = static_cast<size_t>(net.Count());
        benchmark::DoNotOptimize(rows);
    }
    state.counters["draws"] = static_cast<double>(rows);
}

// The baseline: the same file read and cut into lines.
void BM_SplitIntoLines(benchmark::State& state) {
    const BigCsv& csv = Csv();
    size_t count = 0;
    for (auto _ : state) {
        const std::string bytes = ReadWholeFile(csv.path);
        std::vector<std::string_view> lines;
        const std::string_view all = bytes;
        size_t begin = 0;
        while (begin < all.size()) {
            size_t end = all.find('\n', begin);
            if (end == std::string_view::npos) {
                end = all.size();
            }
            lines.push_back(all.substr(begin, end - begin));
            begin = end + 1;
        }
        count = lines.size();
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["lines"] = static_cast<double>(count);
}

BENCHMARK(BM_SplitIntoLines)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportTable)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tovarin
