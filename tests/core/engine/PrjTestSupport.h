#pragma once

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/base/DateTime.h"
#include "core/engine/ReportPane.h"

namespace tovarin::test {

class VectorPane : public TReportPane {
public:
    void ReplaceLines(const std::vector<std::string>& lines) override {
        Lines = lines;
        ++Calls;
    }
    std::vector<std::string> Lines;
    int Calls = 0;
};

// 2026-12-08 09:05:03 UTC, shown in UTC.
inline void FixClock() {
#ifdef _WIN32
    _putenv_s("TZ", "UTC0");
    _tzset();
#else
    setenv("TZ", "UTC", 1);
    tzset();
#endif
    SetClock([] { return static_cast<std::time_t>(1796720703); });
}

}  // namespace tovarin::test
