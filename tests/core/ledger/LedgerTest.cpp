// Recording, replacing and refusing: the ledger only grows.
#include <gtest/gtest.h>

#include "LedgerTestSupport.h"
#include "core/base/ByteStream.h"
#include "core/base/Sha256.h"
#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerFormat.h"
#include "core/settings/AppOptions.h"

namespace tovarin {
namespace {

using test::LabelledTable;
using test::SmallRecord;

TEST(Ledger, RecordingChainsEachEntryToTheOneBefore) {
    LabelledTable table(360);
    TLedger ledger;
    std::vector<TLedgerChange> heard;
    ledger.Subscribe([&](TLedgerChange change) { heard.push_back(change); });
    EXPECT_EQ(ledger.NewestHash(), nullptr);

    const TLedgerEntry& first = ledger.Record(SmallRecord(1, 361), table.net, table.Finder());
    EXPECT_EQ(first.Seq, 1);
    EXPECT_EQ(first.Hash, Sha256(RecordBytes(SmallRecord(1, 361))));
    const TSha256Digest firstHash = first.Hash;
    const TLedgerEntry& second = ledger.Record(SmallRecord(2, 361), table.net, table.Finder());
    EXPECT_EQ(second.Seq, 2);
    const std::string firstLink(reinterpret_cast<const char*>(firstHash.data()), firstHash.size());
    EXPECT_EQ(second.Hash, Sha256(RecordBytes(SmallRecord(2, 361)) + firstLink));
    EXPECT_EQ(*ledger.NewestHash(), second.Hash);
    EXPECT_TRUE(ledger.Modified());
    EXPECT_EQ(heard, (std::vector{TLedgerChange::Recorded, TLedgerChange::Recorded}));

    ledger.ClearModified();
    ledger.Clear();
    EXPECT_TRUE(ledger.Modified());
    EXPECT_EQ(heard.back(), TLedgerChange::Reset);
    // The chain starts again at entry 1.
    EXPECT_EQ(ledger.Record(SmallRecord(1, 362), table.net, table.Finder()).Seq, 1);
    EXPECT_EQ(*ledger.NewestHash(), Sha256(RecordBytes(SmallRecord(1, 362))));
}

// The draw is looked for by the label when the record has one, else by the
// period; the ledger is left as it was.
TEST(Ledger, ADrawnTargetIsRefused) {
    LabelledTable table(360);
    table.periods["2026150"] = 360;
    TLedger ledger;
    ledger.Record(SmallRecord(1, 361), table.net, table.Finder());
    struct Case {
        TLedgerRecord record;
        const char* message;
    };
    const Case cases[] = {
        {SmallRecord(1, 360), "第360期已开奖，不能记录预测"},
        {SmallRecord(1, 1), "第1期已开奖，不能记录预测"},
        {SmallRecord(1, 361, "2026150"), "第2026150期已开奖，不能记录预测"},
    };
    for (const Case& c : cases) {
        try {
            ledger.Record(c.record, table.net, table.Finder());
            ADD_FAILURE() << c.message;
        } catch (const ELedgerError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    EXPECT_EQ(ledger.Count(), 1);
    // A label the table does not hold yet is open, whatever the period.
    EXPECT_NO_THROW(ledger.Record(SmallRecord(1, 300, "2026151"), table.net, table.Finder()));
}

TEST(Ledger, WhatTheStoredFormCannotHoldIsRefused) {
    LabelledTable table;
    struct Case {
        const char* why;
        void (*spoil)(TLedgerRecord&);
    };
    const Case cases[] = {
        {"kept codes out of order",
         [](TLedgerRecord& r) {
             r.Kept = {{37, 0}, {13, 0}};
         }},
        {"a kept code twice",
         [](TLedgerRecord& r) {
             r.Kept = {{13, 0}, {13, 1}};
         }},
        {"a code outside 0..99",
         [](TLedgerRecord& r) {
             r.Kept = {{100, 0}};
         }},
        {"an error above the tolerance",
         [](TLedgerRecord& r) {
             r.Kept = {{13, 2}};
         }},
        {"an error that wraps round a byte",
         [](TLedgerRecord& r) {
             r.Kept = {{13, 257}};
         }},
        {"a tolerance of 11", [](TLedgerRecord& r) { r.Tolerance = 11; }},
        {"a group larger than its size",
         [](TLedgerRecord& r) {
             r.Groups = {{2, {1, 2, 3}}};
         }},
        {"a group code outside 0..99",
         [](TLedgerRecord& r) {
             r.Groups = {{40, {-1}}};
         }},
        {"a label of ten digits", [](TLedgerRecord& r) { r.Label = "2026150001"; }},
        {"an empty label", [](TLedgerRecord& r) { r.BasedOnLabel = ""; }},
        {"a label with a letter", [](TLedgerRecord& r) { r.Label = "2026l50"; }},
        {"a condition text that is not UTF-8",
         [](TLedgerRecord& r) { r.Conditions = {"\xB7\xBD"}; }},
        {"project 0", [](TLedgerRecord& r) { r.Project = 0; }},
        {"period 0", [](TLedgerRecord& r) { r.Period = 0; }},
    };
    TLedger ledger;
    for (const Case& c : cases) {
        TLedgerRecord record = SmallRecord(1, 1);
        c.spoil(record);
        EXPECT_THROW(ledger.Record(record, table.net, table.Finder()), Exception) << c.why;
    }
    EXPECT_EQ(ledger.Count(), 0);
}

// Recording again for the same target before its draw supersedes; the
// listing shows the newest entry of each project and target with how many
// it replaced, and with all the superseded ones as well.
TEST(Ledger, RowsShowTheNewestOfEachProjectAndTarget) {
    LabelledTable table(10);
    TLedger ledger;
    const TLedgerRecord records[] = {
        SmallRecord(1, 11),             // 1: replaced by 3, then by 5
        SmallRecord(2, 11),             // 2: another project
        SmallRecord(1, 11),             // 3
        SmallRecord(1, 12, "26099"),    // 4: replaced by 6 (the same draw spelt in full)
        SmallRecord(1, 11),             // 5
        SmallRecord(1, 13, "2026099"),  // 6: another period, the same label
        SmallRecord(1, 12),             // 7: no label, so not the target of 4
    };
    for (const TLedgerRecord& record : records) {
        ledger.Record(record, table.net, table.Finder());
    }
    auto summary = [](const std::vector<TLedgerRow>& rows) {
        std::vector<std::tuple<int, int, bool>> seen;
        for (const TLedgerRow& row : rows) {
            seen.emplace_back(row.Entry->Seq, row.Replaced, row.Superseded);
        }
        return seen;
    };
    using Rows = std::vector<std::tuple<int, int, bool>>;
    EXPECT_EQ(summary(LedgerRows(ledger)),
              (Rows{{2, 0, false}, {5, 2, false}, {6, 1, false}, {7, 0, false}}));
    EXPECT_EQ(summary(LedgerRows(ledger, std::nullopt, true)), (Rows{{1, 0, true},
                                                                     {2, 0, false},
                                                                     {3, 1, true},
                                                                     {4, 0, true},
                                                                     {5, 2, false},
                                                                     {6, 1, false},
                                                                     {7, 0, false}}));
    EXPECT_EQ(summary(LedgerRows(ledger, 2)), (Rows{{2, 0, false}}));
    EXPECT_EQ(summary(LedgerRows(ledger, 3, true)), Rows{});
}

TEST(Ledger, ReplaceTakesAnotherLedgerAndKeepsTheListeners) {
    LabelledTable table;
    TLedger loaded;
    loaded.Record(SmallRecord(1, 1), table.net, table.Finder());
    TLedger ledger;
    int resets = 0;
    ledger.Subscribe([&](TLedgerChange change) { resets += change == TLedgerChange::Reset; });
    ledger.Record(SmallRecord(2, 1), table.net, table.Finder());
    ledger.Replace(std::move(loaded));
    EXPECT_EQ(resets, 1);
    EXPECT_FALSE(ledger.Modified());
    ASSERT_EQ(ledger.Count(), 1);
    EXPECT_EQ(ledger.Entries()[0].Record.Project, 1);
}

// A run's record: what the project held and kept, the table's row count.
TEST(Ledger, RecordOfRunCopiesTheRun) {
    LabelledTable table(5);
    TSeqPrj project(table.net);
    TPrjOptions options = project.Options();
    options.TargetSeq = 6;
    options.MissMax = 1;
    project.SetOptions(options);
    // Heads 1..3 for sure, tail 5 or one error, and a condition not checked.
    const struct {
        int kind;
        const char* param;
        bool assured;
        bool checked;
    } binds[] = {{1, "1,2,3", true, true}, {3, "5", false, true}, {2, "1,2", true, false}};
    for (const auto& b : binds) {
        TBaseBind& bind = project.AddBind(CreateBind(b.kind, project.Options()));
        bind.SetParam(b.param);
        bind.Assured = b.assured;
        bind.Checked = b.checked;
    }
    project.CalcAll(TAppOptions{}, nullptr);

    const TLedgerRecord record = RecordOfRun(project, 4, {{40, {10, 11}}}, 1780000000);
    EXPECT_EQ(record.RecordedAt, 1780000000);
    EXPECT_EQ(record.Project, 4);
    EXPECT_EQ(record.Conditions, (std::vector<std::string>{project.GetBind(0).GetText(),
                                                           project.GetBind(1).GetText()}));
    EXPECT_EQ(record.Tolerance, 1);
    EXPECT_EQ(record.Period, 6);
    EXPECT_EQ(record.BasedOnDraws, 5);
    EXPECT_EQ(record.Groups, (std::vector<TLedgerGroup>{{40, {10, 11}}}));
    ASSERT_EQ(record.Kept.size(), 30U);
    for (size_t i = 0; i < record.Kept.size(); ++i) {
        const TCode code = static_cast<TCode>(10 + i);
        EXPECT_EQ(record.Kept[i], (TKeptCode{code, code % 10 == 5 ? 0 : 1}));
    }
    EXPECT_EQ(RecordBytes(record).substr(12, TPrjOptions::StoredSize), [&] {
        ByteWriter out;
        project.Options().SaveToStream(out);
        return out.Bytes();
    }());
}

}  // namespace
}  // namespace tovarin
