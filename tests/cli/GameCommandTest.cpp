// tovarin-cli game, and the game in info --json, draws list, draws
// import-table and download.
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

class GameCommand : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3581290", "1234567"});
        doc = dir.File("doc.lvrn");
        SaveDocument(doc, net, projects);
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string doc;
};

TEST_F(GameCommand, PrintsAndSwitchesTheGame) {
    EXPECT_EQ(RunCli({"game", doc}).out, "seven\n");
    const std::string seven = ReadWholeFile(doc);
    ASSERT_EQ(RunCli({"game", doc, "qxc"}).status, 0);
    EXPECT_EQ(RunCli({"game", doc}).out, "qxc\n");
    EXPECT_NE(ReadWholeFile(doc), seven);
    const nlohmann::json info = nlohmann::json::parse(RunCli({"info", doc, "--json"}).out);
    EXPECT_EQ(info["game"], "qxc");
    // Back to the seven digits: the file is the one it was, byte for byte.
    ASSERT_EQ(RunCli({"game", doc, "seven"}).status, 0);
    EXPECT_EQ(ReadWholeFile(doc), seven);
}

TEST_F(GameCommand, RefusesAGameTheDrawsDoNotFitAndAnUnknownName) {
    const std::string before = ReadWholeFile(doc);
    const test::CliResult refused = RunCli({"game", doc, "pl5"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "tovarin-cli game: 第1期的第6个号码是9，排列5只有5个号码\n");
    const test::CliResult unknown = RunCli({"game", doc, "七星彩"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(
        unknown.err.starts_with("tovarin-cli game: unknown game 七星彩 (seven, qxc or pl5)"))
        << unknown.err;
    EXPECT_EQ(ReadWholeFile(doc), before);
}

TEST_F(GameCommand, ImportListAndExportSpeakTheDocumentsGame) {
    const std::string created = dir.File("new.lvrn");
    ASSERT_EQ(RunCli({"game", created, "qxc"}).status, 0);
    const std::string csv = dir.File("qxc.csv");
    WriteFileAtomically(csv,
                        "期号,开奖号码\n2026001,1 2 3 4 5 6 14\n2026002,01,02,03,04,05,06,07\n");
    const test::CliResult imported = RunCli({"draws", "import-table", created, csv});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(RunCli({"draws", "list", created}).out,
              "1 2026001 - 1 2 3 4 5 6 14\n2 2026002 - 1234567\n");
    EXPECT_EQ(nlohmann::json::parse(
                  RunCli({"draws", "list", created, "--json"}).out)["rows"][0]["numbers"],
              nlohmann::json::parse("[1,2,3,4,5,6,14]"));
    // The seven-digit document reads the same line as a refusal in its words.
    const test::CliResult seven = RunCli({"draws", "import-table", doc, csv, "--json"});
    ASSERT_EQ(seven.status, 0) << seven.err;
    EXPECT_EQ(nlohmann::json::parse(seven.out)["skipped"][0]["reason"],
              "第7个号码是14，七位数每位只能是0-9");

    const std::string pl5 = dir.File("pl5.lvrn");
    ASSERT_EQ(RunCli({"game", pl5, "pl5"}).status, 0);
    WriteFileAtomically(csv, "2026001 35812\n2026002 0 0 0 0 9\n");
    ASSERT_EQ(RunCli({"draws", "import-table", pl5, csv}).status, 0);
    EXPECT_EQ(
        nlohmann::json::parse(RunCli({"draws", "list", pl5, "--json"}).out)["rows"][1]["numbers"],
        nlohmann::json::parse("[0,0,0,0,9]"));
    const std::string exported = dir.File("pl5.txt");
    ASSERT_EQ(RunCli({"draws", "export", pl5, exported}).status, 0);
    EXPECT_TRUE(ReadWholeFile(exported).ends_with("\r\n35812\r\n00009\r\n"));
    // The service has seven-digit draws only: refused before it is asked.
    const test::CliResult download =
        RunCli({"download", pl5, "--url", "http://127.0.0.1:9/", "--timeout", "100"});
    EXPECT_EQ(download.status, 1);
    EXPECT_EQ(
        download.err,
        "tovarin-cli download: 开奖数据下载只提供七位数的开奖号码，这个码表是排列5，不能下载。"
        "请用“导入开奖数据”导入排列5的开奖数据。\n");
}

}  // namespace
}  // namespace tovarin
