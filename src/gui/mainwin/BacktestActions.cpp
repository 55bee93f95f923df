#include "gui/mainwin/BacktestActions.h"

#include <QAction>
#include <QStringList>

#include <exception>

#include "core/engine/Prj.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjLists.h"

namespace tovarin {
namespace {

constexpr const char* kReportOutdatedTip = "方案已修改，请重新筛选";

}  // namespace

TBacktestActions::TBacktestActions(TMainForm& form) : QObject(&form), form_(form) {
    connect(form.Actions().ProjectMenuBacktest, &QAction::triggered, this,
            [this] { form_.RunGuarded([this] { ProjectMenuBacktestClick(); }); });
    TOutputArea& output = form.Output();
    output.SetCodeTip([this](TCode code) { return CodeTip(code); });
    connect(&output, &TOutputArea::ReportShown, this, &TBacktestActions::ReportShown);
    connect(&form.Lists(), &TPrjLists::ProjectSelectionChanged, this,
            &TBacktestActions::FollowSelection);
    // A report stops belonging to a project that leaves the list, before
    // another project can take its place in memory. The window frees the
    // list before its children, this object among them, so the listener is
    // never called after this object is gone.
    form.PrjMgr().Subscribe([this, &output](TPrjChange change, const TSeqPrj* project) {
        if (change == TPrjChange::Reset ||
            (change == TPrjChange::Removed && project == output.ReportOwner())) {
            output.SetReportOwner(nullptr);
            reportRun_.reset();
        }
        if ((change == TPrjChange::Settings || change == TPrjChange::Conditions) &&
            project == output.ReportOwner()) {
            reportOutdated_ = true;
        }
        if (change == TPrjChange::Reset) {
            FollowSelection();
        }
    });
}

QString TBacktestActions::NameOf(const TSeqPrj& project) const {
    // Numbered as the document holds them, as the command line does.
    return QStringLiteral("方案%1").arg(form_.PrjMgr().IndexOfPrj(&project) + 1);
}

void TBacktestActions::ProjectMenuBacktestClick() {
    TSeqPrj* project = form_.SelectedPrj();
    if (project == nullptr) {
        return;
    }
    if (window_) {
        window_->ShowProject(*project, NameOf(*project));
    } else {
        window_ = new TBacktestForm(form_.PrjMgr(), *project, NameOf(*project), &form_);
    }
    if (window_->isMinimized()) {
        window_->showNormal();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void TBacktestActions::FollowSelection() {
    if (!window_) {
        return;
    }
    if (TSeqPrj* selected = form_.SelectedPrj(false)) {
        window_->ShowProject(*selected, NameOf(*selected));
    }
}

void TBacktestActions::ReportShown(const TSeqPrj* project) {
    reportRun_.reset();
    reportOutdated_ = false;
    TSeqPrj* selected = form_.SelectedPrj(false);
    if (selected == nullptr || selected != project) {
        return;
    }
    try {
        reportRun_ = EvaluateProject(*selected);
    } catch (const std::exception&) {
        // A project that cannot be evaluated explains nothing.
    }
}

QString TBacktestActions::CodeTip(TCode code) const {
    const TSeqPrj* owner = form_.Output().ReportOwner();
    if (owner == nullptr || owner != form_.SelectedPrj(false) || !reportRun_) {
        return {};
    }
    if (reportOutdated_) {
        return QString::fromUtf8(kReportOutdatedTip);
    }
    QStringList lines;
    for (const std::string& line : ExplainCodeLines(*reportRun_, code)) {
        lines << QString::fromStdString(line);
    }
    return lines.join(QLatin1Char('\n'));
}

TBacktestActions& InstallBacktest(TMainForm& form) { return *new TBacktestActions(form); }

}  // namespace tovarin
