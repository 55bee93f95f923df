#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovarin {

// How a source's answers are read.
enum class TSourceFormat { Auto, Table, Json, Html };

// "自动", "文本表格", "JSON", "网页表格", as the player picks them.
std::string_view FormatTitle(TSourceFormat format);
// "auto", "table", "json", "html", as files and the command line write them.
std::string_view FormatName(TSourceFormat format);
std::optional<TSourceFormat> FormatOfName(std::string_view name);

// What an answer of unknown format is, never Auto: by its first bytes
// (after a byte-order mark and blanks: "{" or "[" JSON, "<" a page), and
// when they do not tell, by its content type (…json…, …html… or …xml…);
// anything else a text table.
TSourceFormat DetectFormat(std::string_view contentType, std::string_view body);

// An answer as the lines the table importer reads.
struct TAnswerLines {
    TSourceFormat Format = TSourceFormat::Table;  // never Auto
    std::string Text;                             // UTF-8
};

// Reads an answer in a format (Auto: DetectFormat's). A text table stays
// as it is but in UTF-8; JSON and pages become lines (JsonDrawLines,
// HtmlTableLines), their charset taken from the content type, then for a
// page from its meta tag, then by AnswerAsUtf8's rule. EReadError "答案不是
// 开奖数据：…" for an answer in another shape than the format (an error page
// where JSON was expected) or without draws in it, or in no known encoding.
TAnswerLines ReadAnswerLines(std::string body, std::string_view contentType, TSourceFormat format);

}  // namespace tovarin
