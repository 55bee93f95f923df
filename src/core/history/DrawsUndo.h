#pragma once

#include "core/history/UndoStep.h"

namespace tovarin {

class TCodeNet;
struct TNetEdit;

// The draw table in the undo history. Its change in a step is the rows the
// command changed, added or removed, each as the whole draw it held, in the
// order of the edits; a table replaced or cleared at once is held as the
// rows before. What the table's notifications tell is all it needs: the
// table is never copied to find out what changed.
class TDrawsUndo : public TUndoPart {
public:
    TDrawsUndo(TUndoRecorder& recorder, TCodeNet& net);
    ~TDrawsUndo() override;

private:
    void Heard(const TNetEdit& edit);

    TCodeNet& net_;
    int token_;
};

}  // namespace tovarin
