// The chart unit: round steps, digits grouped by thousands, the tick
// labels, the values under the pointer and category labels that make room.
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "gui/charts/Chart.h"
#include "gui/charts/ChartAxes.h"

using namespace tovarin;

namespace {

QStringList TickLabels(QCPAxis& axis) {
    QVector<double> ticks;
    QVector<QString> labels;
    axis.ticker()->generate(axis.range(), QLocale(), 'g', 6, ticks, nullptr, &labels);
    return QStringList(labels.begin(), labels.end());
}

// The chart on screen at a size, laid out.
void ShowAt(TChart& chart, int width, int height) {
    chart.resize(width, height);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.replot();
}

QPointF PixelOf(const TChart& chart, double key, double value) {
    return {chart.xAxis->coordToPixel(key), chart.yAxis->coordToPixel(value)};
}

}  // namespace

class ChartTest : public QObject {
    Q_OBJECT

private slots:
    void roundStepsCoverTheSpan() {
        struct TCase {
            double Span;
            int Parts;
            double MinStep;
            double Step;
        };
        for (const TCase& row : std::vector<TCase>{{2, 6, 1, 1},
                                                   {12, 6, 1, 2},
                                                   {13, 6, 1, 5},
                                                   {100, 5, 10, 20},
                                                   {240000, 6, 1, 50000},
                                                   {0, 6, 1, 1},
                                                   {0.3, 6, 0.01, 0.05}}) {
            QCOMPARE(RoundStep(row.Span, row.Parts, row.MinStep), row.Step);
        }
    }

    void digitsAreGroupedByThousands() {
        struct TCase {
            double Value;
            int Decimals;
            const char* Text;
        };
        for (const TCase& row : std::vector<TCase>{{0, 0, "0"},
                                                   {999, 0, "999"},
                                                   {1000, 0, "1,000"},
                                                   {250000, 0, "250,000"},
                                                   {1234567.891, 2, "1,234,567.89"},
                                                   {-1234.5, 2, "-1,234.50"},
                                                   {-0.001, 0, "0"},
                                                   {-999, 0, "-999"}}) {
            QCOMPARE(GroupDigits(row.Value, row.Decimals), QString::fromUtf8(row.Text));
        }
        QCOMPARE(ChartValueText(12), QStringLiteral("12"));
        QCOMPARE(ChartValueText(0.35), QStringLiteral("0.35"));
        QCOMPARE(ChartValueText(2500.5), QStringLiteral("2,500.50"));
    }

    void axesTickOnRoundGroupedSteps() {
        TChart chart(QStringLiteral("t"));
        SetCountAxis(*chart.yAxis, 240000);
        QCOMPARE(chart.yAxis->range().upper, 250000.0);
        QCOMPARE(TickLabels(*chart.yAxis),
                 (QStringList{"0", "50,000", "100,000", "150,000", "200,000", "250,000"}));
        SetCountAxis(*chart.yAxis, 0);
        QCOMPARE(chart.yAxis->range().upper, 2.0);
        QCOMPARE(TickLabels(*chart.yAxis), (QStringList{"0", "1", "2"}));
        SetRoundAxis(*chart.xAxis, 2480, 2503);
        QCOMPARE(TickLabels(*chart.xAxis),
                 (QStringList{"2,480", "2,485", "2,490", "2,495", "2,500"}));
        SetRoundAxis(*chart.xAxis, 0, 0.3, 6, 0.01);
        QCOMPARE(TickLabels(*chart.xAxis).at(1), QStringLiteral("0.05"));
    }

    void barTipNamesTheCategoryAndEachSet() {
        TChart chart(QStringLiteral("t"));
        chart.SetCategories({"a", "b", "c"});
        chart.AddBars(QStringLiteral("出现次数"), Qt::blue)->setData({0, 1, 2}, {3, 12, 1500});
        chart.AddBars(QStringLiteral("理论次数"), Qt::gray)->setData({0, 1, 2}, {4, 10.5, 1499.5});
        SetCountAxis(*chart.yAxis, 1500);
        ShowAt(chart, 400, 300);
        QCOMPARE(chart.ValueTipAt(PixelOf(chart, 1.3, 1)),
                 QStringLiteral("b\n出现次数：12\n理论次数：10.50"));
        QCOMPARE(chart.ValueTipAt(PixelOf(chart, 2, 1)),
                 QStringLiteral("c\n出现次数：1,500\n理论次数：1,499.50"));
        // Outside the plot (over the title) nothing is named.
        QCOMPARE(chart.ValueTipAt(QPointF(200, 2)), QString());

        // The hover itself: the tool tip event shows the tip.
        const QPointF at = PixelOf(chart, 0, 1);
        QHelpEvent help(QEvent::ToolTip, at.toPoint(), chart.mapToGlobal(at.toPoint()));
        QCoreApplication::sendEvent(&chart, &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("a\n出现次数：3\n理论次数：4"));
    }

    void lineTipNamesTheNearestPointAndWhatShareIt() {
        TChart chart(QStringLiteral("t"));
        chart.xAxis->setLabel(QStringLiteral("容错"));
        QCPGraph* line = chart.AddLine(QStringLiteral("命中期数(%)"), QPen(Qt::blue), true);
        line->setData({0, 1, 2}, {50, 80, 100});
        chart.AddMarks(QStringLiteral("当前容错1"), Qt::red, 14)->setData({1}, {80});
        SetRoundAxis(*chart.xAxis, 0, 2);
        SetRoundAxis(*chart.yAxis, 0, 100, 5, 10);
        ShowAt(chart, 400, 300);
        QCOMPARE(chart.ValueTipAt(PixelOf(chart, 1, 80) + QPointF(3, 3)),
                 QStringLiteral("容错 1\n命中期数(%)：80\n当前容错1：80"));
        QCOMPARE(chart.ValueTipAt(PixelOf(chart, 0, 50)),
                 QStringLiteral("容错 0\n命中期数(%)：50"));
        // Far from every point: no tip.
        QCOMPARE(chart.ValueTipAt(PixelOf(chart, 0.5, 10)), QString());
        chart.ClearSeries();
        QCOMPARE(chart.graphCount(), 0);
        QCOMPARE(chart.ValueTipAt(PixelOf(chart, 1, 80)), QString());
    }

    void categoryLabelsStandUprightWhenTheyDoNotFit() {
        TChart chart(QStringLiteral("t"));
        QStringList sums;
        for (int sum = 0; sum <= 18; ++sum) {
            sums << QString::number(sum);
        }
        chart.SetCategories(sums);
        ShowAt(chart, 900, 300);
        QCOMPARE(chart.xAxis->tickLabelRotation(), 0.0);
        ShowAt(chart, 150, 300);
        QCOMPARE(chart.xAxis->tickLabelRotation(), -90.0);
    }
};

QTEST_MAIN(ChartTest)
#include "ChartTest.moc"
