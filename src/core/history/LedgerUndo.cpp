#include "core/history/LedgerUndo.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/ledger/Ledger.h"

namespace tovarin {
namespace {

size_t EntryBytes(const TLedgerEntry& entry) {
    const TLedgerRecord& record = entry.Record;
    size_t bytes = sizeof(entry) + record.Kept.capacity() * sizeof(TKeptCode) +
                   record.Conditions.capacity() * sizeof(std::string) +
                   record.Groups.capacity() * sizeof(TLedgerGroup);
    for (const std::string& text : record.Conditions) {
        bytes += text.capacity();
    }
    for (const TLedgerGroup& group : record.Groups) {
        bytes += group.Codes.capacity() * sizeof(TCode);
    }
    return bytes;
}

// The ledger's changes within a step, oldest first. Each holds what the
// ledger lacks on the side it is not on.
class TLedgerStepChange : public TPartChange {
public:
    TLedgerStepChange(const TUndoPart& part, TLedger& ledger)
        : TPartChange(part), ledger_(ledger) {}

    void AddRecorded() { edits_.push_back({}); }
    void AddReset(TLedgerState before) { edits_.push_back({true, {}, std::move(before)}); }

    void Undo() override {
        for (size_t i = edits_.size(); i-- > 0;) {
            TEdit& edit = edits_[i];
            if (edit.Whole) {
                ledger_.Exchange(edit.State);
            } else {
                edit.Entry = ledger_.TakeNewest();
            }
        }
    }

    void Redo() override {
        for (TEdit& edit : edits_) {
            if (edit.Whole) {
                ledger_.Exchange(edit.State);
            } else {
                ledger_.PutBack(std::move(*edit.Entry));
                edit.Entry.reset();
            }
        }
    }

    size_t Bytes() const override {
        size_t bytes = sizeof(*this) + edits_.capacity() * sizeof(TEdit);
        for (const TEdit& edit : edits_) {
            if (edit.Entry) {
                bytes += EntryBytes(*edit.Entry);
            }
            bytes += edit.State.Entries.capacity() * sizeof(TLedgerEntry);
            for (const TLedgerEntry& entry : edit.State.Entries) {
                bytes += EntryBytes(entry) - sizeof(entry);
            }
        }
        return bytes;
    }

private:
    struct TEdit {
        bool Whole = false;                 // the entries changed at once
        std::optional<TLedgerEntry> Entry;  // a recording, while taken back
        TLedgerState State;                 // Whole: the other side's entries
    };

    TLedger& ledger_;
    std::vector<TEdit> edits_;
};

}  // namespace

TLedgerUndo::TLedgerUndo(TUndoRecorder& recorder, TLedger& ledger)
    : TUndoPart(recorder),
      ledger_(ledger),
      token_(ledger.Subscribe(
          [this](TLedgerChange change, TLedgerState* before) { Heard(change, before); })) {}

TLedgerUndo::~TLedgerUndo() { ledger_.Unsubscribe(token_); }

void TLedgerUndo::Heard(TLedgerChange change, TLedgerState* before) {
    if (Recorder().Applying() || change == TLedgerChange::Withdrawn) {
        return;
    }
    auto* open = static_cast<TLedgerStepChange*>(Recorder().Find(*this));
    if (open == nullptr) {
        auto made = std::make_unique<TLedgerStepChange>(*this, ledger_);
        open = made.get();
        Recorder().Add(std::move(made));
    }
    if (change == TLedgerChange::Recorded) {
        open->AddRecorded();
    } else {
        open->AddReset(std::move(*before));
    }
}

}  // namespace tovarin
