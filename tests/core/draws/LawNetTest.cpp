#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/ByteStream.h"
#include "core/base/Codec.h"
#include "core/base/DateTime.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

std::string DigitsOf(const TSeq& draw) {
    std::string text;
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        text += static_cast<char>('0' + draw.GetNum(pos));
    }
    return text;
}

std::vector<std::string> DigitsOf(const TCodeNet& net) {
    std::vector<std::string> rows;
    for (int row = 0; row < net.Count(); ++row) {
        rows.push_back(DigitsOf(net.GetSeq(row)));
    }
    return rows;
}

void Fill(TCodeNet& net, const std::vector<std::string>& draws) {
    for (const std::string& digits : draws) {
        const int row = net.Add();
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            net.SetNum(row, pos, digits[static_cast<size_t>(pos)] - '0');
        }
    }
}

std::string BlockOf(const std::vector<int32_t>& values) {
    ByteWriter out;
    for (const int32_t value : values) {
        out.WriteI32(value);
    }
    return out.Bytes();
}

template <typename Fn>
std::string MessageOf(Fn&& fn) {
    try {
        fn();
    } catch (const Exception& error) {
        return error.what();
    }
    return "(no exception)";
}

using TempFolder = test::TempDir;

// ---- TSeq ------------------------------------------------------------------

TEST(TSeq, StartsEmptyAndUnselected) {
    const TSeq draw;
    EXPECT_EQ(DigitsOf(draw), "0000000");
    EXPECT_FALSE(draw.Selected);
    EXPECT_EQ(draw.GetSum(), 0);
}

TEST(TSeq, StaysSmall) { EXPECT_LE(sizeof(TSeq), 16U); }

TEST(TSeq, StoresEveryDigitAtEveryPosition) {
    for (int pos = 0; pos < 7; ++pos) {
        for (int value = 0; value <= 9; ++value) {
            TSeq draw;
            draw.SetNum(pos, value);
            EXPECT_EQ(draw.GetNum(pos), value);
        }
    }
}

TEST(TSeq, SumIsTheFirstFourDigits) {
    TSeq draw;
    const int digits[] = {9, 9, 9, 9, 9, 9, 9};
    for (int pos = 0; pos < 7; ++pos) {
        draw.SetNum(pos, digits[pos]);
    }
    EXPECT_EQ(draw.GetSum(), 36);
    draw.SetNum(0, 1);
    draw.SetNum(3, 2);
    EXPECT_EQ(draw.GetSum(), 1 + 9 + 9 + 2);
}

TEST(TSeq, RefusesPositionsOutsideTheDraw) {
    TSeq draw;
    for (const int pos : {-1, 7, 100}) {
        EXPECT_EQ(MessageOf([&] { draw.GetNum(pos); }), "TSeq.GetNum Error!") << pos;
        EXPECT_EQ(MessageOf([&] { draw.SetNum(pos, 1); }), "TSeq.SetNum Error!") << pos;
    }
}

TEST(TSeq, RefusesValuesOutsideZeroToNineAndKeepsTheOldDigit) {
    TSeq draw;
    draw.SetNum(2, 5);
    for (const int value : {-1, 10, 255, 256}) {
        EXPECT_EQ(MessageOf([&] { draw.SetNum(2, value); }), "TSeq.SetNum Error!") << value;
        EXPECT_EQ(draw.GetNum(2), 5);
    }
}

// ---- row operations ----------------------------------------------------------

TEST(TCodeNet, StartsEmptyAndUnmodified) {
    const TCodeNet net;
    EXPECT_EQ(net.Count(), 0);
    EXPECT_EQ(net.FirstPeriod(), 1);
    EXPECT_FALSE(net.Modified());
}

TEST(TCodeNet, AddAppendsEmptyDrawsAndReturnsTheirRow) {
    TCodeNet net;
    EXPECT_EQ(net.Add(), 0);
    EXPECT_EQ(net.Add(), 1);
    EXPECT_EQ(net.Count(), 2);
    EXPECT_EQ(DigitsOf(net.GetSeq(1)), "0000000");
    EXPECT_TRUE(net.Modified());
}

