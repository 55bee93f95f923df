#include "gui/mainwin/BacktestActions.h"

#include <QAction>
#include <QStringList>

#include <exception>

#include "core/backtest/Evaluation.h"
#include "core/engine/Prj.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"

namespace tovarin {

TBacktestActions::TBacktestActions(TMainForm& form) : QObject(&form), form_(form) {
    connect(form.Actions().ProjectMenuBacktest, &QAction::triggered, this,
            [this] { form_.RunGuarded([this] { ProjectMenuBacktestClick(); }); });
    TOutputArea& output = form.Output();
    output.SetCodeTip([this](TCode code) { return CodeTip(code); });
    // A report stops belonging to a project that leaves the list, before
    // another project can take its place in memory. The window frees the
    // list before its children, this object among them, so the listener is
    // never called after this object is gone.
    form.PrjMgr().Subscribe([&output](TPrjChange change, const TSeqPrj* project) {
        if (change == TPrjChange::Reset ||
            (change == TPrjChange::Removed && project == output.ReportOwner())) {
            output.SetReportOwner(nullptr);
        }
    });
}

void TBacktestActions::ProjectMenuBacktestClick() {
    TSeqPrj* project = form_.SelectedPrj();
    if (project == nullptr) {
        return;
    }
    if (window_ && window_->Project() != project) {
        delete window_.data();
    }
    if (!window_) {
        // Numbered as the document holds them, as the command line does.
        const int number = form_.PrjMgr().IndexOfPrj(project) + 1;
        window_ = new TBacktestForm(form_.PrjMgr(), *project, QStringLiteral("方案%1").arg(number),
                                    &form_);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

QString TBacktestActions::CodeTip(TCode code) const {
    const TSeqPrj* owner = form_.Output().ReportOwner();
    TSeqPrj* selected = form_.SelectedPrj(false);
    if (owner == nullptr || owner != selected) {
        return {};
    }
    try {
        QStringList lines;
        for (const std::string& line : ExplainCodeLines(EvaluateProject(*selected), code)) {
            lines << QString::fromStdString(line);
        }
        return lines.join(QLatin1Char('\n'));
    } catch (const std::exception&) {
        // A project that cannot be evaluated explains nothing.
        return {};
    }
}

TBacktestActions& InstallBacktest(TMainForm& form) { return *new TBacktestActions(form); }

}  // namespace tovarin
