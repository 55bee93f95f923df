#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Persistent.h"
#include "core/engine/Code.h"
#include "core/engine/PrjOptions.h"

namespace tovarin {
namespace {

using Items = std::vector<std::string>;

// Expects the call to raise exactly the exception class with this message.
template <class Error, class Call>
void ExpectError(Call call, const char* message) {
    try {
        call();
        ADD_FAILURE() << "no exception, expected " << message;
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), message);
    }
}

std::vector<int> Values(const TCodes& codes) {
    std::vector<int> values;
    for (TCode code = 0; code < codes.Count(); ++code) {
        values.push_back(codes.GetMiss(code));
    }
    return values;
}

TEST(TCodes, FreshSetHasHundredCleanValidCodesWhateverTheTolerance) {
    for (int missMax : {0, 1, 4, 10, 11, -1}) {
        TPrjOptions options;
        options.MissMax = missMax;
        options.HeadLimit = missMax == 4;
        const TCodes codes(options);
        EXPECT_EQ(codes.Count(), 100);
        EXPECT_EQ(codes.MissCount(), missMax) << "copied without a range test";
        EXPECT_EQ(codes.HeadLimit(), missMax == 4);
        EXPECT_EQ(Values(codes), std::vector<int>(100, 0));
        EXPECT_EQ(codes.ValidCount(), missMax < 0 ? 0 : 100);
    }
}

TEST(TCodes, ValidityFollowsTheTolerance) {
    TPrjOptions options;
    options.MissMax = 1;
    TCodes codes(options);
    codes.SetMiss(10, 2);
    codes.SetMiss(11, 1);
    codes.FailCode(12);
    EXPECT_FALSE(codes.GetValid(10));
    EXPECT_EQ(codes.GetMiss(10), 2) << "invalid but not failed";
    EXPECT_TRUE(codes.GetValid(11));
    EXPECT_FALSE(codes.GetValid(12));
    EXPECT_EQ(codes.ValidCount(), 98);
    codes.SetMissCount(2);
    EXPECT_TRUE(codes.GetValid(10));
    EXPECT_EQ(codes.ValidCount(), 99);
}

TEST(TCodes, EveryIndexedOperationNamesItselfAndChangesNothing) {
    TPrjOptions options;
    TCodes codes(options);
    codes.SetMiss(0, 3);
    codes.SetMiss(99, 2);
    const std::vector<int> before = Values(codes);
    for (TCode bad : {-1, 100, 1000, -100}) {
        ExpectError<ECodesException>([&] { codes.AddMiss(bad); }, "AddMiss aCode: TCode Is Error!");
        ExpectError<ECodesException>([&] { codes.FailCode(bad); }, "TCodes.FailCode  Error!");
        ExpectError<ECodesException>([&] { codes.ResetCode(bad); },
                                     "ResetCode aCode: TCode Is Error!");
        ExpectError<ECodesException>([&] { codes.GetMiss(bad); }, "GetMiss aCode: TCode Is Error!");
        ExpectError<ECodesException>([&] { codes.SetMiss(bad, 5); },
                                     "SetMiss aCode: TCode Is Error!");
        ExpectError<ECodesException>([&] { codes.GetValid(bad); },
                                     "GetValid aCode: TCode Is Error!");
    }
    EXPECT_EQ(Values(codes), before);
}

TEST(TCodes, SetMissCountRefusesOutsideZeroToTen) {
    TPrjOptions options;
    TCodes codes(options);
    codes.SetMissCount(3);
    for (int bad : {11, -1, 100}) {
        ExpectError<ECodesException>([&] { codes.SetMissCount(bad); },
                                     "TCodes.SetMissCount Is Error!");
        EXPECT_EQ(codes.MissCount(), 3);
    }
    codes.SetMissCount(0);
    EXPECT_EQ(codes.MissCount(), 0);
    codes.SetMissCount(10);
    EXPECT_EQ(codes.MissCount(), 10);
}

TEST(TCodes, SingleCodeOperations) {
    TPrjOptions options;
    TCodes codes(options);
    codes.AddMiss(5);
    codes.AddMiss(5);
    EXPECT_EQ(codes.GetMiss(5), 2);
    codes.FailCode(5);
    EXPECT_EQ(codes.GetMiss(5), -1);
    codes.AddMiss(5);
    EXPECT_EQ(codes.GetMiss(5), 0) << "AddMiss does not test the old value";
    codes.SetMiss(6, -7);
    EXPECT_EQ(codes.GetMiss(6), -7) << "SetMiss stores any value";
    codes.ResetCode(6);
    EXPECT_EQ(codes.GetMiss(6), 0);
    codes.FailAll();
    EXPECT_EQ(Values(codes), std::vector<int>(100, -1));
    EXPECT_EQ(codes.ValidCount(), 0);
    codes.ResetAll();
    EXPECT_EQ(Values(codes), std::vector<int>(100, 0));
}

