#include "gui/mainwin/LedgerActions.h"

#include <QAction>
#include <QTimer>

#include <exception>

#include "core/base/DateTime.h"
#include "core/base/FileIO.h"
#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "gui/common/DocUndo.h"
#include "gui/common/QtText.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/UserDialogs.h"

namespace tovarin {

TLedgerActions::TLedgerActions(TMainForm& form)
    : QObject(&form), form_(form), options_(TOwnOptions::Load(OptionsPath())) {
    const TMainActions& actions = form.Actions();
    connect(actions.ProjectMenuRecord, &QAction::triggered, this,
            [this] { form_.RunGuarded([this] { ProjectMenuRecordClick(); }); });
    connect(actions.ProjectMenuLedger, &QAction::triggered, this,
            [this] { form_.RunGuarded([this] { ProjectMenuLedgerClick(); }); });
    actions.ProjectMenuAutoRecord->setCheckable(true);
    actions.ProjectMenuAutoRecord->setChecked(options_.Flag(TOwnOptions::kAutoRecord));
    connect(actions.ProjectMenuAutoRecord, &QAction::toggled, this,
            [this](bool on) { form_.RunGuarded([this, on] { SetAutoRecord(on); }); });
    connect(&form, &TMainForm::RunFinished, this, &TLedgerActions::RunFinished);
    watch_ = std::make_unique<TSettlementWatch>(
        form.Ledger(), form.CodeNet(),
        [this](const std::string& text) { ShowSettlementNews(Q(text)); });
}

void TLedgerActions::ShowSettlementNews(const QString& text) {
    form_.SetStatusText(0, text);
    // The command that brought the draws reports right after, in the same
    // turn of the event loop; until the loop turns, its report carries it.
    freshNews_ = text;
    QTimer::singleShot(0, this, [this] { freshNews_.clear(); });
}

QString TLedgerActions::WithSettlementNews(const QString& report) const {
    return freshNews_.isEmpty() ? report : report + QStringLiteral("；") + freshNews_;
}

TLedgerActions::~TLedgerActions() { delete window_.data(); }

std::string TLedgerActions::OptionsPath() const {
    return OwnOptionsFilePath(form_.AppInfo().AppDir);
}

void TLedgerActions::SetAutoRecord(bool on) {
    options_.SetFlag(TOwnOptions::kAutoRecord, on);
    options_.Save(OptionsPath());
}

void TLedgerActions::Record(TSeqPrj& project) {
    const int number = form_.PrjMgr().IndexOfPrj(&project) + 1;
    std::string status;
    form_.Care().Undo().Run(QStringLiteral("记录预测"), [&] {
        status = RecordedText(RecordPrediction(form_.Ledger(), project, number, Now()));
    });
    form_.SetStatusText(0, Q(status));
}

void TLedgerActions::ProjectMenuRecordClick() {
    if (TSeqPrj* project = form_.SelectedPrj()) {
        Record(*project);
    }
}

// After a whole run with the option on; a target already drawn is said in
// the status bar, as no one asked for this recording.
void TLedgerActions::RunFinished(TSeqPrj* project, bool whole) {
    if (!whole || project == nullptr || !options_.Flag(TOwnOptions::kAutoRecord)) {
        return;
    }
    try {
        Record(*project);
    } catch (const ELedgerError& error) {
        form_.SetStatusText(0, Q(error.what()));
    }
}

void TLedgerActions::ProjectMenuLedgerClick() {
    if (!window_) {
        window_ = new TLedgerForm(form_.Ledger(), form_.CodeNet(), &form_);
        connect(window_, &TLedgerForm::ExportRequested, this,
                [this] { form_.RunGuarded([this] { ExportCsv(); }); });
        connect(window_, &TLedgerForm::ClearRequested, this,
                [this] { form_.RunGuarded([this] { ClearLedger(); }); });
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void TLedgerActions::ExportCsv() {
    TFileDialogSpec spec;
    spec.Title = QStringLiteral("导出成绩单");
    spec.Filter = QStringLiteral("CSV文件 (*.csv)");
    spec.DefaultSuffix = QStringLiteral("csv");
    const QString path = form_.Dialogs().SaveFileName(window_, spec);
    if (!path.isEmpty()) {
        WriteFileAtomically(S(path), window_->CsvText());
    }
}

void TLedgerActions::ClearLedger() {
    const int count = form_.Ledger().Count();
    if (count == 0 ||
        !form_.Dialogs().AskYesNo(
            window_, QStringLiteral("清空成绩单"),
            QStringLiteral("确实要清空成绩单的全部%1条记录吗？指纹链将从第1条重新开始。")
                .arg(count))) {
        return;
    }
    form_.Care().Undo().Run(QStringLiteral("清空成绩单"), [this] { form_.Ledger().Clear(); });
    form_.SetStatusText(0, QStringLiteral("已清空成绩单的%1条记录，可撤销").arg(count));
}

TLedgerActions& InstallLedger(TMainForm& form) { return *new TLedgerActions(form); }

}  // namespace tovarin
