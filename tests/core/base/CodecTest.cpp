#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

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

// FNV-1a over a listing of every conversion: the same texts convert the
// same way on every system, whatever converter the system has.
class Listing {
public:
    void Add(std::string_view bytes) {
        for (const char c : bytes) {
            hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
        }
        hash_ = (hash_ ^ 0xFF) * 0x100000001B3ULL;
    }
    void AddConversion(std::string_view from, std::string (*convert)(std::string_view)) {
        Add(from);
        try {
            Add(convert(from));
            ++converted_;
        } catch (const ECodecError&) {
            Add("refused");
        }
    }
    uint64_t Hash() const { return hash_; }
    int Converted() const { return converted_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ULL;
    int converted_ = 0;
};

std::string Utf8Of(unsigned code) {
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

// Every single byte and every lead byte with every second byte. The
// figures are glibc's; Windows's code page 936 also gives the user-defined
// areas characters (of the Private Use Area), which the codec refuses there.
TEST(Codec, EveryGbkCodeConvertsAsEverywhere) {
    Listing listing;
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (lead < 0x81 || lead == 0xFF) {
            listing.AddConversion(std::string(1, static_cast<char>(lead)), &GbkToUtf8);
            continue;
        }
        for (unsigned second = 0; second < 256; ++second) {
            const char code[] = {static_cast<char>(lead), static_cast<char>(second)};
            listing.AddConversion(std::string_view(code, 2), &GbkToUtf8);
        }
    }
    EXPECT_EQ(listing.Converted(), 21920);
    EXPECT_EQ(listing.Hash(), 0x6053d067fef9666bULL);
}

// Every character of the Basic Multilingual Plane but the surrogates.
TEST(Codec, EveryCharacterConvertsToGbkAsEverywhere) {
    Listing listing;
    for (unsigned code = 0; code < 0x10000; ++code) {
        if (code < 0xD800 || code > 0xDFFF) {
            listing.AddConversion(Utf8Of(code), &Utf8ToGbk);
        }
    }
    EXPECT_EQ(listing.Converted(), 21920);
    EXPECT_EQ(listing.Hash(), 0x43c8a74b80fb9919ULL);
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

// Converters are kept open between texts: a text refused halfway through a
// character, or at a byte no character has, leaves nothing behind for the
// next one, in either direction and in every encoding.
TEST(Codec, AConversionAfterARefusedOneStartsClean) {
    for (int round = 0; round < 3; ++round) {
        EXPECT_THROW(GbkToUtf8("\xCE\xC8\xCE"), ECodecError);
        EXPECT_EQ(GbkToUtf8("\xB3\xC9\xB9\xA6"), "成功");
        EXPECT_THROW(GbkToUtf8("\xCE"), ECodecError);
        EXPECT_EQ(GbkToUtf8("\xC8\xC8"), "热") << "a lead byte left over would pair with the first";
        try {
            GbkToUtf8("\xCE\xC8\xFF\xFF");
            ADD_FAILURE();
        } catch (const ECodecError& error) {
            EXPECT_STREQ(error.what(), "Text cannot be converted from GBK at byte 2");
        }
        EXPECT_THROW(Utf8ToGbk("稳\xE4\xB8"), ECodecError);
        EXPECT_EQ(Utf8ToGbk("与相配"), std::string("\xD3\xEB\xCF\xE0\xC5\xE4"));
        EXPECT_THROW(TextFileToUtf8(std::string("\xFF\xFE\x1F\x67\x00\xD8", 6)), ECodecError);
        EXPECT_EQ(TextFileToUtf8(std::string("\xFF\xFE\x1F\x67\xF7\x53", 6)), "期号");
        EXPECT_THROW(TextFileToUtf8("\xC6\xDA\x81\x30"), ECodecError);
        EXPECT_EQ(TextFileToUtf8("\x81\x30\x86\x38"), "À");
    }
}

// Each thread converts with converters of its own.
TEST(Codec, ThreadsConvertAtTheSameTime) {
    const std::string utf8[] = {"稳上头:[铁]12与34相配", "方案选项设置", "与相配", "成功"};
    std::string gbk[4];
    for (int i = 0; i < 4; ++i) {
        gbk[i] = Utf8ToGbk(utf8[i]);
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            try {
                for (int i = 0; i < 2000; ++i) {
                    const int text = (i + t) % 4;
                    if (GbkToUtf8(gbk[text]) != utf8[text] || Utf8ToGbk(utf8[text]) != gbk[text]) {
                        ++wrong;
                    }
                }
            } catch (const ECodecError&) {
                ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace tovarin
