#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace tovarin {

// The process-wide short date format. Until a filtering run sets one, it is
// the system's (the locale's date representation); a set pattern uses the
// letters yyyy, MM, dd (and yy, M, d).
void SetShortDateFormat(const std::string& pattern);
std::string ShortDateFormat();  // empty while the system's is in force

// The clock of the whole program; tests replace it to get fixed texts.
using ClockFn = std::function<std::time_t()>;
void SetClock(ClockFn clock);  // an empty function restores the real clock
std::time_t Now();

// Today's (or the given moment's) date in the short date format.
std::string DateText(std::time_t moment);
// Date, a blank, and the time in the system's long time format.
std::string DateTimeText(std::time_t moment);

}  // namespace tovarin
