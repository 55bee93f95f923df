#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "core/base/DateTime.h"

namespace tovarin {
namespace {

std::time_t LocalMoment(int year, int month, int day, int hour) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

// The format is process-wide; every test leaves it as it found it.
class DateTimeTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = ShortDateFormat(); }
    void TearDown() override {
        SetShortDateFormat(saved_);
        SetClock({});
    }
    std::string saved_;
};

TEST_F(DateTimeTest, TheFilteringRunsFormat) {
    SetShortDateFormat("yyyy.MM.dd");
    EXPECT_EQ(ShortDateFormat(), "yyyy.MM.dd");
    EXPECT_EQ(DateText(LocalMoment(2026, 3, 7, 12)), "2026.03.07");
    EXPECT_EQ(DateText(LocalMoment(1999, 12, 31, 12)), "1999.12.31");
}

TEST_F(DateTimeTest, ShortPatternLettersAndLiterals) {
    SetShortDateFormat("yy-M-d");
    EXPECT_EQ(DateText(LocalMoment(2026, 3, 7, 12)), "26-3-7");
    SetShortDateFormat("d/MM/yyyy x");
    EXPECT_EQ(DateText(LocalMoment(2026, 11, 25, 12)), "25/11/2026 x");
}

TEST_F(DateTimeTest, DateTimeTextStartsWithTheDate) {
    SetShortDateFormat("yyyy.MM.dd");
    const std::string text = DateTimeText(LocalMoment(2026, 3, 7, 12));
    EXPECT_EQ(text.rfind("2026.03.07 ", 0), 0U) << text;
    EXPECT_GT(text.size(), 11U);
}

TEST_F(DateTimeTest, TheClockCanBeReplacedAndRestored) {
    SetClock([] { return std::time_t{86400}; });
    EXPECT_EQ(Now(), 86400);
    SetClock({});
    const std::time_t real = std::time(nullptr);
    EXPECT_LE(std::abs(Now() - real), 2);
}

}  // namespace
}  // namespace tovarin
