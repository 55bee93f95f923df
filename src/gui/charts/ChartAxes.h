#pragma once

#include <QString>

#include <qcustomplot.h>

namespace tovarin {

// A round step (1, 2 or 5 times a power of ten, never below minStep) that
// divides a span into at most maxParts parts.
double RoundStep(double span, int maxParts, double minStep = 1);

// A number with its whole part grouped by thousands with commas and the
// given count of decimals: "250,000", "-1,234.50".
QString GroupDigits(double value, int decimals = 0);

// A value as a chart's tip shows it: a whole number without decimals, any
// other with two, grouped by thousands.
QString ChartValueText(double value);

// Ticks on the multiples of a fixed round step, labelled by GroupDigits
// with as many decimals as the step needs.
class TRoundTicker : public QCPAxisTickerFixed {
public:
    explicit TRoundTicker(double step);

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    int decimals_ = 0;
};

// Gives an axis the range low..high with ticks on a round step that cuts
// it into at most maxParts parts.
void SetRoundAxis(QCPAxis& axis, double low, double high, int maxParts = 6, double minStep = 1);

// A count axis from zero: its top is the next round step above the
// largest value, so the tallest bar never touches the frame.
void SetCountAxis(QCPAxis& axis, double largest);

}  // namespace tovarin
