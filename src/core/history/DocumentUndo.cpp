#include "core/history/DocumentUndo.h"

#include <utility>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

namespace tovarin {

TDocumentUndo::TDocumentUndo(TCodeNet& codeNet, TPrjMgr& projects, size_t byteCap)
    : codeNet_(&codeNet), projects_(&projects), history_(byteCap) {}

std::string TDocumentUndo::Image() const { return BuildDocumentImage(*codeNet_, *projects_); }

TDocumentUndo::TPending TDocumentUndo::Begin(std::string name, TDocSelection selection,
                                             std::string group) const {
    return {std::move(name), {Image(), selection}, std::move(group)};
}

bool TDocumentUndo::Commit(TPending pending) {
    if (pending.Before.Image == Image()) {
        return false;
    }
    history_.Record(std::move(pending.Name), std::move(pending.Before), std::move(pending.Group));
    return true;
}

void TDocumentUndo::Run(std::string name, TDocSelection selection,
                        const std::function<void()>& command, std::string group) {
    TPending pending = Begin(std::move(name), selection, std::move(group));
    const bool modified = projects_->Modified() || codeNet_->Modified();
    try {
        command();
    } catch (...) {
        if (pending.Before.Image != Image()) {
            LoadDocumentImage(pending.Before.Image, *codeNet_, *projects_);
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
    const TDocState state = history_.Undo({Image(), now});
    Restore(state);
    return state.Selection;
}

TDocSelection TDocumentUndo::Redo(TDocSelection now) {
    const TDocState state = history_.Redo({Image(), now});
    Restore(state);
    return state.Selection;
}

void TDocumentUndo::Restore(const TDocState& state) {
    LoadDocumentImage(state.Image, *codeNet_, *projects_);
    if (!history_.AtSavedState()) {
        projects_->MarkModified();
    }
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
