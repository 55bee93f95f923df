#pragma once

#include <ctime>

namespace tovarin {

// The calendar parts of a moment in the local time zone; the C library's
// localtime is not safe across threads, and each system names its safe
// form differently.
std::tm LocalTime(std::time_t moment);

}  // namespace tovarin
