// tovarin-cli update against draw sources served on 127.0.0.1.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliRunner.h"
#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/AnswerServer.h"
#include "support/Draws.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::RunCli;
using test::WriteTestFile;

// Every source gives period L the numbers 3 5 8 1 2 9 and L's last digit,
// unless it is meant to disagree.
std::string Numbers(int label) { return "3 5 8 1 2 9 " + std::to_string(label % 10); }

std::string ListPage(const std::vector<int>& labels) {
    std::string records;
    for (const int label : labels) {
        records += std::string(records.empty() ? "" : ",") + R"({"lotteryDrawNum": ")" +
                   std::to_string(label) + R"(", "lotteryDrawResult": ")" + Numbers(label) +
                   R"(", "lotteryDrawTime": "2026-12-10"})";
    }
    return R"({"value": {"list": [)" + records + "]}}";
}

class UpdateCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        files_ = new test::TempDir;
        tlsFiles_ = new test::TempDir;
        Write("h.txt", "期号 开奖日期 开奖号码\r\n2026150 2026-12-06 " + Numbers(2026150) +
                           "\r\n2026149 2026-12-04 " + Numbers(2026149) + "\r\nbad line 12\r\n");
        Write("h.csv", "\xEF\xBB\xBF期号,开奖日期,开奖号码\r\n2026149,2026-12-04,3581299\r\n");
        Write("gb.html", Utf8ToGbk("<html><head><meta charset=\"gb2312\"></head><body><table>"
                                   "<tr><th>期号</th><th>号码</th></tr><tr><td>26150</td><td>" +
                                   Numbers(2026150) + "</td></tr></table></body></html>"));
        Write("l1.json", ListPage({2026152, 2026151}));
        Write("l2.json", ListPage({2026150, 2026149}));
        Write("l3.json", ListPage({2026148, 2026147}));
        Write("l4.json", ListPage({2026146, 2026145}));
        Write("empty.json", R"({"value": {"list": []}})");
        Write("conflict.txt", "2026149 1 1 1 1 1 1 1\r\n");
        Write("gap.txt", "2026150 " + Numbers(2026150) + "\r\n");
        Write("error.html", "<html><body><h1>502 Bad Gateway</h1></body></html>");
        // The official results' two shapes, with 七星彩's seventh number and 排列5's five.
        Write("qxc.json",
              R"({"value": {"list": [{"lotteryDrawNum": "26149", )"
              R"("lotteryDrawResult": "3 5 8 1 2 9 14", "lotteryDrawTime": "2026-12-04"}]}})");
        Write("pl5.json", R"({"result": [{"code": "2026149", "red": "3,5,8,1,2", )"
                          R"j("date": "2026-12-04(四)"}]})j");
        Write("routes.json", R"({
          "/h.txt": {"file": "h.txt"},
          "/h.csv": {"file": "h.csv", "type": "text/csv"},
          "/gb.html": {"file": "gb.html", "type": "text/html"},
          "/old": {"redirect": "/h.txt"},
          "/list": {"type": "application/json", "encoding": "gzip",
                    "pages": {"param": "pageNo", "files": ["l1.json", "l2.json", "l3.json", "l4.json"],
                              "after": "empty.json"}},
          "/conflict.txt": {"file": "conflict.txt"},
          "/gap.txt": {"file": "gap.txt"},
          "/error": {"file": "error.html", "type": "text/html"},
          "/qxc.json": {"file": "qxc.json", "type": "application/json"},
          "/pl5.json": {"file": "pl5.json", "type": "application/json"},
          "/endless": {"endless": true},
          "/trickle": {"trickle": true}
        })");
        server_ = new test::AnswerServer(files_->Path());
        tlsServer_ = new test::AnswerServer(tlsFiles_->Path(), true);
    }
    static void TearDownTestSuite() {
        delete tlsServer_;
        delete server_;
        delete tlsFiles_;
        delete files_;
    }
    static void Write(const std::string& name, const std::string& bytes) {
        WriteTestFile(files_->File(name), bytes);
        if (name == "routes.json" || name == "h.txt") {
            WriteTestFile(tlsFiles_->File(name), bytes);
        }
    }

    // A table of 2026147 and 2026148 with their numbers.
    void SetUp() override {
        doc = dir.File("doc.lvrn");
        WriteDocument(TGame::Seven, {"3581297", "3581298"});
    }

    void WriteDocument(TGame game, const std::vector<std::string>& draws) {
        TCodeNet net;
        TPrjMgr projects(net);
        test::AddDraws(net, draws);
        net.SetLabelDate(0, *TLabel::Parse("2026147"), TDrawDate());
        net.SetLabelDate(1, *TLabel::Parse("2026148"), *TDrawDate::Parse("2026-12-02"));
        net.SetGame(game);
        SaveDocument(doc, net, projects);
        before = ReadWholeFile(doc);
    }

    std::vector<std::string> Update(std::vector<std::string> args) const {
        args.insert(args.begin(), {"update", doc});
        return args;
    }
    static std::string Url(const std::string& path) { return server_->Url(path); }

    std::vector<std::string> Labels() const {
        TCodeNet net;
        TPrjMgr projects(net);
        LoadDocument(doc, net, projects);
        std::vector<std::string> labels;
        for (int row = 0; row < net.Count(); ++row) {
            const TSeq& draw = net.GetSeq(row);
            labels.push_back(draw.GetLabel().Text() + " " + NumbersText(draw, net.Game()));
        }
        return labels;
    }

    static test::TempDir* files_;
    static test::TempDir* tlsFiles_;
    static test::AnswerServer* server_;
    static test::AnswerServer* tlsServer_;
    test::TempDir dir;
    std::string doc;
    std::string before;
};

