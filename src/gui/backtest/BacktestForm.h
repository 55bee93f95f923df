#pragma once

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

#include "core/backtest/Backtest.h"
#include "core/engine/Prj.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class QTableWidget;
class QTabWidget;

namespace tovarin {

class TChart;
class TLiveRecompute;
class TPeriodTableModel;

// One backtest as the window shows it, made from a snapshot of the table.
struct TBacktestView {
    std::shared_ptr<const TCodeNet> Net;
    TEvaluation Evaluation;
    TBacktestReport Report;
    std::vector<double> Rolling;  // the rolling chart's hit rates

    static std::shared_ptr<const TBacktestView> Compute(std::shared_ptr<const TCodeNet> net,
                                                        TEvaluation evaluation, TPeriodRange range);
};

// 回测: how the selected project would have done over a range of past draws
// and whether that beats picking as many codes at random. The window
// follows the draw table and the project, off the user-interface thread
// once the changes pause; when the project leaves the list it stays open
// and says so until it is given another project. It stays above the
// draw-table window.
class TBacktestForm : public QWidget {
    Q_OBJECT

public:
    // The range the window keeps when the draw table grows or shrinks.
    enum class TPreset { Last30, Last100, All, Custom };

    // The project must be in the list. The list and its draw table must
    // outlive the window, or clear the list (which lets the window go of
    // them) before they are freed.
    TBacktestForm(TPrjMgr& projects, TSeqPrj& project, const QString& projectName,
                  QWidget* parent = nullptr);
    ~TBacktestForm() override;

    // Null once the project has left the list.
    const TSeqPrj* Project() const { return project_; }
    // Shows another project of the list, or names the same one anew.
    void ShowProject(TSeqPrj& project, const QString& projectName);
    // Follows the changes; tests wait for its Shown.
    TLiveRecompute& Live() const { return *live_; }

    void ShowLast(int periods);
    void ShowAll();
    void ShowRange(int from, int to);
    TPreset Preset() const { return preset_; }

    // What the window shows now; none when the table is empty or the
    // project cannot be evaluated.
    const std::optional<TBacktestReport>& Report() const { return report_; }

private:
    void BuildLayout();
    QWidget* BuildRangeRow();
    void Attach(TSeqPrj& project, const QString& projectName);
    void DrawsChanged();
    void ProjectListChanged(TPrjChange change, const TSeqPrj* project);
    // The project is gone: stop listening at once and say so.
    void Detach();
    // The range of the preset on the table as it is now.
    void SyncRange();
    void ApplyPreset();
    void RangeEdited(bool fromEdited);
    // Whether there is something to test; if not, the window says why.
    bool CanCompute();
    // At once (the user's own choice) or once the changes pause.
    void Recompute();
    void ScheduleRecompute();
    void Present(std::shared_ptr<const TBacktestView> view);
    void ShowFailure(const QString& message);
    void FillConditions(const TBacktestReport& report);
    void FillGroups(const TBacktestReport& report);
    void FillCharts(const TBacktestReport& report);
    int LastPeriod() const;

    TPrjMgr& projects_;
    TSeqPrj* project_ = nullptr;
    QString projectName_;
    int netListener_ = 0;
    int prjListener_ = 0;
    TPreset preset_ = TPreset::Last100;
    TLiveRecompute* live_ = nullptr;
    std::shared_ptr<const TBacktestView> view_;
    std::optional<TBacktestReport> report_;

    QSpinBox* FromEd = nullptr;
    QSpinBox* ToEd = nullptr;
    QPushButton* Last30Bt = nullptr;
    QPushButton* Last100Bt = nullptr;
    QPushButton* AllBt = nullptr;
    QLabel* SummaryLbl = nullptr;
    QLabel* CautionLbl = nullptr;
    TChart* toleranceChart_ = nullptr;
    TChart* rollingChart_ = nullptr;
    QTabWidget* Tabs = nullptr;
    QTableWidget* ConditionGrid = nullptr;
    QTableWidget* GroupGrid = nullptr;
    QTableView* PeriodGrid = nullptr;
    TPeriodTableModel* periodModel_ = nullptr;
};

}  // namespace tovarin
