#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/engine/Code.h"
#include "core/ledger/LedgerEntry.h"

namespace tovarin {

class TCodeNet;
class TLedger;

// An entry against its draw. It is derived from the table every time and
// never stored, so a draw taken back (an undo) leaves the entry open again.
struct TSettlement {
    int Period = 0;               // the program's period of the draw
    std::string Draw;             // its numbers in the table's game (NumbersText)
    TCode Winner = 0;             // first digit x 10 + fourth digit
    bool Hit = false;             // the run kept the winner
    std::optional<int> Error;     // the winner's error, when the run kept it
    std::vector<bool> GroupHits;  // per recorded group: it held the winner
};

// The period of the draw an entry is settled against: the draw with the
// entry's label when it has one, else the draw of its period; none while
// the table does not hold it.
std::optional<int> DrawPeriodOf(const TLedgerRecord& record, const TCodeNet& net,
                                const TFindDraw& findDraw);

std::optional<TSettlement> Settle(const TLedgerRecord& record, const TCodeNet& net,
                                  const TFindDraw& findDraw);
// Every entry's settlement, by index in the ledger (Seq - 1).
std::vector<std::optional<TSettlement>> SettleLedger(const TLedger& ledger, const TCodeNet& net,
                                                     const TFindDraw& findDraw);

}  // namespace tovarin
