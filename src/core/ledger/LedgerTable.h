#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/ledger/Ledger.h"
#include "core/ledger/Settle.h"

namespace tovarin {

// The columns of the 成绩单 table and of its CSV export.
inline constexpr std::array<const char*, 9> kLedgerColumns = {
    "期号/期", "记录时间", "方案", "号码数", "开奖号码", "头尾码", "命中", "各组命中", "替换次数"};

using TLedgerLine = std::array<std::string, kLedgerColumns.size()>;

// One line per row, newest first: "2026150/362" (the label, when the
// entry has one, and the period), "2026-12-06 20:15:03", "方案2", the kept
// codes' count, the draw and its winning code (empty while open), "命中",
// "未中" or "未开奖", the groups as "40中 30中 20未中", and how many
// entries the row replaced. Settlements by entry index, as SettleLedger
// gives them.
std::vector<TLedgerLine> LedgerLines(const std::vector<TLedgerRow>& rows,
                                     const std::vector<std::optional<TSettlement>>& settlements);

// The lines as CSV: UTF-8 with a byte-order mark, the columns' header
// first, CR LF line ends (a spreadsheet's own form).
std::string LedgerCsv(const std::vector<TLedgerLine>& lines);

// The cumulative hits over the settled rows in recording order, against
// what picking as many codes at random would give: its expected hits and
// their standard deviation, after each settled row.
struct TCumulativePoint {
    int Hits = 0;
    double Expected = 0;
    double Deviation = 0;
};
std::vector<TCumulativePoint> CumulativeHits(
    const std::vector<TLedgerRow>& rows,
    const std::vector<std::optional<TSettlement>>& settlements);

}  // namespace tovarin
