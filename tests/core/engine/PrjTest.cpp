#include "core/engine/Prj.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "core/base/ByteStream.h"
#include "core/base/Random.h"
#include "core/draws/LawNet.h"
#include "core/engine/PrjTestSupport.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

using test::VectorPane;

constexpr const char* kHeader = "Tovarin 筛选计算，时间:2026.12.08 09:05:03";

class PrjTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::FixClock();
        RandSeed(7);
    }
    void TearDown() override { SetClock({}); }

    // Appends a draw given as seven digit characters.
    void AddDraw(const char* digits) { test::AddDraws(net, {digits}); }

    TBaseBind& AddBind(TSeqPrj& project, int kind, const char* param, bool assured,
                       bool checked = true) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = checked;
        return bind;
    }

    static std::set<std::string> Codes(const std::vector<std::string>& lines, size_t from,
                                       size_t count) {
        std::set<std::string> codes;
        for (size_t i = from; i < from + count; ++i) {
            for (size_t at = 0; at + 4 <= lines[i].size(); at += 5) {
                codes.insert(lines[i].substr(at, 4));
            }
        }
        return codes;
    }

    TCodeNet net;
    TAppOptions settings;
    VectorPane pane;
};

TEST_F(PrjTest, NewProjectAimsAtThePeriodAfterTheLastDraw) {
    AddDraw("1234567");
    AddDraw("7654321");
    TSeqPrj project(net);
    EXPECT_EQ(project.Options().TargetSeq, 3);
    EXPECT_EQ(project.Options().CodeNet, &net);
    EXPECT_EQ(project.BaseCodes().ValidCount(), 100);
    EXPECT_EQ(project.ResultCodes().ValidCount(), 100);
    EXPECT_EQ(project.VerifyState(), 0);
}

