#include "core/base/FileIO.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "core/base/Errors.h"
#include "core/base/SystemTextWindows.h"

namespace tovarin {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD error) {
    throw EInOutError(what + " " + path + ": " + FileErrorText(error));
}

// Names reach the system as UTF-16, so every character of a UTF-8 name
// survives whatever the ANSI code page is.
std::wstring SystemName(const std::string& what, const std::string& path) {
    try {
        return Utf8ToWide(path);
    } catch (const ECodecError&) {
        Fail(what, path, ERROR_INVALID_NAME);
    }
}

// Closes the handle on every way out. Handles read and write bytes as they
// are: no text mode turns line ends into CR LF.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }

    HANDLE get() const { return handle_; }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

// The file is created beside the target so that the move stays within one
// volume; CREATE_NEW makes the name ours alone (a name someone else holds
// only moves on to the next).
HANDLE CreateTemporaryBeside(const std::string& path, std::wstring& tempName) {
    static std::atomic<unsigned> serial{0};
    const std::wstring stem = SystemName("Unable to create a file beside", path) + L".tmp" +
                              std::to_wstring(GetCurrentProcessId()) + L".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = stem + std::to_wstring(serial++);
        const HANDLE handle = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            tempName = std::move(candidate);
            return handle;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            Fail("Unable to create a file beside", path, error);
        }
    }
    Fail("Unable to create a file beside", path, ERROR_FILE_EXISTS);
}

}  // namespace

bool FileExists(const std::string& path) {
    std::wstring name;
    try {
        name = Utf8ToWide(path);
    } catch (const ECodecError&) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ReadWholeFile(const std::string& path) {
    const Handle file(CreateFileW(SystemName("Unable to open", path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        Fail("Unable to open", path, GetLastError());
    }
    std::string data;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
            Fail("Unable to read", path, GetLastError());
        }
        if (got == 0) {
            return data;
        }
        data.append(chunk, got);
    }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::wstring tempName;
    Handle file(CreateTemporaryBeside(path, tempName));
    auto abandon = [&](DWORD error) {
        file.Close();
        DeleteFileW(tempName.c_str());
        Fail("Unable to write to", path, error);
    };

    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 30));
        DWORD wrote = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &wrote, nullptr)) {
            abandon(GetLastError());
        }
        if (wrote == 0) {
            abandon(ERROR_DISK_FULL);
        }
        bytes.remove_prefix(wrote);
    }
    if (!FlushFileBuffers(file.get())) {
        abandon(GetLastError());
    }
    if (!file.Close()) {
        abandon(GetLastError());
    }
    // Unlike rename, the move replaces an existing file; write-through
    // returns only once the move is on the disk.
    if (!MoveFileExW(tempName.c_str(), SystemName("Unable to write to", path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        abandon(GetLastError());
    }
}

}  // namespace tovarin
