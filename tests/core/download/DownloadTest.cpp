#include "core/download/Download.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/base/Codec.h"
#include "core/base/Errors.h"
#include "core/draws/LawNet.h"
#include "support/DownloadServer.h"

namespace tovarin {
namespace {

// The server's side, written out here on its own: digit i gains
// i*m + (p mod 10)*k_i.
std::string Mask(int period, const std::string& digits, const std::array<int, 7>& k, int m) {
    std::string masked;
    for (int i = 1; i <= 7; ++i) {
        masked +=
            static_cast<char>('0' + (digits[i - 1] - '0' + i * m + (period % 10) * k[i - 1]) % 10);
    }
    return masked;
}

std::string Digits(const TCodeNet& table, int row) {
    return test::DrawTexts(table).at(static_cast<size_t>(row));
}

void Fill(TCodeNet& table, const std::vector<std::string>& draws) {
    test::AddDraws(table, draws);
    table.ClearModified();
}

TEST(DownloadKeyTest, ComesFromTheUpperCaseIdentifierAndTheConstant) {
    const TDownloadValues& values = DownloadValues();
    EXPECT_EQ(values.softwareId, "ORMELUX");
    EXPECT_EQ(values.softwareNumber, "34");
    EXPECT_EQ(values.version, "1.08");
    // O R M E L U X are 79 82 77 69 76 85 88; their sum of last digits is 46.
    const std::array<int, 7> expected = {9, 2, 7, 9, 6, 5, 8};
    EXPECT_EQ(values.key.k, expected);
    EXPECT_EQ(values.key.m, 617 % 46);
    EXPECT_EQ(values.key.m, 19);
}

TEST(DownloadKeyTest, RefusesIdentifiersItCannotUse) {
    EXPECT_THROW(MakeDownloadKey("ORMELU", 617), Exception);
    EXPECT_THROW(MakeDownloadKey("ORMELUXX", 617), Exception);
    // P Z F ( 2 < d are 80 90 70 40 50 60 100: every key digit 0.
    try {
        MakeDownloadKey("PZF(2<d", 617);
        FAIL() << "a key whose digits sum to 0 was made";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "MakeDownloadKey Error!");
    }
    const TDownloadKey other = MakeDownloadKey("ABCDEFG", 100);  // 5+6+7+8+9+0+1 = 36
    EXPECT_EQ(other.m, 100 % 36);
}

TEST(UnmaskCodeTest, TakesOffWhatTheServerPutOn) {
    const TDownloadKey& key = DownloadValues().key;
    std::mt19937 generator(617);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int period = 2026000; period < 2026040; ++period) {
        std::string plain;
        for (int i = 0; i < 7; ++i) {
            plain += static_cast<char>('0' + digit(generator));
        }
        const std::string masked = Mask(period, plain, key.k, key.m);
        EXPECT_EQ(UnmaskCode(std::to_string(period), masked), plain) << period << ' ' << masked;
    }
}

TEST(UnmaskCodeTest, MatchesTheReferenceServer) {
    // Lines the reference server wrote for the draws 1234567 and 0012345.
    EXPECT_EQ(UnmaskCode("2026001", "9279658"), "1234567");
    EXPECT_EQ(UnmaskCode("2026002", "7226084"), "0012345");
}

TEST(UnmaskCodeTest, EveryDigitOfEveryPeriodEndingComesBack) {
    const TDownloadKey key = MakeDownloadKey("ORMELUX", 617);
    for (int last = 0; last <= 9; ++last) {
        for (int d = 0; d <= 9; ++d) {
            const std::string plain(7, static_cast<char>('0' + d));
            const int period = 10 + last;
            EXPECT_EQ(UnmaskCode(std::to_string(period), Mask(period, plain, key.k, key.m), key),
                      plain);
        }
    }
}

TEST(UnmaskCodeTest, ReadsOnlyTheFirstSevenDigits) {
    const std::string masked = UnmaskCode("5", "1234567");
    EXPECT_EQ(UnmaskCode("5", "12345679999"), masked);
}

