// Costs of the filtering engine's inner steps: one condition's evaluation,
// a cached result, and the passes over a code set that the run makes.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/engine/Bind.h"
#include "core/engine/Code.h"
#include "core/engine/PrjOptions.h"

namespace tovarin {
namespace {

// A parameter of the size the condition editor usually produces, per kind.
const char* const kTypicalParams[] = {
    "",      "1,3,5", "0,9",       "2,4,6",     "1,7",
    "1,3,5", "0,5",   "8,9,10,11", "0,1,17,18", "12与34相配,5与67相配"};

void BM_Calc(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    TPrjOptions options;
    std::unique_ptr<TBaseBind> bind = CreateBind(kind, options);
    bind->SetParam(kTypicalParams[kind]);
    const std::string param = bind->Param();
    for (auto _ : state) {
        bind->SetParam(param);
        benchmark::DoNotOptimize(&bind->GetCodes());
    }
    state.SetLabel(BindKindNames[static_cast<size_t>(kind)]);
}
BENCHMARK(BM_Calc)->DenseRange(1, kBindKindCount);

void BM_GetCodesCached(benchmark::State& state) {
    TPrjOptions options;
    std::unique_ptr<TBaseBind> bind = CreateBind(9, options);
    bind->SetParam(kTypicalParams[9]);
    bind->GetCodes();
    for (auto _ : state) {
        benchmark::DoNotOptimize(&bind->GetCodes());
    }
}
BENCHMARK(BM_GetCodesCached);

void BM_ApplyBy(benchmark::State& state) {
    const bool addMiss = state.range(0) != 0;
    TPrjOptions options;
    TCodes result(options);
    TCodes failures(options);
    for (TCode code = 0; code < TCodes::kCount; code += 2) {
        failures.FailCode(code);
    }
    for (auto _ : state) {
        result.ApplyBy(failures, addMiss);
        benchmark::DoNotOptimize(&result);
        benchmark::ClobberMemory();
    }
    state.SetLabel(addMiss ? "add miss" : "fail");
}
BENCHMARK(BM_ApplyBy)->Arg(1)->Arg(0);

void BM_ValidCount(benchmark::State& state) {
    TPrjOptions options;
    TCodes codes(options);
    for (TCode code = 0; code < TCodes::kCount; code += 3) {
        codes.SetMiss(code, code % 4 - 1);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(codes.ValidCount());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ValidCount);

}  // namespace
}  // namespace tovarin
