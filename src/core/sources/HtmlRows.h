#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// The rows of a page's tables as lines the table importer reads: each row
// one line, its cells (td, th) separated by tabs. A cell's text is what a
// reader sees: tags inside it part words as a blank does ("<em>1</em><em>4
// </em>" is "1 4"), character references are decoded, blanks collapse; a
// cell holding only a date with a weekday or a time keeps the date
// ("2026-06-13(六)" is "2026-06-13"). Rows of a table inside a cell are
// rows of their own. Scripts, styles and comments are skipped; text
// outside cells is not read. text is UTF-8. ENoDrawList "答案不是开奖数据：
// 网页里没有表格" when no table has a row with text.
std::string HtmlTableLines(std::string_view text);

}  // namespace tovarin
