#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/history/UndoStep.h"

namespace tovarin {

// Which lines the lists showed selected, so that going back puts the user
// where the change was made. -1 means none.
struct TDocSelection {
    int Project = -1;  // index in the project list
    int Bind = -1;     // condition index in that project
    int Row = -1;      // draw-table row

    bool operator==(const TDocSelection&) const = default;
};

// Named steps back and forward through the document's changes. A step
// holds what its command changed, so it costs what the command changed,
// not what the document holds; the oldest steps are dropped when the steps
// together pass the memory cap. The history also knows which state is the
// one on disk, so that going back to it makes the document unmodified.
class TUndoHistory {
public:
    // 64 MB: hundreds of thousands of typed digits or condition changes,
    // or several replacements of a table of a million draws (8 MB each).
    static constexpr size_t kDefaultByteCap = size_t{64} << 20;

    explicit TUndoHistory(size_t byteCap = kDefaultByteCap) : byteCap_(byteCap) {}

    // A command made these changes, from a state whose selection was
    // before. A group names a run of small edits that count as one step
    // (the digits typed into one draw): a record of the same non-empty
    // group right after the last joins that step. Every record ends the
    // redo steps.
    void Record(std::string name, TDocSelection before, TUndoStep changes, std::string group = {});
    // Changes made outside any command join the newest step, so that taking
    // it back takes them back too; with no step they are simply where the
    // history starts. The redo steps end either way: they no longer fit.
    void Amend(TUndoStep changes);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;

    // Takes the newest step back (Redo: forward again) and returns the
    // selection of the state it leads to; now is the selection at this
    // moment, kept for the other direction. Exception when there is no step.
    TDocSelection Undo(TDocSelection now);
    TDocSelection Redo(TDocSelection now);

    // The state now is the one on disk.
    void MarkSaved() { saved_ = current_; }
    bool AtSavedState() const { return saved_ == current_; }
    // A new or opened document: no steps, and the state is the saved one.
    void Reset();

    // The memory all steps hold, for the cap.
    size_t Bytes() const { return bytes_; }
    size_t UndoCount() const { return undo_.size(); }
    size_t RedoCount() const { return redo_.size(); }
    // How many of the oldest steps the cap dropped since the last Reset.
    size_t Dropped() const { return dropped_; }

private:
    struct Step {
        std::string Name;
        TDocSelection Selection;
        TUndoStep Changes;
        // Which state the step leads to, so that the saved state is
        // recognised however the user came back to it.
        uint64_t Serial = 0;
        size_t Bytes = 0;
    };

    template <typename Steps>
    void Push(Steps& steps, Step step);
    // The newest step takes in later changes of the same run.
    void Join(TUndoStep changes);
    void Measure(Step& step);
    void ClearRedo();
    void Trim();
    // Applies the newest step of from in the direction given and files it
    // on to: the one move behind Undo and Redo.
    template <typename From, typename To>
    TDocSelection TakeStep(From& from, To& to, TDocSelection now, bool back);

    std::deque<Step> undo_;
    std::vector<Step> redo_;
    std::string lastGroup_;
    uint64_t current_ = 0;
    uint64_t nextSerial_ = 1;
    std::optional<uint64_t> saved_ = 0;
    size_t byteCap_;
    size_t bytes_ = 0;
    size_t dropped_ = 0;
};

}  // namespace tovarin
