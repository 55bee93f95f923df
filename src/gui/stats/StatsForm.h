#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/stats/HistoryStats.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QTabWidget;
class QTableView;
class QCPBars;

namespace tovarin {

class TCodeNet;
class TChart;
class TLiveRecompute;
class TStatsTableModel;
class TTrendChart;
class TTrendIndex;

// What the window shows, computed from a snapshot of the table: the
// statistics and the trends of the heads, tails and sums.
struct TStatsView {
    std::shared_ptr<const TCodeNet> Net;
    THistoryStats Stats;
    std::array<std::shared_ptr<const TTrendIndex>, 3> Trends;  // Head, Tail, Sum

    static std::shared_ptr<const TStatsView> Compute(std::shared_ptr<const TCodeNet> net, int last);
};

// The statistics window (号码统计): per dimension a sortable table and a
// bar chart of hits against expected hits, and the trend chart, all over
// the last N draws. It follows the draw table while it is shown, off the
// user-interface thread once the changes pause, and recomputes when it is
// shown again after changes. It stays above the draw-table window.
class TStatsForm : public QWidget {
    Q_OBJECT

public:
    // Makes a condition of the kind with the parameter in the selected
    // project, as the condition menu does.
    using TCreateBind = std::function<void(int kind, const std::string& param)>;
    // Asks for a file to write: caption, filter; an empty answer cancels.
    using TAskSavePath = std::function<QString(const QString& caption, const QString& filter)>;

    static constexpr int kPresets[] = {30, 50, 100, 0};
    // The trend image holds at most the newest this many draws.
    static constexpr int kImageLines = 500;

    TStatsForm(TCodeNet& net, TCreateBind createBind, QWidget* parent = nullptr);
    ~TStatsForm() override;

    // The window size: the last `last` draws, 0 for every draw.
    void SetLast(int last);
    int Last() const { return last_; }
    const THistoryStats& Stats() const { return stats_; }
    void SetAskSavePath(TAskSavePath ask) { askSavePath_ = std::move(ask); }

    // The context menu of a selection: 用选中的号码创建条件 with the kinds
    // that take the dimension's items; disabled without items.
    std::unique_ptr<QMenu> SelectionMenu(TStatDim dim, const std::vector<int>& items);
    // The items selected in a dimension's table, ascending.
    std::vector<int> SelectedTableItems(TStatDim dim) const;

    // Writes the four tables as CSV; raises the writer's error.
    void ExportCsv(const QString& path) const;
    // Writes the trend chart as a PNG image; raises the writer's error.
    void ExportTrendPng(const QString& path) const;

    // Follows the table's changes; tests wait for its Shown.
    TLiveRecompute& Live() const { return *live_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct TDimPage {
        TStatsTableModel* Model = nullptr;
        QTableView* Table = nullptr;
        TChart* Chart = nullptr;
        QCPBars* Hits = nullptr;
        QCPBars* Expected = nullptr;
    };

    void BuildLayout();
    QWidget* BuildTopRow();
    QWidget* BuildDimPage(TStatDim dim);
    QWidget* BuildTrendPage();
    void Refresh();
    void ScheduleRefresh();
    void Present(std::shared_ptr<const TStatsView> view);
    void RefreshTrend();
    void ShowLastControls();
    void ShowSelectionMenu(TStatDim dim, const std::vector<int>& items, const QPoint& globalPos);
    void ExportCsvClick();
    void ExportPngClick();
    void RunExport(const QString& caption, const QString& filter,
                   void (TStatsForm::*exporter)(const QString&) const);

    TCodeNet& net_;
    TCreateBind createBind_;
    TAskSavePath askSavePath_;
    int listener_ = 0;
    int last_ = 0;
    bool stale_ = true;
    TLiveRecompute* live_ = nullptr;
    std::shared_ptr<const TStatsView> view_;
    THistoryStats stats_;

    std::array<TDimPage, kStatDims.size()> pages_{};
    QButtonGroup* presets_ = nullptr;
    QSpinBox* lastEd_ = nullptr;
    QLabel* caption_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QComboBox* trendBlocks_ = nullptr;
    TTrendChart* trend_ = nullptr;
};

}  // namespace tovarin
