#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ledger/Ledger.h"
#include "core/ledger/Settle.h"

namespace tovarin {

// How the recorded predictions did, against picking as many codes at random.
struct TLedgerSummary {
    int Entries = 0;  // the newest entry of each project and target
    int Settled = 0;  // those whose draw is known
    int Hits = 0;
    double Expected = 0;             // the sum of n / 100 over the settled, n the kept codes
    std::optional<double> Rate;      // hits / settled; none before the first draw
    std::optional<double> Baseline;  // expected / settled
    std::optional<double> Lift;      // rate / baseline; none when expected is 0
    // P(X >= hits), X the hits of random picks of the same sizes.
    double PValue = 1;
    bool Enough = false;  // at least kEnoughSettled settled
};

// Below this many settled entries the figures say little.
inline constexpr int kEnoughSettled = 30;

// The summary of the rows a listing shows (superseded rows do not count);
// settlements by entry index, as SettleLedger gives them.
TLedgerSummary SummarizeLedger(const std::vector<TLedgerRow>& rows,
                               const std::vector<std::optional<TSettlement>>& settlements);

// "共记录120期，已开奖118期，命中61期（52%）；随机选同样多的号码平均命中55.4期；
// 随机选号命中不少于61期的概率为19%"; only the counts while nothing is settled.
std::string LedgerSummaryText(const TLedgerSummary& summary);
// Shown below the summary while it is not Enough.
inline constexpr const char* kSmallSampleText = "样本不足30期，结论还不可靠";

// The status after the table gained draws: "第2026150期已开奖：方案2命中（3xx7），
// 方案3未命中", one such part per draw, joined by "；", for the rows settled
// now that were open before; empty when none was.
std::string NewlySettledText(const std::vector<TLedgerRow>& rows,
                             const std::vector<std::optional<TSettlement>>& before,
                             const std::vector<std::optional<TSettlement>>& after);

// The chain's state as the command line reports it: "ok" or "broken at 3".
std::string ChainStateText(const TLedger& ledger);
// For the player, when the chain is broken at an entry.
std::string ChainBrokenText(int seq);
// A moment as ISO 8601 local time without a zone: "2026-12-06T20:15:03".
std::string RecordedAtText(int64_t recordedAt);

}  // namespace tovarin
