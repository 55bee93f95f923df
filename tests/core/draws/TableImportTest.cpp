#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>

#include "support/ChildProcess.h"
#endif

#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/draws/TableExport.h"
#include "core/draws/TableImport.h"
#include "support/PosixOnly.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

std::string DigitsOf(const TSeq& draw) {
    std::string text;
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        text += static_cast<char>('0' + draw.GetNum(pos));
    }
    return text;
}

TSeq Draw(const std::string& digits) {
    TSeq draw;
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        draw.SetNum(pos, digits.at(static_cast<size_t>(pos)) - '0');
    }
    return draw;
}

std::vector<TSeq> Table(const std::vector<std::string>& draws) {
    std::vector<TSeq> rows;
    for (const std::string& digits : draws) {
        rows.push_back(Draw(digits));
    }
    return rows;
}

// "period digits date line" for each draw read, in the reader's order.
std::vector<std::string> Described(const TTableRead& read) {
    std::vector<std::string> lines;
    for (const TTableDraw& draw : read.Draws) {
        lines.push_back(std::to_string(draw.Period) + (draw.HasPeriod ? "" : "*") + " " +
                        DigitsOf(draw.Draw) + " " +
                        (draw.Date().empty() ? "-" : std::string(draw.Date())) + " " +
                        std::to_string(draw.Line));
    }
    return lines;
}

std::vector<std::string> SkippedTexts(const TTableRead& read) {
    std::vector<std::string> texts;
    for (const TSkippedLine& skipped : read.Skipped) {
        texts.push_back(SkippedText(skipped));
    }
    return texts;
}

std::vector<std::string> Digits(const std::vector<TSeq>& rows) {
    std::vector<std::string> texts;
    for (const TSeq& row : rows) {
        texts.push_back(DigitsOf(row));
    }
    return texts;
}

using Lines = std::vector<std::string>;

// Layouts players' files come in.

TEST(TableImport, CsvWithHeaderAndOneDigitField) {
    const TTableRead read = ReadDrawTable("期号,开奖号码\n2026001,1234567\n2026002,7654321\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 2", "2026002 7654321 - 3"}));
    EXPECT_TRUE(read.Skipped.empty());
    EXPECT_TRUE(read.Conflicts.empty());
}

TEST(TableImport, SevenDigitFields) {
    const TTableRead read =
        ReadDrawTable("期号,A,B,C,D,E,F,G\r\n2026001,1,2,3,4,5,6,7\r\n2026002,0,0,0,0,0,0,9\r\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 2", "2026002 0000009 - 3"}));
    EXPECT_TRUE(read.Skipped.empty());
}

TEST(TableImport, DateAfterThePeriod) {
    const TTableRead read = ReadDrawTable(
        "期号,开奖日期,开奖号码\n2026001,2026-01-02,1234567\n2026002,2026/01/04,2345678\n"
        "2026003,2026.1.6,3456789\n2026004,2026年1月8日,4567890\n");
    EXPECT_EQ(Described(read),
              (Lines{"2026001 1234567 2026-01-02 2", "2026002 2345678 2026/01/04 3",
                     "2026003 3456789 2026.1.6 4", "2026004 4567890 2026年1月8日 5"}));
    EXPECT_TRUE(read.Skipped.empty());
}

TEST(TableImport, DateBeforeThePeriodIsNotThePeriod) {
    const TTableRead read = ReadDrawTable(
        "开奖日期\t期号\t号码\n2026-12-07\t2026140\t0372915\n2026/12/09\t2026141\t1,2,3,4,5,6,7\n");
    EXPECT_EQ(Described(read),
              (Lines{"2026140 0372915 2026-12-07 2", "2026141 1234567 2026/12/09 3"}));
}

TEST(TableImport, QuotedFields) {
    const TTableRead read = ReadDrawTable(
        "\"期号\",\"开奖号码\"\n\"2026001\",\"1,2,3,4,5,6,7\"\n\"2026002\",\"2 3 4 5 6 7 8\"\n"
        "\"2026003\",\"3456789\"\n2026004,\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"0\"\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 2", "2026002 2345678 - 3",
                                      "2026003 3456789 - 4", "2026004 4567890 - 5"}));
    EXPECT_TRUE(read.Skipped.empty());
}

