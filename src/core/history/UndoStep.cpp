#include "core/history/UndoStep.h"

#include <algorithm>
#include <utility>

namespace tovarin {

TPartChange* TUndoStep::Find(const TUndoPart& part) const {
    const auto found = std::find_if(changes_.begin(), changes_.end(), [&part](const auto& change) {
        return &change->Part() == &part;
    });
    return found == changes_.end() ? nullptr : found->get();
}

void TUndoStep::Add(std::unique_ptr<TPartChange> change) { changes_.push_back(std::move(change)); }

void TUndoStep::Append(TUndoStep later) {
    for (auto& change : later.changes_) {
        if (changes_.empty() || &changes_.back()->Part() != &change->Part() ||
            !changes_.back()->Absorb(*change)) {
            changes_.push_back(std::move(change));
        }
    }
}

void TUndoStep::DropEmpty() {
    std::erase_if(changes_, [](const auto& change) { return change->Empty(); });
}

void TUndoStep::Undo() {
    for (size_t i = changes_.size(); i-- > 0;) {
        changes_[i]->Undo();
    }
}

void TUndoStep::Redo() {
    for (const auto& change : changes_) {
        change->Redo();
    }
}

size_t TUndoStep::Bytes() const {
    size_t bytes = changes_.capacity() * sizeof(std::unique_ptr<TPartChange>);
    for (const auto& change : changes_) {
        bytes += change->Bytes();
    }
    return bytes;
}

TUndoStep TUndoRecorder::Take() {
    TUndoStep taken = std::move(open_);
    open_ = TUndoStep();
    return taken;
}

}  // namespace tovarin
