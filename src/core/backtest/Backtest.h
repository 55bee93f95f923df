#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/backtest/Evaluation.h"
#include "core/base/Errors.h"

namespace tovarin {

class TCodeNet;
class TSeq;

// A range of periods the draw table cannot answer.
class EBacktestRange : public Exception {
public:
    using Exception::Exception;
};

// The first and last period of a range, both included.
struct TPeriodRange {
    int From = 0;
    int To = 0;
    int Periods() const { return To - From + 1; }
};

struct TBacktestResult {
    int Codes = 0;  // n: codes with 0 <= E <= t
    int Hits = 0;   // h: periods whose winner is one of them
    double Rate = 0;
    double Baseline = 0;         // n / 100
    std::optional<double> Lift;  // rate / baseline; none when n is 0
    // P(X >= h), X ~ Bin(P, n / 100): picking n codes at random would do
    // at least as well.
    double PValue = 1;
    int LongestMissRun = 0;
    int CurrentMissRun = 0;  // the misses that end at the range's last period
};

struct TErrorPeriods {
    int Error = 0;  // -1 (F), 0, 1, ..., checked
    int Periods = 0;
};

// What tolerance u would have kept and caught.
struct TTolerancePoint {
    int Tolerance = 0;
    int Codes = 0;
    int Hits = 0;
};

struct TConditionScore {
    int Step = 0;
    std::string Text;
    int PassedCodes = 0;
    int WinnerPassed = 0;  // periods whose winner the condition passes
};

struct TGroupScore {
    int Size = 0;
    int Codes = 0;
    double ExpectedHits = 0;  // the sum of the winners' chances
};

struct TBacktestReport {
    TPeriodRange Range;
    int Tolerance = 0;
    int Checked = 0;
    TBacktestResult Result;
    std::vector<TErrorPeriods> WinnerErrors;
    std::vector<TTolerancePoint> ToleranceCurve;
    std::vector<TConditionScore> Conditions;
    std::vector<TGroupScore> Groups;
};

// One period's line of the details.
struct TPeriodDetail {
    int Period = 0;
    std::string Label;  // the lottery's, empty when the draw has none
    std::string Draw;   // the numbers of the game (NumbersText)
    TCode Code = 0;     // the winner
    int Error = 0;
    bool Hit = false;
    std::vector<int> FailedSteps;  // what blocked the winner
};

// The winner of a draw: first digit x 10 + fourth digit.
TCode WinnerCode(const TSeq& draw);

// The last 100 draws: to = the last period, from = max(1, to - 99).
TPeriodRange DefaultRange(const TCodeNet& net);
// Raises EBacktestRange unless 1 <= from <= to <= the last period.
void CheckRange(const TCodeNet& net, TPeriodRange range);

// Every figure of the backtest over the range, from one pass over its
// draws. An empty table raises "no draws to test"; a bad range
// EBacktestRange.
TBacktestReport Backtest(const TEvaluation& evaluation, const TCodeNet& net, TPeriodRange range);

TPeriodDetail PeriodDetail(const TEvaluation& evaluation, const TCodeNet& net, int period);

// The hit rate of each window of the given number of consecutive periods
// that lies inside the range, the window ending at period from + window - 1
// first; none when the range is shorter than a window.
std::vector<double> RollingHitRates(const TEvaluation& evaluation, const TCodeNet& net,
                                    TPeriodRange range, int window);

}  // namespace tovarin
