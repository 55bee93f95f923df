#include <gtest/gtest.h>

#include <chrono>

#include "cli/CliRunner.h"
#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/settings/Settings.h"
#include "support/DownloadServer.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::DrawServer;
using test::RunCli;
using test::WriteTestFile;

// A document with two typed-in draws and one project, and the history
// the server hands out.
class DownloadCommand : public ::testing::Test {
protected:
    void SetUp() override {
        TCodeNet net;
        TPrjMgr projects(net);
        test::AddDraws(net, {"9999999", "8888888"});
        projects.AddPrj(std::make_unique<TSeqPrj>(net));
        doc = dir.File("doc.lvrn");
        SaveDocument(doc, net, projects);
        before = ReadWholeFile(doc);
        history = WriteTestFile(dir.File("history.txt"),
                                Utf8ToGbk(";开奖码表导出\r\n1234567\r\n0012345\r\n9080706\r\n"));
    }

    // The draws of the document, as digit texts, and its project count.
    std::vector<std::string> Draws(int* projectCount = nullptr) const {
        TCodeNet net;
        TPrjMgr projects(net);
        LoadDocument(doc, net, projects);
        if (projectCount != nullptr) {
            *projectCount = projects.PrjCount();
        }
        return test::DrawTexts(net);
    }

    // A failed download: status 1, the reason on standard error, and the
    // document byte for byte as it was.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& reason) {
        const test::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(ReadWholeFile(doc), before);
    }

    test::TempDir dir;
    std::string doc;
    std::string before;
    std::string history;
};

TEST_F(DownloadCommand, ReplacesTheDrawTableAndKeepsTheProjects) {
    DrawServer server(history);
    const test::CliResult result = RunCli({"download", doc, "--url", server.BaseAddress()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "下载开奖数据成功！共收到 3 期开奖数据，最新一期是第 2026003 期。\ndraws 3\n");
    EXPECT_EQ(result.err, "");
    int projectCount = 0;
    EXPECT_EQ(Draws(&projectCount), (std::vector<std::string>{"1234567", "0012345", "9080706"}));
    EXPECT_EQ(projectCount, 1);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"doc.lvrn", "history.txt"}));
}

TEST_F(DownloadCommand, MakesADocumentThatDoesNotExistYet) {
    DrawServer server(history);
    doc = dir.File("new.lvrn");
    ASSERT_EQ(RunCli({"download", doc, "--url", server.BaseAddress()}).status, 0);
    EXPECT_EQ(Draws().size(), 3u);
}

TEST_F(DownloadCommand, APasswordWithAmpersandAndHashReachesTheServerWhole) {
    DrawServer server(history, {"--user", "张 三&", "--password", "a&mPw=b#c%"});
    const test::CliResult result = RunCli({"download", doc, "--url", server.BaseAddress(), "--user",
                                           "张 三&", "--password", "a&mPw=b#c%"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Draws().size(), 3u);
}

TEST_F(DownloadCommand, AWrongPasswordIsTheServersRefusal) {
    DrawServer server(history, {"--user", "u", "--password", "right"});
    ExpectRefused(
        {"download", doc, "--url", server.BaseAddress(), "--user", "u", "--password", "right&"},
        "下载开奖数据失败：服务器没有返回“成功”：会员名称或密码错误");
}

TEST_F(DownloadCommand, NameAndPasswordComeFromTheSettingsFile) {
    TAppOptions options;
    options.userName = "会员";
    options.userPW = "p#w&";
    const std::string settings = dir.File("ormelux.ini");
    SaveAppOptions(options, "", settings);
    DrawServer server(history, {"--user", "会员", "--password", "p#w&"});
    const test::CliResult result =
        RunCli({"download", doc, "--url", server.BaseAddress(), "--settings", settings});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Draws().size(), 3u);
    // An option given on the command line wins over the file.
    before = ReadWholeFile(doc);
    ExpectRefused({"download", doc, "--url", server.BaseAddress(), "--settings", settings,
                   "--password", "other"},
                  "会员名称或密码错误");
}