TEST(TableImport, BlankAndSemicolonSeparated) {
    const TTableRead read = ReadDrawTable(
        "期号   开奖号码\n2026001   1234567\n  2026002 2 3 4 5 6 7 8  \n"
        "2026003;3456789\n2026004 ; 4 ; 5 ; 6 ; 7 ; 8 ; 9 ; 0\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 2", "2026002 2345678 - 3",
                                      "2026003 3456789 - 4", "2026004 4567890 - 5"}));
    EXPECT_TRUE(read.Skipped.empty());
}

TEST(TableImport, WeekdayAndOtherWordsBetweenPeriodAndDigits) {
    const TTableRead read = ReadDrawTable("第2026001期 2026-01-02 周五 1234567 销售额 500\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 2026-01-02 1"}));
}

TEST(TableImport, NewestFirstIsPutInAscendingOrder) {
    const TTableRead read = ReadDrawTable(
        "期号,号码\n2026005,5555555\n2026004,4444444\n2026003,3333333\n2026002,2222222\n");
    EXPECT_EQ(Described(read), (Lines{"2026002 2222222 - 5", "2026003 3333333 - 4",
                                      "2026004 4444444 - 3", "2026005 5555555 - 2"}));
}

TEST(TableImport, AnyOrderIsPutInAscendingOrder) {
    const TTableRead read = ReadDrawTable("3,3333333\n1,1111111\n10,0000000\n2,2222222\n");
    EXPECT_EQ(Described(read),
              (Lines{"1 1111111 - 2", "2 2222222 - 4", "3 3333333 - 1", "10 0000000 - 3"}));
}

TEST(TableImport, TheProgramsOwnExport) {
    TCodeNet net;
    for (const char* digits : {"0372915", "1234567", "7654321"}) {
        const int row = net.Add();
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            net.SetNum(row, pos, digits[pos] - '0');
        }
    }
    const std::string exported = net.ExportText();
    const TTableRead read = ReadDrawTable(exported);
    EXPECT_EQ(Described(read), (Lines{"1* 0372915 - 5", "2* 1234567 - 6", "3* 7654321 - 7"}));
    EXPECT_TRUE(read.Skipped.empty());
    EXPECT_EQ(Digits(ImportedRows({}, read, TImportMode::Replace)),
              (Lines{"0372915", "1234567", "7654321"}));
}

TEST(TableImport, SevenBareDigitFieldsAreTheExportToo) {
    const TTableRead read = ReadDrawTable("1 2 3 4 5 6 7\n7,6,5,4,3,2,1\n");
    EXPECT_EQ(Described(read), (Lines{"1* 1234567 - 1", "2* 7654321 - 2"}));
}

TEST(TableImport, CommentsAndBlankLinesAreNeitherDrawsNorReported) {
    const TTableRead read =
        ReadDrawTable("; 开奖数据\n// 来自网站\n\n   \n\t\n2026001,1234567\n;2026002,1111111\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 6"}));
    EXPECT_TRUE(read.Skipped.empty());
}

TEST(TableImport, TitleLinesAboveTheDrawsAreHeaders) {
    const TTableRead read =
        ReadDrawTable("七星彩历史开奖数据\n期号,日期,号码\n2026001,2026-01-02,1234567\n");
    EXPECT_EQ(read.Draws.size(), 1U);
    EXPECT_TRUE(read.Skipped.empty());
}

// Line ends.

TEST(TableImport, LineEndsLfCrLfAndCr) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const std::string e = end;
        const TTableRead read =
            ReadDrawTable("期号,号码" + e + "1,1111111" + e + e + "2,222222" + e + "3,3333333");
        EXPECT_EQ(Described(read), (Lines{"1 1111111 - 2", "3 3333333 - 5"})) << e.size();
        EXPECT_EQ(SkippedTexts(read), (Lines{"第4行：只有6个数字"}));
    }
}

TEST(TableImport, MixedLineEndsCountEveryLine) {
    const TTableRead read = ReadDrawTable("1,1111111\r\n2,2222222\r3,3333333\n\r4,444\r\n");
    EXPECT_EQ(Described(read), (Lines{"1 1111111 - 1", "2 2222222 - 2", "3 3333333 - 3"}));
    EXPECT_EQ(SkippedTexts(read), (Lines{"第5行：只有3个数字"}));
}

// Encodings.

