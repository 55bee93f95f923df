#include "core/sources/SourceFetch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Codec.h"
#include "support/AnswerServer.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::WriteTestFile;

std::string ListPage(const std::vector<int>& periods) {
    std::string records;
    for (const int period : periods) {
        records += std::string(records.empty() ? "" : ",") + R"({"lotteryDrawNum": ")" +
                   std::to_string(period) + R"(", "lotteryDrawResult": "3 5 8 1 2 9 )" +
                   std::to_string(period % 10) + R"(", "lotteryDrawTime": "2026-12-01"})";
    }
    return R"({"value": {"list": [)" + records + "]}}";
}

std::string CodePage(const std::vector<int>& periods) {
    std::string records;
    for (const int period : periods) {
        records += std::string(records.empty() ? "" : ",") + R"({"code": ")" +
                   std::to_string(period) + R"(", "red": "1,2,3,4,5,6,)" +
                   std::to_string(period % 10) + R"j(", "date": "2026-06-13(六)"})j";
    }
    return R"({"result": [)" + records + "]}";
}

// The periods a read holds, oldest first.
std::vector<int> Periods(const TSourceRead& read) {
    std::vector<int> periods;
    for (const TTableDraw& draw : read.Read.Draws) {
        periods.push_back(draw.Period);
    }
    return periods;
}

// One server of every answer for all the cases.
class SourceFetchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        Write("h.txt",
              "期号 开奖日期 开奖号码\r\n2026150 2026-12-06 3 5 8 1 2 9 0\r\n"
              "2026149 2026-12-04 1 2 3 4 5 6 7\r\nbad line 12\r\n");
        Write("h.csv", "\xEF\xBB\xBF期号,开奖日期,开奖号码\r\n2026148,2026-12-02,1234567\r\n");
        Write("meta.html", Utf8ToGbk("<html><head><meta http-equiv=\"Content-Type\" "
                                     "content=\"text/html; charset=gb2312\"><title>开奖公告</title>"
                                     "</head><body><table><tr><th>期号</th><th>号码</th></tr>"
                                     "<tr><td>第2026147期</td><td>7 6 5 4 3 2 1</td></tr>"
                                     "</table></body></html>"));
        Write("error.html", "<html><body><h1>502 Bad Gateway</h1></body></html>");
        Write("l1.json", ListPage({2026150, 2026149}));
        Write("l2.json", ListPage({2026148, 2026147}));
        Write("l3.json", ListPage({2026146}));
        Write("empty.json", R"({"value": {"list": []}})");
        Write("c1.json", CodePage({2026154, 2026153}));
        Write("c2.json", CodePage({2026152}));
        Write("c3.json", CodePage({2026151}));
        Write("q1.json",
              R"({"value": {"list": [)"
              R"({"lotteryDrawNum": "2026151", "lotteryDrawResult": "1 2 3 4 5 6 14"},)"
              R"({"lotteryDrawNum": "2026150", "lotteryDrawResult": "1 2 3 4 5 6 7"}]}})");
        Write("q2.json",
              R"({"value": {"list": [)"
              R"({"lotteryDrawNum": "2026149", "lotteryDrawResult": "0 1 2 3 4 5 10"}]}})");
        Write("pl5.csv", "期号,开奖号码\r\n2026150,35812\r\n2026149,3 5 8 1 9\r\n");
        Write("routes.json", R"({
          "/h.txt": {"file": "h.txt"},
          "/h.csv": {"file": "h.csv", "type": "text/csv"},
          "/gb.html": {"file": "meta.html", "type": "text/html"},
          "/old": {"redirect": "/gb.html"},
          "/error": {"file": "error.html", "type": "text/html"},
          "/list": {"type": "application/json",
                    "pages": {"param": "pageNo", "files": ["l1.json", "l2.json", "l3.json"],
                              "after": "empty.json"}},
          "/codes": {"type": "text/plain", "encoding": "gzip",
                     "pages": {"param": "page", "files": ["c1.json", "c2.json", "c3.json"],
                               "after": "c3.json"}},
          "/qxc": {"type": "application/json",
                   "pages": {"param": "pageNo", "files": ["q1.json", "q2.json"],
                             "after": "empty.json"}},
          "/pl5.csv": {"file": "pl5.csv", "type": "text/csv"},
          "/broken": {"type": "text/plain",
                      "pages": {"param": "pageNo", "files": ["l1.json", "error.html"],
                                "after": "empty.json"}}
        })");
        server_ = new test::AnswerServer(dir_->Path());
    }
    static void TearDownTestSuite() {
        delete server_;
        delete dir_;
    }

    static void Write(const std::string& name, const std::string& bytes) {
        WriteTestFile(dir_->File(name), bytes);
    }

    static TSourceRead Fetch(const std::string& path, TSourceFormat format = TSourceFormat::Auto,
                             const TFetchSettings& settings = {}) {
        TDrawSource source;
        source.Name = "测试";
        source.Url = server_->Url(path);
        source.Format = format;
        return FetchSource(source, settings);
    }

    static test::TempDir* dir_;
    static test::AnswerServer* server_;
};

