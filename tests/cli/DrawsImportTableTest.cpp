// tovarin-cli draws import-table: replace and append, its report and JSON,
// and every refusal leaving the document byte for byte as it was.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliRunner.h"
#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;

class DrawsImportTable : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"0000000", "1111111", "2222222", "3333333"});
        projects.AddPrj(std::make_unique<TSeqPrj>(net));
        doc = dir.File("doc.lvrn");
        SaveDocument(doc, net, projects);
        file = dir.File("draws.csv");
    }

    std::vector<std::string> DocDraws() {
        TCodeNet read;
        TPrjMgr readProjects(read);
        LoadDocument(doc, read, readProjects);
        EXPECT_EQ(readProjects.PrjCount(), 1);
        return test::DrawTexts(read);
    }

    // Runs a command that must refuse, and checks the document is untouched.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& message) {
        const std::string before = ReadWholeFile(doc);
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "tovarin-cli draws import-table: " + message + "\n");
        EXPECT_EQ(ReadWholeFile(doc), before);
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string doc;
    std::string file;
};

TEST_F(DrawsImportTable, ReplacesByDefaultAndReportsSkippedLines) {
    WriteFileAtomically(file, Utf8ToGbk("期号,开奖号码\r\n2026002,5555555\r\n2026001,4444444\r\n"
                                        "2026003,123456\r\n"));
    const test::CliResult result = RunCli({"draws", "import-table", doc, file});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "读到2期开奖号码\n导入了2期，最新一期为2026002期\n第4行：只有6个数字\n");
    EXPECT_EQ(DocDraws(), (std::vector<std::string>{"4444444", "5555555"}));
}

TEST_F(DrawsImportTable, AppendsAfterTheMatchWithJson) {
    WriteFileAtomically(file,
                        "期号\t号码\n1\t1111111\n2\t2222222\n3\t3333333\n4\t4444444\n"
                        "5\t5555555\n合计\t五期\n");
    const test::CliResult result =
        RunCli({"draws", "import-table", doc, file, "--append", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json, nlohmann::json::parse(R"({"read": 5, "imported": 2, "mode": "append",
        "draws": 6, "skipped": [{"line": 7, "reason": "没有期号"}], "skipped_total": 1,
        "gaps": [], "gaps_total": 0})"));
    EXPECT_EQ(result.out.substr(0, 14), "{\n  \"read\": 5,");
    EXPECT_EQ(DocDraws(), (std::vector<std::string>{"0000000", "1111111", "2222222", "3333333",
                                                    "4444444", "5555555"}));
}

TEST_F(DrawsImportTable, ReplaceJsonCountsEveryDraw) {
    WriteFileAtomically(file, "1,1234567\n2,7654321\n");
    const test::CliResult result = RunCli({"draws", "import-table", "--json", doc, file});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out),
              nlohmann::json::parse(R"({"read": 2, "imported": 2, "mode": "replace",
                  "draws": 2, "skipped": [], "skipped_total": 0, "gaps": [],
                  "gaps_total": 0})"));
}

TEST_F(DrawsImportTable, ReportsAThousandSkippedLinesAndCountsTheRest) {
    std::string text = "1,1234567\n";
    for (int i = 0; i < 1002; ++i) {
        text += "2,123456\n";
    }
    WriteFileAtomically(file, text);
    const test::CliResult json = RunCli({"draws", "import-table", doc, file, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json answer = nlohmann::json::parse(json.out);
    EXPECT_EQ(answer["skipped"].size(), 1000U);
    EXPECT_EQ(answer["skipped"].back(),
              nlohmann::json::parse(R"({"line": 1001, "reason": "只有6个数字"})"));
    EXPECT_EQ(answer["skipped_total"], 1002);
    const test::CliResult lines = RunCli({"draws", "import-table", doc, file});
    ASSERT_EQ(lines.status, 0) << lines.err;
    EXPECT_EQ(lines.out.substr(lines.out.rfind("第1001行")),
              "第1001行：只有6个数字\n……另有2行未列出\n");
}

TEST_F(DrawsImportTable, CreatesAMissingDocument) {
    WriteFileAtomically(file, "1234567\n7654321\n");
    const std::string fresh = dir.File("new.lvrn");
    const test::CliResult result = RunCli({"draws", "import-table", fresh, file, "--append"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "读到2期开奖号码\n追加了2期，最新一期为第2期\n");
    TCodeNet read;
    TPrjMgr readProjects(read);
    LoadDocument(fresh, read, readProjects);
    EXPECT_EQ(test::DrawTexts(read), (std::vector<std::string>{"1234567", "7654321"}));
}

TEST_F(DrawsImportTable, AppendWithoutAMatchIsRefused) {
    WriteFileAtomically(file, "1,2222222\n2,3333333\n3,4444444\n");
    ExpectRefused({"draws", "import-table", doc, file, "--append"},
                  "无法追加：文件里找不到与码表最后3期相同的连续开奖号码，只能替换整个码表。");
}

TEST_F(DrawsImportTable, ConflictingLinesAreRefusedAndNamed) {
    WriteFileAtomically(file, "1,1111111\n2,2222222\n1,1111112\n3,3333333\n3,3333330\n");
    ExpectRefused({"draws", "import-table", doc, file},
                  "文件里同一期有不同的开奖号码，请先改正文件再导入。\n"
                  "第1行和第3行：第1期的号码不同\n第4行和第5行：第3期的号码不同");
}

TEST_F(DrawsImportTable, AFileWithoutDrawsIsRefused) {
    WriteFileAtomically(file, "期号,开奖号码\n");
    ExpectRefused({"draws", "import-table", doc, file}, "文件里没有可以导入的开奖号码。");
}

TEST_F(DrawsImportTable, AMissingFileIsRefused) {
    ExpectRefused({"draws", "import-table", doc, dir.File("none.csv")},
                  "找不到文件：" + dir.File("none.csv"));
}

TEST_F(DrawsImportTable, UnknownOptionIsAUsageError) {
    WriteFileAtomically(file, "1,1234567\n");
    const test::CliResult result = RunCli({"draws", "import-table", doc, file, "--merge"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Usage: tovarin-cli draws import-table DOC FILE [--append] "
                              "[--allow-gaps] [--json]"),
              std::string::npos)
        << result.err;
}

}  // namespace
}  // namespace tovarin
