#include "core/analyses/Analyses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/base/DateTime.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/PrjOptions.h"
#include "core/engine/PrjTestSupport.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

using Lines = std::vector<std::string>;

const std::string kSep(48, '=');
const char* const kTime = "2026.12.08 09:05:03";

class Analyses : public ::testing::Test {
protected:
    void SetUp() override {
        test::FixClock();
        SetShortDateFormat("yyyy.MM.dd");
    }
    void TearDown() override { SetClock({}); }

    // A result set in which exactly the given codes are valid (error 0).
    std::unique_ptr<TCodes> ResultOf(std::initializer_list<TCode> valid) const {
        auto codes = std::make_unique<TCodes>(options);
        codes->FailAll();
        for (TCode code : valid) {
            codes->ResetCode(code);
        }
        return codes;
    }

    static std::string Header(const char* title) {
        return std::string("Tovarin ") + title + "，时间:" + kTime;
    }

    // The lines from the first separator on: the groups.
    static Lines GroupsOf(const Lines& lines) {
        const auto sep = std::find(lines.begin(), lines.end(), kSep);
        return Lines(sep, lines.end());
    }

    // The line that follows the given one; empty when there is none.
    static std::string LineAfter(const Lines& lines, const std::string& line) {
        const auto at = std::find(lines.begin(), lines.end(), line);
        return at == lines.end() || at + 1 == lines.end() ? std::string() : *(at + 1);
    }

    TPrjOptions options;
    TAppOptions settings;
};

TEST_F(Analyses, DoubleSplitsTheSixCodeSet) {
    const auto result = ResultOf({0, 5, 16, 27, 45, 99});
    const Lines expected = {
        Header("重对区分"),
        "",
        "重对区分:对结果码集的号码按照重码、非重码、对数、非对数、邻数、非邻数进行区分",
        "",
        "本方案的结果码集总共有6个合格号码",
        "",
        kSep,
        "其中双重码总共2个：",
        "0xx0 9xx9 ",
        "",
        "其中非重码总共4个：",
        "0xx5 1xx6 2xx7 4xx5 ",
        "",
        kSep,
        "其中对数码总共3个：",
        "0xx5 1xx6 2xx7 ",
        "",
        "其中非对码总共3个：",
        "0xx0 4xx5 9xx9 ",
        "",
        kSep,
        "其中邻数码总共1个：",
        "4xx5 ",
        "",
        "其中非邻码总共5个：",
        "0xx0 0xx5 1xx6 2xx7 9xx9 ",
        "",
        kSep,
    };
    EXPECT_EQ(DoubleReport(*result, options, settings), expected);
}

// 9 and 0 are not neighbours; 4-9 is a pair, 9-4 as well.
TEST_F(Analyses, DoubleNeighboursAndPairsAtTheEdges) {
    const auto result = ResultOf({9, 90, 49, 94, 89});
    const Lines lines = DoubleReport(*result, options, settings);
    EXPECT_EQ(LineAfter(lines, "其中对数码总共2个："), "4xx9 9xx4 ");
    EXPECT_EQ(LineAfter(lines, "其中邻数码总共1个："), "8xx9 ");
}

// Only valid codes are split: an error above the tolerance is no result,
// an error within it is.
TEST_F(Analyses, SplitsTakeTheValidCodesOnly) {
    options.MissMax = 1;
    auto result = std::make_unique<TCodes>(options);
    result->FailAll();
    result->SetMiss(11, 1);
    result->SetMiss(22, 2);
    const Lines lines = DoubleReport(*result, options, settings);
    EXPECT_EQ(lines[4], "本方案的结果码集总共有1个合格号码");
    EXPECT_EQ(lines[7], "其中双重码总共1个：");
    EXPECT_EQ(lines[8], "1xx1 ");
}

TEST_F(Analyses, EmptyResultWritesSixGroupLinesWithoutCodes) {
    const auto result = ResultOf({});
    const Lines groups = GroupsOf(DoubleReport(*result, options, settings));
    const Lines expected = {
        kSep, "其中双重码总共0个：", "其中非重码总共0个：",
        kSep, "其中对数码总共0个：", "其中非对码总共0个：",
        kSep, "其中邻数码总共0个：", "其中非邻码总共0个：",
        kSep,
    };
    EXPECT_EQ(groups, expected);
}

TEST_F(Analyses, SingleCountsZeroHeadAsEvenAndFiveTailAsOdd) {
    const auto result = ResultOf({5});
    const Lines lines = SingleReport(*result, options, settings);
    EXPECT_EQ(lines[0], Header("单双区分"));
    EXPECT_EQ(lines[2], "单双区分:对结果码集的号码按照头尾的单双进行区分");
    const Lines expected = {
        kSep,
        "其中单头码总共0个：",
        "其中双头码总共1个：",
        "0xx5 ",
        "",
        kSep,
        "其中单尾码总共1个：",
        "0xx5 ",
        "",
        "其中双尾码总共0个：",
        kSep,
    };
    EXPECT_EQ(GroupsOf(lines), expected);
}

