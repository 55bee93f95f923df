#include "gui/stats/StatsForm.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/app/AppInfo.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Bind.h"
#include "core/stats/StatsBinds.h"
#include "core/stats/StatsText.h"
#include "core/stats/Trend.h"
#include "gui/charts/Chart.h"
#include "gui/charts/ChartAxes.h"
#include "gui/common/CenterOnScreen.h"
#include "gui/common/LiveRecompute.h"
#include "gui/stats/StatsTableModel.h"
#include "gui/stats/TrendChart.h"

namespace tovarin {
namespace {

constexpr int kMaxLast = 99999999;
constexpr const char* kStatsErrorText = "无法统计：";
constexpr int kTableWidth = 500;
constexpr int kCodeChartWidth = 4400;

const char* ObjectPart(TStatDim dim) {
    switch (dim) {
        case TStatDim::Head:
            return "Head";
        case TStatDim::Tail:
            return "Tail";
        case TStatDim::Sum:
            return "Sum";
        case TStatDim::Code:
            return "Code";
    }
    return "";
}

QString PresetCaption(int last) {
    return last == 0 ? QStringLiteral("全部") : QString::number(last);
}

// The trend chart's choices, in the order of its selector.
const std::array<std::vector<TStatDim>, 2> kTrendBlocks = {
    std::vector<TStatDim>{TStatDim::Head, TStatDim::Tail}, std::vector<TStatDim>{TStatDim::Sum}};

QString AskWithDialog(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

}  // namespace

std::shared_ptr<const TStatsView> TStatsView::Compute(std::shared_ptr<const TCodeNet> net,
                                                      int last) {
    auto view = std::make_shared<TStatsView>();
    view->Stats = ComputeHistoryStats(*net, last);
    for (const TStatDim dim : {TStatDim::Head, TStatDim::Tail, TStatDim::Sum}) {
        view->Trends[static_cast<size_t>(dim)] =
            std::make_shared<TTrendIndex>(*net, dim, view->Stats.Window);
    }
    view->Net = std::move(net);
    return view;
}

TStatsForm::TStatsForm(TCodeNet& net, TCreateBind createBind, QWidget* parent)
    : QWidget(parent, Qt::Window), net_(net), createBind_(std::move(createBind)) {
    setObjectName(QStringLiteral("StatsForm"));
    setWindowTitle(QStringLiteral("号码统计"));
    // The draw-table window stays on top; this one must not vanish under it.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    askSavePath_ = [this](const QString& caption, const QString& filter) {
        return AskWithDialog(this, caption, filter);
    };
    live_ = new TLiveRecompute(this);
    live_->OnError = [this](const QString& message) {
        caption_->setText(QString::fromUtf8(kStatsErrorText) + message);
    };
    BuildLayout();
    resize(960, 680);
    CenterOnScreen(*this);
    listener_ = net_.Subscribe([this](TNetChange) {
        if (isVisible()) {
            ScheduleRefresh();
        } else {
            stale_ = true;
        }
    });
    Refresh();
}

TStatsForm::~TStatsForm() {
    net_.Unsubscribe(listener_);
    live_->Cancel();
}

void TStatsForm::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildTopRow());
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("StatsTabs"));
    for (const TStatDim dim : kStatDims) {
        tabs_->addTab(BuildDimPage(dim), QString::fromUtf8(DimName(dim)));
    }
    tabs_->addTab(BuildTrendPage(), QStringLiteral("走势图"));
    layout->addWidget(tabs_, 1);
}

QWidget* TStatsForm::BuildTopRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("统计期数："), row));
    presets_ = new QButtonGroup(row);
    presets_->setExclusive(true);
    for (const int last : kPresets) {
        auto* button = new QToolButton(row);
        button->setText(PresetCaption(last));
        button->setCheckable(true);
        button->setObjectName(QStringLiteral("StatsLast%1")
                                  .arg(last == 0 ? QStringLiteral("All") : QString::number(last)));
        presets_->addButton(button, last);
        layout->addWidget(button);
    }
    connect(presets_, &QButtonGroup::idClicked, this, [this](int last) { SetLast(last); });

    lastEd_ = new QSpinBox(row);
    lastEd_->setObjectName(QStringLiteral("StatsLastEd"));
    lastEd_->setRange(1, kMaxLast);
    lastEd_->setSuffix(QStringLiteral(" 期"));
    lastEd_->setKeyboardTracking(false);
    connect(lastEd_, &QSpinBox::valueChanged, this, [this](int last) { SetLast(last); });
    layout->addWidget(lastEd_);

    caption_ = new QLabel(row);
    caption_->setObjectName(QStringLiteral("StatsWindowLbl"));
    layout->addWidget(caption_, 1);

    auto* csv = new QPushButton(QStringLiteral("导出表格(&C)..."), row);
    csv->setObjectName(QStringLiteral("StatsExportCsv"));
    csv->setToolTip(QStringLiteral("将四个统计表导出为CSV文件"));
    connect(csv, &QPushButton::clicked, this, &TStatsForm::ExportCsvClick);
    layout->addWidget(csv);
    auto* png = new QPushButton(QStringLiteral("导出走势图(&P)..."), row);
    png->setObjectName(QStringLiteral("StatsExportPng"));
    png->setToolTip(QStringLiteral("将走势图导出为PNG图片"));
    connect(png, &QPushButton::clicked, this, &TStatsForm::ExportPngClick);
    layout->addWidget(png);
    return row;
}

