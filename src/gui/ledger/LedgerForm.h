#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "core/ledger/LedgerTable.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tovarin {

class TChart;
class TCodeNet;

// 成绩单: the recorded predictions, newest first, settled against the draw
// table, with the summary against picking at random, the state of the chain
// of hashes and the newest hash to publish, and the chart of cumulative
// hits against the expected ones with a band of two standard deviations.
// The window follows the ledger and the table; exporting and clearing are
// asked of whoever opened it.
class TLedgerForm : public QWidget {
    Q_OBJECT

public:
    // The ledger and the table must outlive the window.
    TLedgerForm(TLedger& ledger, TCodeNet& net, QWidget* parent = nullptr);
    ~TLedgerForm() override;

    // Only this project's entries (from 1); none: every project's.
    void ShowProject(std::optional<int> project);
    std::optional<int> ShownProject() const;
    // The shown lines as CSV (LedgerCsv).
    std::string CsvText() const;

signals:
    void ExportRequested();
    void ClearRequested();

private:
    void BuildLayout();
    void Refresh();
    void FillProjects();
    void FillChart(const std::vector<TCumulativePoint>& points);

    TLedger& ledger_;
    TCodeNet& net_;
    int ledgerListener_ = 0;
    int netListener_ = 0;

    QComboBox* ProjectCb = nullptr;
    QTableWidget* LedgerTbl = nullptr;
    QLabel* SummaryLbl = nullptr;
    QLabel* SampleLbl = nullptr;
    QLabel* ChainLbl = nullptr;
    QLineEdit* FingerprintEd = nullptr;
    QPushButton* ExportBt = nullptr;
    QPushButton* ClearBt = nullptr;
    TChart* Chart = nullptr;
};

}  // namespace tovarin
