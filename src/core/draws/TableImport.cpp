#include "core/draws/TableImport.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

struct Field {
    std::string_view Text;
    bool Quoted = false;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHardSeparator(char c) { return c == ',' || c == '\t' || c == ';'; }
bool IsBlank(char c) { return c == ' '; }

// The characters that end an unquoted field, looked up rather than
// compared: the split runs over every byte of a file of a million lines.
constexpr std::array<bool, 256> FieldEnds = [] {
    std::array<bool, 256> ends{};
    for (const unsigned char c : {',', '\t', ';', ' '}) {
        ends[c] = true;
    }
    return ends;
}();

bool EndsField(char c) { return FieldEnds[static_cast<unsigned char>(c)]; }

// The first CR or LF at or after p, eight bytes a step: a byte is one of
// the two when its XOR with it is zero.
const char* FindLineEnd(const char* p, const char* end) {
    constexpr uint64_t Ones = 0x0101010101010101ULL;
    constexpr uint64_t Highs = 0x8080808080808080ULL;
    while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const uint64_t lf = word ^ (Ones * '\n');
        const uint64_t cr = word ^ (Ones * '\r');
        if ((((lf - Ones) & ~lf) | ((cr - Ones) & ~cr)) & Highs) {
            break;
        }
        p += 8;
    }
    while (p < end && *p != '\n' && *p != '\r') {
        ++p;
    }
    return p;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool HasDigit(std::string_view text) { return std::any_of(text.begin(), text.end(), IsDigit); }

// Fields are separated by one comma, tab or semicolon, or by a run of
// blanks; blanks around a field are not part of it. A field in double
// quotes may hold separators and loses its quotes (a doubled quote inside
// stays doubled: no field the reader cares about holds one).
void SplitFields(std::string_view line, std::vector<Field>& fields) {
    fields.clear();
    size_t pos = 0;
    const size_t end = line.size();
    auto skipBlanks = [&] {
        while (pos < end && IsBlank(line[pos])) {
            ++pos;
        }
    };
    skipBlanks();
    while (pos < end) {
        Field field;
        if (line[pos] == '"') {
            const size_t open = ++pos;
            while (pos < end && !(line[pos] == '"' && (pos + 1 >= end || line[pos + 1] != '"'))) {
                pos += line[pos] == '"' ? 2 : 1;
            }
            field.Text = line.substr(open, std::min(pos, end) - open);
            field.Quoted = true;
            pos = std::min(pos + 1, end);
        } else {
            const size_t start = pos;
            while (pos < end && !EndsField(line[pos])) {
                ++pos;
            }
            field.Text = line.substr(start, pos - start);
        }
        fields.push_back(field);
        skipBlanks();
        if (pos < end && IsHardSeparator(line[pos])) {
            ++pos;
            skipBlanks();
        }
    }
}

// 2026-12-07, 2026/12/07, 2026.12.07 (one kind of separator) or 2026年12月7日.
bool IsDate(std::string_view text) {
    auto number = [&text](size_t& pos, size_t minDigits, size_t maxDigits) {
        const size_t start = pos;
        while (pos < text.size() && IsDigit(text[pos]) && pos - start < maxDigits) {
            ++pos;
        }
        return pos - start >= minDigits;
    };
    auto word = [&text](size_t& pos, std::string_view expected) {
        if (text.substr(pos, expected.size()) != expected) {
            return false;
        }
        pos += expected.size();
        return true;
    };
    size_t pos = 0;
    if (!number(pos, 4, 4) || pos >= text.size()) {
        return false;
    }
    const char sep = text[pos];
    if (sep == '-' || sep == '/' || sep == '.') {
        ++pos;
        return number(pos, 1, 2) && pos < text.size() && text[pos++] == sep && number(pos, 1, 2) &&
               pos == text.size();
    }
    return word(pos, "年") && number(pos, 1, 2) && word(pos, "月") && number(pos, 1, 2) &&
           word(pos, "日") && pos == text.size();
}

// A period: a whole number of 1 to 9 digits, also written 第2026001期.
bool ParsePeriod(std::string_view text, int& period) {
    if (text.starts_with("第") && text.ends_with("期") && text.size() > 6) {
        text = text.substr(3, text.size() - 6);
    }
    if (text.size() > 9 || !AllDigits(text)) {
        return false;
    }
    period = 0;
    for (const char c : text) {
        period = period * 10 + (c - '0');
    }
    return true;
}

void SetDigits(TSeq& draw, std::string_view digits) {
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        draw.SetNum(pos, digits[static_cast<size_t>(pos)] - '0');
    }
}

