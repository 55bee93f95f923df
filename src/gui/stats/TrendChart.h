#pragma once

#include <QAbstractScrollArea>
#include <memory>
#include <vector>

#include "core/stats/HistoryStats.h"
#include "gui/stats/TrendPainter.h"

class QImage;

namespace tovarin {

class TCodeNet;
class TTrendIndex;

// The trend chart (走势图): one line per draw of the window, newest at the
// bottom, a block of omission cells per dimension shown. Clicking a cell or
// an item's heading selects that item's column; Ctrl adds or removes one,
// Shift takes the range from the last click. Only one block's items are
// selected at a time.
class TTrendChart : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TTrendChart(QWidget* parent = nullptr);
    ~TTrendChart() override;

    // The draws to show and the blocks to show them in, one trend per block,
    // all of one window of the table; the chart keeps them (the table a
    // snapshot nobody changes) and keeps the newest draw in view when it
    // was in view before.
    void SetTrend(std::shared_ptr<const TCodeNet> net,
                  std::vector<std::shared_ptr<const TTrendIndex>> trends,
                  const std::vector<TStatDim>& blocks);

    const TTrendLayout& Layout() const { return layout_; }
    int TopLine() const;
    // The dimension of the block whose items are selected, and the items
    // ascending; no items when nothing is selected.
    TStatDim SelectedDim() const;
    std::vector<int> SelectedItems() const;

    // The newest draws of the window, at most maxLines, as one image, with
    // no column selected: a picture to keep shows the draws alone.
    QImage RenderImage(int maxLines) const;

signals:
    void SelectionMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SelectItems(int block, std::vector<int> items);
    TTrendPage Page(int topLine, int width, int height) const;
    void SyncScrollBars(bool keepNewest);
    int LineCount() const;

    std::shared_ptr<const TCodeNet> net_;
    TTrendLayout layout_;
    std::vector<std::shared_ptr<const TTrendIndex>> trends_;
    TTrendPainter painter_;
    int selectedBlock_ = -1;
    std::vector<int> selectedItems_;
    int anchorItem_ = -1;
};

}  // namespace tovarin
