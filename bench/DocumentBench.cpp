// Document load and save against raw file I/O of the same size, and the
// filtering run of a large project. (What a loaded document costs in memory
// is measured apart, in DocumentMemoryBench.cpp, as counting allocations
// slows every one of them.)
#include <benchmark/benchmark.h>

#include <unistd.h>

#include "BigDocument.h"
#include "core/base/FileIO.h"
#include "core/draws/LabelRules.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/settings/AppOptions.h"

namespace tovarin {
namespace {

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
    // Untimed, as in BM_ReadRawBytes: the first run of either pays for
    // touching the process's fresh memory, which the other may have paid.
    LoadDocument(doc.path, net, projects);
    for (auto _ : state) {
        LoadDocument(doc.path, net, projects);
        benchmark::DoNotOptimize(net.Count());
    }
    state.counters["draws"] = net.Count();
    state.counters["projects"] = projects.PrjCount();
    // The table keeps its rows in one vector of TSeq.
    state.counters["table_bytes_per_draw"] = static_cast<double>(sizeof(TSeq));
}

// A million draws alone, with or without every draw's label and date: what
// the labels cost to load and to keep on disk.
struct DrawsDocument {
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;

    explicit DrawsDocument(bool labelled) {
        std::vector<TSeq> rows(1000000);
        TLabel label = *TLabel::Parse("2001001");
        TYmd day{2001, 1, 1};
        for (size_t i = 0; i < rows.size(); ++i) {
            for (int pos = 0; pos < 7; ++pos) {
                rows[i].SetNum(pos, static_cast<int>((i * 7 + static_cast<size_t>(pos) * 3) % 10));
            }
            if (labelled) {
                rows[i].SetLabel(label);
                rows[i].SetDate(*TDrawDate::FromYmd(day));
                label = *NextLabel(label);
                day = NextDay(day);
            }
        }
        net.Replace(std::move(rows));
        path = "/tmp/tovarin-bench-" + std::to_string(getpid()) + (labelled ? "-labelled" : "") +
               ".lvrn";
        SaveDocument(path, net, projects);
    }
    ~DrawsDocument() { unlink(path.c_str()); }

    static TYmd NextDay(TYmd day) {
        ++day.Day;
        if (!TDrawDate::FromYmd(day)) {
            day = {day.Year, day.Month + 1, 1};
        }
        if (!TDrawDate::FromYmd(day)) {
            day = {day.Year + 1, 1, 1};
        }
        return day;
    }
};

void LoadDraws(benchmark::State& state, bool labelled) {
    static DrawsDocument plain(false);
    static DrawsDocument withLabels(true);
    const DrawsDocument& doc = labelled ? withLabels : plain;
    TCodeNet net;
    TPrjMgr projects(net);
    LoadDocument(doc.path, net, projects);
    for (auto _ : state) {
        LoadDocument(doc.path, net, projects);
        benchmark::DoNotOptimize(net.Count());
    }
    state.counters["labelled"] = net.LabelledCount();
    state.counters["file_bytes"] = static_cast<double>(ReadWholeFile(doc.path).size());
}

// The ratio of these two is the labels' cost (at most 1.5 to load, 2 on disk).
void BM_LoadDrawsWithoutLabels(benchmark::State& state) { LoadDraws(state, false); }
void BM_LoadDrawsWithLabels(benchmark::State& state) { LoadDraws(state, true); }

void BM_ReadRawBytes(benchmark::State& state) {
    BigDocument& doc = Big();
    benchmark::DoNotOptimize(ReadWholeFile(doc.path).size());
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
BENCHMARK(BM_LoadDrawsWithoutLabels)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LoadDrawsWithLabels)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_CalcAll100Cached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcAll100Fresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tovarin