TEST_F(PrjTest, ListOperationsCheckTheirIndexFirst) {
    TSeqPrj project(net);
    AddBind(project, 1, "1", false);
    AddBind(project, 2, "2", false, false);
    EXPECT_EQ(project.BindCount(), 2);
    EXPECT_EQ(project.CheckedCount(), 1);

    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const std::vector<Case> cases = {
        {[&] { project.Del(2); }, "TSeqPrj.Del Error!"},
        {[&] { project.Del(-1); }, "TSeqPrj.Del Error!"},
        {[&] { project.ExChange(0, 2); }, "TSeqPrj.ExChange Error!"},
        {[&] { project.ExChange(-1, 0); }, "TSeqPrj.ExChange Error!"},
        {[&] { project.GetBind(2); }, "TSeqPrj.GetBind Error!"},
        {[&] { project.SetBind(2, CreateBind(1, project.Options())); }, "TSeqPrj.SetBind Error!"},
        {[&] { project.SetBind(0, nullptr); }, "TSeqPrj.SetBind Error!"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "expected " << c.message;
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    EXPECT_EQ(project.BindCount(), 2);
    EXPECT_EQ(project.GetBind(0).Kind(), 1);

    project.ExChange(0, 1);
    EXPECT_EQ(project.GetBind(0).Kind(), 2);
    project.SetBind(1, CreateBind(5, project.Options()));
    EXPECT_EQ(project.GetBind(1).Kind(), 5);
    project.Del(0);
    EXPECT_EQ(project.GetBind(0).Kind(), 5);
    project.ClearBinds();
    EXPECT_EQ(project.BindCount(), 0);
}

TEST_F(PrjTest, RunWithoutConditionsRecommendsFortyOfAllCodes) {
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.Middle = false;
    project.SetOptions(options);
    settings.DetailLastChk = false;
    project.CalcAll(settings, &pane);

    ASSERT_EQ(pane.Lines.size(), 11U);
    EXPECT_EQ(pane.Lines[0], kHeader);
    EXPECT_EQ(pane.Lines[1], "筛选对象的号码数据总共100个号码");
    EXPECT_EQ(pane.Lines[2], "");
    EXPECT_EQ(pane.Lines[3], "");
    EXPECT_EQ(pane.Lines[4], "第1期最终的筛选结果为总共100个号码");
    EXPECT_EQ(pane.Lines[5], "大范围定位推荐40组(共40组)：");
    EXPECT_EQ(Codes(pane.Lines, 6, 4).size(), 40U);
    EXPECT_EQ(pane.Lines[10], "");
    EXPECT_EQ(project.VerifyState(), 0);
}

TEST_F(PrjTest, ReportOfStepsListingsAndDescriptions) {
    AddDraw("3000700");
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.TargetSeq = 1;
    options.Large = false;
    options.Middle = false;
    project.SetOptions(options);
    AddBind(project, 1, "3", true);  // 10 codes 3xx0..3xx9
    AddBind(project, 3, "7", false, false);
    AddBind(project, 4, "0,1,2,3,4,5", false);  // tolerance: 3xx6..3xx9 pass
    settings.DetailEveryChk = true;
    settings.SplitByLineChk = true;
    settings.OutPutPrjOptChk = true;
    settings.OutPutAppOptChk = true;
    settings.ColsOfLineEd = 4;

    project.CalcAll(settings, &pane);
    const std::vector<std::string> expected = {
        kHeader,
        DescribeAppOptions(settings),
        "",
        DescribePrjOptions(project.Options()),
        "",
        "筛选对象的号码数据总共100个号码",
        "",
        std::string(48, '='),
        "第1步:稳上头:[铁]3",
        "筛选结果为总共10个号码",
        "3xx0 3xx1 3xx2 3xx3 ",
        "3xx4 3xx5 3xx6 3xx7 ",
        "3xx8 3xx9 ",
        "",
        std::string(48, '='),
        "第2步:不上尾:[容]0,1,2,3,4,5",
        "筛选结果为总共10个号码",
        "3xx0 3xx1 3xx2 3xx3 ",
        "3xx4 3xx5 3xx6 3xx7 ",
        "3xx8 3xx9 ",
        "",
        "",
        "第1期最终的筛选结果为总共10个号码",
        "3xx0 3xx1 3xx2 3xx3 ",
        "3xx4 3xx5 3xx6 3xx7 ",
        "3xx8 3xx9 ",
        "",
    };
    EXPECT_EQ(pane.Lines, expected);
    EXPECT_EQ(pane.Calls, 1);
    // The target draw 3000700 has head 3 and tail 0, which survived.
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kHit);
    EXPECT_EQ(project.ResultCodes().GetMiss(30), 1);
    EXPECT_EQ(project.ResultCodes().GetMiss(36), 0);
    EXPECT_EQ(ShortDateFormat(), "yyyy.MM.dd");
}

TEST_F(PrjTest, AssuredStepThatKeepsThirtyCodes) {
    TSeqPrj project(net);
    // Heads 0, 1, 2: 30 codes.
    AddBind(project, 1, "0,1,2", true);
    settings.DetailLastChk = false;
    project.CalcAll(settings, &pane);
    ASSERT_GE(pane.Lines.size(), 7U);
    const size_t large =
        std::find(pane.Lines.begin(), pane.Lines.end(), "大范围定位推荐40组(共30组)：") -
        pane.Lines.begin();
    ASSERT_LT(large, pane.Lines.size());
    EXPECT_EQ(pane.Lines[large + 4], "");
    EXPECT_EQ(pane.Lines[large + 5], "中范围定位推荐30组(共30组)：");
    const std::set<std::string> first = Codes(pane.Lines, large + 1, 3);
    EXPECT_EQ(first, Codes(pane.Lines, large + 6, 3));
    EXPECT_EQ(first.size(), 30U);
    EXPECT_EQ(*first.begin(), "0xx0");
    EXPECT_EQ(*first.rbegin(), "2xx9");
}

TEST_F(PrjTest, ToleranceFailuresBeyondMissMaxStopCounting) {
    TSeqPrj project(net);
    AddBind(project, 2, "1", false);  // 10 codes with head 1 get error 1
    AddBind(project, 4, "1", false);  // 10 codes with tail 1 get error 1; 1xx1 gets 2
    project.CalcAll(settings, &pane);
    EXPECT_EQ(pane.Lines[5], "筛选结果为总共100个号码");
    EXPECT_EQ(pane.Lines[8], "筛选结果为总共99个号码");
    EXPECT_EQ(project.ResultCodes().GetMiss(11), 2);
    EXPECT_FALSE(project.ResultCodes().GetValid(11));
}

TEST_F(PrjTest, RcMissBaseAboveTheCheckedCountLeavesEveryGroupEmpty) {
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.RcMissBase = 2;
    options.Small = true;
    options.Tiny = true;
    project.SetOptions(options);
    AddBind(project, 1, "5", false);
    settings.DetailLastChk = false;
    project.CalcAll(settings, &pane);
    const std::vector<std::string> tail(pane.Lines.end() - 4, pane.Lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "大范围定位推荐40组(共0组)：", "中范围定位推荐30组(共0组)：",
                        "小范围定位推荐20组(共0组)：", "细范围定位推荐10组(共0组)："}));
}

