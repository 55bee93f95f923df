#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/history/UndoHistory.h"
#include "core/history/UndoStep.h"

namespace tovarin {

class TCodeNet;
class TLedger;
class TPrjMgr;

// The undo history of one document (its draw table, project list and,
// when it has one, prediction ledger). Each
// part of the document hears its model's notifications and records, on its
// first change after a boundary, what it needs to go back (see TUndoPart);
// a command's step is what its parts recorded between Begin and Commit, so
// it costs what the command changed. Going back restores the document byte
// for byte as it was before the command.
class TDocumentUndo {
public:
    // The command a step is being made for.
    struct TPending {
        std::string Name;
        TDocSelection Selection;
        std::string Group;
    };

    TDocumentUndo(TCodeNet& codeNet, TPrjMgr& projects, TLedger* ledger = nullptr,
                  size_t byteCap = TUndoHistory::kDefaultByteCap);
    TDocumentUndo(const TDocumentUndo&) = delete;
    TDocumentUndo& operator=(const TDocumentUndo&) = delete;

    // A command is about to run. Changes made since the last step outside
    // any command join that step first (see TUndoHistory::Amend). Steps do
    // not nest.
    TPending Begin(std::string name, TDocSelection selection, std::string group = {});
    // Makes the changes since Begin a step; a command that changed nothing
    // leaves no step, and Commit may be called again once it has. Returns
    // whether a step was made.
    bool Commit(TPending pending);
    // Runs a command as one step. When it throws, the document goes back
    // to the state before it (OnRolledBack then hears of it) and the error
    // goes on to the caller.
    void Run(std::string name, TDocSelection selection, const std::function<void()>& command,
             std::string group = {});

    // Restores the state one step back (forward) and returns the selection
    // it had; now is the selection at this moment, for the other direction.
    // The project list is marked modified unless the state restored is the
    // one on disk. Exception when there is no step.
    TDocSelection Undo(TDocSelection now);
    TDocSelection Redo(TDocSelection now);

    // After a save: the document as it is now is the one on disk.
    void MarkSaved();
    // After new and open: no steps, and the document is the one on disk.
    void Reset();

    const TUndoHistory& History() const { return history_; }
    std::function<void()> OnRolledBack;
    // Told the first time after a Reset that the cap dropped old steps.
    std::function<void()> OnStepsDropped;

private:
    // Settles the parts and takes what they recorded, without the changes
    // that changed nothing.
    TUndoStep Close();
    void FileStrayChanges();
    // A step was applied: the document is modified unless it is the saved state.
    void ShowSavedState();
    void TellDropped(size_t droppedBefore) const;

    TCodeNet* codeNet_;
    TPrjMgr* projects_;
    TUndoRecorder recorder_;
    std::vector<std::unique_ptr<TUndoPart>> parts_;
    TUndoHistory history_;
};

// What the first status panel says once when the history first drops its
// oldest steps to stay under the memory cap.
inline constexpr const char* kStepsDroppedText = "最早的撤销步骤已丢弃，以免占用过多内存";

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
