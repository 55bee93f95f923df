#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovarin {

// A draw's name in the lottery's own numbering: its period number as the
// lottery writes it, 1 to 9 digits, leading zeros kept ("04101",
// "2026150"). The empty label (no digits) is a draw without one. Two labels
// are equal here only when they are spelled alike; which spellings name the
// same draw is the label rules' business (LabelRules.h).
class TLabel {
public:
    static constexpr int MaxDigits = 9;

    constexpr TLabel() = default;
    // Exception for a width outside 1..9 or a value that needs more digits.
    TLabel(uint32_t value, int digits);
    // 1 to 9 ASCII digits; nothing for anything else.
    static std::optional<TLabel> Parse(std::string_view text);

    bool Empty() const { return digits_ == 0; }
    uint32_t Value() const { return value_; }
    int Digits() const { return digits_; }
    // "" for the empty label.
    std::string Text() const;

    bool operator==(const TLabel&) const = default;

private:
    uint32_t value_ = 0;
    uint8_t digits_ = 0;
};

// The year, month and day a date text spells, not yet checked against the
// calendar.
struct TYmd {
    int Year = 0;
    int Month = 0;
    int Day = 0;
};

// The day a draw was made, or none. Kept as its day number, counting
// 0001-01-01 as day 1 (the proleptic Gregorian calendar): numbers order
// days as the calendar does, every number in 1..MaxDayNumber is a day, and
// the document stores it as it is, so that a million dates load with a
// range check each.
class TDrawDate {
public:
    static constexpr uint32_t MaxDayNumber = 3652059;  // 9999-12-31

    constexpr TDrawDate() = default;
    // Nothing for a day the calendar does not have (2026-02-30) or a year
    // outside 1..9999.
    static std::optional<TDrawDate> FromYmd(const TYmd& ymd);
    // Nothing above MaxDayNumber; 0 is no date.
    static std::optional<TDrawDate> FromDayNumber(uint32_t dayNumber);
    // The forms draw-history files use: 2026-12-07, 2026/12/07, 2026.12.07
    // (one kind of separator, months and days of one or two digits) and
    // 2026年12月7日; nothing for any other text.
    static std::optional<TYmd> SplitText(std::string_view text);
    // SplitText, then FromYmd.
    static std::optional<TDrawDate> Parse(std::string_view text);

    bool Empty() const { return dayNumber_ == 0; }
    uint32_t DayNumber() const { return dayNumber_; }
    // All zero for no date.
    TYmd Ymd() const;
    // "2026-12-07"; "" for no date.
    std::string Text() const;

    bool operator==(const TDrawDate&) const = default;

private:
    uint32_t dayNumber_ = 0;
};

}  // namespace tovarin
