#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Errors.h"
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
};

enum class TImportMode { Append, Replace };

// Files larger than this are refused before they are read whole.
constexpr size_t MaxTableFileBytes = size_t{128} << 20;

// Reads the text of a draw-history file (CSV, tab-separated or blank-
// separated text from a web site or a spreadsheet, or the program's own
// export) in any of the encodings TextFileAsUtf8 knows. Never changes
// anything and never fails on a line: every line that is neither a draw,
// a comment, a blank line nor a header is reported with its reason.
TTableRead ReadDrawTable(std::string_view bytes);
// The same for a file; EImportError when it is missing, not a regular file,
// unreadable, too large (told by its size, before it is read) or in no
// known encoding.
TTableRead ReadDrawTableFile(const std::string& path);

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

// The table's rows after the import: the file's draws (replace), or the
// table's rows followed by the draws after the match (append). Refuses with
// EImportError a file without draws, with conflicting lines, or an append
// without a match, and with ETooManyDraws more rows than a table holds. The
// table itself is not touched.
std::vector<TSeq> ImportedRows(const std::vector<TSeq>& table, const TTableRead& read,
                               TImportMode mode);

// The message for each refusal, so that windows can say why before the
// user confirms.
std::string NoDrawsText();
std::string ConflictsText();
std::string NoAppendMatchText(int tableRows);
// What the status bar says afterwards: "追加了12期，最新一期为第372期".
std::string ImportDoneText(TImportMode mode, int added, int newestPeriod);

}  // namespace tovarin