std::string Utf16(const std::string& utf8, bool bigEndian) {
    // Every character of these tests lies in the basic plane.
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        int extra = 0;
        if (c >= 0xE0) {
            code = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            code = c & 0x1F;
            extra = 1;
        }
        for (int k = 1; k <= extra; ++k) {
            code =
                (code << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
        }
        i += static_cast<size_t>(extra) + 1;
        const char hi = static_cast<char>(code >> 8);
        const char lo = static_cast<char>(code & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

const std::string kChineseFile =
    "期号,开奖日期,开奖号码\r\n2026001,2026年1月2日,1234567\r\n2026002,2026-01-04,12345\r\n";

void ExpectChineseFile(const TTableRead& read) {
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 2026年1月2日 2"}));
    EXPECT_EQ(SkippedTexts(read), (Lines{"第3行：只有5个数字"}));
}

TEST(TableImport, Utf8WithAndWithoutBom) {
    ExpectChineseFile(ReadDrawTable(kChineseFile));
    ExpectChineseFile(ReadDrawTable("\xEF\xBB\xBF" + kChineseFile));
}

TEST(TableImport, Utf16LittleAndBigEndian) {
    ExpectChineseFile(ReadDrawTable(Utf16(kChineseFile, false)));
    ExpectChineseFile(ReadDrawTable(Utf16(kChineseFile, true)));
}

TEST(TableImport, Gb18030WhenNotUtf8) {
    const std::string gbk = Utf8ToGbk(kChineseFile);
    ASSERT_FALSE(IsValidUtf8(gbk));
    ExpectChineseFile(ReadDrawTable(gbk));
    // Four-byte GB18030 (U+00C0 À lies outside GBK) in a date-less line.
    const TTableRead read =
        ReadDrawTable(std::string("\xC6\xDA\xBA\xC5\n1,1234567\n2,\x81\x30\x86\x38\n"));
    EXPECT_EQ(Described(read), (Lines{"1 1234567 - 2"}));
    EXPECT_EQ(SkippedTexts(read), (Lines{"第3行：期号后面没有开奖号码"}));
}

TEST(TableImport, UndecodableBytesAreRefused) {
    // An odd number of UTF-16 bytes; a UTF-8 mark before invalid UTF-8;
    // bytes that are neither UTF-8 nor GB18030.
    for (const std::string& bytes :
         {std::string("\xFF\xFE\x31\x00\x32", 5), std::string("\xEF\xBB\xBF\xFF\xFF"),
          std::string("1,1234567\n\xFF\xFF")}) {
        try {
            ReadDrawTable(bytes);
            ADD_FAILURE() << bytes.size();
        } catch (const EImportError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with("文件的编码无法识别"))
                << error.what();
        }
    }
}

// Every reason a line is reported for.

TEST(TableImport, EveryReason) {
    const TTableRead read = ReadDrawTable(
        "期号,号码\n"
        "2026001,1234567\n"      // 2: a draw
        "2026002,123456\n"       // 3: six digits in one field
        "2026003,1,2,3,4,5,6\n"  // 4: six one-digit fields
        "2026004,12345678\n"     // 5: eight digits
        "2026005,1,2,3,4,5,6,7,8\n"
        "26006\n"               // 7: a period alone
        "2026007,2026-12-07\n"  // 8: only a date after it
        "2026008,12a4567\n"     // 9: a letter among the digits
        "2026009,\"1,2,3\"\n"   // 10: a quoted field of three digits
        "abc,def\n"             // 11: no period after the first draw
        "2026010,\"1,2,3,4,5,6,7,8\"\n"
        "12345678901,2026-01-01\n"            // 13: eleven digits are no period
        "2026011,2025-12-01,3 5 x 1 2 9 0\n"  // 14: a letter among one-digit fields
        "2026012,3,5,xy,1,2,9,0\n"            // 15: the same, comma-separated
        "2026013,1,2,3,4,5,6,备注\n");        // 16: six digits and a word
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 2"}));
    EXPECT_EQ(SkippedTexts(read),
              (Lines{"第3行：只有6个数字", "第4行：只有6个数字", "第5行：有8个数字，多于7个",
                     "第6行：有8个数字，多于7个", "第7行：期号后面没有开奖号码",
                     "第8行：期号后面没有开奖号码", "第9行：开奖号码“12a4567”里有数字以外的字符",
                     "第10行：只有3个数字", "第11行：没有期号", "第12行：有8个数字，多于7个",
                     "第13行：没有期号", "第14行：开奖号码“3 5 x 1 2 9 0”里有数字以外的字符",
                     "第15行：开奖号码“3,5,xy,1,2,9,0”里有数字以外的字符", "第16行：只有6个数字"}));
    ASSERT_EQ(read.Skipped.size(), 14U);
    EXPECT_EQ(read.Skipped[0].Line, 3);
    EXPECT_EQ(read.Skipped[0].Reason, "只有6个数字");
}

TEST(TableImport, PeriodOfTenDigitsIsNotAPeriod) {
    const TTableRead read = ReadDrawTable("1,1111111\n2026000001,2222222\n");
    // The ten-digit number is passed over; 2222222 is then the period.
    EXPECT_EQ(SkippedTexts(read), (Lines{"第2行：期号后面没有开奖号码"}));
}

TEST(TableImport, EmptyAndHeaderOnlyFilesHaveNoDraws) {
    for (const char* text : {"", "\n\n", "期号,开奖号码\n", "; only a comment\r\n"}) {
        const TTableRead read = ReadDrawTable(text);
        EXPECT_TRUE(read.Draws.empty()) << text;
        EXPECT_TRUE(read.Skipped.empty()) << text;
        try {
            ImportedRows({}, read, TImportMode::Replace);
            ADD_FAILURE() << text;
        } catch (const EImportError& error) {
            EXPECT_STREQ(error.what(), "文件里没有可以导入的开奖号码。");
        }
    }
}

TEST(TableImport, UnclosedQuoteRunsToTheLineEnd) {
    const TTableRead read = ReadDrawTable("2026001,\"1234567\n2026002,\"1,2,3,4,5,6,7\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 1", "2026002 1234567 - 2"}));
}

