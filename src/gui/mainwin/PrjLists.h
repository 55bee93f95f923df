#pragma once

#include <QHash>
#include <QObject>

#include <vector>

#include "core/engine/Prj.h"

class QListWidget;
class QTreeWidgetItem;
class QWidget;

namespace tovarin {

class TPrjListView;

// The project list and the condition list of the selected project, kept in
// step with the project list of the document: they hear its changes, so a
// command only changes the document and chooses what to select.
class TPrjLists : public QObject {
    Q_OBJECT

public:
    // The two views are made as children of the parent.
    TPrjLists(TPrjMgr& projects, QWidget& parent);
    ~TPrjLists() override;

    TPrjListView& ProjectView() const { return *projectView_; }
    QListWidget& ConditionView() const { return *conditionView_; }

    // The project of the only selected line; null unless exactly one line
    // is selected.
    TSeqPrj* SelectedPrj() const;
    // The projects of the selected lines, in view order.
    std::vector<TSeqPrj*> SelectedPrjs() const;
    // The line a project stands on, or -1.
    int LineOf(const TSeqPrj& project) const;
    void SelectOnlyLine(int line);
    // The row of the selected condition, or -1.
    int SelectedBindIndex() const;
    void SelectBindLine(int row);
    // Builds the condition list of the selected project anew; no condition
    // stays selected.
    void RebuildBindList();
    void SortByColumn(int column);

signals:
    // The selection of the project list changed; the condition list shows
    // the newly selected project already.
    void ProjectSelectionChanged();
    // The selected condition may be another one (or none).
    void ConditionSelectionChanged();
    // The user ticked or cleared the box of a condition line.
    void ConditionBoxClicked(int row, bool checked);

private:
    void PrjChanged(TPrjChange change, const TSeqPrj* project);
    QTreeWidgetItem* MakeLine(TSeqPrj& project);
    // Every project's line in one batch, in the list's order.
    void Fill();
    void ShowPrj(QTreeWidgetItem& line, const TSeqPrj& project);
    // The condition lines show the project's conditions again, in place
    // while their number is the same.
    void SyncBindList();
    void ConditionItemChanged(int row);

    TPrjMgr& projects_;
    TPrjListView* projectView_;
    QListWidget* conditionView_;
    QHash<const TSeqPrj*, QTreeWidgetItem*> lines_;
    int token_ = 0;
};

}  // namespace tovarin
