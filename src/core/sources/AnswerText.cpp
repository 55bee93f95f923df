#include "core/sources/AnswerText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "core/base/Codec.h"
#include "core/base/Errors.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

// Pages name their charset near the top; a long head still has it here.
constexpr size_t kMetaSearchBytes = 8192;

// The value after "charset=" at pos in lower-case text.
std::string CharsetValueAt(std::string_view lower, size_t pos) {
    pos += std::string_view("charset=").size();
    while (pos < lower.size() && (lower[pos] == '"' || lower[pos] == '\'' || lower[pos] == ' ')) {
        ++pos;
    }
    size_t end = pos;
    while (end < lower.size() && (std::isalnum(static_cast<unsigned char>(lower[end])) != 0 ||
                                  lower[end] == '-' || lower[end] == '_')) {
        ++end;
    }
    return std::string(lower.substr(pos, end - pos));
}

bool IsGbCharset(std::string_view charset) {
    static constexpr std::array<std::string_view, 6> kNames = {"gb2312", "gbk",   "gb18030",
                                                               "x-gbk",  "cp936", "euc-cn"};
    return std::find(kNames.begin(), kNames.end(), charset) != kNames.end();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from pos, between min and max of them; pos moves past them.
bool Digits(std::string_view text, size_t& pos, size_t min, size_t max) {
    const size_t start = pos;
    while (pos < text.size() && pos - start < max && IsDigit(text[pos])) {
        ++pos;
    }
    return pos - start >= min;
}

bool Word(std::string_view text, size_t& pos, std::string_view word) {
    if (text.substr(pos, word.size()) != word) {
        return false;
    }
    pos += word.size();
    return true;
}

}  // namespace

std::string CharsetOfContentType(std::string_view contentType) {
    const std::string lower = AsciiLower(contentType);
    const size_t at = lower.find("charset=");
    return at == std::string::npos ? std::string() : CharsetValueAt(lower, at);
}

std::string CharsetOfMeta(std::string_view page) {
    const std::string lower = AsciiLower(page.substr(0, kMetaSearchBytes));
    for (size_t meta = lower.find("<meta"); meta != std::string::npos;
         meta = lower.find("<meta", meta + 1)) {
        const size_t end = lower.find('>', meta);
        const std::string_view tag =
            std::string_view(lower).substr(meta, end == std::string::npos ? end : end - meta);
        const size_t at = tag.find("charset=");
        if (at != std::string_view::npos) {
            return CharsetValueAt(tag, at);
        }
    }
    return {};
}

std::string_view AnswerAsUtf8(std::string_view bytes, std::string_view charset,
                              std::string& converted) {
    try {
        const bool marked = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                            bytes.starts_with("\xFE\xFF");
        if (!marked && IsGbCharset(charset)) {
            converted = Gb18030ToUtf8(bytes);
            return converted;
        }
        return TextFileAsUtf8(bytes, converted);
    } catch (const ECodecError& error) {
        throw EReadError(std::string("答案的编码无法识别（应为UTF-8或GB18030）：") + error.what());
    }
}

std::string_view LeadingDate(std::string_view text) {
    text = Trim(text);
    size_t pos = 0;
    if (!Digits(text, pos, 4, 4) || pos >= text.size()) {
        return {};
    }
    const char separator = text[pos];
    bool date = false;
    if (separator == '-' || separator == '/' || separator == '.') {
        ++pos;
        date = Digits(text, pos, 1, 2) && pos < text.size() && text[pos++] == separator &&
               Digits(text, pos, 1, 2);
    } else {
        date = Word(text, pos, "年") && Digits(text, pos, 1, 2) && Word(text, pos, "月") &&
               Digits(text, pos, 1, 2) && Word(text, pos, "日");
    }
    // A date runs into no further digit: 2026-06-130 is none.
    if (!date || (pos < text.size() && IsDigit(text[pos]))) {
        return {};
    }
    return text.substr(0, pos);
}

std::string_view DateOfCell(std::string_view text) {
    text = Trim(text);
    const std::string_view date = LeadingDate(text);
    if (date.empty()) {
        return {};
    }
    std::string_view rest = Trim(text.substr(date.size()));
    // A weekday in half- or full-width brackets: (六), （日）.
    for (const auto& [open, close] : {std::pair<std::string_view, std::string_view>{"(", ")"},
                                      std::pair<std::string_view, std::string_view>{"（", "）"}}) {
        if (rest.starts_with(open)) {
            const size_t end = rest.find(close);
            const std::string_view day = end == std::string_view::npos
                                             ? std::string_view()
                                             : rest.substr(open.size(), end - open.size());
            if (std::string_view("一二三四五六日天").find(day) == std::string_view::npos ||
                day.size() != 3) {
                return {};
            }
            rest = Trim(rest.substr(end + close.size()));
        }
    }
    // A time of day: 21:15 or 21:15:00.
    size_t pos = 0;
    const bool time = rest.empty() ||
                      (Digits(rest, pos, 1, 2) && Word(rest, pos, ":") && Digits(rest, pos, 2, 2) &&
                       (pos == rest.size() || (Word(rest, pos, ":") && Digits(rest, pos, 2, 2))) &&
                       pos == rest.size());
    return time ? date : std::string_view();
}

}  // namespace tovarin