test::TempDir* SourceFetchTest::dir_ = nullptr;
test::AnswerServer* SourceFetchTest::server_ = nullptr;

TEST_F(SourceFetchTest, ReadsTextCsvAndGbPagesAsTheImporterDoes) {
    const TSourceRead text = Fetch("/h.txt");
    EXPECT_EQ(text.Format, TSourceFormat::Table);
    EXPECT_EQ(text.Pages, 1);
    EXPECT_EQ(Periods(text), (std::vector<int>{2026149, 2026150}));
    ASSERT_EQ(text.Read.Skipped.size(), 1u);
    EXPECT_EQ(ReadReasonTexts(text.Read, 5),
              std::vector<std::string>{"第4行：期号后面没有开奖号码"});
    EXPECT_EQ(ReadReasonTexts(text.Read, 0), std::vector<std::string>{"还有1行…"});
    EXPECT_EQ(ReadSummaryText(text),
              "读到2期（第2026149期 2026-12-04 至 第2026150期 2026-12-06），共1页，1行无法读取");

    const TSourceRead csv = Fetch("/h.csv", TSourceFormat::Table);
    EXPECT_EQ(Periods(csv), std::vector<int>{2026148});
    EXPECT_EQ(csv.Read.Draws[0].Date(), "2026-12-02");

    for (const char* path : {"/gb.html", "/old"}) {
        const TSourceRead page = Fetch(path);
        EXPECT_EQ(page.Format, TSourceFormat::Html);
        EXPECT_EQ(page.Lines, "期号\t号码\n第2026147期\t7 6 5 4 3 2 1\n");
        EXPECT_EQ(Periods(page), std::vector<int>{2026147});
    }
}

TEST_F(SourceFetchTest, PagesUntilNothingNewOrTheLastPageOrTheBound) {
    std::vector<int> progressPages;
    TFetchSettings settings;
    settings.OnProgress = [&progressPages](int page, size_t) {
        if (progressPages.empty() || progressPages.back() != page) {
            progressPages.push_back(page);
        }
    };
    // The list ends with an empty page, which is not taken.
    const TSourceRead list = Fetch("/list?size=2&pageNo=1", TSourceFormat::Auto, settings);
    EXPECT_EQ(list.Format, TSourceFormat::Json);
    EXPECT_EQ(list.Pages, 3);
    EXPECT_EQ(progressPages, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Periods(list), (std::vector<int>{2026146, 2026147, 2026148, 2026149, 2026150}));
    EXPECT_EQ(list.Read.Draws.back().Date(), "2026-12-01");

    // The last page comes again past the end: it holds nothing new.
    const TSourceRead codes = Fetch("/codes?page=1", TSourceFormat::Json);
    EXPECT_EQ(codes.Pages, 3);
    EXPECT_EQ(Periods(codes), (std::vector<int>{2026151, 2026152, 2026153, 2026154}));
    EXPECT_EQ(codes.Read.Draws[0].Date(), "2026-06-13");

    settings = {};
    settings.Reaches = ReachesPeriod(2026148);
    EXPECT_EQ(Fetch("/list?pageNo=1", TSourceFormat::Json, settings).Pages, 2);
    settings = {};
    settings.MaxPages = 2;
    EXPECT_EQ(Fetch("/codes?page=1", TSourceFormat::Json, settings).Pages, 2);
    // pageNo=2 does not page: the address is taken as it is.
    EXPECT_EQ(Fetch("/list?pageNo=2").Pages, 1);
}