TEST(TCodes, SetHeadLimitKeepsSizeAndValues) {
    TPrjOptions options;
    TCodes codes(options);
    codes.SetMiss(42, 3);
    codes.SetHeadLimit(true);
    EXPECT_TRUE(codes.HeadLimit());
    EXPECT_EQ(codes.Count(), 100);
    EXPECT_EQ(codes.GetMiss(42), 3);
    codes.SetHeadLimit(false);
    EXPECT_FALSE(codes.HeadLimit());
    EXPECT_EQ(codes.GetMiss(42), 3);
}

// One row per combination of own and other value: what each set operation
// leaves in the own set.
struct CombineRow {
    int own;
    int other;
    int failBy;
    int resetBy;
    int applyAddMiss;
    int applyFail;
};

TEST(TCodes, FailByResetByApplyByTable) {
    const CombineRow rows[] = {
        {0, 0, 0, 0, 0, 0},       {0, -1, -1, 0, 1, -1},   {3, -1, -1, 3, 4, -1},
        {-1, -1, -1, -1, -1, -1}, {-1, 0, -1, 0, -1, -1},  {2, 0, 2, 0, 2, 2},
        {2, 1, 2, 2, 2, 2},       {-1, 2, -1, -1, -1, -1}, {0, 5, 0, 0, 0, 0},
    };
    TPrjOptions options;
    for (const CombineRow& row : rows) {
        TCodes own(options);
        TCodes other(options);
        for (TCode code = 0; code < 100; ++code) {
            own.SetMiss(code, row.own);
            other.SetMiss(code, row.other);
        }
        TCodes failBy(options);
        failBy.Assign(own);
        failBy.FailBy(other);
        TCodes resetBy(options);
        resetBy.Assign(own);
        resetBy.ResetBy(other);
        TCodes addMiss(options);
        addMiss.Assign(own);
        addMiss.ApplyBy(other, true);
        TCodes fail(options);
        fail.Assign(own);
        fail.ApplyBy(other, false);
        const std::string where = std::to_string(row.own) + "/" + std::to_string(row.other);
        EXPECT_EQ(failBy.GetMiss(37), row.failBy) << where;
        EXPECT_EQ(resetBy.GetMiss(37), row.resetBy) << where;
        EXPECT_EQ(addMiss.GetMiss(37), row.applyAddMiss) << where;
        EXPECT_EQ(fail.GetMiss(37), row.applyFail) << where;
        EXPECT_EQ(other.GetMiss(37), row.other) << "the other set is not touched";
    }
}

TEST(TCodes, ApplyByWorksCodeByCode) {
    TPrjOptions options;
    TCodes own(options);
    TCodes other(options);
    other.FailCode(0);
    other.FailCode(99);
    own.SetMiss(99, 3);
    own.ApplyBy(other, true);
    EXPECT_EQ(own.GetMiss(0), 1);
    EXPECT_EQ(own.GetMiss(99), 4);
    EXPECT_EQ(own.GetMiss(50), 0);
}

TEST(TCodes, AssignCopiesEverythingAndRefusesOtherClasses) {
    TPrjOptions options;
    options.MissMax = 2;
    options.HeadLimit = true;
    TCodes source(options);
    source.SetMiss(3, 7);
    source.FailCode(4);
    TPrjOptions plain;
    TCodes dest(plain);
    dest.SetMiss(5, 9);
    dest.Assign(source);
    EXPECT_EQ(dest.MissCount(), 2);
    EXPECT_TRUE(dest.HeadLimit());
    EXPECT_EQ(Values(dest), Values(source));

    TCodes viaAssignTo(plain);
    source.AssignTo(viaAssignTo);
    EXPECT_EQ(Values(viaAssignTo), Values(source));
    EXPECT_EQ(viaAssignTo.MissCount(), 2);

    class TOther : public TPersistent {};
    TOther other;
    ExpectError<Exception>([&] { dest.Assign(other); }, "TCodes.Assign Error!");
    ExpectError<Exception>([&] { source.AssignTo(other); }, "TCodes.AssignTo Error!");
    EXPECT_EQ(Values(dest), Values(source));
}

TEST(CodeText, CodeToStrIsHeadXxTail) {
    EXPECT_EQ(CodeToStr(0), "0xx0");
    EXPECT_EQ(CodeToStr(37), "3xx7");
    EXPECT_EQ(CodeToStr(99), "9xx9");
    EXPECT_EQ(CodeToStr(7), "0xx7");
    EXPECT_EQ(CodeToStr(70), "7xx0");
    for (TCode code = 0; code < 100; ++code) {
        const std::string text = CodeToStr(code);
        ASSERT_EQ(text.size(), 4U);
        EXPECT_EQ(text[0], '0' + code / 10);
        EXPECT_EQ(text.substr(1, 2), "xx");
        EXPECT_EQ(text[3], '0' + code % 10);
    }
}

