#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// The draws of a JSON answer as lines the table importer reads. The draws
// are the first list (at any depth; the first to close when lists nest)
// of objects of which at least one holds a label field and a numbers
// field:
//   label    lotteryDrawNum, issue, expect, code, period, 期号
//   numbers  lotteryDrawResult, opencode, openCode, result, numbers, red, 开奖号码
//   date     lotteryDrawTime, date, opentime, openTime, 开奖日期
// (an earlier name wins when an object holds two). Each object of the list
// that holds a label or numbers gives one line "label date numbers": the
// numbers, a text or a list, separated by one blank wherever the source
// separated them by blanks, commas, "+" or "|" (so "3,5,8,1,2,9,14" stays
// seven numbers); the date cut to the day (no weekday, no time) or left
// out. An object whose label is not a period number (1 to 9 digits, or
// 第…期) gives a line without digits, which the importer reports as having
// no period. text is UTF-8. EReadError "答案不是开奖数据：…" for text that
// is not JSON, ENoDrawList for JSON without such a list.
std::string JsonDrawLines(std::string_view text);

}  // namespace tovarin
