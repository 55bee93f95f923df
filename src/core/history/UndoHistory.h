#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tovarin {

// Which lines the lists showed selected, so that going back puts the user
// where the change was made. -1 means none.
struct TDocSelection {
    int Project = -1;  // index in the project list
    int Bind = -1;     // condition index in that project
    int Row = -1;      // draw-table row

    bool operator==(const TDocSelection&) const = default;
};

// One state of the document: its file image and the selection in it.
struct TDocState {
    std::string Image;
    TDocSelection Selection;
};

// Named steps back and forward through document states. The history holds
// whole images, so it never needs to know what a command did; the oldest
// steps are dropped when the images together pass the memory cap. It also
// knows which state is the one on disk, so that going back to it makes the
// document unmodified again.
class TUndoHistory {
public:
    // 64 MB: some two hundred steps of a 10,000-draw document.
    static constexpr size_t kDefaultByteCap = size_t{64} << 20;

    explicit TUndoHistory(size_t byteCap = kDefaultByteCap) : byteCap_(byteCap) {}

    // A command is about to leave the state before. A group names a run of
    // small edits that count as one step (the digits typed into one draw):
    // a record of the same non-empty group right after the last keeps that
    // step's older state. Every record ends the redo steps.
    void Record(std::string name, TDocState before, std::string group = {});

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;

    // Goes one step back: current is the state now, which Redo can return
    // to; the result is the state to restore. Exception when there is no
    // step.
    TDocState Undo(TDocState current);
    TDocState Redo(TDocState current);

    // The state now is the one on disk.
    void MarkSaved() { saved_ = current_; }
    bool AtSavedState() const { return saved_ == current_; }
    // A new or opened document: no steps, and the state is the saved one.
    void Reset();

    // Bytes of all images held, for the cap.
    size_t Bytes() const { return bytes_; }
    size_t UndoCount() const { return undo_.size(); }
    size_t RedoCount() const { return redo_.size(); }

private:
    struct Step {
        std::string Name;
        TDocState State;
        // Which state this is, so that the saved state is recognised
        // however the user came back to it.
        uint64_t Serial;
    };

    void Trim();
    // Takes the newest step of from as the state to return, and files the
    // current state on to under the same name: the one move behind Undo and Redo.
    template <typename From, typename To>
    TDocState TakeStep(From& from, To& to, TDocState current);

    std::deque<Step> undo_;
    std::vector<Step> redo_;
    std::string lastGroup_;
    uint64_t current_ = 0;
    uint64_t nextSerial_ = 1;
    std::optional<uint64_t> saved_ = 0;
    size_t byteCap_;
    size_t bytes_ = 0;
};

}  // namespace tovarin
