#pragma once

#include <string>

namespace tovarin {

class TCodeNet;

// The draw table as a draw-history file that the table import reads back
// to the same table, labels and dates included: UTF-8 with a byte-order
// mark (spreadsheets then read it as UTF-8), the header 期号,开奖日期,开奖号码
// and one line per draw, oldest first, a missing label or date left empty,
// the game's numbers as NumbersText writes them, CR LF line ends. A draw
// without a label in a table where others have one is reported as 没有期号
// when read back (by a reader of the same game).
std::string ExportTableText(const TCodeNet& net);
// Replaces the file atomically.
void ExportTableFile(const TCodeNet& net, const std::string& path);

}  // namespace tovarin