TEST(UnmaskCodeTest, RefusesTextsThatAreNotDigits) {
    for (const auto& [period, code] : std::vector<std::pair<std::string, std::string>>{
             {"2026001", "123456"},
             {"2026001", ""},
             {"2026001", "12345a7"},
             {"2026001", " 1234567"},
             {"20260x1", "1234567"},
             {"", "1234567"},
             {"-1", "1234567"},
             {"99999999999", "1234567"},
         }) {
        EXPECT_THROW(UnmaskCode(period, code), EDownloadError) << period << '#' << code;
    }
}

TEST(RequestAddressTest, HasTheQueryShape) {
    EXPECT_EQ(DownloadRequestAddress("http://host/x", "user", "pw"),
              "http://host/x?soft=ORMELUX&softid=34&ver=1.08&mName=user&mPw=pw");
    EXPECT_EQ(DownloadRequestAddress("http://host/x", "", ""),
              "http://host/x?soft=ORMELUX&softid=34&ver=1.08&mName=&mPw=");
}

TEST(RequestAddressTest, NameAndPasswordCannotChangeTheQuery) {
    const std::string address = DownloadRequestAddress("http://h/d", "a b=c", "x&mPw=y#z%");
    EXPECT_EQ(address,
              "http://h/d?soft=ORMELUX&softid=34&ver=1.08&mName=a%20b%3Dc"
              "&mPw=x%26mPw%3Dy%23z%25");
    EXPECT_EQ(address.find('#'), std::string::npos);
}

TEST(RequestAddressTest, SendsGbkBytes) {
    // 张 is D5 C5 and 三 is C8 FD in GBK.
    EXPECT_EQ(DownloadRequestAddress("http://h/d", "张三", "密"),
              "http://h/d?soft=ORMELUX&softid=34&ver=1.08&mName=%D5%C5%C8%FD&mPw=%C3%DC");
    EXPECT_THROW(DownloadRequestAddress("http://h/d", "\xF0\x9F\x98\x80", ""), ECodecError);
}

TEST(RequestAddressTest, PercentEncodeKeepsOnlyUnreservedCharacters) {
    EXPECT_EQ(PercentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(PercentEncode(std::string("\0\x7F\x80\xFF/?+", 7)), "%00%7F%80%FF%2F%3F%2B");
}

TEST(RequestAddressTest, DefaultAddressIsTheReferenceServersDefault) {
    EXPECT_EQ(DefaultDownloadAddress(), "http://127.0.0.1:8617/draws");
}

std::string Body(const std::string& utf8) { return Utf8ToGbk(utf8); }

TEST(ReadResponseTest, TakesFieldsOneAndThreeOfEveryLine) {
    const std::vector<std::string> lines = ReadDownloadResponse(
        Body("下载成功\r\n 2026001 # 一 # 9279658 \r\n2026002#二#7226084#x\r\n"));
    EXPECT_EQ(lines, (std::vector<std::string>{"2026001#9279658", "2026002#7226084"}));
}

TEST(ReadResponseTest, DoubledLeadingAndTrailingHashesGiveNoEmptyFields) {
    const std::vector<std::string> lines =
        ReadDownloadResponse(Body("成功\n##2026001##x###9279658##\n"));
    EXPECT_EQ(lines, (std::vector<std::string>{"2026001#9279658"}));
}

TEST(ReadResponseTest, BlankLinesAreSkipped) {
    EXPECT_EQ(ReadDownloadResponse(Body("成功\r\n\r\n  \r\n\t\r\n1#a#1234567\r\n\r\n")),
              (std::vector<std::string>{"1#1234567"}));
    EXPECT_TRUE(ReadDownloadResponse(Body("成功\r\n\r\n   \r\n")).empty());
    EXPECT_TRUE(ReadDownloadResponse(Body("成功")).empty());
}

TEST(ReadResponseTest, AStatusLineWithoutSuccessIsRefused) {
    for (const std::string& body : {std::string(), Body("失败\r\n1#a#1234567\r\n"),
                                    Body("\r\n成功\r\n1#a#1234567\r\n"), Body("成 功\r\n")}) {
        EXPECT_THROW(ReadDownloadResponse(body), EDownloadError) << body;
    }
    try {
        ReadDownloadResponse(Body("会员名称或密码错误\r\n"));
        FAIL();
    } catch (const EDownloadError& error) {
        EXPECT_STREQ(error.what(), "服务器没有返回“成功”：会员名称或密码错误");
    }
}

TEST(ReadResponseTest, ALineWithFewerThanThreeFieldsIsRefused) {
    try {
        ReadDownloadResponse(Body("成功\r\n1#a#1234567\r\n2##1234567\r\n"));
        FAIL();
    } catch (const EDownloadError& error) {
        EXPECT_STREQ(error.what(), "第3行不足三项：2##1234567");
    }
}

TEST(ReadResponseTest, ABodyThatIsNotGbkIsRefused) {
    EXPECT_THROW(ReadDownloadResponse("\xD6\xD0\xFF\xFF\r\n"), EDownloadError);
}

TEST(ApplyDownloadTest, ReplacesTheTableAndRenumbersFromOne) {
    TCodeNet table;
    Fill(table, {"9999999", "8888888", "7777777"});
    std::vector<TQiCodeRec> records;
    const int count = ApplyDownload({"2026001#9279658", "2026002#7226084"}, records, table);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(Digits(table, 0), "1234567");
    EXPECT_EQ(Digits(table, 1), "0012345");
    EXPECT_TRUE(table.Modified());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].period, 2026001);
    EXPECT_EQ(records[0].code, 1234567);
    EXPECT_EQ(records[1].period, 2026002);
    EXPECT_EQ(records[1].code, 12345);
}

