#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

#include "core/backtest/Evaluation.h"
#include "core/engine/Code.h"
#include "gui/backtest/BacktestForm.h"

namespace tovarin {

class TMainForm;

// The 回测 entry of the project menu, the window it opens, which follows the
// selected project, and the tool tip that says why a code of the report on
// screen was kept or eliminated.
class TBacktestActions : public QObject {
    Q_OBJECT

public:
    // Connects the form's entry and installs the tool tip; the object lives
    // as the form's child.
    explicit TBacktestActions(TMainForm& form);

    void ProjectMenuBacktestClick();
    // The open window, or null.
    TBacktestForm* Window() const { return window_.data(); }
    // The tool tip over a code of the output area: empty unless the area
    // shows the report of the one selected project; it answers from the run
    // that made the report, or says that the project changed since.
    QString CodeTip(TCode code) const;

private:
    // The window shows the one selected project, and numbers it anew when
    // the list is reordered.
    void FollowSelection();
    QString NameOf(const TSeqPrj& project) const;
    void ReportShown(const TSeqPrj* project);

    TMainForm& form_;
    QPointer<TBacktestForm> window_;
    // The run that made the report on screen, and whether its project has
    // changed since.
    std::optional<TEvaluation> reportRun_;
    bool reportOutdated_ = false;
};

// The one call the main window makes to bring the backtest in.
TBacktestActions& InstallBacktest(TMainForm& form);

}  // namespace tovarin
