#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Errors.h"
#include "core/draws/LabelRules.h"
#include "core/draws/LawNet.h"

namespace tovarin {

// An import that cannot go ahead; the message is the one the user sees.
class EImportError : public Exception {
public:
    using Exception::Exception;
};

// One draw of a draw-history file as the file numbered it. Plain bytes
// only, so that a million of them move as one block.
struct TTableDraw {
    static constexpr size_t MaxDateBytes = 17;  // 2026年12月07日

    // The file's period number; lines without one (the program's own export)
    // are numbered 1, 2, 3, ... in file order.
    int Period = 0;
    int Line = 0;  // from 1
    // The digits, with the period as the draw's label (leading zeros kept)
    // and its date when the line had them.
    TSeq Draw;
    bool HasPeriod = false;

    // The date as the file wrote it, empty when the line had none.
    std::string_view Date() const { return {date_.data(), dateLength_}; }
    void SetDate(std::string_view text);

private:
    std::array<char, MaxDateBytes> date_{};
    uint8_t dateLength_ = 0;
};

// A line that looked like data but did not give a draw.
struct TSkippedLine {
    int Line = 0;
    std::string Reason;  // "只有6个数字"
};

// Two lines that give the same period different digits.
struct TDrawConflict {
    int Period = 0;
    int FirstLine = 0;
    int SecondLine = 0;
    TLabel Label;  // the period as the first line wrote it
};

// A draw of the file whose label the table holds with other digits.
struct TLabelConflict {
    TLabel Label;  // as the file wrote it
    TSeq TableDraw;
    TSeq FileDraw;
    int Line = 0;
};

// Lines a person reads one by one; a hostile file of a hundred million bad
// lines is told by its count.
constexpr size_t MaxListedLines = 1000;

// What a draw-history file holds, before anything is changed.
struct TTableRead {
    // Ascending by period, each period once.
    std::vector<TTableDraw> Draws;
    // The first MaxListedLines of each list; the totals count them all.
    std::vector<TSkippedLine> Skipped;
    size_t SkippedTotal = 0;
    std::vector<TDrawConflict> Conflicts;
    size_t ConflictsTotal = 0;
    // The game whose numbers the lines were read as.
    TGame Game = TGame::Seven;
};

enum class TImportMode { Append, Replace };

// Files larger than this are refused before they are read whole.
constexpr size_t MaxTableFileBytes = size_t{128} << 20;

// Reads the text of a draw-history file (CSV, tab-separated or blank-
// separated text from a web site or a spreadsheet, or the program's own
// export) in any of the encodings TextFileAsUtf8 knows. Never changes
// anything and never fails on a line: every line that is neither a draw,
// a comment, a blank line nor a header is reported with its reason. Draws
// are ordered by their labels (LabelOrder), so that the two spellings of a
// period are one period. A line without a period is a draw only in a file
// where no line has one; elsewhere it is reported (没有期号). The numbers
// are the game's: a run of its count of digits, or a field for each number
// (one or two digits, "1 2 3 4 5 6 14"), and a reason in the game's words
// for a number it does not have ("第7个号码是14，七位数每位只能是0-9").
TTableRead ReadDrawTable(std::string_view bytes, TGame game = TGame::Seven);
// The same for a file; EImportError when it is missing, not a regular file,
// unreadable, too large (told by its size, before it is read) or in no
// known encoding.
TTableRead ReadDrawTableFile(const std::string& path, TGame game = TGame::Seven);

// "第12行：只有6个数字"
std::string SkippedText(const TSkippedLine& skipped);
// "第3行和第9行：第2026005期的号码不同"
std::string ConflictText(const TDrawConflict& conflict);
// What follows a list cut at MaxListedLines: "……另有12行未列出".
std::string UnlistedText(size_t count);

// Where the file's draws continue the table: the index in draws of the
// first draw after the match, or nothing when there is no match. The match
// is the longest run of the table's last draws, at least min(3, rows) of
// them, equal to consecutive draws of the file; among equally long matches
// the latest in the file. An empty table is continued by every draw.
std::optional<size_t> FindAppendStart(const std::vector<TSeq>& table,
                                      const std::vector<TTableDraw>& draws);

// What an import would do to the table, worked out before anything changes.
// Append goes by the labels when the table's last draw has one and the
// file's draws have them: the file's draws after that label are added, and
// every file draw whose label the table holds must have the table's digits.
// Otherwise it goes by the digits (FindAppendStart).
struct TImportPlan {
    TImportMode Mode = TImportMode::Replace;
    // The first of the file's draws that is added; nothing for an append
    // that finds no place in the table.
    std::optional<size_t> Start;
    bool ByLabel = false;
    std::vector<TLabelConflict> Conflicts;
    // The labels missing among the added draws and between the table's last
    // label and the first of them.
    TLabelGaps Gaps;
};
TImportPlan PlanImport(const std::vector<TSeq>& table, const TTableRead& read, TImportMode mode);

// The table's rows after the import: the file's draws (replace), or the
// table's rows followed by the draws the plan adds (append), which take the
// spelling of the table's labels. Refuses with EImportError a file without
// draws, with conflicting lines or labels, an append without a match, or
// missing labels unless allowGaps, and with ETooManyDraws more rows than a
// table holds. The table itself is not touched.
std::vector<TSeq> ImportedRows(const std::vector<TSeq>& table, const TTableRead& read,
                               TImportMode mode, bool allowGaps = false);

// The message for each refusal, so that windows can say why before the
// user confirms.
std::string NoDrawsText();
std::string ConflictsText();
std::string NoAppendMatchText(int tableRows);
std::string LabelConflictsText();
// "开奖数据缺少2期：" and a line for each missing label listed, then how
// many more there are.
std::string GapsText(const TLabelGaps& gaps);
// "第2026148期：码表里是3581290，文件第12行是3581291"
std::string LabelConflictText(const TLabelConflict& conflict, TGame game = TGame::Seven);
// What the status bar says afterwards: "追加了12期，最新一期为第372期", or
// with the newest draw's label "追加了2期，最新一期为2026150期".
std::string ImportDoneText(TImportMode mode, int added, int newestPeriod, TLabel newestLabel = {});

}  // namespace tovarin
