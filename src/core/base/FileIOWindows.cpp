#include "core/base/FileIO.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <utility>

#include "core/base/Errors.h"
#include "core/base/SystemTextWindows.h"
#include "core/base/TempFiles.h"

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
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

[[noreturn]] void FailNotRegular(const std::string& what, const std::string& path) {
    throw EInOutError(what + " " + path + ": not a regular file");
}

// The folder part of a UTF-8 path, with its separator ("" for none).
std::string FolderPartOf(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

// The file a write replaces: the path itself, or the file a symbolic link
// there finally names. A link that names nothing, a target that is not a
// regular file and a file the process could not open for writing are
// refused: replacing them would put a new file where the user meant none.
std::wstring WriteTarget(const std::string& path) {
    std::wstring target = SystemName("Unable to write to", path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        // A missing folder is left for creating the temporary file to report.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return target;
        }
        Fail("Unable to write to", path, error);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        FailNotRegular("Unable to write to", path);
    }
    // Opening follows links; a dangling one fails here like in the POSIX build.
    const Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe.get() == INVALID_HANDLE_VALUE) {
        Fail("Unable to write to", path, GetLastError());
    }
    if (GetFileType(probe.get()) != FILE_TYPE_DISK) {
        FailNotRegular("Unable to write to", path);
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        wchar_t resolved[32768];
        const DWORD length = GetFinalPathNameByHandleW(probe.get(), resolved, 32768, 0);
        if (length == 0 || length >= 32768) {
            Fail("Unable to write to", path, GetLastError());
        }
        target.assign(resolved, length);
    }
    return target;
}

// The file is created beside the target so that the move stays within one
// volume; CREATE_NEW makes the name ours alone (a name someone else holds
// only moves on to the next). Delete sharing lets the console handler
// remove it while it is being written.
HANDLE CreateTemporaryBeside(const std::wstring& target, const std::string& path,
                             TempRegistration& registration, std::wstring& tempName) {
    static std::atomic<unsigned> serial{0};
    const std::string folder = FolderPartOf(WideToUtf8(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = folder + TemporaryName(GetCurrentProcessId(), serial++);
        registration.Hold(candidate);
        std::wstring name = SystemName("Unable to create a file beside", candidate);
        const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            tempName = std::move(name);
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

// Pipes, devices and folders are refused before anything is read from them.
TFileReader::TFileReader(const std::string& path, bool whole)
    : path_(path), whole_(whole), handle_(reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE)) {
    const std::wstring name = SystemName("Unable to open", path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        FailNotRegular("Unable to open", path);
    }
    Handle file(CreateFileW(name.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        Fail("Unable to open", path, GetLastError());
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        FailNotRegular("Unable to open", path);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        Fail("Unable to open", path, GetLastError());
    }
    sizeWhenOpened_ = static_cast<size_t>(std::max<LONGLONG>(size.QuadPart, 0));
    if (whole && sizeWhenOpened_ > kMaxFileBytes) {
        RefuseTooLarge();
    }
    handle_ = reinterpret_cast<intptr_t>(file.Release());
}

TFileReader::~TFileReader() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

size_t TFileReader::ReadSome(char* buffer, size_t bytes) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes, 1 << 30));
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) {
        Fail("Unable to read", path_, GetLastError());
    }
    return got;
}

void TFileReader::RefuseTooLarge() const { Fail("Unable to read", path_, ERROR_FILE_TOO_LARGE); }

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    CheckWritableSize(bytes.size());
    const std::wstring target = WriteTarget(path);
    TempRegistration registration;
    std::wstring tempName;
    Handle file(CreateTemporaryBeside(target, path, registration, tempName));
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
    if (!MoveFileExW(tempName.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        abandon(GetLastError());
    }
}

void RemoveFile(const std::string& path) {
    if (!DeleteFileW(SystemName("Unable to remove", path).c_str())) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            Fail("Unable to remove", path, error);
        }
    }
}

bool AddNameUnlessTaken(const std::string& path, const std::string& newName,
                        const std::string& failure) {
    std::wstring from;
    std::wstring to;
    try {
        from = Utf8ToWide(path);
        to = Utf8ToWide(newName);
    } catch (const ECodecError&) {
        throw EInOutError(failure + ": " + FileErrorText(ERROR_INVALID_NAME));
    }
    if (CreateHardLinkW(to.c_str(), from.c_str(), nullptr)) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        return false;
    }
    throw EInOutError(failure + ": " + FileErrorText(error));
}

std::string MakeScratchFolder() {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) {
        Fail("Unable to create a folder in", "%TEMP%", GetLastError());
    }
    const std::string folder = WideToUtf8(std::wstring_view(base, length));
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = folder + "tovarin-" + std::to_string(GetCurrentProcessId()) +
                                      "-" + std::to_string(serial++);
        if (CreateDirectoryW(Utf8ToWide(candidate).c_str(), nullptr)) {
            return candidate;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            Fail("Unable to create a folder in", folder, GetLastError());
        }
    }
    Fail("Unable to create a folder in", folder, ERROR_ALREADY_EXISTS);
}

namespace {

// Whether the process with this id has ended (or never was).
bool ProcessHasEnded(unsigned long id) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) {
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

}  // namespace

int RemoveLeftTemporaries(const std::string& folder) {
    std::wstring pattern;
    try {
        pattern = Utf8ToWide(folder + "\\.tovarin-*.tmp");
    } catch (const ECodecError&) {
        return 0;
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int removed = 0;
    do {
        const std::string name = WideToUtf8(found.cFileName);
        const unsigned long writer = WriterOfTemporary(name);
        if (writer == 0 || writer == GetCurrentProcessId() || !ProcessHasEnded(writer)) {
            continue;
        }
        if (DeleteFileW(Utf8ToWide(folder + "\\" + name).c_str())) {
            ++removed;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return removed;
}

int RemoveLeftTemporariesBeside(const std::string& path) {
    try {
        const std::string folder = FolderPartOf(WideToUtf8(WriteTarget(path)));
        return RemoveLeftTemporaries(folder.empty() ? "." : folder.substr(0, folder.size() - 1));
    } catch (const Exception&) {
        return 0;
    }
}

}  // namespace tovarin
