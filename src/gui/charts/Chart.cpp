#include "gui/charts/Chart.h"

#include <QHelpEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "gui/charts/ChartAxes.h"

namespace tovarin {
namespace {

// How near (in pixels) a point must be to the pointer for its tip.
constexpr double kTipRadius = 10;
// The least room (in pixels) between two category labels side by side.
constexpr int kLabelGap = 4;

QString SeriesLine(const QString& name, double value) {
    return QStringLiteral("%1：%2").arg(name, ChartValueText(value));
}

}  // namespace

TChart::TChart(const QString& title, QWidget* parent) : QCustomPlot(parent) {
    QFont titleFont = font();
    titleFont.setBold(true);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, new QCPTextElement(this, title, titleFont));

    // The legend sits centred between two spacers: alone in its row, an
    // empty legend would narrow the whole chart to its own width.
    axisRect()->insetLayout()->take(legend);
    auto* legendRow = new QCPLayoutGrid;
    plotLayout()->addElement(2, 0, legendRow);
    plotLayout()->setRowStretchFactor(2, 0.001);
    legendRow->addElement(0, 0, new QCPLayoutElement(this));
    legendRow->addElement(0, 1, legend);
    legendRow->addElement(0, 2, new QCPLayoutElement(this));
    legendRow->setColumnStretchFactor(1, 0.001);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setBorderPen(Qt::NoPen);
    legend->setVisible(true);

    xAxis->grid()->setVisible(false);
    SetRoundAxis(*yAxis, 0, 1);
    connect(this, &QCustomPlot::afterLayout, this, &TChart::FitCategoryLabels);
}

void TChart::SetCategories(const QStringList& labels) {
    categories_ = labels;
    auto ticker = QSharedPointer<QCPAxisTickerText>::create();
    for (qsizetype i = 0; i < labels.size(); ++i) {
        ticker->addTick(static_cast<double>(i), labels[i]);
    }
    ticker->setSubTickCount(0);
    xAxis->setTicker(ticker);
    xAxis->setRange(-0.6, static_cast<double>(labels.size()) - 0.4);
}

void TChart::FitCategoryLabels() {
    if (categories_.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(xAxis->tickLabelFont());
    int widest = 0;
    for (const QString& label : categories_) {
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    const double slot = std::abs(xAxis->coordToPixel(1) - xAxis->coordToPixel(0));
    const double rotation = widest + kLabelGap > slot ? -90 : 0;
    if (xAxis->tickLabelRotation() != rotation) {
        // The axis needs another height: lay the chart out again.
        xAxis->setTickLabelRotation(rotation);
        replot(rpQueuedReplot);
    }
}

QCPBars* TChart::AddBars(const QString& name, const QColor& color) {
    if (barGroup_ == nullptr) {
        barGroup_ = new QCPBarsGroup(this);
        barGroup_->setSpacing(0);
    }
    auto* bars = new QCPBars(xAxis, yAxis);
    bars->setName(name);
    bars->setPen(Qt::NoPen);
    bars->setBrush(color);
    bars->setBarsGroup(barGroup_);
    // The sets share each category's slot, with a gap to the next one.
    for (QCPBars* each : barGroup_->bars()) {
        each->setWidth(0.8 / static_cast<double>(barGroup_->size()));
    }
    return bars;
}

QCPGraph* TChart::AddLine(const QString& name, const QPen& pen, bool markPoints) {
    QCPGraph* line = addGraph();
    line->setName(name);
    line->setPen(pen);
    if (markPoints) {
        line->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, pen.color(), 6));
    }
    return line;
}

QCPGraph* TChart::AddMarks(const QString& name, const QColor& color, double size) {
    QCPGraph* marks = addGraph();
    marks->setName(name);
    marks->setPen(QPen(color));
    marks->setLineStyle(QCPGraph::lsNone);
    marks->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, size));
    return marks;
}

void TChart::ClearSeries() { clearPlottables(); }

QString TChart::ValueTipAt(const QPointF& pos) const {
    if (!axisRect()->rect().contains(pos.toPoint())) {
        return {};
    }
    return categories_.isEmpty() ? LineTipAt(pos) : BarTipAt(pos);
}

QString TChart::BarTipAt(const QPointF& pos) const {
    const double slot = std::round(xAxis->pixelToCoord(pos.x()));
    if (slot < 0 || slot >= static_cast<double>(categories_.size())) {
        return {};
    }
    QStringList lines{categories_[static_cast<qsizetype>(slot)]};
    for (const QCPAbstractPlottable* each : mPlottables) {
        const auto* bars = qobject_cast<const QCPBars*>(each);
        if (bars == nullptr) {
            continue;
        }
        const auto found = bars->data()->findBegin(slot, false);
        if (found != bars->data()->constEnd() && found->key == slot) {
            lines << SeriesLine(bars->name(), found->value);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString TChart::LineTipAt(const QPointF& pos) const {
    struct TNearPoint {
        double Distance = 0;
        QPointF Pixel;
        double Key = 0;
        QString Line;
    };
    // Each series' point nearest to the pointer, when close enough.
    std::vector<TNearPoint> near;
    for (const QCPGraph* graph : mGraphs) {
        const QCPGraph& line = *graph;
        std::optional<TNearPoint> best;
        for (const QCPGraphData& point : *line.data()) {
            const QPointF pixel = line.coordsToPixels(point.key, point.value);
            const double distance = QLineF(pixel, pos).length();
            if (distance <= kTipRadius && (!best || distance < best->Distance)) {
                best = TNearPoint{distance, pixel, point.key, SeriesLine(line.name(), point.value)};
            }
        }
        if (best) {
            near.push_back(*best);
        }
    }
    if (near.empty()) {
        return {};
    }
    const TNearPoint& nearest = *std::min_element(
        near.begin(), near.end(),
        [](const TNearPoint& a, const TNearPoint& b) { return a.Distance < b.Distance; });
    const QString key = ChartValueText(nearest.Key);
    const QString label = xAxis->label();
    QStringList lines{label.isEmpty() ? key : label + QLatin1Char(' ') + key};
    // Series drawn over the same spot are named together.
    for (const TNearPoint& point : near) {
        if (QLineF(point.Pixel, nearest.Pixel).length() <= 1) {
            lines << point.Line;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

bool TChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ValueTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QCustomPlot::event(event);
}

}  // namespace tovarin
