// The project list and its projects report their own changes: the list marks
// itself modified (a run's verdict excepted) and tells its listeners which
// project changed and how.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/PrjTestSupport.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

using Heard = std::vector<std::pair<TPrjChange, const TSeqPrj*>>;

class PrjNotify : public ::testing::Test {
protected:
    void SetUp() override {
        token = projects.Subscribe([this](TPrjChange change, const TSeqPrj* project) {
            heard.emplace_back(change, project);
        });
    }

    TSeqPrj& AddWithConditions(int count) {
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        for (int i = 0; i < count; ++i) {
            project.AddBind(CreateBind(1 + i % kBindKindCount, project.Options()));
        }
        projects.ClearModified();
        heard.clear();
        return project;
    }

    TCodeNet net;
    TPrjMgr projects{net};
    Heard heard;
    int token = 0;
};

TEST_F(PrjNotify, AddingAProjectMarksTheListAndNamesTheNewProject) {
    ASSERT_FALSE(projects.Modified());
    TSeqPrj& added = projects.AddPrj(std::make_unique<TSeqPrj>(net));
    EXPECT_TRUE(projects.Modified());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0], std::make_pair(TPrjChange::Added, static_cast<const TSeqPrj*>(&added)));
}

TEST_F(PrjNotify, AnEmptyProjectIsRefusedWithoutAWord) {
    EXPECT_THROW(projects.AddPrj(nullptr), Exception);
    EXPECT_TRUE(heard.empty());
    EXPECT_FALSE(projects.Modified());
    EXPECT_EQ(projects.PrjCount(), 0);
}

TEST_F(PrjNotify, EveryEditOfAProjectMarksTheListModified) {
    TSeqPrj& project = AddWithConditions(3);
    const TSeqPrj* const id = &project;
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"AddBind", [&] { project.AddBind(CreateBind(2, project.Options())); }},
        {"SetChecked", [&] { project.SetChecked(0, true); }},
        {"CheckAll", [&] { project.CheckAll(); }},
        {"InvertChecks", [&] { project.InvertChecks(); }},
        {"ExChange", [&] { project.ExChange(0, 1); }},
        {"SetBind", [&] { project.SetBind(1, CreateBind(5, project.Options())); }},
        {"AssignBind", [&] { project.AssignBind(0, *CreateBind(9, project.Options())); }},
        {"Del", [&] { project.Del(0); }},
        {"ClearBinds", [&] { project.ClearBinds(); }},
    };
    for (const auto& [name, edit] : edits) {
        projects.ClearModified();
        heard.clear();
        edit();
        EXPECT_TRUE(projects.Modified()) << name;
        ASSERT_EQ(heard.size(), 1U) << name;
        EXPECT_EQ(heard[0], std::make_pair(TPrjChange::Conditions, id)) << name;
    }
    projects.ClearModified();
    heard.clear();
    TPrjOptions options = project.Options();
    options.MissMax = 3;
    project.SetOptions(options);
    EXPECT_TRUE(projects.Modified());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0], std::make_pair(TPrjChange::Settings, id));
}

TEST_F(PrjNotify, CheckMarksChangeAsAsked) {
    TSeqPrj& project = AddWithConditions(3);
    project.SetChecked(1, true);
    EXPECT_EQ(project.CheckedCount(), 1);
    EXPECT_TRUE(project.GetBind(1).Checked);
    project.InvertChecks();
    EXPECT_EQ(project.CheckedCount(), 2);
    EXPECT_FALSE(project.GetBind(1).Checked);
    project.CheckAll();
    EXPECT_EQ(project.CheckedCount(), 3);
    heard.clear();
    EXPECT_THROW(project.SetChecked(3, false), Exception);
    EXPECT_TRUE(heard.empty()) << "a refused edit is not reported";
}

TEST_F(PrjNotify, AssignBindTakesKindAndTextButKeepsTheCheckMark) {
    TSeqPrj& project = AddWithConditions(1);
    project.SetChecked(0, true);
    TPrjOptions other;
    auto edited = CreateBind(6, other);
    edited->SetParam("1,2");
    edited->Assured = true;
    edited->Checked = false;
    project.AssignBind(0, *edited);
    const TBaseBind& bind = project.GetBind(0);
    EXPECT_EQ(bind.Kind(), 6);
    EXPECT_EQ(bind.Param(), "1,2");
    EXPECT_TRUE(bind.Assured);
    EXPECT_TRUE(bind.Checked);
    EXPECT_TRUE(bind.Dirty()) << "the next run evaluates the new text";
    EXPECT_THROW(project.AssignBind(1, *edited), Exception);
}

TEST_F(PrjNotify, ARunReportsItsVerdictWithoutMarkingTheDocument) {
    test::AddDraws(net, {"1234567"});
    TSeqPrj& project = AddWithConditions(0);
    TAppOptions settings;
    project.CalcAll(settings, nullptr);
    EXPECT_FALSE(projects.Modified());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].first, TPrjChange::Verdict);
    heard.clear();
    project.Verify();
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].first, TPrjChange::Verdict);
    EXPECT_FALSE(projects.Modified());
}

TEST_F(PrjNotify, RemovingNamesTheRemovedProject) {
    AddWithConditions(0);
    TSeqPrj& second = AddWithConditions(0);
    const TSeqPrj* const id = &second;
    projects.Del(1);
    EXPECT_TRUE(projects.Modified());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0], std::make_pair(TPrjChange::Removed, id));
    heard.clear();
    EXPECT_THROW(projects.Del(1), Exception);
    EXPECT_TRUE(heard.empty());
}

TEST_F(PrjNotify, ClearingMovingAndReplacingResetTheWholeList) {
    AddWithConditions(0);
    AddWithConditions(0);
    projects.Move(0, 1);
    EXPECT_TRUE(projects.Modified());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0], std::make_pair(TPrjChange::Reset, static_cast<const TSeqPrj*>(nullptr)));

    heard.clear();
    std::vector<std::unique_ptr<TSeqPrj>> read;
    read.push_back(std::make_unique<TSeqPrj>(net));
    projects.ReplacePrjs(std::move(read));
    EXPECT_FALSE(projects.Modified()) << "a list read from a document is unmodified";
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].first, TPrjChange::Reset);

    // The projects taken over report their edits as well.
    heard.clear();
    projects.GetSeqPrj(0).AddBind(CreateBind(1, projects.GetSeqPrj(0).Options()));
    EXPECT_TRUE(projects.Modified());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].second, &projects.GetSeqPrj(0));

    heard.clear();
    projects.ClearPrjs();
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].first, TPrjChange::Reset);
    EXPECT_EQ(projects.PrjCount(), 0);
}

TEST_F(PrjNotify, LoadingADocumentResetsOnceAndLeavesItUnmodified) {
    AddWithConditions(2);
    const std::string image = BuildDocumentImage(net, projects);
    projects.AddPrj(std::make_unique<TSeqPrj>(net));
    heard.clear();
    LoadDocumentImage(image, net, projects);
    EXPECT_EQ(projects.PrjCount(), 1);
    EXPECT_FALSE(projects.Modified());
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0].first, TPrjChange::Reset);
}

TEST_F(PrjNotify, AListenerThatLeftHearsNothing) {
    projects.Unsubscribe(token);
    projects.AddPrj(std::make_unique<TSeqPrj>(net));
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(projects.Modified());
}

}  // namespace
}  // namespace tovarin
