#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"
#include "core/stats/HistoryStats.h"
#include "core/stats/StatsBinds.h"
#include "core/stats/StatsText.h"
#include "support/Draws.h"

namespace tovarin {
namespace {

// Heads 1 1 3 1 4, tails 2 5 2 9 2.
THistoryStats FiveDrawStats(int last) {
    TCodeNet net;
    test::AddDraws(net, {"1992777", "1995777", "3992777", "1999777", "4992777"});
    return ComputeHistoryStats(net, last);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos;
         start = end + 2, end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

TEST(StatsText, ColumnTitlesAndCells) {
    const std::vector<std::string> titles = {"头尾合",   "出现次数", "理论次数",
                                             "当前遗漏", "最大遗漏", "平均遗漏"};
    EXPECT_EQ(StatsColumnTitles(TStatDim::Sum), titles);
    EXPECT_EQ(StatsColumnTitles(TStatDim::Code).front(), "头尾码");
    const THistoryStats stats = FiveDrawStats(0);
    const std::vector<std::string> sum6 = {"6", "2", "0.35", "0", "2", "1.00"};
    EXPECT_EQ(StatsCells(TStatDim::Sum, stats.Of(TStatDim::Sum)[6]), sum6);
    const std::vector<std::string> code12 = {"1xx2", "1", "0.05", "4", "4", "2.00"};
    EXPECT_EQ(StatsCells(TStatDim::Code, stats.Of(TStatDim::Code)[12]), code12);
    // (3 - 2) / 3 rounds to two decimals.
    const THistoryStats last3 = FiveDrawStats(3);
    EXPECT_EQ(StatsCells(TStatDim::Tail, last3.Of(TStatDim::Tail)[2])[5], "0.33");
}

TEST(StatsText, WindowCaption) {
    EXPECT_EQ(WindowCaption(FiveDrawStats(0)), "第1期至第5期，共5期");
    EXPECT_EQ(WindowCaption(FiveDrawStats(2)), "第4期至第5期，共2期");
    TCodeNet empty;
    EXPECT_EQ(WindowCaption(ComputeHistoryStats(empty, 0)), "没有开奖号码");
}

TEST(StatsText, CsvStartsWithTheByteOrderMarkAndHoldsFourTables) {
    const std::string csv = StatsCsv(FiveDrawStats(0));
    ASSERT_GE(csv.size(), 3u);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const std::vector<std::string> lines = Lines(csv.substr(3));
    // Four tables of a title, the column titles, the items and an empty line.
    ASSERT_EQ(lines.size(), 4u * 3u + 10u + 10u + 19u + 100u);
    EXPECT_EQ(lines[0], "头数统计（第1期至第5期，共5期）");
    EXPECT_EQ(lines[1], "头数,出现次数,理论次数,当前遗漏,最大遗漏,平均遗漏");
    EXPECT_EQ(lines[2], "0,0,0.50,5,5,5.00");
    EXPECT_EQ(lines[3], "1,3,0.50,1,1,0.50");
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(lines[13], "尾数统计（第1期至第5期，共5期）");
    EXPECT_EQ(lines[26], "头尾合统计（第1期至第5期，共5期）");
    EXPECT_EQ(lines[28 + 18], "18,0,0.05,5,5,5.00");
    EXPECT_EQ(lines[48], "头尾码统计（第1期至第5期，共5期）");
    EXPECT_EQ(lines[50 + 42], "4xx2,1,0.05,0,4,2.00");
    EXPECT_EQ(lines.back(), "");
}

// Counts are grouped for people and plain in the CSV, where a comma would
// split the cell; periods are never grouped.
TEST(StatsText, CountsAreGroupedExceptInTheCsv) {
    TCodeNet net;
    test::AddDraws(net, std::vector<std::string>(1500, "5000000"));
    const THistoryStats stats = ComputeHistoryStats(net, 0);
    EXPECT_EQ(WindowCaption(stats), "第1期至第1500期，共1,500期");
    const std::vector<std::string> head0 = {"0", "0", "150.00", "1,500", "1,500", "1,500.00"};
    EXPECT_EQ(StatsCells(TStatDim::Head, stats.Of(TStatDim::Head)[0]), head0);
    const std::vector<std::string> head5 = {"5", "1,500", "150.00", "0", "0", "0.00"};
    EXPECT_EQ(StatsCells(TStatDim::Head, stats.Of(TStatDim::Head)[5]), head5);
    const std::vector<std::string> csv = Lines(StatsCsv(stats).substr(3));
    EXPECT_EQ(csv[0], "头数统计（第1期至第1500期，共1500期）");
    EXPECT_EQ(csv[2], "0,0,150.00,1500,1500,1500.00");
    EXPECT_EQ(StatsReportLines(stats)[0], "头数统计（第1期至第1500期，共1,500期）");
}

TEST(StatsText, ReportLinesPadChineseTitlesByTwoPlaces) {
    const std::vector<std::string> lines = StatsReportLines(FiveDrawStats(0));
    ASSERT_EQ(lines.size(), 4u * 3u - 1u + 10u + 10u + 19u + 100u);
    EXPECT_EQ(lines[0], "头数统计（第1期至第5期，共5期）");
    EXPECT_EQ(lines[1], "头数      出现次数  理论次数  当前遗漏  最大遗漏  平均遗漏");
    EXPECT_EQ(lines[3], "1         3         0.50      1         1         0.50");
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(lines.back(), "9xx9      0         0.05      5         5         5.00");
}

TEST(StatsBinds, KindsOfEachDimension) {
    EXPECT_EQ(BindKindsOf(TStatDim::Head), (std::vector<int>{1, 2, 5, 6}));
    EXPECT_EQ(BindKindsOf(TStatDim::Tail), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(BindKindsOf(TStatDim::Sum), (std::vector<int>{7, 8}));
    EXPECT_TRUE(BindKindsOf(TStatDim::Code).empty());
    EXPECT_STREQ(BindKindNames[1], "稳上头");
    EXPECT_STREQ(BindKindNames[4], "不上尾");
    EXPECT_STREQ(BindKindNames[8], "排除合");
}

TEST(StatsBinds, ParamIsAscendingAndCommaJoined) {
    EXPECT_EQ(BindParamOf({9, 0, 4}), "0,4,9");
    EXPECT_EQ(BindParamOf({18, 0, 10, 9}), "0,9,10,18");
    EXPECT_EQ(BindParamOf({3, 3, 1}), "1,3");
    EXPECT_EQ(BindParamOf({}), "");
    EXPECT_EQ(BindParamOf({7}), "7");
}

// A parameter made from a selection is what the condition reads back.
TEST(StatsBinds, ParamGivesTheSameCodesAsTheEditorsText) {
    TPrjOptions options;
    std::unique_ptr<TBaseBind> fromSelection = CreateBind(7, options);
    fromSelection->SetParam(BindParamOf({18, 0, 9}));
    std::unique_ptr<TBaseBind> typed = CreateBind(7, options);
    typed->SetParam("0,9,18");
    EXPECT_EQ(fromSelection->Param(), "0,9,18");
    for (TCode code = 0; code < 100; ++code) {
        EXPECT_EQ(fromSelection->GetCodes().GetMiss(code), typed->GetCodes().GetMiss(code));
    }
}

}  // namespace
}  // namespace tovarin
