#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "support/TempDir.h"

namespace tovarin::test {

// Sets a file's modification time, seconds and nanoseconds after the Unix
// epoch (Windows keeps them in steps of 100 ns).
inline void SetModifiedTime(const std::string& path, std::time_t seconds, long nanos = 0) {
#ifdef _WIN32
    // The C++ library's last_write_time there keeps whole seconds only.
    constexpr long long kUnixEpochSteps = 116444736000000000LL;
    const long long steps = kUnixEpochSteps + seconds * 10000000LL + nanos / 100;
    const FILETIME when{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
    const HANDLE file = CreateFileW(FsPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &when));
    CloseHandle(file);
#else
    using namespace std::chrono;
    const sys_time<nanoseconds> when{seconds * 1000000000LL * 1ns + nanos * 1ns};
    std::filesystem::last_write_time(
        FsPath(path),
        time_point_cast<std::filesystem::file_time_type::duration>(file_clock::from_sys(when)));
#endif
}

}  // namespace tovarin::test
