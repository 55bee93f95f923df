#include "core/base/Codec.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "core/base/Errors.h"

namespace tovarin {
namespace {

constexpr UINT kGbk = 936;

// Windows gives GBK's user-defined areas characters of the Private Use
// Area, where glibc's GBK has none; refusing them makes both builds accept
// exactly the same texts, in both directions.
bool IsPrivateUse(wchar_t c) { return c >= 0xE000 && c <= 0xF8FF; }

bool HasPrivateUse(std::wstring_view wide) {
    return std::any_of(wide.begin(), wide.end(), &IsPrivateUse);
}

std::optional<std::wstring> Decode(UINT codePage, std::string_view bytes) {
    const int inLength = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, wide.data(),
                        length);
    if (HasPrivateUse(wide)) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> Encode(UINT codePage, std::wstring_view wide) {
    if (codePage != CP_UTF8 && HasPrivateUse(wide)) {
        return std::nullopt;
    }
    const int inLength = static_cast<int>(wide.size());
    // UTF-8 reports what it cannot encode as an error; GBK through the
    // default character it would put in its place.
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const defaultFlag = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), inLength, nullptr, 0,
                                           nullptr, defaultFlag);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), inLength, bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

std::optional<std::string> Recode(std::string_view in, UINT from, UINT to) {
    const std::optional<std::wstring> wide = Decode(from, in);
    return wide ? Encode(to, *wide) : std::nullopt;
}

// How many bytes the character starting with this byte takes; a byte that
// cannot start one counts as one, which the conversion then refuses.
size_t GbkLength(unsigned char lead) { return lead >= 0x81 && lead <= 0xFE ? 2 : 1; }

size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead <= 0xEF ? 3 : 1;
    }
    return lead >= 0xC0 ? 2 : 1;
}

// The whole text at once; only when that fails, one character at a time to
// find where, so the message names the byte as glibc's converter does.
std::string Convert(std::string_view in, UINT from, UINT to, size_t (*lengthOf)(unsigned char),
                    const char* what) {
    if (in.empty()) {
        return {};
    }
    if (std::optional<std::string> out = Recode(in, from, to)) {
        return *out;
    }
    size_t at = 0;
    while (at < in.size()) {
        const size_t length = lengthOf(static_cast<unsigned char>(in[at]));
        if (at + length > in.size() || !Recode(in.substr(at, length), from, to)) {
            break;
        }
        at += length;
    }
    throw ECodecError(std::string("Text cannot be converted ") + what, at);
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) {
    return Convert(utf8, CP_UTF8, kGbk, &Utf8Length, "to GBK");
}

std::string GbkToUtf8(std::string_view gbk) {
    return Convert(gbk, kGbk, CP_UTF8, &GbkLength, "from GBK");
}

}  // namespace tovarin
