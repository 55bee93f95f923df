// The project list and the condition list with their commands.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>

#include "core/draws/LawNet.h"
#include "core/engine/Bind.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/dialogs/PrjAtt.h"
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/UserDialogs.h"

namespace tovarin {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TMainForm::ConnectLists() {
    connect(ListView_, &QTreeWidget::itemSelectionChanged, this,
            [this] { RunGuarded([this] { ListViewSelectionChanged(); }); });
    connect(ListView_, &QTreeWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { ProjectMenuAttribClick(); }); });
    connect(ListView_->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { ListViewColumnClick(column); });
    connect(ListView_, &QWidget::customContextMenuRequested, this,
            [this] { PopUpAtCursor(*ProjectMenu); });
    connect(BindChkLbx_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        RunGuarded([this, item] { BindChkLbxClickCheck(BindChkLbx_->row(item)); });
    });
    connect(BindChkLbx_, &QListWidget::itemSelectionChanged, this,
            [this] { RunGuarded([this] { BindChkLbxClick(); }); });
    connect(BindChkLbx_, &QListWidget::itemDoubleClicked, this,
            [this] { RunGuarded([this] { EditMenuAttribClick(); }); });
    connect(BindChkLbx_, &QWidget::customContextMenuRequested, this,
            [this] { PopUpAtCursor(*EditMenu); });
    connect(OutPutMemo, &QWidget::customContextMenuRequested, this,
            [this] { PopUpAtCursor(*TextMenu); });
}

TSeqPrj* TMainForm::SelectedPrj(bool showMessage) {
    const QList<int> lines = ListView_->SelectedIndexes();
    if (lines.size() != 1) {
        if (showMessage) {
            dialogs_->ShowMessage(this, QString::fromUtf8(kSelectPrjText));
        }
        return nullptr;
    }
    return ListView_->ProjectAt(lines.first());
}

std::vector<TSeqPrj*> TMainForm::SelectedPrjs() const {
    std::vector<TSeqPrj*> projects;
    for (int line : ListView_->SelectedIndexes()) {
        projects.push_back(ListView_->ProjectAt(line));
    }
    return projects;
}

int TMainForm::SelectedBindIndex() const {
    const QList<QListWidgetItem*> selected = BindChkLbx_->selectedItems();
    return selected.isEmpty() ? -1 : BindChkLbx_->row(selected.first());
}

int TMainForm::AddPrjItem(const QString& text, TSeqPrj& project) {
    auto* line = new QTreeWidgetItem(
        QStringList{text, QStringLiteral("0"), QStringLiteral("1"), QStringLiteral(" ")});
    line->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(&project)));
    ListView_->addTopLevelItem(line);
    return ListView_->indexOfTopLevelItem(line);
}

void TMainForm::UpdatePrjItem(int index, TSeqPrj& project) {
    QTreeWidgetItem* line = ListView_->topLevelItem(index);
    if (line == nullptr) {
        return;
    }
    line->setText(0, QString::number(project.Options().TargetSeq));
    line->setText(1, QStringLiteral("%1/%2").arg(project.CheckedCount()).arg(project.BindCount()));
    line->setText(2, QString::number(project.Options().MissMax));
    line->setText(3, QString::fromUtf8(VerifyStateTexts.at(project.VerifyState())));
    RebuildBindList();
}

void TMainForm::SetBindLine(int row, int bindIndex) {
    TSeqPrj* project = SelectedPrj(false);
    QListWidgetItem* line = BindChkLbx_->item(row);
    if (project == nullptr || line == nullptr) {
        return;
    }
    const TBaseBind& bind = project->GetBind(bindIndex);
    const QSignalBlocker quiet(BindChkLbx_);
    line->setText(QString::fromStdString(bind.GetText()));
    line->setCheckState(bind.Checked ? Qt::Checked : Qt::Unchecked);
}

void TMainForm::RebuildBindList() {
    const QSignalBlocker quiet(BindChkLbx_);
    BindChkLbx_->clear();
    if (TSeqPrj* project = SelectedPrj(false)) {
        for (int i = 0; i < project->BindCount(); ++i) {
            auto* line = new QListWidgetItem(BindChkLbx_);
            line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            const TBaseBind& bind = project->GetBind(i);
            line->setText(QString::fromStdString(bind.GetText()));
            line->setCheckState(bind.Checked ? Qt::Checked : Qt::Unchecked);
        }
    }
    SyncMoveCommands();
}

void TMainForm::SelectBindLine(int row) {
    {
        const QSignalBlocker quiet(BindChkLbx_);
        BindChkLbx_->clearSelection();
        if (QListWidgetItem* line = BindChkLbx_->item(row)) {
            BindChkLbx_->setCurrentItem(line);
            line->setSelected(true);
        }
    }
    SyncMoveCommands();
}

void TMainForm::SyncMoveCommands() {
    FindAction(QStringLiteral("EditMenuUp"))->setEnabled(SelectedBindIndex() > 0);
}