// Duplicates.

TEST(TableImport, SameDrawTwiceCountsOnce) {
    const TTableRead read =
        ReadDrawTable("1,1111111\n2,2222222\n1,1111111\n2,2222222\n3,3333333\n");
    EXPECT_EQ(Described(read), (Lines{"1 1111111 - 1", "2 2222222 - 2", "3 3333333 - 5"}));
    EXPECT_TRUE(read.Conflicts.empty());
}

TEST(TableImport, SamePeriodOtherDigitsIsAConflictNamingBothLines) {
    const TTableRead read = ReadDrawTable(
        "期号,号码\n2026003,3333333\n2026002,2222222\n2026005,5555555\n"
        "2026002,2222222\n2026005,5555556\n");
    ASSERT_EQ(read.Conflicts.size(), 1U);
    EXPECT_EQ(read.Conflicts[0].Period, 2026005);
    EXPECT_EQ(ConflictText(read.Conflicts[0]), "第4行和第6行：第2026005期的号码不同");
    try {
        ImportedRows({}, read, TImportMode::Replace);
        ADD_FAILURE();
    } catch (const EImportError& error) {
        EXPECT_STREQ(error.what(), "文件里同一期有不同的开奖号码，请先改正文件再导入。");
    }
    EXPECT_THROW(ImportedRows(Table({"2222222", "3333333"}), read, TImportMode::Append),
                 EImportError);
}

TEST(TableImport, ListsAreCutAtAThousandLinesAndCounted) {
    std::string text;
    for (int period = 1; period <= 1002; ++period) {
        text += std::to_string(period) + ",123456\n";
    }
    for (int period = 1; period <= 1003; ++period) {
        text += std::to_string(period) + ",1111111\n" + std::to_string(period) + ",2222222\n";
    }
    const TTableRead read = ReadDrawTable(text);
    ASSERT_EQ(read.Skipped.size(), MaxListedLines);
    EXPECT_EQ(SkippedText(read.Skipped.back()), "第1000行：只有6个数字");
    EXPECT_EQ(read.SkippedTotal, 1002U);
    ASSERT_EQ(read.Conflicts.size(), MaxListedLines);
    EXPECT_EQ(read.ConflictsTotal, 1003U);
    EXPECT_EQ(UnlistedText(3), "……另有3行未列出");
}

TEST(TableImport, ConflictInANewestFirstFileNamesLinesInFileOrder) {
    const TTableRead read = ReadDrawTable("3,3333333\n2,2222222\n2,2222229\n1,1111111\n");
    ASSERT_EQ(read.Conflicts.size(), 1U);
    EXPECT_EQ(ConflictText(read.Conflicts[0]), "第2行和第3行：第2期的号码不同");
    EXPECT_EQ(Described(read), (Lines{"1 1111111 - 4", "2 2222222 - 2", "3 3333333 - 1"}));
}

