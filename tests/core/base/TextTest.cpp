#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

TEST(Text, TrimRemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim("\x01x\x1F"), "x");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim(" 稳 "), "稳") << "bytes of UTF-8 characters are not blanks";
    EXPECT_EQ(Trim("x"), "x");
}

struct IntRow {
    const char* text;
    bool ok;
    int value;
};

TEST(Text, StrToIntAcceptsBlanksSignAndDecimalDigitsOnly) {
    const IntRow rows[] = {
        {"0", true, 0},
        {"7", true, 7},
        {"-7", true, -7},
        {"+7", true, 7},
        {"  42", true, 42},
        {" -3", true, -3},
        {"007", true, 7},
        {"-0", true, 0},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"+", false, 0},
        {"1 ", false, 0},
        {"1a", false, 0},
        {"a1", false, 0},
        {"0x10", false, 0},
        {"$10", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"- 1", false, 0},
        {"\t1", false, 0},
        {"1,2", false, 0},
        {"\xEF\xBC\x91", false, 0},  // a full-width digit one
    };
    for (const IntRow& row : rows) {
        int value = 12345;
        EXPECT_EQ(TryStrToInt(row.text, value), row.ok) << "'" << row.text << "'";
        if (row.ok) {
            EXPECT_EQ(value, row.value) << row.text;
            EXPECT_EQ(StrToInt(row.text), row.value) << row.text;
        } else {
            EXPECT_EQ(value, 12345) << "a refused text leaves the value alone";
            try {
                StrToInt(row.text);
                ADD_FAILURE() << "'" << row.text << "' must be refused";
            } catch (const EConvertError& error) {
                EXPECT_EQ(error.what(),
                          "'" + std::string(row.text) + "' is not a valid integer value");
            }
        }
    }
}

TEST(Text, GroupedIntPutsACommaBetweenGroupsOfThree) {
    const std::pair<long long, const char*> cases[] = {{0, "0"},
                                                       {7, "7"},
                                                       {999, "999"},
                                                       {1000, "1,000"},
                                                       {710694, "710,694"},
                                                       {1000000, "1,000,000"},
                                                       {-1234, "-1,234"},
                                                       {-999, "-999"},
                                                       {LLONG_MIN, "-9,223,372,036,854,775,808"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(GroupedInt(value), text) << value;
    }
}

TEST(Text, IntToStrAndYesNo) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-15), "-15");
    EXPECT_EQ(IntToStr(1234567890123LL), "1234567890123");
    EXPECT_STREQ(YesNoText(true), "是");
    EXPECT_STREQ(YesNoText(false), "否");
}

TEST(Text, SplitTextWithDelimitersOfAnyLength) {
    EXPECT_EQ(SplitText("#", "a#b##c#"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitText("##", " ##a##b###c "), (std::vector<std::string>{"a", "b", "#c"}));
    EXPECT_EQ(SplitText("与", "1与2"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(SplitText("#", ""), std::vector<std::string>{});
    EXPECT_EQ(SplitText("#", "  abc  "), std::vector<std::string>{"abc"});
    EXPECT_EQ(SplitText("", "a,b"), std::vector<std::string>{"a,b"});
}

}  // namespace
}  // namespace tovarin