TEST(TCodeNet, GetSeqAndGetNumRefuseRowsOutsideTheTable) {
    TCodeNet net;
    Fill(net, {"1234567"});
    const TCodeNet& view = net;
    for (const int row : {-1, 1, 5}) {
        EXPECT_EQ(MessageOf([&] { net.GetSeq(row); }), "TCodeNet.GetSeq Error!") << row;
        EXPECT_EQ(MessageOf([&] { view.GetSeq(row); }), "TCodeNet.GetSeq Error!") << row;
        EXPECT_EQ(MessageOf([&] { net.GetNum(row, 0); }), "TCodeNet.GetSeq Error!") << row;
        EXPECT_EQ(MessageOf([&] { net.SetNum(row, 0, 1); }), "TCodeNet.GetSeq Error!") << row;
    }
    EXPECT_EQ(MessageOf([&] { net.GetNum(0, 7); }), "TSeq.GetNum Error!");
    EXPECT_EQ(net.GetNum(0, 6), 7);
}

TEST(TCodeNet, SetNumThroughTheTableMarksModified) {
    TCodeNet net;
    net.Add();
    net.ClearModified();
    net.SetNum(0, 3, 8);
    EXPECT_EQ(net.GetNum(0, 3), 8);
    EXPECT_TRUE(net.Modified());
}

TEST(TCodeNet, InsertAtRowZeroShiftsEveryDrawOnePeriodLater) {
    TCodeNet net;
    Fill(net, {"1111111", "2222222"});
    EXPECT_EQ(net.Insert(0), 0);
    EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"0000000", "1111111", "2222222"}));
    // The old first draw is now period 2, the row period - FirstPeriod.
    EXPECT_EQ(net.GetNum(2 - net.FirstPeriod(), 0), 1);
}

TEST(TCodeNet, InsertInTheMiddle) {
    TCodeNet net;
    Fill(net, {"1111111", "2222222", "3333333"});
    EXPECT_EQ(net.Insert(2), 2);
    EXPECT_EQ(DigitsOf(net),
              (std::vector<std::string>{"1111111", "2222222", "0000000", "3333333"}));
}

TEST(TCodeNet, InsertAtCountOrOutsideIsRefusedAndChangesNothing) {
    TCodeNet net;
    EXPECT_EQ(MessageOf([&] { net.Insert(0); }), "TCodeNet.Insert Error!");
    Fill(net, {"1111111", "2222222"});
    net.ClearModified();
    for (const int row : {-1, 2, 3}) {
        EXPECT_EQ(MessageOf([&] { net.Insert(row); }), "TCodeNet.Insert Error!") << row;
    }
    EXPECT_EQ(net.Count(), 2);
    EXPECT_FALSE(net.Modified());
}

TEST(TCodeNet, DeleteOfRowZeroMovesEveryDrawOnePeriodEarlier) {
    TCodeNet net;
    Fill(net, {"1111111", "2222222", "3333333"});
    net.Delete(0);
    EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"2222222", "3333333"}));
    net.Delete(1);
    EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"2222222"}));
}

TEST(TCodeNet, DeleteOutsideTheTableIsRefusedAndChangesNothing) {
    TCodeNet net;
    Fill(net, {"1111111"});
    net.ClearModified();
    for (const int row : {-1, 1}) {
        EXPECT_EQ(MessageOf([&] { net.Delete(row); }), "TCodeNet.GetSeq Error!") << row;
    }
    EXPECT_EQ(net.Count(), 1);
    EXPECT_FALSE(net.Modified());
}

TEST(TCodeNet, ClearEmptiesAndMarksModified) {
    TCodeNet net;
    Fill(net, {"1111111", "2222222"});
    net.ClearModified();
    net.Clear();
    EXPECT_EQ(net.Count(), 0);
    EXPECT_TRUE(net.Modified());
}

TEST(TCodeNet, ReplacePutsTheGivenDraws) {
    TCodeNet net;
    Fill(net, {"1111111"});
    net.ClearModified();
    std::vector<TSeq> rows(2);
    rows[1].SetNum(6, 4);
    net.Replace(std::move(rows));
    EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"0000000", "0000004"}));
    EXPECT_TRUE(net.Modified());
}

// ---- selection ------------------------------------------------------------------

std::string SelectionOf(const TCodeNet& net) {
    std::string marks;
    for (int row = 0; row < net.Count(); ++row) {
        marks += net.GetSeq(row).Selected ? 'x' : '.';
    }
    return marks;
}