// Append and replace.

TTableRead Periods(int first, const std::vector<std::string>& digits) {
    std::string text = "期号,号码\n";
    for (size_t i = 0; i < digits.size(); ++i) {
        text += std::to_string(first + static_cast<int>(i)) + "," + digits[i] + "\n";
    }
    return ReadDrawTable(text);
}

TEST(TableImport, AppendAfterTheMatch) {
    const auto table = Table({"0000000", "1111111", "2222222", "3333333"});
    const TTableRead read =
        Periods(2026001, {"1111111", "2222222", "3333333", "4444444", "5555555"});
    EXPECT_EQ(FindAppendStart(table, read.Draws), 3U);
    EXPECT_EQ(Digits(ImportedRows(table, read, TImportMode::Append)),
              (Lines{"0000000", "1111111", "2222222", "3333333", "4444444", "5555555"}));
}

TEST(TableImport, AppendKeepsTheTablesCheckMarks) {
    auto table = Table({"1111111", "2222222", "3333333"});
    table[1].Selected = true;
    const TTableRead read = Periods(1, {"1111111", "2222222", "3333333", "4444444"});
    const std::vector<TSeq> rows = ImportedRows(table, read, TImportMode::Append);
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_TRUE(rows[1].Selected);
    EXPECT_FALSE(rows[3].Selected);
}

TEST(TableImport, AppendWithNothingNewAddsNothing) {
    const auto table = Table({"1111111", "2222222", "3333333"});
    const TTableRead read = Periods(1, {"1111111", "2222222", "3333333"});
    EXPECT_EQ(FindAppendStart(table, read.Draws), 3U);
    EXPECT_EQ(ImportedRows(table, read, TImportMode::Append).size(), 3U);
}

TEST(TableImport, AppendTakesTheLongestMatch) {
    // The table ends 5,1,2,3. The file holds 1,2,3 early (a run of three)
    // and 5,1,2,3 later... and also 9,1,2,3 at the very end: the longest
    // run (four draws) wins over the later shorter one.
    const auto table = Table({"0000000", "5555555", "1111111", "2222222", "3333333"});
    const TTableRead read = Periods(1, {"5555555", "1111111", "2222222", "3333333", "6666666",
                                        "9999999", "1111111", "2222222", "3333333", "7777777"});
    EXPECT_EQ(FindAppendStart(table, read.Draws), 4U);
}

TEST(TableImport, AppendTakesTheLatestOfEquallyLongMatches) {
    const auto table = Table({"1111111", "2222222", "3333333"});
    const TTableRead read = Periods(1, {"1111111", "2222222", "3333333", "4444444", "1111111",
                                        "2222222", "3333333", "5555555"});
    EXPECT_EQ(FindAppendStart(table, read.Draws), 7U);
    EXPECT_EQ(Digits(ImportedRows(table, read, TImportMode::Append)),
              (Lines{"1111111", "2222222", "3333333", "5555555"}));
}

TEST(TableImport, AppendNeedsThreeMatchingDraws) {
    const auto table = Table({"9999999", "1111111", "2222222", "3333333"});
    // Only the last two draws of the table are in the file.
    const TTableRead two = Periods(1, {"2222222", "3333333", "4444444"});
    EXPECT_FALSE(FindAppendStart(table, two.Draws).has_value());
    try {
        ImportedRows(table, two, TImportMode::Append);
        ADD_FAILURE();
    } catch (const EImportError& error) {
        EXPECT_STREQ(error.what(),
                     "无法追加：文件里找不到与码表最后3期相同的连续开奖号码，只能替换整个码表。");
    }
    // The table's last draw is not in the file at all.
    const TTableRead none = Periods(1, {"1111111", "2222222", "4444444"});
    EXPECT_FALSE(FindAppendStart(table, none.Draws).has_value());
    // Replace is always possible.
    EXPECT_EQ(Digits(ImportedRows(table, two, TImportMode::Replace)),
              (Lines{"2222222", "3333333", "4444444"}));
}