// The digits of a quoted field such as "1,2,3,4,5,6,7" or "1 2 3 4 5 6 7";
// false when it holds anything but digits, commas and blanks.
bool CollectDigits(std::string_view text, std::string& digits) {
    digits.clear();
    for (const char c : text) {
        if (IsDigit(c)) {
            digits += c;
        } else if (c != ',' && !IsBlank(c)) {
            return false;
        }
    }
    return true;
}

std::string CountReason(size_t count) {
    if (count < TSeq::DigitCount) {
        return "只有" + std::to_string(count) + "个数字";
    }
    return "有" + std::to_string(count) + "个数字，多于7个";
}

// Digits written one a field and broken off by a field that is no digit
// ("3 5 x 1 2 9 0"): with more one-digit fields after it, that field is a
// stray character among the digits, not the end of a short draw. The reason
// quotes the digits as the line wrote them; empty when it is no such case.
std::string StrayCharacterReason(const std::vector<Field>& fields, size_t first, size_t stray) {
    if (stray + 1 >= fields.size()) {
        return {};
    }
    size_t last = stray + 1;
    while (last + 1 < fields.size() && last + 1 < first + TSeq::DigitCount &&
           fields[last + 1].Text.size() == 1) {
        ++last;
    }
    const Field& after = fields[stray + 1];
    if (after.Text.size() != 1 || !IsDigit(after.Text[0])) {
        return {};
    }
    const char* start = fields[first].Text.data();
    const char* end = fields[last].Text.data() + fields[last].Text.size();
    return "开奖号码“" + std::string(start, end) + "”里有数字以外的字符";
}

enum class LineKind { Silent, Draw, Skipped, NoPeriod };

// Reads the digits that start at field i: one field of seven digit
// characters or seven fields of one digit each.
LineKind ReadDigits(const std::vector<Field>& fields, size_t i, TSeq& draw, std::string& reason) {
    if (i == fields.size()) {
        reason = "期号后面没有开奖号码";
        return LineKind::Skipped;
    }
    const Field& first = fields[i];
    if (first.Text.size() == 1) {
        size_t count = 0;
        while (i + count < fields.size() && fields[i + count].Text.size() == 1 &&
               IsDigit(fields[i + count].Text[0])) {
            ++count;
        }
        if (count != TSeq::DigitCount) {
            reason = count < TSeq::DigitCount ? StrayCharacterReason(fields, i, i + count) : "";
            if (reason.empty()) {
                reason = CountReason(count);
            }
            return LineKind::Skipped;
        }
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            draw.SetNum(pos, fields[i + static_cast<size_t>(pos)].Text[0] - '0');
        }
        return LineKind::Draw;
    }
    if (AllDigits(first.Text)) {
        if (first.Text.size() != TSeq::DigitCount) {
            reason = CountReason(first.Text.size());
            return LineKind::Skipped;
        }
        SetDigits(draw, first.Text);
        return LineKind::Draw;
    }
    std::string digits;
    if (first.Quoted && CollectDigits(first.Text, digits)) {
        if (digits.size() != TSeq::DigitCount) {
            reason = CountReason(digits.size());
            return LineKind::Skipped;
        }
        SetDigits(draw, digits);
        return LineKind::Draw;
    }
    reason = "开奖号码“" + std::string(first.Text) + "”里有数字以外的字符";
    return LineKind::Skipped;
}

