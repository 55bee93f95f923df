#include "gui/mainwin/PrjListView.h"

#include <QHeaderView>

#include <algorithm>

#include "gui/mainwin/SelectionPalette.h"

namespace tovarin {

TPrjListView::TPrjListView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("ListView"));
    setColumnCount(4);
    setHeaderLabels({QStringLiteral("期号"), QStringLiteral("条件数"), QStringLiteral("容错值"),
                     QStringLiteral("结果")});
    setColumnWidth(0, 40);
    setColumnWidth(1, 55);
    setColumnWidth(2, 55);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(true);
    header()->setMinimumSectionSize(20);
    KeepSelectionVisible(*this);
}

TSeqPrj* TPrjListView::ProjectOf(const QTreeWidgetItem& item) {
    return static_cast<TSeqPrj*>(item.data(0, Qt::UserRole).value<void*>());
}

TSeqPrj* TPrjListView::ProjectAt(int index) const {
    const QTreeWidgetItem* line = topLevelItem(index);
    return line == nullptr ? nullptr : ProjectOf(*line);
}

QList<int> TPrjListView::SelectedIndexes() const {
    QList<int> indexes;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected()) {
            indexes.append(i);
        }
    }
    return indexes;
}

void TPrjListView::SelectOnly(int index) {
    clearSelection();
    if (QTreeWidgetItem* line = topLevelItem(index)) {
        setCurrentItem(line);
        line->setSelected(true);
    }
}

void TPrjListView::SortByColumn(int column) {
    QList<QTreeWidgetItem*> lines;
    QList<QTreeWidgetItem*> selected;
    QTreeWidgetItem* current = currentItem();
    for (int i = 0; i < topLevelItemCount(); ++i) {
        lines.append(topLevelItem(i));
        if (topLevelItem(i)->isSelected()) {
            selected.append(topLevelItem(i));
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [column](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return a->text(column).compare(b->text(column), Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker quiet(this);
    // All lines leave at once: taking them one by one is quadratic.
    invisibleRootItem()->takeChildren();
    addTopLevelItems(lines);
    if (current != nullptr) {
        setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    }
    for (QTreeWidgetItem* line : selected) {
        line->setSelected(true);
    }
}

}  // namespace tovarin
