#include "core/ledger/Ledger.h"

#include <map>
#include <utility>

#include "core/base/ByteStream.h"
#include "core/ledger/LedgerFormat.h"
#include "core/ledger/Settle.h"

namespace tovarin {
namespace {

// The settings record is read back byte for byte by its own rule; the rest
// is compared field by field.
bool SameRecord(const TLedgerRecord& a, const TLedgerRecord& b) {
    return a.RecordedAt == b.RecordedAt && a.Project == b.Project && a.Conditions == b.Conditions &&
           a.Tolerance == b.Tolerance && a.Kept == b.Kept && a.Groups == b.Groups &&
           a.Period == b.Period && a.Label == b.Label && a.BasedOnDraws == b.BasedOnDraws &&
           a.BasedOnLabel == b.BasedOnLabel;
}

// What is recorded must read back: the stored form's rules are the
// reader's, so a record is checked by reading its own bytes.
void CheckStorable(const TLedgerRecord& record, const std::string& bytes) {
    try {
        ByteReader in(bytes);
        if (!SameRecord(ReadRecord(in), record)) {
            throw Exception("Ledger record refused: it does not read back as it was given");
        }
    } catch (const EReadError& error) {
        throw Exception(std::string("Ledger record refused: ") + error.what());
    }
}

// One draw, whichever of its two spellings a label uses: a five-digit
// label YYNNN is the seven-digit 20YYNNN.
std::string DrawKey(const std::string& label) { return label.size() == 5 ? "20" + label : label; }

// The target of an entry as LedgerRows compares them: a label with a mark
// no period has, else the period.
std::pair<int, std::string> TargetKey(const TLedgerRecord& record) {
    return {record.Project,
            record.Label ? "L" + DrawKey(*record.Label) : std::to_string(record.Period)};
}

}  // namespace

const TSha256Digest* TLedger::NewestHash() const {
    return entries_.empty() ? nullptr : &entries_.back().Hash;
}

const TLedgerEntry& TLedger::Record(TLedgerRecord record, const TCodeNet& net,
                                    const TFindDraw& findDraw) {
    if (DrawPeriodOf(record, net, findDraw)) {
        throw ELedgerError(AlreadyDrawnText(record));
    }
    const std::string bytes = RecordBytes(record);
    CheckStorable(record, bytes);
    TSha256 hasher;
    TLedgerEntry entry;
    entry.Seq = Count() + 1;
    entry.Hash = ChainHash(hasher, bytes, NewestHash());
    entry.Record = std::move(record);
    entries_.push_back(std::move(entry));
    modified_ = true;
    Changed(TLedgerChange::Recorded);
    return entries_.back();
}

void TLedger::Clear() {
    entries_.clear();
    brokenAt_.reset();
    modified_ = true;
    Changed(TLedgerChange::Reset);
}

void TLedger::Replace(TLedger&& other) {
    entries_ = std::move(other.entries_);
    brokenAt_ = other.brokenAt_;
    other.entries_.clear();
    other.brokenAt_.reset();
    modified_ = false;
    Changed(TLedgerChange::Reset);
}

void TLedger::Changed(TLedgerChange change) { listeners_.Notify(change); }

std::vector<TLedgerRow> LedgerRows(const TLedger& ledger, std::optional<int> project, bool all) {
    const std::vector<TLedgerEntry>& entries = ledger.Entries();
    std::vector<TLedgerRow> rows(entries.size());
    // Per target, the entries seen so far and the newest one's row.
    std::map<std::pair<int, std::string>, std::pair<int, size_t>> seen;
    for (size_t i = 0; i < entries.size(); ++i) {
        rows[i].Entry = &entries[i];
        auto [place, first] = seen.try_emplace(TargetKey(entries[i].Record), 0, i);
        if (!first) {
            rows[place->second.second].Superseded = true;
            place->second.second = i;
        }
        rows[i].Replaced = place->second.first++;
    }
    std::erase_if(rows, [&](const TLedgerRow& row) {
        return (!all && row.Superseded) || (project && row.Entry->Record.Project != *project);
    });
    return rows;
}

std::string AlreadyDrawnText(const TLedgerRecord& record) {
    return "第" + (record.Label ? *record.Label : std::to_string(record.Period)) +
           "期已开奖，不能记录预测";
}

}  // namespace tovarin
