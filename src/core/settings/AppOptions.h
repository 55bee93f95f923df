#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovarin {

// The program's own settings; each field is named by its key in the
// settings file. Copied by value wherever it is handed on.
struct TAppOptions {
    std::string userName;
    std::string userPW;
    bool OpenLastChk = false;
    std::string LastDoc = "工作文档.lvrn";
    bool AutoSaveChk = false;
    int32_t AutoSaveEd = 5;
    bool DetailEveryChk = false;
    bool DetailLastChk = true;
    bool SplitByLineChk = false;
    uint8_t ViewStyle = 0;
    bool AutoCalcChk = false;
    bool AutoVerifyChk = true;
    bool OutPutPrjOptChk = false;
    bool OutPutAppOptChk = false;
    int32_t ColsOfLineEd = 10;
};

// How a field is held; it decides how its value is written as text.
enum class AppOptionType { Text, Boolean, Integer, ViewStyle };

// The numbers a number setting may hold, the same wherever one is set: the
// settings file, the command line's --set and the options dialog.
struct TSettingRange {
    int32_t min;
    int32_t max;

    bool Holds(int64_t value) const { return value >= min && value <= max; }
};
// AutoSaveEd counts minutes; more than 100 would make the timer overflow
// long before it could matter.
inline constexpr TSettingRange kAutoSaveEdRange{1, 100};
inline constexpr TSettingRange kColsOfLineEdRange{4, 30};
// The options dialog offers fewer codes a line than a record may hold.
inline constexpr TSettingRange kColsOfLineEdSpinRange{4, 20};
inline constexpr TSettingRange kViewStyleRange{0, 2};

// The fifteen keys in record order, which is also the order in which the
// settings file is written.
inline constexpr size_t kAppOptionCount = 15;
const std::array<std::string_view, kAppOptionCount>& AppOptionKeys();

// The type of a key; tovarin::Exception for a key that is not one of the
// fifteen. Keys are matched exactly, as the record spells them.
AppOptionType AppOptionTypeOf(std::string_view key);

// The field's value as text: booleans "0"/"1", integers in decimal, texts
// (UTF-8) as they are.
std::string GetAppOption(const TAppOptions& options, std::string_view key);

// The range of a number setting (of type Integer or ViewStyle);
// tovarin::Exception for any other key.
TSettingRange AppOptionRange(std::string_view key);

// Sets the field from text in the form GetAppOption gives: booleans "0" or
// "1", integers in decimal within the key's range, texts as given, which
// must be UTF-8 that the settings file's GBK can hold. An unknown key or a
// bad value throws tovarin::Exception and leaves the record unchanged.
void SetAppOption(TAppOptions& options, std::string_view key, std::string_view value);

// The summary of these settings a filtering report can carry.
std::string DescribeAppOptions(const TAppOptions& options);

}  // namespace tovarin
