// The backtest command as a user runs it: the JSON object, the readable
// report, the default range and every failure with its exit status.
#include <gmock/gmock.h>
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
using ::testing::HasSubstr;
using Json = nlohmann::json;

std::string DrawOf(TCode code) {
    return {static_cast<char>('0' + code / 10),
            '0',
            '0',
            static_cast<char>('0' + code % 10),
            '0',
            '0',
            '0'};
}

// Draws won by 1xx1 1xx5 5xx1 5xx5; project 1 keeps head 1 and tail 1 as
// tolerance conditions with tolerance 0, project 2 fails every code.
class BacktestCommand : public ::testing::Test {
protected:
    void SetUp() override { Write({11, 15, 51, 55}); }

    void Write(const std::vector<TCode>& winners,
               const std::function<void(TSeqPrj&)>& change = nullptr) {
        TCodeNet net;
        TPrjMgr projects(net);
        std::vector<std::string> draws;
        for (const TCode code : winners) {
            draws.push_back(DrawOf(code));
        }
        test::AddDraws(net, draws);
        TSeqPrj& first = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TPrjOptions options = first.Options();
        options.MissMax = 0;
        options.Middle = false;
        first.SetOptions(options);
        Add(first, 1, "1", false);
        Add(first, 3, "1", false);
        Add(first, 2, "9", true).Checked = false;
        Add(projects.AddPrj(std::make_unique<TSeqPrj>(net)), 1, "", true);
        if (change) {
            change(first);
        }
        path = dir.File("doc.lvrn");
        SaveDocument(path, net, projects);
    }

    static TBaseBind& Add(TSeqPrj& project, int kind, const char* param, bool assured) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = true;
        return bind;
    }

    Json RunJson(std::vector<std::string> args) {
        args.insert(args.begin(), {"backtest", path});
        args.push_back("--json");
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return Json::parse(result.out);
    }

    test::TempDir dir;
    std::string path;
};

TEST_F(BacktestCommand, JsonObject) {
    const Json json = RunJson({"--project", "1"});
    const Json expected = Json::parse(R"({
        "project": 1, "from": 1, "to": 4, "periods": 4, "tolerance": 0, "checked": 2,
        "result": {"codes": 1, "hits": 1, "rate": 0.25, "baseline": 0.01, "lift": 25.0,
                   "p_value": 0.03940399, "longest_miss_run": 3, "current_miss_run": 3},
        "winner_errors": [{"error": -1, "periods": 0}, {"error": 0, "periods": 1},
                          {"error": 1, "periods": 2}, {"error": 2, "periods": 1}],
        "tolerance_curve": [{"tolerance": 0, "codes": 1, "hits": 1},
                            {"tolerance": 1, "codes": 19, "hits": 3},
                            {"tolerance": 2, "codes": 100, "hits": 4}],
        "conditions": [{"step": 1, "text": "稳上头:[容]1", "passed_codes": 10, "winner_passed": 2},
                       {"step": 2, "text": "稳上尾:[容]1", "passed_codes": 10, "winner_passed": 2}],
        "groups": [{"size": 40, "codes": 40, "expected_hits": 3.2592592592592595}]
    })");
    // The tail and the group's 21/81 are compared with a margin; the rest exactly.
    EXPECT_NEAR(json["result"]["p_value"].get<double>(), 1 - 0.99 * 0.99 * 0.99 * 0.99, 1e-15);
    EXPECT_NEAR(json["groups"][0]["expected_hits"].get<double>(), 3 + 21.0 / 81.0, 1e-12);
    Json same = json;
    same["result"]["p_value"] = expected["result"]["p_value"];
    same["groups"][0]["expected_hits"] = expected["groups"][0]["expected_hits"];
    EXPECT_EQ(same, expected);
    EXPECT_FALSE(json.contains("details"));
    // The keys in the documented order.
    const std::string out = RunCli({"backtest", path, "--project", "1", "--json"}).out;
    EXPECT_LT(out.find("\"project\""), out.find("\"from\""));
    EXPECT_LT(out.find("\"result\""), out.find("\"winner_errors\""));
    EXPECT_LT(out.find("\"conditions\""), out.find("\"groups\""));
}

TEST_F(BacktestCommand, DetailsNameTheFailedSteps) {
    const Json json = RunJson({"--project", "1", "--details", "--from", "2", "--to", "3"});
    EXPECT_EQ(json["from"], 2);
    EXPECT_EQ(json["periods"], 2);
    EXPECT_EQ(json["details"], Json::parse(R"([
        {"period": 2, "draw": "1005000", "code": "1xx5", "error": 1, "hit": false,
         "failed_steps": [2]},
        {"period": 3, "draw": "5001000", "code": "5xx1", "error": 1, "hit": false,
         "failed_steps": [1]}])"));
}

TEST_F(BacktestCommand, EmptyResultHasNullLift) {
    const Json json = RunJson({"--project", "2"});
    EXPECT_EQ(json["result"]["codes"], 0);
    EXPECT_TRUE(json["result"]["lift"].is_null());
    EXPECT_EQ(json["result"]["p_value"], 1.0);
    EXPECT_EQ(json["groups"][0]["codes"], 0);
}

