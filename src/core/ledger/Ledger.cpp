#include "core/ledger/Ledger.h"

#include <map>
#include <string>
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
    return state_.Entries.empty() ? nullptr : &state_.Entries.back().Hash;
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
    state_.Entries.push_back(std::move(entry));
    modified_ = true;
    listeners_.Notify(TLedgerChange::Recorded, nullptr);
    return state_.Entries.back();
}

void TLedger::Clear() {
    TLedgerState empty;
    modified_ = true;
    Swap(empty, TLedgerChange::Reset);
}

void TLedger::Replace(TLedger&& other) {
    TLedgerState taken = std::exchange(other.state_, {});
    modified_ = false;
    Swap(taken, TLedgerChange::Replaced);
}

TLedgerEntry TLedger::TakeNewest() {
    if (state_.Entries.empty()) {
        throw Exception("TLedger.TakeNewest: the ledger is empty");
    }
    TLedgerEntry newest = std::move(state_.Entries.back());
    state_.Entries.pop_back();
    listeners_.Notify(TLedgerChange::Withdrawn, nullptr);
    return newest;
}

void TLedger::PutBack(TLedgerEntry entry) {
    if (entry.Seq != Count() + 1) {
        throw Exception("TLedger.PutBack: entry " + std::to_string(entry.Seq) +
                        " does not follow entry " + std::to_string(Count()));
    }
    state_.Entries.push_back(std::move(entry));
    listeners_.Notify(TLedgerChange::Recorded, nullptr);
}

void TLedger::Exchange(TLedgerState& state) { Swap(state, TLedgerChange::Reset); }

void TLedger::Swap(TLedgerState& state, TLedgerChange change) {
    std::swap(state_, state);
    listeners_.Notify(change, &state);
}

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
