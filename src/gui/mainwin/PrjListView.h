#pragma once

#include <QTreeWidget>

namespace tovarin {

class TSeqPrj;

// The project list view: one line per project, the project as the line's
// data. Sorting reorders the lines once; new lines are appended at the end.
class TPrjListView : public QTreeWidget {
    Q_OBJECT

public:
    explicit TPrjListView(QWidget* parent);

    static TSeqPrj* ProjectOf(const QTreeWidgetItem& item);
    TSeqPrj* ProjectAt(int index) const;
    int LineCount() const { return topLevelItemCount(); }
    QList<int> SelectedIndexes() const;
    void SelectOnly(int index);

    // Ascending by the column's text, letter case ignored ("10" before "9");
    // lines with equal texts keep their order, selected lines stay selected.
    void SortByColumn(int column);
};

}  // namespace tovarin
