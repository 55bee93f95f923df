#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <iconv.h>
#endif

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

// Astral characters take a surrogate pair in UTF-16 and four bytes in UTF-8.
TEST(Codec, Utf16TextFilesKeepCharactersBeyondTheBasicPlane) {
    EXPECT_EQ(TextFileToUtf8(std::string("\xFF\xFE\x3D\xD8\x00\xDE\x41\x00", 8)),
              "\xF0\x9F\x98\x80"
              "A");
    EXPECT_EQ(TextFileToUtf8(std::string("\xFE\xFF\xDB\xFF\xDF\xFF", 6)), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(TextFileToUtf8(std::string("\xFF\xFE\x7F\x00\x80\x00\xFF\x07\x00\x08", 10)),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80");
}

std::string RefusalOf(std::string_view bytes) {
    try {
        TextFileToUtf8(bytes);
    } catch (const ECodecError& e) {
        return e.what();
    }
    return "accepted";
}

// The byte named is where the refused character starts, after the mark.
TEST(Codec, RefusedTextFilesSayWhere) {
    EXPECT_EQ(RefusalOf(std::string("\xFF\xFE\x41\x00\x1F", 5)),
              "Text cannot be converted from UTF-16 at byte 2");
    EXPECT_EQ(RefusalOf(std::string("\xFF\xFE\x41\x00\x00\xD8\x41\x00", 8)),
              "Text cannot be converted from UTF-16 at byte 2");
    EXPECT_EQ(RefusalOf(std::string("\xFE\xFF\x00\x41\xDC\x00\x00\x41", 8)),
              "Text cannot be converted from UTF-16 at byte 2");
    EXPECT_EQ(RefusalOf(std::string("\xFE\xFF\x00\x41\xD8\x00", 6)),
              "Text cannot be converted from UTF-16 at byte 2");
    EXPECT_EQ(RefusalOf("\xEF\xBB\xBF\xC6\xDA"), "Text cannot be converted from UTF-8");
    EXPECT_EQ(RefusalOf("\xC6\xDA\xBA\xFF"), "Text cannot be converted from GB18030 at byte 2");
}

// Every code the lead bytes 81 to FE start: all two-byte ones, and the
// four-byte ones of the first lead bytes (the Basic Multilingual Plane),
// around the start of the supplementary planes, around their end and of
// the last lead byte.
void ForEveryGb18030Code(const std::function<void(std::string_view)>& visit) {
    for (unsigned byte = 0; byte < 0x81; ++byte) {
        visit(std::string(1, static_cast<char>(byte)));
    }
    visit("\xFF");
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned second = 0; second < 256; ++second) {
            const char code[] = {static_cast<char>(lead), static_cast<char>(second)};
            visit(std::string_view(code, 2));
        }
    }
    for (const unsigned lead : {0x81, 0x82, 0x83, 0x84, 0x85, 0x8F, 0x90, 0xE3, 0xE4, 0xFE}) {
        for (unsigned second = 0x30; second <= 0x39; ++second) {
            for (unsigned third = 0x81; third <= 0xFE; ++third) {
                for (unsigned fourth = 0x30; fourth <= 0x39; ++fourth) {
                    const char code[] = {static_cast<char>(lead), static_cast<char>(second),
                                         static_cast<char>(third), static_cast<char>(fourth)};
                    visit(std::string_view(code, 4));
                }
            }
        }
    }
}

// The figures are glibc's (see Gb18030AsGlibcReadsIt).
TEST(Codec, EveryGb18030CodeConvertsAsEverywhere) {
    Listing listing;
    ForEveryGb18030Code(
        [&](std::string_view code) { listing.AddConversion(code, &Gb18030ToUtf8); });
    EXPECT_EQ(listing.Converted(), 78846);
    EXPECT_EQ(listing.Hash(), 0x0ecc299e645af70dULL);
}

TEST(Codec, Gb18030BesideGbk) {
    EXPECT_EQ(Gb18030ToUtf8("\xC6\xDA\xA2\xE3\xBA\xC5"), "期€号");
    EXPECT_EQ(Gb18030ToUtf8("a\x81\x30\x81\x30z\x84\x31\xA4\x39"), "a\xC2\x80z\xEF\xBF\xBF");
    EXPECT_EQ(Gb18030ToUtf8("\x90\x30\x81\x30\xE3\x32\x9A\x35"),
              "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Gb18030ToUtf8("\xAA\xA1\xFE\xFE"), "\xEE\x80\x80\xEE\x93\x85");
    EXPECT_EQ(Gb18030ToUtf8(""), "");
    const std::pair<std::string, size_t> refused[] = {
        {"\x80", 0},
        {"a\xC6\xDA\x80", 3},
        {"\xC6\xDA\x81\x30", 2},
        {"\xC6\xDA\x81\x30\x81", 2},
        {"\xC6\xDA\xFF\xA2\xE3", 2},
        {"\xC6\xDA\xC6\x0A\x90\x30\x81\x30", 2},
        {"\xE3\x32\x9A\x36", 0},
        {"\x84\x31\xA5\x30", 0},
        {"\xC6\xDA\xC6", 2},
        {"\xA2\xE3\x81\x30\x81\x29", 2},
    };
    for (const auto& [text, at] : refused) {
        try {
            Gb18030ToUtf8(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const ECodecError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Text cannot be converted from GB18030 at byte " + std::to_string(at))
                << text;
        }
    }
}

#ifndef _WIN32
// What glibc's converter makes of a text: its UTF-8, or where it stopped.
std::string GlibcGb18030(std::string_view text) {
    const iconv_t cd = iconv_open("UTF-8", "GB18030");
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* to = out.data();
    size_t toLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &to, &toLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) {
        return "refused at " + std::to_string(text.size() - inLeft);
    }
    out.resize(out.size() - toLeft);
    return out;
}

std::string OursGb18030(std::string_view text) {
    try {
        return Gb18030ToUtf8(text);
    } catch (const ECodecError& error) {
        return "refused at " + std::to_string(error.At().value_or(SIZE_MAX));
    }
}

// Every code on its own, and texts of random codes (valid ones of every
// kind and stray bytes), converted as glibc converts them.
TEST(Codec, Gb18030AsGlibcReadsIt) {
    std::vector<std::string> codes;
    ForEveryGb18030Code([&](std::string_view code) {
        const std::string ours = OursGb18030(code);
        ASSERT_EQ(ours, GlibcGb18030(code)) << testing::PrintToString(std::string(code));
        codes.emplace_back(code);
    });
    std::mt19937 random(18030);
    std::uniform_int_distribution<size_t> pick(0, codes.size() - 1);
    std::uniform_int_distribution<int> length(1, 12);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            const std::string& code = codes[pick(random)];
            // Valid codes mostly, so that errors come late in the text.
            if (GlibcGb18030(code).starts_with("refused") && random() % 8 != 0) {
                continue;
            }
            text += code;
        }
        ASSERT_EQ(OursGb18030(text), GlibcGb18030(text)) << testing::PrintToString(text);
    }
}
#endif

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
