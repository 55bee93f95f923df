#include "gui/backtest/BacktestForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <utility>

#include "core/backtest/BacktestText.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "gui/backtest/BacktestCharts.h"
#include "gui/backtest/PeriodTableModel.h"
#include "gui/charts/Chart.h"
#include "gui/common/LiveRecompute.h"

namespace tovarin {
namespace {

constexpr int kRollingWindow = 20;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A cell that shows a text and sorts by a number.
class TNumberItem : public QTableWidgetItem {
public:
    TNumberItem(const QString& text, double value) : QTableWidgetItem(text) {
        setData(Qt::UserRole, value);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QTableWidgetItem* PercentItem(double share) {
    return new TNumberItem(QString::number(100.0 * share, 'f', 1) + QLatin1Char('%'), share);
}

// A lift that does not exist sorts below every real one.
QTableWidgetItem* LiftItem(double rate, double baseline) {
    if (baseline <= 0.0) {
        return new TNumberItem(QStringLiteral("—"), -1.0);
    }
    const double lift = rate / baseline;
    return new TNumberItem(QString::number(lift, 'f', 2), lift);
}

QTableWidget* MakeGrid(const char* name, const QStringList& titles, QWidget* parent) {
    auto* grid = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    grid->setObjectName(QString::fromUtf8(name));
    grid->setHorizontalHeaderLabels(titles);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(false);
    return grid;
}

TChart* MakeChartView(const char* name, const QString& title, TChart*& chart, QWidget* parent) {
    chart = new TChart(title, parent);
    chart->setObjectName(QString::fromUtf8(name));
    chart->setMinimumSize(320, 240);
    return chart;
}

}  // namespace

std::shared_ptr<const TBacktestView> TBacktestView::Compute(std::shared_ptr<const TCodeNet> net,
                                                            TEvaluation evaluation,
                                                            TPeriodRange range) {
    auto view = std::make_shared<TBacktestView>();
    view->Report = Backtest(evaluation, *net, range);
    view->Rolling = RollingHitRates(evaluation, *net, range, kRollingWindow);
    view->Evaluation = std::move(evaluation);
    view->Net = std::move(net);
    return view;
}

TBacktestForm::TBacktestForm(TPrjMgr& projects, TSeqPrj& project, const QString& projectName,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), projects_(projects) {
    setObjectName(QStringLiteral("BacktestForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The draw-table window stays on top; this one must not vanish under it.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    live_ = new TLiveRecompute(this);
    live_->OnError = [this](const QString& message) {
        ShowFailure(QStringLiteral("无法回测：%1").arg(message));
    };
    BuildLayout();
    Attach(project, projectName);
    ApplyPreset();
}

TBacktestForm::~TBacktestForm() {
    live_->Cancel();
    if (project_ != nullptr) {
        projects_.CodeNet().Unsubscribe(netListener_);
        projects_.Unsubscribe(prjListener_);
    }
}

void TBacktestForm::Attach(TSeqPrj& project, const QString& projectName) {
    project_ = &project;
    projectName_ = projectName;
    setWindowTitle(QStringLiteral("回测 - %1").arg(projectName));
    netListener_ = projects_.CodeNet().Subscribe([this](TNetChange) { DrawsChanged(); });
    prjListener_ = projects_.Subscribe(
        [this](TPrjChange change, const TSeqPrj* changed) { ProjectListChanged(change, changed); });
}

void TBacktestForm::ShowProject(TSeqPrj& project, const QString& projectName) {
    if (&project == project_) {
        projectName_ = projectName;
        setWindowTitle(QStringLiteral("回测 - %1").arg(projectName));
        return;
    }
    if (project_ != nullptr) {
        projects_.CodeNet().Unsubscribe(netListener_);
        projects_.Unsubscribe(prjListener_);
    }
    Attach(project, projectName);
    // The old project's figures must not stand under the new name while
    // the new ones are computed.
    ShowFailure(QStringLiteral("正在回测……"));
    SummaryLbl->setStyleSheet(QString());
    SyncRange();
    ScheduleRecompute();
}

void TBacktestForm::ProjectListChanged(TPrjChange change, const TSeqPrj* project) {
    switch (change) {
        case TPrjChange::Removed:
            if (project == project_) {
                Detach();
            }
            break;
        case TPrjChange::Reset:
            // Cleared, replaced or only reordered.
            if (projects_.IndexOfPrj(project_) < 0) {
                Detach();
            }
            break;
        case TPrjChange::Settings:
        case TPrjChange::Conditions:
            if (project == project_) {
                ScheduleRecompute();
            }
            break;
        case TPrjChange::Added:
        case TPrjChange::Verdict:
        case TPrjChange::Sections:
            break;
    }
}

void TBacktestForm::Detach() {
    live_->Cancel();
    projects_.CodeNet().Unsubscribe(netListener_);
    projects_.Unsubscribe(prjListener_);
    project_ = nullptr;
    setWindowTitle(QStringLiteral("回测 - %1（已删除）").arg(projectName_));
    ShowFailure(QStringLiteral("%1已从方案列表中删除。在主窗口的方案列表中选中一个方案，"
                               "这里就显示它的回测。")
                    .arg(projectName_));
    for (QWidget* control :
         std::initializer_list<QWidget*>{FromEd, ToEd, Last30Bt, Last100Bt, AllBt}) {
        control->setEnabled(false);
    }
}

QWidget* TBacktestForm::BuildRangeRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    FromEd = new QSpinBox(row);
    FromEd->setObjectName(QStringLiteral("FromEd"));
    ToEd = new QSpinBox(row);
    ToEd->setObjectName(QStringLiteral("ToEd"));
    for (QSpinBox* edit : {FromEd, ToEd}) {
        edit->setMinimumWidth(90);
        // A period typed digit by digit is tested once, on Enter or when
        // the box is left, not at every digit.
        edit->setKeyboardTracking(false);
    }
    layout->addWidget(new QLabel(QStringLiteral("从第"), row));
    layout->addWidget(FromEd);
    layout->addWidget(new QLabel(QStringLiteral("期至第"), row));
    layout->addWidget(ToEd);
    layout->addWidget(new QLabel(QStringLiteral("期"), row));
    layout->addSpacing(16);
    Last30Bt = new QPushButton(QStringLiteral("近30"), row);
    Last30Bt->setObjectName(QStringLiteral("Last30Bt"));
    Last100Bt = new QPushButton(QStringLiteral("近100"), row);
    Last100Bt->setObjectName(QStringLiteral("Last100Bt"));
    AllBt = new QPushButton(QStringLiteral("全部"), row);
    AllBt->setObjectName(QStringLiteral("AllBt"));
    for (QPushButton* button : {Last30Bt, Last100Bt, AllBt}) {
        layout->addWidget(button);
    }
    layout->addStretch(1);

    connect(FromEd, &QSpinBox::valueChanged, this, [this] { RangeEdited(true); });
    connect(ToEd, &QSpinBox::valueChanged, this, [this] { RangeEdited(false); });
    connect(Last30Bt, &QPushButton::clicked, this, [this] { ShowLast(30); });
    connect(Last100Bt, &QPushButton::clicked, this, [this] { ShowLast(100); });
    connect(AllBt, &QPushButton::clicked, this, &TBacktestForm::ShowAll);
    return row;
}

void TBacktestForm::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildRangeRow());