TEST_F(BacktestCommand, RangeOfOnePeriod) {
    const Json json = RunJson({"--project", "1", "--from", "1", "--to", "1"});
    EXPECT_EQ(json["periods"], 1);
    EXPECT_EQ(json["result"]["hits"], 1);
    EXPECT_EQ(json["result"]["rate"], 1.0);
    EXPECT_NEAR(json["result"]["p_value"].get<double>(), 0.01, 1e-15);
}

TEST_F(BacktestCommand, DefaultRangeIsTheLastHundredDraws) {
    Write(std::vector<TCode>(150, 11));
    Json json = RunJson({"--project", "1"});
    EXPECT_EQ(json["from"], 51);
    EXPECT_EQ(json["to"], 150);
    json = RunJson({"--project", "1", "--to", "120"});
    EXPECT_EQ(json["from"], 21);
    EXPECT_EQ(json["to"], 120);
    json = RunJson({"--project", "1", "--from", "7"});
    EXPECT_EQ(json["from"], 7);
    EXPECT_EQ(json["to"], 150);
}

TEST_F(BacktestCommand, HelpShowsTheUsage) {
    const test::CliResult result = RunCli({"backtest", "--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.out,
                HasSubstr("backtest DOC --project N [--from P] [--to P] [--details] [--json]"));
}

TEST_F(BacktestCommand, ReadableReport) {
    const test::CliResult result = RunCli({"backtest", path, "--project", "1"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out,
                HasSubstr("方案1回测：第1期至第4期，共4期；容错0，勾选条件2个\n"
                          "近4期中命中1期（25%）；随机选1个号码平均命中0期；"
                          "随机选号命中不少于1期的概率为4%；命中率是随机选号的25.00倍\n"));
    EXPECT_THAT(result.out, HasSubstr("  容错1：保留号码19个，命中3期\n"));
    EXPECT_EQ(result.out.find("每期明细"), std::string::npos);
    EXPECT_EQ(result.out.find("第2期 1005000"), std::string::npos);
    const test::CliResult detailed = RunCli({"backtest", path, "--project", "1", "--details"});
    EXPECT_THAT(detailed.out, HasSubstr("  第2期 1005000 1xx5 错误值:1 失误 未通过:第2步\n"));
}

struct UsageCase {
    std::vector<std::string> args;
    const char* message;
};

TEST_F(BacktestCommand, BadArgumentsAreUsageErrors) {
    const std::vector<UsageCase> cases = {
        {{"--project", "1", "--from", "0"}, "range 0..4 is not within periods 1..4 in order"},
        {{"--project", "1", "--to", "5"}, "range 1..5 is not within periods 1..4 in order"},
        {{"--project", "1", "--to=-2147483648"},
         "range 1..-2147483648 is not within periods 1..4 in order"},
        {{"--project", "1", "--from", "3", "--to", "2"},
         "range 3..2 is not within periods 1..4 in order"},
        {{"--project", "3"}, "project 3: the document has 2"},
        {{"--project", "0"}, "project 0: the document has 2"},
        {{}, "--project is missing"},
        {{"--project", "x"}, "--project needs a number, not x"},
        {{"--project", "1", "--wide"}, "unknown option --wide"},
    };
    const std::string before = ReadWholeFile(path);
    for (const UsageCase& c : cases) {
        std::vector<std::string> args = {"backtest", path};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_EQ(result.err.rfind(std::string("tovarin-cli backtest: ") + c.message, 0), 0U)
            << result.err;
        EXPECT_TRUE(result.out.empty()) << c.message;
    }
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(BacktestCommand, NoDrawsToTest) {
    Write({});
    const test::CliResult result = RunCli({"backtest", path, "--project", "1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli backtest: no draws to test\n");
    EXPECT_TRUE(result.out.empty());
}

TEST_F(BacktestCommand, ConditionThatCannotBeEvaluated) {
    Write({11}, [](TSeqPrj& project) { Add(project, 7, "5,x", false); });
    const std::string before = ReadWholeFile(path);
    const test::CliResult result = RunCli({"backtest", path, "--project", "1", "--json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli backtest: 'x' is not a valid integer value\n");
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(BacktestCommand, ToleranceOutsideTheRange) {
    Write({11}, [](TSeqPrj& project) {
        TPrjOptions options = project.Options();
        options.MissMax = 11;
        project.SetOptions(options);
    });
    const test::CliResult result = RunCli({"backtest", path, "--project", "1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli backtest: TCodes.SetMissCount Is Error!\n");
}

TEST_F(BacktestCommand, UnreadableDocument) {
    const std::string broken = dir.File("broken.lvrn");
    WriteFileAtomically(broken, std::string("\x05\x00\x00\x00", 4));
    const test::CliResult result = RunCli({"backtest", broken, "--project", "1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("tovarin-cli backtest: cannot read " + broken));
}

}  // namespace
}  // namespace tovarin
