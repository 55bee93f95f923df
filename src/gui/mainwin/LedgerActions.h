#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

#include "core/app/OwnOptions.h"
#include "core/ledger/LedgerRecording.h"
#include "gui/ledger/LedgerForm.h"

namespace tovarin {

class TMainForm;
class TSeqPrj;

// The ledger's commands in the project menu: 记录预测 for the selected
// project's last run, the option 筛选后自动记录预测 (kept in the program's
// own options file), and the 成绩单 window; and the status that tells
// which entries a change of the draw table settled.
class TLedgerActions : public QObject {
    Q_OBJECT

public:
    // Connects the form's entries; the object lives as the form's child
    // and goes before the form's ledger and draw table.
    explicit TLedgerActions(TMainForm& form);
    ~TLedgerActions() override;

    void ProjectMenuRecordClick();
    void ProjectMenuLedgerClick();
    void SetAutoRecord(bool on);
    // The open window, or null.
    TLedgerForm* Window() const { return window_.data(); }
    // A command's report with what its change of the draw table settled,
    // so that the status shows both.
    QString WithSettlementNews(const QString& report) const;

private:
    // Records the project's run as one step of the undo history.
    void Record(TSeqPrj& project);
    void RunFinished(TSeqPrj* project, bool whole);
    void ExportCsv();
    void ClearLedger();
    std::string OptionsPath() const;
    void ShowSettlementNews(const QString& text);

    TMainForm& form_;
    TOwnOptions options_;
    std::unique_ptr<TSettlementWatch> watch_;
    QPointer<TLedgerForm> window_;
    QString freshNews_;  // what the last change settled, until the event loop turns
};

// The one call the main window makes to bring the ledger in.
TLedgerActions& InstallLedger(TMainForm& form);

}  // namespace tovarin
