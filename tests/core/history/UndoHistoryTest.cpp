#include <gtest/gtest.h>

#include "core/base/Errors.h"
#include "core/history/UndoHistory.h"

namespace tovarin {
namespace {

TDocState State(const std::string& image, int project = -1) { return {image, {project, -1, -1}}; }

TEST(UndoHistory, EmptyHistoryHasNothingToTakeBack) {
    TUndoHistory history;
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoName(), "");
    EXPECT_EQ(history.RedoName(), "");
    EXPECT_TRUE(history.AtSavedState());
    EXPECT_THROW(history.Undo(State("x")), Exception);
    EXPECT_THROW(history.Redo(State("x")), Exception);
    EXPECT_TRUE(history.AtSavedState());
}

TEST(UndoHistory, UndoAndRedoWalkTheStatesInOrder) {
    TUndoHistory history;
    history.Record("增加开奖号码", State("A", 0));
    history.Record("清空开奖号码表", State("B", 1));
    EXPECT_EQ(history.UndoName(), "清空开奖号码表");

    const TDocState back = history.Undo(State("C", 2));
    EXPECT_EQ(back.Image, "B");
    EXPECT_EQ(back.Selection.Project, 1);
    EXPECT_EQ(history.UndoName(), "增加开奖号码");
    EXPECT_EQ(history.RedoName(), "清空开奖号码表");

    EXPECT_EQ(history.Undo(State("B", 1)).Image, "A");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.RedoName(), "增加开奖号码");

    const TDocState forward = history.Redo(State("A", 0));
    EXPECT_EQ(forward.Image, "B");
    const TDocState last = history.Redo(State("B", 1));
    EXPECT_EQ(last.Image, "C");
    EXPECT_EQ(last.Selection.Project, 2);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoName(), "清空开奖号码表");
}

TEST(UndoHistory, ANewCommandEndsTheRedoSteps) {
    TUndoHistory history;
    history.Record("a", State("A"));
    history.Undo(State("B"));
    ASSERT_TRUE(history.CanRedo());
    history.Record("b", State("A"));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Bytes(), 1U);
}

TEST(UndoHistory, SavedStateIsRecognisedFromEitherSide) {
    TUndoHistory history;
    EXPECT_TRUE(history.AtSavedState());
    history.Record("a", State("A"));
    EXPECT_FALSE(history.AtSavedState());
    history.Undo(State("B"));
    EXPECT_TRUE(history.AtSavedState());
    history.Redo(State("A"));
    EXPECT_FALSE(history.AtSavedState());

    // Saved after the step: going back leaves the saved state, forward
    // returns to it.
    history.MarkSaved();
    EXPECT_TRUE(history.AtSavedState());
    history.Undo(State("B"));
    EXPECT_FALSE(history.AtSavedState());
    history.Redo(State("A"));
    EXPECT_TRUE(history.AtSavedState());
}

TEST(UndoHistory, SavedStateOnTheDroppedRedoBranchIsGoneForGood) {
    TUndoHistory history;
    history.Record("a", State("A"));
    history.MarkSaved();
    history.Undo(State("B"));
    history.Record("c", State("A"));
    EXPECT_FALSE(history.AtSavedState());
    history.Undo(State("C"));
    EXPECT_FALSE(history.AtSavedState());
}

TEST(UndoHistory, ResetForgetsEverythingAndIsSaved) {
    TUndoHistory history;
    history.Record("a", State("AAAA"));
    history.Record("b", State("BB"));
    history.Undo(State("C"));
    history.Reset();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Bytes(), 0U);
    EXPECT_TRUE(history.AtSavedState());
}

TEST(UndoHistory, CapDropsTheOldestStepsFirst) {
    TUndoHistory history(10);
    history.Record("1", State("1111"));
    history.Record("2", State("2222"));
    EXPECT_EQ(history.UndoCount(), 2U);
    history.Record("3", State("3333"));
    EXPECT_EQ(history.UndoCount(), 2U);
    EXPECT_EQ(history.Bytes(), 8U);
    EXPECT_EQ(history.Undo(State("now")).Image, "3333");
    EXPECT_EQ(history.Undo(State("3333")).Image, "2222");
    EXPECT_FALSE(history.CanUndo());
}

TEST(UndoHistory, NewestStepStaysWhateverItsSize) {
    TUndoHistory history(4);
    history.Record("big", State(std::string(100, 'x')));
    EXPECT_TRUE(history.CanUndo());
    history.Record("bigger", State(std::string(200, 'y')));
    EXPECT_EQ(history.UndoCount(), 1U);
    EXPECT_EQ(history.UndoName(), "bigger");
    EXPECT_EQ(history.Bytes(), 200U);
}

TEST(UndoHistory, BytesFollowEveryMove) {
    TUndoHistory history;
    history.Record("a", State("12345"));
    EXPECT_EQ(history.Bytes(), 5U);
    history.Undo(State("123"));
    EXPECT_EQ(history.Bytes(), 3U);
    history.Redo(State("12345"));
    EXPECT_EQ(history.Bytes(), 5U);
}

TEST(UndoHistory, AGroupOfEditsIsOneStep) {
    TUndoHistory history;
    history.Record("输入开奖号码", State("before"), "row 4");
    history.Record("输入开奖号码", State("one digit"), "row 4");
    history.Record("输入开奖号码", State("two digits"), "row 4");
    EXPECT_EQ(history.UndoCount(), 1U);
    EXPECT_EQ(history.Undo(State("three digits")).Image, "before");

    // Another group, or an undo in between, starts a new step.
    history.Record("输入开奖号码", State("x"), "row 4");
    history.Record("输入开奖号码", State("y"), "row 5");
    EXPECT_EQ(history.UndoCount(), 2U);
    history.Undo(State("z"));
    history.Record("输入开奖号码", State("y"), "row 5");
    EXPECT_EQ(history.UndoCount(), 2U);
    // A step without a group never merges.
    history.Record("增加", State("p"));
    history.Record("增加", State("q"));
    EXPECT_EQ(history.UndoCount(), 4U);
}

TEST(UndoHistory, EditsOfAGroupAfterASaveModifyAgain) {
    TUndoHistory history;
    history.Record("输入开奖号码", State("empty"), "row 0");
    history.MarkSaved();
    history.Record("输入开奖号码", State("saved"), "row 0");
    EXPECT_FALSE(history.AtSavedState());
    // The merged step goes back past the save, to before the first digit.
    EXPECT_EQ(history.Undo(State("more")).Image, "empty");
    EXPECT_FALSE(history.AtSavedState());
}

}  // namespace
}  // namespace tovarin
