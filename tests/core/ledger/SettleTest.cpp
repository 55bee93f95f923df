// Settling: an entry against the draw of its label, else of its period,
// derived from the table every time.
#include <gtest/gtest.h>

#include "LedgerTestSupport.h"
#include "core/ledger/Settle.h"

namespace tovarin {
namespace {

using test::AddDraws;
using test::LabelledTable;
using test::SmallRecord;

// Kept codes 13 (error 0), 37 (error 1), 55; groups {13, 37, 55} and {13, 55}.
// The head and the tail are the first and fourth numbers in every game;
// the draw is written as the game's numbers.
TEST(Settle, AnEntryAgainstItsDraw) {
    struct Case {
        TGame game;
        std::vector<int> numbers;
        const char* draw;
        const char* winner;
        bool hit;
        std::optional<int> error;
        std::vector<bool> groups;
    };
    const Case cases[] = {
        {TGame::Seven, {1, 2, 8, 3, 4, 5, 6}, "1283456", "1xx3", true, 0, {true, true}},
        {TGame::Seven, {3, 0, 0, 7, 9, 9, 9}, "3007999", "3xx7", true, 1, {true, false}},
        {TGame::Seven, {9, 9, 9, 9, 9, 9, 9}, "9999999", "9xx9", false, {}, {false, false}},
        {TGame::Seven, {1, 0, 0, 4, 0, 0, 0}, "1004000", "1xx4", false, {}, {false, false}},
        {TGame::Qxc, {3, 0, 0, 7, 9, 9, 14}, "3 0 0 7 9 9 14", "3xx7", true, 1, {true, false}},
        {TGame::Qxc, {5, 1, 2, 5, 0, 0, 10}, "5 1 2 5 0 0 10", "5xx5", true, 0, {true, true}},
        {TGame::Qxc, {1, 2, 8, 3, 4, 5, 9}, "1283459", "1xx3", true, 0, {true, true}},
        {TGame::Pl5, {1, 2, 8, 3, 4}, "12834", "1xx3", true, 0, {true, true}},
        {TGame::Pl5, {1, 0, 0, 4, 0}, "10040", "1xx4", false, {}, {false, false}},
    };
    for (const Case& c : cases) {
        LabelledTable table;
        table.net.SetGame(c.game);
        const int row = table.net.Add();
        for (size_t pos = 0; pos < c.numbers.size(); ++pos) {
            table.net.SetNum(row, static_cast<int>(pos), c.numbers[pos]);
        }
        const int period = table.net.Count();
        const std::optional<TSettlement> s = Settle(SmallRecord(1, period), table.net, {});
        ASSERT_TRUE(s) << c.draw;
        EXPECT_EQ(s->Period, period);
        EXPECT_EQ(s->Draw, c.draw);
        EXPECT_EQ(CodeToStr(s->Winner), c.winner) << c.draw;
        EXPECT_EQ(s->Hit, c.hit) << c.draw;
        EXPECT_EQ(s->Error, c.error) << c.draw;
        EXPECT_EQ(s->GroupHits, c.groups) << c.draw;
    }
}

// The label decides when there is one: its draw may sit at another period
// than the one recorded, and a draw at the recorded period that does not
// carry the label does not settle it.
TEST(Settle, ByLabelWhenThereIsOneElseByPeriod) {
    LabelledTable table;
    AddDraws(table.net, {"1003000", "3007000", "5005000"});
    table.periods["2026150"] = 2;
    const TFindDraw find = table.Finder();
    EXPECT_EQ(DrawPeriodOf(SmallRecord(1, 3, "2026150"), table.net, find), 2);
    EXPECT_EQ(Settle(SmallRecord(1, 3, "2026150"), table.net, find)->Draw, "3007000");
    EXPECT_EQ(DrawPeriodOf(SmallRecord(1, 1, "2026151"), table.net, find), std::nullopt);
    EXPECT_EQ(DrawPeriodOf(SmallRecord(1, 3), table.net, find), 3);
    EXPECT_EQ(DrawPeriodOf(SmallRecord(1, 4), table.net, find), std::nullopt);
    // No lookup, or one that names a period the table does not hold.
    EXPECT_EQ(DrawPeriodOf(SmallRecord(1, 1, "2026150"), table.net, TFindDraw()), std::nullopt);
    table.periods["2026152"] = 9;
    EXPECT_EQ(DrawPeriodOf(SmallRecord(1, 1, "2026152"), table.net, find), std::nullopt);
}

// Nothing is stored: a draw taken back (as an undo does) opens the entry.
TEST(Settle, TheLedgerFollowsTheTable) {
    LabelledTable table(2);
    TLedger ledger;
    ledger.Record(SmallRecord(1, 3), table.net, table.Finder());
    ledger.Record(SmallRecord(2, 4), table.net, table.Finder());
    auto settled = [&] {
        std::vector<bool> seen;
        for (const auto& s : SettleLedger(ledger, table.net, table.Finder())) {
            seen.push_back(s.has_value());
        }
        return seen;
    };
    EXPECT_EQ(settled(), (std::vector{false, false}));
    AddDraws(table.net, {"1003000"});
    EXPECT_EQ(settled(), (std::vector{true, false}));
    table.net.Delete(2);
    EXPECT_EQ(settled(), (std::vector{false, false}));
}

}  // namespace
}  // namespace tovarin
