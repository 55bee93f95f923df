#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using nlohmann::json;
using test::RunCli;

class StatsCommand : public ::testing::Test {
protected:
    // Heads 1 1 3 1 4, tails 2 5 2 9 2, sums 3 6 5 10 6.
    void SetUp() override {
        five = Write("five.lvrn", {"1992777", "1995777", "3992777", "1999777", "4992777"});
        empty = Write("empty.lvrn", {});
    }

    std::string Write(const std::string& name, const std::vector<std::string>& draws) {
        TCodeNet net;
        TPrjMgr projects(net);
        test::AddDraws(net, draws);
        const std::string path = dir.File(name);
        SaveDocument(path, net, projects);
        return path;
    }

    static json Json(const std::vector<std::string>& args) {
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return json::parse(result.out);
    }

    static void ExpectUsage(const std::vector<std::string>& args, const std::string& message) {
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "tovarin-cli stats: " + message +
                                  "\nUsage: tovarin-cli stats DOC [--last N] "
                                  "[--trend head|tail|sum] [--json]\n");
    }

    test::TempDir dir;
    std::string five;
    std::string empty;
};

TEST_F(StatsCommand, JsonKeysInOrder) {
    const nlohmann::ordered_json object =
        nlohmann::ordered_json::parse(RunCli({"stats", five, "--json"}).out);
    std::vector<std::string> keys;
    for (const auto& entry : object.items()) {
        keys.push_back(entry.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"draws", "from", "to", "window", "head", "tail",
                                              "sum", "code"}));
    EXPECT_EQ(object["draws"], 5);
    EXPECT_EQ(object["from"], 1);
    EXPECT_EQ(object["to"], 5);
    EXPECT_EQ(object["window"], 5);
    EXPECT_EQ(object["head"].size(), 10u);
    EXPECT_EQ(object["tail"].size(), 10u);
    EXPECT_EQ(object["sum"].size(), 19u);
    EXPECT_EQ(object["code"].size(), 100u);
    std::vector<std::string> itemKeys;
    for (const auto& entry : object["head"][0].items()) {
        itemKeys.push_back(entry.key());
    }
    EXPECT_EQ(itemKeys, (std::vector<std::string>{"item", "text", "hits", "expected", "current",
                                                  "max", "average"}));
}

TEST_F(StatsCommand, JsonItemsHoldTheStatistics) {
    const json object = Json({"stats", five, "--json"});
    EXPECT_EQ(object["head"][1], json::parse(R"({"item":1,"text":"1","hits":3,"expected":0.5,
                                                 "current":1,"max":1,"average":0.5})"));
    EXPECT_EQ(object["head"][0], json::parse(R"({"item":0,"text":"0","hits":0,"expected":0.5,
                                                 "current":5,"max":5,"average":5.0})"));
    EXPECT_EQ(object["sum"][6], json::parse(R"({"item":6,"text":"6","hits":2,"expected":0.35,
                                                "current":0,"max":2,"average":1.0})"));
    EXPECT_EQ(object["code"][42], json::parse(R"({"item":42,"text":"4xx2","hits":1,
                                                  "expected":0.05,"current":0,"max":4,
                                                  "average":2.0})"));
    EXPECT_EQ(object["code"][37]["text"], "3xx7");
    // Numbers, not texts, and not rounded.
    EXPECT_TRUE(object["sum"][6]["expected"].is_number_float());
    const json last3 = Json({"stats", five, "--json", "--last", "3"});
    EXPECT_DOUBLE_EQ(last3["tail"][2]["average"].get<double>(), 1.0 / 3.0);
    EXPECT_EQ(last3["from"], 3);
    EXPECT_EQ(last3["to"], 5);
    EXPECT_EQ(last3["window"], 3);
    EXPECT_EQ(last3["draws"], 5);
    EXPECT_EQ(last3["head"][3]["current"], 2);
}

TEST_F(StatsCommand, LastAboveTheRowCountTakesEveryDraw) {
    const json object = Json({"stats", "--last", "1000", five, "--json"});
    EXPECT_EQ(object["window"], 5);
    EXPECT_EQ(object["from"], 1);
    EXPECT_EQ(object, Json({"stats", five, "--json"}));
}

TEST_F(StatsCommand, EmptyTableRunsFromOneToZero) {
    const json object = Json({"stats", empty, "--json", "--trend", "sum"});
    EXPECT_EQ(object["draws"], 0);
    EXPECT_EQ(object["from"], 1);
    EXPECT_EQ(object["to"], 0);
    EXPECT_EQ(object["window"], 0);
    EXPECT_EQ(object["trend"], json::array());
    for (const char* dim : {"head", "tail", "sum", "code"}) {
        for (const json& item : object[dim]) {
            EXPECT_EQ(item["hits"], 0);
            EXPECT_EQ(item["expected"], 0.0);
            EXPECT_EQ(item["current"], 0);
            EXPECT_EQ(item["max"], 0);
            EXPECT_EQ(item["average"], 0.0);
        }
    }
}