test::TempDir* UpdateCommand::files_ = nullptr;
test::TempDir* UpdateCommand::tlsFiles_ = nullptr;
test::AnswerServer* UpdateCommand::server_ = nullptr;
test::AnswerServer* UpdateCommand::tlsServer_ = nullptr;

TEST_F(UpdateCommand, MergesEverySourceAndAppendsWhatIsNewByLabel) {
    const test::CliResult result = RunCli(
        Update({"--source", Url("/h.txt"), "--source", Url("/h.csv"), "--source", Url("/gb.html"),
                "--source", Url("/list?size=2&pageNo=1"), "--source", Url("/old"), "--json"}));
    ASSERT_EQ(result.status, 0) << result.err;
    const auto source = [](const std::string& url, const char* format, int read, int pages) {
        return nlohmann::ordered_json{
            {"url", url}, {"format", format}, {"read", read}, {"pages", pages}, {"error", nullptr}};
    };
    // The list stops at the page that reaches the table's last label.
    const nlohmann::ordered_json expected = {
        {"sources",
         {source(Url("/h.txt"), "table", 2, 1), source(Url("/h.csv"), "table", 1, 1),
          source(Url("/gb.html"), "html", 1, 1), source(Url("/list?size=2&pageNo=1"), "json", 6, 3),
          source(Url("/old"), "table", 2, 1)}},
        {"read", 6},
        {"imported", 4},
        {"draws", 6},
        {"newest", {{"period", 6}, {"label", "2026152"}, {"date", "2026-12-10"}}},
        {"skipped",
         {{{"line", 4}, {"reason", "期号后面没有开奖号码"}},
          {{"line", 4}, {"reason", "期号后面没有开奖号码"}}}},
        {"skipped_total", 2},
        {"gaps", nlohmann::ordered_json::array()},
        {"gaps_total", 0},
    };
    EXPECT_EQ(result.out, expected.dump(2) + "\n");
    EXPECT_EQ(Labels(),
              (std::vector<std::string>{"2026147 3581297", "2026148 3581298", "2026149 3581299",
                                        "2026150 3581290", "2026151 3581291", "2026152 3581292"}));

    // Nothing is new now: the document is not written again.
    const std::string updated = ReadWholeFile(doc);
    const test::CliResult again = RunCli(Update({"--source", Url("/h.txt")}));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "数据源「" + Url("/h.txt") +
                             "」：读到2期，共1页\n码表已是最新：最新一期为2026152期\n"
                             "第4行：期号后面没有开奖号码\n");
    EXPECT_EQ(ReadWholeFile(doc), updated);
}

TEST_F(UpdateCommand, RefusesAndLeavesTheDocumentUntouched) {
    struct Case {
        std::vector<std::string> args;
        std::string message;  // the whole of standard error
    };
    const std::string prefix = "tovarin-cli update: 没有更新：\n";
    const std::vector<Case> cases = {
        {{"--source", Url("/conflict.txt"), "--source", Url("/h.txt")},
         prefix + "第2026149期：「" + Url("/conflict.txt") + "」是1111111，「" + Url("/h.txt") +
             "」是3581299\n"},
        {{"--source", Url("/error"), "--format", "json"},
         prefix + "数据源「" + Url("/error") +
             "」：答案不是开奖数据：应为JSON，收到的是网页（text/html）\n"},
        {{"--source", Url("/gap.txt")},
         prefix + "开奖数据缺少1期：\n缺少第2026149期\n（加上 --allow-gaps 仍然导入）\n"},
        {{"--source", Url("/trickle"), "--timeout", "1"},
         prefix + "数据源「" + Url("/trickle") + "」：超过 1 秒仍未完成\n"},
        {{"--source", Url("/none"), "--source", Url("/h.txt")},
         prefix + "数据源「" + Url("/none") + "」：服务器回答 HTTP 404\n"},
        {{"--source", tlsServer_->Url("/h.txt")},
         prefix + "数据源「" + tlsServer_->Url("/h.txt") + "」：服务器的证书不可信："},
    };
    for (const Case& c : cases) {
        const test::CliResult result = RunCli(Update(c.args));
        EXPECT_EQ(result.status, 1) << c.args[1];
        EXPECT_EQ(result.out, "") << c.args[1];
        EXPECT_EQ(result.err.substr(0, c.message.size()), c.message) << c.args[1];
        EXPECT_EQ(ReadWholeFile(doc), before) << c.args[1];
    }
    // An answer that never ends stops at the bound or the deadline, whichever comes first.
    const test::CliResult endless =
        RunCli(Update({"--source", Url("/endless"), "--timeout", "2", "--json"}));
    EXPECT_EQ(endless.status, 1);
    const nlohmann::json report = nlohmann::json::parse(endless.out);
    EXPECT_EQ(report["imported"], 0);
    EXPECT_EQ(report["draws"], 2);
    EXPECT_TRUE(report["sources"][0]["error"] == "超过 2 秒仍未完成" ||
                report["sources"][0]["error"] == "应答超过 64 MB")
        << report["sources"][0]["error"];
    EXPECT_EQ(ReadWholeFile(doc), before);
}

