// The ledger as the document holds it: recorded from a project's run with
// the target's label, kept in the document's extension, read back with the
// document, and settled whenever the table gains draws.
#include <gtest/gtest.h>

#include "LedgerTestSupport.h"
#include "core/base/ByteStream.h"
#include "core/base/Errors.h"
#include "core/draws/LawNet.h"
#include "core/engine/DocSections.h"
#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerFormat.h"
#include "core/ledger/LedgerRecording.h"
#include "core/ledger/LedgerSection.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

TLabel L(const char* text) { return *TLabel::Parse(text); }

// A document of three draws labelled 2025152, 2025153, 2026001 and one
// project that keeps heads 3 and 7 (twenty codes), its target the next
// period.
struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
    TLedger ledger;
    TLedgerSection section{ledger, projects};

    Doc() {
        test::AddDraws(net, {"0372915", "3127000", "5550123"});
        net.SetLabelDate(0, L("2025152"), {});
        net.SetLabelDate(1, L("2025153"), {});
        net.SetLabelDate(2, L("2026001"), {});
        test::AddHeadsProject(projects, net, 4);
        projects.ClearModified();
    }
    TSeqPrj& Project() const { return projects.GetSeqPrj(0); }
    void Target(int period) const { test::SetTarget(Project(), period); }
    const TLedgerEntry& RunAndRecord(int64_t at = 1780000000) {
        Project().CalcAll(TAppOptions{}, nullptr);
        return RecordPrediction(ledger, Project(), 1, at);
    }
    std::string Image() const { return BuildDocumentImage(net, projects); }
};

std::string Refusal(const std::function<void()>& command) {
    try {
        command();
    } catch (const ELedgerError& error) {
        return error.what();
    }
    return "(recorded)";
}

TEST(LedgerDocument, ARunIsRecordedWithItsTargetsLabelAndTheTable) {
    Doc doc;
    const TLedgerEntry& entry = doc.RunAndRecord();
    const TLedgerRecord& record = entry.Record;
    EXPECT_EQ(record.Period, 4);
    EXPECT_EQ(record.Label, "2026002");
    EXPECT_EQ(record.BasedOnDraws, 3);
    EXPECT_EQ(record.BasedOnLabel, "2026001");
    EXPECT_EQ(record.Kept.size(), 20U);
    // Groups as the run showed them: the twenty codes in the 40 and 30
    // groups the project's settings switch on.
    ASSERT_EQ(record.Groups.size(), doc.Project().ShownGroups()->size());
    for (size_t i = 0; i < record.Groups.size(); ++i) {
        EXPECT_EQ(record.Groups[i].Size, (*doc.Project().ShownGroups())[i].Size);
        EXPECT_EQ(record.Groups[i].Codes, (*doc.Project().ShownGroups())[i].Codes);
    }
    EXPECT_EQ(RecordedText(entry), "已记录方案1对第2026002期的预测（20个号码）");

    // The k-th period ahead takes the k-th label: over a year's end too.
    doc.net.SetLabelDate(2, L("2025999"), {});
    doc.Target(6);
    EXPECT_EQ(doc.RunAndRecord().Record.Label, "2026003");
    doc.net.SetLabelDate(2, TLabel(), {});
    EXPECT_EQ(doc.RunAndRecord().Record.Label, std::nullopt);
    EXPECT_EQ(doc.ledger.Count(), 3);
}

TEST(LedgerDocument, WhatCannotBeRecordedIsRefusedAndNothingChanges) {
    Doc doc;
    int sectionChanges = 0;
    doc.projects.Subscribe([&](TPrjChange change, const TSeqPrj*) {
        sectionChanges += change == TPrjChange::Sections ? 1 : 0;
    });
    // No run yet; a single condition's run; a run the settings made stale.
    EXPECT_EQ(Refusal([&] { RecordPrediction(doc.ledger, doc.Project(), 1, 0); }),
              "请先对方案1进行筛选计算");
    doc.Project().CalcOne(0, TAppOptions{}, nullptr);
    EXPECT_EQ(Refusal([&] { RecordPrediction(doc.ledger, doc.Project(), 1, 0); }),
              "请先对方案1进行筛选计算");
    doc.Project().CalcAll(TAppOptions{}, nullptr);
    doc.Target(4);
    EXPECT_EQ(Refusal([&] { RecordPrediction(doc.ledger, doc.Project(), 1, 0); }),
              "请先对方案1进行筛选计算");
    // A drawn target, by its label or, without labels, by its period.
    doc.Target(3);
    EXPECT_EQ(Refusal([&] { doc.RunAndRecord(); }), "第2026001期已开奖，不能记录预测");
    doc.net.SetLabelDate(2, TLabel(), {});
    EXPECT_EQ(Refusal([&] { doc.RunAndRecord(); }), "第3期已开奖，不能记录预测");
    EXPECT_EQ(doc.ledger.Count(), 0);
    EXPECT_EQ(sectionChanges, 0);
}