TEST_F(StatsCommand, TrendRowsInJson) {
    const json object = Json({"stats", five, "--json", "--trend", "head", "--last", "3"});
    const json expected = json::parse(R"([
        {"period":3,"draw":"3992777","omission":[3,1,3,0,3,3,3,3,3,3]},
        {"period":4,"draw":"1999777","omission":[4,0,4,1,4,4,4,4,4,4]},
        {"period":5,"draw":"4992777","omission":[5,1,5,2,0,5,5,5,5,5]}])");
    EXPECT_EQ(object["trend"], expected);
    const json tails = Json({"stats", five, "--json", "--trend", "tail"});
    ASSERT_EQ(tails["trend"].size(), 5u);
    EXPECT_EQ(tails["trend"][4]["omission"], json::parse("[5,5,0,5,5,3,5,5,5,1]"));
    const json sums = Json({"stats", five, "--json", "--trend", "sum"});
    EXPECT_EQ(sums["trend"][0]["omission"].size(), 19u);
    EXPECT_EQ(sums["trend"][4]["omission"][6], 0);
    EXPECT_EQ(sums["trend"][4]["omission"][3], 4);
    EXPECT_FALSE(Json({"stats", five, "--json"}).contains("trend"));
}

TEST_F(StatsCommand, ReadableTables) {
    const test::CliResult result = RunCli({"stats", five, "--last", "2"});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string start =
        "号码统计（开奖号码共5期）\n"
        "\n"
        "头数统计（第4期至第5期，共2期）\n"
        "头数      出现次数  理论次数  当前遗漏  最大遗漏  平均遗漏\n"
        "0         0         0.20      5         5         2.00\n"
        "1         1         0.20      1         1         0.50\n";
    EXPECT_EQ(result.out.substr(0, start.size()), start);
    EXPECT_NE(result.out.find("\n\n头尾码统计（第4期至第5期，共2期）\n头尾码    出现次数"),
              std::string::npos);
    EXPECT_TRUE(result.out.ends_with("9xx9      0         0.02      5         5         2.00\n"));
}

