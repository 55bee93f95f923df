#include "core/base/ProgramDir.h"

#include <windows.h>

#include "core/base/Errors.h"
#include "core/base/SystemTextWindows.h"

namespace tovarin {

std::string ProgramDir() {
    // The name can be longer than MAX_PATH; grow until the whole name fits
    // (a name cut short fills the buffer exactly).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            throw EInOutError("Unable to find the program's folder: error " +
                              std::to_string(GetLastError()));
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return ".";
    }
    // The root of a drive keeps its separator: "C:\".
    const bool root = separator == 0 || (separator == 2 && path[1] == L':');
    return WideToUtf8(path.substr(0, root ? separator + 1 : separator));
}

}  // namespace tovarin
