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

bool IsDate(std::string_view text) { return TDrawDate::SplitText(text).has_value(); }

// A period: a whole number of 1 to 9 digits, also written 第2026001期.
std::optional<TLabel> ParsePeriod(std::string_view text) {
    if (text.starts_with("第") && text.ends_with("期") && text.size() > 6) {
        text = text.substr(3, text.size() - 6);
    }
    return TLabel::Parse(text);
}

// Gives the draw the date a line wrote, if any; false with the reason for
// a day the calendar does not have.
bool TakeDate(std::string_view text, TTableDraw& out, std::string& reason) {
    out.SetDate(text);
    if (text.empty()) {
        return true;
    }
    const std::optional<TDrawDate> date = TDrawDate::Parse(text);
    if (!date) {
        reason = "开奖日期“" + std::string(text) + "”不存在";
        return false;
    }
    out.Draw.SetDate(*date);
    return true;
}

void SetDigits(TSeq& draw, std::string_view digits) {
    for (size_t pos = 0; pos < digits.size(); ++pos) {
        draw.SetNum(static_cast<int>(pos), digits[pos] - '0');
    }
}

// A number written in a field of its own: "3", "03" or "14".
bool IsNumberField(const Field& field) {
    return (field.Text.size() == 1 || field.Text.size() == 2) && AllDigits(field.Text);
}

