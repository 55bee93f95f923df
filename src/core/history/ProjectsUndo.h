#pragma once

#include <string>
#include <vector>

#include "core/history/UndoStep.h"

namespace tovarin {

class TPrjMgr;
class TSeqPrj;
enum class TPrjChange;

// The project list in the undo history. It keeps every project's stored
// record as it stood at the last boundary, since a notification comes only
// after the change: a command's change is the record of the one project it
// changed (a condition checked, a setting), or the whole list's records
// when it changed the list itself or more than one project. Going back
// loads the record into the same project object, or the whole list anew.
class TProjectsUndo : public TUndoPart {
public:
    TProjectsUndo(TUndoRecorder& recorder, TPrjMgr& projects);
    ~TProjectsUndo() override;

    void Settle() override;

    // The records the part holds swap with those a change holds, and the
    // projects take them: the one move behind Undo and Redo.
    void Exchange(int index, std::string& record);
    void Exchange(std::vector<std::string>& records);

private:
    void Heard(TPrjChange change, const TSeqPrj* project);
    std::string RecordOf(int index) const;
    std::vector<std::string> AllRecords() const;

    TPrjMgr& projects_;
    std::vector<std::string> records_;
    int token_;
};

}  // namespace tovarin
