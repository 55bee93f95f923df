// The exact texts and bytes of tovarin-cli's document commands: line ends of
// the report, the draw-table text file, the documents they write, and what
// a failing command leaves on disk.
#include <gtest/gtest.h>

#include <ctime>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"
#include "support/Hex.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::FromHex;

using test::RunCli;

std::string SystemShortDate() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, "%x", &parts));
}

class DocCommandsText : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddDraws(net, {"3127000", "0000009"});
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TBaseBind& bind = project.AddBind(CreateBind(1, project.Options()));
        bind.SetParam("3");
        bind.Assured = true;
        bind.Checked = true;
        path = dir.File("doc.lvrn");
        SaveDocument(path, net, projects);
    }

    void SetTarget(int target) {
        TSeqPrj& project = projects.GetSeqPrj(0);
        TPrjOptions options = project.Options();
        options.TargetSeq = target;
        project.SetOptions(options);
        SaveDocument(path, net, projects);
    }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;
};

// The descriptions carry CR LF inside one line; standard output shows LF
// only, and every line after the header is the report's.
TEST_F(DocCommandsText, FilterReportHasLfLineEndsOnly) {
    SetTarget(1);
    const test::CliResult result =
        RunCli({"filter", path, "--set", "OutPutAppOptChk=1", "--set", "OutPutPrjOptChk=1", "--set",
                "DetailLastChk=0", "--status"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.find('\r'), std::string::npos);
    const size_t body = result.out.find('\n') + 1;
    EXPECT_EQ(result.out.substr(0, body).rfind("Tovarin 筛选计算，时间:", 0), 0U);
    const std::string expected =
        "程序选项设置：\n"
        "显示每步的结果:否;显示最后一步的结果:否;更后自动计算:否;每行输出10个号码;"
        "输出方案的设置:是;输出选项的设置:是;自动核对中奖:是。\n"
        "\n"
        "方案选项设置：\n"
        "计算目标期:1;容错值=1;推荐大范围定位:是;推荐中范围定位:是;推荐小范围定位:否;"
        "推荐细范围定位:否;推荐定位可浮动:是;推荐定位浮动数目:5;推荐码的最小错误值:0。\n"
        "\n"
        "筛选对象的号码数据总共100个号码\n"
        "\n"
        "\n"
        "第1步:稳上头:[铁]3\n"
        "筛选结果为总共10个号码\n"
        "\n"
        "第1期最终的筛选结果为总共10个号码\n"
        "大范围定位推荐40组(共10组)：\n"
        "3xx0 3xx1 3xx2 3xx3 3xx4 3xx5 3xx6 3xx7 3xx8 3xx9 \n"
        "\n"
        "中范围定位推荐30组(共10组)：\n"
        "3xx0 3xx1 3xx2 3xx3 3xx4 3xx5 3xx6 3xx7 3xx8 3xx9 \n"
        "\n"
        "STATUS 10 2\n";
    EXPECT_EQ(result.out.substr(body), expected);
}

TEST_F(DocCommandsText, FilterThatFailsPrintsNoReport) {
    SetTarget(0);
    const test::CliResult result = RunCli({"filter", path, "--status"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "tovarin-cli filter: TCodeNet.GetSeq Error!\n");
}

TEST_F(DocCommandsText, ExportWritesGbkHeaderLinesAndCrLf) {
    const std::string text = dir.File("draws.txt");
    const std::string today = SystemShortDate();
    const test::CliResult result = RunCli({"draws", "export", path, text});
    ASSERT_EQ(result.status, 0) << result.err;
    // ";开奖码表导出" and ";总共2期" in GB2312.
    const std::string header = FromHex("3bbfaabdb1c2ebb1edb5bcb3f60d0a3bd7dcb9b232c6da0d0a");
    const std::string expected =
        header + ";" + today + "\r\n;" + std::string(48, '=') + "\r\n3127000\r\n0000009\r\n";
    EXPECT_EQ(ReadWholeFile(text), expected);
}

TEST_F(DocCommandsText, ImportCreatesADocumentWithNoProjects) {
    const std::string text = dir.File("in.txt");
    // A GBK comment, LF and CR LF line ends, a period number before the digits.
    WriteFileAtomically(text, FromHex("3bbfaabdb1c2ebb1edb5bcb3f60d0a") +
                                  "\n  0 1 2 3 4 5 6  \n2006001 1234567\r\n// 9999999\r\n");
    const std::string fresh = dir.File("new.lvrn");
    const test::CliResult result = RunCli({"draws", "import", fresh, text});
    ASSERT_EQ(result.status, 0) << result.err;
    // Two draws of seven 32-bit digits, then a project count of 0.
    const std::string draws =
        "02000000"
        "00000000010000000200000003000000040000000500000006000000"
        "02000000000000000000000006000000000000000000000001000000";
    EXPECT_EQ(ReadWholeFile(fresh), FromHex(draws + "00000000"));
    EXPECT_EQ(RunCli({"info", fresh}).out, "draws 2\nprojects 0\n");
}

TEST_F(DocCommandsText, EmptyDocumentFileShowsNothing) {
    const std::string empty = dir.File("empty.lvrn");
    WriteFileAtomically(empty, "");
    const test::CliResult result = RunCli({"info", empty});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "draws 0\nprojects 0\n");
}

// A command that fails leaves every file as it was and makes none.
TEST_F(DocCommandsText, FailingCommandsLeaveTheFilesAlone) {
    const std::string corrupt = dir.File("corrupt.lvrn");
    WriteFileAtomically(corrupt, FromHex("0100000009000000"));
    const std::string text = dir.File("in.txt");
    WriteFileAtomically(text, "1234567\r\n");

    const test::CliResult import = RunCli({"draws", "import", corrupt, text});
    EXPECT_EQ(import.status, 1);
    EXPECT_EQ(import.err,
              "tovarin-cli draws import: cannot read " + corrupt +
                  ": Draw table at byte 0 announces 1 draws, but only 4 bytes follow\n");
    EXPECT_EQ(ReadWholeFile(corrupt), FromHex("0100000009000000"));

    const test::CliResult exported = RunCli({"draws", "export", corrupt, dir.File("out.txt")});
    EXPECT_EQ(exported.status, 1);

    const std::string before = ReadWholeFile(path);
    const test::CliResult intoMissingFolder =
        RunCli({"draws", "export", path, dir.File("no-folder/out.txt")});
    EXPECT_EQ(intoMissingFolder.status, 1);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"corrupt.lvrn", "doc.lvrn", "in.txt"}));
}

TEST_F(DocCommandsText, BadArgumentsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"filter", path, "--one", "x"},
        {"filter", path, "--seed"},
        {"filter", path, "--project", "1", "--project", "1"},
        {"draws", "export", path},
        {"draws"},
        {"info"},
    };
    for (const auto& args : cases) {
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << args.back() << ": " << result.err;
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
}  // namespace tovarin
