#include "core/history/UndoHistory.h"

#include <utility>

#include "core/base/Errors.h"

namespace tovarin {
namespace {

template <class Steps, class Step>
void Push(Steps& steps, Step step, size_t& bytes) {
    bytes += step.State.Image.size();
    steps.push_back(std::move(step));
}

}  // namespace

void TUndoHistory::Record(std::string name, TDocState before, std::string group) {
    for (const Step& step : redo_) {
        bytes_ -= step.State.Image.size();
    }
    redo_.clear();
    // A step of the same group already holds the state before the whole
    // run of edits; the state now is a new one all the same.
    if (group.empty() || group != lastGroup_ || undo_.empty()) {
        lastGroup_ = std::move(group);
        Push(undo_, Step{std::move(name), std::move(before), current_}, bytes_);
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
TDocState TUndoHistory::TakeStep(From& from, To& to, TDocState current) {
    Step step = std::move(from.back());
    from.pop_back();
    bytes_ -= step.State.Image.size();
    Push(to, Step{step.Name, std::move(current), current_}, bytes_);
    current_ = step.Serial;
    lastGroup_.clear();
    return std::move(step.State);
}

TDocState TUndoHistory::Undo(TDocState current) {
    if (undo_.empty()) {
        throw Exception("TUndoHistory.Undo Error!");
    }
    return TakeStep(undo_, redo_, std::move(current));
}

TDocState TUndoHistory::Redo(TDocState current) {
    if (redo_.empty()) {
        throw Exception("TUndoHistory.Redo Error!");
    }
    TDocState state = TakeStep(redo_, undo_, std::move(current));
    Trim();
    return state;
}

void TUndoHistory::Reset() {
    undo_.clear();
    redo_.clear();
    lastGroup_.clear();
    bytes_ = 0;
    current_ = nextSerial_++;
    saved_ = current_;
}

// The newest step always stays, however large, so that the last command
// can be taken back.
void TUndoHistory::Trim() {
    while (bytes_ > byteCap_ && undo_.size() > 1) {
        bytes_ -= undo_.front().State.Image.size();
        undo_.pop_front();
    }
}

}  // namespace tovarin