TEST_F(Analyses, SmallBigBoundsDifferForHeadAndTail) {
    const auto result = ResultOf({39, 44});
    const Lines lines = SmallBigReport(*result, options, settings);
    EXPECT_EQ(lines[0], Header("大小区分"));
    EXPECT_EQ(lines[2], "大小区分:对结果码集的号码按照头尾的大小进行区分");
    const Lines expected = {
        kSep, "其中大头码总共1个：", "4xx4 ", "", "其中小头码总共1个：", "3xx9 ", "",
        kSep, "其中大尾码总共1个：", "3xx9 ", "", "其中小尾码总共1个：", "4xx4 ", "",
        kSep,
    };
    EXPECT_EQ(GroupsOf(lines), expected);
}

std::vector<std::string> HeadLines(const Lines& lines) {
    std::vector<std::string> heads;
    for (const std::string& line : lines) {
        if (line.rfind("其中头数为", 0) == 0) {
            heads.push_back(line);
        }
    }
    return heads;
}

TEST_F(Analyses, HeadLimitStopsTheHeadGroupsAtSix) {
    const auto result = ResultOf({7, 18, 63, 70, 99});
    options.HeadLimit = true;
    const Lines limited = HeadReport(*result, options, settings);
    EXPECT_EQ(limited[2], "头数区分:对结果码集的号码按照头数的数值进行区分");
    const Lines expected = {
        "其中头数为0的号码总共1个：", "其中头数为1的号码总共1个：", "其中头数为2的号码总共0个：",
        "其中头数为3的号码总共0个：", "其中头数为4的号码总共0个：", "其中头数为5的号码总共0个：",
        "其中头数为6的号码总共1个：",
    };
    EXPECT_EQ(HeadLines(limited), expected);
    EXPECT_EQ(limited.back(), kSep);
    // The count line still counts every result.
    EXPECT_EQ(limited[4], "本方案的结果码集总共有5个合格号码");

    options.HeadLimit = false;
    const Lines all = HeadReport(*result, options, settings);
    ASSERT_EQ(HeadLines(all).size(), 10u);
    EXPECT_EQ(HeadLines(all)[9], "其中头数为9的号码总共1个：");
    const auto seven = std::find(all.begin(), all.end(), "其中头数为7的号码总共1个：");
    ASSERT_NE(seven, all.end());
    EXPECT_EQ(*(seven + 1), "7xx0 ");
    EXPECT_EQ(*(seven + 2), "");
    EXPECT_EQ(*(seven + 3), kSep);
}

TEST_F(Analyses, MissStatGroupsEveryErrorUpToTheCheckedCount) {
    options.MissMax = 1;
    auto result = std::make_unique<TCodes>(options);
    result->FailAll();
    result->SetMiss(10, 0);
    result->SetMiss(11, 0);
    result->SetMiss(20, 2);
    result->SetMiss(30, 5);  // above the checked count: in no group
    settings.ColsOfLineEd = 50;
    const Lines lines = MissStatReport(*result, options, 3, settings);
    std::string firstFailedLine;
    std::string secondFailedLine;
    int failed = 0;
    for (TCode code = 0; code < 100; ++code) {
        if (code != 10 && code != 11 && code != 20 && code != 30) {
            (failed++ < 50 ? firstFailedLine : secondFailedLine) += CodeToStr(code) + " ";
        }
    }
    const Lines expected = {
        Header("容错统计"),
        "",
        "号码的错误值的含义：F:被铁定条件否定 1-N:没有通过的容错条件的数目 "
        "0:完全符合所有条件的要求",
        "",
        "本方案的结果码集总共有100个号码",
        "",
        "错误值为F的号码总共96个：",
        firstFailedLine,
        secondFailedLine,
        "",
        "错误值为0的号码总共2个：",
        "1xx0 1xx1 ",
        "",
        "错误值为1的号码总共0个：",
        "错误值为2的号码总共1个：",
        "2xx0 ",
        "",
        "错误值为3的号码总共0个：",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(Analyses, MissViewWritesEveryCodeThirtyToALine) {
    auto result = std::make_unique<TCodes>(options);
    result->FailCode(0);
    result->SetMiss(1, 2);
    settings.ColsOfLineEd = 30;
    const Lines lines = MissViewReport(*result, settings);
    ASSERT_EQ(lines.size(), 6u + 4u + 1u);
    EXPECT_EQ(lines[0], Header("容错透视"));
    EXPECT_EQ(lines[4], "本方案的结果码集总共有100个号码");
    EXPECT_EQ(lines[6].rfind("0xx0:F 0xx1:2 0xx2:0 ", 0), 0u);
    const std::vector<size_t> entries = {30, 30, 30, 10};
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string& line = lines[6 + i];
        EXPECT_EQ(static_cast<size_t>(std::count(line.begin(), line.end(), ' ')), entries[i]);
        EXPECT_EQ(line.back(), ' ');
    }
    EXPECT_EQ(lines[9], "9xx0:0 9xx1:0 9xx2:0 9xx3:0 9xx4:0 9xx5:0 9xx6:0 9xx7:0 9xx8:0 9xx9:0 ");
    EXPECT_EQ(lines.back(), "");
}

// A width that divides 100 ends the last line once, not twice.
TEST_F(Analyses, ListCodeMissesWithTenToALine) {
    auto result = std::make_unique<TCodes>(options);
    settings.ColsOfLineEd = 10;
    Lines lines;
    ListCodeMisses(lines, *result, settings);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "0xx0:0 0xx1:0 0xx2:0 0xx3:0 0xx4:0 0xx5:0 0xx6:0 0xx7:0 0xx8:0 0xx9:0 ");
    EXPECT_EQ(lines[10], "");
}

