#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace tovarin::test {

// Sets a file's modification time, seconds and nanoseconds after the Unix
// epoch (Windows keeps them in steps of 100 ns).
inline void SetModifiedTime(const std::string& path, std::time_t seconds, long nanos = 0) {
    using namespace std::chrono;
    const sys_time<nanoseconds> when{seconds * 1000000000LL * 1ns + nanos * 1ns};
    std::filesystem::last_write_time(
        FsPath(path),
        time_point_cast<std::filesystem::file_time_type::duration>(file_clock::from_sys(when)));
}

}  // namespace tovarin::test
