// tovarin-cli filter --record and --target, and the ledger command.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/engine/Prj.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using Json = nlohmann::ordered_json;
using test::RunCli;

// Two draws labelled 2026149 and 26150 and two projects whose target is 3:
// project 1 keeps heads 3 and 7 (20 codes), project 2 every code.
class LedgerCommand : public ::testing::Test {
protected:
    void SetUp() override {
        doc = dir.File("doc.lvrn");
        WriteFileAtomically(
            doc, ReadWholeFile(std::string(TOVARIN_TEST_DATA) + "/documents/labelled.lvrn"));
    }
    test::CliResult Record(const std::string& project, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"filter", doc, "--project", project, "--record"};
        args.insert(args.end(), more.begin(), more.end());
        return RunCli(args);
    }
    void AddDraw(const std::string& label, const std::string& digits) {
        const std::string csv = dir.File("draw.csv");
        WriteFileAtomically(csv, "期号,开奖日期,开奖号码\n" + label + ",," + digits + "\n");
        ASSERT_EQ(RunCli({"draws", "import-table", doc, csv, "--append"}).status, 0);
    }
    Json Ledger(std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"ledger", doc, "--json"};
        args.insert(args.end(), more.begin(), more.end());
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return Json::parse(result.out);
    }

    test::TempDir dir;
    std::string doc;
};

TEST_F(LedgerCommand, RecordingRefusalsLeaveTheDocumentUntouched) {
    const std::string before = ReadWholeFile(doc);
    const test::CliResult drawn = Record("1", {"--target", "2"});
    EXPECT_EQ(drawn.status, 1);
    EXPECT_EQ(drawn.err, "tovarin-cli filter: 第26150期已开奖，不能记录预测\n");
    EXPECT_NE(drawn.out.find("第2期最终的筛选结果为总共20个号码"), std::string::npos);
    for (const char* target : {"0", "1004"}) {
        const test::CliResult outside = Record("1", {"--target", target});
        EXPECT_EQ(outside.status, 2) << target;
        EXPECT_EQ(outside.err, std::string("tovarin-cli filter: target ") + target +
                                   " is not within periods 1..1003\n");
    }
    EXPECT_EQ(ReadWholeFile(doc), before);
    EXPECT_EQ(RunCli({"filter", doc, "--target", "1003"}).status, 0);
}

TEST_F(LedgerCommand, EntriesSummaryAndChainAsJson) {
    ASSERT_EQ(Record("1", {"--seed", "1"}).status, 0);
    ASSERT_EQ(Record("2").status, 0);
    ASSERT_EQ(Record("1", {"--target", "4", "--seed", "2"}).status, 0);
    ASSERT_EQ(Record("1", {"--target", "4", "--seed", "3"}).status, 0);
    // The stored project keeps its own target.
    EXPECT_NE(RunCli({"info", doc}).out.find("project 1 target 3 "), std::string::npos);
    AddDraw("2026151", "3581297");

    const Json json = Ledger();
    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"entries", "summary", "chain"}));
    ASSERT_EQ(json["entries"].size(), 3U);
    Json first = json["entries"][0];
    EXPECT_TRUE(std::regex_match(first["recorded_at"].get<std::string>(),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")));
    EXPECT_EQ(first["hash"].get<std::string>().size(), 64U);
    first.erase("recorded_at");
    first.erase("hash");
    first.erase("codes");
    first.erase("groups");
    EXPECT_EQ(first, Json::parse(R"({"seq": 1, "project": 1, "period": 3, "label": "26151",
        "based_on": {"draws": 2, "label": "26150"}, "tolerance": 1,
        "conditions": ["稳上头:[铁]3,7", "稳搭配:[容]或者12与34相配,或者5与67相配"],
        "replaced": 0, "settled": true, "draw": "3581297", "winner": "3xx1", "hit": true,
        "error": 0, "group_hits": [true, true]})"));
    EXPECT_EQ(json["entries"][0]["codes"].size(), 20U);
    EXPECT_EQ(json["entries"][0]["codes"][0], "3xx0");
    EXPECT_EQ(json["entries"][0]["groups"][0]["size"], 40);
    const Json& open = json["entries"][2];
    EXPECT_EQ(open["seq"], 4);
    EXPECT_EQ(open["replaced"], 1);
    EXPECT_EQ(open["label"], "26152");
    for (const char* key : {"draw", "winner", "hit", "error", "group_hits"}) {
        EXPECT_TRUE(open[key].is_null()) << key;
    }
    EXPECT_FALSE(open["settled"].get<bool>());
    EXPECT_EQ(json["summary"], Json::parse(R"({"entries": 3, "settled": 2, "hits": 2,
        "expected": 1.2, "rate": 1.0, "baseline": 0.6, "lift": 1.6666666666666667,
        "p_value": 0.2, "enough": false})"));
    EXPECT_EQ(json["chain"], "ok");

    EXPECT_EQ(Ledger({"--all"})["entries"].size(), 4U);
    EXPECT_EQ(Ledger({"--project", "2"})["entries"].size(), 1U);
    const test::CliResult text = RunCli({"ledger", doc, "--project", "2"});
    EXPECT_EQ(text.out.rfind("#2 方案2 第3期 26151 ", 0), 0U) << text.out;
    EXPECT_NE(text.out.find("\n共记录1期，已开奖1期，命中1期（100%）；"), std::string::npos);
    EXPECT_NE(text.out.find("\n样本不足30期，结论还不可靠\n"), std::string::npos);
}

TEST_F(LedgerCommand, VerifyNamesTheFirstBrokenEntry) {
    ASSERT_EQ(Record("1").status, 0);
    ASSERT_EQ(Record("2").status, 0);
    EXPECT_EQ(RunCli({"ledger", doc, "--verify"}).status, 0);
    std::string image = ReadWholeFile(doc);
    // The last digit of the second entry's target label, 26151.
    const size_t at = image.rfind(
                          "\x05"
                          "26151") +
                      5;
    ASSERT_EQ(image[at], '1');
    image[at] = '2';
    WriteFileAtomically(doc, image);
    const test::CliResult result = RunCli({"ledger", doc, "--verify"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli ledger: 指纹链在第2条记录处断开：记录在保存之后被改动过\n");
    EXPECT_EQ(Ledger()["chain"], "broken at 2");
}

}  // namespace
}  // namespace tovarin