TEST(ApplyDownloadTest, ACodeWithLeadingZerosKeepsItsSevenPlaces) {
    const TDownloadKey& key = DownloadValues().key;
    for (const std::string plain : {"0012345", "0000000", "0000009", "9000000"}) {
        TCodeNet table;
        std::vector<TQiCodeRec> records;
        ApplyDownload({"7#" + Mask(7, plain, key.k, key.m)}, records, table);
        ASSERT_EQ(table.Count(), 1);
        EXPECT_EQ(Digits(table, 0), plain);
    }
    TQiCodeRec record;
    record.code = 12345;
    const TSeq draw = DrawOfRecord(record);
    const std::vector<int> expected = {0, 0, 1, 2, 3, 4, 5};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(draw.GetNum(i), expected[i]);
    }
}

TEST(ApplyDownloadTest, ThePeriodIsTheFirstSevenCharacters) {
    TCodeNet table;
    std::vector<TQiCodeRec> records;
    ApplyDownload({"202600105#1234567"}, records, table);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].period, 2026001);
}

TEST(ApplyDownloadTest, AMalformedLineLeavesTableAndRecordsAsTheyWere) {
    const std::vector<std::vector<std::string>> broken = {
        {"2026001#9279658", "2026002"},          // no code
        {"2026001#9279658", "2026002#722608"},   // six digits
        {"2026001#9279658", "2026002#72260a4"},  // not a number
        {"2026001#9279658", "20260x2#7226084"},  // period not a number
        {"2026001#9279658", "#7226084"},         // the period is missing
    };
    for (const std::vector<std::string>& lines : broken) {
        TCodeNet table;
        Fill(table, {"9999999"});
        std::vector<TQiCodeRec> records = {{5, 5}};
        EXPECT_THROW(ApplyDownload(lines, records, table), EDownloadError) << lines[1];
        ASSERT_EQ(table.Count(), 1);
        EXPECT_EQ(Digits(table, 0), "9999999");
        EXPECT_FALSE(table.Modified());
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].period, 5);
    }
}

