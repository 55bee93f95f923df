// info --json, read back with nlohmann-json and checked field by field
// against the document it describes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using nlohmann::json;
using test::CliResult;
using test::RunCli;

std::set<std::string> Keys(const json& object) {
    std::set<std::string> keys;
    for (const auto& [key, value] : object.items()) {
        keys.insert(key);
    }
    return keys;
}

// Project 1 has every setting away from its default and three conditions
// with different flags; project 2 is new and empty.
class InfoJson : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3127000", "5555555", "0123456"});
        TSeqPrj& first = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TPrjOptions options = first.Options();
        options.TargetSeq = 3;
        options.MissMax = 2;
        options.Large = false;
        options.LargeSize = 41;
        options.Middle = false;
        options.MiddleSize = 31;
        options.Small = true;
        options.SmallSize = 21;
        options.Tiny = true;
        options.TinySize = 11;
        options.HeadLimit = true;
        options.FloatOn = false;
        options.FloatCount = 6;
        options.RcMissBase = 1;
        first.SetOptions(options);
        Add(first, 1, "3,7", true, false, true);
        Add(first, 9, "12与34相配,5与67相配", false, true, false);
        Add(first, 8, "1,x", false, false, true);
        projects.AddPrj(std::make_unique<TSeqPrj>(net));
        path = dir.File("doc.lvrn");
        SaveDocument(path, net, projects);
    }

    static void Add(TSeqPrj& project, int kind, const char* param, bool assured, bool allMatch,
                    bool checked) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.AllMatch = allMatch;
        bind.Checked = checked;
    }

    json Info() const {
        const CliResult result = RunCli({"info", path, "--json"});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return json::parse(result.out);
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;
};

TEST_F(InfoJson, DrawsAndProjects) {
    const json info = Info();
    EXPECT_EQ(Keys(info), (std::set<std::string>{"draws", "game", "labelled", "projects"}));
    EXPECT_EQ(info.at("draws"), 3);
    EXPECT_EQ(info.at("game"), "seven");
    EXPECT_EQ(info.at("labelled"), 0);
    ASSERT_TRUE(info.at("projects").is_array());
    EXPECT_EQ(info.at("projects").size(), 2u);
}

TEST_F(InfoJson, SettingsUnderTheRecordsFieldNames) {
    const json project = Info().at("projects").at(0);
    EXPECT_EQ(Keys(project), (std::set<std::string>{"TargetSeq", "MissMax", "Large", "LargeSize",
                                                    "Middle", "MiddleSize", "Small", "SmallSize",
                                                    "Tiny", "TinySize", "HeadLimit", "FloatOn",
                                                    "FloatCount", "RcMissBase", "conditions"}));
    EXPECT_EQ(project.at("TargetSeq"), 3);
    EXPECT_EQ(project.at("MissMax"), 2);
    EXPECT_EQ(project.at("Large"), false);
    EXPECT_EQ(project.at("LargeSize"), 41);
    EXPECT_EQ(project.at("Middle"), false);
    EXPECT_EQ(project.at("MiddleSize"), 31);
    EXPECT_EQ(project.at("Small"), true);
    EXPECT_EQ(project.at("SmallSize"), 21);
    EXPECT_EQ(project.at("Tiny"), true);
    EXPECT_EQ(project.at("TinySize"), 11);
    EXPECT_EQ(project.at("HeadLimit"), true);
    EXPECT_EQ(project.at("FloatOn"), false);
    EXPECT_EQ(project.at("FloatCount"), 6);
    EXPECT_EQ(project.at("RcMissBase"), 1);
    EXPECT_TRUE(project.at("Large").is_boolean());
    EXPECT_TRUE(project.at("LargeSize").is_number_integer());

    // A new project aims at the period after the last draw, with the
    // record's other defaults.
    const json fresh = Info().at("projects").at(1);
    const TPrjOptions defaults;
    EXPECT_EQ(fresh.at("TargetSeq"), 4);
    EXPECT_EQ(fresh.at("MissMax"), defaults.MissMax);
    EXPECT_EQ(fresh.at("Large"), defaults.Large);
    EXPECT_EQ(fresh.at("LargeSize"), defaults.LargeSize);
    EXPECT_EQ(fresh.at("FloatOn"), defaults.FloatOn);
    EXPECT_EQ(fresh.at("FloatCount"), defaults.FloatCount);
    EXPECT_EQ(fresh.at("conditions"), json::array());
}

TEST_F(InfoJson, ConditionsWithKindTextParamAndFlags) {
    const json conditions = Info().at("projects").at(0).at("conditions");
    ASSERT_EQ(conditions.size(), 3u);
    for (const json& condition : conditions) {
        EXPECT_EQ(Keys(condition),
                  (std::set<std::string>{"kind", "name", "text", "param", "Checked", "Assured",
                                         "AllMatch", "MultiClause"}));
    }
    const json& head = conditions.at(0);
    EXPECT_EQ(head.at("kind"), 1);
    EXPECT_EQ(head.at("name"), "稳上头");
    EXPECT_EQ(head.at("text"), "稳上头:[铁]3,7");
    EXPECT_EQ(head.at("param"), "3,7");
    EXPECT_EQ(head.at("Checked"), true);
    EXPECT_EQ(head.at("Assured"), true);
    EXPECT_EQ(head.at("AllMatch"), false);
    EXPECT_EQ(head.at("MultiClause"), false);

    const json& pairs = conditions.at(1);
    EXPECT_EQ(pairs.at("kind"), 9);
    EXPECT_EQ(pairs.at("name"), "稳搭配");
    EXPECT_EQ(pairs.at("param"), "12与34相配,5与67相配");
    EXPECT_EQ(pairs.at("text"), "稳搭配:[容]并且12与34相配,并且5与67相配");
    EXPECT_EQ(pairs.at("Checked"), false);
    EXPECT_EQ(pairs.at("Assured"), false);
    EXPECT_EQ(pairs.at("AllMatch"), true);
    EXPECT_EQ(pairs.at("MultiClause"), true);

    // A parameter the engine cannot evaluate is still shown as stored.
    const json& sums = conditions.at(2);
    EXPECT_EQ(sums.at("kind"), 8);
    EXPECT_EQ(sums.at("name"), "排除合");
    EXPECT_EQ(sums.at("param"), "1,x");
    EXPECT_EQ(sums.at("text"), projects.GetSeqPrj(0).GetBind(2).GetText());
}

TEST_F(InfoJson, AnEmptyDocumentIsOneSmallObject) {
    const std::string empty = dir.File("empty.lvrn");
    WriteFileAtomically(empty, "");
    const CliResult result = RunCli({"info", "--json", empty});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(
        result.out,
        "{\n  \"draws\": 0,\n  \"game\": \"seven\",\n  \"labelled\": 0,\n  \"projects\": []\n}\n");
}

// Without --json the lines stay as they were.
TEST_F(InfoJson, TheTextFormIsUnchanged) {
    const CliResult result = RunCli({"info", path});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "draws 3\n"
              "projects 2\n"
              "project 1 target 3 tolerance 2 conditions 2/3\n"
              "  [x] 稳上头:[铁]3,7\n"
              "  [ ] 稳搭配:[容]并且12与34相配,并且5与67相配\n"
              "  [x] 排除合:[容]1,x\n"
              "project 2 target 4 tolerance 1 conditions 0/0\n");
}

}  // namespace
}  // namespace tovarin