TEST_F(Analyses, BaseCodesListsAllHundred) {
    auto base = std::make_unique<TCodes>(options);
    settings.ColsOfLineEd = 25;
    const Lines lines = BaseCodeReport(*base, settings);
    ASSERT_EQ(lines.size(), 4u + 4u + 1u);
    EXPECT_EQ(lines[0], Header("显示基础号码"));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "本方案的基础码集总共有100个号码");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4].substr(0, 10), "0xx0 0xx1 ");
    EXPECT_EQ(lines[7].substr(lines[7].size() - 5), "9xx9 ");
    EXPECT_EQ(lines[8], "");
}

// Projects on a table of two draws: 3 1 5 7 ... (period 1) and 0 0 0 0 ...
class ProjectAnalyses : public Analyses {
protected:
    void SetUp() override {
        Analyses::SetUp();
        test::AddDraws(net, {"3157246", "0000000"});
    }

    TSeqPrj& NewProject(std::initializer_list<const char*> heads) {
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        for (const char* head : heads) {
            TBaseBind& bind = project.AddBind(CreateBind(1, project.Options()));
            bind.SetParam(head);
            bind.Assured = true;
            bind.Checked = true;
        }
        return project;
    }

    TCodeNet net;
    TPrjMgr projects{net};
};

TEST_F(ProjectAnalyses, ContrastOfProjectsSharingNoCode) {
    TSeqPrj& first = NewProject({"1"});
    TSeqPrj& second = NewProject({"2"});
    second.AddBind(CreateBind(6, second.Options())).SetParam("9");  // unchecked
    const Lines lines = ContrastReport({&first, &second}, settings);
    const Lines expected = {
        Header("横向比较"),
        "",
        "横向比较:对若干个方案的计算结果进行差异比较，并同步输出",
        "",
        "总共2个方案参与比较",
        "",
        "方案1目标期号:3期;全部条件1个;勾选条件1个",
        "方案1的结果码集总共有10个合格号码:",
        "1xx0 1xx1 1xx2 1xx3 1xx4 1xx5 1xx6 1xx7 1xx8 1xx9 ",
        "",
        "",
        "方案2目标期号:3期;全部条件2个;勾选条件1个",
        "方案2的结果码集总共有10个合格号码:",
        "2xx0 2xx1 2xx2 2xx3 2xx4 2xx5 2xx6 2xx7 2xx8 2xx9 ",
        "",
        "",
        "所有方案的共同码集总共有0个合格号码:",
        "",
    };
    EXPECT_EQ(lines, expected);
}

// The projects are re-run first (they were never run), compared in the
// order given, and the common set is what every result holds.
TEST_F(ProjectAnalyses, ContrastRerunsAndIntersects) {
    TSeqPrj& narrow = NewProject({"1,2"});
    TSeqPrj& wide = NewProject({"2,3"});
    TSeqPrj& third = NewProject({"0,2,3"});
    TPrjOptions target = narrow.Options();
    target.TargetSeq = 1;
    narrow.SetOptions(target);
    settings.ColsOfLineEd = 5;
    const Lines lines = ContrastReport({&third, &narrow, &wide}, settings);
    EXPECT_EQ(lines[4], "总共3个方案参与比较");
    EXPECT_EQ(lines[6], "方案1目标期号:3期;全部条件1个;勾选条件1个");
    EXPECT_EQ(lines[7], "方案1的结果码集总共有30个合格号码:");
    const auto second =
        std::find(lines.begin(), lines.end(), "方案2目标期号:1期;全部条件1个;勾选条件1个");
    ASSERT_NE(second, lines.end());
    EXPECT_EQ(*(second + 1), "方案2的结果码集总共有20个合格号码:");
    EXPECT_EQ(narrow.VerifyState(), TSeqPrj::kMiss);  // 3xx7 is not among heads 1 and 2
    const Lines tail = {
        "所有方案的共同码集总共有10个合格号码:",
        "2xx0 2xx1 2xx2 2xx3 2xx4 ",
        "2xx5 2xx6 2xx7 2xx8 2xx9 ",
        "",
        "",
    };
    EXPECT_EQ(Lines(lines.end() - 5, lines.end()), tail);
    EXPECT_EQ(wide.ResultCodes().ValidCount(), 20);
}

