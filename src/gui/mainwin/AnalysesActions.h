#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

#include "core/analyses/Analyses.h"

class QAction;
class QPlainTextEdit;

namespace tovarin {

class TMainForm;

// The analysis entries of the project menu (重对区分 to 基础号码): each reads
// the last run of the selected project and writes its report into the
// output area.
class TAnalysesActions : public QObject {
public:
    // Connects the form's analysis actions; the object lives as the form's
    // child.
    explicit TAnalysesActions(TMainForm& form);

    void ProjectMenuDoubleClick() { ShowAnalysis(TAnalysisKind::Double); }
    void ProjectMenuSingleClick() { ShowAnalysis(TAnalysisKind::Single); }
    void ProjectMenuHeadClick() { ShowAnalysis(TAnalysisKind::Head); }
    void ProjectMenuSmallBigClick() { ShowAnalysis(TAnalysisKind::SmallBig); }
    void ProjectMenuMissStatClick() { ShowAnalysis(TAnalysisKind::MissStat); }
    void ProjectMenuMissViewClick() { ShowAnalysis(TAnalysisKind::MissView); }
    void ProjectMenuBaseCodeClick() { ShowAnalysis(TAnalysisKind::BaseCode); }
    void ProjectMenuVerifyClick() { Verify(false); }
    // The verification that follows a run by itself (自动核对): a target
    // draw not yet in the table is said in the status line, not in a box.
    void VerifyAfterRun() { Verify(true); }
    void ProjectMenuContrastClick();

private:
    void Connect(QAction& action, void (TAnalysesActions::*handler)());
    void ShowAnalysis(TAnalysisKind kind);
    void Verify(bool automatic);
    // The common frame's last step: caret to the start, then the whole text
    // replaced in one piece.
    void ShowLines(const std::vector<std::string>& lines);

    TMainForm& form_;
};

// Gives the whole text of the area its default character attributes, which
// removes earlier marks.
void ClearMarks(QPlainTextEdit& area);
// Colours every occurrence of the code in the area's text red.
void MarkWinningCode(QPlainTextEdit& area, const QString& code);

// The one call the main window makes to bring these commands in.
TAnalysesActions& InstallAnalyses(TMainForm& form);

}  // namespace tovarin
