#include <gtest/gtest.h>

#include <algorithm>

#include "cli/CliRunner.h"
#include "core/analyses/Analyses.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/PrjTestSupport.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;

// Lines joined as standard output shows them, without the header line,
// which carries the time.
std::string AfterHeader(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 1; i < lines.size(); ++i) {
        text += lines[i] + "\n";
    }
    return text;
}

std::string AfterHeader(const std::string& out) { return out.substr(out.find('\n') + 1); }

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Draws 3 1 5 7 ... (period 1) and 0 0 0 0 ...; project 1 aims at period 1
// and keeps heads 3 and 7, project 2 aims after the last draw, project 3
// has a tolerance condition.
class AnalyseCommand : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3157246", "0000000"});
        TSeqPrj& first = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TPrjOptions options = first.Options();
        options.TargetSeq = 1;
        options.Large = false;
        options.Middle = false;
        first.SetOptions(options);
        Add(first, 1, "3,7", true);
        Add(projects.AddPrj(std::make_unique<TSeqPrj>(net)), 1, "2,3", true);
        TSeqPrj& third = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        Add(third, 1, "3", false);
        Add(third, 3, "7,8", false);
        path = dir.File("doc.lvrn");
        SaveDocument(path, net, projects);
    }

    static void Add(TSeqPrj& project, int kind, const char* param, bool assured) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = true;
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;
};

struct KindCase {
    const char* kind;
    TAnalysisKind analysis;
    const char* header;
};

// Each analysis prints the engine's lines after a run of the project.
TEST_F(AnalyseCommand, EveryProjectAnalysisPrintsTheEnginesLines) {
    const std::vector<KindCase> cases = {
        {"double", TAnalysisKind::Double, "Tovarin 重对区分，时间:"},
        {"single", TAnalysisKind::Single, "Tovarin 单双区分，时间:"},
        {"head", TAnalysisKind::Head, "Tovarin 头数区分，时间:"},
        {"size", TAnalysisKind::SmallBig, "Tovarin 大小区分，时间:"},
        {"missstat", TAnalysisKind::MissStat, "Tovarin 容错统计，时间:"},
        {"missview", TAnalysisKind::MissView, "Tovarin 容错透视，时间:"},
        {"base", TAnalysisKind::BaseCode, "Tovarin 显示基础号码，时间:"},
    };
    TAppOptions settings;
    settings.ColsOfLineEd = 7;
    TSeqPrj& third = projects.GetSeqPrj(2);
    third.CalcAll(settings, nullptr);
    for (const KindCase& c : cases) {
        const test::CliResult result = RunCli(
            {"analyse", path, "--kind", c.kind, "--project", "3", "--set", "ColsOfLineEd=7"});
        ASSERT_EQ(result.status, 0) << c.kind << ' ' << result.err;
        EXPECT_EQ(result.out.rfind(c.header, 0), 0u) << result.out;
        EXPECT_EQ(AfterHeader(result.out), AfterHeader(BuildAnalysis(c.analysis, third, settings)))
            << c.kind;
    }
}

