#include "core/sources/AnswerLines.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/base/Errors.h"
#include "core/base/Text.h"
#include "core/sources/AnswerText.h"
#include "core/sources/HtmlRows.h"
#include "core/sources/JsonDraws.h"

namespace tovarin {
namespace {

struct FormatWords {
    TSourceFormat format;
    std::string_view name;
    std::string_view title;
    std::string_view shape;  // what an answer of it is called in an error
};

constexpr std::array<FormatWords, 4> kFormats = {{
    {TSourceFormat::Auto, "auto", "自动", "自动"},
    {TSourceFormat::Table, "table", "文本表格", "文本表格"},
    {TSourceFormat::Json, "json", "JSON", "JSON"},
    {TSourceFormat::Html, "html", "网页表格", "网页"},
}};

const FormatWords& WordsOf(TSourceFormat format) {
    return *std::find_if(kFormats.begin(), kFormats.end(),
                         [format](const FormatWords& words) { return words.format == format; });
}

// The first byte after a UTF-8 mark and blanks; 0 for an empty answer.
char FirstByte(std::string_view body) {
    if (body.starts_with("\xEF\xBB\xBF")) {
        body.remove_prefix(3);
    }
    const auto at = std::find_if(body.begin(), body.end(), [](char c) {
        return c != ' ' && c != '\t' && c != '\r' && c != '\n';
    });
    return at == body.end() ? '\0' : *at;
}

// What an answer looks like by its first byte alone, or nothing.
std::optional<TSourceFormat> ShapeOf(std::string_view body) {
    switch (FirstByte(body)) {
        case '{':
        case '[':
            return TSourceFormat::Json;
        case '<':
            return TSourceFormat::Html;
        default:
            return std::nullopt;
    }
}

[[noreturn]] void WrongShape(TSourceFormat expected, TSourceFormat got,
                             std::string_view contentType) {
    std::string message = "答案不是开奖数据：应为" + std::string(WordsOf(expected).shape) +
                          "，收到的是" + std::string(WordsOf(got).shape);
    if (!contentType.empty()) {
        message += "（" + std::string(contentType) + "）";
    }
    throw EReadError(message);
}

// The answer as UTF-8 in place: a copy only when it was in another encoding.
std::string InUtf8(std::string body, std::string_view charset) {
    std::string converted;
    const std::string_view text = AnswerAsUtf8(body, charset, converted);
    if (!converted.empty() || text.empty()) {
        return std::string(text);
    }
    body.erase(0, static_cast<size_t>(text.data() - body.data()));
    body.resize(text.size());
    return body;
}

}  // namespace

std::string_view FormatTitle(TSourceFormat format) { return WordsOf(format).title; }

std::string_view FormatName(TSourceFormat format) { return WordsOf(format).name; }

std::optional<TSourceFormat> FormatOfName(std::string_view name) {
    for (const FormatWords& words : kFormats) {
        if (words.name == name) {
            return words.format;
        }
    }
    return std::nullopt;
}

TSourceFormat DetectFormat(std::string_view contentType, std::string_view body) {
    if (const std::optional<TSourceFormat> shape = ShapeOf(body)) {
        return *shape;
    }
    const std::string type = AsciiLower(contentType);
    if (type.find("json") != std::string::npos) {
        return TSourceFormat::Json;
    }
    if (type.find("html") != std::string::npos || type.find("xml") != std::string::npos) {
        return TSourceFormat::Html;
    }
    return TSourceFormat::Table;
}

TAnswerLines ReadAnswerLines(std::string body, std::string_view contentType, TSourceFormat format) {
    if (format == TSourceFormat::Auto) {
        format = DetectFormat(contentType, body);
    }
    if (FirstByte(body) == '\0') {
        throw EReadError("答案不是开奖数据：答案是空的");
    }
    const std::optional<TSourceFormat> shape = ShapeOf(body);
    const TSourceFormat seen = shape.value_or(TSourceFormat::Table);
    if (seen != format && (format == TSourceFormat::Json || shape.has_value())) {
        WrongShape(format, seen, contentType);
    }
    TAnswerLines lines;
    lines.Format = format;
    std::string charset = CharsetOfContentType(contentType);
    if (charset.empty() && format == TSourceFormat::Html) {
        charset = CharsetOfMeta(body);
    }
    std::string text = InUtf8(std::move(body), charset);
    switch (format) {
        case TSourceFormat::Json:
            lines.Text = JsonDrawLines(text);
            break;
        case TSourceFormat::Html:
            lines.Text = HtmlTableLines(text);
            break;
        default:
            lines.Text = std::move(text);
            break;
    }
    return lines;
}

}  // namespace tovarin
