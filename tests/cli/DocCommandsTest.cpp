#include <gtest/gtest.h>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/base/Random.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/PrjTestSupport.h"
#include "core/settings/AppOptions.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;

class DocCommands : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3127000", "5555555"});
        TSeqPrj& first = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TPrjOptions options = first.Options();
        options.TargetSeq = 1;
        options.Large = false;
        options.Middle = false;
        first.SetOptions(options);
        Add(first, 1, "3,7", true, true);
        Add(first, 9, "12与34相配", false, false);
        Add(first, 7, "10", false, true);
        TSeqPrj& second = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        Add(second, 8, "1,x", false, true);
        path = dir.File("doc.lvrn");
        SaveDocument(path, net, projects);
    }

    static void Add(TSeqPrj& project, int kind, const char* param, bool assured, bool checked) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = checked;
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;
};

TEST_F(DocCommands, InfoListsProjectsAndConditions) {
    const test::CliResult result = RunCli({"info", path});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "draws 2\n"
              "projects 2\n"
              "project 1 target 1 tolerance 1 conditions 2/3\n"
              "  [x] 稳上头:[铁]3,7\n"
              "  [ ] 稳搭配:[容]或者12与34相配\n"
              "  [x] 头尾合:[容]10\n"
              "project 2 target 3 tolerance 1 conditions 1/1\n"
              "  [x] 排除合:[容]1,x\n");
}

// The report the command prints is the engine's, line for line.
TEST_F(DocCommands, FilterPrintsTheEnginesReport) {
    const test::CliResult result =
        RunCli({"filter", path, "--set", "DetailEveryChk=1", "--set", "ColsOfLineEd=4", "--set",
                "OutPutPrjOptChk=1", "--status", "--seed", "5"});
    ASSERT_EQ(result.status, 0) << result.err;

    TAppOptions settings;
    settings.DetailEveryChk = true;
    settings.ColsOfLineEd = 4;
    settings.OutPutPrjOptChk = true;
    test::VectorPane pane;
    projects.GetSeqPrj(0).CalcAll(settings, &pane);
    // The header carries the time of the run; compare everything after it.
    std::string expected;
    for (size_t i = 1; i < pane.Lines.size(); ++i) {
        std::string line = pane.Lines[i];
        const size_t crlf = line.find("\r\n");
        if (crlf != std::string::npos) {
            line.replace(crlf, 2, "\n");
        }
        expected += line + "\n";
    }
    const size_t firstBreak = result.out.find('\n');
    EXPECT_EQ(result.out.substr(0, firstBreak).rfind("Tovarin 筛选计算，时间:", 0), 0U);
    EXPECT_EQ(result.out.substr(firstBreak + 1), expected + "STATUS 20 2\n");
    EXPECT_NE(result.out.find("方案选项设置：\n计算目标期:1;"), std::string::npos);
}

TEST_F(DocCommands, FilterOneConditionAndAConversionError) {
    const test::CliResult one = RunCli({"filter", path, "--one", "2", "--status"});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_NE(one.out.find("筛选条件:稳搭配:[容]或者12与34相配\n"), std::string::npos);
    // 8 pairs and the 36 codes that touch neither side; 3xx7 is not one.
    EXPECT_NE(one.out.rfind("第1期最终的筛选结果为总共44个号码\n"), std::string::npos);
    EXPECT_NE(one.out.rfind("\nSTATUS 44 1\n"), std::string::npos) << one.out;

    const test::CliResult bad = RunCli({"filter", path, "--project", "2"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "tovarin-cli filter: 'x' is not a valid integer value\n");
}

TEST_F(DocCommands, SeedFixesTheRandomRecommendation) {
    TSeqPrj& project = projects.GetSeqPrj(0);
    TPrjOptions options = project.Options();
    options.Large = true;
    project.SetOptions(options);
    project.GetBind(0).Assured = false;
    SaveDocument(path, net, projects);
    const test::CliResult a = RunCli({"filter", path, "--seed", "9"});
    const test::CliResult b = RunCli({"filter", path, "--seed", "9"});
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_NE(a.out.find("大范围定位推荐40组(共40组)："), std::string::npos);
    EXPECT_EQ(a.out.substr(a.out.find('\n')), b.out.substr(b.out.find('\n')));
}

TEST_F(DocCommands, ErrorsAndTheirExitStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // expected start of standard error
    };
    WriteFileAtomically(dir.File("bad.lvrn"), std::string("\x05\x00\x00\x00", 4));
    const std::vector<Case> cases = {
        {{"filter", path, "--project", "3"},
         2,
         "tovarin-cli filter: project 3: the document has 2\n"},
        {{"filter", path, "--one", "9"}, 2, "tovarin-cli filter: condition 9: project 1 has 3\n"},
        {{"filter", path, "--project", "x"}, 2, "tovarin-cli filter: "},
        {{"filter", path, "--set", "NoSuchKey=1"}, 2, "tovarin-cli filter: "},
        {{"filter"}, 2, "tovarin-cli filter: missing DOC"},
        {{"info", dir.File("bad.lvrn")},
         1,
         "tovarin-cli info: cannot read " + dir.File("bad.lvrn") +
             ": Draw table at byte 0 announces 5 draws, but only 0 bytes follow\n"},
        {{"info", dir.File("missing.lvrn")},
         1,
         "tovarin-cli info: cannot read " + dir.File("missing.lvrn") + ": "},
        {{"info", path, "extra"}, 2, "tovarin-cli info: unexpected argument extra"},
        {{"frobnicate"}, 2, "tovarin-cli: unknown command frobnicate"},
        {{"draws", "sideways", path, "x"}, 2, "tovarin-cli draws: "},
    };
    for (const Case& c : cases) {
        const test::CliResult result = RunCli(c.args);
        EXPECT_EQ(result.status, c.status) << c.args.front() << ' ' << result.err;
        EXPECT_EQ(result.err.rfind(c.err, 0), 0U) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n') <= 2, true);
    }
}

TEST_F(DocCommands, DrawsExportAndImportThroughTheDocument) {
    const std::string text = dir.File("draws.txt");
    ASSERT_EQ(RunCli({"draws", "export", path, text}).status, 0);
    const std::string exported = ReadWholeFile(text);
    EXPECT_NE(exported.find("3127000\r\n5555555\r\n"), std::string::npos);

    WriteFileAtomically(text, ";comment\r\n1 2 3 4 5 6 7\r\n//x\r\n0001112\r\n");
    const test::CliResult imported = RunCli({"draws", "import", path, text});
    ASSERT_EQ(imported.status, 0) << imported.err;
    TCodeNet loadedNet;
    TPrjMgr loaded(loadedNet);
    LoadDocument(path, loadedNet, loaded);
    ASSERT_EQ(loadedNet.Count(), 2);
    EXPECT_EQ(loadedNet.GetNum(0, 6), 7);
    EXPECT_EQ(loadedNet.GetNum(1, 6), 2);
    EXPECT_EQ(loaded.PrjCount(), 2) << "the projects stay";

    const std::string fresh = dir.File("fresh.lvrn");
    ASSERT_EQ(RunCli({"draws", "import", fresh, text}).status, 0);
    // A new document: 4 + 2 × 28 bytes of draws and an empty project list.
    EXPECT_EQ(ReadWholeFile(fresh).size(), 4U + 56 + 4);

    const std::string before = ReadWholeFile(path);
    EXPECT_EQ(RunCli({"draws", "import", path, dir.File("nothing.txt")}).status, 1);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"doc.lvrn", "draws.txt", "fresh.lvrn"}));
}

}  // namespace
}  // namespace tovarin
