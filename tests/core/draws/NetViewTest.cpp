#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/draws/NetView.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

// 400 pixels give ceiling((400 - 23 - 1 - 9) / 21) = 18 lines.
constexpr int ClientHeight = 400;
constexpr int ClientWidth = 470;

void AddRows(TCodeNet& net, int count) {
    std::vector<TSeq> rows(static_cast<size_t>(count));
    net.Replace(std::move(rows));
}

void Type(TNetView& view, const std::string& text) {
    for (const char c : text) {
        view.TypeChar(c);
    }
}

std::string MessageOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const Exception& error) {
        return error.what();
    }
    return "(no exception)";
}

class NetView : public ::testing::Test {
protected:
    NetView() : view_(net_) { view_.SetClientSize(ClientWidth, ClientHeight); }

    // Puts the cursor on a visible line and column by a click on the cell.
    void ClickCell(int line, int col) {
        TRect cell;
        ASSERT_TRUE(view_.CellRect(line, col, cell));
        view_.MouseDown(cell.Left + 3, cell.Top + 3, false, false);
        ASSERT_EQ(view_.CursorRow(), line);
        ASSERT_EQ(view_.CursorCol(), col);
    }
    void ClickSel(int line, bool shift = false, bool alt = false) {
        const TRect cell = view_.SelCell(line);
        view_.MouseDown(cell.Left + 5, cell.Top + 5, shift, alt);
    }
    std::string Selection() const {
        std::string marks;
        for (int row = 0; row < net_.Count(); ++row) {
            marks += net_.GetSeq(row).Selected ? 'x' : '.';
        }
        return marks;
    }

    TCodeNet net_;
    TNetView view_;
};

// ---- geometry ---------------------------------------------------------------

TEST_F(NetView, StartsAsTheGridIsCreated) {
    TCodeNet net;
    const TNetView fresh(net);
    EXPECT_EQ(fresh.VisibleRows(), 10);
    EXPECT_EQ(fresh.TopRow(), 0);
    EXPECT_EQ(fresh.CursorRow(), 0);
    EXPECT_EQ(fresh.CursorCol(), 0);
    EXPECT_EQ(fresh.SelAnchor(), 0);
    EXPECT_TRUE(fresh.AutoAdvance);
}

TEST_F(NetView, LaysOutTheSixRectangles) {
    EXPECT_EQ(view_.VisibleRows(), 18);
    EXPECT_EQ(view_.HeaderBand(), (TRect{1, 1, 466, 23}));
    EXPECT_EQ(view_.DigitBand(), (TRect{124, 25, 466, 21 * 18 + 23}));
    EXPECT_EQ(view_.FirstDigitCell(), (TRect{125, 26, 171, 44}));
    EXPECT_EQ(view_.SelBand(), (TRect{1, 25, 24, 21 * 18 + 23}));
    EXPECT_EQ(view_.FirstSelCell(), (TRect{1, 26, 24, 44}));
    EXPECT_EQ(view_.ContentRect(), (TRect{1, 1, 466, 21 * 18 + 23}));
}

TEST_F(NetView, CountsLinesWithTheBottomMarginAndACutLastLine) {
    struct Case {
        int height;
        int lines;
    };
    for (const Case c : {Case{0, 0}, Case{1, 0}, Case{2, 0}, Case{33, 0}, Case{34, 1}, Case{54, 1},
                         Case{55, 2}, Case{33 + 21 * 5, 5}, Case{34 + 21 * 5, 6}}) {
        view_.SetClientSize(ClientWidth, c.height);
        EXPECT_EQ(view_.VisibleRows(), c.lines) << c.height;
    }
}

TEST_F(NetView, TinyClientAreaHasNoLinesAndAtMostAHeader) {
    view_.SetClientSize(ClientWidth, 30);
    EXPECT_EQ(view_.VisibleRows(), 0);
    EXPECT_EQ(view_.HeaderBand(), (TRect{1, 1, 466, 23}));
    EXPECT_TRUE(view_.DigitBand().IsEmpty());
    EXPECT_TRUE(view_.SelBand().IsEmpty());
    view_.SetClientSize(ClientWidth, 1);
    EXPECT_TRUE(view_.HeaderBand().IsEmpty());
    EXPECT_TRUE(view_.ContentRect().IsEmpty());
}