// The program's own export: a line of exactly seven digits, as one field
// or seven.
bool ReadBareDigits(const std::vector<Field>& fields, TSeq& draw) {
    if (fields.size() == 1 && fields[0].Text.size() == TSeq::DigitCount &&
        AllDigits(fields[0].Text)) {
        SetDigits(draw, fields[0].Text);
        return true;
    }
    if (fields.size() != TSeq::DigitCount) {
        return false;
    }
    for (const Field& field : fields) {
        if (field.Text.size() != 1 || !IsDigit(field.Text[0])) {
            return false;
        }
    }
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        draw.SetNum(pos, fields[static_cast<size_t>(pos)].Text[0] - '0');
    }
    return true;
}

LineKind ReadLine(const std::vector<Field>& fields, TTableDraw& out, std::string& reason) {
    if (ReadBareDigits(fields, out.Draw)) {
        out.HasPeriod = false;
        out.SetDate({});
        return LineKind::Draw;
    }
    size_t periodField = fields.size();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (ParsePeriod(fields[i].Text, out.Period)) {
            periodField = i;
            break;
        }
    }
    if (periodField == fields.size()) {
        reason = "没有期号";
        return LineKind::NoPeriod;
    }
    out.HasPeriod = true;
    out.SetDate({});
    for (size_t i = 0; i < periodField && out.Date().empty(); ++i) {
        if (IsDate(fields[i].Text)) {
            out.SetDate(fields[i].Text);
        }
    }
    // Between the period and the digits: dates and words (a weekday).
    size_t digitsField = periodField + 1;
    for (; digitsField < fields.size(); ++digitsField) {
        const std::string_view text = fields[digitsField].Text;
        if (HasDigit(text)) {
            if (!IsDate(text)) {
                break;
            }
            if (out.Date().empty()) {
                out.SetDate(text);
            }
        }
    }
    return ReadDigits(fields, digitsField, out.Draw, reason);
}

bool SameDigits(const TSeq& a, const TSeq& b) {
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        if (a.GetNum(pos) != b.GetNum(pos)) {
            return false;
        }
    }
    return true;
}

int DrawKey(const TSeq& draw) {
    int key = 0;
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        key = key * 10 + draw.GetNum(pos);
    }
    return key;
}

// Web sites list the newest draw first, spreadsheets the oldest: both
// orders cost a pass, anything else a sort. The sort is stable so that the
// first of two lines of one period stays first.
void SortByPeriod(std::vector<TTableDraw>& draws) {
    auto before = [](const TTableDraw& a, const TTableDraw& b) { return a.Period < b.Period; };
    if (std::is_sorted(draws.begin(), draws.end(), before)) {
        return;
    }
    auto after = [](const TTableDraw& a, const TTableDraw& b) { return a.Period > b.Period; };
    const auto notNewer = [](const TTableDraw& a, const TTableDraw& b) {
        return a.Period <= b.Period;
    };
    if (std::adjacent_find(draws.begin(), draws.end(), notNewer) == draws.end()) {
        std::reverse(draws.begin(), draws.end());
        return;
    }
    if (std::is_sorted(draws.begin(), draws.end(), after)) {
        // Lines of one period keep their file order.
        auto first = draws.begin();
        while (first != draws.end()) {
            auto last = std::find_if(first, draws.end(), [&first](const TTableDraw& draw) {
                return draw.Period != first->Period;
            });
            std::reverse(first, last);
            first = last;
        }
        std::reverse(draws.begin(), draws.end());
        return;
    }
    std::stable_sort(draws.begin(), draws.end(), before);
}

