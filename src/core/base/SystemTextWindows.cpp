#include "core/base/SystemTextWindows.h"

#include <windows.h>

#include "core/base/Errors.h"

namespace tovarin {

std::wstring Utf8ToWide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, nullptr, 0);
    if (length <= 0) {
        throw ECodecError("Text is not UTF-8");
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, wide.data(), length);
    return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), inLength,
                                           nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        throw ECodecError("Text is not UTF-16");
    }
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), inLength, utf8.data(), length,
                        nullptr, nullptr);
    return utf8;
}

namespace {

// The text FormatMessage gives for the error from the source its flags name,
// or nothing when it has none.
std::string FormattedMessage(DWORD flags, const void* source, unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | flags,
                       source, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return {};
    }
    std::wstring message(text, length);
    LocalFree(text);
    // The system ends its messages with a full stop and a line break.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return WideToUtf8(message);
}

}  // namespace

std::string SystemMessage(unsigned long error) {
    std::string message = FormattedMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, error);
    return message.empty() ? "error " + std::to_string(error) : message;
}

std::string ModuleMessage(void* module, unsigned long error) {
    std::string message = FormattedMessage(FORMAT_MESSAGE_FROM_HMODULE, module, error);
    return message.empty() ? SystemMessage(error) : message;
}

std::string FileErrorText(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return "No such file or directory";
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return "Permission denied";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return "File exists";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "No space left on device";
        case ERROR_TOO_MANY_OPEN_FILES:
            return "Too many open files";
        case ERROR_FILENAME_EXCED_RANGE:
            return "File name too long";
        case ERROR_FILE_TOO_LARGE:
            return "File too large";
        default:
            return SystemMessage(error);
    }
}

}  // namespace tovarin
