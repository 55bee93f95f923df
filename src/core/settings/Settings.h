#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/AppOptions.h"

namespace tovarin {

// The settings file of a program folder: folder, separator, "ormelux.ini".
std::string SettingsFilePath(const std::string& folder);

// The one section of the settings file, in UTF-8 (GBK in the file).
inline constexpr std::string_view kSettingsSection = "基本设置";

// Fills a record from the settings file: a missing file or key gives the
// default, a number that is not one the key's default; LastDoc always reads
// as the working document "工作文档.lvrn". A number outside its key's range
// (AppOptionRange) reads as the key's default, except that ColsOfLineEd is
// clamped into its range. Such a number, and a member name or password that
// cannot be unscrambled into GBK text (which reads as empty), each put a
// line saying so into problems for the caller to show. EInOutError when an
// existing file cannot be read.
TAppOptions LoadAppOptions(const std::string& fileName, std::vector<std::string>& problems);

// The document LastDoc names in the file as it is (the one open when the
// program last closed), for a start-up that reopens it; empty when the file
// or the key is missing or the value is not GBK text.
std::string StoredLastDoc(const std::string& fileName);

// Writes the fifteen keys in record order, LastDoc set to docFileName when a
// document is open under a name (non-empty), and only then takes that name
// into the record. Other sections and keys of an existing file stay. The
// file is replaced whole or not at all: a failed write raises EInOutError
// "Unable to write to <file>" and changes neither the file nor the record.
// A document name the file cannot hold (not GBK, a line break, a blank at
// an end, quotes) leaves LastDoc as the file had it (or at its default) and
// the record's LastDoc as it was, and the other fourteen keys are written
// all the same; the returned one-line warning says so. Empty otherwise.
std::string SaveAppOptions(TAppOptions& options, std::string_view docFileName,
                           const std::string& fileName);

// Scrambling of member name and password: byte i of the stored text is
// byte i of the plain GBK text plus start + i * step, modulo 256.
struct TScrambleParams {
    uint8_t start;
    uint8_t step;
};

// The parameters made from the first and the last digit of a version text;
// tovarin::Exception when it has no digit.
TScrambleParams ScrambleParamsFor(std::string_view versionText);

// The parameters of the settings file, made from the version text under
// which its format was fixed, so that later versions keep reading it.
TScrambleParams SettingsScrambleParams();

std::string Scramble(std::string_view plain, TScrambleParams params);
std::string Unscramble(std::string_view stored, TScrambleParams params);

// Scrambled bytes can be anything; these make an INI value of them that
// reads back unchanged: "%" and two upper-case hex digits stand for a
// control byte, 0x7F, "%", a quote, and a blank at either end.
std::string EscapeIniValue(std::string_view bytes);
// Nothing when the value holds a "%" without two hex digits after it.
std::optional<std::string> UnescapeIniValue(std::string_view value);

}  // namespace tovarin