TEST(TableImport, ShortTablesNeedAllTheirDraws) {
    const auto one = Table({"3333333"});
    const TTableRead read = Periods(1, {"1111111", "3333333", "4444444", "3333333", "5555555"});
    EXPECT_EQ(FindAppendStart(one, read.Draws), 4U);
    const auto two = Table({"1111111", "3333333"});
    EXPECT_EQ(FindAppendStart(two, read.Draws), 2U);
    const auto other = Table({"4444444", "1111111"});
    EXPECT_FALSE(FindAppendStart(other, read.Draws).has_value());
    try {
        ImportedRows(other, read, TImportMode::Append);
        ADD_FAILURE();
    } catch (const EImportError& error) {
        EXPECT_STREQ(error.what(),
                     "无法追加：文件里找不到与码表最后2期相同的连续开奖号码，只能替换整个码表。");
    }
}

TEST(TableImport, AppendToAnEmptyTableTakesEveryDraw) {
    const TTableRead read = Periods(1, {"1111111", "2222222"});
    EXPECT_EQ(FindAppendStart({}, read.Draws), 0U);
    EXPECT_EQ(Digits(ImportedRows({}, read, TImportMode::Append)), (Lines{"1111111", "2222222"}));
}

TEST(TableImport, TableLongerThanTheFileMatchesItsWholeLength) {
    const auto table = Table({"0000000", "1111111", "2222222", "3333333", "4444444"});
    const TTableRead read = Periods(1, {"2222222", "3333333", "4444444"});
    EXPECT_EQ(FindAppendStart(table, read.Draws), 3U);
}

TEST(TableImport, AnAppendPastTheRowBoundIsRefused) {
    const TTableRead read =
        Periods(1, {"0000000", "0000000", "0000000", "1111111", "2222222", "3333333"});
    // The file continues the table's last three draws by three more.
    EXPECT_THROW(ImportedRows(std::vector<TSeq>(kMaxDraws - 2), read, TImportMode::Append),
                 ETooManyDraws);
}

TEST(TableImport, ReplaceClearsCheckMarks) {
    const TTableRead read = Periods(1, {"1111111", "2222222"});
    const std::vector<TSeq> rows =
        ImportedRows(Table({"9999999", "8888888", "7777777"}), read, TImportMode::Replace);
    EXPECT_EQ(Digits(rows), (Lines{"1111111", "2222222"}));
}

// Files.

TEST(TableImport, ReadsAFile) {
    const test::TempDir dir;
    WriteFileAtomically(dir.File("draws.csv"), Utf8ToGbk(kChineseFile));
    ExpectChineseFile(ReadDrawTableFile(dir.File("draws.csv")));
}

void ExpectRefused(const std::string& path, const std::string& message) {
    try {
        ReadDrawTableFile(path);
        ADD_FAILURE() << path;
    } catch (const EImportError& error) {
        EXPECT_EQ(std::string(error.what()), message + path);
    }
}

TEST(TableImport, MissingFileAndFolderAreRefused) {
    const test::TempDir dir;
    ExpectRefused(dir.File("none.csv"), "找不到文件：");
    ExpectRefused(dir.Path(), "不是普通文件：");
}

TEST(TableImport, FifoIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#else
    const test::TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    ExpectRefused(dir.File("fifo"), "不是普通文件：");
#endif
}

TEST(TableImport, FileOverTheLimitIsRefused) {
    const test::TempDir dir;
    const std::string path = dir.File("big.csv");
    WriteFileAtomically(path, "1,1234567\n");
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(MaxTableFileBytes + 1)), 0);
    try {
        ReadDrawTableFile(path);
        ADD_FAILURE();
    } catch (const EImportError& error) {
        EXPECT_EQ(std::string(error.what()), "文件太大（超过128 MB），不能导入：" + path);
    }
}

TEST(TableImport, AFileOverTheLimitIsToldByItsSizeBeforeItIsRead) {
#if defined(_WIN32)
    GTEST_SKIP() << test::kNoChildProcessesOnWindows;
#elif defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit leaves";
#else
    const test::TempDir dir;
    const std::string path = dir.File("big.csv");
    WriteFileAtomically(path, "1,1234567\n");
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(MaxTableFileBytes + 1)), 0);
    // With less memory than its bytes would take the refusal is the same.
    const test::ChildEnd end = test::RunInChild([&path] {
        size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t room = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
        const rlimit bound{room, room};
        setrlimit(RLIMIT_AS, &bound);
        try {
            ReadDrawTableFile(path);
        } catch (const EImportError& error) {
            return std::string(error.what()).starts_with("文件太大") ? 0 : 1;
        } catch (...) {
        }
        return 2;
    });
    EXPECT_EQ(end.status, 0) << "2: the file was read before its size was looked at";
