#include <gtest/gtest.h>

#include <string>

#include "core/base/Codec.h"
#include "core/base/Errors.h"

namespace tovarin {
namespace {

TEST(Codec, ChineseTextRoundTrips) {
    const std::string utf8 = "稳上头:[铁]12与34相配,方案选项设置：工作文档.lvrn";
    const std::string gbk = Utf8ToGbk(utf8);
    EXPECT_LT(gbk.size(), utf8.size());
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(Codec, KnownGbkBytes) {
    EXPECT_EQ(Utf8ToGbk("与相配"), std::string("\xD3\xEB\xCF\xE0\xC5\xE4"));
    EXPECT_EQ(Utf8ToGbk("稳"), std::string("\xCE\xC8"));
    EXPECT_EQ(GbkToUtf8("\xB3\xC9\xB9\xA6"), "成功");
    EXPECT_EQ(Utf8ToGbk("abc 123\r\n"), "abc 123\r\n");
    EXPECT_EQ(Utf8ToGbk(""), "");
    EXPECT_EQ(GbkToUtf8(""), "");
}

TEST(Codec, LongTextGrowsTheBuffer) {
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "头尾合a";
    }
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(utf8)), utf8);
    EXPECT_EQ(Utf8ToGbk(utf8).size(), 5000U * 7);
}

TEST(Codec, RefusesInvalidUtf8) {
    const char* const bad[] = {"\xFF", "ab\xC3", "\xE4\xB8", "\xC0\xAF", "a\x80z", "\xED\xA0\x80"};
    for (const char* text : bad) {
        EXPECT_THROW(Utf8ToGbk(text), ECodecError) << text;
    }
}

TEST(Codec, RefusesTextWithoutAGbkForm) {
    try {
        Utf8ToGbk("ab\xF0\x9F\x98\x80");
        ADD_FAILURE();
    } catch (const ECodecError& error) {
        EXPECT_STREQ(error.what(), "Text cannot be converted to GBK at byte 2");
    }
}

TEST(Codec, RefusesInvalidGbk) {
    const char* const bad[] = {"\xFF", "\xD3", "a\x81\x20", "\xCE\xC8\xCE", "\x81\x7F"};
    for (const char* text : bad) {
        EXPECT_THROW(GbkToUtf8(text), ECodecError) << text;
    }
    try {
        GbkToUtf8("\xCE\xC8\xFF\xFF");
        ADD_FAILURE();
    } catch (const ECodecError& error) {
        EXPECT_STREQ(error.what(), "Text cannot be converted from GBK at byte 2");
    }
}

TEST(Codec, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("abcdefghijklmnopqrstuvwxyz 0123456789"));
    EXPECT_TRUE(IsValidUtf8("期号,开奖号码 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
    const char* const bad[] = {"\xFF",
                               "abcdefgh\xC3",
                               "\xE4\xB8",
                               "\xC0\xAF",
                               "\xC1\xBF",
                               "a\x80z",
                               "\xED\xA0\x80",
                               "\xE0\x80\x80",
                               "\xF0\x80\x80\x80",
                               "\xF4\x90\x80\x80",
                               "\xF5\x80\x80\x80",
                               "\xE4\xB8\x41"};
    for (const char* text : bad) {
        EXPECT_FALSE(IsValidUtf8(text)) << text;
    }
}

std::string TextFileToUtf8(std::string_view bytes) {
    std::string converted;
    return std::string(TextFileAsUtf8(bytes, converted));
}

TEST(Codec, TextFilesInEveryEncoding) {
    EXPECT_EQ(TextFileToUtf8("期号"), "期号");
    EXPECT_EQ(TextFileToUtf8("\xEF\xBB\xBF期号"), "期号");
    EXPECT_EQ(TextFileToUtf8(std::string("\xFF\xFE\x1F\x67\xF7\x53", 6)), "期号");
    EXPECT_EQ(TextFileToUtf8(std::string("\xFE\xFF\x67\x1F\x53\xF7", 6)), "期号");
    EXPECT_EQ(TextFileToUtf8("\xC6\xDA\xBA\xC5"), "期号");
    EXPECT_EQ(TextFileToUtf8("\x81\x30\x86\x38"), "À");
    EXPECT_EQ(TextFileToUtf8(""), "");
    EXPECT_EQ(TextFileToUtf8("\xFF\xFE"), "");
}

TEST(Codec, Utf8TextFilesAreNotCopied) {
    const std::string bytes = "期号,开奖号码";
    std::string converted;
    EXPECT_EQ(TextFileAsUtf8(bytes, converted).data(), bytes.data());
    const std::string marked = "\xEF\xBB\xBF期号";
    EXPECT_EQ(TextFileAsUtf8(marked, converted).data(), marked.data() + 3);
    EXPECT_TRUE(converted.empty());
    const std::string gbk = "\xC6\xDA\xBA\xC5";
    const std::string_view text = TextFileAsUtf8(gbk, converted);
    EXPECT_EQ(text.data(), converted.data());
    EXPECT_EQ(text, "期号");
}

TEST(Codec, TextFilesThatFitNoEncodingAreRefused) {
    EXPECT_THROW(TextFileToUtf8("\xEF\xBB\xBF\xC6\xDA"), ECodecError);
    EXPECT_THROW(TextFileToUtf8(std::string("\xFF\xFE\x1F", 3)), ECodecError);
    EXPECT_THROW(TextFileToUtf8(std::string("\xFF\xFE\x00\xD8\x41\x00", 6)), ECodecError);
    EXPECT_THROW(TextFileToUtf8("\xFF\xFF\xFF"), ECodecError);
}

}  // namespace
}  // namespace tovarin