int NumberOf(const Field& field) {
    return field.Text.size() == 1 ? field.Text[0] - '0'
                                  : (field.Text[0] - '0') * 10 + (field.Text[1] - '0');
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

std::string CountReason(size_t count, TGame game) {
    const auto wanted = static_cast<size_t>(NumberCount(game));
    if (count < wanted) {
        return "只有" + std::to_string(count) + "个数字";
    }
    return "有" + std::to_string(count) + "个数字，多于" + std::to_string(wanted) + "个";
}

// Digits written one a field and broken off by a field that is no digit
// ("3 5 x 1 2 9 0"): with more one-digit fields after it, that field is a
// stray character among the digits, not the end of a short draw. The reason
// quotes the digits as the line wrote them; empty when it is no such case.
std::string StrayCharacterReason(const std::vector<Field>& fields, size_t first, size_t stray,
                                 size_t wanted) {
    if (stray + 1 >= fields.size()) {
        return {};
    }
    size_t last = stray + 1;
    while (last + 1 < fields.size() && last + 1 < first + wanted &&
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

// Reads the game's numbers from fields of one number each, from field i:
// one-digit fields, and two-digit ones ("03", 七星彩's "14") where the
// game has a number. A two-digit field after the last number ends them,
// as any other field does.
LineKind ReadNumberFields(const std::vector<Field>& fields, size_t i, TSeq& draw,
                          std::string& reason, TGame game) {
    const auto wanted = static_cast<size_t>(NumberCount(game));
    const size_t start = i;
    size_t count = 0;
    for (; i + count < fields.size(); ++count) {
        const Field& field = fields[i + count];
        if (!IsNumberField(field) || (field.Text.size() == 2 && count >= wanted)) {
            break;
        }
        if (count < wanted) {
            const int value = NumberOf(field);
            reason = NumberMisfit(game, static_cast<int>(count), value);
            if (!reason.empty()) {
                return LineKind::Skipped;
            }
            draw.SetNum(static_cast<int>(count), value);
        }
    }
    if (count != wanted) {
        reason = count < wanted ? StrayCharacterReason(fields, start, start + count, wanted) : "";
        if (reason.empty()) {
            reason = CountReason(count, game);
        }
        return LineKind::Skipped;
    }
    return LineKind::Draw;
}

// The numbers of a quoted field: "1,2,3,4,5,6,14" or "1 2 3 4 5 6 14" as
// fields of one number each; a run of digits ("3581290") or digits mixed
// with separators otherwise, as the digits in it.
LineKind ReadQuotedNumbers(std::string_view text, TSeq& draw, std::string& reason, TGame game) {
    std::vector<Field> parts;
    SplitFields(text, parts);
    if (parts.size() > 1 && std::all_of(parts.begin(), parts.end(), IsNumberField)) {
        return ReadNumberFields(parts, 0, draw, reason, game);
    }
    std::string digits;
    CollectDigits(text, digits);
    if (digits.size() != static_cast<size_t>(NumberCount(game))) {
        reason = CountReason(digits.size(), game);
        return LineKind::Skipped;
    }
    SetDigits(draw, digits);
    return LineKind::Draw;
}

// Reads the numbers that start at field i: one field of the game's count of
// digit characters, or a field for each number.
LineKind ReadDigits(const std::vector<Field>& fields, size_t i, TSeq& draw, std::string& reason,
                    TGame game) {
    if (i == fields.size()) {
        reason = "期号后面没有开奖号码";
        return LineKind::Skipped;
    }
    const Field& first = fields[i];
    if (IsNumberField(first)) {
        return ReadNumberFields(fields, i, draw, reason, game);
    }
    if (AllDigits(first.Text)) {
        if (first.Text.size() != static_cast<size_t>(NumberCount(game))) {
            reason = CountReason(first.Text.size(), game);
            return LineKind::Skipped;
        }
        SetDigits(draw, first.Text);
        return LineKind::Draw;
    }
    std::string digits;
    if (first.Quoted && CollectDigits(first.Text, digits)) {
        return ReadQuotedNumbers(first.Text, draw, reason, game);
    }
    reason = "开奖号码“" + std::string(first.Text) + "”里有数字以外的字符";
    return LineKind::Skipped;
}

// The program's own exports: a line of exactly the game's numbers, as one
// field of digits or a field each, after an empty period field and a date
// in the table export.
bool ReadBareDigits(const std::vector<Field>& fields, TTableDraw& out, std::string_view& date,
                    TGame game) {
    size_t first = 0;
    while (first < fields.size() && fields[first].Text.empty()) {
        ++first;
    }
    date = {};
    if (first < fields.size() && IsDate(fields[first].Text)) {
        date = fields[first].Text;
        ++first;
    }
    const size_t count = fields.size() - first;
    const auto wanted = static_cast<size_t>(NumberCount(game));
    if (count == 1 && fields[first].Text.size() == wanted && AllDigits(fields[first].Text)) {
        SetDigits(out.Draw, fields[first].Text);
        return true;
    }
    if (count != wanted) {
        return false;
    }
    std::string reason;
    if (ReadNumberFields(fields, first, out.Draw, reason, game) == LineKind::Draw) {
        return true;
    }
    out.Draw = TSeq();
    return false;
}

LineKind ReadLine(const std::vector<Field>& fields, TTableDraw& out, std::string& reason,
                  TGame game) {
    out.Draw = TSeq();
    std::string_view date;
    if (ReadBareDigits(fields, out, date, game)) {
        out.HasPeriod = false;
        return TakeDate(date, out, reason) ? LineKind::Draw : LineKind::Skipped;
    }
    size_t periodField = fields.size();
    TLabel label;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (const std::optional<TLabel> period = ParsePeriod(fields[i].Text)) {
            label = *period;
            periodField = i;
            break;
        }
    }
    if (periodField == fields.size()) {
        reason = "没有期号";
        return LineKind::NoPeriod;
    }
    out.HasPeriod = true;
    out.Period = static_cast<int>(label.Value());
    out.Draw.SetLabel(label);
    date = {};
    for (size_t i = 0; i < periodField && date.empty(); ++i) {
        if (IsDate(fields[i].Text)) {
            date = fields[i].Text;
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
            if (date.empty()) {
                date = text;
            }
        }
    }
    const LineKind kind = ReadDigits(fields, digitsField, out.Draw, reason, game);
    if (kind == LineKind::Draw && !TakeDate(date, out, reason)) {
        return LineKind::Skipped;
    }
    return kind;
}

// Four bits a number, so that 七星彩's last number up to 14 keeps keys apart.
int DrawKey(const TSeq& draw) {
    int key = 0;
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        key = key * 16 + draw.GetNum(pos);
    }
    return key;
}

// Where a draw stands among the file's: by its label, or in file order
// in a file without periods.
int64_t OrderOf(const TTableDraw& draw) {
    return draw.HasPeriod ? LabelOrder(draw.Draw.GetLabel()) : draw.Period;
}

// Web sites list the newest draw first, spreadsheets the oldest: both
// orders cost a pass, anything else a sort. The sort is stable so that the
// first of two lines of one period stays first.
void SortByPeriod(std::vector<TTableDraw>& draws) {
    auto before = [](const TTableDraw& a, const TTableDraw& b) { return OrderOf(a) < OrderOf(b); };
    if (std::is_sorted(draws.begin(), draws.end(), before)) {
        return;
    }
    auto after = [](const TTableDraw& a, const TTableDraw& b) { return OrderOf(a) > OrderOf(b); };
    const auto notNewer = [](const TTableDraw& a, const TTableDraw& b) {
        return OrderOf(a) <= OrderOf(b);
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
                return OrderOf(draw) != OrderOf(*first);
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
        if (kept > 0 && OrderOf(draws[kept - 1]) == OrderOf(draws[i])) {
            const TTableDraw& first = draws[kept - 1];
            if (!SameDigits(first.Draw, draws[i].Draw) && read.ConflictsTotal++ < MaxListedLines) {
                read.Conflicts.push_back({first.Period, std::min(first.Line, draws[i].Line),
                                          std::max(first.Line, draws[i].Line),
                                          first.Draw.GetLabel()});
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

// In a file where some lines have periods, a line without one cannot be
// placed among them: it is reported instead of imported.
void ReportDrawsWithoutPeriod(TTableRead& read) {
    std::vector<TTableDraw>& draws = read.Draws;
    const bool numbered = std::any_of(draws.begin(), draws.end(),
                                      [](const TTableDraw& draw) { return draw.HasPeriod; });
    if (!numbered || std::all_of(draws.begin(), draws.end(),
                                 [](const TTableDraw& draw) { return draw.HasPeriod; })) {
        return;
    }
    for (const TTableDraw& draw : draws) {
        if (!draw.HasPeriod) {
            read.Skipped.push_back({draw.Line, "没有期号"});
        }
    }
    std::erase_if(draws, [](const TTableDraw& draw) { return !draw.HasPeriod; });
    std::stable_sort(read.Skipped.begin(), read.Skipped.end(),
                     [](const TSkippedLine& a, const TSkippedLine& b) { return a.Line < b.Line; });
}

}  // namespace

void TTableDraw::SetDate(std::string_view text) {
    // IsDate admits nothing longer.
    dateLength_ = static_cast<uint8_t>(std::min(text.size(), MaxDateBytes));
    std::copy_n(text.begin(), dateLength_, date_.begin());
}

TTableRead ReadDrawTable(std::string_view bytes, TGame game) {
    std::string converted;
    std::string_view text;
    try {
        text = TextFileAsUtf8(bytes, converted);
    } catch (const ECodecError& error) {
        throw EImportError(std::string("文件的编码无法识别（应为UTF-8、UTF-16或GB18030）：") +
                           error.what());
    }
    TTableRead read;
    read.Game = game;
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
        const LineKind kind = ReadLine(fields, draw, reason, game);
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
    ReportDrawsWithoutPeriod(read);
    SortByPeriod(read.Draws);
    DropDuplicates(read);
    return read;
}

TTableRead ReadDrawTableFile(const std::string& path, TGame game) {
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
    return ReadDrawTable(bytes, game);
}

std::string SkippedText(const TSkippedLine& skipped) {
    return "第" + std::to_string(skipped.Line) + "行：" + skipped.Reason;
}

std::string ConflictText(const TDrawConflict& conflict) {
    const std::string period =
        conflict.Label.Empty() ? std::to_string(conflict.Period) : conflict.Label.Text();
    return "第" + std::to_string(conflict.FirstLine) + "行和第" +
           std::to_string(conflict.SecondLine) + "行：第" + period + "期的号码不同";
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

TImportPlan PlanImport(const std::vector<TSeq>& table, const TTableRead& read, TImportMode mode) {
    const std::vector<TTableDraw>& draws = read.Draws;
    TImportPlan plan;
    plan.Mode = mode;
    TLabel last;
    if (mode == TImportMode::Replace) {
        plan.Start = 0;
    } else if (!table.empty() && !table.back().GetLabel().Empty() && !draws.empty() &&
               draws.front().HasPeriod) {
        plan.ByLabel = true;
        last = table.back().GetLabel();
        const int64_t lastOrder = LabelOrder(last);
        const auto after = std::partition_point(
            draws.begin(), draws.end(),
            [lastOrder](const TTableDraw& draw) { return OrderOf(draw) <= lastOrder; });
        plan.Start = static_cast<size_t>(after - draws.begin());
        if (*plan.Start > 0) {
            const TLabelIndex index(table);
            for (auto draw = draws.begin(); draw != after; ++draw) {
                const std::optional<int> row = index.Find(draw->Draw.GetLabel());
                const TSeq* held = row ? &table[static_cast<size_t>(*row)] : nullptr;
                if (held != nullptr && !SameDigits(*held, draw->Draw)) {
                    plan.Conflicts.push_back(
                        {draw->Draw.GetLabel(), *held, draw->Draw, draw->Line});
                }
            }
        }
    } else {
        plan.Start = FindAppendStart(table, draws);
    }
    if (plan.Start) {
        // Listed in the spelling the added draws will have.
        const TLabel model = last;
        for (size_t i = *plan.Start; i < draws.size(); ++i) {
            const TLabel label = InSpellingOf(draws[i].Draw.GetLabel(), model);
            AddGaps(last, label, plan.Gaps);
            last = label;
        }
    }
    return plan;
}

std::vector<TSeq> ImportedRows(const std::vector<TSeq>& table, const TTableRead& read,
                               TImportMode mode, bool allowGaps) {
    if (!read.Conflicts.empty()) {
        throw EImportError(ConflictsText());
    }
    if (read.Draws.empty()) {
        throw EImportError(NoDrawsText());
    }
    const TImportPlan plan = PlanImport(table, read, mode);
    if (!plan.Start) {
        throw EImportError(NoAppendMatchText(static_cast<int>(table.size())));
    }
    if (!plan.Conflicts.empty()) {
        throw EImportError(LabelConflictsText());
    }
    if (!allowGaps && !plan.Gaps.Empty()) {
        throw EImportError(GapsText(plan.Gaps));
    }
    const size_t from = *plan.Start;
    const size_t kept = mode == TImportMode::Append ? table.size() : 0;
    CheckDrawCount(kept + read.Draws.size() - from);
    std::vector<TSeq> rows;
    if (mode == TImportMode::Append) {
        rows.reserve(table.size() + read.Draws.size() - from);
        rows.assign(table.begin(), table.end());
    } else {
        rows.reserve(read.Draws.size());
    }
    // Appended draws take the spelling of the table's labels.
    const TLabel model = plan.ByLabel ? table.back().GetLabel() : TLabel();
    for (size_t i = from; i < read.Draws.size(); ++i) {
        rows.push_back(read.Draws[i].Draw);
        rows.back().Selected = false;
        if (plan.ByLabel) {
            rows.back().SetLabel(InSpellingOf(rows.back().GetLabel(), model));
        }
    }
    return rows;
}

std::string NoDrawsText() { return "文件里没有可以导入的开奖号码。"; }

std::string ConflictsText() { return "文件里同一期有不同的开奖号码，请先改正文件再导入。"; }

std::string NoAppendMatchText(int tableRows) {
    return "无法追加：文件里找不到与码表最后" + std::to_string(std::min(3, tableRows)) +
           "期相同的连续开奖号码，只能替换整个码表。";
}

std::string LabelConflictsText() {
    return "文件里有些期码表里也有，但开奖号码不同，请先改正文件或码表再导入。";
}

std::string GapsText(const TLabelGaps& gaps) {
    std::string text = "开奖数据缺少" + std::to_string(gaps.Total) + "期：";
    for (const TLabel label : gaps.Listed) {
        text += "\n" + MissingLabelText(label);
    }
    if (gaps.Total > gaps.Listed.size()) {
        text += "\n……另有" + std::to_string(gaps.Total - gaps.Listed.size()) + "期未列出";
    }
    return text;
}

std::string LabelConflictText(const TLabelConflict& conflict, TGame game) {
    return "第" + conflict.Label.Text() + "期：码表里是" + NumbersText(conflict.TableDraw, game) +
           "，文件第" + std::to_string(conflict.Line) + "行是" +
           NumbersText(conflict.FileDraw, game);
}

std::string ImportDoneText(TImportMode mode, int added, int newestPeriod, TLabel newestLabel) {
    const std::string newest =
        newestLabel.Empty() ? "第" + std::to_string(newestPeriod) : newestLabel.Text();
    return std::string(mode == TImportMode::Append ? "追加了" : "导入了") + std::to_string(added) +
           "期，最新一期为" + newest + "期";
}

}  // namespace tovarin