TEST(CodeText, ChrOfCodePositions) {
    EXPECT_EQ(ChrOfCode(7, 0), '0');
    EXPECT_EQ(ChrOfCode(7, 1), 'x');
    EXPECT_EQ(ChrOfCode(7, 2), 'x');
    EXPECT_EQ(ChrOfCode(7, 3), '7');
    EXPECT_EQ(ChrOfCode(52, 0), '5');
    EXPECT_EQ(ChrOfCode(52, 3), '2');
    ExpectError<Exception>([] { ChrOfCode(7, 4); }, "ChrOfCode Error!");
    ExpectError<Exception>([] { ChrOfCode(7, -1); }, "ChrOfCode Error!");
    // Outside 0..99 the character still comes from the text form.
    EXPECT_EQ(ChrOfCode(123, 0), '1');
    EXPECT_EQ(ChrOfCode(123, 1), '2');
    EXPECT_EQ(ChrOfCode(123, 2), 'x');
}

TEST(CodeText, HeadTailSum) {
    EXPECT_EQ(HeadTailSum(99, false), 18);
    EXPECT_EQ(HeadTailSum(99, true), 8);
    EXPECT_EQ(HeadTailSum(0, false), 0);
    EXPECT_EQ(HeadTailSum(37, false), 10);
    EXPECT_EQ(HeadTailSum(37, true), 0);
    EXPECT_EQ(HeadTailSum(45, true), 9);
}

TEST(CodeText, SplitCodeList) {
    EXPECT_EQ(SplitCodeList(" ,1,,2, "), (Items{"1", "2"}));
    EXPECT_EQ(SplitCodeList(""), Items{});
    EXPECT_EQ(SplitCodeList("   "), Items{});
    EXPECT_EQ(SplitCodeList(",,,"), Items{});
    EXPECT_EQ(SplitCodeList("1, 2"), (Items{"1", " 2"})) << "items are not trimmed";
    EXPECT_EQ(SplitCodeList("1 ,2"), (Items{"1 ", "2"}));
    EXPECT_EQ(SplitCodeList("\t12与34相配,5与67相配\r\n"), (Items{"12与34相配", "5与67相配"}));
    EXPECT_EQ(SplitCodeList("7"), Items{"7"});
    EXPECT_EQ(SplitCodeList("1,2,3,"), (Items{"1", "2", "3"}));
}

TEST(CodeText, JoinCodeList) {
    EXPECT_EQ(JoinCodeList({"1", "2", "3"}), "1,2,3");
    EXPECT_EQ(JoinCodeList({}), "");
    EXPECT_EQ(JoinCodeList({"x"}), "x");
    EXPECT_EQ(JoinCodeList({"", ""}), ",");
}

TEST(CodeText, FilterDigitKey) {
    struct Row {
        const char* text;
        char32_t key;
        bool allowRepeat;
        char32_t result;
    };
    const Row rows[] = {
        {"123", 8, false, 8},          {"", 8, true, 8},        {"", U'a', true, 0},
        {"", U'5', false, U'5'},       {"135", U'3', false, 0}, {"135", U'3', true, U'3'},
        {"135", U'4', false, U'4'},    {"", U'/', true, 0},     {"", U':', true, 0},
        {"", U'稳', true, 0},          {"0", U'0', false, 0},   {"9", U'9', true, U'9'},
        {"稳上头", U'1', false, U'1'},
    };
    for (const Row& row : rows) {
        char32_t key = row.key;
        FilterDigitKey(row.text, key, row.allowRepeat);
        EXPECT_EQ(key, row.result) << row.text << " key " << static_cast<int>(row.key);
    }
}

TEST(CodeText, IsPairMatch) {
    struct Row {
        const char* left;
        const char* right;
        TCode code;
        bool match;
    };
    const Row rows[] = {
        {"12", "34", 13, true},  {"12", "34", 31, true},  {"12", "34", 24, true},
        {"12", "34", 42, true},  {"12", "34", 15, false}, {"12", "34", 56, true},
        {"12", "34", 11, false}, {"12", "34", 33, false}, {"12", "34", 63, false},
        {"12", "34", 12, false}, {"12", "34", 34, false}, {"", "", 55, true},
        {"5", "", 55, false},    {"5", "5", 55, true},    {"", "7", 17, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsPairMatch(row.left, row.right, row.code), row.match)
            << row.left << "/" << row.right << " " << CodeToStr(row.code);
    }
}

TEST(CodeText, DigitSet) {
    EXPECT_EQ(DigitSet(""), 0);
    EXPECT_EQ(DigitSet("0"), 1);
    EXPECT_EQ(DigitSet("9"), 1 << 9);
    EXPECT_EQ(DigitSet("a1b1与3"), (1 << 1) | (1 << 3));
    EXPECT_EQ(DigitSet("0123456789"), 0x3FF);
}

TEST(CodeText, IsPairMatchOfDigitsAgreesWithIsPairMatch) {
    const char* const sides[] = {"",  "1",  "12", "34",        "5",          "67", "0",
                                 "9", "09", "55", "123456789", "0123456789", "x1", "与"};
    for (const char* left : sides) {
        for (const char* right : sides) {
            for (TCode code = 0; code < 100; ++code) {
                ASSERT_EQ(IsPairMatchOfDigits(DigitSet(left), DigitSet(right), code),
                          IsPairMatch(left, right, code))
                    << left << "/" << right << " " << CodeToStr(code);
            }
        }
    }
}

}  // namespace
}  // namespace tovarin