void TMainForm::HideEditors() {
    codesForm_->hide();
    prjAttForm_->hide();
    bindAttForm_->hide();
}

void TMainForm::ListViewSelectionChanged() {
    RebuildBindList();
    if (ListView_->SelectedIndexes().size() == 1 && prjAttForm_->isVisible()) {
        prjAttForm_->ShowPrjAtt(SelectedPrj(false)->Options());
    }
}

void TMainForm::ListViewColumnClick(int column) {
    SortColumn = column;
    ListView_->SortByColumn(column);
}

void TMainForm::ProjectMenuCreateClick() {
    TSeqPrj* created = nullptr;
    care_->Run("创建方案", [this, &created] {
        created = &prjMgr_->AddPrj(std::make_unique<TSeqPrj>(*codeNet_));
    });
    ListView_->clearSelection();
    TSeqPrj& project = *created;
    const int line = AddPrjItem(QString::number(project.Options().TargetSeq), project);
    UpdatePrjItem(line, project);
    // The target's bounds follow the table, as for the settings command, so
    // that a new project's target is not clamped to an older table's end.
    prjAttForm_->SetTargetSeqBounds(codeNet_->Count() + codeNet_->FirstPeriod());
    prjAttForm_->ShowPrjAtt(project.Options());
    prjMgr_->Modified = true;
    ListView_->SelectOnly(line);
    RefreshWindowState();
}

void TMainForm::ProjectMenuDelClick() {
    const QList<int> lines = ListView_->SelectedIndexes();
    if (lines.isEmpty()) {
        return;
    }
    HideEditors();
    int lastRemoved = -1;
    care_->Run("删除方案", [&] {
        const QSignalBlocker quiet(ListView_);
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            const int index = prjMgr_->IndexOfPrj(ListView_->ProjectAt(lines[i]));
            delete ListView_->takeTopLevelItem(lines[i]);
            prjMgr_->Del(index);
            lastRemoved = index;
        }
    });
    {
        const QSignalBlocker quiet(BindChkLbx_);
        BindChkLbx_->clear();
    }
    if (lastRemoved >= 0 && lastRemoved < ListView_->LineCount()) {
        ListView_->SelectOnly(lastRemoved);
    } else if (ListView_->LineCount() > 0) {
        ListView_->SelectOnly(0);
    }
    RebuildBindList();
    AutoCalc();
    prjMgr_->Modified = true;
    RefreshWindowState();
    SetStatusText(0, Q(DeletedPrjsText(static_cast<int>(lines.size()))));
}

void TMainForm::ProjectMenuClearClick() {
    if (ListView_->LineCount() == 0) {
        return;
    }
    HideEditors();
    {
        const QSignalBlocker quiet(BindChkLbx_);
        BindChkLbx_->clear();
    }
    const int count = prjMgr_->PrjCount();
    care_->Run("清空方案", [this] {
        {
            const QSignalBlocker quiet(ListView_);
            ListView_->clear();
        }
        prjMgr_->ClearPrjs();
    });
    prjMgr_->Modified = true;
    RefreshWindowState();
    SetStatusText(0, Q(ClearedPrjsText(count)));
}

void TMainForm::ProjectMenuAttribClick() {
    if (prjAttForm_->isVisible()) {
        prjAttForm_->hide();
        return;
    }
    TSeqPrj* project = SelectedPrj(false);
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
    prjMgr_->Modified = true;
    UpdatePrjItem(ListView_->SelectedIndexes().first(), *project);
    AutoCalc();
    RefreshWindowState();
}

void TMainForm::BindKindItemClick(int kind) {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    std::unique_ptr<TBaseBind> bind = CreateBind(kind, project->Options());
    if (!bind) {
        return;
    }
    bind->Checked = true;
    TBaseBind* created = nullptr;
    care_->Run("创建条件", [&] { created = &project->AddBind(std::move(bind)); });
    TBaseBind& added = *created;
    UpdatePrjItem(ListView_->SelectedIndexes().first(), *project);
    const int last = BindChkLbx_->count() - 1;
    {
        const QSignalBlocker quiet(BindChkLbx_);
        BindChkLbx_->item(last)->setCheckState(Qt::Checked);
    }
    SelectBindLine(last);
    bindAttForm_->ShowBind(&added);
    prjMgr_->Modified = true;
    RefreshWindowState();
}

void TMainForm::BindChkLbxClick() {
    const int row = SelectedBindIndex();
    SyncMoveCommands();
    if (row < 0) {
        return;
    }
    if (bindAttForm_->isVisible()) {
        if (TSeqPrj* project = SelectedPrj(false)) {
            bindAttForm_->ShowBind(&project->GetBind(row));
        }
    }
    SetStatusText(0, BindChkLbx_->item(row)->text());
}

