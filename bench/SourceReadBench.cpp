// Reading a JSON answer of 100,000 draws (about 5 MB) into the draws the
// table importer gives, against parsing the same text with nlohmann-json
// alone into its document.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <string>

#include "core/draws/TableImport.h"
#include "core/sources/AnswerLines.h"

namespace tovarin {
namespace {

constexpr int Records = 100000;

// The shape of the official results pages, newest first.
const std::string& Answer() {
    static const std::string answer = [] {
        std::string text = R"({"success":true,"value":{"pageNo":1,"list":[)";
        for (int i = Records; i >= 1; --i) {
            const int period = 2000000 + i;
            text += R"({"code":")" + std::to_string(period) + R"(","red":")";
            for (int pos = 0; pos < 7; ++pos) {
                text += std::to_string((i * 7 + pos * 3) % 10);
                text += pos < 6 ? "," : "";
            }
            text += R"(","date":"2026-6-1"})";
            text += i > 1 ? "," : "";
        }
        return text + "]}}";
    }();
    return answer;
}

void BM_ReadJsonAnswer(benchmark::State& state) {
    size_t draws = 0;
    for (auto _ : state) {
        const TAnswerLines lines =
            ReadAnswerLines(Answer(), "application/json;charset=utf-8", TSourceFormat::Auto);
        const TTableRead read = ReadDrawTable(lines.Text);
        draws = read.Draws.size();
        benchmark::DoNotOptimize(read.Draws.data());
    }
    state.counters["draws"] = static_cast<double>(draws);
    state.counters["MB"] = static_cast<double>(Answer().size()) / (1 << 20);
}

// The baseline: the same answer parsed by nlohmann-json, nothing else.
void BM_ParseJsonAlone(benchmark::State& state) {
    size_t records = 0;
    for (auto _ : state) {
        const nlohmann::json document = nlohmann::json::parse(Answer());
        records = document["value"]["list"].size();
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = static_cast<double>(records);
}

BENCHMARK(BM_ParseJsonAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadJsonAnswer)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin
