// Document load and save against raw file I/O of the same size, and the
// filtering run of a large project.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/settings/AppOptions.h"

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

namespace tovarin {
namespace {

const char* const kParams[] = {"",  "1,3,5",     "2,4",    "0,9",      "3,7",
                               "5", "1,2,3,4,5", "0,9,18", "10,11,12", "12与34相配,5与67相配"};

void AddConditions(TSeqPrj& project, int count) {
    for (int i = 0; i < count; ++i) {
        const int kind = i % 9 + 1;
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(kind == 9 ? kParams[9] : kind >= 7 ? kParams[7 + i % 2] : kParams[1 + i % 6]);
        bind.Checked = true;
        bind.Assured = i % 10 == 0;
    }
}

struct BigDocument {
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;

    BigDocument() {
        std::vector<TSeq> rows(1000000);
        for (size_t i = 0; i < rows.size(); ++i) {
            for (int pos = 0; pos < 7; ++pos) {
                rows[i].SetNum(pos, static_cast<int>((i * 7 + static_cast<size_t>(pos) * 3) % 10));
            }
        }
        net.Replace(std::move(rows));
        for (int p = 0; p < 1000; ++p) {
            AddConditions(projects.AddPrj(std::make_unique<TSeqPrj>(net)), 20);
        }
        path = "/tmp/tovarin-bench-" + std::to_string(getpid()) + ".lvrn";
        SaveDocument(path, net, projects);
    }
    ~BigDocument() { unlink(path.c_str()); }
};

BigDocument& Big() {
    static BigDocument document;
    return document;
}

void BM_SaveDocument(benchmark::State& state) {
    BigDocument& doc = Big();
    for (auto _ : state) {
        SaveDocument(doc.path, doc.net, doc.projects);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(ReadWholeFile(doc.path).size()));
}

// The same number of bytes, already built, written the same safe way.
void BM_WriteRawBytes(benchmark::State& state) {
    BigDocument& doc = Big();
    const std::string bytes(ReadWholeFile(doc.path).size(), 'x');
    const std::string path = doc.path + ".raw";
    for (auto _ : state) {
        WriteFileAtomically(path, bytes);
    }
    unlink(path.c_str());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_LoadDocument(benchmark::State& state) {
    BigDocument& doc = Big();
    TCodeNet net;
    TPrjMgr projects(net);
    for (auto _ : state) {
        LoadDocument(doc.path, net, projects);
        benchmark::DoNotOptimize(net.Count());
    }
    state.counters["draws"] = net.Count();
    state.counters["projects"] = projects.PrjCount();
    // The table keeps its rows in one vector of TSeq.
    state.counters["table_bytes_per_draw"] = static_cast<double>(sizeof(TSeq));
}

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

void BM_ReadRawBytes(benchmark::State& state) {
    BigDocument& doc = Big();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadWholeFile(doc.path).size());
    }
}

TAppOptions EveryListing() {
    TAppOptions settings;
    settings.DetailEveryChk = true;
    settings.DetailLastChk = true;
    settings.SplitByLineChk = true;
    settings.OutPutPrjOptChk = true;
    settings.OutPutAppOptChk = true;
    return settings;
}

// 100 checked conditions, every listing and all four groups.
void CalcAllBench(benchmark::State& state, bool dirty) {
    TCodeNet net;
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.Small = true;
    options.Tiny = true;
    options.MissMax = 4;
    project.SetOptions(options);
    AddConditions(project, 100);
    const TAppOptions settings = EveryListing();
    for (auto _ : state) {
        if (dirty) {
            for (int i = 0; i < project.BindCount(); ++i) {
                TBaseBind& bind = project.GetBind(i);
                const std::string param = bind.Param();
                bind.SetParam(param);
            }
        }
        project.CalcAll(settings, nullptr);
        benchmark::DoNotOptimize(project.ResultCodes().ValidCount());
    }
}

void BM_CalcAll100Cached(benchmark::State& state) { CalcAllBench(state, false); }
void BM_CalcAll100Fresh(benchmark::State& state) { CalcAllBench(state, true); }

BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteRawBytes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ReadRawBytes)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LoadMemoryEmptyConditions)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadMemoryBigDocument)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_CalcAll100Cached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcAll100Fresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tovarin