TEST_F(ProjectAnalyses, ContrastStopsOnAFailingRun) {
    TSeqPrj& good = NewProject({"1"});
    TSeqPrj& bad = projects.AddPrj(std::make_unique<TSeqPrj>(net));
    TBaseBind& bind = bad.AddBind(CreateBind(7, bad.Options()));
    bind.SetParam("x");
    bind.Checked = true;
    EXPECT_THROW(ContrastReport({&good, &bad}, settings), Exception);
}

TEST_F(ProjectAnalyses, WinningCodeOfTheTargetDraw) {
    TSeqPrj& project = NewProject({});
    TPrjOptions target = project.Options();
    target.TargetSeq = 1;
    project.SetOptions(target);
    EXPECT_EQ(WinningCodeText(project), "3xx7");
    target.TargetSeq = 3;  // after the last draw
    project.SetOptions(target);
    EXPECT_EQ(WinningCodeText(project), "");
    EXPECT_EQ(MissingDrawMessage(project), "第3期开奖号码还没有！");
}

TEST_F(ProjectAnalyses, BuildAnalysisReadsTheProject) {
    TSeqPrj& project = NewProject({"1", "1,2"});
    project.AddBind(CreateBind(1, project.Options())).SetParam("5");  // unchecked
    project.CalcAll(settings, nullptr);
    const Lines stat = BuildAnalysis(TAnalysisKind::MissStat, project, settings);
    EXPECT_EQ(std::count_if(stat.begin(), stat.end(),
                            [](const std::string& line) { return line.rfind("错误值为", 0) == 0; }),
              4);  // F, 0, 1, 2: two checked conditions
    EXPECT_EQ(BuildAnalysis(TAnalysisKind::Double, project, settings)[4],
              "本方案的结果码集总共有10个合格号码");
    EXPECT_EQ(BuildAnalysis(TAnalysisKind::BaseCode, project, settings)[2],
              "本方案的基础码集总共有100个号码");
    EXPECT_EQ(BuildAnalysis(TAnalysisKind::MissView, project, settings)[6].substr(0, 14),
              "0xx0:F 0xx1:F ");
    EXPECT_EQ(BuildAnalysis(TAnalysisKind::Single, project, settings)[0], Header("单双区分"));
    EXPECT_EQ(BuildAnalysis(TAnalysisKind::Head, project, settings)[0], Header("头数区分"));
    EXPECT_EQ(BuildAnalysis(TAnalysisKind::SmallBig, project, settings)[0], Header("大小区分"));
}

struct FindCase {
    const char* text;
    const char* code;
    std::vector<size_t> hits;
};

// Shown in test names and failure messages instead of the case's raw bytes.
void PrintTo(const FindCase& c, std::ostream* out) { *out << '"' << c.text << "\" / " << c.code; }

class FindWinning : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindWinning, FindsEveryOccurrence) {
    const FindCase& c = GetParam();
    EXPECT_EQ(FindWinningCode(std::string_view(c.text), c.code), c.hits) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindWinning,
    ::testing::Values(FindCase{"3xx7 1xx2 3xx7 ", "3xx7", {0, 10}},
                      FindCase{"3XX7 3xX7 3Xx7", "3xx7", {0, 5, 10}},
                      FindCase{"3xx3xx3", "3xx3", {0}},  // each search starts after a hit
                      FindCase{"ab3xx7", "3xx7", {2}},   // a hit at the very end
                      FindCase{"3xx", "3xx7", {}}, FindCase{"", "3xx7", {}},
                      FindCase{"43xx78", "3xx7", {1}},  // no word boundaries
                      FindCase{"3 x x 7 3xy7", "3xx7", {}},
                      FindCase{"第1步:3xx7", "3xx7", {std::string("第1步:").size()}}));

TEST(FindWinningUtf16, PositionsCountUtf16Units) {
    const std::u16string text = u"第1步:3xx7 3XX7";
    EXPECT_EQ(FindWinningCode(std::u16string_view(text), "3xx7"), (std::vector<size_t>{4, 9}));
}

}  // namespace
}  // namespace tovarin