// Keeps each period once; a period given different digits is a conflict
// between its first line and each line that disagrees with it.
void DropDuplicates(TTableRead& read) {
    std::vector<TTableDraw>& draws = read.Draws;
    size_t kept = 0;
    for (size_t i = 0; i < draws.size(); ++i) {
        if (kept > 0 && draws[kept - 1].Period == draws[i].Period) {
            const TTableDraw& first = draws[kept - 1];
            if (!SameDigits(first.Draw, draws[i].Draw) && read.ConflictsTotal++ < MaxListedLines) {
                read.Conflicts.push_back({first.Period, std::min(first.Line, draws[i].Line),
                                          std::max(first.Line, draws[i].Line)});
            }
            continue;
        }
        if (kept != i) {
            draws[kept] = draws[i];
        }
        ++kept;
    }
    draws.resize(kept);
}

}  // namespace

void TTableDraw::SetDate(std::string_view text) {
    // IsDate admits nothing longer.
    dateLength_ = static_cast<uint8_t>(std::min(text.size(), MaxDateBytes));
    std::copy_n(text.begin(), dateLength_, date_.begin());
}

TTableRead ReadDrawTable(std::string_view bytes) {
    std::string converted;
    std::string_view text;
    try {
        text = TextFileAsUtf8(bytes, converted);
    } catch (const ECodecError& error) {
        throw EImportError(std::string("文件的编码无法识别（应为UTF-8、UTF-16或GB18030）：") +
                           error.what());
    }
    TTableRead read;
    // Files from web sites and spreadsheets hold at least 16 bytes a line;
    // room for that many draws is taken at once (pages that stay unused
    // cost nothing), a denser file grows the list as usual.
    read.Draws.reserve(text.size() / 16);
    std::vector<Field> fields;
    std::string reason;
    TTableDraw draw;
    int lineNumber = 0;
    int bareCount = 0;
    const char* const end = text.data() + text.size();
    const char* begin = text.data();
    while (begin < end) {
        const char* const stop = FindLineEnd(begin, end);
        ++lineNumber;
        const std::string_view line = Trim({begin, static_cast<size_t>(stop - begin)});
        // CR LF is one line end; a lone CR or LF is one too.
        begin = stop + (stop + 1 < end && stop[0] == '\r' && stop[1] == '\n' ? 2 : 1);

        if (line.empty() || line.front() == ';' || line.starts_with("//")) {
            continue;
        }
        SplitFields(line, fields);
        const LineKind kind = ReadLine(fields, draw, reason);
        if (kind == LineKind::Draw) {
            if (!draw.HasPeriod) {
                draw.Period = ++bareCount;
            }
            draw.Line = lineNumber;
            read.Draws.push_back(draw);
        } else if (kind == LineKind::NoPeriod && read.Draws.empty()) {
            // A header (期号,开奖号码) or a title above the draws.
            continue;
        } else if (read.SkippedTotal++ < MaxListedLines) {
            read.Skipped.push_back({lineNumber, reason});
        }
    }
    SortByPeriod(read.Draws);
    DropDuplicates(read);
    return read;
}

TTableRead ReadDrawTableFile(const std::string& path) {
    if (!FileExists(path)) {
        throw EImportError((PathExists(path) ? "不是普通文件：" : "找不到文件：") + path);
    }
    const auto tooLarge = [&path] {
        return EImportError("文件太大（超过" + std::to_string(MaxTableFileBytes >> 20) +
                            " MB），不能导入：" + path);
    };
    std::string bytes;
    try {
        TFileReader file(path, false);
        if (file.SizeWhenOpened() > MaxTableFileBytes) {
            throw tooLarge();
        }
        bytes = file.ReadUpTo(MaxTableFileBytes + 1);
    } catch (const EInOutError& error) {
        throw EImportError(std::string("无法读取文件：") + error.what());
    }
    // The file grew while it was read.
    if (bytes.size() > MaxTableFileBytes) {
        throw tooLarge();
    }
    return ReadDrawTable(bytes);
}

std::string SkippedText(const TSkippedLine& skipped) {
    return "第" + std::to_string(skipped.Line) + "行：" + skipped.Reason;
}

