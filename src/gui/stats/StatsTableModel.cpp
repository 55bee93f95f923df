#include "gui/stats/StatsTableModel.h"

#include <QColor>

#include "core/stats/StatsText.h"

namespace tovarin {
namespace {

enum Column { ItemCol, HitsCol, ExpectedCol, CurrentCol, MaxCol, AverageCol, ColumnCount };

QColor OverdueColor(int level) {
    switch (level) {
        case 1:
            return {0xFF, 0xF3, 0xB0};
        case 2:
            return {0xFF, 0xC8, 0x80};
        default:
            return {0xFF, 0x90, 0x90};
    }
}

}  // namespace

int OverdueLevel(const TItemStats& item) {
    if (item.Current == 0 || item.Current <= item.Average) {
        return 0;
    }
    if (item.Current > 3 * item.Average) {
        return 3;
    }
    return item.Current > 2 * item.Average ? 2 : 1;
}

TStatsTableModel::TStatsTableModel(TStatDim dim, QObject* parent)
    : QAbstractTableModel(parent), dim_(dim) {}

void TStatsTableModel::SetStats(const std::vector<TItemStats>& items) {
    if (items.size() == items_.size()) {
        items_ = items;
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    items_ = items;
    endResetModel();
}

int TStatsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int TStatsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TStatsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const TItemStats& item = items_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(
                StatsCells(dim_, item)[static_cast<size_t>(index.column())]);
        case SortRole:
            switch (index.column()) {
                case HitsCol:
                    return item.Hits;
                case ExpectedCol:
                    return item.Expected;
                case CurrentCol:
                    return item.Current;
                case MaxCol:
                    return item.Max;
                case AverageCol:
                    return item.Average;
                default:
                    return item.Item;
            }
        case ItemRole:
            return item.Item;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (index.column() == CurrentCol && OverdueLevel(item) > 0) {
                return OverdueColor(OverdueLevel(item));
            }
            return {};
        default:
            return {};
    }
}

QVariant TStatsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return {};
    }
    return QString::fromUtf8(StatsColumnTitles(dim_)[static_cast<size_t>(section)]);
}

}  // namespace tovarin
