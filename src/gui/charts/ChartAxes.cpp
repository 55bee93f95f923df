#include "gui/charts/ChartAxes.h"

#include <algorithm>
#include <cmath>

namespace tovarin {

double RoundStep(double span, int maxParts, double minStep) {
    const double parts = std::max(1, maxParts);
    const double least = std::max(span / parts, minStep);
    double power = std::pow(10.0, std::floor(std::log10(least)));
    for (;; power *= 10) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            // A step within rounding of the least one is taken.
            if (factor * power >= least * (1 - 1e-9)) {
                return factor * power;
            }
        }
    }
}

QString GroupDigits(double value, int decimals) {
    decimals = std::max(0, decimals);
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    // A value that rounds to zero has no sign.
    const bool negative = value < 0 && std::round(-value * std::pow(10.0, decimals)) > 0;
    qsizetype whole = digits.indexOf(QLatin1Char('.'));
    if (whole < 0) {
        whole = digits.size();
    }
    for (qsizetype at = whole - 3; at > 0; at -= 3) {
        digits.insert(at, QLatin1Char(','));
    }
    return negative ? QLatin1Char('-') + digits : digits;
}

QString ChartValueText(double value) {
    const bool whole = std::fabs(value - std::round(value)) < 1e-9;
    return GroupDigits(value, whole ? 0 : 2);
}

TRoundTicker::TRoundTicker(double step) {
    setTickStep(step);
    setScaleStrategy(ssNone);
    decimals_ = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

QString TRoundTicker::getTickLabel(double tick, const QLocale& /*locale*/, QChar /*formatChar*/,
                                   int /*precision*/) {
    return GroupDigits(tick, decimals_);
}

namespace {

void SetTickedRange(QCPAxis& axis, double low, double high, double step) {
    axis.setTicker(QSharedPointer<TRoundTicker>::create(step));
    // Between round ticks, smaller ones would stand for fractions of a count.
    axis.setSubTicks(false);
    axis.setRange(low, high);
}

}  // namespace

void SetRoundAxis(QCPAxis& axis, double low, double high, int maxParts, double minStep) {
    SetTickedRange(axis, low, high, RoundStep(high - low, maxParts, minStep));
}

void SetCountAxis(QCPAxis& axis, double largest) {
    const double top = std::max(1.0, largest);
    const double step = RoundStep(top, 6);
    SetTickedRange(axis, 0, (std::floor(top / step) + 1) * step, step);
}

}  // namespace tovarin
