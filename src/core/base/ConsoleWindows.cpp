#include "core/base/Console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h builds on windows.h.
#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "core/base/SystemTextWindows.h"

namespace tovarin {

// argv holds the words in the ANSI code page, where a name like 张三 has
// already become "??"; the wide command line still has them whole.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* const wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    }
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i) {
        words.push_back(WideToUtf8(wide[i]));
    }
    LocalFree(wide);
    return words;
}

void UseBinaryUtf8Streams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

std::optional<std::string> WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto piece = static_cast<unsigned>(std::min<size_t>(bytes.size(), INT_MAX));
        const int wrote = _write(_fileno(stdout), bytes.data(), piece);
        if (wrote <= 0) {
            return std::strerror(wrote < 0 ? errno : ENOSPC);
        }
        bytes.remove_prefix(static_cast<size_t>(wrote));
    }
    return std::nullopt;
}

}  // namespace tovarin
