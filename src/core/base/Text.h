#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovarin {

// Removes blanks and control characters (bytes up to 0x20) from both ends.
std::string_view Trim(std::string_view text);

// Decimal integer conversion as the framework does it: optional leading
// blanks, an optional sign, then decimal digits and nothing else, within the
// signed 32-bit range. Anything else raises EConvertError naming the text.
int StrToInt(std::string_view text);

// The same rule, answering false instead of raising.
bool TryStrToInt(std::string_view text, int& value);

std::string IntToStr(long long value);

// A count as people read it: the digits in groups of three, "710,694"
// ("-1,234"). Every count the statistics and backtest texts show to a
// person goes through here; files for programs (CSV, JSON) keep plain
// digits.
std::string GroupedInt(long long value);

// The trimmed text split at every occurrence of a delimiter of any length;
// empty items are dropped, items are not trimmed. An empty delimiter gives
// the trimmed text as the only item.
std::vector<std::string> SplitText(std::string_view delimiter, std::string_view text);

// Whether text starts with prefix, ASCII letters of either case alike.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// The text with its ASCII letters in lower case.
std::string AsciiLower(std::string_view text);

// FNV-1a of 64 bits: a fingerprint that stays the same across runs, builds
// and systems, unlike std::hash. Not for anything an attacker may choose.
uint64_t Fnv1a64(std::string_view bytes);

// "是" for a set flag, "否" otherwise, as the settings summaries print them.
const char* YesNoText(bool flag);

}  // namespace tovarin
