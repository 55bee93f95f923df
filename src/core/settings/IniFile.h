#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovarin {

// An INI file held as its lines of bytes, read and changed the way the
// operating system's INI service treats such files: section names and keys
// match without regard to letter case (ASCII letters only, and never the
// second byte of a GBK character), blanks around names and values do not
// count, lines starting with ";" are comments, only the first section of a
// name and the first of duplicate keys in it are seen, and a value enclosed
// in one pair of matching quotes reads without them. Writing a key changes
// only that key's line (or adds one); every other line stays byte for byte.
class TIniFile {
public:
    TIniFile() = default;
    // Lines may end in CR LF, LF or CR.
    explicit TIniFile(std::string_view bytes);

    // The value, or nothing when the section or the key is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

    // Replaces the key's value or adds the key (and the section) with CR LF
    // line ends. A value that would not read back as given (see
    // CanHoldValue), or a name that is not a plain name, throws
    // tovarin::Exception and changes nothing.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    std::string Bytes() const;

    // Whether ReadString gives exactly this value back after WriteString:
    // no zero byte or line break, no blank at either end, not quoted.
    static bool CanHoldValue(std::string_view value);

private:
    struct Line {
        std::string text;
        std::string end;  // the line break as found: "\r\n", "\n", "\r" or none
    };

    // Index of the first line of the named section's header, or npos.
    size_t FindSection(std::string_view section) const;
    // Index of the key's line within the section starting at header, or npos.
    size_t FindKey(size_t header, std::string_view key) const;
    // One past the last line that belongs to the section starting at header.
    size_t SectionEnd(size_t header) const;
    void InsertLine(size_t index, std::string text);

    std::vector<Line> lines_;
};

}  // namespace tovarin
