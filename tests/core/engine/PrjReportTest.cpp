// The report lines of both run modes, line for line, and what a failing run
// leaves behind.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>

#include "core/base/Random.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/PrjTestSupport.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

using Lines = std::vector<std::string>;

const char* const kSeparator = "================================================";
const char* const kDefaultAppDescription =
    "程序选项设置：\r\n显示每步的结果:否;显示最后一步的结果:是;更后自动计算:否;"
    "每行输出10个号码;输出方案的设置:否;输出选项的设置:否;自动核对中奖:是。";

// A listing of these codes written out here the way the report must show
// it: perLine codes to a line, each followed by a blank, then an empty line.
Lines Listing(const std::vector<TCode>& codes, size_t perLine) {
    Lines lines;
    std::string line;
    size_t onLine = 0;
    for (const TCode code : codes) {
        line += std::to_string(code / 10) + "xx" + std::to_string(code % 10) + " ";
        if (++onLine == perLine) {
            lines.push_back(line);
            line.clear();
            onLine = 0;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    lines.emplace_back();
    return lines;
}

std::vector<TCode> Range(TCode from, TCode to) {
    std::vector<TCode> codes;
    for (TCode code = from; code <= to; ++code) {
        codes.push_back(code);
    }
    return codes;
}

void Append(Lines& lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

class PrjReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::FixClock();
        RandSeed(5);
    }
    void TearDown() override { SetClock({}); }

    void AddDraw(const char* digits) { test::AddDraws(net, {digits}); }

    void Configure(const std::function<void(TPrjOptions&)>& change) {
        TPrjOptions options = project.Options();
        change(options);
        project.SetOptions(options);
    }

    TBaseBind& AddBind(int kind, const char* param, bool assured, bool checked = true) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = checked;
        return bind;
    }

    TCodeNet net;
    TSeqPrj project{net};
    TAppOptions settings;
    test::VectorPane pane;
};

TEST_F(PrjReportTest, SeparatorIsFortyEightEqualsSigns) {
    EXPECT_EQ(std::string(kSeparator).size(), 48U);
    settings.SplitByLineChk = true;
    settings.DetailLastChk = false;
    Configure([](TPrjOptions& o) {
        o.Large = false;
        o.Middle = false;
    });
    AddBind(1, "1", true);
    project.CalcAll(settings, &pane);
    ASSERT_GE(pane.Lines.size(), 4U);
    EXPECT_EQ(pane.Lines[3], kSeparator);
}

// No checked condition: the base line, no step, the final line with all 100
// codes, then the two default groups drawn from all 100.
TEST_F(PrjReportTest, NoCheckedConditionWholeReport) {
    AddBind(1, "1", true, false);
    project.CalcAll(settings, &pane);

    ASSERT_EQ(pane.Lines.size(), 27U);
    Lines expected = {"Tovarin 筛选计算，时间:2026.12.08 09:05:03",
                      "筛选对象的号码数据总共100个号码", "", "",
                      "第1期最终的筛选结果为总共100个号码"};
    Append(expected, Listing(Range(0, 99), 10));
    EXPECT_EQ(Lines(pane.Lines.begin(), pane.Lines.begin() + 16), expected);
    EXPECT_EQ(pane.Lines[16], "大范围定位推荐40组(共40组)：");
    EXPECT_EQ(pane.Lines[21], "");
    EXPECT_EQ(pane.Lines[22], "中范围定位推荐30组(共30组)：");
    EXPECT_EQ(pane.Lines[26], "");
    for (const size_t at : {17U, 18U, 19U, 20U, 23U, 24U, 25U}) {
        EXPECT_EQ(pane.Lines[at].size(), 50U) << "ten codes and their blanks, line " << at;
    }
}

// One assured condition passing 30 codes, MissMax 1, Large and Middle on:
// both groups take level 0 whole and hold the same 30 codes.
TEST_F(PrjReportTest, ThirtyCodesOfOneAssuredStep) {
    AddBind(1, "0,1,2", true);
    project.CalcAll(settings, &pane);

    const Lines thirty = Listing(Range(0, 29), 10);
    Lines expected = {"Tovarin 筛选计算，时间:2026.12.08 09:05:03",
                      "筛选对象的号码数据总共100个号码",
                      "",
                      "",
                      "第1步:稳上头:[铁]0,1,2",
                      "筛选结果为总共30个号码",
                      "",
                      "第1期最终的筛选结果为总共30个号码"};
    Append(expected, thirty);
    expected.emplace_back("大范围定位推荐40组(共30组)：");
    Append(expected, thirty);
    expected.emplace_back("中范围定位推荐30组(共30组)：");
    Append(expected, thirty);
    EXPECT_EQ(pane.Lines, expected);
    EXPECT_EQ(pane.Calls, 1);
}

