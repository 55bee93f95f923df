#pragma once

#include <array>
#include <string>
#include <vector>

namespace tovarin {

class TCodeNet;
class TSeq;

// What the statistics count in a draw: its head digit (position 0), its tail
// digit (position 3), head + tail, or the head-tail code head × 10 + tail.
enum class TStatDim { Head, Tail, Sum, Code };

constexpr std::array<TStatDim, 4> kStatDims = {TStatDim::Head, TStatDim::Tail, TStatDim::Sum,
                                               TStatDim::Code};

// 10, 10, 19 or 100: the items are 0 .. count - 1.
int ItemCount(TStatDim dim);
// The one item of the dimension that a draw holds.
int ItemOfDraw(TStatDim dim, const TSeq& draw);
// The item as the program shows it: its number, or CodeToStr for a code.
std::string ItemText(TStatDim dim, int item);

// The last draws of the table: rows First .. First + Count - 1.
struct TDrawWindow {
    int First = 0;
    int Count = 0;
};

// The last `last` draws; 0, or a number at or above the row count, gives
// every draw.
TDrawWindow LastDraws(const TCodeNet& net, int last);

// Hits, expected hits and the average omission count inside the window;
// the omissions count draws through the whole table, since a player reads
// an omission as "draws since it last came out", whatever range is shown.
struct TItemStats {
    int Item = 0;
    int Hits = 0;  // window draws holding the item
    // Window size × the item's chance in a uniform draw: 1/10 for a digit,
    // 1/100 for a code, and for a sum the share of the 100 (head, tail) pairs
    // that give it.
    double Expected = 0;
    // Draws after its last occurrence in the table; the table's length when
    // it never occurs.
    int Current = 0;
    // The longest run of draws without it among the runs that reach into
    // the window, each counted whole, its draws before the window included.
    int Max = 0;
    double Average = 0;  // (window − hits) / (hits + 1): the mean run without it
};

struct THistoryStats {
    int Draws = 0;  // rows of the table
    TDrawWindow Window;
    // Periods of the window's first and last draw; an empty window runs from
    // 1 to 0.
    int FromPeriod = 1;
    int ToPeriod = 0;
    // Indexed by TStatDim, one entry per item in item order.
    std::array<std::vector<TItemStats>, kStatDims.size()> Dims;

    const std::vector<TItemStats>& Of(TStatDim dim) const { return Dims[static_cast<size_t>(dim)]; }
};

// For each item of the dimension, the last row before `row` whose draw
// holds it, -1 when none does. It reads back only until every item is found.
std::vector<int> LastRowsBefore(const TCodeNet& net, TStatDim dim, int row);

// Every dimension's statistics over the last `last` draws (see LastDraws),
// in one pass over the window after a look back for the runs that reach
// into it.
THistoryStats ComputeHistoryStats(const TCodeNet& net, int last);

}  // namespace tovarin