TEST(LedgerDocument, RecordingAgainReplacesAndMarksTheDocumentModified) {
    Doc doc;
    std::vector<TPrjChange> heard;
    doc.projects.Subscribe([&](TPrjChange change, const TSeqPrj*) { heard.push_back(change); });
    doc.RunAndRecord(1780000000);
    EXPECT_TRUE(doc.projects.Modified());
    doc.RunAndRecord(1780000100);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), TPrjChange::Sections), 2);
    const std::vector<TLedgerRow> rows = LedgerRows(doc.ledger);
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].Entry->Seq, 2);
    EXPECT_EQ(rows[0].Replaced, 1);
}

TEST(LedgerDocument, TheDocumentRoundTripsByteForByteAndRestoresTheLedger) {
    Doc doc;
    const std::string empty = doc.Image();
    // An empty ledger writes no section.
    doc.projects.DetachModel(doc.section);
    EXPECT_EQ(doc.Image(), empty);
    doc.projects.AttachModel(doc.section);
    doc.RunAndRecord();
    doc.Target(5);
    doc.RunAndRecord();
    const std::string image = doc.Image();
    ASSERT_GT(image.size(), empty.size());
    EXPECT_EQ(image.substr(empty.size() + 8), EncodeLedger(doc.ledger));

    Doc read;
    LoadDocumentImage(image, read.net, read.projects);
    EXPECT_EQ(read.ledger.Count(), 2);
    EXPECT_FALSE(read.ledger.BrokenAt());
    EXPECT_FALSE(read.projects.Modified());
    EXPECT_EQ(read.Image(), image);
    EXPECT_TRUE(read.projects.Sections().Empty());

    // Going back to the image before (what undo does) takes the entries away.
    LoadDocumentImage(empty, read.net, read.projects);
    EXPECT_EQ(read.ledger.Count(), 0);
    EXPECT_EQ(read.Image(), empty);
}

// Every cut of the ledger's bytes, its section's length made to fit, is
// refused with the byte where reading stopped, and the open document stays.
TEST(LedgerDocument, ASpoiledLedgerRefusesTheDocument) {
    Doc doc;
    const std::string before = doc.Image();
    Doc source;
    source.RunAndRecord();
    const std::string image = source.Image();
    const std::string ledger = EncodeLedger(source.ledger);
    const size_t sectionAt = image.size() - ledger.size() - 8;
    for (size_t cut = 0; cut < ledger.size(); cut += 7) {
        ByteWriter length;
        length.WriteI32(static_cast<int32_t>(cut));
        const std::string spoiled =
            image.substr(0, sectionAt + 4) + length.Bytes() + ledger.substr(0, cut);
        EXPECT_THROW(LoadDocumentImage(spoiled, doc.net, doc.projects), EReadError) << cut;
        ASSERT_EQ(doc.Image(), before) << cut;
    }
    const std::string twice = image + image.substr(sectionAt);
    try {
        LoadDocumentImage(twice, doc.net, doc.projects);
        FAIL();
    } catch (const EReadError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Second section of kind 3 at byte " + std::to_string(image.size()));
    }
    EXPECT_EQ(doc.Image(), before);
}

TEST(LedgerDocument, AChangedEntryLoadsWithTheChainBrokenThere) {
    Doc source;
    source.RunAndRecord(1780000000);
    source.RunAndRecord(1780000100);
    std::string image = source.Image();
    const std::string ledger = EncodeLedger(source.ledger);
    // The two entries are of one size; the second one's time goes a second on.
    const size_t secondAt = image.size() - ledger.size() + 4 + (ledger.size() - 4) / 2;
    image[secondAt] = static_cast<char>(image[secondAt] + 1);
    Doc read;
    LoadDocumentImage(image, read.net, read.projects);
    EXPECT_EQ(read.ledger.BrokenAt(), 2);
    // Written back as it was read: never repaired.
    EXPECT_EQ(read.Image(), image);
}

TEST(LedgerDocument, TheTableGainingADrawSettlesAndTakingItBackUnsettles) {
    Doc doc;
    std::vector<std::string> told;
    TSettlementWatch watch(doc.ledger, doc.net,
                           [&](const std::string& text) { told.push_back(text); });
    doc.RunAndRecord();
    const std::string before = doc.Image();

    // Typed digit by digit below 2026001: the new draw takes 2026002.
    const int row = doc.net.Add();
    EXPECT_EQ(doc.net.GetSeq(row).GetLabel().Text(), "2026002");
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        doc.net.SetNum(row, pos, "7000005"[pos] - '0');
    }
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), "第2026002期已开奖：方案1命中（7xx0）");
    ASSERT_TRUE(watch.Settlements()[0]);

    // Without labels an entry settles against the draw of its period.
    doc.net.SetLabelDate(row, TLabel(), {});
    doc.Target(5);
    EXPECT_EQ(doc.RunAndRecord().Record.Label, std::nullopt);
    told.clear();
    test::AddDraws(doc.net, {"1000009"});
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), "第5期已开奖：方案1未命中");

    // Going back (undo loads the image before) leaves the entry open, unsaid.
    told.clear();
    LoadDocumentImage(before, doc.net, doc.projects);
    EXPECT_TRUE(told.empty());
    ASSERT_EQ(watch.Settlements().size(), 1U);
    EXPECT_FALSE(watch.Settlements()[0]);
}

}  // namespace
}  // namespace tovarin
