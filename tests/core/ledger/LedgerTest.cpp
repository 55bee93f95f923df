// Recording, replacing and refusing: the ledger only grows.
#include <gtest/gtest.h>

#include "LedgerTestSupport.h"
#include "core/base/Sha256.h"
#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerFormat.h"
#include "core/settings/AppOptions.h"
#include "support/Hex.h"

namespace tovarin {
namespace {

using test::LabelledTable;
using test::SmallRecord;

TEST(Ledger, RecordingChainsEachEntryToTheOneBefore) {
    LabelledTable table(360);
    TLedger ledger;
    std::vector<TLedgerChange> heard;
    ledger.Subscribe([&](TLedgerChange change, const TLedgerState*) { heard.push_back(change); });
    EXPECT_EQ(ledger.NewestHash(), nullptr);

    const TLedgerEntry& first = ledger.Record(SmallRecord(1, 361), table.net, table.Finder());
    EXPECT_EQ(first.Seq, 1);
    EXPECT_EQ(first.Hash, Sha256(RecordBytes(SmallRecord(1, 361))));
    EXPECT_EQ(HashText(first.Hash),
              test::Hex(std::string_view(reinterpret_cast<const char*>(first.Hash.data()), 32)));
    const TSha256Digest firstHash = first.Hash;
    const TLedgerEntry& second = ledger.Record(SmallRecord(2, 361), table.net, table.Finder());
    EXPECT_EQ(second.Seq, 2);
    const std::string firstLink(reinterpret_cast<const char*>(firstHash.data()), firstHash.size());
    EXPECT_EQ(second.Hash, Sha256(RecordBytes(SmallRecord(2, 361)) + firstLink));
    EXPECT_EQ(*ledger.NewestHash(), second.Hash);
    EXPECT_TRUE(ledger.Modified());

    ledger.ClearModified();
    ledger.Clear();
    EXPECT_TRUE(ledger.Modified());
    // The chain starts again at entry 1.
    EXPECT_EQ(ledger.Record(SmallRecord(1, 362), table.net, table.Finder()).Seq, 1);
    EXPECT_EQ(*ledger.NewestHash(), Sha256(RecordBytes(SmallRecord(1, 362))));

    // Another ledger put in place (a load) keeps the listeners.
    ledger.Replace(TLedger());
    EXPECT_EQ(ledger.Count(), 0);
    EXPECT_FALSE(ledger.Modified());
    using enum TLedgerChange;
    EXPECT_EQ(heard, (std::vector{Recorded, Recorded, Reset, Recorded, Replaced}));
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
    std::vector<TLedgerRecord> spoiled(14, SmallRecord(1, 1));
    spoiled[0].Kept = {{37, 0}, {13, 0}};  // out of order
    spoiled[1].Kept = {{13, 0}, {13, 1}};  // a code twice
    spoiled[2].Kept = {{100, 0}};
    spoiled[3].Kept = {{13, 2}};    // above the tolerance
    spoiled[4].Kept = {{13, 257}};  // would wrap round a byte
    spoiled[5].Tolerance = 11;
    spoiled[6].Groups = {{2, {1, 2, 3}}};
    spoiled[7].Groups = {{40, {-1}}};
    spoiled[8].Label = "2026150001";
    spoiled[9].BasedOnLabel = "";
    spoiled[10].Label = "2026l50";
    spoiled[11].Conditions = {"\xB7\xBD"};  // GBK
    spoiled[12].Project = 0;
    spoiled[13].Period = 0;
    TLedger ledger;
    for (size_t i = 0; i < spoiled.size(); ++i) {
        EXPECT_THROW(ledger.Record(spoiled[i], table.net, table.Finder()), Exception) << i;
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
    // Seq:replaced, and * for a superseded entry.
    auto shown = [&](std::optional<int> project, bool all) {
        std::string text;
        for (const TLedgerRow& row : LedgerRows(ledger, project, all)) {
            text += " " + std::to_string(row.Entry->Seq) + ":" + std::to_string(row.Replaced) +
                    (row.Superseded ? "*" : "");
        }
        return text;
    };
    EXPECT_EQ(shown(std::nullopt, false), " 2:0 5:2 6:1 7:0");
    EXPECT_EQ(shown(std::nullopt, true), " 1:0* 2:0 3:1* 4:0* 5:2 6:1 7:0");
    EXPECT_EQ(shown(2, false), " 2:0");
    EXPECT_EQ(shown(3, true), "");
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
    for (const auto& [kind, param, assured] :
         {std::tuple{1, "1,2,3", true}, {3, "5", false}, {2, "1,2", true}}) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = kind != 2;
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
}

}  // namespace
}  // namespace tovarin
