#include "gui/mainwin/BacktestActions.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QStringList>

#include <exception>

#include "core/app/AppInfo.h"
#include "core/backtest/Evaluation.h"
#include "core/engine/Prj.h"
#include "gui/backtest/BacktestForm.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"

namespace tovarin {

TBacktestActions::TBacktestActions(TMainForm& form) : QObject(&form), form_(form) {
    ProjectMenuBacktest = new QAction(QStringLiteral("回测(&B)..."), &form);
    ProjectMenuBacktest->setObjectName(QStringLiteral("ProjectMenuBacktest"));
    ProjectMenuBacktest->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    ProjectMenuBacktest->setToolTip(QStringLiteral("方案回测"));
    ProjectMenuBacktest->setStatusTip(
        QStringLiteral("检验当前方案在过去各期能否选中中奖号码，并与随机选号比较"));
    connect(ProjectMenuBacktest, &QAction::triggered, this,
            [this] { form_.RunGuarded([this] { ProjectMenuBacktestClick(); }); });
    QMenu& menu = *form.FindMenu(QStringLiteral("ProjectMenu"));
    const QList<QAction*> entries = menu.actions();
    const qsizetype calcAll =
        entries.indexOf(form.FindAction(QStringLiteral("ProjectMenuCalcAll")));
    menu.insertAction(entries.value(calcAll + 1), ProjectMenuBacktest);

    form.Output().SetCodeTip([this](TCode code) { return CodeTip(code); });
    // The projects go before the draw table does: the window goes first.
    connect(&form, &TMainForm::WorkspaceClearing, this, [this] { delete window_.data(); });
    WatchProjectEdits();
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

void TBacktestActions::WatchProjectEdits() {
    for (QAbstractItemModel* model : {form_.ListView().model(), form_.BindChkLbx().model()}) {
        connect(model, &QAbstractItemModel::dataChanged, this,
                &TBacktestActions::ScheduleProjectCheck);
        connect(model, &QAbstractItemModel::rowsInserted, this,
                &TBacktestActions::ScheduleProjectCheck);
        connect(model, &QAbstractItemModel::rowsRemoved, this,
                &TBacktestActions::ScheduleProjectCheck);
        connect(model, &QAbstractItemModel::modelReset, this,
                &TBacktestActions::ScheduleProjectCheck);
    }
}

void TBacktestActions::ScheduleProjectCheck() {
    if (checkPending_ || !window_) {
        return;
    }
    checkPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkPending_ = false;
            if (window_) {
                window_->ProjectChanged();
            }
        },
        Qt::QueuedConnection);
}

TBacktestActions& InstallBacktest(TMainForm& form) { return *new TBacktestActions(form); }

}  // namespace tovarin
