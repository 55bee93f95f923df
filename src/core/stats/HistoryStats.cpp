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

struct TSlots {
    std::array<int, kSlotCount> Hits{};
    std::array<int, kSlotCount> LastRow{};
    std::array<int, kSlotCount> LongestGap{};
};

void Count(TSlots& slots, int slot, int row) {
    const int gap = row - slots.LastRow[static_cast<size_t>(slot)] - 1;
    int& longest = slots.LongestGap[static_cast<size_t>(slot)];
    longest = std::max(longest, gap);
    slots.LastRow[static_cast<size_t>(slot)] = row;
    ++slots.Hits[static_cast<size_t>(slot)];
}

std::vector<TItemStats> StatsOf(TStatDim dim, const TSlots& slots, TDrawWindow window) {
    const int lastRow = window.First + window.Count - 1;
    std::vector<TItemStats> items(static_cast<size_t>(ItemCount(dim)));
    for (int item = 0; item < ItemCount(dim); ++item) {
        const auto slot = static_cast<size_t>(kSlotBase[static_cast<size_t>(dim)] + item);
        TItemStats& stats = items[static_cast<size_t>(item)];
        stats.Item = item;
        stats.Hits = slots.Hits[slot];
        stats.Expected = window.Count * ChanceInHundredths(dim, item) / 100.0;
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
    const int head = draw.GetNum(kHeadPos);
    const int tail = draw.GetNum(kTailPos);
    switch (dim) {
        case TStatDim::Head:
            return head;
        case TStatDim::Tail:
            return tail;
        case TStatDim::Sum:
            return head + tail;
        case TStatDim::Code:
            return head * 10 + tail;
    }
    return 0;
}

std::string ItemText(TStatDim dim, int item) {
    return dim == TStatDim::Code ? CodeToStr(item) : std::to_string(item);
}

double ItemChance(TStatDim dim, int item) { return ChanceInHundredths(dim, item) / 100.0; }

TDrawWindow LastDraws(const TCodeNet& net, int last) {
    const int count = last <= 0 ? net.Count() : std::min(last, net.Count());
    return {net.Count() - count, count};
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

    TSlots slots;
    // "Before the window" is the row above its first draw, so that the run
    // before a first occurrence counts from the window's start.
    slots.LastRow.fill(window.First - 1);
    const int end = window.First + window.Count;
    for (int row = window.First; row < end; ++row) {
        const TSeq& draw = net.GetSeq(row);
        const int head = draw.GetNum(kHeadPos);
        const int tail = draw.GetNum(kTailPos);
        Count(slots, kSlotBase[0] + head, row);
        Count(slots, kSlotBase[1] + tail, row);
        Count(slots, kSlotBase[2] + head + tail, row);
        Count(slots, kSlotBase[3] + head * 10 + tail, row);
    }
    for (const TStatDim dim : kStatDims) {
        result.Dims[static_cast<size_t>(dim)] = StatsOf(dim, slots, window);
    }
    return result;
}

}  // namespace tovarin
