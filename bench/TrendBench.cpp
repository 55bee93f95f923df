// Painting a page of the trend chart reads only the lines in view: a page of
// a million draws must cost what a page of a hundred costs, for the window
// of every draw and for a window of the last 30 (whose omissions count the
// draws before it too).
#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/stats/Trend.h"
#include "gui/stats/TrendPainter.h"

using namespace tovarin;

namespace {

// The chart's page in the statistics window at its opening size: 28 lines.
constexpr int PageWidth = 700;
constexpr int PageHeight = 600;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "trend_bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static QGuiApplication app(argc, argv);
    }
}

void FillTable(TCodeNet& net, int count) {
    std::vector<TSeq> rows(static_cast<size_t>(count));
    unsigned value = 99;
    for (TSeq& row : rows) {
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            value = value * 1664525u + 1013904223u;
            row.SetNum(pos, static_cast<int>((value >> 16) % 10));
        }
    }
    net.Replace(std::move(rows));
}

struct Scene {
    TCodeNet net;
    TTrendLayout layout{{TStatDim::Head, TStatDim::Tail}};
    std::vector<std::unique_ptr<TTrendIndex>> trends;
    QImage image{PageWidth, PageHeight, QImage::Format_RGB32};
    std::unique_ptr<TTrendPainter> painter;
    TTrendPage page;

    explicit Scene(int draws, int last = 0) {
        EnsureApplication();
        FillTable(net, draws);
        const TDrawWindow window = LastDraws(net, last);
        page.Net = &net;
        for (const TStatDim dim : layout.Blocks()) {
            trends.push_back(std::make_unique<TTrendIndex>(net, dim, window));
            page.Trends.push_back(trends.back().get());
        }
        page.Width = PageWidth;
        page.Height = PageHeight;
        // The newest draws, as the chart opens; the page's top line is then
        // as far from a kept walk as it happens to fall.
        page.TopLine = std::max(0, window.Count - TTrendLayout::WholeLines(PageHeight));
        QFont font;
        font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei")});
        painter = std::make_unique<TTrendPainter>(font);
    }
    void Paint() {
        QPainter p(&image);
        painter->Paint(p, layout, page);
    }
};

// Arguments: the draws of the table, the window (0: every draw).
void BM_PaintTrendPage(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        scene.Paint();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_PaintTrendPage)
    ->Args({100, 0})
    ->Args({1000000, 0})
    ->Args({1000000, 30})
    ->Unit(benchmark::kMicrosecond);

// The worst place in a million draws: the page starts one line before a
// kept walk, so the index steps through a whole stretch to reach it.
void BM_PaintTrendPageWorstPlace(benchmark::State& state) {
    Scene scene(1000000);
    scene.page.TopLine = 500 * TTrendIndex::kMarkStep - 1;
    for (auto _ : state) {
        scene.Paint();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_PaintTrendPageWorstPlace)->Unit(benchmark::kMicrosecond);

}  // namespace
