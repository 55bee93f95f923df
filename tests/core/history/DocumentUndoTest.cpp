#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "core/base/Errors.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

struct Doc {
    TCodeNet net;
    TPrjMgr projects{net};
    TDocumentUndo undo{net, projects};

    std::string Image() const { return BuildDocumentImage(net, projects); }
    bool Modified() const { return net.Modified() || projects.Modified(); }
};

// Draws and two projects with conditions, saved as it stands.
void Fill(Doc& doc) {
    test::AddDraws(doc.net, {"0372915", "9999999", "1234567"});
    TSeqPrj& first = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    for (int kind = 1; kind <= 9; ++kind) {
        TBaseBind& bind = first.AddBind(CreateBind(kind, first.Options()));
        bind.SetParam(kind == 9 ? "12与34相配" : "1,3,5");
        bind.Checked = kind % 3 != 0;
    }
    TSeqPrj& second = doc.projects.AddPrj(std::make_unique<TSeqPrj>(doc.net));
    TPrjOptions options = second.Options();
    options.MissMax = 3;
    second.SetOptions(options);
    doc.net.ClearModified();
    doc.projects.ClearModified();
    doc.undo.Reset();
}

TEST(DocumentUndo, EachKindOfChangeComesBackByteForByte) {
    struct Command {
        const char* name;
        void (*run)(Doc&);
    };
    const Command commands[] = {
        {"输入开奖号码", [](Doc& d) { d.net.SetNum(1, 3, 0); }},
        {"增加开奖号码", [](Doc& d) { d.net.Add(); }},
        {"插入开奖号码", [](Doc& d) { d.net.Insert(0); }},
        {"删除开奖号码", [](Doc& d) { d.net.Delete(2); }},
        {"清空开奖号码表", [](Doc& d) { d.net.Clear(); }},
        {"导入开奖号码", [](Doc& d) { d.net.Replace(ParseDrawText("1111111\r\n2222222\r\n")); }},
        {"创建方案", [](Doc& d) { d.projects.AddPrj(std::make_unique<TSeqPrj>(d.net)); }},
        {"删除方案", [](Doc& d) { d.projects.Del(0); }},
        {"清空方案", [](Doc& d) { d.projects.ClearPrjs(); }},
        {"移动方案", [](Doc& d) { d.projects.Move(1, 0); }},
        {"删除条件", [](Doc& d) { d.projects.GetSeqPrj(0).Del(4); }},
        {"清空条件", [](Doc& d) { d.projects.GetSeqPrj(0).ClearBinds(); }},
        {"上移条件", [](Doc& d) { d.projects.GetSeqPrj(0).ExChange(2, 3); }},
        {"勾选条件", [](Doc& d) { d.projects.GetSeqPrj(0).GetBind(0).Checked = false; }},
        {"修改条件",
         [](Doc& d) {
             TSeqPrj& project = d.projects.GetSeqPrj(0);
             auto bind = CreateBind(2, project.Options());
             bind->SetParam("7,8");
             project.SetBind(1, std::move(bind));
         }},
        {"修改方案属性",
         [](Doc& d) {
             TSeqPrj& project = d.projects.GetSeqPrj(1);
             TPrjOptions options = project.Options();
             options.TargetSeq = 99;
             options.HeadLimit = true;
             project.SetOptions(options);
         }},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.name);
        Doc doc;
        Fill(doc);
        const std::string before = doc.Image();
        doc.undo.Run(command.name, {0, 1, 2}, [&] { command.run(doc); });
        const std::string after = doc.Image();
        ASSERT_NE(after, before);
        EXPECT_EQ(doc.undo.History().UndoName(), command.name);

        EXPECT_EQ(doc.undo.Undo({5, 6, 7}), (TDocSelection{0, 1, 2}));
        EXPECT_EQ(doc.Image(), before);
        EXPECT_FALSE(doc.Modified());

        EXPECT_EQ(doc.undo.Redo({0, 1, 2}), (TDocSelection{5, 6, 7}));
        EXPECT_EQ(doc.Image(), after);
        EXPECT_TRUE(doc.Modified());
    }
}

TEST(DocumentUndo, RestoredProjectsLiveOnTheOneDrawTable) {
    Doc doc;
    Fill(doc);
    doc.undo.Run("清空方案", {}, [&] { doc.projects.ClearPrjs(); });
    doc.undo.Undo({});
    ASSERT_EQ(doc.projects.PrjCount(), 2);
    for (int i = 0; i < doc.projects.PrjCount(); ++i) {
        EXPECT_EQ(&doc.projects.GetSeqPrj(i).CodeNet(), &doc.net);
        EXPECT_EQ(doc.projects.GetSeqPrj(i).Options().CodeNet, &doc.net);
    }
    EXPECT_EQ(doc.projects.GetSeqPrj(0).BindCount(), 9);
}

