#include "core/stats/HistoryStats.h"

#include <algorithm>

#include "core/draws/LawNet.h"
#include "core/engine/Code.h"

namespace tovarin {
namespace {

constexpr int kHeadPos = 0;
constexpr int kTailPos = 3;
constexpr int kDigitItems = 10;
constexpr int kSumItems = 19;
constexpr int kCodeItems = 100;

// The pass keeps every dimension's counters in one array, the dimensions
// one after another in TStatDim order.
constexpr std::array<int, kStatDims.size()> kSlotBase = {0, kDigitItems, 2 * kDigitItems,
                                                         2 * kDigitItems + kSumItems};
constexpr int kSlotCount = 2 * kDigitItems + kSumItems + kCodeItems;

// (head, tail) pairs with head + tail = sum.
int PairsOfSum(int sum) { return sum <= 9 ? sum + 1 : 19 - sum; }

// The item's chance in hundredths, so that N × chance is computed as
// N × hundredths / 100 and a whole expectation (3 × 1/10) stays whole.
int ChanceInHundredths(TStatDim dim, int item) {
    switch (dim) {
        case TStatDim::Head:
        case TStatDim::Tail:
            return 10;
        case TStatDim::Sum:
            return PairsOfSum(item);
        case TStatDim::Code:
            return 1;
    }
    return 0;
}

// What the pass keeps per item. Hits are counted for the codes alone: a
// head's, tail's or sum's hits are the hits of the codes that hold it.
struct TSlots {
    std::array<int, kSlotCount> LastRow{};
    std::array<int, kSlotCount> LongestGap{};
    std::array<int, kCodeItems> CodeHits{};
};

void Occurs(TSlots& slots, int slot, int row) {
    const auto at = static_cast<size_t>(slot);
    const int gap = row - slots.LastRow[at] - 1;
    // A new longest run is rare once the pass is under way: the branch is
    // cheaper than a store on every draw.
    if (gap > slots.LongestGap[at]) {
        slots.LongestGap[at] = gap;
    }
    slots.LastRow[at] = row;
}

// The slots of the dimensions that a draw of this code holds.
std::array<int, kStatDims.size()> SlotsOfCode(int code) {
    const int head = code / 10;
    const int tail = code % 10;
    return {kSlotBase[0] + head, kSlotBase[1] + tail, kSlotBase[2] + head + tail,
            kSlotBase[3] + code};
}

// The dimension's item in a draw of this head-tail code.
int ItemOfCode(TStatDim dim, int code) {
    switch (dim) {
        case TStatDim::Head:
            return code / 10;
        case TStatDim::Tail:
            return code % 10;
        case TStatDim::Sum:
            return code / 10 + code % 10;
        case TStatDim::Code:
            return code;
    }
    return 0;
}

int HitsOf(TStatDim dim, int item, const TSlots& slots) {
    int hits = 0;
    for (int code = 0; code < kCodeItems; ++code) {
        if (ItemOfCode(dim, code) == item) {
            hits += slots.CodeHits[static_cast<size_t>(code)];
        }
    }
    return hits;
}

std::vector<TItemStats> StatsOf(TStatDim dim, const TSlots& slots, TDrawWindow window) {
    const int lastRow = window.First + window.Count - 1;
    std::vector<TItemStats> items(static_cast<size_t>(ItemCount(dim)));
    for (int item = 0; item < ItemCount(dim); ++item) {
        const auto slot =
            static_cast<size_t>(kSlotBase[static_cast<size_t>(dim)]) + static_cast<size_t>(item);
        TItemStats& stats = items[static_cast<size_t>(item)];
        stats.Item = item;
        stats.Hits = HitsOf(dim, item, slots);
        const long long hundredths = 1LL * window.Count * ChanceInHundredths(dim, item);
        stats.Expected = static_cast<double>(hundredths) / 100.0;
        stats.Current = lastRow - slots.LastRow[slot];
        stats.Max = std::max(slots.LongestGap[slot], stats.Current);
        stats.Average = static_cast<double>(window.Count - stats.Hits) / (stats.Hits + 1);
    }
    return items;
}

}  // namespace

int ItemCount(TStatDim dim) {
    switch (dim) {
        case TStatDim::Head:
        case TStatDim::Tail:
            return kDigitItems;
        case TStatDim::Sum:
            return kSumItems;
        case TStatDim::Code:
            return kCodeItems;
    }
    return 0;
}

int ItemOfDraw(TStatDim dim, const TSeq& draw) {
    return ItemOfCode(dim, draw.GetNum(kHeadPos) * 10 + draw.GetNum(kTailPos));
}

std::string ItemText(TStatDim dim, int item) {
    return dim == TStatDim::Code ? CodeToStr(item) : std::to_string(item);
}

TDrawWindow LastDraws(const TCodeNet& net, int last) {
    const int count = last <= 0 ? net.Count() : std::min(last, net.Count());
    return {net.Count() - count, count};
}

std::vector<int> LastRowsBefore(const TCodeNet& net, TStatDim dim, int row) {
    std::vector<int> lastRows(static_cast<size_t>(ItemCount(dim)), -1);
    int missing = ItemCount(dim);
    for (int before = std::min(row, net.Count()) - 1; before >= 0 && missing > 0; --before) {
        int& lastRow = lastRows[static_cast<size_t>(ItemOfDraw(dim, net.GetSeq(before)))];
        if (lastRow < 0) {
            lastRow = before;
            --missing;
        }
    }
    return lastRows;
}

THistoryStats ComputeHistoryStats(const TCodeNet& net, int last) {
    THistoryStats result;
    result.Draws = net.Count();
    result.Window = LastDraws(net, last);
    const TDrawWindow window = result.Window;
    if (window.Count > 0) {
        result.FromPeriod = net.FirstPeriod() + window.First;
        result.ToPeriod = result.FromPeriod + window.Count - 1;
    }

    // Every item starts at its last occurrence before the window (a head's
    // is the latest of its codes'), so that the run that reaches into the
    // window counts whole.
    TSlots slots;
    slots.LastRow.fill(-1);
    const std::vector<int> codeRows = LastRowsBefore(net, TStatDim::Code, window.First);
    for (int code = 0; code < kCodeItems; ++code) {
        for (const int slot : SlotsOfCode(code)) {
            int& lastRow = slots.LastRow[static_cast<size_t>(slot)];
            lastRow = std::max(lastRow, codeRows[static_cast<size_t>(code)]);
        }
    }
    const int end = window.First + window.Count;
    for (int row = window.First; row < end; ++row) {
        const TSeq& draw = net.GetSeq(row);
        const int code = draw.GetNum(kHeadPos) * 10 + draw.GetNum(kTailPos);
        const std::array<int, kStatDims.size()> held = SlotsOfCode(code);
        if (row == window.First) {
            // The run that ends here lies wholly before the window.
            for (const int slot : held) {
                slots.LastRow[static_cast<size_t>(slot)] = row;
            }
        } else {
            for (const int slot : held) {
                Occurs(slots, slot, row);
            }
        }
        ++slots.CodeHits[static_cast<size_t>(code)];
    }
    for (const TStatDim dim : kStatDims) {
        result.Dims[static_cast<size_t>(dim)] = StatsOf(dim, slots, window);
    }
    return result;
}

}  // namespace tovarin