TEST(TCodeNet, AFullTableRefusesToGrowAndStaysAsItWas) {
    TCodeNet net;
    net.Replace(std::vector<TSeq>(kMaxDraws));
    net.ClearModified();
    int notices = 0;
    net.Subscribe([&notices](TNetChange) { ++notices; });
    const std::vector<std::function<void()>> growths = {
        [&net] { net.Add(); },
        [&net] { net.Insert(0); },
        [&net] { net.Replace(std::vector<TSeq>(kMaxDraws + 1)); },
    };
    for (const auto& grow : growths) {
        try {
            grow();
            ADD_FAILURE() << "the table grew";
        } catch (const ETooManyDraws& error) {
            EXPECT_STREQ(error.what(),
                         "the draw table would have 16777217 draws; it holds at most 16777216");
            EXPECT_EQ(error.Draws(), size_t{kMaxDraws} + 1);
        }
    }
    EXPECT_EQ(net.Count(), kMaxDraws);
    EXPECT_FALSE(net.Modified());
    EXPECT_EQ(notices, 0);
    net.Delete(0);
    EXPECT_EQ(net.Add(), kMaxDraws - 1);
}

TEST(TCodeNet, SelectAllAndInvertDoNotMarkModified) {
    TCodeNet net;
    Fill(net, {"1111111", "2222222", "3333333"});
    net.ClearModified();
    net.SetSelected(1, true);
    EXPECT_EQ(SelectionOf(net), ".x.");
    net.InvertSelection();
    EXPECT_EQ(SelectionOf(net), "x.x");
    net.SelectAll();
    EXPECT_EQ(SelectionOf(net), "xxx");
    net.InvertSelection();
    EXPECT_EQ(SelectionOf(net), "...");
    EXPECT_FALSE(net.Modified());
}

struct SelRangeCase {
    int a;
    int b;
    bool value;
    const char* before;
    const char* after;
};

// Shown in test names and failure messages instead of the case's raw bytes.
void PrintTo(const SelRangeCase& c, std::ostream* out) {
    *out << c.a << ".." << c.b << (c.value ? " on " : " off ") << c.before;
}

class SetSelRange : public ::testing::TestWithParam<SelRangeCase> {};

