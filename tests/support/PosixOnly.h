#pragma once

// Why a test of something only POSIX systems have is skipped on Windows
// (GTEST_SKIP() << reason), where the test cannot mean anything.
namespace tovarin::test {

inline constexpr const char* kNoFileSizeLimitOnWindows =
    "Windows has no per-process file-size limit (setrlimit RLIMIT_FSIZE) to make a write fail";
inline constexpr const char* kNoPermissionBitsOnWindows =
    "Windows files have no POSIX permission bits and no umask";

}  // namespace tovarin::test