#endif
}

// Labels and dates.

std::vector<std::string> LabelsOf(const std::vector<TSeq>& rows) {
    std::vector<std::string> texts;
    for (const TSeq& row : rows) {
        texts.push_back((row.GetLabel().Empty() ? "-" : row.GetLabel().Text()) + " " +
                        (row.GetDate().Empty() ? "-" : row.GetDate().Text()) + " " + DigitsOf(row));
    }
    return texts;
}

std::vector<TSeq> Labelled(const std::vector<std::string>& labels) {
    std::vector<TSeq> rows;
    for (size_t i = 0; i < labels.size(); ++i) {
        rows.push_back(Draw(std::string(7, static_cast<char>('1' + i))));
        rows.back().SetLabel(*TLabel::Parse(labels[i]));
    }
    return rows;
}

TEST(TableImport, DrawsKeepTheirLabelsAndDates) {
    const TTableRead read = ReadDrawTable(
        "期号,开奖日期,开奖号码\n04101,2004年1月2日,1234567\n04102,,2345678\n"
        "04103,2004-02-30,3456789\n");
    EXPECT_EQ(LabelsOf(ImportedRows({}, read, TImportMode::Replace)),
              (Lines{"04101 2004-01-02 1234567", "04102 - 2345678"}));
    EXPECT_EQ(SkippedTexts(read), (Lines{"第4行：开奖日期“2004-02-30”不存在"}));
}

TEST(TableImport, LinesWithoutAPeriodInANumberedFileAreReported) {
    const TTableRead read = ReadDrawTable(
        "期号,开奖号码\n2026001,1234567\n7654321\n2026-01-03,1111111\n"
        "2026002,2345678\n");
    EXPECT_EQ(Described(read), (Lines{"2026001 1234567 - 2", "2026002 2345678 - 5"}));
    EXPECT_EQ(SkippedTexts(read), (Lines{"第3行：没有期号", "第4行：没有期号"}));
}

TEST(TableImport, AFileWithoutPeriodsIsNumberedInFileOrderWithItsDates) {
    const TTableRead read =
        ReadDrawTable("期号,开奖日期,开奖号码\n,2026-01-03,1234567\n,,7654321\n");
    EXPECT_EQ(Described(read), (Lines{"1* 1234567 2026-01-03 2", "2* 7654321 - 3"}));
    EXPECT_EQ(LabelsOf(ImportedRows({}, read, TImportMode::Replace)),
              (Lines{"- 2026-01-03 1234567", "- - 7654321"}));
}

TEST(TableImport, TwoSpellingsOfAPeriodAreOnePeriod) {
    const TTableRead read = ReadDrawTable(
        "26099,1234567\n2026099,1234567\n2026100,2222222\n"
        "26100,2222223\n");
    EXPECT_EQ(Described(read), (Lines{"26099 1234567 - 1", "2026100 2222222 - 3"}));
    ASSERT_EQ(read.Conflicts.size(), 1U);
    EXPECT_EQ(ConflictText(read.Conflicts[0]), "第3行和第4行：第2026100期的号码不同");
}

TEST(TableImport, AppendByLabelAddsTheDrawsAfterTheTablesLastInItsSpelling) {
    const auto table = Labelled({"26148", "26149"});
    // The file overlaps the table by one draw, with the table's digits.
    const TTableRead read = ReadDrawTable("2026149,2222222\n2026150,0000001\n2026151,0000002\n");
    const TImportPlan plan = PlanImport(table, read, TImportMode::Append);
    EXPECT_TRUE(plan.ByLabel);
    EXPECT_EQ(plan.Start, 1U);
    EXPECT_TRUE(plan.Conflicts.empty());
    EXPECT_TRUE(plan.Gaps.Empty());
    EXPECT_EQ(LabelsOf(ImportedRows(table, read, TImportMode::Append)),
              (Lines{"26148 - 1111111", "26149 - 2222222", "26150 - 0000001", "26151 - 0000002"}));
    // Nothing after the table's last draw: nothing to add.
    EXPECT_EQ(PlanImport(table, ReadDrawTable("26148,1111111\n"), TImportMode::Append).Start, 1U);
}

