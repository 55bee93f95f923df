#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tovarin {

class TUndoRecorder;

// One part of the document as the undo history sees it (the draw table,
// the project list). A part hears its model's change notifications and, on
// its first change after a boundary of the history, records in the
// recorder what it needs to go back: its before-state. A part of the
// document joins the history by being one of these.
class TUndoPart {
public:
    explicit TUndoPart(TUndoRecorder& recorder) : recorder_(&recorder) {}
    TUndoPart(const TUndoPart&) = delete;
    TUndoPart& operator=(const TUndoPart&) = delete;
    virtual ~TUndoPart() = default;

    // The changes recorded since the last boundary are about to be closed
    // (made a step, joined to one, taken back or forgotten). The part's own
    // change can still be found; what the part keeps to record its next
    // first change must now describe the part as it is.
    virtual void Settle() {}

protected:
    TUndoRecorder& Recorder() const { return *recorder_; }

private:
    TUndoRecorder* recorder_;
};

// What one part changed within a step. Undo takes the part back to the
// state before the change, Redo forward again; each keeps what the other
// needs, so a change goes back and forth any number of times.
class TPartChange {
public:
    explicit TPartChange(const TUndoPart& part) : part_(&part) {}
    TPartChange(const TPartChange&) = delete;
    TPartChange& operator=(const TPartChange&) = delete;
    virtual ~TPartChange() = default;

    const TUndoPart& Part() const { return *part_; }
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    // The memory the change holds, for the history's cap.
    virtual size_t Bytes() const = 0;
    // True when the part turned out the same as before: no change at all.
    virtual bool Empty() const { return false; }
    // Takes in the part's next change, which follows this one directly,
    // when it can (the digits typed into one draw); false leaves it to
    // follow as a change of its own.
    virtual bool Absorb(TPartChange& later) {
        static_cast<void>(later);
        return false;
    }

private:
    const TUndoPart* part_;
};

// The changes of one step, in the order they were made. Parts are
// independent of each other, so taking the changes back newest first
// restores every part.
class TUndoStep {
public:
    bool Empty() const { return changes_.empty(); }
    // The part's change in this step, or null.
    TPartChange* Find(const TUndoPart& part) const;
    void Add(std::unique_ptr<TPartChange> change);
    // The changes of a later step follow these, a part's change taking in
    // the part's next where they meet.
    void Append(TUndoStep later);
    // Forgets the changes that changed nothing.
    void DropEmpty();

    void Undo();
    void Redo();
    size_t Bytes() const;

private:
    std::vector<std::unique_ptr<TPartChange>> changes_;
};

// The changes the parts make between two boundaries of the history: the
// step being made. While the history itself applies a step the parts hear
// their models change and must not record.
class TUndoRecorder {
public:
    TPartChange* Find(const TUndoPart& part) const { return open_.Find(part); }
    void Add(std::unique_ptr<TPartChange> change) { open_.Add(std::move(change)); }
    bool Applying() const { return applying_; }

    bool Empty() const { return open_.Empty(); }
    // Hands the changes over and starts a new step.
    TUndoStep Take();

    // Marks a step being applied for as long as it lives.
    class TApplying {
    public:
        explicit TApplying(TUndoRecorder& recorder) : recorder_(recorder) {
            recorder_.applying_ = true;
        }
        TApplying(const TApplying&) = delete;
        TApplying& operator=(const TApplying&) = delete;
        ~TApplying() { recorder_.applying_ = false; }

    private:
        TUndoRecorder& recorder_;
    };

private:
    TUndoStep open_;
    bool applying_ = false;
};

}  // namespace tovarin
