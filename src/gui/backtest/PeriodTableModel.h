#pragma once

#include <QAbstractTableModel>

#include "core/backtest/Backtest.h"

namespace tovarin {

// The per-period table of a backtest: period, label, draw, winner code,
// error, hit and the texts of the conditions that failed the winner. Rows are
// made when the view asks for them, so a range of a million periods costs
// nothing until it is scrolled.
class TPeriodTableModel : public QAbstractTableModel {
public:
    explicit TPeriodTableModel(QObject* parent) : QAbstractTableModel(parent) {}

    // The evaluation and the table must outlive the model or the next Show.
    void Show(const TEvaluation* evaluation, const TCodeNet* net, TPeriodRange range);
    void Clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TEvaluation* evaluation_ = nullptr;
    const TCodeNet* net_ = nullptr;
    TPeriodRange range_;
};

// "第2步 头尾合:[容]5,6,7" for each step, joined by "；".
QString FailedConditionsText(const TEvaluation& evaluation, const std::vector<int>& steps);

}  // namespace tovarin
