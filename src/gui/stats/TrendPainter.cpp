#include "gui/stats/TrendPainter.h"

#include <QPainter>
#include <algorithm>

#include "core/draws/LawNet.h"
#include "core/stats/StatsText.h"
#include "core/stats/Trend.h"

namespace tovarin {
namespace {

constexpr QColor GridColor(0xC0, 0xC0, 0xC0);
constexpr QColor BlockEdge(0x80, 0x80, 0x80);
constexpr QColor HeaderFace(0xEC, 0xEC, 0xEC);
constexpr QColor OmissionText(0xA8, 0xA8, 0xA8);
constexpr QColor SelectedColumn(0xCC, 0xE4, 0xFF);
constexpr int DiscRadius = 9;

QColor BlockColor(TStatDim dim) {
    switch (dim) {
        case TStatDim::Head:
            return {0xD0, 0x30, 0x30};
        case TStatDim::Tail:
            return {0x20, 0x60, 0xD0};
        default:
            return {0x20, 0x80, 0x40};
    }
}

QColor BlockTint(TStatDim dim) {
    switch (dim) {
        case TStatDim::Head:
            return {0xFF, 0xF6, 0xF6};
        case TStatDim::Tail:
            return {0xF4, 0xF8, 0xFF};
        default:
            return {0xF4, 0xFF, 0xF6};
    }
}

bool IsSelected(const TTrendPage& page, int block, int item) {
    return block == page.SelectedBlock &&
           std::find(page.SelectedItems.begin(), page.SelectedItems.end(), item) !=
               page.SelectedItems.end();
}

QFont SizedFont(const QFont& base, int pixels, bool bold) {
    QFont font(base);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

int LinesOnPage(const TTrendPage& page) {
    const int count = page.Trends.empty() ? 0 : page.Trends.front()->Window().Count;
    return std::max(0, std::min(TTrendLayout::VisibleLines(page.Height), count - page.TopLine));
}

}  // namespace

TTrendLayout::TTrendLayout(std::vector<TStatDim> blocks) : blocks_(std::move(blocks)) {}

int TTrendLayout::BlockLeft(int block) const {
    int x = PeriodWidth + DrawWidth;
    for (int b = 0; b < block; ++b) {
        x += ItemCount(blocks_[static_cast<size_t>(b)]) * CellWidth;
    }
    return x;
}

int TTrendLayout::Width() const { return BlockLeft(static_cast<int>(blocks_.size())) + 1; }

int TTrendLayout::VisibleLines(int height) {
    return std::max(0, (height - HeaderHeight + RowHeight - 1) / RowHeight);
}

int TTrendLayout::WholeLines(int height) {
    return std::max(0, (height - HeaderHeight) / RowHeight);
}

TTrendLayout::THit TTrendLayout::HitTest(int x, int y) const {
    THit hit;
    if (y < BandHeight) {
        return hit;
    }
    hit.Line = y < HeaderHeight ? -1 : (y - HeaderHeight) / RowHeight;
    for (int block = 0; block < static_cast<int>(blocks_.size()); ++block) {
        const int left = BlockLeft(block);
        const int items = ItemCount(blocks_[static_cast<size_t>(block)]);
        if (x >= left && x < left + items * CellWidth) {
            hit.Block = block;
            hit.Item = (x - left) / CellWidth;
        }
    }
    return hit;
}

TTrendPainter::TTrendPainter(const QFont& baseFont)
    : textFont_(SizedFont(baseFont, 13, false)),
      smallFont_(SizedFont(baseFont, 11, false)),
      boldFont_(SizedFont(baseFont, 13, true)),
      narrowFont_(SizedFont(baseFont, 10, true)) {}

void TTrendPainter::Paint(QPainter& painter, const TTrendLayout& layout,
                          const TTrendPage& page) const {
    painter.fillRect(0, 0, page.Width, page.Height, Qt::white);
    if (page.Trends.size() != layout.Blocks().size() || page.Net == nullptr) {
        return;
    }
    painter.save();
    painter.translate(-page.ScrollX, 0);
    const int lines = LinesOnPage(page);
    PaintBackground(painter, layout, page, lines);
    PaintGridLines(painter, layout, page, lines);
    PaintDraws(painter, page, lines);
    for (int block = 0; block < static_cast<int>(layout.Blocks().size()); ++block) {
        PaintBlock(painter, layout, page, block, lines);
    }
    PaintHeader(painter, layout, page);
    painter.restore();
}

void TTrendPainter::PaintBackground(QPainter& painter, const TTrendLayout& layout,
                                    const TTrendPage& page, int lines) const {
    const int bottom = layout.LineTop(lines);
    for (int block = 0; block < static_cast<int>(layout.Blocks().size()); ++block) {
        const TStatDim dim = layout.Blocks()[static_cast<size_t>(block)];
        const int left = layout.BlockLeft(block);
        painter.fillRect(left, TTrendLayout::HeaderHeight, ItemCount(dim) * TTrendLayout::CellWidth,
                         bottom - TTrendLayout::HeaderHeight, BlockTint(dim));
        for (int item = 0; item < ItemCount(dim); ++item) {
            if (IsSelected(page, block, item)) {
                painter.fillRect(left + item * TTrendLayout::CellWidth, TTrendLayout::BandHeight,
                                 TTrendLayout::CellWidth, bottom - TTrendLayout::BandHeight,
                                 SelectedColumn);
            }
        }
    }
}

void TTrendPainter::PaintGridLines(QPainter& painter, const TTrendLayout& layout,
                                   const TTrendPage& page, int lines) const {
    const int right = layout.Width() - 1;
    const int bottom = layout.LineTop(lines);
    const TDrawWindow& window = page.Trends.front()->Window();
    for (int line = 0; line <= lines; ++line) {
        const int y = layout.LineTop(line);
        // The line above periods 1, 5, 9, ... is thick, as in the draw grid,
        // so that the draws fall into groups of four.
        const int period = page.Net->FirstPeriod() + window.First + page.TopLine + line;
        if ((period - 1) % 4 == 0 && line < lines) {
            painter.fillRect(0, y - 1, right + 1, 2, GridColor);
        } else {
            painter.fillRect(0, y, right + 1, 1, GridColor);
        }
    }
    const auto column = [&](int x, const QColor& color) {
        painter.fillRect(x, TTrendLayout::BandHeight, 1, bottom - TTrendLayout::BandHeight, color);
    };
    column(TTrendLayout::PeriodWidth, GridColor);
    for (int block = 0; block < static_cast<int>(layout.Blocks().size()); ++block) {
        const int left = layout.BlockLeft(block);
        column(left, BlockEdge);
        for (int item = 1; item < ItemCount(layout.Blocks()[static_cast<size_t>(block)]); ++item) {
            column(left + item * TTrendLayout::CellWidth, GridColor);
        }
    }
    column(right, BlockEdge);
}

void TTrendPainter::PaintDraws(QPainter& painter, const TTrendPage& page, int lines) const {
    const TDrawWindow& window = page.Trends.front()->Window();
    constexpr int digitWidth = (TTrendLayout::DrawWidth - 8) / TSeq::DigitCount;
    for (int line = 0; line < lines; ++line) {
        const int row = window.First + page.TopLine + line;
        const int top = TTrendLayout::HeaderHeight + line * TTrendLayout::RowHeight;
        painter.setPen(Qt::black);
        painter.setFont(textFont_);
        // The lottery's label where the draw has one, else the period.
        const TSeq& draw = page.Net->GetSeq(row);
        painter.drawText(QRect(0, top, TTrendLayout::PeriodWidth, TTrendLayout::RowHeight),
                         Qt::AlignCenter,
                         draw.GetLabel().Empty() ? QString::number(page.Net->FirstPeriod() + row)
                                                 : QString::fromStdString(draw.GetLabel().Text()));
        // The game's numbers: 排列5 has five.
        for (int pos = 0; pos < NumberCount(page.Net->Game()); ++pos) {
            // The head and the tail, which the blocks count, stand out.
            const bool counted = pos == 0 || pos == 3;
            painter.setFont(counted ? boldFont_ : textFont_);
            painter.setPen(pos == 0   ? BlockColor(TStatDim::Head)
                           : pos == 3 ? BlockColor(TStatDim::Tail)
                                      : QColor(Qt::black));
            painter.drawText(QRect(TTrendLayout::PeriodWidth + 4 + pos * digitWidth, top,
                                   digitWidth, TTrendLayout::RowHeight),
                             Qt::AlignCenter, QString::number(draw.GetNum(pos)));
        }
    }
}

void TTrendPainter::PaintBlock(QPainter& painter, const TTrendLayout& layout,
                               const TTrendPage& page, int block, int lines) const {
    const TStatDim dim = layout.Blocks()[static_cast<size_t>(block)];
    const TTrendIndex& trend = *page.Trends[static_cast<size_t>(block)];
    const TDrawWindow& window = trend.Window();
    const int left = layout.BlockLeft(block);
    const auto centre = [&](int line) {
        const int item = ItemOfDraw(dim, page.Net->GetSeq(window.First + page.TopLine + line));
        return QPoint(left + item * TTrendLayout::CellWidth + TTrendLayout::CellWidth / 2,
                      layout.LineTop(line) + TTrendLayout::RowHeight / 2);
    };

    // The line through the discs comes in from the draw above the page and
    // leaves towards the draw below it.
    const int firstLine = page.TopLine > 0 ? -1 : 0;
    const int lastLine = page.TopLine + lines < window.Count ? lines : lines - 1;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(BlockColor(dim), 1.5));
    for (int line = firstLine; line < lastLine; ++line) {
        painter.drawLine(centre(line), centre(line + 1));
    }