TEST_F(DownloadCommand, NobodyListening) {
    ExpectRefused({"download", doc, "--url",
                   "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/draws"},
                  "下载开奖数据失败：无法连接服务器");
}

TEST_F(DownloadCommand, AStatusLineWithoutSuccess) {
    DrawServer server(history, {"--status", "系统维护"});
    ExpectRefused({"download", doc, "--url", server.BaseAddress()},
                  "下载开奖数据失败：服务器没有返回“成功”：系统维护");
}

TEST_F(DownloadCommand, AnHttpErrorStatus) {
    DrawServer server(history, {"--http-status", "503"});
    ExpectRefused({"download", doc, "--url", server.BaseAddress()},
                  "下载开奖数据失败：服务器应答错误（HTTP/1.0 503");
}

TEST_F(DownloadCommand, MalformedLinesAbandonTheDownload) {
    const std::vector<std::pair<std::string, std::string>> bodies = {
        {"成功\r\n2026001#a#9279658\r\n2026002#7226084\r\n", "第3行不足三项"},
        {"成功\r\n2026001#a#9279658\r\n2026002#b#722608\r\n", "第2行有误"},
        {"成功\r\n2026001#a#9279658\r\n2026002#b#72x6084\r\n", "第2行有误"},
        {"成功\r\n2026001#a#9279658\r\n2026O02#b#7226084\r\n", "第2行有误"},
    };
    for (const auto& [body, reason] : bodies) {
        const std::string raw = WriteTestFile(dir.File("raw.txt"), Utf8ToGbk(body));
        DrawServer server(raw, {"--raw"});
        ExpectRefused({"download", doc, "--url", server.BaseAddress()}, reason);
    }
}

TEST_F(DownloadCommand, AnEmptyHistoryLeavesTheDocumentAlone) {
    DrawServer server(WriteTestFile(dir.File("empty.txt"), ";nothing yet\r\n"));
    ExpectRefused({"download", doc, "--url", server.BaseAddress()},
                  "服务器没有返回开奖数据，开奖号码表保持不变。");
    EXPECT_EQ(Draws(), (std::vector<std::string>{"9999999", "8888888"}));
}

TEST_F(DownloadCommand, ASlowServerTimesOut) {
    DrawServer server(history, {"--delay", "3"});
    ExpectRefused({"download", doc, "--url", server.BaseAddress(), "--timeout", "300"},
                  "下载开奖数据失败：服务器应答超时");
}

TEST_F(DownloadCommand, AnAnswerThatNeverEndsIsAbandonedAtTheBound) {
    DrawServer server(history, {"--endless"});
    ExpectRefused({"download", doc, "--url", server.BaseAddress()},
                  "下载开奖数据失败：服务器应答错误（应答超过 64 MB）\n");
}

// The answer, a byte every 0.2 s, would take half a minute: a time-out per
// read would never fire. The bound leaves room for a slow start of the
// program (seconds under Wine on a busy machine), not for that half minute.
TEST_F(DownloadCommand, TheTimeoutBoundsTheWholeTransfer) {
    DrawServer server(history, {"--trickle", "0.2"});
    const auto start = std::chrono::steady_clock::now();
    ExpectRefused({"download", doc, "--url", server.BaseAddress(), "--timeout", "1500"},
                  "下载开奖数据失败：服务器应答超时（超过 2 秒仍未完成）\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
}

TEST_F(DownloadCommand, AnUnreadableDocumentIsNotReplaced) {
    DrawServer server(history);
    before = "\x05";
    WriteTestFile(doc, before);
    ExpectRefused(
        {"download", doc, "--url", server.BaseAddress()},
        "tovarin-cli download: cannot read " + doc + ": Unexpected end of data at byte 0");
}

TEST_F(DownloadCommand, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(RunCli({"download"}).status, 2);
    EXPECT_EQ(RunCli({"download", doc, "--timeout", "0"}).status, 2);
    EXPECT_EQ(RunCli({"download", doc, "extra"}).status, 2);
    EXPECT_EQ(ReadWholeFile(doc), before);
}

}  // namespace
}  // namespace tovarin