TEST(ApplyDownloadTest, TheMessageNamesTheLine) {
    TCodeNet table;
    std::vector<TQiCodeRec> records;
    try {
        ApplyDownload({"2026001#9279658", "2026002#722608"}, records, table);
        FAIL();
    } catch (const EDownloadError& error) {
        EXPECT_STREQ(error.what(), "第2行有误：2026002#722608（号码不是七位数字：722608）");
    }
}

TEST(ApplyDownloadTest, AnAnswerWithoutDrawsKeepsTheHistory) {
    TCodeNet table;
    Fill(table, {"1111111", "2222222"});
    int notices = 0;
    table.Subscribe([&notices](TNetChange) { ++notices; });
    std::vector<TQiCodeRec> records;
    EXPECT_EQ(ApplyDownload(ReadDownloadResponse(Body("成功\r\n\r\n")), records, table), 0);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(Digits(table, 1), "2222222");
    EXPECT_FALSE(table.Modified());
    EXPECT_EQ(notices, 0);
}

// The records of a body, or the message that refused it.
std::string Outcome(const std::function<std::vector<TQiCodeRec>()>& read) {
    try {
        std::string text;
        for (const TQiCodeRec& record : read()) {
            text += std::to_string(record.period) + ":" + std::to_string(record.code) + " ";
        }
        return text;
    } catch (const EDownloadError& error) {
        return std::string("refused: ") + error.what();
    }
}

// Read straight from the body, an answer gives what its lines give, and is
// refused for the same first fault: every line's fields before any code,
// the text as a whole before any line, beyond the first piece too.
TEST(ReadRecordsTest, GiveWhatTheLinesGive) {
    const std::string tooLong(size_t{1} << 20, 'x');
    const std::string bodies[] = {
        Body("下载成功\r\n 2026001 # 一 # 9279658 \r\n\r\n2026002#二#7226084#x\r\n"),
        Body("成功\n##2026001##x###9279658##\n\n   \n"),
        Body("成功"),
        "",
        Body("失败\r\n1#a#1234567\r\n"),
        Body("成功\r\n2026001#a#722608\r\n2026002##1234567\r\n"),
        Body("成功\r\n2026001#a#72x6084\r\n2026002#b#9279658\r\n"),
        Body("成功\r\n# #a#9279658\r\n"),
        Body("成功\r\n1#x##\r\n" + tooLong + "\r\n") + "\xD6\xD0\xFF\xFF\r\n",
        Body("成功\r\n" + tooLong + "#第1期#9279658\r\n"),
    };
    for (const std::string& body : bodies) {
        const std::string expected =
            Outcome([&] { return DecodeDownload(ReadDownloadResponse(body)); });
        EXPECT_EQ(Outcome([&] { return ReadDownloadRecords(body); }), expected)
            << body.substr(0, 80);
    }
    EXPECT_EQ(Outcome([&] { return ReadDownloadRecords(bodies[0]); }),
              "2026001:1234567 2026002:12345 ");
    EXPECT_EQ(Outcome([&] { return ReadDownloadRecords(bodies[5]); }),
              "refused: 第3行不足三项：2026002##1234567");
}

TEST(DownloadTextsTest, AreTheOnesTheUserSees) {
    EXPECT_EQ(kDownloadDoneText, "下载开奖数据成功！");
    EXPECT_EQ(DownloadDoneText(3, 2026003),
              "下载开奖数据成功！共收到 3 期开奖数据，最新一期是第 2026003 期。");
    EXPECT_EQ(DownloadFailureText("服务器应答超时"), "下载开奖数据失败：服务器应答超时");
    EXPECT_EQ(FetchFailureReason(TFetchFailure::NoConnection, "Connection refused"),
              "无法连接服务器（Connection refused）");
    EXPECT_EQ(FetchFailureReason(TFetchFailure::Timeout, ""), "服务器应答超时");
    EXPECT_EQ(FetchFailureReason(TFetchFailure::BadStatus, "HTTP/1.0 500"),
              "服务器应答错误（HTTP/1.0 500）");
}

}  // namespace
}  // namespace tovarin