TEST_P(SetSelRange, MarksTheClippedRange) {
    const SelRangeCase& c = GetParam();
    TCodeNet net;
    for (const char* mark = c.before; *mark != '\0'; ++mark) {
        const int row = net.Add();
        net.GetSeq(row).Selected = *mark == 'x';
    }
    net.SetSelRange(c.a, c.b, c.value);
    EXPECT_EQ(SelectionOf(net), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetSelRange,
                         ::testing::Values(SelRangeCase{1, 3, true, ".....", ".xxx."},
                                           SelRangeCase{3, 1, true, ".....", ".xxx."},
                                           SelRangeCase{2, 2, true, ".....", "..x.."},
                                           SelRangeCase{0, 99, true, ".....", "xxxxx"},
                                           SelRangeCase{99, 3, true, ".....", "...xx"},
                                           SelRangeCase{99, 99, true, ".....", "....x"},
                                           SelRangeCase{1, 3, false, "xxxxx", "x...x"},
                                           SelRangeCase{4, 0, false, "xxxxx", "....."}));

TEST(TCodeNet, SetSelRangeOnAnEmptyTableTouchesNothing) {
    TCodeNet net;
    net.SetSelRange(0, 3, true);
    EXPECT_EQ(net.Count(), 0);
}

// ---- notifications ----------------------------------------------------------------

TEST(TCodeNet, TellsListenersOfEveryChange) {
    TCodeNet net;
    std::vector<TNetChange> heard;
    const int token = net.Subscribe([&](TNetChange change) { heard.push_back(change); });
    using C = TNetChange;

    net.Add();                          // Rows
    net.Add();                          // Rows
    net.Insert(1);                      // Rows
    net.Delete(0);                      // Rows
    net.SetNum(0, 0, 3);                // Cells
    net.SetSelected(0, true);           // Cells
    net.SelectAll();                    // Cells
    net.InvertSelection();              // Cells
    net.SetSelRange(0, 1, true);        // Cells
    net.Replace(std::vector<TSeq>(3));  // Rows
    net.Clear();                        // Rows
    EXPECT_EQ(heard, (std::vector<C>{C::Rows, C::Rows, C::Rows, C::Rows, C::Cells, C::Cells,
                                     C::Cells, C::Cells, C::Cells, C::Rows, C::Rows}));

    heard.clear();
    EXPECT_THROW(net.Insert(0), Exception);
    EXPECT_THROW(net.Delete(0), Exception);
    EXPECT_THROW(net.SetNum(0, 0, 1), Exception);
    EXPECT_TRUE(heard.empty()) << "a refused operation must not notify";

    net.Unsubscribe(token);
    net.Add();
    EXPECT_TRUE(heard.empty());
}

// What the undo history hears: the row, the draw it held, the rows before.
TEST(TCodeNet, EditsNameTheRowAndWhatItHeld) {
    TCodeNet net;
    Fill(net, {"1111111", "2222222"});
    net.SetSelected(1, true);
    std::vector<std::string> heard;
    net.SubscribeEdits([&](const TNetEdit& edit) {
        std::string text = std::to_string(static_cast<int>(edit.Kind)) + " " +
                           std::to_string(edit.Row) + " " + DigitsOf(edit.Before);
        if (edit.Old != nullptr) {
            text += " " + std::to_string(edit.Old->size());
        }
        heard.push_back(text + (edit.Change() == TNetChange::Rows ? " rows" : " cells"));
    });
    TSeq draw;
    draw.SetNum(0, 9);
    net.SetNum(0, 6, 5);       // Set
    net.SetSeq(1, draw);       // Set, the check mark stays
    net.InsertSeq(2, draw);    // Inserted after the last
    net.Delete(0);             // Removed
    net.SetSelected(0, true);  // Marks
    std::vector<TSeq> rows(4);
    TGame game = TGame::Seven;
    net.SwapRows(rows, game);  // Whole
    EXPECT_EQ(heard, (std::vector<std::string>{"0 0 1111111 cells", "0 1 2222222 cells",
                                               "1 2 0000000 rows", "2 0 1111115 rows",
                                               "4 0 0000000 cells", "3 -1 0000000 2 rows"}));
    EXPECT_EQ(rows.size(), 2U);
    EXPECT_EQ(DigitsOf(rows[0]), "9000000");
    EXPECT_TRUE(rows[0].Selected);
    EXPECT_EQ(net.Count(), 4);
    EXPECT_TRUE(net.Modified());
    EXPECT_THROW(net.InsertSeq(5, draw), Exception);
    EXPECT_THROW(net.SetSeq(4, draw), Exception);
}

TEST(TCodeNet, TellsEveryListenerOnce) {
    TCodeNet net;
    int first = 0;
    int second = 0;
    const int a = net.Subscribe([&](TNetChange) { ++first; });
    net.Subscribe([&](TNetChange) { ++second; });
    net.Add();
    net.Unsubscribe(a);
    net.Add();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST(TCodeNet, LoadAndImportTellListeners) {
    TempFolder folder;
    TCodeNet net;
    int heard = 0;
    net.Subscribe([&](TNetChange change) { heard += change == TNetChange::Rows ? 1 : 100; });
    const std::string block = BlockOf({0});
    ByteReader in(block);
    net.LoadFromStream(in);
    EXPECT_EQ(heard, 1);
    WriteFileAtomically(folder.File("a.txt"), "1234567\r\n");
    net.ImportFromText(folder.File("a.txt"));
    EXPECT_EQ(heard, 2);
    net.ImportFromText(folder.File("missing.txt"));
    EXPECT_EQ(heard, 2);
}

// ---- draw-table block ---------------------------------------------------------------

TEST(DrawBlock, EmptyTableIsFourZeroBytes) {
    TCodeNet net;
    ByteWriter out;
    net.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), std::string(4, '\0'));
}

TEST(DrawBlock, HoldsTheCountThenSevenDigitsPerDrawInRowOrder) {
    TCodeNet net;
    Fill(net, {"0372915", "9876543"});
    net.GetSeq(0).Selected = true;
    ByteWriter out;
    net.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), BlockOf({2, 0, 3, 7, 2, 9, 1, 5, 9, 8, 7, 6, 5, 4, 3}));
    EXPECT_EQ(out.Size(), 4U + 28U * 2U);
    EXPECT_FALSE(net.Modified());
}

