#include "core/base/Console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h builds on windows.h.
#include <shellapi.h>

#include <cstdio>

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

}  // namespace tovarin