QWidget* TStatsForm::BuildDimPage(TStatDim dim) {
    TDimPage& page = pages_[static_cast<size_t>(dim)];
    auto* splitter = new QSplitter(Qt::Horizontal, this);

    page.Model = new TStatsTableModel(dim, splitter);
    auto* sorted = new QSortFilterProxyModel(splitter);
    sorted->setSourceModel(page.Model);
    sorted->setSortRole(TStatsTableModel::SortRole);
    page.Table = new QTableView(splitter);
    page.Table->setObjectName(QStringLiteral("Stats%1Table").arg(ObjectPart(dim)));
    page.Table->setModel(sorted);
    page.Table->setSortingEnabled(true);
    page.Table->sortByColumn(0, Qt::AscendingOrder);
    page.Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    page.Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    page.Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    page.Table->verticalHeader()->hide();
    page.Table->verticalHeader()->setDefaultSectionSize(22);
    page.Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    page.Table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page.Table, &QWidget::customContextMenuRequested, this, [this, dim](const QPoint& at) {
        const QTableView& table = *pages_[static_cast<size_t>(dim)].Table;
        ShowSelectionMenu(dim, SelectedTableItems(dim), table.viewport()->mapToGlobal(at));
    });

    page.Chart = new TChart(
        QStringLiteral("%1出现次数与理论次数").arg(QString::fromUtf8(DimName(dim))), splitter);
    page.Chart->setObjectName(QStringLiteral("Stats%1Chart").arg(ObjectPart(dim)));
    QStringList labels;
    for (int item = 0; item < ItemCount(dim); ++item) {
        labels << QString::fromStdString(ItemText(dim, item));
    }
    page.Chart->SetCategories(labels);
    page.Hits = page.Chart->AddBars(QStringLiteral("出现次数"), QColor(0x30, 0x70, 0xC0));
    page.Expected = page.Chart->AddBars(QStringLiteral("理论次数"), QColor(0xB0, 0xB0, 0xB0));
    splitter->addWidget(page.Table);
    if (dim == TStatDim::Code) {
        // A hundred pairs of bars stay readable only when the chart is wider
        // than the window: it scrolls.
        page.Chart->setMinimumWidth(kCodeChartWidth);
        auto* scroller = new QScrollArea(splitter);
        scroller->setWidget(page.Chart);
        scroller->setWidgetResizable(true);
        splitter->addWidget(scroller);
    } else {
        splitter->addWidget(page.Chart);
    }
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kTableWidth, width() - kTableWidth});
    return splitter;
}

QWidget* TStatsForm::BuildTrendPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("显示："), page));
    trendBlocks_ = new QComboBox(page);
    trendBlocks_->setObjectName(QStringLiteral("TrendBlocksCbb"));
    trendBlocks_->addItems(
        {QStringLiteral("头数和尾数"), QString::fromUtf8(DimName(TStatDim::Sum))});
    connect(trendBlocks_, &QComboBox::currentIndexChanged, this, [this] { RefreshTrend(); });
    row->addWidget(trendBlocks_);
    row->addWidget(
        new QLabel(QStringLiteral("单击或按住Ctrl单击一列选择号码，右键菜单用选中的号码创建条件"),
                   page),
        1);
    layout->addLayout(row);
    trend_ = new TTrendChart(page);
    connect(trend_, &TTrendChart::SelectionMenuRequested, this, [this](const QPoint& at) {
        ShowSelectionMenu(trend_->SelectedDim(), trend_->SelectedItems(), at);
    });
    layout->addWidget(trend_, 1);
    return page;
}

void TStatsForm::SetLast(int last) {
    last_ = std::max(0, last);
    ShowLastControls();
    Refresh();
}

void TStatsForm::ShowLastControls() {
    const QSignalBlocker quietSpin(lastEd_);
    const int shown = last_ == 0 ? std::max(1, net_.Count()) : last_;
    lastEd_->setValue(shown);
    if (QAbstractButton* preset = presets_->button(last_)) {
        preset->setChecked(true);
    } else if (QAbstractButton* checked = presets_->checkedButton()) {
        presets_->setExclusive(false);
        checked->setChecked(false);
        presets_->setExclusive(true);
    }
}

void TStatsForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) {
        Refresh();
    }
}

void TStatsForm::Refresh() {
    stale_ = false;
    live_->Cancel();
    Present(TStatsView::Compute(SnapshotOf(net_), last_));
}

void TStatsForm::ScheduleRefresh() {
    live_->Schedule([this]() -> TLiveRecompute::TWork {
        // The worker reads only the snapshot and the window size.
        const std::shared_ptr<const TCodeNet> net = SnapshotOf(net_);
        const int last = last_;
        return [this, net, last]() -> TLiveRecompute::TShow {
            std::shared_ptr<const TStatsView> view = TStatsView::Compute(net, last);
            return [this, view] { Present(view); };
        };
    });
}