TEST_F(UpdateCommand, ReadsTheNumbersOfTheDocumentsGame) {
    struct Case {
        TGame game;
        std::vector<std::string> draws;
        std::string source;
        std::string outcome;  // the newest draw, or standard error
    };
    const Case cases[] = {
        {TGame::Qxc, {"3581297", "3581298"}, "/qxc.json", "2026149 3 5 8 1 2 9 14"},
        {TGame::Seven,
         {"3581297", "3581298"},
         "/qxc.json",
         "tovarin-cli update: 没有更新：\n数据源里没有可以导入的开奖号码。\n"
         "第1行：第7个号码是14，七位数每位只能是0-9\n"},
        {TGame::Pl5, {"3581200", "3581200"}, "/pl5.json", "2026149 35812"},
    };
    for (const Case& c : cases) {
        WriteDocument(c.game, c.draws);
        const test::CliResult result = RunCli(Update({"--source", Url(c.source)}));
        EXPECT_EQ(result.status, c.outcome.starts_with("tovarin-cli") ? 1 : 0) << c.source;
        if (result.status == 0) {
            EXPECT_EQ(Labels().back(), c.outcome) << c.source;
        } else {
            EXPECT_EQ(result.err, c.outcome) << c.source;
            EXPECT_EQ(ReadWholeFile(doc), before);
        }
    }
}

TEST_F(UpdateCommand, TrustsASelfSignedServerOnlyWithItsAuthority) {
    std::string url = tlsServer_->Url("/h.txt");
#ifdef _WIN32
    // Wine's check of a certificate's names does not match an IP address;
    // the certificate names localhost as well.
    url.replace(url.find("127.0.0.1"), 9, "localhost");
#endif
    const test::CliResult result =
        RunCli(Update({"--source", url, "--cacert", tlsServer_->CaFile(), "--json"}));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out)["imported"], 2);
    EXPECT_EQ(Labels().back(), "2026150 3581290");
}

TEST_F(UpdateCommand, AppendsOverAGapOnlyWhenAllowed) {
    const test::CliResult result = RunCli(Update({"--source", Url("/gap.txt"), "--allow-gaps"}));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "数据源「" + Url("/gap.txt") +
                              "」：读到1期，共1页\n更新了1期，最新一期为2026150期（来源：" +
                              Url("/gap.txt") + "）\n开奖数据缺少1期：\n缺少第2026149期\n");
    EXPECT_EQ(Labels().back(), "2026150 3581290");
}

TEST_F(UpdateCommand, TakesTheSourcesSwitchedOnInTheList) {
    const std::string list = WriteTestFile(
        dir.File("ormelux-sources.json"),
        R"({"sources": [{"name": "官网", "url": ")" + Url("/h.txt") +
            R"(", "format": "table", "enabled": true, "headers": []},
            {"name": "坏的", "url": ")" +
            Url("/conflict.txt") + R"(", "format": "auto", "enabled": false, "headers": []}]})");
    const test::CliResult result = RunCli(Update({"--sources", list}));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "数据源「官网」：读到2期，共1页\n更新了2期，最新一期为2026150期（来源：官网）\n"
              "第4行：期号后面没有开奖号码\n");
    const test::CliResult none = RunCli(Update({}));
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("give the sources with --source URL or --sources FILE"),
              std::string::npos);
    const test::CliResult format = RunCli(Update({"--sources", list, "--format", "json"}));
    EXPECT_EQ(format.status, 2);
    EXPECT_NE(format.err.find("--format is for --source addresses"), std::string::npos);
}

}  // namespace
}  // namespace tovarin
