#include <gtest/gtest.h>

#include <string>

#include "core/base/Codec.h"
#include "core/sources/AnswerLines.h"
#include "core/sources/AnswerText.h"
#include "core/sources/HtmlRows.h"
#include "core/sources/JsonDraws.h"

namespace tovarin {
namespace {

template <typename Read>
std::string ErrorOf(Read read) {
    try {
        read();
    } catch (const EReadError& error) {
        return error.what();
    }
    return "no error";
}

TEST(AnswerTextTest, FindsTheCharsetAndTheDate) {
    EXPECT_EQ(CharsetOfContentType("text/html; Charset=\"GB2312\""), "gb2312");
    EXPECT_EQ(CharsetOfContentType("application/json"), "");
    EXPECT_EQ(CharsetOfMeta("<html><head><META http-equiv=\"Content-Type\" "
                            "content=\"text/html; charset=gbk\"></head>"),
              "gbk");
    EXPECT_EQ(CharsetOfMeta("<meta charset='utf-8'><p>charset=gbk</p>"), "utf-8");
    EXPECT_EQ(CharsetOfMeta("<p>charset=gbk</p>"), "");

    struct Case {
        const char* text;
        const char* leading;
        const char* cell;
    };
    for (const Case& c :
         {Case{"2026-06-13(六)", "2026-06-13", "2026-06-13"},
          Case{"2026-06-13（日） 21:15", "2026-06-13", "2026-06-13"},
          Case{"2026/6/3 21:15:00", "2026/6/3", "2026/6/3"},
          Case{"2026年6月13日", "2026年6月13日", "2026年6月13日"},
          Case{"2026-06-13 3 5 8", "2026-06-13", ""}, Case{"2026-06-13(上)", "2026-06-13", ""},
          Case{"2026-06-130", "", ""}, Case{"2026-06/13", "", ""}, Case{"26-06-13", "", ""}}) {
        EXPECT_EQ(LeadingDate(c.text), c.leading) << c.text;
        EXPECT_EQ(DateOfCell(c.text), c.cell) << c.text;
    }
}

TEST(AnswerTextTest, DecodesByMarkCharsetOrContent) {
    const std::string gbk = Utf8ToGbk("第2026150期");
    std::string converted;
    EXPECT_EQ(AnswerAsUtf8(gbk, "gb2312", converted), "第2026150期");
    EXPECT_EQ(AnswerAsUtf8(gbk, "", converted), "第2026150期");
    EXPECT_EQ(AnswerAsUtf8(gbk, "utf-8", converted), "第2026150期");
    EXPECT_EQ(AnswerAsUtf8("\xEF\xBB\xBF期号", "gbk", converted), "期号");
    converted.clear();
    const std::string utf8 = "期号";
    EXPECT_EQ(AnswerAsUtf8(utf8, "", converted).data(), utf8.data());
    EXPECT_EQ(ErrorOf([&] {
                  AnswerAsUtf8("ab\x80", "", converted);
              }).rfind("答案的编码无法识别（应为UTF-8或GB18030）：", 0),
              0u);
}

TEST(JsonDrawsTest, ReadsBothShapesOfTheOfficialPages) {
    EXPECT_EQ(JsonDrawLines(R"({"success": true, "value": {"pageNo": 1, "list": [
        {"lotteryDrawNum": "26099", "lotteryDrawResult": "3 5 8 1 2 9 14",
         "lotteryDrawTime": "2026-08-25", "prizeLevelList": [{"prizeLevel": "一等奖"}]},
        {"lotteryDrawNum": "26098", "lotteryDrawResult": "03 05 08 01 02 09 00",
         "lotteryDrawTime": "2026-08-23 21:25:00"}]}})"),
              "26099 2026-08-25 3 5 8 1 2 9 14\n26098 2026-08-23 03 05 08 01 02 09 00\n");
    EXPECT_EQ(JsonDrawLines(R"j({"state": 0, "result": [
        {"code": "2026154", "red": "3,7,7", "date": "2026-06-13(六)"},
        {"code": 2026153, "red": "1+2|3, 4", "date": "2026/6/12"}]})j"),
              "2026154 2026-06-13 3 7 7\n2026153 2026/6/12 1 2 3 4\n");
}

