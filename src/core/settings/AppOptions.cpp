#include "core/settings/AppOptions.h"

#include <variant>

#include "core/base/Codec.h"
#include "core/base/Errors.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

using FieldPointer = std::variant<std::string TAppOptions::*, bool TAppOptions::*,
                                  int32_t TAppOptions::*, uint8_t TAppOptions::*>;

struct Field {
    std::string_view key;
    AppOptionType type;
    FieldPointer member;
    TSettingRange range{0, 0};  // for a number only
};

// One row per field, in record order; every key-based access goes through it.
const std::array<Field, kAppOptionCount>& Fields() {
    static const std::array<Field, kAppOptionCount> fields = {{
        {"userName", AppOptionType::Text, &TAppOptions::userName},
        {"userPW", AppOptionType::Text, &TAppOptions::userPW},
        {"OpenLastChk", AppOptionType::Boolean, &TAppOptions::OpenLastChk},
        {"LastDoc", AppOptionType::Text, &TAppOptions::LastDoc},
        {"AutoSaveChk", AppOptionType::Boolean, &TAppOptions::AutoSaveChk},
        {"AutoSaveEd", AppOptionType::Integer, &TAppOptions::AutoSaveEd, kAutoSaveEdRange},
        {"DetailEveryChk", AppOptionType::Boolean, &TAppOptions::DetailEveryChk},
        {"DetailLastChk", AppOptionType::Boolean, &TAppOptions::DetailLastChk},
        {"SplitByLineChk", AppOptionType::Boolean, &TAppOptions::SplitByLineChk},
        {"ViewStyle", AppOptionType::ViewStyle, &TAppOptions::ViewStyle, kViewStyleRange},
        {"AutoCalcChk", AppOptionType::Boolean, &TAppOptions::AutoCalcChk},
        {"AutoVerifyChk", AppOptionType::Boolean, &TAppOptions::AutoVerifyChk},
        {"OutPutPrjOptChk", AppOptionType::Boolean, &TAppOptions::OutPutPrjOptChk},
        {"OutPutAppOptChk", AppOptionType::Boolean, &TAppOptions::OutPutAppOptChk},
        {"ColsOfLineEd", AppOptionType::Integer, &TAppOptions::ColsOfLineEd, kColsOfLineEdRange},
    }};
    return fields;
}

const Field& FindField(std::string_view key) {
    for (const Field& field : Fields()) {
        if (field.key == key) {
            return field;
        }
    }
    throw Exception("Unknown setting " + std::string(key));
}

[[noreturn]] void BadValue(const Field& field, std::string_view value, const std::string& wanted) {
    throw Exception("Setting " + std::string(field.key) + " needs " + wanted + ", not '" +
                    std::string(value) + "'");
}

bool IsNumber(const Field& field) {
    return field.type == AppOptionType::Integer || field.type == AppOptionType::ViewStyle;
}

// A decimal integer within the field's range.
int32_t NumberOf(const Field& field, std::string_view value) {
    int number = 0;
    if (!TryStrToInt(value, number)) {
        BadValue(field, value, "a decimal integer");
    }
    if (!field.range.Holds(number)) {
        BadValue(field, value,
                 "a number from " + IntToStr(field.range.min) + " to " + IntToStr(field.range.max));
    }
    return number;
}

}  // namespace

const std::array<std::string_view, kAppOptionCount>& AppOptionKeys() {
    static const std::array<std::string_view, kAppOptionCount> keys = [] {
        std::array<std::string_view, kAppOptionCount> names{};
        for (size_t i = 0; i < kAppOptionCount; ++i) {
            names[i] = Fields()[i].key;
        }
        return names;
    }();
    return keys;
}

AppOptionType AppOptionTypeOf(std::string_view key) { return FindField(key).type; }

TSettingRange AppOptionRange(std::string_view key) {
    const Field& field = FindField(key);
    if (!IsNumber(field)) {
        throw Exception("Setting " + std::string(key) + " is not a number");
    }
    return field.range;
}

std::string GetAppOption(const TAppOptions& options, std::string_view key) {
    const Field& field = FindField(key);
    switch (field.type) {
        case AppOptionType::Text:
            return options.*std::get<std::string TAppOptions::*>(field.member);
        case AppOptionType::Boolean:
            return options.*std::get<bool TAppOptions::*>(field.member) ? "1" : "0";
        case AppOptionType::Integer:
            return IntToStr(options.*std::get<int32_t TAppOptions::*>(field.member));
        case AppOptionType::ViewStyle:
            return IntToStr(options.*std::get<uint8_t TAppOptions::*>(field.member));
    }
    return {};
}

void SetAppOption(TAppOptions& options, std::string_view key, std::string_view value) {
    const Field& field = FindField(key);
    switch (field.type) {
        case AppOptionType::Text:
            try {
                // Checked now so that a text the settings file cannot hold is
                // refused here rather than when the file is written.
                Utf8ToGbk(value);
            } catch (const ECodecError&) {
                BadValue(field, value, "text that the GBK code page can hold");
            }
            options.*std::get<std::string TAppOptions::*>(field.member) = std::string(value);
            return;
        case AppOptionType::Boolean:
            if (value != "0" && value != "1") {
                BadValue(field, value, "0 or 1");
            }
            options.*std::get<bool TAppOptions::*>(field.member) = value == "1";
            return;
        case AppOptionType::Integer:
            options.*std::get<int32_t TAppOptions::*>(field.member) = NumberOf(field, value);
            return;
        case AppOptionType::ViewStyle:
            options.*std::get<uint8_t TAppOptions::*>(field.member) =
                static_cast<uint8_t>(NumberOf(field, value));
            return;
    }
}

std::string DescribeAppOptions(const TAppOptions& o) {
    std::string text = "程序选项设置：\r\n显示每步的结果:";
    text += YesNoText(o.DetailEveryChk);
    text += std::string(";显示最后一步的结果:") + YesNoText(o.DetailLastChk);
    text += std::string(";更后自动计算:") + YesNoText(o.AutoCalcChk);
    text += ";每行输出" + std::to_string(o.ColsOfLineEd) + "个号码";
    text += std::string(";输出方案的设置:") + YesNoText(o.OutPutPrjOptChk);
    text += std::string(";输出选项的设置:") + YesNoText(o.OutPutAppOptChk);
    text += std::string(";自动核对中奖:") + YesNoText(o.AutoVerifyChk);
    text += "。";
    return text;
}

}  // namespace tovarin
