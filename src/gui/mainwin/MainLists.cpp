// The commands of the project list and the condition list. They change the
// document only; the lists and the modified mark follow its notifications.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

#include "core/draws/LawNet.h"
#include "core/engine/Bind.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/dialogs/PrjAtt.h"
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "gui/mainwin/UserDialogs.h"

namespace tovarin {

void TMainForm::ConnectLists() {
    TPrjListView& projects = lists_->ProjectView();
    QListWidget& conditions = lists_->ConditionView();
    connect(lists_, &TPrjLists::ProjectSelectionChanged, this,
            [this] { RunGuarded([this] { ProjectSelectionChanged(); }); });
    connect(&projects, &QTreeWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { ProjectMenuAttribClick(); }); });
    connect(projects.header(), &QHeaderView::sectionClicked, lists_, &TPrjLists::SortByColumn);
    connect(&projects, &QWidget::customContextMenuRequested, this,
            [this] { PopUpAtCursor(*ProjectMenu); });
    connect(lists_, &TPrjLists::ConditionBoxClicked, this, [this](int row, bool checked) {
        RunGuarded([this, row, checked] { BindChkLbxClickCheck(row, checked); });
    });
    connect(lists_, &TPrjLists::ConditionSelectionChanged, this, &TMainForm::SyncMoveCommands);
    connect(&conditions, &QListWidget::itemSelectionChanged, this,
            [this] { RunGuarded([this] { BindChkLbxClick(); }); });
    connect(&conditions, &QListWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { EditMenuAttribClick(); }); });
    connect(&conditions, &QWidget::customContextMenuRequested, this,
            [this] { PopUpAtCursor(*EditMenu); });
    connect(OutPutMemo, &QWidget::customContextMenuRequested, this,
            [this] { PopUpAtCursor(*TextMenu); });
    prjListener_ = prjMgr_->Subscribe([this](TPrjChange change, const TSeqPrj*) {
        if (change != TPrjChange::Verdict) {
            ShowModifiedState();
        }
    });
}

TSeqPrj* TMainForm::SelectedPrj(bool showMessage) {
    TSeqPrj* project = lists_->SelectedPrj();
    if (project == nullptr && showMessage) {
        dialogs_->ShowMessage(this, QString::fromUtf8(kSelectPrjText));
    }
    return project;
}

void TMainForm::SyncMoveCommands() {
    actions_.EditMenuUp->setEnabled(lists_->SelectedBindIndex() > 0);
}

void TMainForm::HideEditors() {
    codesForm_->hide();
    prjAttForm_->hide();
    bindAttForm_->hide();
}

void TMainForm::ProjectSelectionChanged() {
    if (prjAttForm_->isVisible()) {
        if (const TSeqPrj* project = lists_->SelectedPrj()) {
            prjAttForm_->ShowPrjAtt(project->Options());
        }
    }
}

void TMainForm::ProjectMenuCreateClick() {
    TSeqPrj* created = nullptr;
    care_->Run("创建方案", [this, &created] {
        created = &prjMgr_->AddPrj(std::make_unique<TSeqPrj>(*codeNet_));
    });
    lists_->ProjectView().clearSelection();
    TSeqPrj& project = *created;
    // The target's bounds follow the table, as for the settings command, so
    // that a new project's target is not clamped to an older table's end.
    prjAttForm_->SetTargetSeqBounds(codeNet_->Count() + codeNet_->FirstPeriod());
    prjAttForm_->ShowPrjAtt(project.Options());
    lists_->SelectOnlyLine(lists_->LineOf(project));
}

void TMainForm::ProjectMenuDelClick() {
    const std::vector<TSeqPrj*> selected = lists_->SelectedPrjs();
    if (selected.empty()) {
        return;
    }
    HideEditors();
    // The line that comes to stand where the first removed one stood takes
    // the selection; the first line when none does.
    const int firstLine = lists_->LineOf(*selected.front());
    care_->Run(kDelPrjsStep, [&] {
        for (TSeqPrj* project : selected) {
            prjMgr_->Del(prjMgr_->IndexOfPrj(project));
        }
    });
    const int remaining = lists_->ProjectView().LineCount();
    if (firstLine < remaining) {
        lists_->SelectOnlyLine(firstLine);
    } else if (remaining > 0) {
        lists_->SelectOnlyLine(0);
    }
    AutoCalc();
    SetStatusText(0, Q(DeletedPrjsText(static_cast<int>(selected.size()))));
}

