#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/base/Errors.h"
#include "core/settings/AppOptions.h"

namespace tovarin {
namespace {

TEST(AppOptions, DefaultsDescribeThemselves) {
    EXPECT_EQ(DescribeAppOptions(TAppOptions{}),
              "程序选项设置：\r\n"
              "显示每步的结果:否;显示最后一步的结果:是;更后自动计算:否;每行输出10个号码;"
              "输出方案的设置:否;输出选项的设置:否;自动核对中奖:是。");
}

TEST(AppOptions, EverySwitchOnAndTwentyCodesPerLine) {
    TAppOptions options;
    options.DetailEveryChk = true;
    options.DetailLastChk = true;
    options.AutoCalcChk = true;
    options.OutPutPrjOptChk = true;
    options.OutPutAppOptChk = true;
    options.AutoVerifyChk = true;
    options.ColsOfLineEd = 20;
    EXPECT_EQ(DescribeAppOptions(options),
              "程序选项设置：\r\n"
              "显示每步的结果:是;显示最后一步的结果:是;更后自动计算:是;每行输出20个号码;"
              "输出方案的设置:是;输出选项的设置:是;自动核对中奖:是。");
}

// Each switch shows in its own place and nowhere else.
TEST(AppOptions, EachSwitchHasItsPlace) {
    struct Row {
        bool TAppOptions::*field;
        const char* label;
    };
    const Row rows[] = {
        {&TAppOptions::DetailEveryChk, "显示每步的结果:"},
        {&TAppOptions::DetailLastChk, ";显示最后一步的结果:"},
        {&TAppOptions::AutoCalcChk, ";更后自动计算:"},
        {&TAppOptions::OutPutPrjOptChk, ";输出方案的设置:"},
        {&TAppOptions::OutPutAppOptChk, ";输出选项的设置:"},
        {&TAppOptions::AutoVerifyChk, ";自动核对中奖:"},
    };
    for (const Row& row : rows) {
        TAppOptions off;
        for (const Row& other : rows) {
            off.*other.field = false;
        }
        TAppOptions on = off;
        on.*row.field = true;
        const std::string offText = DescribeAppOptions(off);
        const std::string onText = DescribeAppOptions(on);
        EXPECT_NE(offText.find(std::string(row.label) + "否"), std::string::npos) << row.label;
        EXPECT_NE(onText.find(std::string(row.label) + "是"), std::string::npos) << row.label;
        // Exactly one "是" in the text with one switch on.
        EXPECT_EQ(onText.find("是"), onText.rfind("是")) << row.label;
        EXPECT_EQ(offText.find("是"), std::string::npos) << row.label;
    }
}

TEST(AppOptions, SummaryHasOneLineBreakAndEndsWithFullStop) {
    TAppOptions options;
    options.ColsOfLineEd = 4;
    const std::string text = DescribeAppOptions(options);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 1);
    EXPECT_EQ(text.find("\r\n"), std::string("程序选项设置：").size());
    ASSERT_GE(text.size(), std::string("。").size());
    EXPECT_EQ(text.substr(text.size() - std::string("。").size()), "。");
    EXPECT_NE(text.find(";每行输出4个号码;"), std::string::npos);
}

TEST(AppOptions, CopyOwnsItsTexts) {
    TAppOptions first;
    first.userName = "张三";
    TAppOptions copy = first;
    copy.userName = "李四";
    copy.LastDoc = "别的.lvrn";
    EXPECT_EQ(first.userName, "张三");
    EXPECT_EQ(first.LastDoc, "工作文档.lvrn");
}

TEST(AppOptions, KeysInRecordOrder) {
    const std::array<std::string_view, kAppOptionCount> expected = {
        "userName",    "userPW",         "OpenLastChk",     "LastDoc",         "AutoSaveChk",
        "AutoSaveEd",  "DetailEveryChk", "DetailLastChk",   "SplitByLineChk",  "ViewStyle",
        "AutoCalcChk", "AutoVerifyChk",  "OutPutPrjOptChk", "OutPutAppOptChk", "ColsOfLineEd"};
    EXPECT_EQ(AppOptionKeys(), expected);
}

TEST(AppOptions, DefaultsByKey) {
    const TAppOptions defaults;
    const std::pair<const char*, const char*> rows[] = {
        {"userName", ""},         {"userPW", ""},
        {"OpenLastChk", "0"},     {"LastDoc", "工作文档.lvrn"},
        {"AutoSaveChk", "0"},     {"AutoSaveEd", "5"},
        {"DetailEveryChk", "0"},  {"DetailLastChk", "1"},
        {"SplitByLineChk", "0"},  {"ViewStyle", "0"},
        {"AutoCalcChk", "0"},     {"AutoVerifyChk", "1"},
        {"OutPutPrjOptChk", "0"}, {"OutPutAppOptChk", "0"},
        {"ColsOfLineEd", "10"},
    };
    for (const auto& [key, value] : rows) {
        EXPECT_EQ(GetAppOption(defaults, key), value) << key;
    }
}

// Setting one key changes that field and no other.
TEST(AppOptions, SetChangesOnlyItsField) {
    const std::pair<const char*, const char*> rows[] = {
        {"userName", "张三"},     {"userPW", "p w"},        {"OpenLastChk", "1"},
        {"LastDoc", "x.lvrn"},    {"AutoSaveChk", "1"},     {"AutoSaveEd", "100"},
        {"DetailEveryChk", "1"},  {"DetailLastChk", "0"},   {"SplitByLineChk", "1"},
        {"ViewStyle", "2"},       {"AutoCalcChk", "1"},     {"AutoVerifyChk", "0"},
        {"OutPutPrjOptChk", "1"}, {"OutPutAppOptChk", "1"}, {"ColsOfLineEd", "30"},
    };
    for (const auto& [key, value] : rows) {
        TAppOptions options;
        SetAppOption(options, key, value);
        for (const std::string_view other : AppOptionKeys()) {
            const std::string expected =
                other == key ? std::string(value) : GetAppOption(TAppOptions{}, other);
            EXPECT_EQ(GetAppOption(options, other), expected) << key << " -> " << other;
        }
    }
}

TEST(AppOptions, SetReachesTheFields) {
    TAppOptions options;
    SetAppOption(options, "ColsOfLineEd", "4");
    SetAppOption(options, "ViewStyle", "1");
    SetAppOption(options, "DetailLastChk", "0");
    SetAppOption(options, "userPW", "");
    EXPECT_EQ(options.ColsOfLineEd, 4);
    EXPECT_EQ(options.ViewStyle, 1);
    EXPECT_FALSE(options.DetailLastChk);
    EXPECT_EQ(options.userPW, "");
}

TEST(AppOptions, BadKeysAndValuesAreRefusedAndChangeNothing) {
    const std::pair<const char*, const char*> rows[] = {
        {"NoSuchKey", "1"},
        {"detaillastchk", "0"},
        {"", "1"},
        {"DetailLastChk", "2"},
        {"DetailLastChk", ""},
        {"DetailLastChk", "yes"},
        {"DetailLastChk", " 0"},
        {"AutoSaveEd", "5x"},
        {"AutoSaveEd", "0x10"},
        {"AutoSaveEd", ""},
        {"ColsOfLineEd", "2147483648"},
        {"AutoSaveEd", "0"},
        {"AutoSaveEd", "101"},
        {"AutoSaveEd", "71583"},
        {"ColsOfLineEd", "3"},
        {"ColsOfLineEd", "31"},
        {"ViewStyle", "3"},
        {"ViewStyle", "-1"},
        {"ViewStyle", "a"},
        {"userName", "\xF0\x9F\x98\x80"},  // an emoji: no GBK for it
        {"userPW", "\xC3"},                // not UTF-8 at all
    };
    for (const auto& [key, value] : rows) {
        TAppOptions options;
        options.userName = "keep";
        EXPECT_THROW(SetAppOption(options, key, value), Exception) << key << "=" << value;
        EXPECT_EQ(options.userName, "keep");
        EXPECT_TRUE(options.DetailLastChk);
        EXPECT_EQ(options.AutoSaveEd, 5);
        EXPECT_EQ(options.ViewStyle, 0);
    }
    EXPECT_THROW(GetAppOption(TAppOptions{}, "NoSuchKey"), Exception);
}

TEST(AppOptions, MessagesNameKeyAndValue) {
    TAppOptions options;
    try {
        SetAppOption(options, "AutoCalcChk", "abc");
        FAIL();
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "Setting AutoCalcChk needs 0 or 1, not 'abc'");
    }
    try {
        SetAppOption(options, "Nope", "1");
        FAIL();
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "Unknown setting Nope");
    }
}

TEST(AppOptions, TypesOfKeys) {
    EXPECT_EQ(AppOptionTypeOf("userName"), AppOptionType::Text);
    EXPECT_EQ(AppOptionTypeOf("LastDoc"), AppOptionType::Text);
    EXPECT_EQ(AppOptionTypeOf("AutoSaveEd"), AppOptionType::Integer);
    EXPECT_EQ(AppOptionTypeOf("ColsOfLineEd"), AppOptionType::Integer);
    EXPECT_EQ(AppOptionTypeOf("ViewStyle"), AppOptionType::ViewStyle);
    EXPECT_EQ(AppOptionTypeOf("OpenLastChk"), AppOptionType::Boolean);
    EXPECT_THROW(AppOptionTypeOf("Other"), Exception);
    EXPECT_THROW(AppOptionRange("OpenLastChk"), Exception);
}

}  // namespace
}  // namespace tovarin
