#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/draws/LabelRules.h"
#include "core/draws/LawNet.h"

namespace tovarin {
namespace {

TLabel L(const std::string& text) { return TLabel::Parse(text).value(); }

std::vector<std::string> Texts(const std::vector<TLabel>& labels) {
    std::vector<std::string> texts;
    for (const TLabel label : labels) {
        texts.push_back(label.Text());
    }
    return texts;
}

TEST(DrawLabel, ParsesOneToNineDigitsKeepingLeadingZeros) {
    EXPECT_EQ(L("04101").Value(), 4101U);
    EXPECT_EQ(L("04101").Digits(), 5);
    EXPECT_EQ(L("04101").Text(), "04101");
    EXPECT_EQ(L("0").Text(), "0");
    EXPECT_EQ(L("999999999").Value(), 999999999U);
    for (const char* bad : {"", "1234567890", "12a", "-12", " 12", "１２"}) {
        EXPECT_FALSE(TLabel::Parse(bad)) << bad;
    }
    EXPECT_THROW(TLabel(100, 2), Exception);
    EXPECT_THROW(TLabel(1, 10), Exception);
    EXPECT_TRUE(TLabel().Empty());
    EXPECT_EQ(TLabel().Text(), "");
}

TEST(DrawLabel, DatesAreCalendarDays) {
    const struct {
        const char* text;
        const char* shown;  // nullptr: no such day
    } cases[] = {
        {"2026-12-07", "2026-12-07"},   {"2026/1/8", "2026-01-08"},   {"2026.01.08", "2026-01-08"},
        {"2026年1月8日", "2026-01-08"}, {"2024-02-29", "2024-02-29"}, {"2000-02-29", "2000-02-29"},
        {"1900-02-29", nullptr},        {"2026-02-29", nullptr},      {"2026-04-31", nullptr},
        {"2026-13-01", nullptr},        {"2026-00-10", nullptr},      {"0000-01-01", nullptr},
        {"2026-12/07", nullptr},        {"2026-12-07x", nullptr},     {"26-12-07", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<TDrawDate> date = TDrawDate::Parse(c.text);
        ASSERT_EQ(date.has_value(), c.shown != nullptr) << c.text;
        if (date) {
            EXPECT_EQ(date->Text(), c.shown);
        }
    }
    EXPECT_EQ(TDrawDate::Parse("2004-01-01")->DayNumber(), 731581U);
    EXPECT_EQ(TDrawDate::FromDayNumber(0)->Text(), "");
    EXPECT_EQ(TDrawDate::FromDayNumber(1)->Text(), "0001-01-01");
    EXPECT_EQ(TDrawDate::FromDayNumber(TDrawDate::MaxDayNumber)->Text(), "9999-12-31");
    EXPECT_FALSE(TDrawDate::FromDayNumber(TDrawDate::MaxDayNumber + 1));
    // Syntax alone, for the importer: a spelled day the calendar lacks.
    EXPECT_TRUE(TDrawDate::SplitText("2026-02-30"));
}

TEST(DrawLabel, EveryDayNumberIsItsDayAndFollowsThePreviousOne) {
    TYmd previous{0, 12, 31};
    for (uint32_t number = 1; number <= TDrawDate::MaxDayNumber; ++number) {
        const TYmd ymd = TDrawDate::FromDayNumber(number)->Ymd();
        const bool next =
            (ymd.Year == previous.Year && ymd.Month == previous.Month &&
             ymd.Day == previous.Day + 1) ||
            (ymd.Year == previous.Year && ymd.Month == previous.Month + 1 && ymd.Day == 1) ||
            (ymd.Year == previous.Year + 1 && ymd.Month == 1 && ymd.Day == 1);
        ASSERT_TRUE(next) << number;
        ASSERT_EQ(TDrawDate::FromYmd(ymd)->DayNumber(), number);
        previous = ymd;
    }
    EXPECT_EQ(previous.Year, 9999);
}

TEST(LabelRules, NextLabel) {
    const struct {
        const char* label;
        int steps;
        const char* next;  // nullptr: none
    } cases[] = {
        {"2026150", 1, "2026151"}, {"26099", 1, "26100"},
        {"04101", 1, "04102"},     {"2025999", 1, "2026001"},
        {"26999", 1, "27001"},     {"99999", 1, "2100001"},
        {"2026998", 3, "2027002"}, {"2026150", 0, "2026150"},
        {"007", 1, "008"},         {"9", 1, "10"},
        {"099", 1, "100"},         {"202615001", 1, "202615002"},
        {"999999999", 1, nullptr}, {"9999999", 1, nullptr},
        {"2026150", -1, nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<TLabel> next = NextLabel(L(c.label), c.steps);
        ASSERT_EQ(next.has_value(), c.next != nullptr) << c.label;
        if (next) {
            EXPECT_EQ(next->Text(), c.next) << c.label;
        }
    }
    EXPECT_FALSE(NextLabel(TLabel()));
}

TEST(LabelRules, TwoSpellingsNameOneDraw) {
    EXPECT_TRUE(SameDraw(L("26099"), L("2026099")));
    EXPECT_TRUE(SameDraw(L("04101"), L("2004101")));
    EXPECT_TRUE(SameDraw(L("2026099"), L("2026099")));
    EXPECT_FALSE(SameDraw(L("26099"), L("1926099")));
    EXPECT_FALSE(SameDraw(L("123"), L("0123")));
    EXPECT_FALSE(SameDraw(TLabel(), TLabel()));
    EXPECT_LT(LabelOrder(L("26099")), LabelOrder(L("2026100")));
    EXPECT_LT(LabelOrder(L("9")), LabelOrder(L("10")));
    EXPECT_EQ(InSpellingOf(L("2026099"), L("26001")).Text(), "26099");
    EXPECT_EQ(InSpellingOf(L("26099"), L("2026001")).Text(), "2026099");
    EXPECT_EQ(InSpellingOf(L("1999001"), L("26001")).Text(), "1999001");
    EXPECT_EQ(InSpellingOf(L("123"), L("26001")).Text(), "123");
}

TEST(LabelRules, Gaps) {
    const struct {
        const char* before;
        const char* after;
        std::vector<std::string> missing;
    } cases[] = {
        {"2026148", "2026149", {}},
        {"2026148", "2026150", {"2026149"}},
        {"2025153", "2026001", {}},
        {"2025153", "2026003", {"2026001", "2026002"}},
        {"2024100", "2026002", {"2025001", "2026001"}},
        {"26148", "2026151", {"26149", "26150"}},
        {"2026148", "26150", {"2026149"}},
        {"99998", "2100002", {"2100001"}},
        {"007", "010", {"008", "009"}},
        {"9", "12", {"10", "11"}},
        {"202615001", "202615003", {"202615002"}},
        {"2026150", "2026150", {}},
        {"26150", "2026150", {}},
        {"2026150", "2026149", {}},
        {"2026150", "123", {}},
        {"123", "2026150", {}},
    };
    for (const auto& c : cases) {
        TLabelGaps gaps;
        AddGaps(L(c.before), L(c.after), gaps);
        EXPECT_EQ(Texts(gaps.Listed), c.missing) << c.before << " " << c.after;
        EXPECT_EQ(gaps.Total, c.missing.size()) << c.before << " " << c.after;
    }
}

TEST(LabelRules, ManyGapsAreCountedBeyondTheListed) {
    TLabelGaps gaps;
    AddGaps(L("1"), L("999999999"), gaps);
    AddGaps(L("2026001"), L("2026004"), gaps);
    EXPECT_EQ(gaps.Total, 999999997U + 2U);
    ASSERT_EQ(gaps.Listed.size(), TLabelGaps::MaxListed);
    EXPECT_EQ(gaps.Listed.front().Text(), "2");
    EXPECT_EQ(gaps.Listed.back().Text(), "1001");
    EXPECT_EQ(MissingLabelText(L("2026149")), "缺少第2026149期");
}

TEST(LabelRules, FindsTheRowOfALabelInEitherSpelling) {
    std::vector<TSeq> rows(5);
    const char* labels[] = {"26001", "", "2026003", "26004", "2026003"};
    for (size_t i = 0; i < rows.size(); ++i) {
        if (*labels[i] != '\0') {
            rows[i].SetLabel(L(labels[i]));
        }
    }
    const TLabelIndex index(rows);
    const struct {
        const char* label;
        std::optional<int> row;
    } cases[] = {
        {"2026001", 0}, {"26003", 4}, {"2026004", 3}, {"26002", std::nullopt}, {"1", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(FindLabelRow(rows, L(c.label)), c.row) << c.label;
        EXPECT_EQ(index.Find(L(c.label)), c.row) << c.label;
    }
    EXPECT_FALSE(FindLabelRow(rows, TLabel()));
    EXPECT_FALSE(index.Find(TLabel()));
}

TEST(TSeq, KeepsLabelDateDigitsAndMarkApart) {
    TSeq draw;
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        draw.SetNum(pos, 9);
    }
    draw.Selected = true;
    draw.SetLabel(L("999999999"));
    draw.SetDate(*TDrawDate::Parse("9999-12-31"));
    EXPECT_EQ(draw.GetLabel().Text(), "999999999");
    EXPECT_EQ(draw.GetDate().Text(), "9999-12-31");
    draw.SetLabel(L("04101"));
    EXPECT_EQ(draw.GetDate().Text(), "9999-12-31");
    draw.SetDate(TDrawDate());
    EXPECT_EQ(draw.GetLabel().Text(), "04101");
    EXPECT_TRUE(draw.GetDate().Empty());
    EXPECT_TRUE(draw.Selected);
    EXPECT_EQ(draw.GetSum(), 36);
}

TEST(TCodeNet, ADrawAddedBelowALabelledOneTakesTheNextLabelAndNoDate) {
    TCodeNet net;
    net.Add();
    EXPECT_TRUE(net.GetSeq(0).GetLabel().Empty());
    net.SetLabelDate(0, L("2025999"), *TDrawDate::Parse("2025-12-31"));
    EXPECT_TRUE(net.Modified());
    net.Add();
    EXPECT_EQ(net.GetSeq(1).GetLabel().Text(), "2026001");
    EXPECT_TRUE(net.GetSeq(1).GetDate().Empty());
    net.Insert(1);
    EXPECT_TRUE(net.GetSeq(1).GetLabel().Empty());
    EXPECT_EQ(net.LabelledCount(), 2);
    EXPECT_EQ(net.WidestLabel(), 7);
    net.SetLabelDate(2, L("26001"), TDrawDate());
    EXPECT_EQ(net.WidestLabel(), 7);
    net.Delete(0);
    EXPECT_EQ(net.LabelledCount(), 1);
    EXPECT_EQ(net.WidestLabel(), 5);
    net.Replace(std::vector<TSeq>(3));
    EXPECT_EQ(net.LabelledCount(), 0);
    EXPECT_EQ(net.WidestLabel(), 0);
}

}  // namespace
}  // namespace tovarin
