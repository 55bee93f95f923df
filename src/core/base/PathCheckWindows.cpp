#include "core/base/PathCheck.h"

#include <windows.h>

#include <algorithm>

#include "core/base/Errors.h"
#include "core/base/SystemTextWindows.h"

namespace tovarin {
namespace {

// The attributes of what the path names (a link's own, not its target's),
// or INVALID_FILE_ATTRIBUTES when nothing is there or the name is not UTF-8.
DWORD AttributesOf(const std::string& path) {
    try {
        return GetFileAttributesW(Utf8ToWide(path).c_str());
    } catch (const ECodecError&) {
        return INVALID_FILE_ATTRIBUTES;
    }
}

// What identifies an open file on its volume, through an existing file
// opened for no access at all (so that no sharing mode stands in the way).
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    std::wstring name;
    try {
        name = Utf8ToWide(path);
    } catch (const ECodecError&) {
        return false;
    }
    const HANDLE handle =
        CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    return known;
}

[[noreturn]] void CannotCreate(const std::string& folder, DWORD error) {
    throw EInOutError("无法创建文件夹“" + folder + "”：" + FileErrorText(error) + "。");
}

}  // namespace

bool PathExists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool CanReplaceFile(const std::string& path) {
    if (IsFolder(path)) {
        return false;
    }
    const size_t separator = path.find_last_of("\\/");
    return CanWriteInFolder(separator == std::string::npos ? "." : path.substr(0, separator + 1));
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsAbsolutePath(const std::string& path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 2 && separator(path[0]) && separator(path[1])) {
        return true;
    }
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return path.size() >= 3 && letter(path[0]) && path[1] == ':' && separator(path[2]);
}

std::string CurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) {
        throw EInOutError("Unable to find the current folder: " + FileErrorText(GetLastError()));
    }
    folder.resize(length);
    std::string text = WideToUtf8(folder);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

bool SameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return FileIdentity(a, first) && FileIdentity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

std::optional<long long> ModifiedNanoseconds(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!FileIdentity(path, info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    // FILETIME counts 100-nanosecond steps.
    const long long steps = (static_cast<long long>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                            info.ftLastWriteTime.dwLowDateTime;
    return steps * 100;
}

// Windows keeps who may write where in access lists that no attribute
// shows; creating a file there, removed again on closing, is the answer.
bool CanWriteInFolder(const std::string& folder) {
    std::wstring probe;
    try {
        probe = Utf8ToWide(folder);
    } catch (const ECodecError&) {
        return false;
    }
    if (!probe.empty() && probe.back() != L'\\' && probe.back() != L'/') {
        probe += L'\\';
    }
    probe += L".tovarin-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(GetCurrentThreadId());
    const HANDLE handle = CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

void MakeFolders(const std::string& folder) {
    for (size_t separator = folder.find_first_of("\\/", 1);;
         separator = folder.find_first_of("\\/", separator + 1)) {
        const std::string part = folder.substr(0, separator);
        // A drive ("C:") is there already.
        if (!(part.size() == 2 && part[1] == ':')) {
            std::wstring name;
            try {
                name = Utf8ToWide(part);
            } catch (const ECodecError&) {
                CannotCreate(part, ERROR_INVALID_NAME);
            }
            if (!CreateDirectoryW(name.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                CannotCreate(part, GetLastError());
            }
        }
        if (separator == std::string::npos) {
            return;
        }
    }
}

}  // namespace tovarin
