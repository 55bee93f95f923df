#pragma once

// Why a test of something only POSIX systems have is skipped on Windows
// (GTEST_SKIP() << reason), where the test cannot mean anything.
namespace tovarin::test {

inline constexpr const char* kNoFileSizeLimitOnWindows =
    "Windows has no per-process file-size limit (setrlimit RLIMIT_FSIZE) to make a write fail";
inline constexpr const char* kNoPermissionBitsOnWindows =
    "Windows files have no POSIX permission bits and no umask";
inline constexpr const char* kNoDevNullFolderOnWindows =
    "Windows has no /dev/null, the file below which no folder can be made even by root";
inline constexpr const char* kNoSymbolicLinksOnWindows =
    "symbolic links on Windows need a privilege a test cannot count on";
inline constexpr const char* kNoLazyMemoryOnWindows =
    "the test maps a gigabyte of untouched pages with mmap, which Windows does not have";
inline constexpr const char* kNoDevFullOnWindows =
    "Windows has no /dev/full, the device on which every write fails";
inline constexpr const char* kNoChildProcessesOnWindows =
    "Windows has no fork, FIFOs, POSIX signals, setrlimit or user switching, "
    "which the test needs to cause the failure it checks";

}  // namespace tovarin::test
