#include "core/settings/Settings.h"

#include <algorithm>
#include <cstdint>

#include "core/base/Codec.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/Text.h"
#include "core/settings/IniFile.h"

namespace tovarin {
namespace {

// The version text from whose digits the scrambling parameters are made.
constexpr std::string_view kScrambleVersionText = "1.0.0";

// Offset of byte i: start + i * step, modulo 256.
uint8_t Offset(size_t i, TScrambleParams params) {
    return static_cast<uint8_t>(params.start + static_cast<uint8_t>(i) * params.step);
}

bool IsScrambled(std::string_view key) { return key == "userName" || key == "userPW"; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// An integer as the INI service reads it: the whole value in decimal, or
// "0x" and hexadecimal digits taken as 32 bits; nothing otherwise.
std::optional<int32_t> ReadIniInteger(std::string_view text) {
    int decimal = 0;
    if (TryStrToInt(text, decimal)) {
        return decimal;
    }
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : text.substr(2)) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The plain UTF-8 text of a stored member name or password, or nothing
// (with the reason in problems) when it cannot be made.
std::optional<std::string> ReadScrambledText(const std::string& stored, std::string_view key,
                                             const std::string& fileName,
                                             std::vector<std::string>& problems) {
    const std::optional<std::string> bytes = UnescapeIniValue(stored);
    if (!bytes) {
        problems.push_back(fileName + ": " + std::string(key) +
                           " has a broken % escape; it reads as empty");
        return std::nullopt;
    }
    try {
        return GbkToUtf8(Unscramble(*bytes, SettingsScrambleParams()));
    } catch (const ECodecError& error) {
        problems.push_back(fileName + ": " + std::string(key) + " is not GBK text (" +
                           error.what() + "); it reads as empty");
        return std::nullopt;
    }
}

// A number outside its key's range keeps the default, except that
// ColsOfLineEd is clamped into its range; either way problems says so.
void ReadNumber(TAppOptions& options, std::string_view key, const std::string& stored,
                const std::string& fileName, std::vector<std::string>& problems) {
    const std::optional<int32_t> number = ReadIniInteger(stored);
    if (!number) {
        return;
    }
    if (AppOptionTypeOf(key) == AppOptionType::Boolean) {
        SetAppOption(options, key, *number != 0 ? "1" : "0");
        return;
    }
    const TSettingRange range = AppOptionRange(key);
    if (range.Holds(*number)) {
        SetAppOption(options, key, IntToStr(*number));
        return;
    }
    if (key == "ColsOfLineEd") {
        SetAppOption(options, key, IntToStr(std::clamp(*number, range.min, range.max)));
    }
    problems.push_back(fileName + ": " + std::string(key) + " " + stored + " is outside " +
                       IntToStr(range.min) + " to " + IntToStr(range.max) + "; it reads as " +
                       GetAppOption(options, key));
}

// A message shown as one line, whatever the text it quotes holds.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// The bytes the settings file holds for one key.
std::string StoredValue(const TAppOptions& options, std::string_view key) {
    std::string text = GetAppOption(options, key);
    if (AppOptionTypeOf(key) != AppOptionType::Text) {
        return text;
    }
    std::string gbk;
    try {
        gbk = Utf8ToGbk(text);
    } catch (const ECodecError& error) {
        throw ECodecError(std::string(key) + " cannot be written in GBK: " + error.what());
    }
    if (IsScrambled(key)) {
        return EscapeIniValue(Scramble(gbk, SettingsScrambleParams()));
    }
    if (!TIniFile::CanHoldValue(gbk)) {
        throw Exception(std::string(key) +
                        " cannot be written: it has a line break or a blank at an end, "
                        "or is in quotes");
    }
    return gbk;
}

}  // namespace

std::string SettingsFilePath(const std::string& folder) {
    return folder + "/" + "ormelux" + ".ini";
}

TAppOptions LoadAppOptions(const std::string& fileName, std::vector<std::string>& problems) {
    TAppOptions options;
    if (!FileExists(fileName)) {
        return options;
    }
    const TIniFile ini(ReadWholeFile(fileName));
    const std::string section = Utf8ToGbk(kSettingsSection);
    for (const std::string_view key : AppOptionKeys()) {
        const std::optional<std::string> stored = ini.ReadString(section, key);
        if (!stored || key == "LastDoc") {
            continue;
        }
        if (IsScrambled(key)) {
            if (const std::optional<std::string> plain =
                    ReadScrambledText(*stored, key, fileName, problems)) {
                SetAppOption(options, key, *plain);
            }
        } else {
            ReadNumber(options, key, *stored, fileName, problems);
        }
    }
    // The program always starts with the working document, the record's default.
    options.LastDoc = TAppOptions{}.LastDoc;
    return options;
}

std::string StoredLastDoc(const std::string& fileName) {
    if (!FileExists(fileName)) {
        return {};
    }
    const TIniFile ini(ReadWholeFile(fileName));
    const std::optional<std::string> stored =
        ini.ReadString(Utf8ToGbk(kSettingsSection), "LastDoc");
    if (!stored) {
        return {};
    }
    try {
        return GbkToUtf8(*stored);
    } catch (const ECodecError&) {
        return {};
    }
}

std::string SaveAppOptions(TAppOptions& options, std::string_view docFileName,
                           const std::string& fileName) {
    TAppOptions saved = options;
    if (!docFileName.empty()) {
        saved.LastDoc = std::string(docFileName);
    }
    std::string warning;
    try {
        TIniFile ini;
        if (FileExists(fileName)) {
            ini = TIniFile(ReadWholeFile(fileName));
        }
        const std::string section = Utf8ToGbk(kSettingsSection);
        for (const std::string_view key : AppOptionKeys()) {
            if (key != "LastDoc") {
                ini.WriteString(section, key, StoredValue(saved, key));
                continue;
            }
            // LastDoc is only remembered, never read at start: a name the
            // file cannot hold costs that key, not the others.
            try {
                ini.WriteString(section, key, StoredValue(saved, key));
            } catch (const Exception& error) {
                warning = OneLine(std::string(error.what()) + "; LastDoc keeps its previous value");
                saved.LastDoc = options.LastDoc;
                if (!ini.ReadString(section, key)) {
                    ini.WriteString(section, key, StoredValue(TAppOptions{}, key));
                }
            }
        }
        WriteFileAtomically(fileName, ini.Bytes());
    } catch (const EInOutError&) {
        throw EInOutError("Unable to write to " + fileName);
    }
    options.LastDoc = saved.LastDoc;
    return warning;
}

TScrambleParams ScrambleParamsFor(std::string_view versionText) {
    const size_t first = versionText.find_first_of("0123456789");
    if (first == std::string_view::npos) {
        throw Exception("The version text '" + std::string(versionText) + "' has no digit");
    }
    const size_t last = versionText.find_last_of("0123456789");
    const int a = versionText[first] - '0';
    const int b = versionText[last] - '0';
    // An odd step walks through every residue before repeating, so no two
    // of the first 256 bytes share an offset.
    return {static_cast<uint8_t>(90 + 17 * a), static_cast<uint8_t>(37 + 2 * b)};
}

TScrambleParams SettingsScrambleParams() {
    static const TScrambleParams params = ScrambleParamsFor(kScrambleVersionText);
    return params;
}

std::string Scramble(std::string_view plain, TScrambleParams params) {
    std::string stored(plain);
    for (size_t i = 0; i < stored.size(); ++i) {
        stored[i] = static_cast<char>(static_cast<uint8_t>(stored[i]) + Offset(i, params));
    }
    return stored;
}

std::string Unscramble(std::string_view stored, TScrambleParams params) {
    std::string plain(stored);
    for (size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<char>(static_cast<uint8_t>(plain[i]) - Offset(i, params));
    }
    return plain;
}

std::string EscapeIniValue(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string value;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<uint8_t>(bytes[i]);
        const bool edge = i == 0 || i + 1 == bytes.size();
        const bool escape = byte < 0x20 || byte == 0x7F || byte == '%' || byte == '"' ||
                            byte == '\'' || (byte == ' ' && edge);
        if (escape) {
            value += '%';
            value += kHex[byte >> 4];
            value += kHex[byte & 0x0F];
        } else {
            value += static_cast<char>(byte);
        }
    }
    return value;
}

std::optional<std::string> UnescapeIniValue(std::string_view value) {
    std::string bytes;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            bytes += value[i];
            continue;
        }
        if (i + 2 >= value.size()) {
            return std::nullopt;
        }
        const int high = HexDigit(value[i + 1]);
        const int low = HexDigit(value[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

}  // namespace tovarin
