#pragma once

#include <QFont>
#include <vector>

#include "core/stats/HistoryStats.h"

class QPainter;

namespace tovarin {

class TCodeNet;
class TTrendIndex;

// The trend chart's geometry: a header of two bands (block names, then the
// items), then one line per draw of the window; the columns are the period,
// the draw and one block of cells per dimension shown.
class TTrendLayout {
public:
    static constexpr int BandHeight = 20;
    static constexpr int HeaderHeight = 2 * BandHeight;
    static constexpr int RowHeight = 20;
    static constexpr int PeriodWidth = 64;
    static constexpr int DrawWidth = 84;
    static constexpr int CellWidth = 24;

    explicit TTrendLayout(std::vector<TStatDim> blocks = {});

    const std::vector<TStatDim>& Blocks() const { return blocks_; }
    int BlockLeft(int block) const;
    int Width() const;
    // Lines that the height shows, the last one perhaps cut off.
    static int VisibleLines(int height);
    // Lines that the height shows whole.
    static int WholeLines(int height);
    int LineTop(int line) const { return HeaderHeight + line * RowHeight; }

    struct THit {
        int Block = -1;  // -1: not in a block's cells or item band
        int Item = -1;
        int Line = -1;  // -1: in the header
    };
    THit HitTest(int x, int y) const;

private:
    std::vector<TStatDim> blocks_;
};

// What one paint shows: the window's lines from TopLine on, each block's
// trend, and the selected items of one block.
struct TTrendPage {
    const TCodeNet* Net = nullptr;
    std::vector<const TTrendIndex*> Trends;  // one per block, all of one window
    int TopLine = 0;
    int Width = 0;
    int Height = 0;
    int ScrollX = 0;
    int SelectedBlock = -1;
    std::vector<int> SelectedItems;
};

// Paints the trend chart; only the lines in view are read, so a page costs
// the same whatever the window's size.
class TTrendPainter {
public:
    explicit TTrendPainter(const QFont& baseFont);

    void Paint(QPainter& painter, const TTrendLayout& layout, const TTrendPage& page) const;

private:
    void PaintBackground(QPainter& painter, const TTrendLayout& layout, const TTrendPage& page,
                         int lines) const;
    void PaintGridLines(QPainter& painter, const TTrendLayout& layout, const TTrendPage& page,
                        int lines) const;
    void PaintDraws(QPainter& painter, const TTrendPage& page, int lines) const;
    void PaintBlock(QPainter& painter, const TTrendLayout& layout, const TTrendPage& page,
                    int block, int lines) const;
    void PaintHeader(QPainter& painter, const TTrendLayout& layout, const TTrendPage& page) const;

    QFont textFont_;
    QFont smallFont_;
    QFont boldFont_;
    // Texts a cell holds only when narrower: two-digit items in a disc and
    // omissions from 100 on.
    QFont narrowFont_;
};

}  // namespace tovarin
