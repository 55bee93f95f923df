#include "gui/ledger/LedgerForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

#include "core/draws/LawNet.h"
#include "core/ledger/LedgerFormat.h"
#include "core/ledger/LedgerRecording.h"
#include "core/ledger/LedgerSummary.h"
#include "gui/charts/Chart.h"
#include "gui/charts/ChartAxes.h"
#include "gui/common/QtText.h"

namespace tovarin {
namespace {

const QColor kHitsColor(0x20, 0x90, 0x50);
const QColor kExpectedColor(0x80, 0x80, 0x80);
const QColor kBandColor(0x30, 0x70, 0xC0, 0x40);

}  // namespace

TLedgerForm::TLedgerForm(TLedger& ledger, TCodeNet& net, QWidget* parent)
    : QWidget(parent, Qt::Window), ledger_(ledger), net_(net) {
    setObjectName(QStringLiteral("LedgerForm"));
    setWindowTitle(QStringLiteral("成绩单"));
    BuildLayout();
    ledgerListener_ = ledger_.Subscribe([this](TLedgerChange, const TLedgerState*) { Refresh(); });
    netListener_ = net_.Subscribe([this](TNetChange) { Refresh(); });
    Refresh();
    resize(900, 700);
}

TLedgerForm::~TLedgerForm() {
    ledger_.Unsubscribe(ledgerListener_);
    net_.Unsubscribe(netListener_);
}

void TLedgerForm::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("方案："), this));
    ProjectCb = new QComboBox(this);
    ProjectCb->setObjectName(QStringLiteral("ProjectCb"));
    ProjectCb->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    top->addWidget(ProjectCb);
    top->addStretch();
    ExportBt = new QPushButton(QStringLiteral("导出CSV(&E)..."), this);
    ExportBt->setObjectName(QStringLiteral("ExportBt"));
    ClearBt = new QPushButton(QStringLiteral("清空成绩单..."), this);
    ClearBt->setObjectName(QStringLiteral("ClearBt"));
    top->addWidget(ExportBt);
    top->addWidget(ClearBt);
    layout->addLayout(top);

    LedgerTbl = new QTableWidget(0, static_cast<int>(kLedgerColumns.size()), this);
    LedgerTbl->setObjectName(QStringLiteral("LedgerTbl"));
    QStringList headers;
    for (const char* column : kLedgerColumns) {
        headers << Q(column);
    }
    LedgerTbl->setHorizontalHeaderLabels(headers);
    LedgerTbl->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LedgerTbl->setSelectionBehavior(QAbstractItemView::SelectRows);
    LedgerTbl->verticalHeader()->hide();
    LedgerTbl->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    LedgerTbl->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(LedgerTbl, 3);

    SummaryLbl = new QLabel(this);
    SummaryLbl->setObjectName(QStringLiteral("SummaryLbl"));
    SummaryLbl->setWordWrap(true);
    SampleLbl = new QLabel(Q(kSmallSampleText), this);
    SampleLbl->setObjectName(QStringLiteral("SampleLbl"));
    ChainLbl = new QLabel(this);
    ChainLbl->setObjectName(QStringLiteral("ChainLbl"));
    layout->addWidget(SummaryLbl);
    layout->addWidget(SampleLbl);
    layout->addWidget(ChainLbl);

    auto* fingerprint = new QHBoxLayout;
    fingerprint->addWidget(new QLabel(QStringLiteral("指纹："), this));
    FingerprintEd = new QLineEdit(this);
    FingerprintEd->setObjectName(QStringLiteral("FingerprintEd"));
    // Read only, but selectable and copyable, to be published.
    FingerprintEd->setReadOnly(true);
    FingerprintEd->setFont(QFont(QStringLiteral("monospace")));
    fingerprint->addWidget(FingerprintEd);
    layout->addLayout(fingerprint);

    Chart = new TChart(QStringLiteral("累计命中与随机选号的期望"), this);
    Chart->setObjectName(QStringLiteral("LedgerChart"));
    Chart->setMinimumHeight(220);
    layout->addWidget(Chart, 2);

    connect(ProjectCb, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(ExportBt, &QPushButton::clicked, this, &TLedgerForm::ExportRequested);
    connect(ClearBt, &QPushButton::clicked, this, &TLedgerForm::ClearRequested);
}

void TLedgerForm::ShowProject(std::optional<int> project) {
    const int index = ProjectCb->findData(project ? *project : 0);
    ProjectCb->setCurrentIndex(std::max(index, 0));
}

std::optional<int> TLedgerForm::ShownProject() const {
    const int project = ProjectCb->currentData().toInt();
    return project > 0 ? std::optional<int>(project) : std::nullopt;
}

std::string TLedgerForm::CsvText() const {
    const auto rows = LedgerRows(ledger_, ShownProject());
    return LedgerCsv(LedgerLines(rows, SettleLedger(ledger_, net_, DrawFinder(net_))));
}

// The projects that have entries; the choice stays when it still has.
void TLedgerForm::FillProjects() {
    const std::optional<int> shown = ShownProject();
    std::set<int> projects;
    for (const TLedgerEntry& entry : ledger_.Entries()) {
        projects.insert(entry.Record.Project);
    }
    const QSignalBlocker quiet(ProjectCb);
    ProjectCb->clear();
    ProjectCb->addItem(QStringLiteral("全部方案"), 0);
    for (const int project : projects) {
        ProjectCb->addItem(QStringLiteral("方案%1").arg(project), project);
    }
    ProjectCb->setCurrentIndex(std::max(ProjectCb->findData(shown ? *shown : 0), 0));
}

void TLedgerForm::Refresh() {
    FillProjects();
    const auto rows = LedgerRows(ledger_, ShownProject());
    const auto settlements = SettleLedger(ledger_, net_, DrawFinder(net_));
    const std::vector<TLedgerLine> lines = LedgerLines(rows, settlements);
    LedgerTbl->setRowCount(static_cast<int>(lines.size()));
    for (int r = 0; r < LedgerTbl->rowCount(); ++r) {
        const TLedgerLine& line = lines[static_cast<size_t>(r)];
        for (int c = 0; c < LedgerTbl->columnCount(); ++c) {
            LedgerTbl->setItem(r, c, new QTableWidgetItem(Q(line[static_cast<size_t>(c)])));
        }
    }
    LedgerTbl->resizeColumnsToContents();

    const TLedgerSummary summary = SummarizeLedger(rows, settlements);
    SummaryLbl->setText(Q(LedgerSummaryText(summary)));
    SampleLbl->setVisible(!summary.Enough);
    if (ledger_.BrokenAt()) {
        ChainLbl->setText(Q(ChainBrokenText(*ledger_.BrokenAt())));
        ChainLbl->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    } else {
        ChainLbl->setText(ledger_.Count() > 0 ? QStringLiteral("指纹链完好") : QString());
        ChainLbl->setStyleSheet(QString());
    }
    const TSha256Digest* newest = ledger_.NewestHash();
    FingerprintEd->setText(newest != nullptr ? Q(HashText(*newest)) : QString());
    ClearBt->setEnabled(ledger_.Count() > 0);
    FillChart(CumulativeHits(rows, settlements));
}

void TLedgerForm::FillChart(const std::vector<TCumulativePoint>& points) {
    Chart->ClearSeries();
    QCPGraph* upper = Chart->AddLine(QStringLiteral("期望±2倍标准差"), QPen(kBandColor, 1), false);
    QCPGraph* lower = Chart->AddLine(QString(), QPen(kBandColor, 1), false);
    upper->setBrush(QBrush(kBandColor));
    upper->setChannelFillGraph(lower);
    lower->removeFromLegend();
    QPen dashed(kExpectedColor, 1.5);
    dashed.setStyle(Qt::DashLine);
    QCPGraph* expected = Chart->AddLine(QStringLiteral("随机选号的期望命中"), dashed, false);
    QCPGraph* hits = Chart->AddLine(QStringLiteral("累计命中"), QPen(kHitsColor, 2), false);
    double top = 1;
    for (size_t i = 0; i < points.size(); ++i) {
        const double x = static_cast<double>(i) + 1;
        const TCumulativePoint& point = points[i];
        hits->addData(x, point.Hits);
        expected->addData(x, point.Expected);
        upper->addData(x, point.Expected + 2 * point.Deviation);
        lower->addData(x, std::max(0.0, point.Expected - 2 * point.Deviation));
        top =
            std::max({top, static_cast<double>(point.Hits), point.Expected + 2 * point.Deviation});
    }
    const int last = std::max(static_cast<int>(points.size()), 1);
    Chart->xAxis->setLabel(QStringLiteral("已开奖的记录"));
    SetRoundAxis(*Chart->xAxis, 0, last, std::min(last, 10));
    Chart->yAxis->setLabel(QStringLiteral("命中期数"));
    SetRoundAxis(*Chart->yAxis, 0, top, 5);
    Chart->replot();
}

}  // namespace tovarin
