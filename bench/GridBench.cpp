// Painting the draw-table grid touches only the visible lines: a page of a
// table of a million draws must cost what a page of ten draws costs, and a
// page-down through the million must not grow with the position.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/draws/NetView.h"
#include "core/engine/Prj.h"
#include "gui/common/DocUndo.h"
#include "gui/draws/GridPainter.h"

using namespace tovarin;

namespace {

// 200 pixels give eight lines, so that ten draws fill every line and both
// tables paint the same number of cells.
constexpr int ClientWidth = 470;
constexpr int ClientHeight = 200;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "grid_bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static QGuiApplication app(argc, argv);
    }
}

QFont GridFont() {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(14);
    return font;
}

void FillTable(TCodeNet& net, int count) {
    std::vector<TSeq> rows(static_cast<size_t>(count));
    for (size_t i = 0; i < rows.size(); ++i) {
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            rows[i].SetNum(pos, static_cast<int>((i * 7 + static_cast<size_t>(pos) * 3) % 10));
        }
        rows[i].Selected = i % 3 == 0;
    }
    net.Replace(std::move(rows));
}

struct Scene {
    TCodeNet net;
    std::unique_ptr<TNetView> view;
    QImage image{ClientWidth, ClientHeight, QImage::Format_RGB32};
    std::unique_ptr<TCodeNetPainter> painter;

    explicit Scene(int draws) {
        EnsureApplication();
        FillTable(net, draws);
        view = std::make_unique<TNetView>(net);
        view->SetClientSize(ClientWidth, ClientHeight);
        painter = std::make_unique<TCodeNetPainter>(GridFont());
    }
    void Paint() {
        QPainter p(&image);
        painter->Paint(p, *view, QGuiApplication::palette(), true);
    }
};

void BM_PaintPage(benchmark::State& state) {
    const int draws = static_cast<int>(state.range(0));
    Scene scene(draws);
    // The big table is shown from its middle; the small one from the top.
    scene.view->ApplyScrollPos(draws / 2 > scene.view->ScrollMax() ? 0 : draws / 2);
    for (auto _ : state) {
        scene.Paint();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
    state.counters["lines"] = scene.view->VisibleRows();
}
BENCHMARK(BM_PaintPage)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// One Page Down as the key posts it (scroll request, layout), then the paint
// of the new page; at the end of the table it starts again from the top.
void BM_PageDownAndPaint(benchmark::State& state) {
    Scene scene(1000000);
    for (auto _ : state) {
        if (scene.view->TopRow() >= scene.view->ScrollMax()) {
            scene.view->Key(TNetKey::Home);
        }
        scene.view->Key(TNetKey::PageDown);
        scene.Paint();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_PageDownAndPaint)->Unit(benchmark::kMicrosecond);

void BM_PageDownOnly(benchmark::State& state) {
    Scene scene(1000000);
    for (auto _ : state) {
        if (scene.view->TopRow() >= scene.view->ScrollMax()) {
            scene.view->Key(TNetKey::Home);
        }
        scene.view->Key(TNetKey::PageDown);
        benchmark::DoNotOptimize(scene.view->TopRow());
    }
}
BENCHMARK(BM_PageDownOnly)->Unit(benchmark::kNanosecond);

// Typing a draw on the append line of a million draws, as after an import:
// the cursor goes below the newest draw and seven digits make a new draw;
// the draw is removed again so that every round starts alike.
void BM_TypeDrawAtEnd(benchmark::State& state) {
    Scene scene(1000000);
    for (auto _ : state) {
        scene.view->ShowAppendLine();
        for (const char c : {'1', '2', '3', '4', '5', '6', '7'}) {
            scene.view->TypeChar(c);
        }
        scene.Paint();
        scene.net.Delete(scene.net.Count() - 1);
    }
}
BENCHMARK(BM_TypeDrawAtEnd)->Unit(benchmark::kMicrosecond);

// A digit typed into the page shown, as the grid does it: the undo step is
// recorded (each digit into a draw of its own, so that no two steps join)
// and the page painted. A million draws must cost what a thousand do.
void BM_TypedDigitStepAndPaint(benchmark::State& state) {
    const int draws = static_cast<int>(state.range(0));
    Scene scene(draws);
    TPrjMgr projects(scene.net);
    TDocUndo undo(scene.net, projects);
    scene.view->ApplyScrollPos(draws / 2 > scene.view->ScrollMax() ? 0 : draws / 2);
    int n = 0;
    for (auto _ : state) {
        const int row = scene.view->TopRow() + n % scene.view->VisibleRows();
        const int pos = n % TSeq::DigitCount;
        undo.Run(
            QStringLiteral("输入开奖号码"),
            [&] { scene.net.SetNum(row, pos, (scene.net.GetNum(row, pos) + 1) % 10); },
            QString::number(n));
        scene.Paint();
        benchmark::DoNotOptimize(scene.image.constBits());
        ++n;
    }
}
BENCHMARK(BM_TypedDigitStepAndPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The digit search through all million draws without a match (adjacent
// digits of these draws always differ, so "00" is nowhere): the longest a
// find can take.
void BM_FindThroughAMillion(benchmark::State& state) {
    Scene scene(1000000);
    for (auto _ : state) {
        scene.view->Key(TNetKey::Home);
        benchmark::DoNotOptimize(scene.view->FindNext("00"));
    }
}
BENCHMARK(BM_FindThroughAMillion)->Unit(benchmark::kMillisecond);

}  // namespace