void TMainForm::BindChkLbxClickCheck(int row) {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr || row < 0) {
        return;
    }
    TBaseBind& bind = project->GetBind(row);
    const bool checked = BindChkLbx_->item(row)->checkState() == Qt::Checked;
    if (bind.Checked == checked) {
        return;  // the text changed, not the box
    }
    care_->Run(checked ? "勾选条件" : "取消勾选条件", [&] { bind.Checked = checked; });
    UpdatePrjItem(ListView_->SelectedIndexes().first(), *project);
    AutoCalc();
    prjMgr_->Modified = true;
    RefreshWindowState();
}

void TMainForm::EditMenuDelClick() {
    const int row = SelectedBindIndex();
    TSeqPrj* project = SelectedPrj(false);
    if (row < 0 || project == nullptr) {
        return;
    }
    care_->Run("删除条件", [&] {
        {
            const QSignalBlocker quiet(BindChkLbx_);
            delete BindChkLbx_->takeItem(row);
        }
        project->Del(row);
    });
    SelectBindLine(row);
    BindChkLbxClick();
    AutoCalc();
    prjMgr_->Modified = true;
    UpdatePrjItem(ListView_->SelectedIndexes().first(), *project);
    RefreshWindowState();
}

void TMainForm::EditMenuClearClick() {
    bindAttForm_->hide();
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    const int count = project->BindCount();
    care_->Run("清空条件", [&] { project->ClearBinds(); });
    {
        const QSignalBlocker quiet(BindChkLbx_);
        BindChkLbx_->clear();
    }
    if (appOptions_.AutoCalcChk) {
        OutPutMemo->clear();
    }
    prjMgr_->Modified = true;
    UpdatePrjItem(ListView_->SelectedIndexes().first(), *project);
    RefreshWindowState();
    if (count > 0) {
        SetStatusText(0, Q(ClearedBindsText(count)));
    }
}

void TMainForm::EditMenuSelAllClick() {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("全选条件", [project] {
        for (int i = 0; i < project->BindCount(); ++i) {
            project->GetBind(i).Checked = true;
        }
    });
    UpdatePrjItem(ListView_->SelectedIndexes().first(), *project);
    AutoCalc();
    prjMgr_->Modified = true;
    RefreshWindowState();
}

void TMainForm::EditMenuSelInvClick() {
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("反选条件", [project] {
        for (int i = 0; i < project->BindCount(); ++i) {
            TBaseBind& bind = project->GetBind(i);
            bind.Checked = !bind.Checked;
        }
    });
    UpdatePrjItem(ListView_->SelectedIndexes().first(), *project);
    AutoCalc();
    prjMgr_->Modified = true;
    RefreshWindowState();
}

void TMainForm::EditMenuUpClick() {
    const int row = SelectedBindIndex();
    if (row <= 0) {
        return;
    }
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("上移条件", [&] { project->ExChange(row, row - 1); });
    SetBindLine(row, row);
    SetBindLine(row - 1, row - 1);
    SelectBindLine(row - 1);
    AutoCalc();
    prjMgr_->Modified = true;
    RefreshWindowState();
}

void TMainForm::EditMenuDownClick() {
    const int row = SelectedBindIndex();
    if (row < 0 || row + 1 >= BindChkLbx_->count()) {
        return;
    }
    TSeqPrj* project = SelectedPrj();
    if (project == nullptr) {
        return;
    }
    care_->Run("下移条件", [&] { project->ExChange(row, row + 1); });
    SetBindLine(row, row);
    SetBindLine(row + 1, row + 1);
    SelectBindLine(row + 1);
    AutoCalc();
    prjMgr_->Modified = true;
    RefreshWindowState();
}

void TMainForm::EditMenuAttribClick() {
    if (bindAttForm_->isVisible()) {
        bindAttForm_->hide();
        return;
    }
    const int row = SelectedBindIndex();
    TSeqPrj* project = SelectedPrj(false);
    bindAttForm_->ShowBind(row >= 0 && project != nullptr ? &project->GetBind(row) : nullptr);
}

void TMainForm::BindAttApply() {
    TSeqPrj* project = SelectedPrj();
    const int row = SelectedBindIndex();
    const TBaseBind* work = bindAttForm_->WorkBind();
    if (project == nullptr || row < 0 || work == nullptr) {
        return;
    }
    const bool checked = BindChkLbx_->item(row)->checkState() == Qt::Checked;
    care_->Run("修改条件", [&] {
        if (project->GetBind(row).Kind() == work->Kind()) {
            project->GetBind(row).Assign(*work);
        } else {
            std::unique_ptr<TBaseBind> replacement = CreateBind(work->Kind(), project->Options());
            replacement->Assign(*work);
            project->SetBind(row, std::move(replacement));
        }
        project->GetBind(row).Checked = checked;
    });
    TBaseBind& bind = project->GetBind(row);
    // Marked before a re-run, so the run evaluates the new parameters.
    bind.Dirty = true;
    SetBindLine(row, row);
    AutoCalc();
    prjMgr_->Modified = true;
    RefreshWindowState();
}

}  // namespace tovarin
