#include "gui/backtest/BacktestCharts.h"

#include <algorithm>

#include "core/backtest/Backtest.h"
#include "gui/charts/Chart.h"
#include "gui/charts/ChartAxes.h"

namespace tovarin {
namespace {

const QColor kCodesColor(0x30, 0x70, 0xC0);
const QColor kHitsColor(0x20, 0x90, 0x50);
const QColor kMarkColor(0xD0, 0x30, 0x30);

void SetPercentAxis(TChart& chart) {
    chart.yAxis->setLabel(QStringLiteral("%"));
    SetRoundAxis(*chart.yAxis, 0, 100, 5, 10);
    // A little room beyond 0 and 100, so that no point sits on the frame.
    chart.yAxis->setRange(-2, 102);
}

}  // namespace

void ShowToleranceCurve(TChart& chart, const TBacktestReport& report) {
    chart.ClearSeries();
    const double periods = report.Range.Periods();
    QCPGraph* codes = chart.AddLine(QStringLiteral("保留号码(%)"), QPen(kCodesColor, 2), true);
    QCPGraph* hits = chart.AddLine(QStringLiteral("命中期数(%)"), QPen(kHitsColor, 2), true);
    for (const TTolerancePoint& point : report.ToleranceCurve) {
        codes->addData(point.Tolerance, point.Codes);
        hits->addData(point.Tolerance, 100.0 * point.Hits / periods);
    }

    // A tolerance above the checked count keeps what the last point keeps.
    const int marked = std::min(report.Tolerance, report.Checked);
    const TTolerancePoint& current = report.ToleranceCurve[static_cast<size_t>(marked)];
    QCPGraph* mark =
        chart.AddMarks(QStringLiteral("当前容错%1").arg(report.Tolerance), kMarkColor, 14);
    mark->addData(marked, current.Codes);
    mark->addData(marked, 100.0 * current.Hits / periods);

    chart.xAxis->setLabel(QStringLiteral("容错"));
    // Whole tolerances only, the first and the last at the frame's edges.
    const int last = std::max(report.Checked, 1);
    SetRoundAxis(*chart.xAxis, 0, last, std::min(last, 10));
    chart.xAxis->setRange(-0.2, last + 0.2);
    SetPercentAxis(chart);
    chart.replot();
}

std::vector<int> ThinnedIndexes(int count, int maxPoints) {
    std::vector<int> indexes;
    if (count <= 0 || maxPoints <= 0) {
        return indexes;
    }
    // The last point comes on top of every step-th one.
    const int gaps = std::max(1, maxPoints - 1);
    const int step = std::max(1, (count - 1 + gaps - 1) / gaps);
    for (int i = 0; i < count; i += step) {
        indexes.push_back(i);
    }
    if (indexes.back() != count - 1) {
        indexes.push_back(count - 1);
    }
    return indexes;
}

void ShowRollingHitRate(TChart& chart, const std::vector<double>& rates, int firstEnd,
                        double baseline, int window) {
    chart.ClearSeries();
    QCPGraph* line =
        chart.AddLine(QStringLiteral("近%1期命中率(%)").arg(window), QPen(kCodesColor, 2), false);
    constexpr int kMaxPoints = 2000;
    for (const int i : ThinnedIndexes(static_cast<int>(rates.size()), kMaxPoints)) {
        line->addData(firstEnd + i, 100.0 * rates[static_cast<size_t>(i)]);
    }
    const int lastEnd = firstEnd + std::max(static_cast<int>(rates.size()) - 1, 1);
    QPen dashed(QColor(0x80, 0x80, 0x80), 1.5);
    dashed.setStyle(Qt::DashLine);
    QCPGraph* chance = chart.AddLine(QStringLiteral("随机基准(%)"), dashed, false);
    chance->addData(firstEnd, 100.0 * baseline);
    chance->addData(lastEnd, 100.0 * baseline);

    chart.xAxis->setLabel(QStringLiteral("期号"));
    SetRoundAxis(*chart.xAxis, firstEnd, lastEnd);
    SetPercentAxis(chart);
    chart.replot();
}

}  // namespace tovarin
