#pragma once

#include <vector>

namespace tovarin {

class TChart;

struct TBacktestReport;

// The tolerance curve: for each tolerance the share of codes it keeps and
// the share of winners it catches, the project's tolerance marked. The
// chart's series are replaced.
void ShowToleranceCurve(TChart& chart, const TBacktestReport& report);

// The hit rate of each rolling window (rates[i] for the window ending at
// firstEnd + i) against the chance baseline; a long range is thinned to a
// few thousand points.
void ShowRollingHitRate(TChart& chart, const std::vector<double>& rates, int firstEnd,
                        double baseline, int window);

// What the rolling chart draws as its line: every step-th rate, the last
// one always kept, at most maxPoints points.
std::vector<int> ThinnedIndexes(int count, int maxPoints);

}  // namespace tovarin
