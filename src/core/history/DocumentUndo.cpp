#include "core/history/DocumentUndo.h"

#include <utility>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/history/DrawsUndo.h"
#include "core/history/LedgerUndo.h"
#include "core/history/ProjectsUndo.h"

namespace tovarin {

TDocumentUndo::TDocumentUndo(TCodeNet& codeNet, TPrjMgr& projects, TLedger* ledger, size_t byteCap)
    : codeNet_(&codeNet), projects_(&projects), history_(byteCap) {
    parts_.push_back(std::make_unique<TDrawsUndo>(recorder_, codeNet));
    parts_.push_back(std::make_unique<TProjectsUndo>(recorder_, projects));
    if (ledger != nullptr) {
        parts_.push_back(std::make_unique<TLedgerUndo>(recorder_, *ledger));
    }
}

TUndoStep TDocumentUndo::Close() {
    for (const auto& part : parts_) {
        part->Settle();
    }
    TUndoStep changes = recorder_.Take();
    changes.DropEmpty();
    return changes;
}

void TDocumentUndo::FileStrayChanges() {
    if (recorder_.Empty()) {
        return;
    }
    TUndoStep stray = Close();
    if (!stray.Empty()) {
        const size_t dropped = history_.Dropped();
        history_.Amend(std::move(stray));
        TellDropped(dropped);
    }
}

void TDocumentUndo::TellDropped(size_t droppedBefore) const {
    if (droppedBefore == 0 && history_.Dropped() > 0 && OnStepsDropped) {
        OnStepsDropped();
    }
}

TDocumentUndo::TPending TDocumentUndo::Begin(std::string name, TDocSelection selection,
                                             std::string group) {
    FileStrayChanges();
    return {std::move(name), selection, std::move(group)};
}

bool TDocumentUndo::Commit(TPending pending) {
    if (recorder_.Empty()) {
        return false;
    }
    TUndoStep changes = Close();
    if (changes.Empty()) {
        return false;
    }
    const size_t dropped = history_.Dropped();
    history_.Record(std::move(pending.Name), pending.Selection, std::move(changes),
                    std::move(pending.Group));
    TellDropped(dropped);
    return true;
}

void TDocumentUndo::Run(std::string name, TDocSelection selection,
                        const std::function<void()>& command, std::string group) {
    TPending pending = Begin(std::move(name), selection, std::move(group));
    const bool modified = projects_->Modified() || codeNet_->Modified();
    try {
        command();
    } catch (...) {
        // The parts still hold the state before the command, which is
        // where the changes lead back to.
        TUndoStep changes = recorder_.Take();
        if (!changes.Empty()) {
            {
                const TUndoRecorder::TApplying applying(recorder_);
                changes.Undo();
            }
            codeNet_->ClearModified();
            projects_->ClearModified();
            if (modified) {
                projects_->MarkModified();
            }
            if (OnRolledBack) {
                OnRolledBack();
            }
        }
        throw;
    }
    Commit(std::move(pending));
}

TDocSelection TDocumentUndo::Undo(TDocSelection now) {
    FileStrayChanges();
    TDocSelection selection;
    {
        const TUndoRecorder::TApplying applying(recorder_);
        selection = history_.Undo(now);
    }
    ShowSavedState();
    return selection;
}

TDocSelection TDocumentUndo::Redo(TDocSelection now) {
    FileStrayChanges();
    const size_t dropped = history_.Dropped();
    TDocSelection selection;
    {
        const TUndoRecorder::TApplying applying(recorder_);
        selection = history_.Redo(now);
    }
    ShowSavedState();
    TellDropped(dropped);
    return selection;
}

void TDocumentUndo::ShowSavedState() {
    codeNet_->ClearModified();
    projects_->ClearModified();
    if (!history_.AtSavedState()) {
        projects_->MarkModified();
    }
}

void TDocumentUndo::MarkSaved() {
    FileStrayChanges();
    history_.MarkSaved();
}

void TDocumentUndo::Reset() {
    Close();
    history_.Reset();
}

std::string UndoCaption(const std::string& stepName) {
    return stepName.empty() ? "撤销" : "撤销：" + stepName;
}

std::string RedoCaption(const std::string& stepName) {
    return stepName.empty() ? "重做" : "重做：" + stepName;
}

namespace {

constexpr const char* kUndoHint = "，可撤销";

}  // namespace

std::string ClearedDrawsText(int count) {
    return "已清空" + std::to_string(count) + "期开奖号码" + kUndoHint;
}

std::string ReplacedDrawsText(int oldCount, int newCount) {
    return "已用" + std::to_string(newCount) + "期开奖号码替换原有的" + std::to_string(oldCount) +
           "期" + kUndoHint;
}

std::string DeletedPrjsText(int count) {
    return "已删除" + std::to_string(count) + "个方案" + kUndoHint;
}

std::string ClearedPrjsText(int count) {
    return "已清空" + std::to_string(count) + "个方案" + kUndoHint;
}

std::string ClearedBindsText(int count) {
    return "已清空" + std::to_string(count) + "个条件" + kUndoHint;
}

}  // namespace tovarin
