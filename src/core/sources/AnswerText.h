#pragma once

#include <string>
#include <string_view>

#include "core/base/Errors.h"

namespace tovarin {

// An answer in its format that holds no list of draws (a JSON answer
// without such a list, a page without tables): a source past its last
// page answers so.
class ENoDrawList : public EReadError {
public:
    using EReadError::EReadError;
};

// The charset a Content-Type names ("text/html; charset=GB2312" gives
// "gb2312"), lower case without quotes; empty when it names none.
std::string CharsetOfContentType(std::string_view contentType);
// The charset a page's head names in a meta tag (<meta charset="gbk"> or
// <meta http-equiv="Content-Type" content="text/html; charset=gb2312">),
// looked for in the page's first bytes; empty when none.
std::string CharsetOfMeta(std::string_view page);

// The text of an answer as UTF-8: a byte-order mark decides; then a charset
// of the GB family (gb2312, gbk, gb18030) reads the bytes as GB18030; any
// other or none reads valid UTF-8 as it is and anything else as GB18030.
// Text that is UTF-8 already is not copied: the answer is then a part of
// bytes, otherwise it lies in converted. EReadError "答案的编码无法识别…"
// when the bytes fit no encoding.
std::string_view AnswerAsUtf8(std::string_view bytes, std::string_view charset,
                              std::string& converted);

// A date as sources write it, cut to what the table importer reads:
// "2026-06-13(六)", "2026-06-13 21:15:00", "2026/6/13 星期六" give
// "2026-06-13", "2026-06-13", "2026/6/13". Empty when the text does not
// start with a date (year, month, day separated by one of - / . or written
// with 年月日).
std::string_view LeadingDate(std::string_view text);
// The date of a table cell that holds only a date, perhaps with a weekday
// in brackets and a time after it ("2026-06-13(六) 21:15"); empty for any
// other cell.
std::string_view DateOfCell(std::string_view text);

}  // namespace tovarin
