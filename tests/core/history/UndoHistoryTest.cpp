#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "core/base/Errors.h"
#include "core/history/UndoHistory.h"

namespace tovarin {
namespace {

// A part whose state is one text: its change holds the text on the other
// side of the step, and a run of changes keeps the oldest.
class TTextChange : public TPartChange {
public:
    TTextChange(const TUndoPart& part, std::string& text, std::string other)
        : TPartChange(part), text_(text), other_(std::move(other)) {}
    void Undo() override { std::swap(text_, other_); }
    void Redo() override { std::swap(text_, other_); }
    size_t Bytes() const override { return other_.size(); }
    bool Absorb(TPartChange&) override { return true; }

private:
    std::string& text_;
    std::string other_;
};

struct TextDoc {
    explicit TextDoc(std::string start = {}) : text(std::move(start)) {}

    TUndoRecorder recorder;
    TUndoPart part{recorder};
    std::string text;

    // A command that makes the text after; its step holds the text before.
    TUndoStep Change(const std::string& after) {
        TUndoStep step;
        step.Add(std::make_unique<TTextChange>(part, text, text));
        text = after;
        return step;
    }
    void Run(TUndoHistory& history, const std::string& name, const std::string& after,
             int project = -1, const std::string& group = {}) {
        history.Record(name, {project, -1, -1}, Change(after), group);
    }
};

TDocSelection At(int project) { return {project, -1, -1}; }

TEST(UndoHistory, EmptyHistoryHasNothingToTakeBack) {
    TUndoHistory history;
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoName(), "");
    EXPECT_EQ(history.RedoName(), "");
    EXPECT_TRUE(history.AtSavedState());
    EXPECT_THROW(history.Undo({}), Exception);
    EXPECT_THROW(history.Redo({}), Exception);
    EXPECT_TRUE(history.AtSavedState());
}

TEST(UndoHistory, UndoAndRedoWalkTheStatesInOrder) {
    TUndoHistory history;
    TextDoc doc("A");
    doc.Run(history, "增加开奖号码", "B", 0);
    doc.Run(history, "清空开奖号码表", "C", 1);
    EXPECT_EQ(history.UndoName(), "清空开奖号码表");

    EXPECT_EQ(history.Undo(At(2)), At(1));
    EXPECT_EQ(doc.text, "B");
    EXPECT_EQ(history.UndoName(), "增加开奖号码");
    EXPECT_EQ(history.RedoName(), "清空开奖号码表");

    EXPECT_EQ(history.Undo(At(1)), At(0));
    EXPECT_EQ(doc.text, "A");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.RedoName(), "增加开奖号码");

    EXPECT_EQ(history.Redo(At(0)), At(1));
    EXPECT_EQ(doc.text, "B");
    EXPECT_EQ(history.Redo(At(1)), At(2));
    EXPECT_EQ(doc.text, "C");
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoName(), "清空开奖号码表");
}

TEST(UndoHistory, ANewCommandEndsTheRedoSteps) {
    TUndoHistory history;
    TextDoc doc("A");
    doc.Run(history, "a", "B");
    const size_t oneStep = history.Bytes();
    history.Undo({});
    ASSERT_TRUE(history.CanRedo());
    doc.Run(history, "b", "C");
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Bytes(), oneStep);
}

TEST(UndoHistory, SavedStateIsRecognisedFromEitherSide) {
    TUndoHistory history;
    TextDoc doc;
    EXPECT_TRUE(history.AtSavedState());
    doc.Run(history, "a", "A");
    EXPECT_FALSE(history.AtSavedState());
    history.Undo({});
    EXPECT_TRUE(history.AtSavedState());
    history.Redo({});
    EXPECT_FALSE(history.AtSavedState());

    // Saved after the step: going back leaves the saved state, forward
    // returns to it.
    history.MarkSaved();
    EXPECT_TRUE(history.AtSavedState());
    history.Undo({});
    EXPECT_FALSE(history.AtSavedState());
    history.Redo({});
    EXPECT_TRUE(history.AtSavedState());
}

TEST(UndoHistory, SavedStateOnTheDroppedRedoBranchIsGoneForGood) {
    TUndoHistory history;
    TextDoc doc;
    doc.Run(history, "a", "A");
    history.MarkSaved();
    history.Undo({});
    doc.Run(history, "c", "C");
    EXPECT_FALSE(history.AtSavedState());
    history.Undo({});
    EXPECT_FALSE(history.AtSavedState());
}

TEST(UndoHistory, ResetForgetsEverythingAndIsSaved) {
    TUndoHistory history;
    TextDoc doc;
    doc.Run(history, "a", "AAAA");
    doc.Run(history, "b", "BB");
    history.Undo({});
    history.Reset();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Bytes(), 0U);
    EXPECT_TRUE(history.AtSavedState());
}