TEST_F(PrjTest, BadToleranceStopsTheRunAndLeavesThePane) {
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.MissMax = 11;
    project.SetOptions(options);
    pane.Lines = {"old"};
    try {
        project.CalcAll(settings, &pane);
        FAIL();
    } catch (const ECodesException& error) {
        EXPECT_STREQ(error.what(), "TCodes.SetMissCount Is Error!");
    }
    EXPECT_EQ(pane.Lines, std::vector<std::string>{"old"});
}

TEST_F(PrjTest, MalformedNumberListPropagatesAndKeepsTheVerdict) {
    AddDraw("1000000");
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.TargetSeq = 1;
    project.SetOptions(options);
    project.CalcAll(settings, &pane);
    ASSERT_EQ(project.VerifyState(), TSeqPrj::kHit);
    TBaseBind& bind = AddBind(project, 7, "1,x", false);
    EXPECT_THROW(project.CalcAll(settings, &pane), EConvertError);
    EXPECT_TRUE(bind.Dirty());
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kHit);
}

TEST_F(PrjTest, PickCodesFloatAndRandomFill) {
    TPrjOptions options;
    auto levelOf = [&](int count, int offset) {
        auto level = std::make_unique<TCodes>(options);
        level->FailAll();
        for (int i = 0; i < count; ++i) {
            level->ResetCode(offset + i);
        }
        return level;
    };
    TCodes picked(options);

    picked.FailAll();
    TSeqPrj::PickCodes(picked, *levelOf(36, 0), 40, 5);
    EXPECT_EQ(picked.ValidCount(), 36);
    TSeqPrj::PickCodes(picked, *levelOf(20, 40), 40, 5);
    EXPECT_EQ(picked.ValidCount(), 36) << "36 >= 40 - 5 opens no further level";

    picked.FailAll();
    TSeqPrj::PickCodes(picked, *levelOf(34, 0), 40, 5);
    const auto second = levelOf(20, 40);
    TSeqPrj::PickCodes(picked, *second, 40, 5);
    EXPECT_EQ(picked.ValidCount(), 40);
    int fromSecond = 0;
    for (TCode code = 40; code < 60; ++code) {
        fromSecond += picked.GetValid(code) ? 1 : 0;
    }
    EXPECT_EQ(fromSecond, 6);
}

TEST_F(PrjTest, PickCodesTakesEveryStoredFloatCount) {
    TPrjOptions options;
    TCodes level(options);
    level.FailAll();
    for (TCode code = 0; code < 50; ++code) {
        level.ResetCode(code);
    }
    for (const int floatCount : {0, -1, std::numeric_limits<int>::min()}) {
        TCodes picked(options);
        picked.FailAll();
        TSeqPrj::PickCodes(picked, level, 40, floatCount);
        EXPECT_EQ(picked.ValidCount(), 40) << "float count " << floatCount;
    }
    TCodes picked(options);
    picked.FailAll();
    TSeqPrj::PickCodes(picked, level, 40, std::numeric_limits<int>::max());
    EXPECT_EQ(picked.ValidCount(), 0) << "a group of at least 40 - INT_MAX codes opens no level";
}

TEST_F(PrjTest, TargetAtTheLowestStoredValueIsRefusedByTheTable) {
    AddDraw("3127000");
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.TargetSeq = std::numeric_limits<int>::min();
    project.SetOptions(options);
    try {
        project.TargetDigits();
        FAIL() << "a target before the first period has no draw";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "TCodeNet.GetSeq Error!");
    }
    options.TargetSeq = std::numeric_limits<int>::max();
    project.SetOptions(options);
    EXPECT_EQ(project.TargetDigits(), "");
}

TEST_F(PrjTest, CalcOneActsAsAssuredAndPrintsTheSettings) {
    TSeqPrj project(net);
    AddBind(project, 6, "5", false, false);
    settings.DetailLastChk = false;
    project.CalcOne(0, settings, &pane);
    const std::vector<std::string> expected = {
        "单独铁定条件 筛选计算，时间:2026.12.08 09:05:03",
        DescribeAppOptions(settings),
        "",
        "筛选对象的号码数据总共100个号码",
        "",
        "",
        std::string(48, '='),
        "筛选条件:排除数:[容]5",
        "",
        "第1期最终的筛选结果为总共81个号码",
    };
    EXPECT_EQ(pane.Lines, expected);
    EXPECT_EQ(project.ResultCodes().GetMiss(5), -1);
    EXPECT_THROW(project.CalcOne(1, settings, &pane), Exception);
}

