#include "core/sources/DrawUpdate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovarin {
namespace {

// The update of a table from sources named 甲, 乙, 丙 … that gave these
// texts, read as the numbers of game.
TUpdateRead UpdateOf(const std::vector<TSeq>& table, const std::vector<std::string>& texts,
                     TGame game = TGame::Seven) {
    static const char* const names[] = {"甲", "乙", "丙"};
    std::vector<TTableRead> reads;
    TUpdateRead update;
    for (size_t i = 0; i < texts.size(); ++i) {
        reads.push_back(ReadDrawTable(texts[i], game));
        TSourceOutcome& source = update.Sources.emplace_back();
        source.Name = names[i];
        source.Read = reads.back().Draws.size();
    }
    std::vector<const TTableRead*> pointers;
    for (const TTableRead& read : reads) {
        pointers.push_back(&read);
    }
    update.Merged = MergeSourceReads(pointers, game);
    update.Plan = PlanImport(table, update.Merged.Read, TImportMode::Append);
    return update;
}

// "label date numbers" of each merged draw and the source it came from.
std::vector<std::string> MergedTexts(const TMergedRead& merged) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < merged.Read.Draws.size(); ++i) {
        const TTableDraw& draw = merged.Read.Draws[i];
        texts.push_back(draw.Draw.GetLabel().Text() + " " + std::string(draw.Date()) + " " +
                        NumbersText(draw.Draw, merged.Read.Game) + " " +
                        std::to_string(merged.SourceOf[i]));
    }
    return texts;
}

std::vector<TSeq> LabelledTable(const std::vector<std::string>& labels) {
    std::vector<TSeq> table;
    for (const std::string& label : labels) {
        TSeq draw;
        draw.SetLabel(*TLabel::Parse(label));
        table.push_back(draw);
    }
    return table;
}

TEST(MergeSourceReadsTest, EqualLabelsOnceConflictsNamedUnlabelledSourcesApart) {
    struct Case {
        std::vector<std::string> texts;
        std::vector<std::string> merged;
        std::vector<std::string> problems;
        TGame game = TGame::Seven;
    };
    const Case cases[] = {
        // Two spellings of one draw are one draw, taken from the first source.
        {{"2026150 3581290\n", "26151 3581291\n26150 3581290\n"},
         {"2026150  3581290 0", "26151  3581291 1"},
         {}},
        // A date the first source lacks comes from the next.
        {{"2026150 3581290\n", "2026150 2026-12-06 3581290\n"},
         {"2026150 2026-12-06 3581290 0"},
         {}},
        {{"2026150 3581290\n2026151 3581291\n", "26150 1111111\n", "2026151 3581291\n"},
         {"2026150  3581290 0", "2026151  3581291 0"},
         {"第2026150期：「甲」是3581290，「乙」是1111111"}},
        // A file without periods stands alone, or not at all.
        {{"3581290\n1111111\n", ""}, {"  3581290 0", "  1111111 0"}, {}},
        {{"3581290\n", "2026150 3581290\n"},
         {"2026150  3581290 1"},
         {"「甲」的开奖数据没有期号，不能与其他数据源合并"}},
        // Each game's numbers: 七星彩's seventh up to 14, 排列5's five digits.
        {{"2026150 1 2 3 4 5 6 14\n", "26150 1 2 3 4 5 6 13\n"},
         {"2026150  1 2 3 4 5 6 14 0"},
         {"第2026150期：「甲」是1 2 3 4 5 6 14，「乙」是1 2 3 4 5 6 13"},
         TGame::Qxc},
        {{"2026150 35812\n", "2026151 3 5 8 1 3\n2026150 35819\n"},
         {"2026150  35812 0", "2026151  35813 1"},
         {"第2026150期：「甲」是35812，「乙」是35819"},
         TGame::Pl5},
    };
    for (const Case& c : cases) {
        const TUpdateRead update = UpdateOf({}, c.texts, c.game);
        EXPECT_EQ(MergedTexts(update.Merged), c.merged) << c.texts[0];
        EXPECT_EQ(SourceProblems(update), c.problems) << c.texts[0];
    }
}

TEST(DrawUpdateTest, WhatCanBeAppliedAndWhatIsSaid) {
    const std::vector<TSeq> table = LabelledTable({"2026148"});
    TUpdateRead update = UpdateOf(table, {"2026149 3581299\n", "2026150 3581290\nx 1\n"});
    EXPECT_TRUE(update.Clean());
    EXPECT_EQ(update.Added(), 2u);
    EXPECT_EQ(UpdateDoneText(update, 3, *TLabel::Parse("2026150")),
              "更新了2期，最新一期为2026150期（来源：甲、乙）");
    EXPECT_EQ(UpToDateText(361, TLabel()), "码表已是最新：最新一期为第361期");

    update.Sources[0].Error = "服务器回答 HTTP 404";
    EXPECT_FALSE(update.Clean());
    EXPECT_EQ(UpdateProblems(update, 1, false),
              std::vector<std::string>{"数据源「甲」：服务器回答 HTTP 404"});

    update = UpdateOf(table, {"2026150 3581290\n"});
    EXPECT_FALSE(update.Clean());
    EXPECT_EQ(UpdateProblems(update, 1, false),
              std::vector<std::string>{"开奖数据缺少1期：\n缺少第2026149期"});
    EXPECT_TRUE(UpdateProblems(update, 1, true).empty());

    // Nothing read, and why.
    const std::vector<std::string> nothing = {"数据源里没有可以导入的开奖号码。",
                                              "第1行：期号后面没有开奖号码"};
    EXPECT_EQ(UpdateProblems(UpdateOf(table, {"x 1\n"}), 1, false), nothing);
    // The table's own draws with other numbers.
    EXPECT_EQ(UpdateProblems(UpdateOf(table, {"2026148 1111111\n"}), 1, false),
              (std::vector<std::string>{LabelConflictsText(),
                                        "第2026148期：码表里是0000000，文件第1行是1111111"}));
    EXPECT_EQ(UpdateProblems(UpdateOf(table, {"2026148 35812\n"}, TGame::Pl5), 1, false),
              (std::vector<std::string>{LabelConflictsText(),
                                        "第2026148期：码表里是00000，文件第1行是35812"}));
    // Every source's unreadable lines are counted, however many are listed.
    EXPECT_EQ(UpdateOf(table, {"x 1\ny 2\n", "z 3\n"}).Merged.Read.SkippedTotal, 3u);
}

TEST(DrawUpdateTest, PagesReachTheTablesLastLabelInEitherSpelling) {
    EXPECT_FALSE(ReachesLabel({}));
    EXPECT_FALSE(ReachesLabel(std::vector<TSeq>(2)));
    const auto reaches = ReachesLabel(LabelledTable({"2026147", "2026148"}));
    EXPECT_TRUE(reaches(ReadDrawTable("2026150 3581290\n26148 3581290\n")));
    EXPECT_TRUE(reaches(ReadDrawTable("2026001 3581290\n")));
    EXPECT_FALSE(reaches(ReadDrawTable("2026150 3581290\n2026149 3581290\n")));
}

}  // namespace
}  // namespace tovarin