TEST_F(PrjReportTest, DescriptionsKeepTheirLineBreakInsideOneLine) {
    settings.DetailLastChk = false;
    Configure([](TPrjOptions& o) {
        o.Large = false;
        o.Middle = false;
    });
    project.CalcAll(settings, &pane);
    EXPECT_EQ(pane.Lines.size(), 5U) << "no description unless asked for";

    settings.OutPutAppOptChk = true;
    settings.OutPutPrjOptChk = true;
    project.CalcAll(settings, &pane);
    const Lines expected = {
        "Tovarin 筛选计算，时间:2026.12.08 09:05:03",
        "程序选项设置：\r\n显示每步的结果:否;显示最后一步的结果:否;更后自动计算:否;"
        "每行输出10个号码;输出方案的设置:是;输出选项的设置:是;自动核对中奖:是。",
        "",
        "方案选项设置：\r\n计算目标期:1;容错值=1;推荐大范围定位:否;推荐中范围定位:否;"
        "推荐小范围定位:否;推荐细范围定位:否;推荐定位可浮动:是;推荐定位浮动数目:5;"
        "推荐码的最小错误值:0。",
        "",
        "筛选对象的号码数据总共100个号码",
        "",
        "",
        "第1期最终的筛选结果为总共100个号码",
    };
    EXPECT_EQ(pane.Lines, expected);
}

// The single run prints the settings whatever OutPutAppOptChk says, always
// uses the separator, treats a tolerance condition as assured and makes no
// recommendation.
TEST_F(PrjReportTest, CalcOneWholeReport) {
    AddBind(1, "9", true);
    AddBind(1, "3", false, false);
    settings.DetailEveryChk = true;
    settings.ColsOfLineEd = 4;
    project.CalcOne(1, settings, &pane);

    Lines expected = {"单独铁定条件 筛选计算，时间:2026.12.08 09:05:03",
                      "程序选项设置：\r\n显示每步的结果:是;显示最后一步的结果:是;更后自动计算:否;"
                      "每行输出4个号码;输出方案的设置:否;输出选项的设置:否;自动核对中奖:是。",
                      "",
                      "筛选对象的号码数据总共100个号码",
                      "",
                      "",
                      kSeparator,
                      "筛选条件:稳上头:[容]3"};
    const Lines heads3 = Listing(Range(30, 39), 4);
    ASSERT_EQ(heads3.size(), 4U);  // 4, 4 and 2 codes, then the empty line
    Append(expected, heads3);
    expected.emplace_back();
    expected.emplace_back("第1期最终的筛选结果为总共10个号码");
    Append(expected, heads3);
    EXPECT_EQ(pane.Lines, expected);
    EXPECT_EQ(project.ResultCodes().GetMiss(40), -1) << "failed codes are eliminated";
    EXPECT_EQ(project.ResultCodes().GetMiss(35), 0);
}

TEST_F(PrjReportTest, CalcOneWithDefaultSettingsStillDescribesThem) {
    AddBind(6, "0", false);
    project.CalcOne(0, settings, &pane);
    ASSERT_GE(pane.Lines.size(), 3U);
    EXPECT_EQ(pane.Lines[1], kDefaultAppDescription);
    EXPECT_EQ(pane.Lines[2], "");
    EXPECT_EQ(pane.Lines[3], "筛选对象的号码数据总共100个号码");
}

TEST_F(PrjReportTest, DetailLastOffEndsTheCountWithoutListing) {
    settings.DetailLastChk = false;
    Configure([](TPrjOptions& o) {
        o.Middle = false;
        o.RcMissBase = 1;
    });
    project.CalcAll(settings, &pane);
    const Lines expected = {
        "Tovarin 筛选计算，时间:2026.12.08 09:05:03", "筛选对象的号码数据总共100个号码", "", "",
        "第1期最终的筛选结果为总共100个号码",         "大范围定位推荐40组(共0组)："};
    EXPECT_EQ(pane.Lines, expected);
}

TEST_F(PrjReportTest, EveryRunSetsTheDateFormatFirst) {
    SetShortDateFormat("");
    // Until a run sets its own, dates are in the system's short format.
    const std::time_t moment = Now();
    std::tm parts{};
    gmtime_r(&moment, &parts);
    char systemDate[64];
    EXPECT_EQ(DateText(moment),
              std::string(systemDate, std::strftime(systemDate, sizeof systemDate, "%x", &parts)));
    Configure([](TPrjOptions& o) { o.MissMax = 11; });
    EXPECT_THROW(project.CalcAll(settings, &pane), ECodesException);
    EXPECT_EQ(ShortDateFormat(), "yyyy.MM.dd");

    SetShortDateFormat("");
    EXPECT_THROW(project.CalcOne(0, settings, &pane), Exception);
    EXPECT_EQ(ShortDateFormat(), "yyyy.MM.dd");
    EXPECT_EQ(DateText(Now()), "2026.12.08");
    EXPECT_EQ(pane.Calls, 0);
}

