#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ledger/Ledger.h"
#include "core/ledger/Settle.h"

namespace tovarin {

class TCodeNet;
class TSeqPrj;

// Finds draws by label in the table as it is now (one index built for
// many look-ups); the finder must not outlive a change of the table.
TFindDraw DrawFinder(const TCodeNet& net);

// The lottery's label of a period: the row's own label for a period the
// table holds; for a period k after the last draw, the k-th label after
// the last draw's by the in-year rule; none when the table's last draw has
// no label.
std::optional<std::string> PeriodLabel(const TCodeNet& net, int period);

// What 记录预测 says when the project's last run is not there to record.
std::string NoRunText(int projectNumber);

// Records the last filtering run of a project (its number from 1) for its
// target, with the target's label and what the table holds now. ELedgerError
// "请先对方案N进行筛选计算" when the project has no run to record (none yet,
// a single condition's, or one its edits made stale), or "第361期已开奖，
// 不能记录预测" when the target's draw is known; the ledger is unchanged then.
const TLedgerEntry& RecordPrediction(TLedger& ledger, const TSeqPrj& project, int projectNumber,
                                     int64_t recordedAt);

// What a recording tells: "已记录方案1对第2026150期的预测（10个号码）", the
// label when the entry has one, else the period.
std::string RecordedText(const TLedgerEntry& entry);

// Keeps the settlements of a ledger's entries against a table and tells
// what each change of the table settled: the entries settled now that were
// open before, or whose draw's digits changed (a draw typed digit by digit),
// as "第2026150期已开奖：方案2命中（3xx7），方案3未命中". A table put in place
// together with a new ledger (a document opened) tells nothing; a
// draw taken away leaves its entries open again.
class TSettlementWatch {
public:
    using Listener = std::function<void(const std::string& text)>;

    TSettlementWatch(TLedger& ledger, TCodeNet& net, Listener onSettled);
    ~TSettlementWatch();
    TSettlementWatch(const TSettlementWatch&) = delete;
    TSettlementWatch& operator=(const TSettlementWatch&) = delete;

    const std::vector<std::optional<TSettlement>>& Settlements() const { return settlements_; }

private:
    // Settles every entry anew; returns what to tell, or empty text.
    std::string Refresh(bool tell);

    TLedger* ledger_;
    TCodeNet* net_;
    Listener onSettled_;
    std::vector<std::optional<TSettlement>> settlements_;
    // The ledger was put in place; the table's next change belongs to it.
    bool replaced_ = false;
    int ledgerToken_ = 0;
    int netToken_ = 0;
};

}  // namespace tovarin
