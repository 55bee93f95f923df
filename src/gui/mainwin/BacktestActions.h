#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "core/engine/Code.h"
#include "gui/backtest/BacktestForm.h"

namespace tovarin {

class TMainForm;

// The 回测 entry of the project menu, the window it opens for the selected
// project, and the tool tip that says why a code of that project's report
// was eliminated.
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
    // shows the report of the one selected project.
    QString CodeTip(TCode code) const;

private:
    TMainForm& form_;
    QPointer<TBacktestForm> window_;
};

// The one call the main window makes to bring the backtest in.
TBacktestActions& InstallBacktest(TMainForm& form);

}  // namespace tovarin