TEST_F(SourceFetchTest, ReadsEveryPageAsTheNumbersOfTheGame) {
    struct Case {
        const char* path;
        TGame game;
        std::vector<int> periods;
        std::string newest;  // the last draw's numbers
        std::vector<std::string> reasons;
    };
    const Case cases[] = {
        {"/qxc?pageNo=1", TGame::Qxc, {2026149, 2026150, 2026151}, "1 2 3 4 5 6 14", {}},
        // Past a page of nothing but lines it cannot read, nothing is new.
        {"/qxc?pageNo=1",
         TGame::Seven,
         {2026150},
         "1234567",
         {"第1行：第7个号码是14，七位数每位只能是0-9"}},
        {"/pl5.csv", TGame::Pl5, {2026149, 2026150}, "35812", {}},
    };
    for (const Case& c : cases) {
        TFetchSettings settings;
        settings.Game = c.game;
        const TSourceRead read = Fetch(c.path, TSourceFormat::Auto, settings);
        EXPECT_EQ(read.Read.Game, c.game);
        EXPECT_EQ(Periods(read), c.periods) << c.path;
        ASSERT_FALSE(read.Read.Draws.empty());
        EXPECT_EQ(NumbersText(read.Read.Draws.back().Draw, c.game), c.newest) << c.path;
        EXPECT_EQ(ReadReasonTexts(read.Read, 5), c.reasons) << c.path;
    }
}

TEST_F(SourceFetchTest, AnswersOfAnotherShapeAndFailedPagesAreErrors) {
    struct Case {
        const char* path;
        TSourceFormat format;
        const char* message;
    };
    const Case cases[] = {
        {"/error", TSourceFormat::Json, "答案不是开奖数据：应为JSON，收到的是网页（text/html）"},
        {"/broken?pageNo=1", TSourceFormat::Auto,
         "第2页：答案不是开奖数据：应为JSON，收到的是网页（text/plain）"},
        {"/list?pageNo=1&x=2", TSourceFormat::Html,
         "第1页：答案不是开奖数据：应为网页，收到的是JSON（application/json）"},
        {"/none?page=1", TSourceFormat::Auto, "第1页：服务器回答 HTTP 404"},
    };
    for (const Case& c : cases) {
        try {
            Fetch(c.path, c.format);
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(PageParameterTest, FindsPageOneInTheQueryOnly) {
    struct Case {
        const char* url;
        const char* page3;  // empty: the address does not page
    };
    for (const Case& c : {Case{"https://x/kj?pageNo=1&size=30", "https://x/kj?pageNo=3&size=30"},
                          Case{"https://x/kj?a=1&page=1#top", "https://x/kj?a=1&page=3#top"},
                          Case{"https://x/page=1/kj", ""}, Case{"https://x/kj?mypage=1", ""},
                          Case{"https://x/kj?page=10", ""}, Case{"https://x/kj#?page=1", ""}}) {
        const std::optional<TPageValue> value = FindPageParameter(c.url);
        EXPECT_EQ(value ? PageAddress(c.url, *value, 3) : "", c.page3) << c.url;
    }
}

}  // namespace
}  // namespace tovarin
