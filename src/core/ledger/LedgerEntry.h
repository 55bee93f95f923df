#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Sha256.h"
#include "core/engine/Code.h"
#include "core/engine/PrjOptions.h"

namespace tovarin {

class TSeqPrj;

// What the ledger refuses to record; the message is the player's.
class ELedgerError : public Exception {
public:
    using Exception::Exception;
};

// A code the run kept (0 <= error <= tolerance) and its error value.
struct TKeptCode {
    TCode Code = 0;
    int Error = 0;

    bool operator==(const TKeptCode&) const = default;
};

// A recommendation group as the run showed it.
struct TLedgerGroup {
    int Size = 0;              // 40, 30, 20 or 10: what the group was to hold
    std::vector<TCode> Codes;  // ascending; fewer than Size when the levels ran short

    bool operator==(const TLedgerGroup&) const = default;
};

// One filtering run as it was recorded, before the draw of its target.
struct TLedgerRecord {
    int64_t RecordedAt = 0;               // seconds since 1970-01-01 00:00 UTC
    int Project = 0;                      // the project's number in the list, from 1
    TPrjOptions Options;                  // a full copy of the project's settings
    std::vector<std::string> Conditions;  // the checked conditions' texts, in run order
    int Tolerance = 0;
    std::vector<TKeptCode> Kept;       // ascending by code
    std::vector<TLedgerGroup> Groups;  // in the order shown, 40 first
    int Period = 0;                    // the program's period of the target (row + 1)
    // The lottery's label of the target, when the table's labels told it.
    std::optional<std::string> Label;
    // What the table held: its row count and its last draw's label.
    int BasedOnDraws = 0;
    std::optional<std::string> BasedOnLabel;
};

// A record in the ledger: its place and its link in the chain, SHA-256 of
// its canonical bytes followed by the previous entry's hash (the first
// entry's of its canonical bytes alone).
struct TLedgerEntry {
    int Seq = 0;  // from 1, in recording order
    TLedgerRecord Record;
    TSha256Digest Hash{};
};

// The period of the draw carrying a label, when the table holds one.
using TFindDraw = std::function<std::optional<int>(std::string_view label)>;

// The record of the project's last filtering run: its settings, checked
// conditions, tolerance, kept codes and target period, and the table's
// row count; the groups are the ones the run showed. The labels are left
// for the caller, who knows the table's.
TLedgerRecord RecordOfRun(const TSeqPrj& project, int projectNumber,
                          std::vector<TLedgerGroup> groups, int64_t recordedAt);

}  // namespace tovarin
