#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/draws/TableImport.h"
#include "core/sources/SourceFetch.h"

namespace tovarin {

// What one source of an update gave.
struct TSourceOutcome {
    std::string Name;  // the player's name for it, or its address
    std::string Url;
    // The format its answers were read in; nothing when no answer was.
    std::optional<TSourceFormat> Format;
    int Pages = 0;
    size_t Read = 0;    // draws read
    std::string Error;  // why it could not be fetched or read; empty when it was
};

// A label for which two sources give different numbers.
struct TSourceConflict {
    TLabel Label;  // as the first source wrote it
    size_t FirstSource = 0;
    size_t SecondSource = 0;
    TSeq FirstDraw;
    TSeq SecondDraw;
};

// The draws of all sources as one read: every label once (its two
// spellings are one label), taken from the first source that has it.
struct TMergedRead {
    // Draws ascending by label; the skipped lines and conflicting lines of
    // every source, each source's after the one before.
    TTableRead Read;
    // For each draw of Read, the source it was taken from.
    std::vector<size_t> SourceOf;
    std::vector<TSourceConflict> Conflicts;
    // Sources whose draws have no labels and that cannot be merged with
    // others (set when more than one source read draws).
    std::vector<size_t> Unlabelled;
};

// Merges the reads of sources, in the order given, all read as the numbers
// of game. A read whose draws have no labels (numbered in file order) is
// taken as it is when it is the only read with draws, and is listed in
// Unlabelled otherwise.
TMergedRead MergeSourceReads(const std::vector<const TTableRead*>& reads, TGame game);

// An update from the sources, worked out before anything changes.
struct TUpdateRead {
    std::vector<TSourceOutcome> Sources;
    TMergedRead Merged;
    TImportPlan Plan;  // the merged draws appended to the table

    // Draws the plan appends.
    size_t Added() const;
    // Whether the plan can be applied at once: every source read, no
    // conflict, something read, a place to append, no missing labels.
    bool Clean() const;
};

// Progress of an update: the source being fetched (from 0), its page
// (from 1) and the bytes of that page so far; called on the fetching thread.
using TUpdateProgress = std::function<void(size_t source, int page, size_t received)>;

// Fetches every source in order, each in its own format, with settings'
// certificate, deadline, cancellation and game; pages stop at the table's last
// label. A source that cannot be fetched or read keeps its reason and the
// others are still fetched; a cancelled update ends with EFetchError
// Cancelled. Nothing is changed.
TUpdateRead ReadUpdate(const std::vector<TDrawSource>& sources, const std::vector<TSeq>& table,
                       const TFetchSettings& settings, const TUpdateProgress& progress = {});

// A Reaches test for paging: a page reaches the table's last label when it
// holds that draw or an earlier one. Empty for a table without a last label.
std::function<bool(const TTableRead& page)> ReachesLabel(const std::vector<TSeq>& table);

// Why an update cannot be applied at once, one text each, in the order a
// player reads them: sources that failed, sources that disagree, unlabelled
// sources, then what the import itself refuses (conflicting lines, nothing
// read and why the lines were not read, no place to append, labels the table
// holds with other numbers, missing labels unless allowGaps). Empty for an
// update that can be applied.
std::vector<std::string> UpdateProblems(const TUpdateRead& update, int tableRows, bool allowGaps);
// Those of the problems that concern the sources rather than the draws
// (the import preview shows the others itself).
std::vector<std::string> SourceProblems(const TUpdateRead& update);

// "数据源「名称」：<reason>"
std::string SourceFailedText(const TSourceOutcome& source);
// "第2026150期：「甲」是3581290，「乙」是3581291", the numbers as the game
// writes them ("1 2 3 4 5 6 14").
std::string SourceConflictText(const TSourceConflict& conflict,
                               const std::vector<TSourceOutcome>& sources, TGame game);
// "「名称」的开奖数据没有期号，不能与其他数据源合并"
std::string UnlabelledSourceText(const TSourceOutcome& source);
// "更新了3期，最新一期为2026150期（来源：甲、乙）": the sources are those
// the appended draws came from.
std::string UpdateDoneText(const TUpdateRead& update, int newestPeriod, TLabel newestLabel);
// "码表已是最新：最新一期为2026150期"
std::string UpToDateText(int newestPeriod, TLabel newestLabel);

}  // namespace tovarin
