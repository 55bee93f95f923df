#include "gui/backtest/PeriodTableModel.h"

#include <QBrush>
#include <QColor>
#include <QStringList>

namespace tovarin {
namespace {

enum Column { kPeriod, kLabel, kDraw, kCode, kError, kHit, kFailed, kColumnCount };

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QString FailedConditionsText(const TEvaluation& evaluation, const std::vector<int>& steps) {
    QStringList texts;
    for (const int step : steps) {
        texts << QStringLiteral("第%1步 %2")
                     .arg(step)
                     .arg(Q(evaluation.Steps[static_cast<size_t>(step - 1)].Text));
    }
    return texts.join(QStringLiteral("；"));
}

void TPeriodTableModel::Show(const TEvaluation* evaluation, const TCodeNet* net,
                             TPeriodRange range) {
    beginResetModel();
    evaluation_ = evaluation;
    net_ = net;
    range_ = range;
    endResetModel();
}

void TPeriodTableModel::Clear() { Show(nullptr, nullptr, {}); }

int TPeriodTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || evaluation_ == nullptr) {
        return 0;
    }
    return range_.Periods();
}

int TPeriodTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TPeriodTableModel::data(const QModelIndex& index, int role) const {
    if (evaluation_ == nullptr || !index.isValid() ||
        (role != Qt::DisplayRole && role != Qt::ForegroundRole)) {
        return {};
    }
    const TPeriodDetail detail = PeriodDetail(*evaluation_, *net_, range_.From + index.row());
    if (role == Qt::ForegroundRole) {
        return detail.Hit ? QVariant() : QVariant(QBrush(QColor(0xb0, 0x20, 0x20)));
    }
    switch (index.column()) {
        case kPeriod:
            return detail.Period;
        case kLabel:
            return Q(detail.Label);
        case kDraw:
            return Q(detail.Draw);
        case kCode:
            return Q(CodeToStr(detail.Code));
        case kError:
            return Q(ErrorText(detail.Error));
        case kHit:
            return detail.Hit ? QStringLiteral("命中") : QStringLiteral("失误");
        case kFailed:
            return FailedConditionsText(*evaluation_, detail.FailedSteps);
        default:
            return {};
    }
}

QVariant TPeriodTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const QStringList kTitles = {QStringLiteral("期"),          QStringLiteral("期号"),
                                        QStringLiteral("开奖号码"),    QStringLiteral("中奖号码"),
                                        QStringLiteral("错误值"),      QStringLiteral("命中"),
                                        QStringLiteral("未通过的条件")};
    return kTitles.value(section);
}

}  // namespace tovarin
