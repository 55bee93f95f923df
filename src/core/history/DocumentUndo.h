#pragma once

#include <functional>
#include <string>

#include "core/history/UndoHistory.h"

namespace tovarin {

class TCodeNet;
class TPrjMgr;

// The undo history of one document (its draw table and project list). A
// state is the document's own file image, and going back restores it
// through the document loader, so an undone document is byte for byte the
// one before the command.
class TDocumentUndo {
public:
    // The state before a command, taken before it runs.
    struct TPending {
        std::string Name;
        TDocState Before;
        std::string Group;
    };

    TDocumentUndo(TCodeNet& codeNet, TPrjMgr& projects,
                  size_t byteCap = TUndoHistory::kDefaultByteCap);

    TPending Begin(std::string name, TDocSelection selection, std::string group = {}) const;
    // Makes the pending state a step when the document is no longer that
    // state; a command that changed nothing leaves no step. Returns whether
    // a step was made.
    bool Commit(TPending pending);
    // Runs a command as one step. When it throws, the document goes back
    // to the state before it (OnRolledBack then hears of it, since its
    // projects are new objects) and the error goes on to the caller.
    void Run(std::string name, TDocSelection selection, const std::function<void()>& command,
             std::string group = {});

    // Restores the state one step back (forward) and returns the selection
    // it had; now is the selection at this moment, for the other direction.
    // The project list is marked modified unless the state restored is the
    // one on disk. Exception when there is no step.
    TDocSelection Undo(TDocSelection now);
    TDocSelection Redo(TDocSelection now);

    // After a save: the document as it is now is the one on disk.
    void MarkSaved() { history_.MarkSaved(); }
    // After new and open: no steps, and the document is the one on disk.
    void Reset() { history_.Reset(); }

    const TUndoHistory& History() const { return history_; }
    std::function<void()> OnRolledBack;
    std::string Image() const;

private:
    void Restore(const TDocState& state);

    TCodeNet* codeNet_;
    TPrjMgr* projects_;
    TUndoHistory history_;
};

// The menu entries' texts for a step name: "撤销：" or "重做：" and the
// name, or the bare "撤销" / "重做" when there is no step.
std::string UndoCaption(const std::string& stepName);
std::string RedoCaption(const std::string& stepName);

// What the first status panel says after a command that removed much at
// once, naming the key that takes it back.
std::string ClearedDrawsText(int count);
std::string ReplacedDrawsText(int oldCount, int newCount);
std::string DeletedPrjsText(int count);
std::string ClearedPrjsText(int count);
std::string ClearedBindsText(int count);

}  // namespace tovarin