void TStatsForm::Present(std::shared_ptr<const TStatsView> view) {
    view_ = std::move(view);
    stats_ = view_->Stats;
    caption_->setText(QString::fromStdString(WindowCaption(stats_)));
    if (last_ == 0) {
        ShowLastControls();
    }
    for (const TStatDim dim : kStatDims) {
        TDimPage& page = pages_[static_cast<size_t>(dim)];
        const std::vector<TItemStats>& items = stats_.Of(dim);
        page.Model->SetStats(items);
        QVector<double> keys;
        QVector<double> hits;
        QVector<double> expected;
        for (const TItemStats& item : items) {
            keys << item.Item;
            hits << static_cast<double>(item.Hits);
            expected << item.Expected;
        }
        page.Hits->setData(keys, hits, true);
        page.Expected->setData(keys, expected, true);
        double top = 0;
        for (const QVector<double>* values : {&hits, &expected}) {
            top = std::max(
                top, values->isEmpty() ? 0.0 : *std::max_element(values->begin(), values->end()));
        }
        SetCountAxis(*page.Chart->yAxis, top);
        page.Chart->replot();
    }
    RefreshTrend();
}

void TStatsForm::RefreshTrend() {
    if (!view_) {
        return;  // the selector fills before the first figures
    }
    const auto choice = static_cast<size_t>(std::max(0, trendBlocks_->currentIndex()));
    const std::vector<TStatDim>& blocks = kTrendBlocks.at(choice);
    std::vector<std::shared_ptr<const TTrendIndex>> trends;
    trends.reserve(blocks.size());
    for (const TStatDim dim : blocks) {
        trends.push_back(view_->Trends.at(static_cast<size_t>(dim)));
    }
    trend_->SetTrend(view_->Net, std::move(trends), blocks);
}

std::vector<int> TStatsForm::SelectedTableItems(TStatDim dim) const {
    const QTableView& table = *pages_[static_cast<size_t>(dim)].Table;
    std::vector<int> items;
    for (const QModelIndex& index : table.selectionModel()->selectedRows()) {
        items.push_back(index.data(TStatsTableModel::ItemRole).toInt());
    }
    std::sort(items.begin(), items.end());
    return items;
}

std::unique_ptr<QMenu> TStatsForm::SelectionMenu(TStatDim dim, const std::vector<int>& items) {
    auto menu = std::make_unique<QMenu>(this);
    QMenu* kinds = menu->addMenu(QStringLiteral("用选中的号码创建条件"));
    kinds->setObjectName(QStringLiteral("StatsBindMenu"));
    const std::vector<int> kindCodes = BindKindsOf(dim);
    kinds->setEnabled(!items.empty() && !kindCodes.empty());
    const std::string param = BindParamOf(items);
    for (const int kind : kindCodes) {
        QAction* action =
            kinds->addAction(QString::fromUtf8(BindKindNames[static_cast<size_t>(kind)]));
        action->setObjectName(QStringLiteral("StatsBindKind%1").arg(kind));
        action->setStatusTip(QString::fromUtf8(BindNameHints[static_cast<size_t>(kind)]));
        connect(action, &QAction::triggered, this, [this, kind, param] {
            if (createBind_) {
                createBind_(kind, param);
            }
        });
    }
    return menu;
}

void TStatsForm::ShowSelectionMenu(TStatDim dim, const std::vector<int>& items,
                                   const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu = SelectionMenu(dim, items);
    menu->exec(globalPos);
}

void TStatsForm::ExportCsv(const QString& path) const {
    WriteFileAtomically(path.toStdString(), StatsCsv(stats_));
}

void TStatsForm::ExportTrendPng(const QString& path) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!trend_->RenderImage(kImageLines).save(&buffer, "PNG")) {
        throw Exception(kSaveErrorText);
    }
    WriteFileAtomically(path.toStdString(),
                        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void TStatsForm::ExportCsvClick() {
    RunExport(QStringLiteral("导出统计表到CSV文件"), QStringLiteral("CSV文件 (*.csv)"),
              &TStatsForm::ExportCsv);
}

void TStatsForm::ExportPngClick() {
    RunExport(QStringLiteral("导出走势图到PNG图片"), QStringLiteral("PNG图片 (*.png)"),
              &TStatsForm::ExportTrendPng);
}

void TStatsForm::RunExport(const QString& caption, const QString& filter,
                           void (TStatsForm::*exporter)(const QString&) const) {
    const QString path = askSavePath_ ? askSavePath_(caption, filter) : QString();
    if (path.isEmpty()) {
        return;
    }
    try {
        (this->*exporter)(path);
    } catch (const std::exception& error) {
        QMessageBox::warning(
            this, windowTitle(),
            QString::fromUtf8(kSaveErrorText) + "\n" + QString::fromUtf8(error.what()));
    }
}

}  // namespace tovarin