TEST(JsonDrawsTest, FieldsListsAndLabelsOfEveryKind) {
    struct Case {
        const char* json;
        const char* lines;
    };
    const Case cases[] = {
        // Numbers as a list, an earlier name winning, Chinese names.
        {R"([{"period": "1", "issue": "2026001", "numbers": [3, 5, "8"], "开奖日期": "2026-01-01"}])",
         "2026001 2026-01-01 3 5 8\n"},
        {R"({"data": [{"期号": "第2026002期", "开奖号码": "3581290"}]})", "第2026002期 3581290\n"},
        // A label that is no period number, a record without numbers, one
        // without either (not a draw), a date no importer reads.
        {R"([{"expect": "2026-003", "opencode": "1,2,3,4,5,6,7"}, {"expect": "2026004"},
             {"note": "x"}, {"expect": "2026005", "openCode": "1234567", "opentime": "20260105"}])",
         "-\n2026004\n2026005 1234567\n"},
        // The first list to close that holds draws, inner before outer.
        {R"({"pages": [{"rows": [{"issue": "9", "result": "1"}], "issue": "8", "result": "2"}],
             "later": [{"issue": "7", "result": "3"}]})",
         "9 1\n"},
        // A list of records in a field named like numbers is a list.
        {R"({"data": [{"result": [{"issue": "5", "red": "6"}], "issue": "x"}]})", "5 6\n"},
        // Lists without draws before it are passed by.
        {R"({"ads": [{"title": "a"}], "codes": [1, 2], "list": [{"issue": "6", "red": "4"}]})",
         "6 4\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JsonDrawLines(c.json), c.lines) << c.json;
    }
}

TEST(JsonDrawsTest, RefusesWhatHoldsNoDraws) {
    EXPECT_EQ(ErrorOf([] { JsonDrawLines(R"({"list": [{"issue": "1"}], "n": 3})"); }),
              "答案不是开奖数据：JSON里没有含期号和开奖号码的记录列表");
    EXPECT_THROW(JsonDrawLines("[]"), ENoDrawList);
    EXPECT_EQ(ErrorOf([] { JsonDrawLines(R"({"list": [{"issue": "1", "red": "2"}, )"); }),
              "答案不是开奖数据：JSON有误（第39字节）");
}

TEST(HtmlRowsTest, EachRowOfEachTableIsALine) {
    const std::string page = R"(<!DOCTYPE html><html><head><title>开奖</title>
<script>var t = "<table><tr><td>9</td></tr></table>";</script>
<style>td { color: red }</style></head><body>
<p>最新 <b>2026150</b> 期</p>
<table class="kj"><tr><th>期号</th><th>开奖日期</th><th>开奖号码</th></tr>
<!-- <tr><td>2026000</td></tr> -->
<tr><td>2026150</td><td>2026-12-06(六)</td>
    <td><em>3</em><em>5</em><em>8</em><em>1</em><em>2</em><em>9</em><em>14</em></td></tr>
<TR><TD>2026149<TD>2026-12-04&nbsp;21:15<TD>3&#x2c;5&#44;8 1 2 9 0 &amp; &lt;b&gt;
<tr><td> </td><td></td></tr>
<tr><td>内<table><tr><td>2026148</td><td>1 2 3 4 5 6 7</td></tr></table>表</td></tr>
</table></body></html>)";
    EXPECT_EQ(HtmlTableLines(page),
              "期号\t开奖日期\t开奖号码\n"
              "2026150\t2026-12-06\t3 5 8 1 2 9 14\n"
              "2026149\t2026-12-04\t3,5,8 1 2 9 0 & <b>\n"
              "2026148\t1 2 3 4 5 6 7\n"
              "内 表\n");
    EXPECT_EQ(ErrorOf([] { HtmlTableLines("<html><body><p>系统繁忙</p></body></html>"); }),
              "答案不是开奖数据：网页里没有表格");
}