TEST(DrawBlock, RoundTripLeavesEveryRowUnselectedAndClearsModified) {
    TCodeNet net;
    Fill(net, {"0372915", "9876543", "0000001"});
    net.SelectAll();
    ByteWriter out;
    net.SaveToStream(out);

    TCodeNet loaded;
    Fill(loaded, {"5555555"});
    ByteReader in(out.Bytes());
    loaded.LoadFromStream(in);
    EXPECT_EQ(DigitsOf(loaded), DigitsOf(net));
    EXPECT_EQ(SelectionOf(loaded), "...");
    EXPECT_FALSE(loaded.Modified());
    EXPECT_EQ(in.Remaining(), 0U);
}

TEST(DrawBlock, LeavesTheReaderRightAfterTheBlock) {
    std::string bytes = BlockOf({1, 1, 2, 3, 4, 5, 6, 7}) + "tail";
    ByteReader in(bytes);
    TCodeNet net;
    net.LoadFromStream(in);
    EXPECT_EQ(in.Offset(), 32U);
    EXPECT_EQ(in.ReadBytes(4), "tail");
}

TEST(DrawBlock, EveryTruncatedBlockIsRefusedAndLeavesTheTableAlone) {
    const std::string whole = BlockOf({2, 0, 3, 7, 2, 9, 1, 5, 9, 8, 7, 6, 5, 4, 3});
    for (size_t length = 0; length < whole.size(); ++length) {
        TCodeNet net;
        Fill(net, {"1111111"});
        net.SetSelected(0, true);
        ByteReader in(std::string_view(whole).substr(0, length));
        EXPECT_THROW(net.LoadFromStream(in), EReadError) << length;
        EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"1111111"})) << length;
        EXPECT_EQ(SelectionOf(net), "x") << length;
        EXPECT_TRUE(net.Modified()) << length;
    }
}

TEST(DrawBlock, ShortBlockMessageNamesTheOffset) {
    const std::string bytes = "xx" + BlockOf({3, 1, 2});
    ByteReader in(bytes);
    in.ReadBytes(2);
    TCodeNet net;
    EXPECT_EQ(MessageOf([&] { net.LoadFromStream(in); }),
              "Draw table at byte 2 announces 3 draws, but only 8 bytes follow");
}

TEST(DrawBlock, RefusesANegativeOrHugeCount) {
    for (const int32_t count : {-1, INT32_MIN, INT32_MAX, 0x10000000}) {
        TCodeNet net;
        const std::string block = BlockOf({count, 1, 2, 3, 4, 5, 6, 7});
        ByteReader in(block);
        EXPECT_THROW(net.LoadFromStream(in), EReadError) << count;
        EXPECT_EQ(net.Count(), 0);
    }
}

TEST(DrawBlock, RefusesADigitOutsideZeroToNineNamingItsOffset) {
    for (const int32_t bad : {-1, 10, 256, INT32_MIN}) {
        TCodeNet net;
        Fill(net, {"1111111"});
        const std::string block = BlockOf({2, 1, 2, 3, 4, 5, 6, 7, 1, 2, bad, 4, 5, 6, 7});
        ByteReader in(block);
        EXPECT_EQ(MessageOf([&] { net.LoadFromStream(in); }),
                  "TSeq.SetNum Error! (digit " + std::to_string(bad) + " at byte 40)");
        EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"1111111"}));
    }
}

// The values of a block of many draws: draw d holds (7d + 3p) % 10 at
// position p, so every digit stands at every position.
std::vector<int32_t> ManyDraws(int32_t draws) {
    std::vector<int32_t> values{draws};
    for (int32_t draw = 0; draw < draws; ++draw) {
        for (int32_t pos = 0; pos < TSeq::DigitCount; ++pos) {
            values.push_back((draw * 7 + pos * 3) % 10);
        }
    }
    return values;
}

size_t IndexOfValue(int draw, int pos) {
    return 1 + static_cast<size_t>(draw) * TSeq::DigitCount + static_cast<size_t>(pos);
}

