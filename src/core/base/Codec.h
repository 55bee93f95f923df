#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// Text is UTF-8 inside the program; GBK (code page 936) exists only in files.
// Both conversions refuse text they cannot convert with ECodecError.
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);

}  // namespace tovarin
