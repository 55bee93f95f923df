#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Listeners.h"
#include "core/ledger/LedgerEntry.h"

namespace tovarin {

class TCodeNet;

// What the ledger tells its listeners.
enum class TLedgerChange {
    Recorded,   // an entry was appended, or put back by a redo
    Withdrawn,  // the newest entry was taken back by an undo
    Reset,      // the entries changed at once: cleared, or brought back by an undo
    Replaced,   // another ledger was put in place (a document opened); the table follows
};

// The entries and the chain's state without the listeners: what an undo
// step keeps of a ledger.
struct TLedgerState {
    std::vector<TLedgerEntry> Entries;
    std::optional<int> BrokenAt;
};

// The ledger of recorded predictions. It only grows: an entry once recorded
// never changes, and recording a project for a target again appends an
// entry that supersedes the earlier one. Only clearing the whole ledger
// takes entries away; the chain then starts again at entry 1.
class TLedger {
public:
    // before: for Reset and Replaced the state the ledger left, which it
    // drops once told, so that the undo history takes it without a copy
    // (and no other listener may count on it); else null.
    using Listener = std::function<void(TLedgerChange change, TLedgerState* before)>;

    TLedger() = default;
    TLedger(TLedger&&) = default;
    TLedger& operator=(TLedger&&) = default;
    TLedger(const TLedger&) = delete;
    TLedger& operator=(const TLedger&) = delete;

    const std::vector<TLedgerEntry>& Entries() const { return state_.Entries; }
    int Count() const { return static_cast<int>(state_.Entries.size()); }
    // The first entry whose hash does not follow from its bytes and the
    // previous entry's hash, as found when the ledger was read; none while
    // the chain holds. A broken chain stays broken: it is never repaired.
    std::optional<int> BrokenAt() const { return state_.BrokenAt; }
    // The newest entry's hash, the fingerprint to publish; none when empty.
    const TSha256Digest* NewestHash() const;

    // Appends the record as the newest entry, linked to the chain. A target
    // whose draw the table already holds (found by the record's label when
    // it has one, else by its period) is refused with ELedgerError
    // "第361期已开奖，不能记录预测" (the label, else the period); a record the
    // stored form cannot hold (codes out of order, a tolerance outside
    // 0..10, a label that is not 1 to 9 digits, text that is not UTF-8) with
    // Exception. Nothing changes when it is refused.
    const TLedgerEntry& Record(TLedgerRecord record, const TCodeNet& net,
                               const TFindDraw& findDraw);
    void Clear();
    // Takes the entries and the chain's state of another ledger (one read
    // from a document), keeping this one's listeners.
    void Replace(TLedger&& other);

    // The undo history's moves, which leave Modified as it is. The newest
    // entry goes, and comes back as it went (its hash is not made again);
    // Exchange swaps the whole state with the one given.
    TLedgerEntry TakeNewest();
    void PutBack(TLedgerEntry entry);
    void Exchange(TLedgerState& state);

    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }

    int Subscribe(Listener listener) { return listeners_.Add(std::move(listener)); }
    void Unsubscribe(int token) { listeners_.Remove(token); }

private:
    friend TLedger DecodeLedger(std::string_view payload, size_t offsetInFile);
    explicit TLedger(TLedgerState state) : state_(std::move(state)) {}
    // Puts state in place and tells the listeners what was there before.
    void Swap(TLedgerState& state, TLedgerChange change);

    TLedgerState state_;
    bool modified_ = false;
    TListeners<TLedgerChange, TLedgerState*> listeners_;
};

// One line of a listing: an entry, how many earlier entries of the same
// project and target it replaces, and whether a later one replaces it.
struct TLedgerRow {
    const TLedgerEntry* Entry = nullptr;
    int Replaced = 0;
    bool Superseded = false;
};

// The entries in recording order: the newest of each project and target,
// or with all every entry; with a project, only that project's. Two
// entries share a target when both carry labels naming the same draw
// (26099 and 2026099 are one draw), or when neither carries a label and
// their periods are equal.
std::vector<TLedgerRow> LedgerRows(const TLedger& ledger, std::optional<int> project = {},
                                   bool all = false);

// "第361期已开奖，不能记录预测" for the record's label, else its period.
std::string AlreadyDrawnText(const TLedgerRecord& record);

}  // namespace tovarin
