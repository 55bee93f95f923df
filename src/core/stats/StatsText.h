#pragma once

#include <string>
#include <vector>

#include "core/stats/HistoryStats.h"

namespace tovarin {

// The dimension's name as tabs and headings show it: 头数, 尾数, 头尾合 (the
// word of the condition kind that tests it, not the draw table's 合 of four
// digits), 头尾码.
const char* DimName(TStatDim dim);
// The six column titles of a dimension's table, the dimension's name first.
std::vector<std::string> StatsColumnTitles(TStatDim dim);
// One item's row as the table shows it; counts grouped ("1,234"), expected
// and average with two decimals.
std::vector<std::string> StatsCells(TStatDim dim, const TItemStats& item);
// "第3期至第102期，共100期", or "没有开奖号码" for an empty window.
std::string WindowCaption(const THistoryStats& stats);

// The four tables as a spreadsheet reads them: UTF-8 with a byte order mark,
// CR LF line ends, each table after a title line of its name and window and
// followed by an empty line; numbers in plain digits.
std::string StatsCsv(const THistoryStats& stats);

// The four tables as report lines, columns padded for a fixed-width font in
// which a Chinese character takes two places.
std::vector<std::string> StatsReportLines(const THistoryStats& stats);

}  // namespace tovarin
