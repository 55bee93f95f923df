#include "gui/backtest/BacktestCharts.h"

#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>

#include "core/backtest/Backtest.h"

namespace tovarin {
namespace {

void ClearChart(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

QValueAxis* AddAxis(QChart& chart, Qt::Alignment side, const QString& title, double low,
                    double high) {
    auto* axis = new QValueAxis(&chart);
    axis->setTitleText(title);
    axis->setRange(low, high);
    chart.addAxis(axis, side);
    return axis;
}

QValueAxis* PercentAxis(QChart& chart) {
    QValueAxis* axis = AddAxis(chart, Qt::AlignLeft, QStringLiteral("%"), 0, 100);
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

void Attach(QChart& chart, QAbstractSeries* series, QValueAxis* x, QValueAxis* y) {
    chart.addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

}  // namespace

void ShowToleranceCurve(QChart& chart, const TBacktestReport& report) {
    ClearChart(chart);
    const int periods = report.Range.Periods();
    auto* codes = new QLineSeries;
    codes->setName(QStringLiteral("保留号码(%)"));
    auto* hits = new QLineSeries;
    hits->setName(QStringLiteral("命中期数(%)"));
    for (const TTolerancePoint& point : report.ToleranceCurve) {
        codes->append(point.Tolerance, point.Codes);
        hits->append(point.Tolerance, 100.0 * point.Hits / periods);
    }
    codes->setPointsVisible(true);
    hits->setPointsVisible(true);

    // A tolerance above the checked count keeps what the last point keeps.
    const int marked = std::min(report.Tolerance, report.Checked);
    const TTolerancePoint& current = report.ToleranceCurve[static_cast<size_t>(marked)];
    auto* mark = new QScatterSeries;
    mark->setName(QStringLiteral("当前容错%1").arg(report.Tolerance));
    mark->setMarkerSize(14);
    mark->setColor(QColor(0xd0, 0x30, 0x30));
    mark->append(marked, current.Codes);
    mark->append(marked, 100.0 * current.Hits / periods);

    QValueAxis* x =
        AddAxis(chart, Qt::AlignBottom, QStringLiteral("容错"), 0, std::max(report.Checked, 1));
    x->setTickCount(std::max(report.Checked, 1) + 1);
    x->setLabelFormat(QStringLiteral("%d"));
    QValueAxis* y = PercentAxis(chart);
    Attach(chart, codes, x, y);
    Attach(chart, hits, x, y);
    Attach(chart, mark, x, y);
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

void ShowRollingHitRate(QChart& chart, const std::vector<double>& rates, int firstEnd,
                        double baseline, int window) {
    ClearChart(chart);
    auto* line = new QLineSeries;
    line->setName(QStringLiteral("近%1期命中率(%)").arg(window));
    constexpr int kMaxPoints = 2000;
    for (const int i : ThinnedIndexes(static_cast<int>(rates.size()), kMaxPoints)) {
        line->append(firstEnd + i, 100.0 * rates[static_cast<size_t>(i)]);
    }
    const int lastEnd = firstEnd + std::max(static_cast<int>(rates.size()) - 1, 1);
    auto* chance = new QLineSeries;
    chance->setName(QStringLiteral("随机基准(%)"));
    chance->append(firstEnd, 100.0 * baseline);
    chance->append(lastEnd, 100.0 * baseline);
    QPen dashed = chance->pen();
    dashed.setStyle(Qt::DashLine);
    chance->setPen(dashed);

    QValueAxis* x = AddAxis(chart, Qt::AlignBottom, QStringLiteral("期号"), firstEnd, lastEnd);
    x->setLabelFormat(QStringLiteral("%d"));
    QValueAxis* y = PercentAxis(chart);
    Attach(chart, line, x, y);
    Attach(chart, chance, x, y);
}

}  // namespace tovarin