std::string ConflictText(const TDrawConflict& conflict) {
    return "第" + std::to_string(conflict.FirstLine) + "行和第" +
           std::to_string(conflict.SecondLine) + "行：第" + std::to_string(conflict.Period) +
           "期的号码不同";
}

std::string UnlistedText(size_t count) { return "……另有" + std::to_string(count) + "行未列出"; }

std::optional<size_t> FindAppendStart(const std::vector<TSeq>& table,
                                      const std::vector<TTableDraw>& draws) {
    if (table.empty()) {
        return 0;
    }
    // The table's last draws backwards, a mark, then the file's draws
    // backwards: the Z-value at a file position is how many draws ending
    // there equal the table's last ones, all positions in one linear pass.
    const size_t tail = std::min(table.size(), draws.size());
    std::vector<int> keys;
    keys.reserve(tail + 1 + draws.size());
    for (size_t k = 0; k < tail; ++k) {
        keys.push_back(DrawKey(table[table.size() - 1 - k]));
    }
    keys.push_back(-1);
    for (size_t k = 0; k < draws.size(); ++k) {
        keys.push_back(DrawKey(draws[draws.size() - 1 - k].Draw));
    }
    std::vector<size_t> z(keys.size(), 0);
    size_t left = 0;
    size_t right = 0;
    for (size_t i = 1; i < keys.size(); ++i) {
        if (i < right) {
            z[i] = std::min(right - i, z[i - left]);
        }
        while (i + z[i] < keys.size() && keys[z[i]] == keys[i + z[i]]) {
            ++z[i];
        }
        if (i + z[i] > right) {
            left = i;
            right = i + z[i];
        }
    }
    const size_t needed = std::min<size_t>(3, table.size());
    size_t bestLength = 0;
    std::optional<size_t> start;
    // Backwards in keys is forwards in the file, so the first position
    // of a length is the latest match of it.
    for (size_t i = tail + 1; i < keys.size(); ++i) {
        if (z[i] >= needed && z[i] > bestLength) {
            bestLength = z[i];
            start = draws.size() - (i - tail - 1);
        }
    }
    return start;
}

std::vector<TSeq> ImportedRows(const std::vector<TSeq>& table, const TTableRead& read,
                               TImportMode mode) {
    if (!read.Conflicts.empty()) {
        throw EImportError(ConflictsText());
    }
    if (read.Draws.empty()) {
        throw EImportError(NoDrawsText());
    }
    size_t from = 0;
    size_t kept = 0;
    if (mode == TImportMode::Append) {
        const std::optional<size_t> start = FindAppendStart(table, read.Draws);
        if (!start) {
            throw EImportError(NoAppendMatchText(static_cast<int>(table.size())));
        }
        from = *start;
        kept = table.size();
    }
    CheckDrawCount(kept + read.Draws.size() - from);
    std::vector<TSeq> rows;
    rows.reserve(kept + read.Draws.size() - from);
    rows.assign(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(kept));
    for (size_t i = from; i < read.Draws.size(); ++i) {
        rows.push_back(read.Draws[i].Draw);
        rows.back().Selected = false;
    }
    return rows;
}

std::string NoDrawsText() { return "文件里没有可以导入的开奖号码。"; }

std::string ConflictsText() { return "文件里同一期有不同的开奖号码，请先改正文件再导入。"; }

std::string NoAppendMatchText(int tableRows) {
    return "无法追加：文件里找不到与码表最后" + std::to_string(std::min(3, tableRows)) +
           "期相同的连续开奖号码，只能替换整个码表。";
}

std::string ImportDoneText(TImportMode mode, int added, int newestPeriod) {
    return std::string(mode == TImportMode::Append ? "追加了" : "导入了") + std::to_string(added) +
           "期，最新一期为第" + std::to_string(newestPeriod) + "期";
}

}  // namespace tovarin
