#include "gui/stats/TrendChart.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "core/draws/LawNet.h"
#include "core/stats/Trend.h"

namespace tovarin {

TTrendChart::TTrendChart(QWidget* parent) : QAbstractScrollArea(parent), painter_(font()) {
    setObjectName(QStringLiteral("TrendChart"));
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(TTrendLayout::CellWidth);
}

TTrendChart::~TTrendChart() = default;

void TTrendChart::SetTrend(std::shared_ptr<const TCodeNet> net,
                           std::vector<std::shared_ptr<const TTrendIndex>> trends,
                           const std::vector<TStatDim>& blocks) {
    const bool keepNewest = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
    if (blocks != layout_.Blocks()) {
        selectedBlock_ = -1;
        selectedItems_.clear();
    }
    net_ = std::move(net);
    layout_ = TTrendLayout(blocks);
    trends_ = std::move(trends);
    SyncScrollBars(keepNewest);
    viewport()->update();
}

int TTrendChart::LineCount() const { return trends_.empty() ? 0 : trends_.front()->Window().Count; }

int TTrendChart::TopLine() const { return verticalScrollBar()->value(); }

TStatDim TTrendChart::SelectedDim() const {
    return selectedBlock_ < 0 ? TStatDim::Head
                              : layout_.Blocks()[static_cast<size_t>(selectedBlock_)];
}

std::vector<int> TTrendChart::SelectedItems() const { return selectedItems_; }

void TTrendChart::SelectItems(int block, std::vector<int> items) {
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    selectedBlock_ = items.empty() ? -1 : block;
    selectedItems_ = std::move(items);
    viewport()->update();
}

TTrendPage TTrendChart::Page(int topLine, int width, int height) const {
    TTrendPage page;
    page.Net = net_.get();
    for (const std::shared_ptr<const TTrendIndex>& trend : trends_) {
        page.Trends.push_back(trend.get());
    }
    page.TopLine = topLine;
    page.Width = width;
    page.Height = height;
    page.SelectedBlock = selectedBlock_;
    page.SelectedItems = selectedItems_;
    return page;
}

void TTrendChart::SyncScrollBars(bool keepNewest) {
    const int whole = TTrendLayout::WholeLines(viewport()->height());
    QScrollBar& vertical = *verticalScrollBar();
    vertical.setRange(0, std::max(0, LineCount() - whole));
    vertical.setPageStep(std::max(1, whole));
    if (keepNewest) {
        vertical.setValue(vertical.maximum());
    }
    QScrollBar& horizontal = *horizontalScrollBar();
    horizontal.setRange(0, std::max(0, layout_.Width() - viewport()->width()));
    horizontal.setPageStep(viewport()->width());
}

QImage TTrendChart::RenderImage(int maxLines) const {
    const int lines = std::min(LineCount(), maxLines);
    const int height = TTrendLayout::HeaderHeight + lines * TTrendLayout::RowHeight + 1;
    QImage image(layout_.Width(), height, QImage::Format_RGB32);
    QPainter painter(&image);
    TTrendPage page = Page(LineCount() - lines, image.width(), height);
    page.SelectedBlock = -1;
    page.SelectedItems.clear();
    painter_.Paint(painter, layout_, page);
    return image;
}

void TTrendChart::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    TTrendPage page = Page(TopLine(), viewport()->width(), viewport()->height());
    page.ScrollX = horizontalScrollBar()->value();
    painter_.Paint(painter, layout_, page);
}

void TTrendChart::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SyncScrollBars(verticalScrollBar()->value() >= verticalScrollBar()->maximum());
}

void TTrendChart::mousePressEvent(QMouseEvent* event) {
    setFocus();
    const QPoint at = event->position().toPoint();
    const TTrendLayout::THit hit = layout_.HitTest(at.x() + horizontalScrollBar()->value(), at.y());
    const bool onLine = hit.Line < 0 || TopLine() + hit.Line < LineCount();
    if (hit.Block < 0 || !onLine) {
        return;
    }
    const bool sameBlock = hit.Block == selectedBlock_;
    std::vector<int> items = sameBlock ? selectedItems_ : std::vector<int>{};
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (event->button() == Qt::RightButton) {
        // A right click keeps a selection that holds the item, so that the
        // context menu acts on all of it.
        if (std::find(items.begin(), items.end(), hit.Item) == items.end()) {
            items = {hit.Item};
        }
    } else if (keys & Qt::ShiftModifier && sameBlock && anchorItem_ >= 0) {
        for (int item = std::min(anchorItem_, hit.Item); item <= std::max(anchorItem_, hit.Item);
             ++item) {
            items.push_back(item);
        }
    } else if (keys & Qt::ControlModifier) {
        const auto found = std::find(items.begin(), items.end(), hit.Item);
        if (found == items.end()) {
            items.push_back(hit.Item);
        } else {
            items.erase(found);
        }
        anchorItem_ = hit.Item;
    } else {
        items = {hit.Item};
        anchorItem_ = hit.Item;
    }
    SelectItems(hit.Block, std::move(items));
}

void TTrendChart::contextMenuEvent(QContextMenuEvent* event) {
    emit SelectionMenuRequested(event->globalPos());
}

}  // namespace tovarin
