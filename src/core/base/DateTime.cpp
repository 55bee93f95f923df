#include "core/base/DateTime.h"

#include <mutex>

#include "core/base/LocalTime.h"

namespace tovarin {
namespace {

std::mutex gMutex;
std::string gShortDateFormat;
ClockFn gClock;

std::string Strftime(const char* format, const std::tm& parts) {
    char buffer[128];
    const size_t length = std::strftime(buffer, sizeof buffer, format, &parts);
    return std::string(buffer, length);
}

std::string Padded(int value, size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width) {
        text.insert(0, width - text.size(), '0');
    }
    return text;
}

// Expands the pattern letters; every other character is copied.
std::string ApplyPattern(const std::string& pattern, const std::tm& parts) {
    std::string text;
    for (size_t i = 0; i < pattern.size();) {
        auto run = [&](char letter) {
            size_t n = 0;
            while (i + n < pattern.size() && pattern[i + n] == letter) {
                ++n;
            }
            return n;
        };
        const char c = pattern[i];
        const size_t n = (c == 'y' || c == 'M' || c == 'd') ? run(c) : 0;
        if (c == 'y' && n > 0) {
            const int year = parts.tm_year + 1900;
            text += n >= 3 ? Padded(year, 4) : Padded(year % 100, 2);
        } else if (c == 'M' && n > 0) {
            text += Padded(parts.tm_mon + 1, n >= 2 ? 2 : 1);
        } else if (c == 'd' && n > 0) {
            text += Padded(parts.tm_mday, n >= 2 ? 2 : 1);
        } else {
            text += c;
            i += 1;
            continue;
        }
        i += n;
    }
    return text;
}

}  // namespace

void SetShortDateFormat(const std::string& pattern) {
    const std::lock_guard<std::mutex> lock(gMutex);
    gShortDateFormat = pattern;
}

std::string ShortDateFormat() {
    const std::lock_guard<std::mutex> lock(gMutex);
    return gShortDateFormat;
}

void SetClock(ClockFn clock) {
    const std::lock_guard<std::mutex> lock(gMutex);
    gClock = std::move(clock);
}

std::time_t Now() {
    ClockFn clock;
    {
        const std::lock_guard<std::mutex> lock(gMutex);
        clock = gClock;
    }
    return clock ? clock() : std::time(nullptr);
}

std::string DateText(std::time_t moment) {
    const std::tm parts = LocalTime(moment);
    const std::string pattern = ShortDateFormat();
    return pattern.empty() ? Strftime("%x", parts) : ApplyPattern(pattern, parts);
}

std::string DateTimeText(std::time_t moment) {
    return DateText(moment) + " " + Strftime("%X", LocalTime(moment));
}

}  // namespace tovarin
