// What a loaded document costs in memory, per byte of its file. Every
// allocation of the program is counted here, which is why these are apart
// from the timed benchmarks.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "BigDocument.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

// Every allocation of the program is counted, so that a benchmark can say
// how much memory a loaded document holds at its peak.
namespace {
std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};
}  // namespace

void* operator new(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    const size_t live = liveBytes += malloc_usable_size(block);
    size_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        liveBytes -= malloc_usable_size(block);
        std::free(block);
    }
}

void operator delete(void* block, size_t /*size*/) noexcept { operator delete(block); }

// The array forms too: the core's own replacements must not be linked in
// beside these.
void* operator new[](size_t size) { return operator new(size); }
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete[](void* block, size_t /*size*/) noexcept { operator delete(block); }

namespace tovarin {
namespace {

// Peak and kept memory of loading a document, per byte of its file; the
// image read from disk is part of the peak.
void MeasureLoad(benchmark::State& state, const std::string& path) {
    const double fileBytes = static_cast<double>(ReadWholeFile(path).size());
    double peak = 0;
    double kept = 0;
    for (auto _ : state) {
        const size_t before = liveBytes.load();
        peakBytes = before;
        auto net = std::make_unique<TCodeNet>();
        auto projects = std::make_unique<TPrjMgr>(*net);
        LoadDocument(path, *net, *projects);
        peak = static_cast<double>(peakBytes.load() - before);
        kept = static_cast<double>(liveBytes.load() - before);
        benchmark::DoNotOptimize(projects->PrjCount());
    }
    state.counters["file_MB"] = fileBytes / (1 << 20);
    state.counters["peak_per_file_byte"] = peak / fileBytes;
    state.counters["kept_per_file_byte"] = kept / fileBytes;
}

// The cheapest condition a file can hold, four million of them (48 MB): the
// worst case of memory per byte of document.
void BM_LoadMemoryEmptyConditions(benchmark::State& state) {
    const std::string path = "/tmp/tovarin-bench-empty-" + std::to_string(getpid()) + ".lvrn";
    {
        TCodeNet net;
        TPrjMgr projects(net);
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        for (int i = 0; i < 4000000; ++i) {
            project.AddBind(CreateBind(1, project.Options()));
        }
        SaveDocument(path, net, projects);
    }
    MeasureLoad(state, path);
    unlink(path.c_str());
}

// The large document of the other benchmarks: a million draws and 20,000
// conditions with their usual parameters.
void BM_LoadMemoryBigDocument(benchmark::State& state) { MeasureLoad(state, Big().path); }

BENCHMARK(BM_LoadMemoryEmptyConditions)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadMemoryBigDocument)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tovarin