std::string OffsetOfValue(int draw, int pos) { return std::to_string(4 * IndexOfValue(draw, pos)); }

// The reader decodes a block in runs of this many draws; the sizes and
// places below sit on both sides of where one run ends.
constexpr int32_t kRun = 4096;

TEST(DrawBlock, BlocksOfManySizesRoundTripEveryDigit) {
    for (const int32_t draws :
         {1, 2, kRun - 1, kRun, kRun + 1, 2 * kRun - 1, 2 * kRun, 2 * kRun + 1, 10000}) {
        const std::vector<int32_t> values = ManyDraws(draws);
        const std::string block = BlockOf(values);
        TCodeNet net;
        Fill(net, {"5555555"});
        net.SelectAll();
        ByteReader in(block);
        net.LoadFromStream(in);
        ASSERT_EQ(net.Count(), draws);
        for (int draw = 0; draw < draws; ++draw) {
            for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
                ASSERT_EQ(net.GetNum(draw, pos), values[IndexOfValue(draw, pos)])
                    << draws << " draws, draw " << draw << " position " << pos;
            }
        }
        EXPECT_EQ(SelectionOf(net), std::string(static_cast<size_t>(draws), '.')) << draws;
        EXPECT_EQ(in.Remaining(), 0U) << draws;
        ByteWriter out;
        net.SaveToStream(out);
        EXPECT_EQ(out.Bytes(), block) << draws;
    }
}

// Values just past 9, the ones whose upper bytes alone are set, and the
// negative ones whose sum with a small number wraps around to a digit.
TEST(DrawBlock, EveryNonDigitIsRefusedWhereverItStands) {
    const int32_t draws = 2 * kRun + 100;
    const std::vector<std::pair<int, int>> places = {
        {0, 0},        {0, 6},        {1, 3}, {kRun - 1, 6}, {kRun, 0}, {2 * kRun - 1, 6},
        {2 * kRun, 0}, {draws - 1, 6}};
    for (const int32_t bad :
         {10,        11,        12, 13, 14, 15, 16, 25, 0x100, 0x109, 0x10000,
          0x1000000, INT32_MAX, -1, -2, -3, -4, -5, -6, -7,    -10,   INT32_MIN}) {
        for (const auto& [draw, pos] : places) {
            std::vector<int32_t> values = ManyDraws(draws);
            values[IndexOfValue(draw, pos)] = bad;
            const std::string block = BlockOf(values);
            TCodeNet net;
            Fill(net, {"1111111"});
            ByteReader in(block);
            EXPECT_EQ(MessageOf([&] { net.LoadFromStream(in); }),
                      "TSeq.SetNum Error! (digit " + std::to_string(bad) + " at byte " +
                          OffsetOfValue(draw, pos) + ")")
                << bad << " at draw " << draw << " position " << pos;
            EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"1111111"}));
            EXPECT_TRUE(net.Modified()) << "the typed draw is still unsaved";
        }
    }
}

TEST(DrawBlock, OfSeveralNonDigitsTheFirstInTheFileIsNamed) {
    struct Case {
        std::pair<int, int> first;
        std::pair<int, int> later;
    };
    const int last = 2 * kRun + 99;
    const Case cases[] = {{{10, 0}, {300, 3}},           {{300, 3}, {kRun + 20, 1}},
                          {{kRun - 1, 5}, {kRun, 0}},    {{0, 0}, {0, 1}},
                          {{last, 5}, {last, 6}},        {{0, 6}, {last, 6}},
                          {{kRun + 7, 2}, {2 * kRun, 0}}};
    for (const Case& c : cases) {
        std::vector<int32_t> values = ManyDraws(last + 1);
        values[IndexOfValue(c.later.first, c.later.second)] = 77;
        values[IndexOfValue(c.first.first, c.first.second)] = -3;
        const std::string block = BlockOf(values);
        TCodeNet net;
        ByteReader in(block);
        EXPECT_EQ(MessageOf([&] { net.LoadFromStream(in); }),
                  "TSeq.SetNum Error! (digit -3 at byte " +
                      OffsetOfValue(c.first.first, c.first.second) + ")");
        EXPECT_EQ(net.Count(), 0);
    }
}

// ---- text export -----------------------------------------------------------------------

