#include "core/stats/StatsText.h"

#include <algorithm>
#include <cstdio>

#include "core/base/Text.h"

namespace tovarin {
namespace {

constexpr const char* kCsvBom = "\xEF\xBB\xBF";
constexpr int kReportColumnWidth = 10;

std::string TwoDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// Places the text takes in a fixed-width font: a UTF-8 sequence of three or
// more bytes (the Chinese characters) takes two, anything else one.
int DisplayWidth(const std::string& text) {
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        width += length >= 3 ? 2 : 1;
        i += length;
    }
    return width;
}

std::string PaddedRow(const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& cell : cells) {
        line += cell;
        line.append(static_cast<size_t>(std::max(1, kReportColumnWidth - DisplayWidth(cell))), ' ');
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

std::string CsvRow(const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& cell : cells) {
        if (!line.empty()) {
            line += ',';
        }
        line += cell;
    }
    return line + "\r\n";
}

std::string TableTitle(TStatDim dim, const THistoryStats& stats) {
    return std::string(DimName(dim)) + "统计（" + WindowCaption(stats) + "）";
}

}  // namespace

const char* DimName(TStatDim dim) {
    switch (dim) {
        case TStatDim::Head:
            return "头数";
        case TStatDim::Tail:
            return "尾数";
        case TStatDim::Sum:
            return "合值";
        case TStatDim::Code:
            return "头尾码";
    }
    return "";
}

std::vector<std::string> StatsColumnTitles(TStatDim dim) {
    return {DimName(dim), "出现次数", "理论次数", "当前遗漏", "最大遗漏", "平均遗漏"};
}

std::vector<std::string> StatsCells(TStatDim dim, const TItemStats& item) {
    return {ItemText(dim, item.Item), IntToStr(item.Hits), TwoDecimals(item.Expected),
            IntToStr(item.Current),   IntToStr(item.Max),  TwoDecimals(item.Average)};
}

std::string WindowCaption(const THistoryStats& stats) {
    if (stats.Window.Count == 0) {
        return "没有开奖号码";
    }
    return "第" + IntToStr(stats.FromPeriod) + "期至第" + IntToStr(stats.ToPeriod) + "期，共" +
           IntToStr(stats.Window.Count) + "期";
}

std::string StatsCsv(const THistoryStats& stats) {
    std::string csv = kCsvBom;
    for (const TStatDim dim : kStatDims) {
        // The title holds a comma of its own only as the full-width "，".
        csv += TableTitle(dim, stats) + "\r\n";
        csv += CsvRow(StatsColumnTitles(dim));
        for (const TItemStats& item : stats.Of(dim)) {
            csv += CsvRow(StatsCells(dim, item));
        }
        csv += "\r\n";
    }
    return csv;
}

std::vector<std::string> StatsReportLines(const THistoryStats& stats) {
    std::vector<std::string> lines;
    for (const TStatDim dim : kStatDims) {
        lines.push_back(TableTitle(dim, stats));
        lines.push_back(PaddedRow(StatsColumnTitles(dim)));
        for (const TItemStats& item : stats.Of(dim)) {
            lines.push_back(PaddedRow(StatsCells(dim, item)));
        }
        lines.emplace_back();
    }
    lines.pop_back();
    return lines;
}

}  // namespace tovarin
