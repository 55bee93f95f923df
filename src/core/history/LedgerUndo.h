#pragma once

#include "core/history/UndoStep.h"

namespace tovarin {

class TLedger;
struct TLedgerState;
enum class TLedgerChange;

// The prediction ledger in the undo history. The ledger only grows, so a
// recording's change holds nothing until it is taken back, and then the
// one entry it took (put back as it was, hash and all, by redo); clearing
// holds the entries as they were. The ledger's notifications tell all it
// needs.
class TLedgerUndo : public TUndoPart {
public:
    TLedgerUndo(TUndoRecorder& recorder, TLedger& ledger);
    ~TLedgerUndo() override;

private:
    void Heard(TLedgerChange change, TLedgerState* before);

    TLedger& ledger_;
    int token_;
};

}  // namespace tovarin