// The analyses read a fresh run, not the all-100 result of a loaded project.
TEST_F(AnalyseCommand, TheFirstProjectByDefaultAfterARun) {
    const test::CliResult result = RunCli({"analyse", path, "--kind", "double"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\n本方案的结果码集总共有20个合格号码\n"), std::string::npos);
    EXPECT_NE(result.out.find("\n其中双重码总共2个：\n3xx3 7xx7 \n\n"), std::string::npos);
}

TEST_F(AnalyseCommand, ContrastComparesInTheGivenOrder) {
    const test::CliResult result =
        RunCli({"analyse", path, "--kind", "contrast", "--project", "2", "--project", "1"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<TSeqPrj*> order = {&projects.GetSeqPrj(1), &projects.GetSeqPrj(0)};
    EXPECT_EQ(AfterHeader(result.out), AfterHeader(ContrastReport(order, TAppOptions{})));
    EXPECT_NE(result.out.find("\n方案1目标期号:3期;全部条件1个;勾选条件1个\n"), std::string::npos);
    EXPECT_NE(result.out.find("\n所有方案的共同码集总共有10个合格号码:\n3xx0 3xx1 "),
              std::string::npos);
}

// Every 3xx7 of the report is wrapped, and only those.
TEST_F(AnalyseCommand, VerifyMarksEveryOccurrenceOfTheWinningCode) {
    const test::CliResult result = RunCli({"analyse", path, "--kind", "verify"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("3xx6 <<3xx7>> 3xx8 "), std::string::npos) << result.out;
    EXPECT_EQ(Occurrences(result.out, "<<3xx7>>"), Occurrences(result.out, "3xx7"));
    EXPECT_EQ(Occurrences(result.out, "<<"), 1u);

    std::string plain = result.out;
    for (size_t at; (at = plain.find("<<")) != std::string::npos;) {
        plain.erase(at, 2);
        plain.erase(plain.find(">>", at), 2);
    }
    test::VectorPane pane;
    projects.GetSeqPrj(0).CalcAll(TAppOptions{}, &pane);
    EXPECT_EQ(AfterHeader(plain), AfterHeader(pane.Lines));
    EXPECT_EQ(plain.rfind("Tovarin 筛选计算，时间:", 0), 0u);
}

TEST_F(AnalyseCommand, VerifyMarksTheListingsOfEverySteps) {
    const test::CliResult result = RunCli({"analyse", path, "--kind", "verify", "--set",
                                           "DetailEveryChk=1", "--set", "ColsOfLineEd=4"});
    ASSERT_EQ(result.status, 0) << result.err;
    // Once after the step and once in the final listing.
    EXPECT_EQ(Occurrences(result.out, "<<3xx7>>"), 2u);
    EXPECT_NE(result.out.find("\n3xx4 3xx5 3xx6 <<3xx7>> \n"), std::string::npos);
}

TEST_F(AnalyseCommand, VerifyWithoutTheTargetDraw) {
    const test::CliResult result = RunCli({"analyse", path, "--kind", "verify", "--project", "2"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "tovarin-cli analyse: 第3期开奖号码还没有！\n");
}

TEST_F(AnalyseCommand, ErrorsAndTheirExitStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // expected start of standard error
    };
    WriteFileAtomically(dir.File("bad.lvrn"), std::string("\x05\x00\x00\x00", 4));
    const std::vector<Case> cases = {
        {{"analyse", path}, 2, "tovarin-cli analyse: --kind is missing"},
        {{"analyse", path, "--kind", "colour"}, 2, "tovarin-cli analyse: unknown --kind colour"},
        {{"analyse", path, "--kind", "contrast", "--project", "1"},
         2,
         "tovarin-cli analyse: contrast needs two or more --project"},
        {{"analyse", path, "--kind", "contrast"}, 2, "tovarin-cli analyse: contrast needs"},
        {{"analyse", path, "--kind", "double", "--project", "1", "--project", "2"},
         2,
         "tovarin-cli analyse: double takes one --project"},
        {{"analyse", path, "--kind", "head", "--project", "x"}, 2, "tovarin-cli analyse: "},
        {{"analyse", "--kind", "head"}, 2, "tovarin-cli analyse: missing DOC"},
        {{"analyse", path, "--kind", "head", "--project", "4"},
         2,
         "tovarin-cli analyse: project 4: the document has 3\n"},
        {{"analyse", path, "--kind", "contrast", "--project", "1", "--project", "0"},
         2,
         "tovarin-cli analyse: project 0: the document has 3\n"},
        {{"analyse", dir.File("bad.lvrn"), "--kind", "base"},
         1,
         "tovarin-cli analyse: cannot read " + dir.File("bad.lvrn") +
             ": Draw table at byte 0 announces 5 draws, but only 0 bytes follow\n"},
    };
    for (const Case& c : cases) {
        const test::CliResult result = RunCli(c.args);
        EXPECT_EQ(result.status, c.status) << c.args.back() << ' ' << result.err;
        EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
}  // namespace tovarin
