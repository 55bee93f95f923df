#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Bind.h"
#include "core/engine/Prj.h"
#include "core/settings/AppOptions.h"
#include "core/settings/Settings.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::CliResult;
using test::RunCli;

// The settings a command takes from --settings and --set, seen through the
// summary that a filtering run with OutPutAppOptChk prints first.
class SettingsArgs : public ::testing::Test {
protected:
    void SetUp() override {
        const int row = net.Add();
        for (int pos = 0; pos < 7; ++pos) {
            net.SetNum(row, pos, pos);
        }
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TBaseBind& bind = project.AddBind(CreateBind(1, project.Options()));
        bind.SetParam("3,7");
        bind.Checked = true;
        doc = dir.File("doc.lvrn");
        SaveDocument(doc, net, projects);
        ini = dir.File("ormelux.ini");
    }

    // The summary as the command prints it: report lines end in a bare LF.
    static std::string Summary(const TAppOptions& options) {
        std::string text = DescribeAppOptions(options);
        text.replace(text.find("\r\n"), 2, "\n");
        return text + "\n";
    }
    std::string ReadBack() const { return ReadWholeFile(ini); }

    test::TempDir dir;
    TCodeNet net;
    TPrjMgr projects{net};
    std::string doc;
    std::string ini;
};

TEST_F(SettingsArgs, SettingsFileIsReadAsAtStartUp) {
    TAppOptions stored;
    stored.OutPutAppOptChk = true;
    stored.AutoVerifyChk = false;
    stored.DetailEveryChk = true;
    stored.ColsOfLineEd = 50;  // read back as 30
    SaveAppOptions(stored, "", ini);
    const CliResult result = RunCli({"filter", doc, "--settings", ini});
    EXPECT_EQ(result.status, 0) << result.err;
    TAppOptions expected = stored;
    expected.ColsOfLineEd = 30;
    EXPECT_NE(result.out.find(Summary(expected)), std::string::npos) << result.out;
}

TEST_F(SettingsArgs, SetAppliesAfterTheFile) {
    TAppOptions stored;
    stored.OutPutAppOptChk = true;
    stored.AutoCalcChk = true;
    SaveAppOptions(stored, "", ini);
    const std::string before = ReadBack();
    const CliResult result = RunCli(
        {"filter", "--set", "ColsOfLineEd=7", doc, "--settings", ini, "--set", "AutoCalcChk=0"});
    EXPECT_EQ(result.status, 0) << result.err;
    TAppOptions expected = stored;
    expected.ColsOfLineEd = 7;
    expected.AutoCalcChk = false;
    EXPECT_NE(result.out.find(Summary(expected)), std::string::npos) << result.out;
    // Other commands only read the settings file.
    EXPECT_EQ(ReadBack(), before);
}

TEST_F(SettingsArgs, MissingFileGivesTheDefaults) {
    const CliResult result =
        RunCli({"filter", doc, "--settings", dir.File("none.ini"), "--set", "OutPutAppOptChk=1"});
    EXPECT_EQ(result.status, 0) << result.err;
    TAppOptions expected;
    expected.OutPutAppOptChk = true;
    EXPECT_NE(result.out.find(Summary(expected)), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
}

TEST_F(SettingsArgs, WithoutSettingsNoSummary) {
    const CliResult result = RunCli({"filter", doc});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.find("程序选项设置："), std::string::npos);
}

TEST_F(SettingsArgs, BadSetIsAUsageError) {
    const CliResult result = RunCli({"filter", doc, "--set", "ColsOfLineEd=many"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(
        result.err,
        "tovarin-cli filter: --set ColsOfLineEd=many: Setting ColsOfLineEd needs a decimal "
        "integer, not 'many'\n"
        "Usage: tovarin-cli filter DOC [--project N] [--one K] [--seed S] [--target P] [--record] "
        "[--settings INI] "
        "[--set KEY=VALUE]... [--status]\n");
    EXPECT_EQ(result.out, "");
}

TEST_F(SettingsArgs, UnreadableMemberDataIsAWarning) {
    const std::string broken = std::string(TOVARIN_TEST_DATA) + "/settings/broken-member.ini";
    const CliResult result = RunCli({"filter", doc, "--settings", broken});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err.rfind("warning: " + broken + ": userName has a broken % escape", 0), 0U)
        << result.err;
}

}  // namespace
}  // namespace tovarin
