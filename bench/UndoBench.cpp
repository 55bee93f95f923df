// One undo step of a typed digit (two document images and a comparison)
// and one undo (an image and a load) against the baseline of building one
// image of the same 10,000-draw document with projects: the step should
// cost a small multiple of the image, which is what a keystroke may cost.
#include <benchmark/benchmark.h>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"

namespace tovarin {
namespace {

struct Document {
    TCodeNet net;
    TPrjMgr projects{net};

    Document() {
        std::vector<TSeq> rows(10000);
        for (size_t i = 0; i < rows.size(); ++i) {
            for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
                rows[i].SetNum(pos, static_cast<int>((i * 7 + static_cast<size_t>(pos)) % 10));
            }
        }
        net.Replace(std::move(rows));
        for (int p = 0; p < 20; ++p) {
            TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
            for (int kind = 1; kind <= 9; ++kind) {
                project.AddBind(CreateBind(kind, project.Options())).SetParam("1,3,5");
            }
        }
    }
};

void BM_Baseline_BuildImage(benchmark::State& state) {
    Document doc;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildDocumentImage(doc.net, doc.projects));
    }
}
BENCHMARK(BM_Baseline_BuildImage);

void BM_TypedDigitStep(benchmark::State& state) {
    Document doc;
    TDocumentUndo undo(doc.net, doc.projects);
    int digit = 0;
    for (auto _ : state) {
        // Rows alternate so that no two steps merge.
        const int row = digit % 2;
        undo.Run(
            "输入开奖号码", {}, [&] { doc.net.SetNum(row, 0, ++digit % 10); },
            "row " + std::to_string(digit));
    }
}
BENCHMARK(BM_TypedDigitStep);

void BM_UndoAndRedo(benchmark::State& state) {
    Document doc;
    TDocumentUndo undo(doc.net, doc.projects);
    undo.Run("清空开奖号码表", {}, [&] { doc.net.SetNum(0, 0, 9); });
    for (auto _ : state) {
        undo.Undo({});
        undo.Redo({});
    }
}
BENCHMARK(BM_UndoAndRedo);

}  // namespace
}  // namespace tovarin
