#include "core/draws/DrawLabel.h"

#include <array>

#include "core/base/Errors.h"

namespace tovarin {
namespace {

constexpr std::array<uint32_t, 10> kPowersOfTen = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[static_cast<size_t>(month - 1)];
}

// Reads minDigits..maxDigits digits at pos into value.
bool ReadNumber(std::string_view text, size_t& pos, size_t minDigits, size_t maxDigits,
                int& value) {
    const size_t start = pos;
    value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < maxDigits) {
        value = value * 10 + (text[pos++] - '0');
    }
    return pos - start >= minDigits;
}

bool ReadWord(std::string_view text, size_t& pos, std::string_view word) {
    if (text.substr(pos, word.size()) != word) {
        return false;
    }
    pos += word.size();
    return true;
}

}  // namespace

TLabel::TLabel(uint32_t value, int digits) {
    if (digits < 1 || digits > MaxDigits || value >= kPowersOfTen[static_cast<size_t>(digits)]) {
        throw Exception("TLabel Error!");
    }
    value_ = value;
    digits_ = static_cast<uint8_t>(digits);
}

std::optional<TLabel> TLabel::Parse(std::string_view text) {
    if (text.empty() || text.size() > MaxDigits) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return TLabel(value, static_cast<int>(text.size()));
}

std::string TLabel::Text() const {
    std::string text(digits_, '0');
    uint32_t rest = value_;
    for (size_t i = text.size(); i > 0; --i) {
        text[i - 1] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    return text;
}

// Days from 0001-01-01 (day 1) by the civil calendar, in whole 400-year
// eras of 146,097 days, with the year starting in March so that the leap
// day comes last.
std::optional<TDrawDate> TDrawDate::FromYmd(const TYmd& ymd) {
    if (ymd.Year < 1 || ymd.Year > 9999 || ymd.Month < 1 || ymd.Month > 12 || ymd.Day < 1 ||
        ymd.Day > DaysInMonth(ymd.Year, ymd.Month)) {
        return std::nullopt;
    }
    const int year = ymd.Month <= 2 ? ymd.Year - 1 : ymd.Year;
    const int era = year / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear =
        (153 * (ymd.Month > 2 ? ymd.Month - 3 : ymd.Month + 9) + 2) / 5 + ymd.Day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    TDrawDate date;
    // Day 1 is 0001-01-01, which is day 306 of the March-based year 0.
    date.dayNumber_ = static_cast<uint32_t>(era * 146097 + dayOfEra - 305);
    return date;
}

std::optional<TDrawDate> TDrawDate::FromDayNumber(uint32_t dayNumber) {
    if (dayNumber > MaxDayNumber) {
        return std::nullopt;
    }
    TDrawDate date;
    date.dayNumber_ = dayNumber;
    return date;
}

TYmd TDrawDate::Ymd() const {
    if (Empty()) {
        return {};
    }
    const int days = static_cast<int>(dayNumber_) + 305;
    const int era = days / 146097;
    const int dayOfEra = days - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const int month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::optional<TYmd> TDrawDate::SplitText(std::string_view text) {
    TYmd ymd;
    size_t pos = 0;
    if (!ReadNumber(text, pos, 4, 4, ymd.Year) || pos >= text.size()) {
        return std::nullopt;
    }
    const char sep = text[pos];
    bool spelled = false;
    if (sep == '-' || sep == '/' || sep == '.') {
        ++pos;
        spelled = ReadNumber(text, pos, 1, 2, ymd.Month) && pos < text.size() &&
                  text[pos++] == sep && ReadNumber(text, pos, 1, 2, ymd.Day);
    } else {
        spelled = ReadWord(text, pos, "年") && ReadNumber(text, pos, 1, 2, ymd.Month) &&
                  ReadWord(text, pos, "月") && ReadNumber(text, pos, 1, 2, ymd.Day) &&
                  ReadWord(text, pos, "日");
    }
    if (!spelled || pos != text.size()) {
        return std::nullopt;
    }
    return ymd;
}

std::optional<TDrawDate> TDrawDate::Parse(std::string_view text) {
    const std::optional<TYmd> ymd = SplitText(text);
    return ymd ? FromYmd(*ymd) : std::nullopt;
}

std::string TDrawDate::Text() const {
    if (Empty()) {
        return {};
    }
    const TYmd ymd = Ymd();
    std::string text = "0000-00-00";
    const auto put = [&text](size_t end, int value, size_t digits) {
        for (size_t i = 0; i < digits; ++i) {
            text[end - i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    put(3, ymd.Year, 4);
    put(6, ymd.Month, 2);
    put(9, ymd.Day, 2);
    return text;
}

}  // namespace tovarin