TEST(DocumentUndo, ACommandThatChangesNothingLeavesNoStep) {
    Doc doc;
    doc.undo.Run("清空开奖号码表", {}, [&] { doc.net.Clear(); });
    EXPECT_FALSE(doc.undo.History().CanUndo());
    const TDocumentUndo::TPending pending = doc.undo.Begin("增加开奖号码", {});
    EXPECT_FALSE(doc.undo.Commit(pending));
    doc.net.Add();
    EXPECT_TRUE(doc.undo.Commit(pending));
    EXPECT_EQ(doc.undo.History().UndoName(), "增加开奖号码");
}

TEST(DocumentUndo, AFailingCommandIsTakenBackAndItsErrorGoesOn) {
    Doc doc;
    Fill(doc);
    const std::string before = doc.Image();
    int rolledBack = 0;
    doc.undo.OnRolledBack = [&] { ++rolledBack; };
    EXPECT_THROW(doc.undo.Run("删除", {},
                              [&] {
                                  doc.net.Clear();
                                  doc.projects.Del(7);
                              }),
                 Exception);
    EXPECT_EQ(doc.Image(), before);
    EXPECT_EQ(rolledBack, 1);
    EXPECT_FALSE(doc.undo.History().CanUndo());
    EXPECT_FALSE(doc.projects.Modified());
    // A command that fails before changing anything needs no going back.
    EXPECT_THROW(doc.undo.Run("x", {}, [] { throw std::runtime_error("stop"); }),
                 std::runtime_error);
    EXPECT_EQ(rolledBack, 1);
    EXPECT_FALSE(doc.undo.History().CanUndo());
}

TEST(DocumentUndo, UndoingBackToTheSavedStateClearsModified) {
    Doc doc;
    Fill(doc);
    doc.undo.Run("增加开奖号码", {}, [&] { doc.net.Add(); });
    doc.undo.Run("增加开奖号码", {}, [&] { doc.net.Add(); });
    // As a save does it.
    doc.net.ClearModified();
    doc.projects.ClearModified();
    doc.undo.MarkSaved();
    const std::string saved = doc.Image();

    doc.undo.Undo({});
    EXPECT_TRUE(doc.Modified());
    doc.undo.Undo({});
    EXPECT_TRUE(doc.Modified());
    doc.undo.Redo({});
    EXPECT_TRUE(doc.Modified());
    doc.undo.Redo({});
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Image(), saved);
}

TEST(DocumentUndo, TypedDigitsOfOneDrawAreOneStep) {
    Doc doc;
    const std::string before = doc.Image();
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        doc.undo.Run(
            "输入开奖号码", {},
            [&] {
                if (pos == 0) {
                    doc.net.Add();
                }
                doc.net.SetNum(0, pos, pos + 1);
            },
            "row 0");
    }
    EXPECT_EQ(test::DigitsOf(doc.net, 0), "1234567");
    EXPECT_EQ(doc.undo.History().UndoCount(), 1U);
    doc.undo.Undo({});
    EXPECT_EQ(doc.Image(), before);
}

TEST(DocumentUndo, MenuCaptionsAndStatusTexts) {
    EXPECT_EQ(UndoCaption("清空开奖号码表"), "撤销：清空开奖号码表");
    EXPECT_EQ(RedoCaption("清空开奖号码表"), "重做：清空开奖号码表");
    EXPECT_EQ(UndoCaption(""), "撤销");
    EXPECT_EQ(RedoCaption(""), "重做");
    EXPECT_EQ(ClearedDrawsText(365), "已清空365期开奖号码，可撤销");
    EXPECT_EQ(ReplacedDrawsText(365, 361), "已用361期开奖号码替换原有的365期，可撤销");
    EXPECT_EQ(DeletedPrjsText(2), "已删除2个方案，可撤销");
    EXPECT_EQ(ClearedPrjsText(4), "已清空4个方案，可撤销");
    EXPECT_EQ(ClearedBindsText(12), "已清空12个条件，可撤销");
}

TEST(DocumentUndo, TheCapHoldsForLargeDocuments) {
    Doc doc;
    std::vector<TSeq> rows(10000);
    doc.net.Replace(std::move(rows));
    const size_t image = doc.Image().size();
    EXPECT_EQ(image, 4 + 10000 * 28 + 4U);
    TDocumentUndo small(doc.net, doc.projects, image * 3);
    for (int i = 0; i < 10; ++i) {
        small.Run("增加开奖号码", {}, [&] { doc.net.Add(); });
    }
    EXPECT_LE(small.History().Bytes(), image * 3 + 10 * 28);
    EXPECT_EQ(small.History().UndoCount(), 2U);
}

}  // namespace
}  // namespace tovarin
