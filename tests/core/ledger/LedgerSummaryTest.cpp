// How the recorded predictions did, in figures and in the player's words.
#include <gtest/gtest.h>

#include "LedgerTestSupport.h"
#include "core/ledger/LedgerSummary.h"

namespace tovarin {
namespace {

using test::AddDraws;
using test::LabelledTable;
using test::SmallRecord;

// A ledger of one project over periods 1..entries, each entry keeping the
// given number of codes (from 00 up) and the first `hits` settled ones hit.
struct SummaryBench {
    LabelledTable table;
    TLedger ledger;

    void Record(int period, int kept) {
        TLedgerRecord record = SmallRecord(1, period);
        record.Kept.clear();
        for (TCode code = 0; code < kept; ++code) {
            record.Kept.push_back({code, 0});
        }
        record.Groups.clear();
        ledger.Record(record, table.net, table.Finder());
    }

    // Draws for the first `settled` periods: 0xx0 (a hit) for the first
    // `hits` of them, 9xx9 (never kept below 100 codes) for the rest.
    void Draw(int settled, int hits) {
        for (int i = 0; i < settled; ++i) {
            AddDraws(table.net, {i < hits ? "0000000" : "9009000"});
        }
    }

    TLedgerSummary Summary() const {
        return SummarizeLedger(LedgerRows(ledger, std::nullopt, true),
                               SettleLedger(ledger, table.net, table.Finder()));
    }
};

TEST(LedgerSummary, FiguresAndSentence) {
    SummaryBench bench;
    for (int period = 1; period <= 120; ++period) {
        bench.Record(period, period <= 112 ? 47 : period <= 118 ? 46 : 10);
    }
    bench.Record(1, 99);  // superseded before its draw: not counted
    bench.Record(1, 47);
    bench.Draw(118, 61);
    const TLedgerSummary s = bench.Summary();
    EXPECT_EQ(s.Entries, 120);
    EXPECT_EQ(s.Settled, 118);
    EXPECT_EQ(s.Hits, 61);
    EXPECT_DOUBLE_EQ(s.Expected, 55.4);
    EXPECT_DOUBLE_EQ(*s.Rate, 61.0 / 118.0);
    EXPECT_DOUBLE_EQ(*s.Baseline, 55.4 / 118.0);
    EXPECT_DOUBLE_EQ(*s.Lift, 61.0 / 55.4);
    // The exact value, from the rational sum: 0.17338104425382178...
    EXPECT_NEAR(s.PValue, 0.17338104425382178, 1e-14);
    EXPECT_TRUE(s.Enough);
    EXPECT_EQ(LedgerSummaryText(s),
              "共记录120期，已开奖118期，命中61期（52%）；随机选同样多的号码平均命中55.4期；"
              "随机选号命中不少于61期的概率为17%");
}

TEST(LedgerSummary, SmallAndEmptySamples) {
    SummaryBench bench;
    EXPECT_EQ(LedgerSummaryText(bench.Summary()), "共记录0期，已开奖0期");
    for (int period = 1; period <= 29; ++period) {
        bench.Record(period, period == 29 ? 0 : 2);
    }
    const TLedgerSummary open = bench.Summary();
    EXPECT_EQ(open.Rate, std::nullopt);
    EXPECT_EQ(open.PValue, 1.0);
    EXPECT_EQ(LedgerSummaryText(open), "共记录29期，已开奖0期");

    bench.Draw(29, 28);
    const TLedgerSummary s = bench.Summary();
    EXPECT_FALSE(s.Enough);
    EXPECT_DOUBLE_EQ(s.Expected, 0.56);
    // 28 hits out of 28 trials at 2% (the last entry kept nothing).
    EXPECT_EQ(LedgerSummaryText(s),
              "共记录29期，已开奖29期，命中28期（97%）；随机选同样多的号码平均命中0.6期；"
              "随机选号命中不少于28期的概率不到1%");
    EXPECT_STREQ(kSmallSampleText, "样本不足30期，结论还不可靠");

    SummaryBench none;  // settled, but nothing kept: no lift
    none.Record(1, 0);
    none.Draw(1, 0);
    const TLedgerSummary zero = none.Summary();
    EXPECT_EQ(zero.Baseline, 0.0);
    EXPECT_EQ(zero.Lift, std::nullopt);
    EXPECT_EQ(zero.PValue, 1.0);
}

TEST(LedgerSummary, NewlySettledNamesEachDrawAndProject) {
    LabelledTable table(10);
    TLedger ledger;
    ledger.Record(SmallRecord(3, 11, "2026150"), table.net, table.Finder());
    ledger.Record(SmallRecord(2, 11, "2026150"), table.net, table.Finder());
    ledger.Record(SmallRecord(2, 12), table.net, table.Finder());
    ledger.Record(SmallRecord(1, 13), table.net, table.Finder());
    const auto rows = LedgerRows(ledger);
    const auto before = SettleLedger(ledger, table.net, table.Finder());
    AddDraws(table.net, {"3007000", "9000000"});
    table.periods["2026150"] = 11;
    const auto after = SettleLedger(ledger, table.net, table.Finder());
    EXPECT_EQ(NewlySettledText(rows, before, after),
              "第2026150期已开奖：方案2命中（3xx7），方案3命中（3xx7）；第12期已开奖：方案2未命中");
    EXPECT_EQ(NewlySettledText(rows, after, after), "");
}

}  // namespace
}  // namespace tovarin
