#include "core/history/UndoHistory.h"

#include <utility>

#include "core/base/Errors.h"

namespace tovarin {

void TUndoHistory::Measure(Step& step) {
    bytes_ -= step.Bytes;
    step.Bytes = sizeof(Step) + step.Name.capacity() + step.Changes.Bytes();
    bytes_ += step.Bytes;
}

template <typename Steps>
void TUndoHistory::Push(Steps& steps, Step step) {
    step.Bytes = 0;
    Measure(step);
    steps.push_back(std::move(step));
}

void TUndoHistory::Join(TUndoStep changes) {
    Step& newest = undo_.back();
    newest.Changes.Append(std::move(changes));
    Measure(newest);
}

void TUndoHistory::ClearRedo() {
    for (const Step& step : redo_) {
        bytes_ -= step.Bytes;
    }
    redo_.clear();
}

void TUndoHistory::Record(std::string name, TDocSelection before, TUndoStep changes,
                          std::string group) {
    ClearRedo();
    if (!group.empty() && group == lastGroup_ && !undo_.empty()) {
        Join(std::move(changes));
    } else {
        lastGroup_ = std::move(group);
        Push(undo_, Step{std::move(name), before, std::move(changes), current_});
    }
    current_ = nextSerial_++;
    Trim();
}

void TUndoHistory::Amend(TUndoStep changes) {
    ClearRedo();
    lastGroup_.clear();
    if (!undo_.empty()) {
        Join(std::move(changes));
        Trim();
    }
    current_ = nextSerial_++;
}

std::string TUndoHistory::UndoName() const {
    return undo_.empty() ? std::string() : undo_.back().Name;
}

std::string TUndoHistory::RedoName() const {
    return redo_.empty() ? std::string() : redo_.back().Name;
}

template <typename From, typename To>
TDocSelection TUndoHistory::TakeStep(From& from, To& to, TDocSelection now, bool back) {
    Step& newest = from.back();
    if (back) {
        newest.Changes.Undo();
    } else {
        newest.Changes.Redo();
    }
    std::swap(newest.Selection, now);
    std::swap(newest.Serial, current_);
    bytes_ -= newest.Bytes;
    Step step = std::move(newest);
    from.pop_back();
    // Measured again: the changes now hold the other side's state.
    Push(to, std::move(step));
    lastGroup_.clear();
    return now;
}

TDocSelection TUndoHistory::Undo(TDocSelection now) {
    if (undo_.empty()) {
        throw Exception("TUndoHistory.Undo Error!");
    }
    return TakeStep(undo_, redo_, now, true);
}

TDocSelection TUndoHistory::Redo(TDocSelection now) {
    if (redo_.empty()) {
        throw Exception("TUndoHistory.Redo Error!");
    }
    const TDocSelection selection = TakeStep(redo_, undo_, now, false);
    Trim();
    return selection;
}

void TUndoHistory::Reset() {
    undo_.clear();
    redo_.clear();
    lastGroup_.clear();
    bytes_ = 0;
    dropped_ = 0;
    current_ = nextSerial_++;
    saved_ = current_;
}

// The newest step always stays, however large, so that the last command
// can be taken back.
void TUndoHistory::Trim() {
    while (bytes_ > byteCap_ && undo_.size() > 1) {
        bytes_ -= undo_.front().Bytes;
        undo_.pop_front();
        ++dropped_;
    }
}

}  // namespace tovarin
