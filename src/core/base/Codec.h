#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovarin {

// Text is UTF-8 inside the program; GBK (code page 936) exists only in files.
// Both conversions refuse text they cannot convert with ECodecError.
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);
// GB18030 (as its 2022 edition maps it) is GBK with more characters: all
// of Unicode.
std::string Gb18030ToUtf8(std::string_view gb18030);

// Text files from elsewhere (a web site's download, a spreadsheet's export)
// come in whatever encoding their program chose. The text of such a file as
// UTF-8: a UTF-8 or UTF-16 (LE or BE) byte-order mark decides and is
// dropped; without one, valid UTF-8 stays as it is and anything else is
// read as GB18030. Text that is UTF-8 already is not copied: the answer is
// then a part of bytes, otherwise it lies in converted. ECodecError when the
// bytes do not fit the encoding.
std::string_view TextFileAsUtf8(std::string_view bytes, std::string& converted);
bool IsValidUtf8(std::string_view text);
// Appends the UTF-8 bytes of a Unicode code point (at most U+10FFFF).
void AppendUtf8(uint32_t code, std::string& out);

}  // namespace tovarin
