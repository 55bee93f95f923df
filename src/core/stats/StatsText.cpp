#include "core/stats/StatsText.h"

#include <algorithm>
#include <cstdio>

#include "core/base/Text.h"

namespace tovarin {
namespace {

constexpr const char* kCsvBom = "\xEF\xBB\xBF";
constexpr int kReportColumnWidth = 10;

// How a text writes a count: grouped for people, plain digits in a file for
// spreadsheets, where a comma would split the cell.
using TCountText = std::string (*)(long long);

std::string PlainInt(long long value) { return IntToStr(value); }

std::string TwoDecimals(double value, TCountText count) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    const std::string fixed = text;
    const size_t point = fixed.find('.');
    return count(std::stoll(fixed.substr(0, point))) + fixed.substr(point);
}

std::vector<std::string> CellsOf(TStatDim dim, const TItemStats& item, TCountText count) {
    return {ItemText(dim, item.Item), count(item.Hits), TwoDecimals(item.Expected, count),
            count(item.Current),      count(item.Max),  TwoDecimals(item.Average, count)};
}

std::string CaptionOf(const THistoryStats& stats, TCountText count) {
    if (stats.Window.Count == 0) {
        return "没有开奖号码";
    }
    // Periods are names, not counts: they stay plain.
    return "第" + IntToStr(stats.FromPeriod) + "期至第" + IntToStr(stats.ToPeriod) + "期，共" +
           count(stats.Window.Count) + "期";
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

std::string TableTitle(TStatDim dim, const THistoryStats& stats, TCountText count) {
    return std::string(DimName(dim)) + "统计（" + CaptionOf(stats, count) + "）";
}

}  // namespace

const char* DimName(TStatDim dim) {
    switch (dim) {
        case TStatDim::Head:
            return "头数";
        case TStatDim::Tail:
            return "尾数";
        case TStatDim::Sum:
            return "头尾合";
        case TStatDim::Code:
            return "头尾码";
    }
    return "";
}

std::vector<std::string> StatsColumnTitles(TStatDim dim) {
    return {DimName(dim), "出现次数", "理论次数", "当前遗漏", "最大遗漏", "平均遗漏"};
}

std::vector<std::string> StatsCells(TStatDim dim, const TItemStats& item) {
    return CellsOf(dim, item, &GroupedInt);
}

std::string WindowCaption(const THistoryStats& stats) { return CaptionOf(stats, &GroupedInt); }

std::string StatsCsv(const THistoryStats& stats) {
    std::string csv = kCsvBom;
    for (const TStatDim dim : kStatDims) {
        // The title holds a comma of its own only as the full-width "，".
        csv += TableTitle(dim, stats, &PlainInt) + "\r\n";
        csv += CsvRow(StatsColumnTitles(dim));
        for (const TItemStats& item : stats.Of(dim)) {
            csv += CsvRow(CellsOf(dim, item, &PlainInt));
        }
        csv += "\r\n";
    }
    return csv;
}

std::vector<std::string> StatsReportLines(const THistoryStats& stats) {
    std::vector<std::string> lines;
    for (const TStatDim dim : kStatDims) {
        lines.push_back(TableTitle(dim, stats, &GroupedInt));
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
