#include "core/settings/IniFile.h"

#include "core/base/Errors.h"

namespace tovarin {
namespace {

constexpr size_t npos = std::string::npos;
constexpr std::string_view kLineBreak = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsGbkLeadByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

// Position of an ASCII character that is not the second byte of a GBK
// character (which may be "[", "]" and other brackets), or npos.
size_t FindCharacter(std::string_view text, char wanted) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == wanted) {
            return i;
        }
        if (IsGbkLeadByte(text[i])) {
            ++i;
        }
    }
    return npos;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Letter case is ignored character by character, so the second byte of a
// double-byte character, which may look like an ASCII letter, is compared
// exactly.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsGbkLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The section name of a header line "[name]", or nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    const size_t close = FindCharacter(line, ']');
    if (close == npos) {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// Key and value of a "key=value" line; comments, headers and lines without
// "=" are no key lines.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';' || line.front() == '[') {
        return std::nullopt;
    }
    const size_t equals = line.find('=');
    if (equals == npos) {
        return std::nullopt;
    }
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    if (key.empty()) {
        return std::nullopt;
    }
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return KeyLine{key, value};
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || TrimBlanks(name).size() != name.size()) {
        return false;
    }
    if (name.find_first_of(std::string_view("\0\r\n=;", 5)) != npos) {
        return false;
    }
    return FindCharacter(name, '[') == npos && FindCharacter(name, ']') == npos;
}

}  // namespace

TIniFile::TIniFile(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t stop = bytes.find_first_of("\r\n", start);
        if (stop == npos) {
            lines_.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        const size_t breakLength =
            bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n' ? 2 : 1;
        lines_.push_back({std::string(bytes.substr(start, stop - start)),
                          std::string(bytes.substr(stop, breakLength))});
        start = stop + breakLength;
    }
}

size_t TIniFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::optional<std::string_view> name = SectionName(lines_[i].text);
        if (name && SameName(*name, section)) {
            return i;
        }
    }
    return npos;
}

size_t TIniFile::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !SectionName(lines_[i].text)) {
        ++i;
    }
    return i;
}

size_t TIniFile::FindKey(size_t header, std::string_view key) const {
    const size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        const std::optional<KeyLine> line = ParseKeyLine(lines_[i].text);
        if (line && SameName(line->key, key)) {
            return i;
        }
    }
    return npos;
}

std::optional<std::string> TIniFile::ReadString(std::string_view section,
                                                std::string_view key) const {
    const size_t header = FindSection(section);
    if (header == npos) {
        return std::nullopt;
    }
    const size_t index = FindKey(header, key);
    if (index == npos) {
        return std::nullopt;
    }
    return std::string(ParseKeyLine(lines_[index].text)->value);
}

void TIniFile::InsertLine(size_t index, std::string text) {
    // The line before the new one may be the file's last, without a break.
    if (index > 0 && lines_[index - 1].end.empty()) {
        lines_[index - 1].end = kLineBreak;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(text), std::string(kLineBreak)});
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsPlainName(section) || !IsPlainName(key)) {
        throw Exception("An INI section or key name cannot be '" + std::string(section) + "'/'" +
                        std::string(key) + "'");
    }
    if (!CanHoldValue(value)) {
        throw Exception("The value of " + std::string(key) + " cannot be held in an INI file");
    }
    std::string text = std::string(key) + "=" + std::string(value);
    const size_t header = FindSection(section);
    if (header == npos) {
        InsertLine(lines_.size(), "[" + std::string(section) + "]");
        InsertLine(lines_.size(), std::move(text));
        return;
    }
    const size_t index = FindKey(header, key);
    if (index != npos) {
        lines_[index].text = std::move(text);
        return;
    }
    // A new key goes after the section's last non-blank line, so that the
    // blank lines separating it from the next section stay where they are.
    size_t after = SectionEnd(header);
    while (after > header + 1 && TrimBlanks(lines_[after - 1].text).empty()) {
        --after;
    }
    InsertLine(after, std::move(text));
}

std::string TIniFile::Bytes() const {
    std::string bytes;
    for (const Line& line : lines_) {
        bytes += line.text;
        bytes += line.end;
    }
    return bytes;
}

bool TIniFile::CanHoldValue(std::string_view value) {
    if (value.find_first_of(std::string_view("\0\r\n", 3)) != npos) {
        return false;
    }
    if (TrimBlanks(value).size() != value.size()) {
        return false;
    }
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

}  // namespace tovarin
