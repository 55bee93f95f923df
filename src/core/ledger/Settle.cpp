#include "core/ledger/Settle.h"

#include <algorithm>

#include "core/backtest/Backtest.h"
#include "core/draws/LawNet.h"
#include "core/ledger/Ledger.h"

namespace tovarin {

std::optional<int> DrawPeriodOf(const TLedgerRecord& record, const TCodeNet& net,
                                const TFindDraw& findDraw) {
    std::optional<int> period;
    if (!record.Label) {
        period = record.Period;
    } else if (findDraw) {
        period = findDraw(*record.Label);
    }
    if (period && (*period < net.FirstPeriod() || *period - net.FirstPeriod() >= net.Count())) {
        return std::nullopt;
    }
    return period;
}

std::optional<TSettlement> Settle(const TLedgerRecord& record, const TCodeNet& net,
                                  const TFindDraw& findDraw) {
    const std::optional<int> period = DrawPeriodOf(record, net, findDraw);
    if (!period) {
        return std::nullopt;
    }
    const TSeq& draw = net.GetSeq(*period - net.FirstPeriod());
    TSettlement settlement;
    settlement.Period = *period;
    settlement.Draw = NumbersText(draw, net.Game());
    settlement.Winner = WinnerCode(draw);
    const auto kept =
        std::lower_bound(record.Kept.begin(), record.Kept.end(), settlement.Winner,
                         [](const TKeptCode& code, TCode winner) { return code.Code < winner; });
    settlement.Hit = kept != record.Kept.end() && kept->Code == settlement.Winner;
    if (settlement.Hit) {
        settlement.Error = kept->Error;
    }
    for (const TLedgerGroup& group : record.Groups) {
        settlement.GroupHits.push_back(
            std::binary_search(group.Codes.begin(), group.Codes.end(), settlement.Winner));
    }
    return settlement;
}

std::vector<std::optional<TSettlement>> SettleLedger(const TLedger& ledger, const TCodeNet& net,
                                                     const TFindDraw& findDraw) {
    std::vector<std::optional<TSettlement>> settlements;
    settlements.reserve(ledger.Entries().size());
    for (const TLedgerEntry& entry : ledger.Entries()) {
        settlements.push_back(Settle(entry.Record, net, findDraw));
    }
    return settlements;
}

}  // namespace tovarin
