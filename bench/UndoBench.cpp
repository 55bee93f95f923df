// The undo history costs what a command changed, not what the document
// holds: undoing a typed digit at a million draws against the same at a
// thousand (the baseline), and how many typed digits or condition checks
// the history keeps at a million draws within its 64 MB cap.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"

namespace tovarin {
namespace {

struct Document {
    TCodeNet net;
    TPrjMgr projects{net};
    TDocumentUndo undo{net, projects};

    explicit Document(int draws) {
        std::vector<TSeq> rows(static_cast<size_t>(draws));
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
        undo.Reset();
    }

    // A digit typed into the middle of the table, each into a draw of its
    // own so that no two steps join.
    void TypeDigit(int n) {
        const int row = net.Count() / 2 + n % 64;
        const int pos = n % TSeq::DigitCount;
        undo.Run(
            "输入开奖号码", {}, [&] { net.SetNum(row, pos, (net.GetNum(row, pos) + 1) % 10); },
            "row " + std::to_string(n));
    }
};

// One undo and one redo of a typed digit: the redo puts the step back for
// the next round.
void BM_UndoTypedDigit(benchmark::State& state) {
    Document doc(static_cast<int>(state.range(0)));
    doc.TypeDigit(0);
    for (auto _ : state) {
        doc.undo.Undo({});
        doc.undo.Redo({});
    }
}
BENCHMARK(BM_UndoTypedDigit)->Arg(1000)->Arg(1000000);

// Steps of one kind until the cap drops the first: the steps held then.
template <typename Command>
void FillHistory(benchmark::State& state, Document& doc, Command command) {
    constexpr int kEnough = 2000000;
    for (auto _ : state) {
        int n = 0;
        while (doc.undo.History().Dropped() == 0 && n < kEnough) {
            command(n++);
        }
    }
    state.counters["steps_held"] = static_cast<double>(doc.undo.History().UndoCount());
    state.counters["bytes_per_step"] = static_cast<double>(doc.undo.History().Bytes()) /
                                       static_cast<double>(doc.undo.History().UndoCount());
}

void BM_HistoryOfTypedDigits(benchmark::State& state) {
    Document doc(1000000);
    FillHistory(state, doc, [&doc](int n) { doc.TypeDigit(n); });
}
BENCHMARK(BM_HistoryOfTypedDigits)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_HistoryOfConditionChecks(benchmark::State& state) {
    Document doc(1000000);
    FillHistory(state, doc, [&doc](int n) {
        TSeqPrj& project = doc.projects.GetSeqPrj(n % doc.projects.PrjCount());
        const int bind = n / doc.projects.PrjCount() % project.BindCount();
        doc.undo.Run("勾选条件", {},
                     [&] { project.SetChecked(bind, !project.GetBind(bind).Checked); });
    });
}
BENCHMARK(BM_HistoryOfConditionChecks)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin
