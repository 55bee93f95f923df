#include "gui/mainwin/PrjLists.h"

#include <QListWidget>
#include <QSignalBlocker>

#include "core/engine/Bind.h"
#include "gui/mainwin/PrjListView.h"

namespace tovarin {

namespace {

void ShowBind(QListWidgetItem& line, const TBaseBind& bind) {
    line.setText(QString::fromStdString(bind.GetText()));
    line.setCheckState(bind.Checked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace

TPrjLists::TPrjLists(TPrjMgr& projects, QWidget& parent)
    : QObject(&parent),
      projects_(projects),
      projectView_(new TPrjListView(&parent)),
      conditionView_(new QListWidget(&parent)) {
    setObjectName(QStringLiteral("PrjLists"));
    conditionView_->setObjectName(QStringLiteral("BindChkLbx"));
    conditionView_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(projectView_, &QTreeWidget::itemSelectionChanged, this, [this] {
        RebuildBindList();
        emit ProjectSelectionChanged();
    });
    connect(conditionView_, &QListWidget::itemSelectionChanged, this,
            &TPrjLists::ConditionSelectionChanged);
    connect(conditionView_, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { ConditionItemChanged(conditionView_->row(item)); });
    token_ = projects_.Subscribe(
        [this](TPrjChange change, const TSeqPrj* project) { PrjChanged(change, project); });
    Fill();
}

TPrjLists::~TPrjLists() { projects_.Unsubscribe(token_); }

TSeqPrj* TPrjLists::SelectedPrj() const {
    const QList<QTreeWidgetItem*> selected = projectView_->selectedItems();
    return selected.size() == 1 ? TPrjListView::ProjectOf(*selected.first()) : nullptr;
}

std::vector<TSeqPrj*> TPrjLists::SelectedPrjs() const {
    std::vector<TSeqPrj*> projects;
    for (int line : projectView_->SelectedIndexes()) {
        projects.push_back(projectView_->ProjectAt(line));
    }
    return projects;
}

int TPrjLists::LineOf(const TSeqPrj& project) const {
    QTreeWidgetItem* line = lines_.value(&project);
    return line == nullptr ? -1 : projectView_->indexOfTopLevelItem(line);
}

void TPrjLists::SelectOnlyLine(int line) { projectView_->SelectOnly(line); }

int TPrjLists::SelectedBindIndex() const {
    const QList<QListWidgetItem*> selected = conditionView_->selectedItems();
    return selected.isEmpty() ? -1 : conditionView_->row(selected.first());
}

void TPrjLists::SelectBindLine(int row) {
    {
        const QSignalBlocker quiet(conditionView_);
        conditionView_->clearSelection();
        if (QListWidgetItem* line = conditionView_->item(row)) {
            conditionView_->setCurrentItem(line);
            line->setSelected(true);
        }
    }
    emit ConditionSelectionChanged();
}

void TPrjLists::RebuildBindList() {
    {
        const QSignalBlocker quiet(conditionView_);
        conditionView_->clear();
        if (const TSeqPrj* project = SelectedPrj()) {
            for (int i = 0; i < project->BindCount(); ++i) {
                auto* line = new QListWidgetItem(conditionView_);
                line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
                ShowBind(*line, project->GetBind(i));
            }
        }
    }
    emit ConditionSelectionChanged();
}

void TPrjLists::SyncBindList() {
    const TSeqPrj* project = SelectedPrj();
    if (project == nullptr || project->BindCount() != conditionView_->count()) {
        RebuildBindList();
        return;
    }
    const QSignalBlocker quiet(conditionView_);
    for (int i = 0; i < project->BindCount(); ++i) {
        ShowBind(*conditionView_->item(i), project->GetBind(i));
    }
}

void TPrjLists::SortByColumn(int column) { projectView_->SortByColumn(column); }

void TPrjLists::ConditionItemChanged(int row) {
    const TSeqPrj* project = SelectedPrj();
    if (project == nullptr || row < 0 || row >= project->BindCount()) {
        return;
    }
    const bool checked = conditionView_->item(row)->checkState() == Qt::Checked;
    // The text changed, not the box.
    if (project->GetBind(row).Checked != checked) {
        emit ConditionBoxClicked(row, checked);
    }
}

QTreeWidgetItem* TPrjLists::MakeLine(TSeqPrj& project) {
    auto* line = new QTreeWidgetItem();
    line->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(&project)));
    ShowPrj(*line, project);
    lines_.insert(&project, line);
    return line;
}

void TPrjLists::ShowPrj(QTreeWidgetItem& line, const TSeqPrj& project) {
    line.setText(0, QString::number(project.Options().TargetSeq));
    line.setText(1, QStringLiteral("%1/%2").arg(project.CheckedCount()).arg(project.BindCount()));
    line.setText(2, QString::number(project.Options().MissMax));
    line.setText(3, QString::fromUtf8(VerifyStateTexts.at(project.VerifyState())));
}

void TPrjLists::Fill() {
    {
        const QSignalBlocker quietProjects(projectView_);
        const QSignalBlocker quietConditions(conditionView_);
        conditionView_->clear();
        projectView_->clear();
        lines_.clear();
        lines_.reserve(projects_.PrjCount());
        QList<QTreeWidgetItem*> lines;
        lines.reserve(projects_.PrjCount());
        for (int i = 0; i < projects_.PrjCount(); ++i) {
            lines.append(MakeLine(projects_.GetSeqPrj(i)));
        }
        projectView_->addTopLevelItems(lines);
    }
    emit ConditionSelectionChanged();
}

void TPrjLists::PrjChanged(TPrjChange change, const TSeqPrj* project) {
    switch (change) {
        case TPrjChange::Reset:
            Fill();
            return;
        case TPrjChange::Added:
            // A project joins at the end of the list.
            projectView_->addTopLevelItem(MakeLine(projects_.GetSeqPrj(projects_.PrjCount() - 1)));
            return;
        case TPrjChange::Removed: {
            {
                const QSignalBlocker quiet(projectView_);
                delete lines_.take(project);
            }
            RebuildBindList();
            return;
        }
        case TPrjChange::Sections:
            return;
        case TPrjChange::Settings:
        case TPrjChange::Conditions:
        case TPrjChange::Verdict:
            break;
    }
    if (QTreeWidgetItem* line = lines_.value(project)) {
        ShowPrj(*line, *project);
    }
    if (change == TPrjChange::Conditions && project == SelectedPrj()) {
        SyncBindList();
    }
}

}  // namespace tovarin