TEST(AnswerLinesTest, NamesAndDetection) {
    for (const TSourceFormat format :
         {TSourceFormat::Auto, TSourceFormat::Table, TSourceFormat::Json, TSourceFormat::Html}) {
        EXPECT_EQ(FormatOfName(FormatName(format)), format);
    }
    EXPECT_EQ(FormatTitle(TSourceFormat::Html), "网页表格");
    EXPECT_EQ(FormatOfName("csv"), std::nullopt);
    struct Case {
        const char* type;
        const char* body;
        TSourceFormat format;
    };
    for (const Case& c : {Case{"text/html", "\xEF\xBB\xBF \r\n{\"a\": 1}", TSourceFormat::Json},
                          Case{"application/json", "<html>", TSourceFormat::Html},
                          Case{"text/plain", "[1]", TSourceFormat::Json},
                          Case{"application/json;charset=utf-8", "null", TSourceFormat::Json},
                          Case{"text/html", "2026001 1234567", TSourceFormat::Html},
                          Case{"application/xhtml+xml", "x", TSourceFormat::Html},
                          Case{"text/csv", "期号,开奖号码", TSourceFormat::Table},
                          Case{"", "2026001 1234567", TSourceFormat::Table}}) {
        EXPECT_EQ(DetectFormat(c.type, c.body), c.format) << c.type << " " << c.body;
    }
}

TEST(AnswerLinesTest, AnAnswerOfAnotherShapeIsNoDraws) {
    struct Case {
        TSourceFormat format;
        const char* type;
        const char* body;
        const char* message;
    };
    const Case cases[] = {
        {TSourceFormat::Json, "text/html", "<html><body>502 Bad Gateway</body></html>",
         "答案不是开奖数据：应为JSON，收到的是网页（text/html）"},
        {TSourceFormat::Json, "", "2026001 1234567",
         "答案不是开奖数据：应为JSON，收到的是文本表格"},
        {TSourceFormat::Table, "", "<html></html>", "答案不是开奖数据：应为文本表格，收到的是网页"},
        {TSourceFormat::Html, "application/json", "{}",
         "答案不是开奖数据：应为网页，收到的是JSON（application/json）"},
        {TSourceFormat::Auto, "text/plain", " \r\n", "答案不是开奖数据：答案是空的"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf([&c] { ReadAnswerLines(c.body, c.type, c.format); }), c.message);
    }
}

TEST(AnswerLinesTest, EachFormatGivesUtf8Lines) {
    const std::string gbPage = Utf8ToGbk(
        "<html><head><meta charset=gb2312></head><table><tr><td>第2026150期</td>"
        "<td>3581290</td></tr></table></html>");
    const TAnswerLines page = ReadAnswerLines(gbPage, "text/html", TSourceFormat::Auto);
    EXPECT_EQ(page.Format, TSourceFormat::Html);
    EXPECT_EQ(page.Text, "第2026150期\t3581290\n");

    const std::string gbJson =
        Utf8ToGbk(R"({"list": [{"期号": "2026150", "开奖号码": "3581290"}]})");
    const TAnswerLines json =
        ReadAnswerLines(gbJson, "text/plain;charset=GBK", TSourceFormat::Json);
    EXPECT_EQ(json.Text, "2026150 3581290\n");

    const TAnswerLines csv = ReadAnswerLines("\xEF\xBB\xBF期号,开奖号码\r\n2026150,3581290\r\n",
                                             "text/csv", TSourceFormat::Auto);
    EXPECT_EQ(csv.Format, TSourceFormat::Table);
    EXPECT_EQ(csv.Text, "期号,开奖号码\r\n2026150,3581290\r\n");
}

}  // namespace
}  // namespace tovarin
