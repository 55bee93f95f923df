#pragma once

#include <QAbstractTableModel>

#include "core/stats/HistoryStats.h"

namespace tovarin {

// How far an item's current omission runs past its average omission: 0 not
// past it, 1 past it, 2 past twice it, 3 past three times it. An item absent
// from the whole window stands exactly at its average (both are the
// window's length) and counts as not past it.
int OverdueLevel(const TItemStats& item);

// One dimension's statistics as a table: item, 出现次数, 理论次数, 当前遗漏,
// 最大遗漏, 平均遗漏. The sort role (Qt::UserRole) gives numbers, so that a
// sorted column orders by value; the current omission's background shows
// its OverdueLevel.
class TStatsTableModel : public QAbstractTableModel {
public:
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int ItemRole = Qt::UserRole + 1;

    explicit TStatsTableModel(TStatDim dim, QObject* parent = nullptr);

    void SetStats(const std::vector<TItemStats>& items);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TStatDim dim_;
    std::vector<TItemStats> items_;
};

}  // namespace tovarin