TEST_F(NetView, LeftOfHeadSumsTheColumnsBefore) {
    const int expected[] = {0, 25, 74, 123, 172, 221, 270, 319, 368, 417};
    for (int col = 0; col < 10; ++col) {
        EXPECT_EQ(view_.LeftOfHead(col), expected[col]) << col;
    }
    for (const int col : {-1, 10}) {
        EXPECT_EQ(MessageOf([&] { view_.LeftOfHead(col); }), "TCodeNet.LeftOfHead Error!");
    }
}

TEST_F(NetView, CellRectMovesTheFirstDigitCell) {
    TRect cell;
    ASSERT_TRUE(view_.CellRect(2, 3, cell));
    EXPECT_EQ(cell, (TRect{125 + 3 * 49, 26 + 2 * 21, 171 + 3 * 49, 44 + 2 * 21}));
    EXPECT_FALSE(view_.CellRect(-1, 0, cell));
    EXPECT_TRUE(cell.IsEmpty());
    EXPECT_TRUE(view_.CellRect(17, 6, cell));
    EXPECT_FALSE(view_.CellRect(18, 0, cell));
}

TEST_F(NetView, HitTestFindsHeadersDigitsAndCheckBoxes) {
    struct Case {
        int x;
        int y;
        THit hit;
    };
    const Case cases[] = {
        {5, 5, {rtHead, 0, 0}},
        {30, 5, {rtHead, 0, 1}},
        {24, 5, {rtNone, 0, 0}},
        {420, 20, {rtHead, 0, 9}},
        {0, 5, {rtNone, 0, 0}},
        {130, 30, {rtNum, 0, 0}},
        {130 + 49 * 6, 30, {rtNum, 0, 6}},
        {130, 30 + 21 * 2, {rtNum, 2, 0}},
        {124, 30, {rtNone, 0, 0}},
        {172, 30, {rtNone, 0, 0}},
        {10, 30, {rtSel, 0, 0}},
        {10, 30 + 21 * 17, {rtSel, 17, 0}},
        {50, 30, {rtNone, 0, 0}},
        {100, 30, {rtNone, 0, 0}},
        {10, 25, {rtNone, 0, 0}},
        {10, 500, {rtNone, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(view_.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
    }
}

TEST_F(NetView, HitTestClipsCellsToTheClientArea) {
    view_.SetClientSize(ClientWidth, 55);  // two lines, the second cut off
    ASSERT_EQ(view_.VisibleRows(), 2);
    EXPECT_EQ(view_.HitTest(130, 54), (THit{rtNum, 1, 0}));
    EXPECT_EQ(view_.HitTest(130, 55), (THit{rtNone, 0, 0}));
}

TEST_F(NetView, ThickLinesStandAbovePeriodsOneFiveNine) {
    AddRows(net_, 100);
    std::vector<int> thick;
    for (int line = 0; line <= view_.VisibleRows(); ++line) {
        if (view_.ThickLineAbove(line)) {
            thick.push_back(line);
        }
    }
    EXPECT_EQ(thick, (std::vector<int>{0, 4, 8, 12, 16}));
    view_.ApplyScrollPos(3);
    EXPECT_FALSE(view_.ThickLineAbove(0));  // period 4
    EXPECT_TRUE(view_.ThickLineAbove(1));   // period 5
}

// ---- layout clamping ----------------------------------------------------------------

TEST_F(NetView, ScrollRangeLetsTheAppendLineIntoView) {
    EXPECT_EQ(view_.ScrollMax(), 0);
    AddRows(net_, 100);
    EXPECT_EQ(view_.ScrollMax(), 100 - 18 + 2);
}

TEST_F(NetView, ShrinkingTheTablePullsTopRowBack) {
    AddRows(net_, 100);
    view_.ApplyScrollPos(80);
    AddRows(net_, 50);
    EXPECT_EQ(view_.TopRow(), 50 - 18 + 2);
    net_.Clear();
    EXPECT_EQ(view_.TopRow(), 0);
}

TEST_F(NetView, ShrinkingTheClientAreaPullsTheCursorLineBack) {
    AddRows(net_, 100);
    ClickCell(15, 2);
    view_.SetClientSize(ClientWidth, 120);
    EXPECT_EQ(view_.VisibleRows(), 5);
    EXPECT_EQ(view_.CursorRow(), 4);
}

TEST_F(NetView, LayoutPutsTheCursorToColumnZeroOnTheLastDraw) {
    AddRows(net_, 3);
    ClickCell(2, 4);
    view_.Layout();
    EXPECT_EQ(view_.CursorCol(), 0);
    ClickCell(1, 4);
    view_.Layout();
    EXPECT_EQ(view_.CursorCol(), 4);
}

// ---- typing -----------------------------------------------------------------------

TEST_F(NetView, TypingSevenDigitsOnAnEmptyTableMakesOneDraw) {
    Type(view_, "1234567");
    ASSERT_EQ(net_.Count(), 1);
    EXPECT_EQ(test::DigitsOf(net_, 0), "1234567");
    EXPECT_EQ(view_.CursorTableRow(), 1);
    EXPECT_EQ(view_.CursorCol(), 0);
    EXPECT_TRUE(net_.Modified());
}

TEST_F(NetView, TheEighthDigitStartsTheNextDraw) {
    Type(view_, "12345678");
    ASSERT_EQ(net_.Count(), 2);
    EXPECT_EQ(test::DigitsOf(net_, 1), "8000000");
    EXPECT_EQ(view_.CursorCol(), 1);
}

TEST_F(NetView, TypingOnTheAppendLineAlwaysFillsTheFirstDigit) {
    test::AddDraws(net_, {"1111111"});
    ClickCell(1, 4);
    Type(view_, "9");
    ASSERT_EQ(net_.Count(), 2);
    EXPECT_EQ(test::DigitsOf(net_, 1), "9000000");
    EXPECT_EQ(view_.CursorCol(), 1);
}

TEST_F(NetView, TypingOverADrawReplacesTheDigitAndAdvances) {
    test::AddDraws(net_, {"1111111", "2222222"});
    ClickCell(0, 5);
    Type(view_, "90");
    EXPECT_EQ(test::DigitsOf(net_, 0), "1111190");
    EXPECT_EQ(view_.CursorTableRow(), 1);
    EXPECT_EQ(view_.CursorCol(), 0);
}

TEST_F(NetView, TypingBeyondTheAppendLineDoesNothing) {
    test::AddDraws(net_, {"1111111"});
    ClickCell(3, 0);
    EXPECT_TRUE(view_.TypeChar('5'));
    EXPECT_EQ(net_.Count(), 1);
}

TEST_F(NetView, OtherCharactersAreRefused) {
    for (const char c : {'a', ' ', '/', '\0'}) {
        EXPECT_FALSE(view_.TypeChar(c)) << c;
    }
    EXPECT_EQ(net_.Count(), 0);
}

TEST_F(NetView, WithoutAutoAdvanceTheCursorStays) {
    view_.AutoAdvance = false;
    Type(view_, "12");
    EXPECT_EQ(test::DigitsOf(net_, 0), "2000000");
    EXPECT_EQ(view_.CursorCol(), 0);
}

TEST_F(NetView, TypingAtTheLastVisibleLineScrollsDown) {
    AddRows(net_, 40);
    ClickCell(17, 6);
    Type(view_, "4");
    EXPECT_EQ(net_.GetNum(17, 6), 4);
    EXPECT_EQ(view_.TopRow(), 1);
    EXPECT_EQ(view_.CursorRow(), 17);
    EXPECT_EQ(view_.CursorTableRow(), 18);
    EXPECT_EQ(view_.CursorCol(), 0);
}

// ---- keys ---------------------------------------------------------------------------

TEST_F(NetView, RightAtColumnZeroOfTheAppendLineIsRefused) {
    test::AddDraws(net_, {"1111111"});
    view_.Key(TNetKey::Down);
    ASSERT_EQ(view_.CursorTableRow(), 1);
    view_.Key(TNetKey::Right);
    EXPECT_EQ(view_.CursorCol(), 0);
    EXPECT_EQ(view_.CursorTableRow(), 1);
}

TEST_F(NetView, RightWrapsFromColumnSixToTheNextLine) {
    test::AddDraws(net_, {"1111111", "2222222"});
    ClickCell(0, 6);
    view_.Key(TNetKey::Right);
    EXPECT_EQ(view_.CursorRow(), 1);
    EXPECT_EQ(view_.CursorCol(), 0);
}

TEST_F(NetView, LeftWrapsToColumnSixOfTheLineAbove) {
    test::AddDraws(net_, {"1111111", "2222222"});
    ClickCell(1, 0);
    view_.Key(TNetKey::Left);
    EXPECT_EQ(view_.CursorRow(), 0);
    EXPECT_EQ(view_.CursorCol(), 6);
    ClickCell(0, 0);
    view_.Key(TNetKey::Left);
    EXPECT_EQ(view_.CursorRow(), 0);
    EXPECT_EQ(view_.CursorCol(), 0);
}

TEST_F(NetView, LeftAtTheTopLineScrollsUp) {
    AddRows(net_, 100);
    view_.ApplyScrollPos(10);
    ClickCell(0, 0);
    view_.Key(TNetKey::Left);
    EXPECT_EQ(view_.TopRow(), 9);
    EXPECT_EQ(view_.CursorRow(), 0);
    EXPECT_EQ(view_.CursorCol(), 6);
}

TEST_F(NetView, UpStopsAtRowZeroAndScrollsAtTheTopLine) {
    AddRows(net_, 100);
    view_.Key(TNetKey::Up);
    EXPECT_EQ(view_.CursorTableRow(), 0);
    view_.ApplyScrollPos(5);
    ClickCell(0, 2);
    view_.Key(TNetKey::Up);
    EXPECT_EQ(view_.TopRow(), 4);
    EXPECT_EQ(view_.CursorRow(), 0);
    EXPECT_EQ(view_.CursorCol(), 2);
}

TEST_F(NetView, DownNeverPassesTheAppendLine) {
    test::AddDraws(net_, {"1111111", "2222222"});
    ClickCell(0, 3);
    view_.Key(TNetKey::Down);
    EXPECT_EQ(view_.CursorTableRow(), 1);
    view_.Key(TNetKey::Down);
    EXPECT_EQ(view_.CursorTableRow(), 2);
    EXPECT_EQ(view_.CursorCol(), 0);
    view_.Key(TNetKey::Down);
    view_.Key(TNetKey::Down);
    EXPECT_EQ(view_.CursorTableRow(), 2);
}

TEST_F(NetView, DownAtTheLastVisibleLineScrolls) {
    AddRows(net_, 100);
    ClickCell(17, 3);
    view_.Key(TNetKey::Down);
    EXPECT_EQ(view_.TopRow(), 1);
    EXPECT_EQ(view_.CursorRow(), 17);
    EXPECT_EQ(view_.CursorCol(), 3);
}

TEST_F(NetView, PageKeysMoveTheRowsUnderTheCursor) {
    AddRows(net_, 100);
    ClickCell(3, 1);
    view_.Key(TNetKey::PageDown);
    EXPECT_EQ(view_.TopRow(), 18);
    EXPECT_EQ(view_.CursorRow(), 3);
    for (int i = 0; i < 10; ++i) {
        view_.Key(TNetKey::PageDown);
    }
    EXPECT_EQ(view_.TopRow(), view_.ScrollMax());
    view_.Key(TNetKey::PageUp);
    EXPECT_EQ(view_.TopRow(), view_.ScrollMax() - 18);
}

TEST_F(NetView, HomeAndEnd) {
    AddRows(net_, 100);
    view_.Key(TNetKey::End);
    EXPECT_EQ(view_.TopRow(), 84);
    view_.Key(TNetKey::Home);
    EXPECT_EQ(view_.TopRow(), 0);
}

TEST_F(NetView, EveryKeyRaisesOnChange) {
    int changes = 0;
    view_.OnChange = [&] { ++changes; };
    view_.Key(TNetKey::Up);
    EXPECT_EQ(changes, 1);
    view_.TypeChar('x');
    EXPECT_EQ(changes, 2);
}

// ---- selection --------------------------------------------------------------------

TEST_F(NetView, PlainClickFlipsTheRowAndSetsTheAnchor) {
    AddRows(net_, 6);
    ClickSel(2);
    EXPECT_EQ(Selection(), "..x...");
    EXPECT_EQ(view_.SelAnchor(), 2);
    ClickSel(2);
    EXPECT_EQ(Selection(), "......");
}

TEST_F(NetView, ShiftClickSelectsTheRangeAndAltClickClearsIt) {
    AddRows(net_, 8);
    ClickSel(1);
    ClickSel(5, true, false);
    EXPECT_EQ(Selection(), ".xxxxx..");
    EXPECT_EQ(view_.SelAnchor(), 1);
    ClickSel(3, false, true);
    EXPECT_EQ(Selection(), "....xx..");
}

TEST_F(NetView, ShiftRangeWorksUpwardsToo) {
    AddRows(net_, 8);
    ClickSel(6);
    ClickSel(2, true, false);
    EXPECT_EQ(Selection(), "..xxxxx.");
}

TEST_F(NetView, TheAnchorIsClippedToTheTable) {
    AddRows(net_, 8);
    ClickSel(7);
    AddRows(net_, 4);
    ClickSel(1, true, false);
    EXPECT_EQ(Selection(), ".xxx");
    EXPECT_EQ(view_.SelAnchor(), 3);
}

TEST_F(NetView, SelectionOnTheAppendLineDoesNothing) {
    AddRows(net_, 2);
    ClickSel(2);
    ClickSel(3, true, false);
    EXPECT_EQ(Selection(), "..");
}

TEST_F(NetView, EnterUsesTheSelectionRuleOnTheCursorRow) {
    AddRows(net_, 5);
    ClickCell(1, 0);
    view_.Key(TNetKey::Enter);
    EXPECT_EQ(Selection(), ".x...");
    ClickCell(3, 0);
    view_.Key(TNetKey::Enter, true, false);
    EXPECT_EQ(Selection(), ".xxx.");
    view_.Key(TNetKey::Enter, false, true);
    EXPECT_EQ(Selection(), ".....");
}

TEST_F(NetView, SelectionsDoNotMarkModified) {
    AddRows(net_, 5);
    net_.ClearModified();
    ClickSel(1);
    ClickSel(3, true, false);
    EXPECT_FALSE(net_.Modified());
}

// ---- scrolling ------------------------------------------------------------------

TEST_F(NetView, ScrollRequests) {
    AddRows(net_, 100);  // max 84, 18 lines
    struct Case {
        TScrollCode code;
        int from;
        int thumb;
        int to;
    };
    const Case cases[] = {
        {TScrollCode::LineUp, 0, 0, 0},        {TScrollCode::LineUp, 5, 0, 4},
        {TScrollCode::LineDown, 84, 0, 84},    {TScrollCode::LineDown, 5, 0, 6},
        {TScrollCode::PageUp, 10, 0, 0},       {TScrollCode::PageUp, 30, 0, 12},
        {TScrollCode::PageDown, 10, 0, 28},    {TScrollCode::PageDown, 80, 0, 84},
        {TScrollCode::ThumbTrack, 10, 40, 40}, {TScrollCode::ThumbPosition, 10, 41, 41},
        {TScrollCode::ThumbTrack, 10, -3, 10}, {TScrollCode::Top, 50, 0, 0},
        {TScrollCode::Bottom, 5, 0, 84},       {TScrollCode::EndScroll, 33, 0, 33},
    };
    for (const Case& c : cases) {
        view_.ApplyScrollPos(c.from);
        view_.Scroll(c.code, c.thumb);
        EXPECT_EQ(view_.TopRow(), c.to) << static_cast<int>(c.code) << " from " << c.from;
    }
}

TEST_F(NetView, ANegativeScrollPositionIsAnErrorAfterItWasApplied) {
    AddRows(net_, 100);
    try {
        view_.ApplyScrollPos(-1);
        FAIL() << "no error";
    } catch (const ECodeNetErr& error) {
        EXPECT_STREQ(error.what(), "VScroll Error");
    }
    EXPECT_EQ(view_.TopRow(), -1);
}

TEST_F(NetView, ScrollToRowInViewOnlyMovesTheCursor) {
    AddRows(net_, 100);
    view_.ScrollToRow(7);
    EXPECT_EQ(view_.TopRow(), 0);
    EXPECT_EQ(view_.CursorRow(), 7);
}

TEST_F(NetView, ScrollToRowOutOfViewShowsTwoRowsAbove) {
    AddRows(net_, 100);
    ClickCell(0, 4);
    view_.ScrollToRow(50);
    EXPECT_EQ(view_.TopRow(), 48);
    EXPECT_EQ(view_.CursorRow(), 2);
    EXPECT_EQ(view_.CursorCol(), 4);
}

TEST_F(NetView, ScrollToRowNearTheEndShowsTheLastPage) {
    AddRows(net_, 100);
    view_.ScrollToRow(95);
    EXPECT_EQ(view_.TopRow(), 100 - 18);
    EXPECT_EQ(view_.CursorRow(), 13);
}

TEST_F(NetView, ShowAppendLineScrollsToTheEndWithTheCursorBelowTheNewestDraw) {
    AddRows(net_, 365);
    ClickCell(3, 5);
    int changes = 0;
    view_.OnChange = [&] { ++changes; };
    view_.ShowAppendLine();
    // 18 lines: the newest draw on line 15, the append line on line 16,
    // the cut-off last line empty.
    EXPECT_EQ(view_.TopRow(), 365 - 18 + 2);
    EXPECT_EQ(view_.TopRow(), view_.ScrollMax());
    EXPECT_EQ(view_.CursorTableRow(), 365);
    EXPECT_EQ(view_.CursorRow(), 16);
    EXPECT_EQ(view_.CursorCol(), 0);
    EXPECT_GT(changes, 0);
    // Typing there appends the next draw.
    Type(view_, "1234567");
    EXPECT_EQ(net_.Count(), 366);
    EXPECT_EQ(test::DigitsOf(net_, 365), "1234567");
}

TEST_F(NetView, ShowAppendLineOnShortTables) {
    view_.ShowAppendLine();
    EXPECT_EQ(view_.TopRow(), 0);
    EXPECT_EQ(view_.CursorTableRow(), 0);
    AddRows(net_, 5);
    ClickCell(1, 6);
    view_.ShowAppendLine();
    EXPECT_EQ(view_.TopRow(), 0);
    EXPECT_EQ(view_.CursorTableRow(), 5);
    EXPECT_EQ(view_.CursorCol(), 0);
    // Exactly a page: the append line still shows.
    AddRows(net_, 17);
    view_.ShowAppendLine();
    EXPECT_EQ(view_.TopRow(), 1);
    EXPECT_EQ(view_.CursorTableRow(), 17);
}

TEST_F(NetView, ShowAppendLineWithoutLinesKeepsTheCursorOnLineZero) {
    AddRows(net_, 40);
    view_.SetClientSize(ClientWidth, 20);
    view_.ShowAppendLine();
    EXPECT_EQ(view_.VisibleRows(), 0);
    EXPECT_EQ(view_.CursorRow(), 0);
}

TEST_F(NetView, ScrollToRowRefusesRowsOutsideTheTable) {
    AddRows(net_, 3);
    for (const int row : {-1, 3}) {
        EXPECT_EQ(MessageOf([&] { view_.ScrollToRow(row); }), "TCodeNet.ScrollToRow Error!");
    }
}

// ---- find ---------------------------------------------------------------------------

TEST(DigitsMatch, DigitsAndWildcards) {
    struct Case {
        const char* digits;
        const char* text;
        bool match;
    };
    const Case cases[] = {
        {"1237000", "37", true},        {"3700000", "37", true},
        {"0000037", "37", true},        {"3070000", "37", false},
        {"7300000", "37", false},       {"3070000", "3?7", true},
        {"0000307", "3?7", true},       {"3700000", "3?7", false},
        {"3007000", "3x7", false},      {"1234567", "1234567", true},
        {"1234567", "12345678", false}, {"0000000", "????????", false},
        {"1234567", "???????", true},   {"1234567", "7", true},
        {"1234567", "8", false},        {"0002000", "码2", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DigitsMatch(c.digits, c.text), c.match) << c.digits << " " << c.text;
    }
}

TEST_F(NetView, FindNextStartsAfterTheCursorAndMovesToTheMatch) {
    test::AddDraws(net_, {"3700000", "1111111", "1237000", "3070000", "1111111"});
    EXPECT_TRUE(view_.FindNext("37"));
    EXPECT_EQ(view_.CursorTableRow(), 2);
    EXPECT_FALSE(view_.FindNext("37"));
    EXPECT_EQ(view_.CursorTableRow(), 2);
    EXPECT_TRUE(view_.FindNext("3?7"));
    EXPECT_EQ(view_.CursorTableRow(), 3);
}

TEST_F(NetView, FindNextNeverMatchesEightCharacters) {
    test::AddDraws(net_, {"0000000", "1234567"});
    EXPECT_FALSE(view_.FindNext("12345678"));
    EXPECT_FALSE(view_.FindNext(""));
    EXPECT_EQ(view_.CursorTableRow(), 0);
}

TEST_F(NetView, FindNextOnTheLastDrawOrTheAppendLineFindsNothing) {
    test::AddDraws(net_, {"3700000", "3700000"});
    ClickCell(1, 0);
    EXPECT_FALSE(view_.FindNext("37"));
    ClickCell(2, 0);
    EXPECT_FALSE(view_.FindNext("37"));
}

TEST_F(NetView, AMatchOnTheLastDrawMovesTheCursorOntoIt) {
    AddRows(net_, 60);
    net_.SetNum(59, 0, 9);
    EXPECT_TRUE(view_.FindNext("9"));
    EXPECT_EQ(view_.CursorTableRow(), 59);
    EXPECT_EQ(view_.TopRow(), 60 - 18);
}

// ---- labels -----------------------------------------------------------------

TEST_F(NetView, ALabelAddsA期号ColumnSizedToTheWidestLabel) {
    test::AddDraws(net_, {"1234567", "7654321"});
    EXPECT_EQ(view_.ColCount(), 10);
    EXPECT_EQ(view_.ColTitle(2), "合");
    int changes = 0;
    view_.OnChange = [&changes] { ++changes; };
    net_.SetLabelDate(1, *TLabel::Parse("2026150"), TDrawDate());
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(view_.ColCount(), 11);
    const char* titles[] = {"选", "期", "期号", "合", "A", "B", "C", "D", "E", "F", "G"};
    for (int col = 0; col < 11; ++col) {
        EXPECT_EQ(view_.ColTitle(col), titles[col]) << col;
    }
    // Seven digits of 8 pixels and a margin of 4 on either side.
    EXPECT_EQ(view_.Column(2).Width, 64);
    EXPECT_EQ(view_.HeaderWidth(), TNetView::StandardHeaderWidth + 65);
    EXPECT_EQ(view_.InfoCell(1, 2), (TRect{73, 25, 136, 44}.Moved(0, 21)));
    EXPECT_EQ(view_.InfoCell(0, 3), (TRect{137, 25, 184, 44}));
    EXPECT_EQ(view_.DigitBand().Left, 123 + 65 + 1);
    EXPECT_EQ(view_.HitTest(123 + 65 + 5, 30), (THit{rtNum, 0, 0}));
    // A short label keeps the standard width; no label, no column.
    net_.SetLabelDate(1, *TLabel::Parse("150"), TDrawDate());
    EXPECT_EQ(view_.Column(2).Width, TNetView::CellWidth);
    net_.SetLabelDate(1, TLabel(), TDrawDate());
    EXPECT_EQ(view_.ColCount(), 10);
    EXPECT_EQ(changes, 3);
}

TEST_F(NetView, The期ColumnGrowsWithTheLargestPeriod) {
    AddRows(net_, 99999);
    EXPECT_EQ(view_.Column(1).Width, TNetView::CellWidth);
    AddRows(net_, 1000000);
    view_.SetDigitPixels(7);
    EXPECT_EQ(view_.Column(1).Width, 7 * 7 + 8);
    EXPECT_EQ(view_.LeftOfHead(2), 25 + 57 + 1);
}

TEST_F(NetView, RowsByHeightAndTheirInfo) {
    test::AddDraws(net_, {"1234567", "7654321"});
    net_.SetLabelDate(0, *TLabel::Parse("04101"), *TDrawDate::Parse("2004-01-02"));
    EXPECT_EQ(view_.RowAt(23), -1);
    EXPECT_EQ(view_.RowAt(24), 0);
    EXPECT_EQ(view_.RowAt(24 + 21), 1);
    EXPECT_EQ(RowInfoText(net_, 0), "第1期  期号04101  开奖日期2004-01-02");
    EXPECT_EQ(RowInfoText(net_, 1), "第2期");
}

}  // namespace
}  // namespace tovarin