class TextFiles : public ::testing::Test {
protected:
    void SetUp() override {
        SetShortDateFormat("yyyy.MM.dd");
        // 2024-03-05 12:00 UTC: the same day in every time zone but the outermost.
        SetClock([] { return std::time_t{1709640000}; });
    }
    void TearDown() override {
        SetClock(nullptr);
        SetShortDateFormat("");
    }
    TempFolder folder_;
};

TEST_F(TextFiles, EmptyTableExportsTheFourHeaderLinesOnly) {
    TCodeNet net;
    net.ExportToText(folder_.File("out.txt"));
    const std::string expected = Utf8ToGbk(
        ";开奖码表导出\r\n;总共0期\r\n;2024.03.05\r\n;"
        "================================================\r\n");
    EXPECT_EQ(ReadWholeFile(folder_.File("out.txt")), expected);
}

TEST_F(TextFiles, HeaderBytesAreGb2312) {
    TCodeNet net;
    const std::string text = net.ExportText();
    // ";开奖码表导出" in GB2312.
    EXPECT_EQ(text.substr(0, 15),
              std::string("\x3B\xBF\xAA\xBD\xB1\xC2\xEB\xB1\xED\xB5\xBC\xB3\xF6\r\n", 15));
}

TEST_F(TextFiles, ExportWritesOneLineOfSevenDigitsPerDraw) {
    TCodeNet net;
    Fill(net, {"0372915", "9876543"});
    for (int i = 0; i < 118; ++i) {
        net.Add();
    }
    const std::string text = GbkToUtf8(net.ExportText());
    EXPECT_TRUE(text.starts_with(";开奖码表导出\r\n;总共120期\r\n;2024.03.05\r\n;====")) << text;
    EXPECT_NE(text.find("=\r\n0372915\r\n9876543\r\n0000000\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("0000000\r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4 + 120);
}

TEST_F(TextFiles, ExportReplacesAnExistingFile) {
    WriteFileAtomically(folder_.File("out.txt"), std::string(5000, 'z'));
    TCodeNet net;
    Fill(net, {"1234567"});
    net.ExportToText(folder_.File("out.txt"));
    EXPECT_EQ(ReadWholeFile(folder_.File("out.txt")), net.ExportText());
}

TEST_F(TextFiles, ExportOverSomethingIrreplaceableSaysTheDeleteFailed) {
    std::filesystem::create_directory(folder_.File("busy.txt"));
    TCodeNet net;
    EXPECT_EQ(MessageOf([&] { net.ExportToText(folder_.File("busy.txt")); }),
              "原有的文件删除失败！\r\n可能正在被其它程序使用！");
    EXPECT_TRUE(std::filesystem::is_directory(folder_.File("busy.txt")));
}

TEST_F(TextFiles, ExportIntoAMissingFolderIsAnIoError) {
    TCodeNet net;
    EXPECT_THROW(net.ExportToText(folder_.File("nowhere/out.txt")), EInOutError);
}

// ---- text import ---------------------------------------------------------------------

TEST(DrawText, LinesAndTheirDraws) {
    struct Case {
        const char* line;
        const char* draw;  // nullptr: the line gives no draw
    };
    const Case cases[] = {
        {"1234567", "1234567"},       {"1 2 3 4 5 6 7", "1234567"},
        {"1,2,3,4,5,6,7", "1234567"}, {"abc", "0000000"},
        {"123", "1230000"},           {"2006001 1234567", "2006001"},
        {"123456789", "1234567"},     {"  \t7654321  ", "7654321"},
        {"/1234567", "1234567"},      {"/", "0000000"},
        {"第1期 2345678", "1234567"}, {";1234567", nullptr},
        {"  ;1234567", nullptr},      {"//1234567", nullptr},
        {"\t// comment", nullptr},    {"", nullptr},
        {"   \t ", nullptr},
    };
    for (const Case& c : cases) {
        const std::vector<TSeq> rows = ParseDrawText(Utf8ToGbk(c.line));
        if (c.draw == nullptr) {
            EXPECT_TRUE(rows.empty()) << c.line;
        } else {
            ASSERT_EQ(rows.size(), 1U) << c.line;
            EXPECT_EQ(DigitsOf(rows[0]), c.draw) << c.line;
        }
    }
}

TEST(DrawText, AcceptsEveryLineEnd) {
    const std::vector<TSeq> rows = ParseDrawText("1111111\r\n2222222\n3333333\r4444444");
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_EQ(DigitsOf(rows[3]), "4444444");
}

TEST(DrawText, AUtf8ByteOrderMarkIsNoDraw) {
    const std::vector<TSeq> rows =
        ParseDrawText("\xEF\xBB\xBF;开奖码表导出\r\n1234567\r\n7654321\r\n");
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(DigitsOf(rows[0]), "1234567");
    EXPECT_EQ(DigitsOf(ParseDrawText("\xEF\xBB\xBF"
                                     "0012345")[0]),
              "0012345")
        << "a draw on the first line keeps its digits";
}

TEST_F(TextFiles, AUtf16FileIsRefusedAndTheTableKept) {
    // ";x\r\n1234567\r\n" as UTF-16, little and big endian, with and without a mark.
    std::string little;
    std::string big;
    for (const char c : std::string(";x\r\n1234567\r\n")) {
        little += std::string{c, '\0'};
        big += std::string{'\0', c};
    }
    const std::vector<std::string> texts = {"\xFF\xFE" + little, "\xFE\xFF" + big, little, big};
    for (const std::string& text : texts) {
        WriteFileAtomically(folder_.File("u16.txt"), text);
        TCodeNet net;
        Fill(net, {"1234567"});
        net.ClearModified();
        try {
            net.ImportFromText(folder_.File("u16.txt"));
            ADD_FAILURE() << "a UTF-16 text was read as draws";
        } catch (const EReadError& error) {
            EXPECT_EQ(error.what(), kNotDrawTextText);
        }
        EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"1234567"}));
        EXPECT_FALSE(net.Modified());
    }
}