TEST(UndoHistory, CapDropsTheOldestStepsFirstAndCountsThem) {
    const std::string one(1000, '1');
    const std::string two(1000, '2');
    const std::string three(1000, '3');
    TUndoHistory probe;
    TextDoc probeDoc(one);
    probeDoc.Run(probe, "1", two);
    const size_t step = probe.Bytes();

    TUndoHistory history(step * 5 / 2);
    TextDoc doc(one);
    doc.Run(history, "1", two);
    doc.Run(history, "2", three);
    EXPECT_EQ(history.UndoCount(), 2U);
    EXPECT_EQ(history.Dropped(), 0U);
    doc.Run(history, "3", "now");
    EXPECT_EQ(history.UndoCount(), 2U);
    EXPECT_EQ(history.Dropped(), 1U);
    EXPECT_EQ(history.Bytes(), 2 * step);
    history.Undo({});
    EXPECT_EQ(doc.text, three);
    history.Undo({});
    EXPECT_EQ(doc.text, two);
    EXPECT_FALSE(history.CanUndo());
    history.Reset();
    EXPECT_EQ(history.Dropped(), 0U);
}

TEST(UndoHistory, NewestStepStaysWhateverItsSize) {
    TUndoHistory history(4);
    TextDoc doc(std::string(100, 'x'));
    doc.Run(history, "big", std::string(200, 'y'));
    EXPECT_TRUE(history.CanUndo());
    doc.Run(history, "bigger", "z");
    EXPECT_EQ(history.UndoCount(), 1U);
    EXPECT_EQ(history.UndoName(), "bigger");
    EXPECT_EQ(history.Dropped(), 1U);
}

TEST(UndoHistory, BytesFollowEveryMove) {
    TUndoHistory history;
    TextDoc doc("12345");
    doc.Run(history, "a", "123");
    const size_t holdingFive = history.Bytes();
    history.Undo({});
    EXPECT_EQ(history.Bytes(), holdingFive - 2);
    history.Redo({});
    EXPECT_EQ(history.Bytes(), holdingFive);
}

TEST(UndoHistory, AGroupOfEditsIsOneStep) {
    TUndoHistory history;
    TextDoc doc("before");
    doc.Run(history, "输入开奖号码", "one digit", -1, "row 4");
    doc.Run(history, "输入开奖号码", "two digits", -1, "row 4");
    doc.Run(history, "输入开奖号码", "three digits", -1, "row 4");
    EXPECT_EQ(history.UndoCount(), 1U);
    history.Undo({});
    EXPECT_EQ(doc.text, "before");

    // Another group, or an undo in between, starts a new step.
    doc.Run(history, "输入开奖号码", "x", -1, "row 4");
    doc.Run(history, "输入开奖号码", "y", -1, "row 5");
    EXPECT_EQ(history.UndoCount(), 2U);
    history.Undo({});
    doc.Run(history, "输入开奖号码", "y", -1, "row 5");
    EXPECT_EQ(history.UndoCount(), 2U);
    // A step without a group never merges.
    doc.Run(history, "增加", "p");
    doc.Run(history, "增加", "q");
    EXPECT_EQ(history.UndoCount(), 4U);
}

TEST(UndoHistory, EditsOfAGroupAfterASaveModifyAgain) {
    TUndoHistory history;
    TextDoc doc("empty");
    doc.Run(history, "输入开奖号码", "saved", -1, "row 0");
    history.MarkSaved();
    doc.Run(history, "输入开奖号码", "more", -1, "row 0");
    EXPECT_FALSE(history.AtSavedState());
    // The merged step goes back past the save, to before the first digit.
    history.Undo({});
    EXPECT_EQ(doc.text, "empty");
    EXPECT_FALSE(history.AtSavedState());
}

TEST(UndoHistory, ChangesOutsideACommandJoinTheNewestStep) {
    TUndoHistory history;
    TextDoc doc("A");
    // With no step they are where the history starts.
    history.Amend(doc.Change("B"));
    EXPECT_FALSE(history.CanUndo());
    doc.Run(history, "a", "C");
    doc.Run(history, "b", "D");
    history.Undo({});
    history.MarkSaved();
    history.Amend(doc.Change("E"));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.AtSavedState());
    EXPECT_EQ(history.UndoCount(), 1U);
    history.Undo({});
    EXPECT_EQ(doc.text, "B");
    history.Redo({});
    EXPECT_EQ(doc.text, "E");
}

}  // namespace
}  // namespace tovarin
