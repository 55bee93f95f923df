#pragma once

#include <vector>

#include "core/stats/HistoryStats.h"

namespace tovarin {

class TCodeNet;
class TSeq;

// Follows one dimension's omissions down a window, a draw at a time: at a
// draw an item's omission is 0 where the draw holds it, else its omission
// at the draw above + 1. The omissions count through the whole table, also
// above the window: an item that has not occurred yet stands at the number
// of draws so far.
class TTrendWalk {
public:
    TTrendWalk(const TCodeNet& net, TStatDim dim, TDrawWindow window);

    // Moves on to the next draw of the window.
    void Step(const TSeq& draw);
    // Every item's omission at the draw of the last Step.
    std::vector<int> Omissions() const;

private:
    TStatDim dim_;
    int row_;
    std::vector<int> lastRow_;
};

// The trend of a window for a chart that shows a few lines at a time: one
// pass keeps a walk every kMarkStep draws, so the omissions of any lines
// cost at most kMarkStep steps, whatever the window's size. It reads the
// table again for each call: rebuild it whenever the table changes.
class TTrendIndex {
public:
    static constexpr int kMarkStep = 256;

    TTrendIndex(const TCodeNet& net, TStatDim dim, TDrawWindow window);

    const TDrawWindow& Window() const { return window_; }
    // The omissions of the window's lines first .. first + count - 1 (line 0
    // is the window's oldest draw), clipped to the window; each entry holds
    // one value per item of the dimension.
    std::vector<std::vector<int>> Lines(int first, int count) const;

private:
    const TCodeNet& net_;
    TDrawWindow window_;
    std::vector<TTrendWalk> marks_;  // marks_[k]: before line k × kMarkStep
};

}  // namespace tovarin
