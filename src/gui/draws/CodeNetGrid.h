#pragma once

#include <QAbstractScrollArea>
#include <functional>
#include <memory>

#include "core/draws/NetView.h"
#include "gui/draws/GridPainter.h"

class QMenu;

namespace tovarin {

class TCodeNet;

// The draw-table grid: paints what its TNetView lays out and hands every
// key, click and scroll to it. The scroll bar's position is the view's
// TopRow; the widget keeps the two in step after every change.
class TCodeNetGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    TCodeNetGrid(TCodeNet& net, QWidget* parent = nullptr);

    TCodeNet& CodeNet();
    TNetView& View() { return view_; }
    const TNetView& View() const { return view_; }

    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    // Runs each digit typed into a row, so that the owner can make it a
    // step of its undo history; without one the digit is simply typed.
    std::function<void(int row, const std::function<void()>& edit)> EditRunner;
    void ScrollToRow(int row) { view_.ScrollToRow(row); }
    bool FindNext(const QString& text);

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // A tool tip over a draw names its period, label and date.
    bool viewportEvent(QEvent* event) override;

private:
    void SyncScrollBar();
    void ScrollBarAction(int action);

    TNetView view_;
    std::unique_ptr<TCodeNetPainter> painter_;
    QMenu* popupMenu_ = nullptr;
};

}  // namespace tovarin
