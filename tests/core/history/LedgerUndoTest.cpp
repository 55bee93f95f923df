// The prediction ledger in the undo history: recording and clearing are
// steps that come back byte for byte, and a draw taken back by undo leaves
// the entries it settled open again.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../ledger/LedgerTestSupport.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerRecording.h"
#include "core/ledger/LedgerSection.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

// Three labelled draws, the last 2026001, and a project that keeps heads 3
// and 7, its target the next period.
struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
    TLedger ledger;
    TLedgerSection section{ledger, projects};
    TDocumentUndo undo{net, projects, &ledger};

    Doc() {
        test::AddDraws(net, {"0372915", "3127000", "5550123"});
        net.SetLabelDate(2, *TLabel::Parse("2026001"), {});
        test::AddHeadsProject(projects, net, 4);
        net.ClearModified();
        projects.ClearModified();
        undo.Reset();
    }
    TSeqPrj& Project() const { return projects.GetSeqPrj(0); }
    void Target(int period) const { test::SetTarget(Project(), period); }
    // 记录预测 as the window runs it: one step.
    void Record(int64_t at) {
        Project().CalcAll(TAppOptions{}, nullptr);
        undo.Run("记录预测", {}, [&] { RecordPrediction(ledger, Project(), 1, at); });
    }
    std::string Image() const { return BuildDocumentImage(net, projects); }
    bool Modified() const { return net.Modified() || projects.Modified(); }
    std::vector<TSha256Digest> Hashes() const {
        std::vector<TSha256Digest> hashes;
        for (const TLedgerEntry& entry : ledger.Entries()) {
            hashes.push_back(entry.Hash);
        }
        return hashes;
    }
};

TEST(LedgerUndo, RecordingAndClearingAreStepsThatComeBackByteForByte) {
    Doc doc;
    const std::string empty = doc.Image();
    doc.Record(1780000000);
    ASSERT_EQ(doc.undo.History().UndoCount(), 1U);
    EXPECT_EQ(doc.undo.History().UndoName(), "记录预测");
    EXPECT_TRUE(doc.Modified());
    const size_t stepBytes = doc.undo.History().Bytes();
    const std::string one = doc.Image();
    const std::vector<TSha256Digest> oneHash = doc.Hashes();

    doc.undo.Undo({});
    EXPECT_EQ(doc.ledger.Count(), 0);
    EXPECT_EQ(doc.Image(), empty);
    EXPECT_FALSE(doc.Modified());
    doc.undo.Redo({});
    EXPECT_EQ(doc.Image(), one);
    EXPECT_EQ(doc.Hashes(), oneHash);

    doc.undo.Run("方案属性", {}, [&] { doc.Target(5); });
    doc.Record(1780000100);
    const std::string two = doc.Image();
    const std::vector<TSha256Digest> twoHashes = doc.Hashes();
    doc.undo.Run("清空成绩单", {}, [&] { doc.ledger.Clear(); });
    EXPECT_EQ(doc.undo.History().UndoCount(), 4U);
    EXPECT_EQ(doc.ledger.Count(), 0);

    // Back through the clearing and both recordings, and forward again.
    doc.undo.Undo({});
    EXPECT_EQ(doc.Image(), two);
    EXPECT_EQ(doc.Hashes(), twoHashes);
    doc.undo.Undo({});
    doc.undo.Undo({});
    EXPECT_EQ(doc.Image(), one);
    doc.undo.Undo({});
    EXPECT_EQ(doc.Image(), empty);
    EXPECT_FALSE(doc.Modified());
    for (int step = 0; step < 3; ++step) {
        doc.undo.Redo({});
    }
    EXPECT_EQ(doc.Image(), two);
    EXPECT_EQ(doc.Hashes(), twoHashes);
    EXPECT_FALSE(doc.ledger.BrokenAt());
    doc.undo.Redo({});
    EXPECT_EQ(doc.ledger.Count(), 0);

    // After the clearing the chain starts again at entry 1.
    doc.Record(1780000200);
    EXPECT_EQ(doc.ledger.Entries().back().Seq, 1);

    // A recording's step holds nothing of the ledger: beside forty entries
    // it costs what it cost beside none.
    Doc full;
    full.Project().CalcAll(TAppOptions{}, nullptr);
    for (int i = 0; i < 40; ++i) {
        RecordPrediction(full.ledger, full.Project(), 1, 1780000000 + i);
    }
    full.undo.Reset();
    full.Record(1780000100);
    EXPECT_EQ(full.undo.History().Bytes(), stepBytes);
}

// Settlement is derived from the table: undo of the draw that settled an
// entry leaves it open, and redo settles it again.
TEST(LedgerUndo, UndoOfADrawThatSettledAnEntryUnsettlesIt) {
    Doc doc;
    std::vector<std::string> told;
    const TSettlementWatch watch(doc.ledger, doc.net,
                                 [&](const std::string& text) { told.push_back(text); });
    doc.Record(1780000000);
    doc.undo.Run("增加开奖号码", {}, [&] { test::AddDraws(doc.net, {"7000005"}); });
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), "第2026002期已开奖：方案1命中（7xx0）");
    ASSERT_TRUE(watch.Settlements().at(0));
    EXPECT_TRUE(watch.Settlements()[0]->Hit);

    told.clear();
    doc.undo.Undo({});
    EXPECT_EQ(doc.net.Count(), 3);
    EXPECT_EQ(doc.ledger.Count(), 1);
    EXPECT_FALSE(watch.Settlements().at(0));
    EXPECT_TRUE(told.empty());
    doc.undo.Redo({});
    ASSERT_TRUE(watch.Settlements().at(0));
    EXPECT_EQ(watch.Settlements()[0]->Draw, "7000005");
}

}  // namespace
}  // namespace tovarin
