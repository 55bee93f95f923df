#pragma once

#include <functional>
#include <string>

#include "core/backtest/Backtest.h"

namespace tovarin {

class TCodeNet;

// A share as a whole percentage ("68%"); a share that is neither 0 nor 1
// but would round to 0% or 100% reads "不到1%" or "超过99%".
std::string PercentText(double share);
// A count that may have a fraction, with at most one decimal and its digits
// grouped ("71", "21.3", "71,069.4").
std::string AmountText(double amount);

// How the range reads: "近100期" when it ends at the table's last period,
// else "第5期至第50期".
std::string RangeText(TPeriodRange range, int lastPeriod);

// The result in a player's words: "近100期中命中68期（68%）；随机选71个号码
// 平均命中71期；随机选号命中不少于68期的概率为73%", then the lift
// ("；命中率是随机选号的0.96倍") when there is one.
std::string SummarySentence(const TBacktestReport& report, int lastPeriod);

// Conditions picked while looking at these draws flatter themselves here.
extern const char* const kBacktestCaution;

// The readable report of the command line, each line handed to the sink as
// it is made; with details, one line per period naming the conditions that
// failed its winner, so that a million periods are never held at once.
void WriteBacktestReport(const TBacktestReport& report, const TEvaluation& evaluation,
                         const TCodeNet& net, int projectNumber, bool details,
                         const std::function<void(const std::string&)>& sink);

}  // namespace tovarin