TEST(TableImport, AppendByLabelRefusesOtherDigitsForALabelTheTableHolds) {
    const auto table = Labelled({"2026148", "2026149"});
    const TTableRead read = ReadDrawTable("期号,号码\n2026148,1111112\n2026150,0000001\n");
    const TImportPlan plan = PlanImport(table, read, TImportMode::Append);
    ASSERT_EQ(plan.Conflicts.size(), 1U);
    EXPECT_EQ(LabelConflictText(plan.Conflicts[0]),
              "第2026148期：码表里是1111111，文件第2行是1111112");
    try {
        ImportedRows(table, read, TImportMode::Append, true);
        ADD_FAILURE();
    } catch (const EImportError& error) {
        EXPECT_STREQ(error.what(),
                     "文件里有些期码表里也有，但开奖号码不同，请先改正文件或码表再导入。");
    }
    // Replacing the table is still possible.
    EXPECT_EQ(ImportedRows(table, read, TImportMode::Replace, true).size(), 2U);
}

TEST(TableImport, GapsInsideTheFileAndAfterTheTableNeedConsent) {
    const auto table = Labelled({"2025152", "2025153"});
    const TTableRead read = ReadDrawTable("2026002,0000002\n2026003,0000003\n2026006,0000006\n");
    const TImportPlan plan = PlanImport(table, read, TImportMode::Append);
    EXPECT_EQ(plan.Gaps.Total, 3U);
    try {
        ImportedRows(table, read, TImportMode::Append);
        ADD_FAILURE();
    } catch (const EImportError& error) {
        EXPECT_STREQ(error.what(),
                     "开奖数据缺少3期：\n缺少第2026001期\n缺少第2026004期\n缺少第2026005期");
    }
    EXPECT_EQ(ImportedRows(table, read, TImportMode::Append, true).size(), 5U);
    // Replacing looks only inside the file.
    EXPECT_EQ(PlanImport(table, read, TImportMode::Replace).Gaps.Total, 2U);
    TLabelGaps many;
    AddGaps(*TLabel::Parse("1"), *TLabel::Parse("1003"), many);
    EXPECT_TRUE(GapsText(many).ends_with("\n缺少第1001期\n……另有1期未列出"));
}

TEST(TableImport, AppendByDigitsWhenTheTableHasNoLabelsBringsTheFilesLabels) {
    const auto table = Table({"1111111", "2222222", "3333333"});
    const TTableRead read = ReadDrawTable("7,1111111\n8,2222222\n9,3333333\n10,4444444\n");
    const TImportPlan plan = PlanImport(table, read, TImportMode::Append);
    EXPECT_FALSE(plan.ByLabel);
    EXPECT_EQ(LabelsOf(ImportedRows(table, read, TImportMode::Append)).back(), "10 - 4444444");
}

TEST(TableImport, TheTableExportIsReadBackToTheSameTable) {
    TCodeNet net;
    for (const char* digits : {"0372915", "1234567"}) {
        const int row = net.Add();
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            net.SetNum(row, pos, digits[pos] - '0');
        }
    }
    // Dates without labels: read back in file order.
    net.SetLabelDate(1, TLabel(), *TDrawDate::Parse("2026-12-06"));
    const std::string dated = ExportTableText(net);
    EXPECT_EQ(dated, "\xEF\xBB\xBF期号,开奖日期,开奖号码\r\n,,0372915\r\n,2026-12-06,1234567\r\n");
    EXPECT_EQ(LabelsOf(ImportedRows({}, ReadDrawTable(dated), TImportMode::Replace)),
              (Lines{"- - 0372915", "- 2026-12-06 1234567"}));
    // Labels on some draws only: the others cannot be placed among them.
    net.SetLabelDate(1, *TLabel::Parse("04101"), *TDrawDate::Parse("2026-12-06"));
    const TTableRead read = ReadDrawTable(ExportTableText(net));
    EXPECT_EQ(LabelsOf(ImportedRows({}, read, TImportMode::Replace)),
              (Lines{"04101 2026-12-06 1234567"}));
    EXPECT_EQ(SkippedTexts(read), (Lines{"第2行：没有期号"}));
}

TEST(TableImport, DoneTextNamesTheNewestLabel) {
    EXPECT_EQ(ImportDoneText(TImportMode::Append, 2, 362, *TLabel::Parse("2026150")),
              "追加了2期，最新一期为2026150期");
    EXPECT_EQ(ImportDoneText(TImportMode::Replace, 12, 372), "导入了12期，最新一期为第372期");
}

}  // namespace
}  // namespace tovarin
