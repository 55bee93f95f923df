#include "gui/mainwin/AnalysesActions.h"

#include <QAction>
#include <QColor>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>

#include "core/engine/Prj.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjLists.h"
#include "gui/mainwin/UserDialogs.h"

namespace tovarin {

TAnalysesActions::TAnalysesActions(TMainForm& form) : QObject(&form), form_(form) {
    const TMainActions& actions = form.Actions();
    Connect(*actions.ProjectMenuDouble, &TAnalysesActions::ProjectMenuDoubleClick);
    Connect(*actions.ProjectMenuSingle, &TAnalysesActions::ProjectMenuSingleClick);
    Connect(*actions.ProjectMenuHead, &TAnalysesActions::ProjectMenuHeadClick);
    Connect(*actions.ProjectMenuSmallBig, &TAnalysesActions::ProjectMenuSmallBigClick);
    Connect(*actions.ProjectMenuMissStat, &TAnalysesActions::ProjectMenuMissStatClick);
    Connect(*actions.ProjectMenuMissView, &TAnalysesActions::ProjectMenuMissViewClick);
    Connect(*actions.ProjectMenuVerify, &TAnalysesActions::ProjectMenuVerifyClick);
    Connect(*actions.ProjectMenuContrast, &TAnalysesActions::ProjectMenuContrastClick);
    Connect(*actions.ProjectMenuBaseCode, &TAnalysesActions::ProjectMenuBaseCodeClick);
}

void TAnalysesActions::Connect(QAction& action, void (TAnalysesActions::*handler)()) {
    connect(&action, &QAction::triggered, this,
            [this, handler] { form_.RunGuarded([this, handler] { (this->*handler)(); }); });
}

void TAnalysesActions::ShowAnalysis(TAnalysisKind kind) {
    const TSeqPrj* project = form_.SelectedPrj();
    if (project == nullptr) {
        return;
    }
    ShowLines(BuildAnalysis(kind, *project, form_.AppOptions()));
}

void TAnalysesActions::ShowLines(const std::vector<std::string>& lines) {
    TOutputArea& output = form_.Output();
    output.setTextCursor(QTextCursor(output.document()));
    output.ReplaceLines(lines);
}

void TAnalysesActions::ProjectMenuContrastClick() {
    std::vector<TSeqPrj*> projects = form_.Lists().SelectedPrjs();
    if (projects.size() < 2) {
        return;
    }
    ShowLines(ContrastReport(projects, form_.AppOptions()));
}

void TAnalysesActions::Verify(bool automatic) {
    const TSeqPrj* project = form_.SelectedPrj();
    if (project == nullptr) {
        return;
    }
    const std::string code = WinningCodeText(*project);
    if (code.empty()) {
        const QString text = QString::fromStdString(MissingDrawMessage(*project));
        if (automatic) {
            form_.SetStatusText(0, text);
        } else {
            form_.Dialogs().ShowMessage(&form_, text);
        }
        return;
    }
    TOutputArea& output = form_.Output();
    output.setUpdatesEnabled(false);
    ClearMarks(output);
    MarkWinningCode(output, QString::fromStdString(code));
    output.setTextCursor(QTextCursor(output.document()));
    output.setUpdatesEnabled(true);
}

void ClearMarks(QPlainTextEdit& area) {
    QTextCursor all(area.document());
    all.select(QTextCursor::Document);
    all.setCharFormat(QTextCharFormat());
}

void MarkWinningCode(QPlainTextEdit& area, const QString& code) {
    const std::string ascii = code.toStdString();
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    // The plain text has one unit per document position, a line break
    // included, so the positions found are the cursor's.
    const std::u16string text = area.toPlainText().toStdU16String();
    QTextCursor hit(area.document());
    for (size_t at : FindWinningCode(std::u16string_view(text), ascii)) {
        hit.setPosition(static_cast<int>(at));
        hit.setPosition(static_cast<int>(at + ascii.size()), QTextCursor::KeepAnchor);
        hit.mergeCharFormat(red);
    }
}

TAnalysesActions& InstallAnalyses(TMainForm& form) { return *new TAnalysesActions(form); }

}  // namespace tovarin