TEST_F(PrjTest, VerifyAgainstTheTargetDraw) {
    AddDraw("3127000");
    AddDraw("9999999");
    TSeqPrj project(net);
    TPrjOptions options = project.Options();
    options.TargetSeq = 1;
    project.SetOptions(options);
    EXPECT_EQ(project.TargetDigits(), "3127");
    AddBind(project, 1, "3", true);
    project.CalcAll(settings, nullptr);
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kHit);
    EXPECT_STREQ(VerifyStateTexts[project.VerifyState()], "准确");

    project.GetBind(0).SetParam("4");
    project.CalcAll(settings, nullptr);
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kMiss);
    EXPECT_STREQ(VerifyStateTexts[project.VerifyState()], "失误");

    options.TargetSeq = 3;
    project.SetOptions(options);
    project.CalcAll(settings, nullptr);
    EXPECT_EQ(project.TargetDigits(), "");
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kNoVerdict);
    EXPECT_STREQ(VerifyStateTexts[0], "  ");

    options.TargetSeq = 0;
    project.SetOptions(options);
    EXPECT_THROW(project.TargetDigits(), Exception);
}

TEST_F(PrjTest, ListingWithFourColumns) {
    TPrjOptions options;
    TCodes codes(options);
    codes.FailAll();
    for (TCode code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 99}) {
        codes.ResetCode(code);
    }
    settings.ColsOfLineEd = 4;
    std::vector<std::string> lines;
    ListCodes(lines, codes, settings);
    EXPECT_EQ(lines, (std::vector<std::string>{"0xx1 0xx2 0xx3 0xx4 ", "0xx5 0xx6 0xx7 0xx8 ",
                                               "0xx9 9xx9 ", ""}));
    codes.FailAll();
    lines.clear();
    ListCodes(lines, codes, settings);
    EXPECT_TRUE(lines.empty());
}

TEST_F(PrjTest, SetOptionsRebuildsTheResultOnlyForAHeadLimitChange) {
    TSeqPrj project(net);
    AddBind(project, 1, "1", true);
    project.CalcAll(settings, nullptr);
    ASSERT_EQ(project.ResultCodes().ValidCount(), 10);
    TPrjOptions options = project.Options();
    options.MissMax = 3;
    TCodeNet other;
    options.CodeNet = &other;
    project.SetOptions(options);
    EXPECT_EQ(project.ResultCodes().ValidCount(), 10);
    EXPECT_EQ(project.Options().MissMax, 3);
    EXPECT_EQ(project.Options().CodeNet, &net);
    options.HeadLimit = true;
    project.SetOptions(options);
    EXPECT_EQ(project.ResultCodes().ValidCount(), 100);
    EXPECT_TRUE(project.ResultCodes().HeadLimit());
}

// The sets are made when first asked for, with the settings a new project
// starts with; a load that changes the head limit rebuilds the result set
// with the loaded settings.
TEST_F(PrjTest, ANewOrLoadedProjectHasEveryCodeInBothSets) {
    TSeqPrj fresh(net);
    EXPECT_EQ(fresh.BaseCodes().ValidCount(), 100);
    EXPECT_EQ(fresh.ResultCodes().ValidCount(), 100);
    EXPECT_EQ(fresh.ResultCodes().MissCount(), 1);
    EXPECT_FALSE(fresh.ResultCodes().HeadLimit());

    TSeqPrj saved(net);
    TPrjOptions options = saved.Options();
    options.MissMax = 3;
    options.HeadLimit = true;
    saved.SetOptions(options);
    ByteWriter out;
    saved.SaveToStream(out);
    TSeqPrj loaded(net);
    ByteReader in(out.Bytes());
    loaded.LoadFromStream(in);
    EXPECT_EQ(loaded.ResultCodes().ValidCount(), 100);
    EXPECT_EQ(loaded.ResultCodes().MissCount(), 3);
    EXPECT_TRUE(loaded.ResultCodes().HeadLimit());
    EXPECT_EQ(loaded.BaseCodes().MissCount(), 1);
    EXPECT_FALSE(loaded.BaseCodes().HeadLimit());
    loaded.CalcAll(settings, nullptr);
    EXPECT_EQ(loaded.BaseCodes().MissCount(), 3);
    EXPECT_EQ(loaded.ResultCodes().ValidCount(), 100);
}

}  // namespace
}  // namespace tovarin
