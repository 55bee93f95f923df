#include "core/base/Codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>

#include "core/base/Errors.h"

// What needs no converter of the operating system: UTF-8 checks, UTF-16
// and what GB18030 adds to GBK, the same code on every system.
namespace tovarin {
namespace {

// UTF-16 without its mark. A unit cut short, a lone or reversed surrogate is
// refused at the byte where its character starts.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<uint32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    const auto refuse = [](size_t at) {
        throw ECodecError("Text cannot be converted from UTF-16 at byte " + std::to_string(at));
    };
    std::string out;
    out.reserve(bytes.size() / 2 * 3);
    size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 2) {
            refuse(at);
        }
        uint32_t code = unitAt(at);
        size_t length = 2;
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (bytes.size() - at < 4) {
                refuse(at);
            }
            const uint32_t low = unitAt(at + 2);
            if (low < 0xDC00 || low > 0xDFFF) {
                refuse(at);
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            length = 4;
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            refuse(at);
        }
        AppendUtf8(code, out);
        at += length;
    }
    return out;
}

struct Gb18030Run {
    uint32_t first;
    uint32_t character;
    uint32_t count;
};

#include "core/base/Gb18030Table.inc"

// The character of a run that holds this code or place, if any.
template <size_t N>
std::optional<uint32_t> LookUp(const Gb18030Run (&runs)[N], uint32_t code) {
    const auto after =
        std::upper_bound(std::begin(runs), std::end(runs), code,
                         [](uint32_t c, const Gb18030Run& run) { return c < run.first; });
    if (after == std::begin(runs)) {
        return std::nullopt;
    }
    const Gb18030Run& run = *(after - 1);
    if (code - run.first >= run.count) {
        return std::nullopt;
    }
    return run.character + (code - run.first);
}

bool IsFourByteTail(unsigned char b) { return b >= 0x30 && b <= 0x39; }
bool IsGbLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// The character of a four-byte code, or nothing when it names none. The
// supplementary planes follow each other from 90 30 81 30 on.
std::optional<uint32_t> FourByteCharacter(const unsigned char* p) {
    const uint32_t place =
        (((p[0] - 0x81u) * 10 + (p[1] - 0x30u)) * 126 + (p[2] - 0x81u)) * 10 + (p[3] - 0x30u);
    constexpr uint32_t kSupplementaryPlace = 189000;
    if (place >= kSupplementaryPlace) {
        const uint32_t code = 0x10000 + (place - kSupplementaryPlace);
        return code <= 0x10FFFF ? std::optional<uint32_t>(code) : std::nullopt;
    }
    return LookUp(kGb18030FourByteRuns, place);
}

}  // namespace

void AppendUtf8(uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// GB18030 is GBK with more codes: the GBK runs between them go to the GBK
// converter whole, the rest are looked up.
std::string Gb18030ToUtf8(std::string_view gb18030) {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(gb18030.data());
    const size_t size = gb18030.size();
    std::string out;
    size_t gbkFrom = 0;
    const auto refuse = [](size_t at) {
        throw ECodecError("Text cannot be converted from GB18030", at);
    };
    const auto flushGbk = [&](size_t to) {
        if (to == gbkFrom) {
            return;
        }
        try {
            out += GbkToUtf8(gb18030.substr(gbkFrom, to - gbkFrom));
        } catch (const ECodecError& error) {
            refuse(gbkFrom + error.At().value_or(0));
        }
    };
    size_t at = 0;
    while (at < size) {
        const unsigned char lead = bytes[at];
        if (lead < 0x80) {
            ++at;
            continue;
        }
        // GBK takes 80 for the euro sign; GB18030 has no such single byte.
        if (lead == 0x80) {
            flushGbk(at);
            refuse(at);
        }
        if (!IsGbLead(lead) || at + 1 == size) {
            // Refused by the GBK converter, at this byte.
            break;
        }
        std::optional<uint32_t> character;
        size_t length = 2;
        if (IsFourByteTail(bytes[at + 1])) {
            if (size - at < 4 || !IsGbLead(bytes[at + 2]) || !IsFourByteTail(bytes[at + 3]) ||
                !(character = FourByteCharacter(bytes + at))) {
                flushGbk(at);
                refuse(at);
            }
            length = 4;
        } else {
            character = LookUp(kGb18030TwoByteRuns, uint32_t{lead} << 8 | bytes[at + 1]);
        }
        if (character) {
            flushGbk(at);
            AppendUtf8(*character, out);
            gbkFrom = at + length;
        }
        at += length;
    }
    flushGbk(size);
    return out;
}

bool IsValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        // Plain ASCII runs are by far the most common; take them eight bytes at a time.
        while (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080ULL) != 0) {
                break;
            }
            p += 8;
        }
        if (p == end) {
            break;
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        // The ranges of the second byte exclude overlong forms, surrogates
        // and code points above U+10FFFF.
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high) {
            return false;
        }
        for (int i = 2; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
        }
        p += length;
    }
    return true;
}

std::string_view TextFileAsUtf8(std::string_view bytes, std::string& converted) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        const std::string_view text = bytes.substr(3);
        if (!IsValidUtf8(text)) {
            throw ECodecError("Text cannot be converted from UTF-8");
        }
        return text;
    }
    if (bytes.starts_with("\xFF\xFE")) {
        converted = Utf16ToUtf8(bytes.substr(2), false);
    } else if (bytes.starts_with("\xFE\xFF")) {
        converted = Utf16ToUtf8(bytes.substr(2), true);
    } else if (IsValidUtf8(bytes)) {
        return bytes;
    } else {
        converted = Gb18030ToUtf8(bytes);
    }
    return converted;
}

}  // namespace tovarin
