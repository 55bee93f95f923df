// The 成绩单 table's lines, their CSV, and the cumulative hits of its chart.
#include <gtest/gtest.h>

#include <cmath>

#include "LedgerTestSupport.h"
#include "core/base/DateTime.h"
#include "core/engine/PrjTestSupport.h"
#include "core/ledger/LedgerTable.h"

namespace tovarin {
namespace {

using test::LabelledTable;
using test::SmallRecord;

class LedgerTableTest : public ::testing::Test {
protected:
    // Entries: project 1 for 361 (labelled, then replaced), project 2 for
    // 361, project 1 for 362 (open). Draw 361 is 3581297: winner 3xx1,
    // which no entry kept.
    void SetUp() override {
        test::FixClock();
        ledger.Record(SmallRecord(1, 361, "2026150"), table.net, table.Finder());
        ledger.Record(SmallRecord(1, 361, "2026150"), table.net, table.Finder());
        TLedgerRecord second = SmallRecord(2, 361);
        second.Kept = {{31, 0}};
        second.Groups = {{10, {31}}};
        ledger.Record(second, table.net, table.Finder());
        ledger.Record(SmallRecord(1, 362), table.net, table.Finder());
        test::AddDraws(table.net, {"3581297"});
        table.periods["2026150"] = 361;
        settlements = SettleLedger(ledger, table.net, table.Finder());
    }
    void TearDown() override { SetClock({}); }

    LabelledTable table{360};
    TLedger ledger;
    std::vector<std::optional<TSettlement>> settlements;
};

TEST_F(LedgerTableTest, LinesNewestFirstWithEveryColumn) {
    const std::vector<TLedgerLine> lines = LedgerLines(LedgerRows(ledger), settlements);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0],
              (TLedgerLine{"362", "2026-05-28 20:32:42", "方案1", "3", "", "", "未开奖", "", "0"}));
    EXPECT_EQ(lines[1], (TLedgerLine{"361", "2026-05-28 20:32:41", "方案2", "1", "3581297", "3xx1",
                                     "命中", "10中", "0"}));
    EXPECT_EQ(lines[2], (TLedgerLine{"2026150/361", "2026-05-28 20:32:41", "方案1", "3", "3581297",
                                     "3xx1", "未中", "40未中 30未中", "1"}));
    EXPECT_EQ(LedgerCsv({lines[1]}),
              "\xEF\xBB\xBF期号/期,记录时间,方案,号码数,开奖号码,头尾码,命中,各组命中,替换次数\r\n"
              "361,2026-05-28 20:32:41,方案2,1,3581297,3xx1,命中,10中,0\r\n");
    TLedgerLine quoted = lines[0];
    quoted[7] = "a,\"b\"";
    EXPECT_EQ(LedgerCsv({quoted}).substr(LedgerCsv({}).size()),
              "362,2026-05-28 20:32:42,方案1,3,,,未开奖,\"a,\"\"b\"\"\",0\r\n");
}

TEST_F(LedgerTableTest, CumulativeHitsOverTheSettledRows) {
    const std::vector<TCumulativePoint> points =
        CumulativeHits(LedgerRows(ledger, std::nullopt, true), settlements);
    // The superseded entry and the open one are left out.
    ASSERT_EQ(points.size(), 2U);
    EXPECT_EQ(points[0].Hits, 0);
    EXPECT_DOUBLE_EQ(points[0].Expected, 0.03);
    EXPECT_DOUBLE_EQ(points[0].Deviation, std::sqrt(0.03 * 0.97));
    EXPECT_EQ(points[1].Hits, 1);
    EXPECT_DOUBLE_EQ(points[1].Expected, 0.04);
    EXPECT_DOUBLE_EQ(points[1].Deviation, std::sqrt(0.03 * 0.97 + 0.01 * 0.99));
}

}  // namespace
}  // namespace tovarin