    SummaryLbl = new QLabel(this);
    SummaryLbl->setObjectName(QStringLiteral("SummaryLbl"));
    SummaryLbl->setWordWrap(true);
    SummaryLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = SummaryLbl->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    SummaryLbl->setFont(bold);
    layout->addWidget(SummaryLbl);
    CautionLbl = new QLabel(Q(kBacktestCaution), this);
    CautionLbl->setObjectName(QStringLiteral("CautionLbl"));
    CautionLbl->setWordWrap(true);
    CautionLbl->setStyleSheet(QStringLiteral("color: #8a5a00;"));
    layout->addWidget(CautionLbl);

    auto* charts = new QWidget(this);
    auto* chartRow = new QHBoxLayout(charts);
    chartRow->setContentsMargins(0, 0, 0, 0);
    chartRow->addWidget(
        MakeChartView("ToleranceChart", QStringLiteral("容错曲线"), toleranceChart_, charts));
    chartRow->addWidget(MakeChartView("RollingChart",
                                      QStringLiteral("近%1期滚动命中率").arg(kRollingWindow),
                                      rollingChart_, charts));

    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("BacktestTabs"));
    ConditionGrid =
        MakeGrid("ConditionGrid",
                 {QStringLiteral("步骤"), QStringLiteral("条件"), QStringLiteral("中奖号码通过率"),
                  QStringLiteral("号码通过比例"), QStringLiteral("提升")},
                 Tabs);
    ConditionGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // In run order until the player sorts by another column.
    ConditionGrid->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    GroupGrid =
        MakeGrid("GroupGrid",
                 {QStringLiteral("推荐组"), QStringLiteral("号码数"), QStringLiteral("期望命中"),
                  QStringLiteral("期望命中率"), QStringLiteral("随机基准"), QStringLiteral("提升")},
                 Tabs);
    PeriodGrid = new QTableView(Tabs);
    PeriodGrid->setObjectName(QStringLiteral("PeriodGrid"));
    periodModel_ = new TPeriodTableModel(PeriodGrid);
    PeriodGrid->setModel(periodModel_);
    PeriodGrid->verticalHeader()->hide();
    PeriodGrid->horizontalHeader()->setStretchLastSection(true);
    PeriodGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tabs->addTab(ConditionGrid, QStringLiteral("条件成绩单"));
    Tabs->addTab(GroupGrid, QStringLiteral("推荐组"));
    Tabs->addTab(PeriodGrid, QStringLiteral("每期明细"));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(charts);
    split->addWidget(Tabs);
    split->setChildrenCollapsible(false);
    layout->addWidget(split, 1);
    resize(980, 720);
}

int TBacktestForm::LastPeriod() const {
    const TCodeNet& net = projects_.CodeNet();
    return net.FirstPeriod() + net.Count() - 1;
}

void TBacktestForm::ShowLast(int periods) {
    preset_ = periods == 30 ? TPreset::Last30 : TPreset::Last100;
    ApplyPreset();
}

void TBacktestForm::ShowAll() {
    preset_ = TPreset::All;
    ApplyPreset();
}

void TBacktestForm::ShowRange(int from, int to) {
    preset_ = TPreset::Custom;
    const QSignalBlocker quietFrom(FromEd);
    const QSignalBlocker quietTo(ToEd);
    FromEd->setValue(from);
    ToEd->setValue(to);
    Recompute();
}

void TBacktestForm::DrawsChanged() {
    // The presets follow the newest draw; a range of one's own is kept
    // where the table still holds it.
    SyncRange();
    ScheduleRecompute();
}

void TBacktestForm::ApplyPreset() {
    SyncRange();
    Recompute();
}

void TBacktestForm::SyncRange() {
    const int last = LastPeriod();
    const int first = projects_.CodeNet().FirstPeriod();
    const QSignalBlocker quietFrom(FromEd);
    const QSignalBlocker quietTo(ToEd);
    FromEd->setRange(std::min(first, last), std::max(first, last));
    ToEd->setRange(std::min(first, last), std::max(first, last));
    switch (preset_) {
        case TPreset::Last30:
            FromEd->setValue(std::max(first, last - 29));
            ToEd->setValue(last);
            break;
        case TPreset::Last100:
            FromEd->setValue(DefaultRange(projects_.CodeNet()).From);
            ToEd->setValue(last);
            break;
        case TPreset::All:
            FromEd->setValue(first);
            ToEd->setValue(last);
            break;
        case TPreset::Custom:
            break;  // the spin boxes clipped the range to the table
    }
}

void TBacktestForm::RangeEdited(bool fromEdited) {
    preset_ = TPreset::Custom;
    if (FromEd->value() > ToEd->value()) {
        const QSignalBlocker quietFrom(FromEd);
        const QSignalBlocker quietTo(ToEd);
        if (fromEdited) {
            ToEd->setValue(FromEd->value());
        } else {
            FromEd->setValue(ToEd->value());
        }
    }
    Recompute();
}

void TBacktestForm::ShowFailure(const QString& message) {
    report_.reset();
    periodModel_->Clear();
    view_.reset();
    ConditionGrid->setRowCount(0);
    GroupGrid->setRowCount(0);
    for (TChart* chart : {toleranceChart_, rollingChart_}) {
        chart->ClearSeries();
        chart->replot();
    }
    SummaryLbl->setStyleSheet(QStringLiteral("color: #b02020;"));
    SummaryLbl->setText(message);
}

bool TBacktestForm::CanCompute() {
    if (project_ == nullptr) {
        return false;
    }
    const bool hasDraws = projects_.CodeNet().Count() > 0;
    for (QWidget* control :
         std::initializer_list<QWidget*>{FromEd, ToEd, Last30Bt, Last100Bt, AllBt}) {
        control->setEnabled(hasDraws);
    }
    if (!hasDraws) {
        ShowFailure(QStringLiteral("开奖号码表中没有开奖号码，无法回测。"));
    }
    return hasDraws;
}

void TBacktestForm::Recompute() {
    live_->Cancel();
    if (!CanCompute()) {
        return;
    }
    try {
        Present(TBacktestView::Compute(SnapshotOf(projects_.CodeNet()), EvaluateProject(*project_),
                                       {FromEd->value(), ToEd->value()}));
    } catch (const std::exception& error) {
        ShowFailure(QStringLiteral("无法回测：%1").arg(Q(error.what())));
    }
}

void TBacktestForm::ScheduleRecompute() {
    live_->Schedule([this]() -> TLiveRecompute::TWork {
        if (!CanCompute()) {
            return {};
        }
        // The worker reads only these: the run's verdicts, a snapshot of the
        // draws and the range.
        std::shared_ptr<const TCodeNet> net = SnapshotOf(projects_.CodeNet());
        TEvaluation evaluation = EvaluateProject(*project_);
        const TPeriodRange range{FromEd->value(), ToEd->value()};
        return [this, net, evaluation, range]() -> TLiveRecompute::TShow {
            std::shared_ptr<const TBacktestView> view =
                TBacktestView::Compute(net, evaluation, range);
            return [this, view] { Present(view); };
        };
    });
}

void TBacktestForm::Present(std::shared_ptr<const TBacktestView> view) {
    // The model reads the view it is given: let go of the old one first.
    periodModel_->Clear();
    view_ = std::move(view);
    report_ = view_->Report;
    SummaryLbl->setStyleSheet(QString());
    const TCodeNet& tested = *view_->Net;
    SummaryLbl->setText(Q(SummarySentence(*report_, tested.FirstPeriod() + tested.Count() - 1)));
    FillCharts(*report_);
    FillConditions(*report_);
    FillGroups(*report_);
    periodModel_->Show(&view_->Evaluation, view_->Net.get(), report_->Range);
}

void TBacktestForm::FillCharts(const TBacktestReport& report) {
    ShowToleranceCurve(*toleranceChart_, report);
    ShowRollingHitRate(*rollingChart_, view_->Rolling, report.Range.From + kRollingWindow - 1,
                       report.Result.Baseline, kRollingWindow);
}

void TBacktestForm::FillConditions(const TBacktestReport& report) {
    ConditionGrid->setSortingEnabled(false);
    ConditionGrid->setRowCount(static_cast<int>(report.Conditions.size()));
    const double periods = report.Range.Periods();
    for (int row = 0; row < ConditionGrid->rowCount(); ++row) {
        const TConditionScore& score = report.Conditions[static_cast<size_t>(row)];
        const double rate = score.WinnerPassed / periods;
        const double share = score.PassedCodes / 100.0;
        ConditionGrid->setItem(row, 0, new TNumberItem(QString::number(score.Step), score.Step));
        ConditionGrid->setItem(row, 1, new QTableWidgetItem(Q(score.Text)));
        ConditionGrid->setItem(row, 2, PercentItem(rate));
        ConditionGrid->setItem(row, 3, PercentItem(share));
        ConditionGrid->setItem(row, 4, LiftItem(rate, share));
    }
    ConditionGrid->setSortingEnabled(true);
    ConditionGrid->resizeColumnsToContents();
}

void TBacktestForm::FillGroups(const TBacktestReport& report) {
    GroupGrid->setRowCount(static_cast<int>(report.Groups.size()));
    const double periods = report.Range.Periods();
    for (int row = 0; row < GroupGrid->rowCount(); ++row) {
        const TGroupScore& group = report.Groups[static_cast<size_t>(row)];
        const double rate = group.ExpectedHits / periods;
        const double baseline = group.Codes / 100.0;
        GroupGrid->setItem(row, 0, new QTableWidgetItem(QStringLiteral("%1组").arg(group.Size)));
        GroupGrid->setItem(row, 1, new TNumberItem(QString::number(group.Codes), group.Codes));
        GroupGrid->setItem(row, 2,
                           new TNumberItem(Q(AmountText(group.ExpectedHits)), group.ExpectedHits));
        GroupGrid->setItem(row, 3, PercentItem(rate));
        GroupGrid->setItem(row, 4, PercentItem(baseline));
        GroupGrid->setItem(row, 5, LiftItem(rate, baseline));
    }
}

}  // namespace tovarin