    const std::vector<std::vector<int>> omissions = trend.Lines(page.TopLine, lines);
    for (int line = 0; line < static_cast<int>(omissions.size()); ++line) {
        const int top = layout.LineTop(line);
        const std::vector<int>& row = omissions[static_cast<size_t>(line)];
        for (int item = 0; item < static_cast<int>(row.size()); ++item) {
            const QRect cell(left + item * TTrendLayout::CellWidth, top, TTrendLayout::CellWidth,
                             TTrendLayout::RowHeight);
            if (row[static_cast<size_t>(item)] == 0) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(BlockColor(dim));
                painter.drawEllipse(cell.center() + QPoint(1, 1), DiscRadius, DiscRadius);
                painter.setPen(Qt::white);
                painter.setFont(item < 10 ? boldFont_ : narrowFont_);
                painter.drawText(cell, Qt::AlignCenter, QString::number(item));
            } else {
                painter.setPen(OmissionText);
                painter.setFont(row[static_cast<size_t>(item)] < 100 ? smallFont_ : narrowFont_);
                painter.drawText(cell, Qt::AlignCenter,
                                 QString::number(row[static_cast<size_t>(item)]));
            }
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
}

void TTrendPainter::PaintHeader(QPainter& painter, const TTrendLayout& layout,
                                const TTrendPage& page) const {
    const int right = layout.Width() - 1;
    painter.fillRect(0, 0, right, TTrendLayout::HeaderHeight, HeaderFace);
    painter.setPen(Qt::black);
    painter.setFont(textFont_);
    painter.drawText(QRect(0, 0, TTrendLayout::PeriodWidth, TTrendLayout::HeaderHeight),
                     Qt::AlignCenter, QStringLiteral("期号"));
    painter.drawText(
        QRect(TTrendLayout::PeriodWidth, 0, TTrendLayout::DrawWidth, TTrendLayout::HeaderHeight),
        Qt::AlignCenter, QStringLiteral("开奖号码"));
    for (int block = 0; block < static_cast<int>(layout.Blocks().size()); ++block) {
        const TStatDim dim = layout.Blocks()[static_cast<size_t>(block)];
        const int left = layout.BlockLeft(block);
        const int width = ItemCount(dim) * TTrendLayout::CellWidth;
        painter.setPen(BlockColor(dim));
        painter.setFont(boldFont_);
        painter.drawText(QRect(left, 0, width, TTrendLayout::BandHeight), Qt::AlignCenter,
                         QString::fromUtf8(DimName(dim)));
        for (int item = 0; item < ItemCount(dim); ++item) {
            const QRect cell(left + item * TTrendLayout::CellWidth, TTrendLayout::BandHeight,
                             TTrendLayout::CellWidth, TTrendLayout::BandHeight);
            if (IsSelected(page, block, item)) {
                painter.fillRect(cell, SelectedColumn);
            }
            painter.setPen(Qt::black);
            painter.setFont(textFont_);
            painter.drawText(cell, Qt::AlignCenter, QString::number(item));
        }
        painter.fillRect(left, 0, 1, TTrendLayout::HeaderHeight, BlockEdge);
    }
    painter.fillRect(0, TTrendLayout::BandHeight, right, 1, GridColor);
    painter.fillRect(0, TTrendLayout::HeaderHeight - 1, right + 1, 1, BlockEdge);
    painter.fillRect(right, 0, 1, TTrendLayout::HeaderHeight, BlockEdge);
}

}  // namespace tovarin
