// tovarin-cli draws list, draws export-table and the labels in
// draws import-table and info --json.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;

// Three draws: labelled and dated, labelled only, and neither.
class DrawsLabels : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3581290", "0000001", "1234567"});
        net.SetLabelDate(0, *TLabel::Parse("2026149"), *TDrawDate::Parse("2026-12-04"));
        net.SetLabelDate(1, *TLabel::Parse("2026150"), TDrawDate());
        net.SetLabelDate(2, TLabel(), TDrawDate());
        doc = dir.File("doc.lvrn");
        SaveDocument(doc, net, projects);
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string doc;
};

TEST_F(DrawsLabels, ListsEveryDrawWithDashesForWhatIsMissing) {
    const test::CliResult result = RunCli({"draws", "list", doc});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1 2026149 2026-12-04 3581290\n2 2026150 - 0000001\n3 - - 1234567\n");
    EXPECT_EQ(RunCli({"draws", "list", doc, "--from", "2", "--to", "2"}).out,
              "2 2026150 - 0000001\n");
}

TEST_F(DrawsLabels, ListJsonHasNullsForWhatIsMissing) {
    const test::CliResult result = RunCli({"draws", "list", doc, "--from", "1", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::parse(R"({"draws": 3, "rows": [
        {"period": 1, "label": "2026149", "date": "2026-12-04", "numbers": [3,5,8,1,2,9,0]},
        {"period": 2, "label": "2026150", "date": null, "numbers": [0,0,0,0,0,0,1]},
        {"period": 3, "label": null, "date": null, "numbers": [1,2,3,4,5,6,7]}]})"));
}

TEST_F(DrawsLabels, ListRangesOutsideTheTableAreUsageErrors) {
    for (const std::vector<std::string>& range :
         {std::vector<std::string>{"--from", "0"}, {"--to", "4"}, {"--from", "3", "--to", "2"}}) {
        std::vector<std::string> args = {"draws", "list", doc};
        args.insert(args.end(), range.begin(), range.end());
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << range[0];
        EXPECT_TRUE(result.err.starts_with("tovarin-cli draws list: range ")) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(DrawsLabels, ExportTableIsReadBackToTheSameTable) {
    // A table where every draw has a label: the export carries all of it.
    net.SetLabelDate(2, *TLabel::Parse("2026151"), *TDrawDate::Parse("2026-12-08"));
    SaveDocument(doc, net, projects);
    const std::string csv = dir.File("表.csv");
    ASSERT_EQ(RunCli({"draws", "export-table", doc, csv}).status, 0);
    EXPECT_EQ(ReadWholeFile(csv),
              "\xEF\xBB\xBF期号,开奖日期,开奖号码\r\n2026149,2026-12-04,3581290\r\n"
              "2026150,,0000001\r\n2026151,2026-12-08,1234567\r\n");
    const std::string copy = dir.File("copy.lvrn");
    ASSERT_EQ(RunCli({"draws", "import-table", copy, csv}).status, 0);
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(doc));
}

TEST_F(DrawsLabels, ImportWithGapsIsRefusedUnlessAllowed) {
    net.Delete(2);
    SaveDocument(doc, net, projects);
    const std::string file = dir.File("draws.csv");
    WriteFileAtomically(file, "2026150,0000001\n2026152,2222222\n2026155,5555555\n");
    const std::string before = ReadWholeFile(doc);
    test::CliResult result = RunCli({"draws", "import-table", doc, file, "--append"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "tovarin-cli draws import-table: 开奖数据缺少3期：\n缺少第2026151期\n"
              "缺少第2026153期\n缺少第2026154期\n（加上 --allow-gaps 仍然导入）\n");
    EXPECT_EQ(ReadWholeFile(doc), before);

    result = RunCli({"draws", "import-table", doc, file, "--append", "--allow-gaps", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::parse(R"({"read": 3,
        "imported": 2, "mode": "append", "draws": 4, "skipped": [], "skipped_total": 0,
        "gaps": ["2026151", "2026153", "2026154"], "gaps_total": 3})"));
    EXPECT_EQ(RunCli({"draws", "list", doc, "--from", "3"}).out,
              "3 2026152 - 2222222\n4 2026155 - 5555555\n");
    EXPECT_EQ(nlohmann::json::parse(RunCli({"info", doc, "--json"}).out).at("labelled"), 4);
}

TEST_F(DrawsLabels, AConflictWithTheTableNamesTheLabelAndTheLine) {
    const std::string file = dir.File("draws.csv");
    WriteFileAtomically(file, "期号,号码\n2026149,3581291\n2026151,1111111\n");
    net.Delete(2);
    SaveDocument(doc, net, projects);
    const test::CliResult result = RunCli({"draws", "import-table", doc, file, "--append"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "tovarin-cli draws import-table: "
              "文件里有些期码表里也有，但开奖号码不同，请先改正文件或码表再导入。\n"
              "第2026149期：码表里是3581290，文件第2行是3581291\n");
}

}  // namespace
}  // namespace tovarin
