#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempDir;

const std::string kSamples = std::string(TOVARIN_TEST_DATA) + "/settings/";

const std::string kDefaultSummary =
    "程序选项设置：\r\n"
    "显示每步的结果:否;显示最后一步的结果:是;更后自动计算:否;每行输出10个号码;"
    "输出方案的设置:否;输出选项的设置:否;自动核对中奖:是。\n";

const std::string kDefaultLines =
    "userName=\n"
    "userPW=\n"
    "OpenLastChk=0\n"
    "LastDoc=工作文档.lvrn\n"
    "AutoSaveChk=0\n"
    "AutoSaveEd=5\n"
    "DetailEveryChk=0\n"
    "DetailLastChk=1\n"
    "SplitByLineChk=0\n"
    "ViewStyle=0\n"
    "AutoCalcChk=0\n"
    "AutoVerifyChk=1\n"
    "OutPutPrjOptChk=0\n"
    "OutPutAppOptChk=0\n"
    "ColsOfLineEd=10\n";

// The output with some lines of the defaults replaced.
std::string Lines(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::string lines = kDefaultLines;
    for (const auto& [key, value] : changes) {
        const size_t start = lines.find("\n" + key + "=") + 1;
        const size_t end = lines.find('\n', start);
        lines.replace(start, end - start, key + "=" + value);
    }
    return lines;
}

TEST(SettingsCommand, MissingFileShowsTheDefaultsAndWritesNothing) {
    TempDir dir;
    const CliResult result = RunCli({"settings", dir.File("ormelux.ini")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, kDefaultLines + kDefaultSummary);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(dir.Names().empty());
}

TEST(SettingsCommand, SetWritesTheFileAndTheProgramReadsItBack) {
    TempDir dir;
    const std::string ini = dir.File("ormelux.ini");
    const CliResult set =
        RunCli({"settings", ini, "--set", "userName=张三", "--set", "userPW= p%w ", "--set",
                "AutoCalcChk=1", "--set", "ColsOfLineEd=30", "--set", "ViewStyle=2"});
    EXPECT_EQ(set.status, 0) << set.err;
    const std::string changed = Lines({{"userName", "张三"},
                                       {"userPW", " p%w "},
                                       {"AutoCalcChk", "1"},
                                       {"ViewStyle", "2"},
                                       {"ColsOfLineEd", "30"}});
    EXPECT_EQ(set.out.substr(0, changed.size()), changed);
    EXPECT_NE(set.out.find(";更后自动计算:是;每行输出30个号码;"), std::string::npos);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ormelux.ini"});
    const std::string file = ReadWholeFile(ini);
    EXPECT_EQ(file.find("张三"), std::string::npos);             // neither UTF-8 ...
    EXPECT_EQ(file.find(Utf8ToGbk("张三")), std::string::npos);  // ... nor plain GBK
    EXPECT_NE(file.find("\r\nuserName=@U}\xD7\r\n"), std::string::npos);

    // Read as at start-up.
    const CliResult read = RunCli({"settings", ini});
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out.substr(0, changed.size()), changed);
    EXPECT_EQ(ReadWholeFile(ini), file);  // no --set, no write
}

TEST(SettingsCommand, HandEditedFile) {
    TempDir dir;
    const std::string ini = dir.File("ormelux.ini");
    const std::string before = ReadWholeFile(kSamples + "gbk-crlf.ini");
    WriteFileAtomically(ini, before);
    const CliResult result = RunCli({"settings", ini});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              Lines({{"userName", "张三"},
                     {"userPW", "pw 1"},
                     {"DetailEveryChk", "1"},
                     {"DetailLastChk", "0"},
                     {"AutoCalcChk", "1"},
                     {"ColsOfLineEd", "30"}}) +
                  "程序选项设置：\r\n"
                  "显示每步的结果:是;显示最后一步的结果:否;更后自动计算:是;每行输出30个号码;"
                  "输出方案的设置:否;输出选项的设置:否;自动核对中奖:是。\n");
    EXPECT_EQ(ReadWholeFile(ini), before);
}

TEST(SettingsCommand, LaterSetWins) {
    TempDir dir;
    const CliResult result =
        RunCli({"settings", "--set", "AutoCalcChk=1", dir.File("a.ini"), "--set", "AutoCalcChk=0"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, kDefaultLines + kDefaultSummary);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.ini"});
}

TEST(SettingsCommand, BadArgumentsAreUsageErrorsAndWriteNothing) {
    TempDir dir;
    const std::string ini = dir.File("ormelux.ini");
    ASSERT_EQ(RunCli({"settings", ini, "--set", "AutoCalcChk=1"}).status, 0);
    const std::string before = ReadWholeFile(ini);
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"settings", ini, "--set", "NoSuchKey=1"},
         "tovarin-cli settings: --set NoSuchKey=1: Unknown setting NoSuchKey\n"},
        {{"settings", ini, "--set", "AutoCalcChk"},
         "tovarin-cli settings: --set needs KEY=VALUE, not AutoCalcChk\n"},
        {{"settings", ini, "--set", "DetailLastChk=1", "--set", "AutoSaveEd=ten"},
         "tovarin-cli settings: --set AutoSaveEd=ten: Setting AutoSaveEd needs a decimal "
         "integer, not 'ten'\n"},
        {{"settings", ini, "--set", "ViewStyle=3"},
         "tovarin-cli settings: --set ViewStyle=3: Setting ViewStyle needs a number from 0 to 2, "
         "not '3'\n"},
        {{"settings", ini, "--set", "AutoSaveEd=71583"},
         "tovarin-cli settings: --set AutoSaveEd=71583: Setting AutoSaveEd needs a number from 1 "
         "to 100, not '71583'\n"},
        {{"settings", ini, "--set", "ColsOfLineEd=50"},
         "tovarin-cli settings: --set ColsOfLineEd=50: Setting ColsOfLineEd needs a number from 4 "
         "to 30, not '50'\n"},
        {{"settings", ini, "--set"}, "tovarin-cli settings: --set needs a value\n"},
        {{"settings"}, "tovarin-cli settings: missing INI\n"},
        {{"settings", ini, "other.ini"}, "tovarin-cli settings: unexpected argument other.ini\n"},
    };
    for (const auto& [args, message] : rows) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_EQ(result.err, message + "Usage: tovarin-cli settings INI [--set KEY=VALUE]...\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(ReadWholeFile(ini), before);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ormelux.ini"});
}

TEST(SettingsCommand, UnreadableMemberDataIsAWarning) {
    const CliResult result = RunCli({"settings", kSamples + "broken-member.ini"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, kDefaultLines.size()), Lines({{"AutoCalcChk", "1"}}));
    const std::string first = "warning: " + kSamples +
                              "broken-member.ini: userName has a broken % escape; it reads as "
                              "empty\nwarning: " +
                              kSamples + "broken-member.ini: userPW is not GBK text (";
    EXPECT_EQ(result.err.substr(0, first.size()), first);
}

TEST(SettingsCommand, FailedWriteIsReported) {
    TempDir dir;
    const std::string ini = dir.File("no-such-folder") + "/ormelux.ini";
    const CliResult result = RunCli({"settings", ini, "--set", "AutoCalcChk=1"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "tovarin-cli settings: Unable to write to " + ini + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(dir.Names().empty());
}

}  // namespace
}  // namespace tovarin
