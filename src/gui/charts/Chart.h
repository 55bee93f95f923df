#pragma once

#include <QPen>
#include <QString>
#include <QStringList>

#include <qcustomplot.h>

namespace tovarin {

// A chart of the program's windows: a title above, the legend below, the
// value axes on round ticks grouped by thousands, and a tip naming the
// values under the pointer. A bar chart has categories along x, each
// labelled; a line chart has numbers along both axes.
class TChart : public QCustomPlot {
    Q_OBJECT

public:
    explicit TChart(const QString& title, QWidget* parent = nullptr);

    // Makes x the category axis of a bar chart: one slot per label, every
    // label shown, in the order given; labels wider than their slot stand
    // upright.
    void SetCategories(const QStringList& labels);
    const QStringList& Categories() const { return categories_; }

    // A set of bars, one per category, beside the sets added before.
    QCPBars* AddBars(const QString& name, const QColor& color);
    // A line through its points, each point marked when markPoints is set.
    QCPGraph* AddLine(const QString& name, const QPen& pen, bool markPoints);
    // Points without a line, drawn over the lines.
    QCPGraph* AddMarks(const QString& name, const QColor& color, double size);
    // Removes every bar set, line and mark; axes and categories stay.
    void ClearSeries();

    // The tip for the pointer at pos (widget coordinates): in a bar chart
    // the category under it with each set's value; in a line chart the
    // point nearest to it, when one is close, with its series' value.
    // Empty when nothing is there.
    QString ValueTipAt(const QPointF& pos) const;

protected:
    bool event(QEvent* event) override;

private:
    void FitCategoryLabels();
    QString BarTipAt(const QPointF& pos) const;
    QString LineTipAt(const QPointF& pos) const;

    QStringList categories_;
    QCPBarsGroup* barGroup_ = nullptr;
};

}  // namespace tovarin