TEST_F(TextFiles, ImportOfAMissingFileLeavesTheTableAsItWas) {
    TCodeNet net;
    Fill(net, {"1234567"});
    net.ClearModified();
    net.ImportFromText(folder_.File("missing.txt"));
    EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"1234567"}));
    EXPECT_FALSE(net.Modified());
}

TEST_F(TextFiles, ImportOfCommentsOnlyGivesAnEmptyTable) {
    WriteFileAtomically(folder_.File("c.txt"), Utf8ToGbk(";注释\r\n\r\n// x\r\n   \r\n"));
    TCodeNet net;
    Fill(net, {"1234567"});
    net.ClearModified();
    net.ImportFromText(folder_.File("c.txt"));
    EXPECT_EQ(net.Count(), 0);
    EXPECT_TRUE(net.Modified());
}

TEST_F(TextFiles, ImportOfAnUnreadableFileLeavesTheTableAsItWas) {
    // A file that exists but whose first read fails, whatever our rights:
    // reading a process's memory at address 0 is an I/O error.
    const std::string path = "/proc/self/mem";
    if (!FileExists(path)) {
        GTEST_SKIP() << "no /proc on this system";
    }
    TCodeNet net;
    Fill(net, {"1234567"});
    net.ClearModified();
    EXPECT_THROW(net.ImportFromText(path), EInOutError);
    EXPECT_EQ(DigitsOf(net), (std::vector<std::string>{"1234567"}));
    EXPECT_FALSE(net.Modified());
}

TEST_F(TextFiles, ExportThenImportGivesBackEveryDrawUnselected) {
    TCodeNet net;
    Fill(net, {"0372915", "9876543", "0000000", "1111119"});
    net.SelectAll();
    net.ExportToText(folder_.File("round.txt"));

    TCodeNet back;
    Fill(back, {"5555555"});
    back.SelectAll();
    back.ImportFromText(folder_.File("round.txt"));
    EXPECT_EQ(DigitsOf(back), DigitsOf(net));
    EXPECT_EQ(SelectionOf(back), "....");
}

TEST_F(TextFiles, ExportOfAnEmptyTableImportsAsAnEmptyTable) {
    TCodeNet net;
    net.ExportToText(folder_.File("empty.txt"));
    TCodeNet back;
    Fill(back, {"5555555"});
    back.ImportFromText(folder_.File("empty.txt"));
    EXPECT_EQ(back.Count(), 0);
}

}  // namespace
}  // namespace tovarin
