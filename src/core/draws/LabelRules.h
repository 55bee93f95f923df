#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/draws/DrawLabel.h"

namespace tovarin {

class TSeq;

// How labels follow one another. A label of 5 or 7 digits is a year and a
// three-digit number in that year (26001, 2026001), which starts again at
// 001 in a new year; the 5-digit YYNNN and the 7-digit 20YYNNN are two
// spellings of one draw. Labels of other widths count up by one (9, 10, 11,
// or 007, 008 with the width kept).

// A sort key: labels that name the same draw have equal keys, and keys
// order draws as the lottery does (a 5-digit label as its 7-digit
// spelling; equal numbers of other widths by width).
int64_t LabelOrder(TLabel label);
// Whether two labels name the same draw (both empty counts as no).
bool SameDraw(TLabel a, TLabel b);
// The label in the spelling of model when model is another spelling of a
// 5- or 7-digit label (26099 in the spelling of 2026001 is 2026099); the
// label itself otherwise.
TLabel InSpellingOf(TLabel label, TLabel model);

// The label steps draws after this one, in its spelling: the in-year
// number plus one (the year's 999th is followed by the next year's 001),
// or the number plus one. Nothing for the empty label or a number that
// would need more than nine digits.
std::optional<TLabel> NextLabel(TLabel label, int steps = 1);

// Labels missing from a list: the first MaxListed of them and how many
// there are in all.
struct TLabelGaps {
    static constexpr size_t MaxListed = 1000;

    std::vector<TLabel> Listed;
    uint64_t Total = 0;

    bool Empty() const { return Total == 0; }
    void Add(TLabel missing);
};

// The labels missing between two labels that follow each other in a
// sorted list, in the spelling of before, appended to gaps. Within a year
// every number between; over a year end the new year's numbers before
// after's (how many the old year had is not known), and for each whole
// year between, its first draw. Labels of other widths: every number
// between. Nothing between labels of which only one has an in-year number,
// or that do not ascend.
void AddGaps(TLabel before, TLabel after, TLabelGaps& gaps);

// The row whose draw has a label naming the same draw, the last such row
// when there are several; nothing when none has.
std::optional<int> FindLabelRow(const std::vector<TSeq>& rows, TLabel label);

// FindLabelRow for many look-ups in one table: built once, each look-up is
// a binary search.
class TLabelIndex {
public:
    explicit TLabelIndex(const std::vector<TSeq>& rows);
    std::optional<int> Find(TLabel label) const;

private:
    std::vector<std::pair<int64_t, int>> keys_;
};

// "缺少第2026149期"
std::string MissingLabelText(TLabel label);

}  // namespace tovarin