TEST_F(StatsCommand, ReadableTrend) {
    const test::CliResult result = RunCli({"stats", five, "--trend", "head", "--last", "2"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(
        result.out.ends_with("\n头数走势（第4期至第5期，共2期）\n"
                             "    期号  开奖号码   0   1   2   3   4   5   6   7   8   9\n"
                             "       4  1999777    4   0   4   1   4   4   4   4   4   4\n"
                             "       5  4992777    5   1   5   2   0   5   5   5   5   5\n"))
        << result.out;
}

// The statistics and the trend of the command against a count done the
// plain way, draw by draw: documents of 0, 1, 7, 30 and 400 draws, windows
// of 1, 5 and 30 draws and every draw.
class StatsOracle : public StatsCommand {
protected:
    // Heads 0-6 only, so that 7, 8 and 9 never come out; tails of every
    // digit, 0 rarer than the rest, so that its runs grow long.
    static std::vector<std::string> Draws(int count) {
        std::vector<std::string> draws;
        unsigned value = 4242;
        for (int i = 0; i < count; ++i) {
            value = value * 1103515245u + 12345u;
            const unsigned tail = (value >> 12) % 23 == 0 ? 0 : 1 + (value >> 16) % 9;
            std::string digits = "0000000";
            digits[0] = static_cast<char>('0' + (value >> 8) % 7);
            digits[3] = static_cast<char>('0' + ((value >> 20) % 31 == 0 ? 0 : tail));
            draws.push_back(digits);
        }
        return draws;
    }

    static int ItemOf(const std::string& dim, const std::string& draw) {
        const int head = draw[0] - '0';
        const int tail = draw[3] - '0';
        if (dim == "head") {
            return head;
        }
        if (dim == "tail") {
            return tail;
        }
        return dim == "sum" ? head + tail : head * 10 + tail;
    }

    static int ItemCount(const std::string& dim) {
        return dim == "sum" ? 19 : dim == "code" ? 100 : 10;
    }

    // Chance in hundredths of a uniform draw.
    static int Chance(const std::string& dim, int item) {
        if (dim == "sum") {
            return item <= 9 ? item + 1 : 19 - item;
        }
        return dim == "code" ? 1 : 10;
    }

    static void ExpectItems(const json& got, const std::string& dim,
                            const std::vector<std::string>& draws, int first) {
        const int count = static_cast<int>(draws.size());
        ASSERT_EQ(got[dim].size(), static_cast<size_t>(ItemCount(dim)));
        for (int item = 0; item < ItemCount(dim); ++item) {
            SCOPED_TRACE(dim + " item " + std::to_string(item));
            int hits = 0;
            int last = -1;
            int longest = 0;
            int runStart = 0;
            for (int row = 0; row < count; ++row) {
                if (ItemOf(dim, draws[static_cast<size_t>(row)]) != item) {
                    continue;
                }
                hits += row >= first ? 1 : 0;
                // The run before this draw reaches into the window.
                if (row - 1 >= first) {
                    longest = std::max(longest, row - runStart);
                }
                runStart = row + 1;
                last = row;
            }
            if (count > 0) {
                longest = std::max(longest, count - runStart);
            }
            const int window = count - first;
            const json& entry = got[dim][static_cast<size_t>(item)];
            EXPECT_EQ(entry["hits"], hits);
            EXPECT_DOUBLE_EQ(entry["expected"].get<double>(), window * Chance(dim, item) / 100.0);
            EXPECT_EQ(entry["current"], count - 1 - last);
            EXPECT_EQ(entry["max"], longest);
            EXPECT_DOUBLE_EQ(entry["average"].get<double>(),
                             static_cast<double>(window - hits) / (hits + 1));
        }
    }

    static void ExpectTrend(const json& got, const std::string& dim,
                            const std::vector<std::string>& draws, int first) {
        const int count = static_cast<int>(draws.size());
        ASSERT_EQ(got["trend"].size(), static_cast<size_t>(count - first));
        for (int row = first; row < count; ++row) {
            std::vector<int> omissions;
            for (int item = 0; item < ItemCount(dim); ++item) {
                int since = row;
                while (since >= 0 && ItemOf(dim, draws[static_cast<size_t>(since)]) != item) {
                    --since;
                }
                omissions.push_back(row - since);
            }
            const json& line = got["trend"][static_cast<size_t>(row - first)];
            EXPECT_EQ(line["period"], row + 1);
            EXPECT_EQ(line["draw"], draws[static_cast<size_t>(row)]);
            EXPECT_EQ(line["omission"], json(omissions)) << "row " << row;
        }
    }
};

TEST_F(StatsOracle, AgreesWithAPlainCount) {
    for (const int size : {0, 1, 7, 30, 400}) {
        const std::vector<std::string> draws = Draws(size);
        const std::string doc = Write("oracle" + std::to_string(size) + ".lvrn", draws);
        for (const int last : {1, 5, 30, 0}) {
            const int window = last == 0 ? size : std::min(last, size);
            const int first = size - window;
            for (const std::string dim : {"head", "tail", "sum"}) {
                SCOPED_TRACE(std::to_string(size) + " draws, last " + std::to_string(last) +
                             ", trend " + dim);
                std::vector<std::string> args = {"stats", doc, "--json", "--trend", dim};
                if (last > 0) {
                    args.insert(args.end(), {"--last", std::to_string(last)});
                }
                const json got = Json(args);
                EXPECT_EQ(got["draws"], size);
                EXPECT_EQ(got["window"], window);
                EXPECT_EQ(got["from"], window == 0 ? 1 : first + 1);
                EXPECT_EQ(got["to"], size);
                for (const std::string item : {"head", "tail", "sum", "code"}) {
                    ExpectItems(got, item, draws, first);
                }
                ExpectTrend(got, dim, draws, first);
            }
        }
    }
}

TEST_F(StatsCommand, BadArguments) {
    ExpectUsage({"stats", five, "--last", "0"}, "--last needs a number of 1 or more, not 0");
    ExpectUsage({"stats", five, "--last", "-3"}, "--last needs a number of 1 or more, not -3");
    ExpectUsage({"stats", five, "--last", "ten"}, "--last needs a number, not ten");
    ExpectUsage({"stats", five, "--last", "99999999999"}, "--last needs a number, not 99999999999");
    ExpectUsage({"stats", five, "--last"}, "--last needs a value");
    ExpectUsage({"stats", five, "--trend", "code"}, "unknown --trend code (head, tail or sum)");
    ExpectUsage({"stats", five, "--trend", "HEAD"}, "unknown --trend HEAD (head, tail or sum)");
    ExpectUsage({"stats", "--json"}, "missing DOC");
    ExpectUsage({"stats", five, five}, "unexpected argument " + five);
    ExpectUsage({"stats", five, "--jsn"}, "unknown option --jsn");
    ExpectUsage({"stats", five, "--last", "3", "--last", "4"}, "--last given more than once");
    ExpectUsage({"stats", five, "--json=yes"}, "--json takes no value");
}

TEST_F(StatsCommand, UnreadableDocument) {
    const test::CliResult result = RunCli({"stats", dir.File("missing.lvrn"), "--json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "tovarin-cli stats: cannot read " + dir.File("missing.lvrn") +
                              ": Unable to open " + dir.File("missing.lvrn") +
                              ": No such file or directory\n");
}

}  // namespace
}  // namespace tovarin