void TMainForm::ProjectMenuClearClick() {
    if (prjMgr_->PrjCount() == 0) {
        return;
    }
    HideEditors();
    const int count = prjMgr_->PrjCount();
    care_->Run(kClearPrjsStep, [this] { prjMgr_->ClearPrjs(); });
    SetStatusText(0, Q(ClearedPrjsText(count)));
}

void TMainForm::ProjectMenuAttribClick() {
    if (prjAttForm_->isVisible()) {
        prjAttForm_->hide();
        return;
    }
    const TSeqPrj* project = lists_->SelectedPrj();
    if (project == nullptr) {
        return;
    }
    prjAttForm_->SetTargetSeqBounds(codeNet_->Count() + codeNet_->FirstPeriod());
    prjAttForm_->ShowPrjAtt(project->Options());
}

void TMainForm::PrjAttApply() {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("修改方案属性", [&] { project->SetOptions(prjAttForm_->PrjOptions()); });
    AutoCalc();
}

void TMainForm::BindKindItemClick(int kind, const std::string& param) {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    std::unique_ptr<TBaseBind> bind = CreateBind(kind, project->Options());
    if (!bind) {
        return;
    }
    bind->Checked = true;
    if (!param.empty()) {
        bind->SetParam(param);
    }
    TBaseBind* created = nullptr;
    care_->Run("创建条件", [&] { created = &project->AddBind(std::move(bind)); });
    TBaseBind& added = *created;
    lists_->SelectBindLine(project->BindCount() - 1);
    bindAttForm_->ShowBind(&added);
}

void TMainForm::BindChkLbxClick() {
    const int row = lists_->SelectedBindIndex();
    if (row < 0) {
        return;
    }
    if (bindAttForm_->isVisible()) {
        if (TSeqPrj* project = lists_->SelectedPrj()) {
            bindAttForm_->ShowBind(&project->GetBind(row));
        }
    }
    SetStatusText(0, lists_->ConditionView().item(row)->text());
}

void TMainForm::BindChkLbxClickCheck(int row, bool checked) {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run(checked ? "勾选条件" : "取消勾选条件", [&] { project->SetChecked(row, checked); });
    AutoCalc();
}

void TMainForm::EditMenuDelClick() {
    const int row = lists_->SelectedBindIndex();
    TSeqPrj* project = lists_->SelectedPrj();
    if (row < 0 || project == nullptr) {
        return;
    }
    care_->Run("删除条件", [&] { project->Del(row); });
    // The line that moved up is shown, then no line stays selected.
    lists_->SelectBindLine(row);
    BindChkLbxClick();
    AutoCalc();
    lists_->RebuildBindList();
}

void TMainForm::EditMenuClearClick() {
    bindAttForm_->hide();
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    const int count = project->BindCount();
    care_->Run("清空条件", [project] { project->ClearBinds(); });
    if (appOptions_.AutoCalcChk) {
        OutPutMemo->clear();
    }
    if (count > 0) {
        SetStatusText(0, Q(ClearedBindsText(count)));
    }
}

void TMainForm::EditMenuSelAllClick() {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("全选条件", [project] { project->CheckAll(); });
    AutoCalc();
}

void TMainForm::EditMenuSelInvClick() {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("反选条件", [project] { project->InvertChecks(); });
    AutoCalc();
}

void TMainForm::EditMenuUpClick() {
    const int row = lists_->SelectedBindIndex();
    if (row <= 0) {
        return;
    }
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("上移条件", [&] { project->ExChange(row, row - 1); });
    lists_->SelectBindLine(row - 1);
    AutoCalc();
}

void TMainForm::EditMenuDownClick() {
    const int row = lists_->SelectedBindIndex();
    if (row < 0 || row + 1 >= lists_->ConditionView().count()) {
        return;
    }
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("下移条件", [&] { project->ExChange(row, row + 1); });
    lists_->SelectBindLine(row + 1);
    AutoCalc();
}

void TMainForm::EditMenuAttribClick() {
    if (bindAttForm_->isVisible()) {
        bindAttForm_->hide();
        return;
    }
    const int row = lists_->SelectedBindIndex();
    TSeqPrj* project = lists_->SelectedPrj();
    bindAttForm_->ShowBind(row >= 0 && project != nullptr ? &project->GetBind(row) : nullptr);
}

void TMainForm::BindAttApply() {
    TSeqPrj* project = SelectedPrj();
    const int row = lists_->SelectedBindIndex();
    const TBaseBind* work = bindAttForm_->WorkBind();
    if (project == nullptr || row < 0 || work == nullptr) {
        return;
    }
    care_->Run("修改条件", [&] { project->AssignBind(row, *work); });
    AutoCalc();
}

}  // namespace tovarin