// Each run hands its report over once; a run that fails hands nothing over
// and keeps the previous verdict.
TEST_F(PrjReportTest, OneHandOverPerRunAndNoneForAFailedRun) {
    AddDraw("2345678");
    Configure([](TPrjOptions& o) { o.TargetSeq = 1; });
    AddBind(1, "2", true);
    project.CalcAll(settings, &pane);
    EXPECT_EQ(pane.Calls, 1);
    project.CalcOne(0, settings, &pane);
    EXPECT_EQ(pane.Calls, 2);
    ASSERT_EQ(project.VerifyState(), TSeqPrj::kHit);
    const Lines shown = pane.Lines;

    struct Failure {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> run;
        std::string message;
    };
    const std::vector<Failure> failures = {
        {"tolerance 11", [&] { Configure([](TPrjOptions& o) { o.MissMax = 11; }); },
         [&] { project.CalcAll(settings, &pane); }, "TCodes.SetMissCount Is Error!"},
        {"tolerance -1", [&] { Configure([](TPrjOptions& o) { o.MissMax = -1; }); },
         [&] { project.CalcAll(settings, &pane); }, "TCodes.SetMissCount Is Error!"},
        {"bad number list", [&] { AddBind(8, "1,x", false); },
         [&] { project.CalcAll(settings, &pane); }, "'x' is not a valid integer value"},
        {"no such condition", [] {}, [&] { project.CalcOne(5, settings, &pane); },
         "TSeqPrj.GetBind Error!"},
        {"target below the first period",
         [&] { Configure([](TPrjOptions& o) { o.TargetSeq = 0; }); },
         [&] { project.CalcAll(settings, &pane); }, "TCodeNet.GetSeq Error!"},
        {"single run, target below the first period",
         [&] { Configure([](TPrjOptions& o) { o.TargetSeq = 0; }); },
         [&] { project.CalcOne(0, settings, &pane); }, "TCodeNet.GetSeq Error!"},
    };
    for (const Failure& failure : failures) {
        Configure([](TPrjOptions& o) {
            o.MissMax = 1;
            o.TargetSeq = 1;
        });
        while (project.BindCount() > 1) {
            project.Del(project.BindCount() - 1);
        }
        failure.prepare();
        try {
            failure.run();
            ADD_FAILURE() << failure.name << " did not fail";
        } catch (const Exception& error) {
            EXPECT_EQ(error.what(), failure.message) << failure.name;
        }
        EXPECT_EQ(pane.Calls, 2) << failure.name;
        EXPECT_EQ(pane.Lines, shown) << failure.name;
        EXPECT_EQ(project.VerifyState(), TSeqPrj::kHit) << failure.name;
    }
}

TEST_F(PrjReportTest, RunWithoutAPaneStillSetsTheVerdict) {
    AddDraw("3127000");
    Configure([](TPrjOptions& o) { o.TargetSeq = 1; });
    AddBind(3, "7", true);  // tails 7: 3xx7 survives
    project.CalcAll(settings, nullptr);
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kHit);
    project.GetBind(0).SetParam("6");
    project.CalcOne(0, settings, nullptr);
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kMiss);
}

TEST_F(PrjReportTest, VerifyOfATargetBelowTheFirstPeriod) {
    // An empty table holds no target at all, whatever the period.
    Configure([](TPrjOptions& o) { o.TargetSeq = 0; });
    EXPECT_EQ(project.TargetDigits(), "");

    AddDraw("1234567");
    Configure([](TPrjOptions& o) { o.TargetSeq = 1; });
    project.Verify();
    ASSERT_EQ(project.VerifyState(), TSeqPrj::kHit);
    Configure([](TPrjOptions& o) { o.TargetSeq = 0; });
    for (const std::function<void()>& call : std::vector<std::function<void()>>{
             [&] { project.TargetDigits(); }, [&] { project.Verify(); }}) {
        try {
            call();
            ADD_FAILURE() << "a target below the first period must fail";
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), "TCodeNet.GetSeq Error!");
        }
    }
    EXPECT_EQ(project.VerifyState(), TSeqPrj::kNoVerdict) << "Verify clears the verdict first";
}

}  // namespace
}  // namespace tovarin
