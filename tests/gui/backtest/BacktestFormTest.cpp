// The backtest window on its own: range controls and presets, the summary,
// the charts, the condition report card, the groups and the per-period
// table, and how it follows the draw table and the project.
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <memory>

#include "core/backtest/BacktestText.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "gui/backtest/BacktestCharts.h"
#include "gui/backtest/BacktestForm.h"
#include "gui/charts/Chart.h"
#include "gui/common/LiveRecompute.h"
#include "support/Draws.h"

using namespace tovarin;

namespace {

QPointF PointOf(const QCPGraph& graph, int index) {
    const auto point = graph.data()->at(index);
    return {point->key, point->value};
}

double TickStep(const QCPAxis& axis) {
    return axis.ticker().staticCast<QCPAxisTickerFixed>()->tickStep();
}

std::string DrawOf(TCode code) {
    return {static_cast<char>('0' + code / 10),
            '0',
            '0',
            static_cast<char>('0' + code % 10),
            '0',
            '0',
            '0'};
}

QString CellText(const QTableWidget& grid, int row, int column) {
    const QTableWidgetItem* item = grid.item(row, column);
    return item != nullptr ? item->text() : QString();
}

QString ModelText(const QTableView& view, int row, int column) {
    return view.model()->index(row, column).data().toString();
}

}  // namespace

class BacktestFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TCodeNet> net_;
    std::unique_ptr<TPrjMgr> projects_;
    TSeqPrj* project_ = nullptr;
    QPointer<TBacktestForm> form_;

    TBaseBind& AddBind(int kind, const char* param, bool assured) {
        TBaseBind& bind = project_->AddBind(CreateBind(kind, project_->Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = true;
        return bind;
    }

    void AddWinners(const std::vector<TCode>& codes) {
        std::vector<std::string> draws;
        for (const TCode code : codes) {
            draws.push_back(DrawOf(code));
        }
        test::AddDraws(*net_, draws);
    }

    void Open() { form_ = new TBacktestForm(*projects_, *project_, QStringLiteral("方案1")); }

    template <class Widget>
    Widget* Find(const char* name) const {
        return form_->findChild<Widget*>(QString::fromUtf8(name));
    }

    QString Summary() const { return Find<QLabel>("SummaryLbl")->text(); }

private slots:
    void init() {
        net_ = std::make_unique<TCodeNet>();
        projects_ = std::make_unique<TPrjMgr>(*net_);
        project_ = &projects_->AddPrj(std::make_unique<TSeqPrj>(*net_));
    }

    void cleanup() {
        delete form_.data();
        projects_.reset();
        net_.reset();
    }

    void showsTheSummaryAndTheCaution() {
        AddBind(1, "1", false);
        AddBind(3, "1", false);
        TPrjOptions options = project_->Options();
        options.MissMax = 0;
        project_->SetOptions(options);
        AddWinners({11, 15, 51});
        Open();
        QCOMPARE(form_->windowTitle(), QStringLiteral("回测 - 方案1"));
        QCOMPARE(Summary(), QStringLiteral("近3期中命中1期（33%）；随机选1个号码平均命中0期；"
                                           "随机选号命中不少于1期的概率为3%；"
                                           "命中率是随机选号的33.33倍"));
        QCOMPARE(Find<QLabel>("CautionLbl")->text(), QString::fromUtf8(kBacktestCaution));
    }

    void presetsSetTheRange() {
        std::vector<TCode> winners(150, 37);
        AddWinners(winners);
        Open();
        auto* from = Find<QSpinBox>("FromEd");
        auto* to = Find<QSpinBox>("ToEd");
        QCOMPARE(form_->Preset(), TBacktestForm::TPreset::Last100);
        QCOMPARE(from->value(), 51);
        QCOMPARE(to->value(), 150);
        QTest::mouseClick(Find<QPushButton>("Last30Bt"), Qt::LeftButton);
        QCOMPARE(from->value(), 121);
        QCOMPARE(form_->Report()->Range.Periods(), 30);
        QVERIFY(Summary().startsWith(QStringLiteral("近30期中命中30期（100%）")));
        QTest::mouseClick(Find<QPushButton>("AllBt"), Qt::LeftButton);
        QCOMPARE(from->value(), 1);
        QCOMPARE(form_->Report()->Range.Periods(), 150);
        QTest::mouseClick(Find<QPushButton>("Last100Bt"), Qt::LeftButton);
        QCOMPARE(form_->Report()->Range.From, 51);
    }

    void editedRangeReadsAsPeriods() {
        AddWinners(std::vector<TCode>(50, 37));
        Open();
        auto* from = Find<QSpinBox>("FromEd");
        auto* to = Find<QSpinBox>("ToEd");
        to->setValue(40);
        from->setValue(5);
        QCOMPARE(form_->Preset(), TBacktestForm::TPreset::Custom);
        QCOMPARE(form_->Report()->Range.From, 5);
        QCOMPARE(form_->Report()->Range.To, 40);
        QVERIFY(Summary().startsWith(QStringLiteral("第5期至第40期中命中36期")));
        // A start after the end pulls the end along.
        from->setValue(45);
        QCOMPARE(to->value(), 45);
        QCOMPARE(form_->Report()->Range.Periods(), 1);
        QCOMPARE(from->maximum(), 50);
        // Digits typed into a box are tested once, on Enter.
        QTest::keyClick(to, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(to, "48");
        QCOMPARE(form_->Report()->Range.To, 45);
        QTest::keyClick(to, Qt::Key_Return);
        QCOMPARE(form_->Report()->Range.To, 48);
    }

    void followsTheDrawTable() {
        AddBind(2, "3", true);
        AddWinners(std::vector<TCode>(100, 12));
        Open();
        QCOMPARE(form_->Report()->Result.Hits, 100);
        AddWinners({37});
        // The change returns at once; the figures follow off this thread.
        QCOMPARE(form_->Report()->Range.To, 100);
        QVERIFY(form_->Live().Busy());
        QTRY_COMPARE(form_->Report()->Range.To, 101);
        QCOMPARE(form_->Report()->Range.From, 2);
        QCOMPARE(form_->Report()->Result.Hits, 99);
        QCOMPARE(form_->Report()->Result.CurrentMissRun, 1);
        // A digit typed into the grid changes a winner in place.
        net_->SetNum(100, 0, 1);
        QTRY_COMPARE(form_->Report()->Result.Hits, 100);
        // A range of one's own is clipped to what the table still holds.
        form_->ShowRange(90, 101);
        net_->Delete(100);
        QTRY_COMPARE(form_->Report()->Range.To, 100);
        QCOMPARE(form_->Report()->Range.From, 90);
    }

    void emptyTableSaysSo() {
        Open();
        QVERIFY(!form_->Report().has_value());
        QCOMPARE(Summary(), QStringLiteral("开奖号码表中没有开奖号码，无法回测。"));
        QVERIFY(!Find<QPushButton>("AllBt")->isEnabled());
        AddWinners({37});
        QTRY_VERIFY(form_->Report().has_value());
        QVERIFY(Find<QPushButton>("AllBt")->isEnabled());
    }

    void followsTheProject() {
        AddBind(2, "3", true);
        AddWinners({37, 12});
        Open();
        QCOMPARE(form_->Report()->Result.Hits, 1);
        project_->SetChecked(0, false);
        QTRY_COMPARE(form_->Report()->Result.Hits, 2);
        QCOMPARE(form_->Report()->Checked, 0);
        TPrjOptions options = project_->Options();
        options.MissMax = 0;
        options.Large = false;
        project_->SetOptions(options);
        QTRY_COMPARE(form_->Report()->Tolerance, 0);
        QCOMPARE(Find<QTableWidget>("GroupGrid")->rowCount(), 1);
        // Another project's change leaves the window alone.
        TSeqPrj& other = projects_->AddPrj(std::make_unique<TSeqPrj>(*net_));
        const TBacktestReport before = *form_->Report();
        other.AddBind(CreateBind(2, other.Options()));
        other.SetChecked(0, true);
        QVERIFY(!form_->Live().Busy());
        QCOMPARE(form_->Report()->Checked, before.Checked);
        QCOMPARE(form_->Project(), project_);
    }

    void showsTheRunsErrorAndRecovers() {
        AddBind(7, "5,x", false);
        AddWinners({37});
        Open();
        QVERIFY(!form_->Report().has_value());
        QCOMPARE(Summary(), QStringLiteral("无法回测：'x' is not a valid integer value"));
        QCOMPARE(Find<QTableView>("PeriodGrid")->model()->rowCount(), 0);
        QCOMPARE(Find<TChart>("ToleranceChart")->graphCount(), 0);
        QCOMPARE(Find<TChart>("RollingChart")->graphCount(), 0);
        const std::unique_ptr<TBaseBind> edited = CreateBind(7, project_->Options());
        edited->SetParam("5,10");
        project_->AssignBind(0, *edited);
        QTRY_VERIFY(form_->Report().has_value());
        QCOMPARE(Find<QTableView>("PeriodGrid")->model()->rowCount(), 1);
        QCOMPARE(Find<TChart>("ToleranceChart")->graphCount(), 3);
    }

    // The window stays open and says what happened, until it is given
    // another project.
    void saysSoWhenTheProjectLeavesTheList() {
        AddWinners({37});
        TSeqPrj& other = projects_->AddPrj(std::make_unique<TSeqPrj>(*net_));
        Open();
        form_->show();
        projects_->Del(0);
        QVERIFY(form_->Project() == nullptr);
        QVERIFY(form_->isVisible());
        QVERIFY(!form_->Report().has_value());
        QCOMPARE(form_->windowTitle(), QStringLiteral("回测 - 方案1（已删除）"));
        QCOMPARE(Summary(), QStringLiteral("方案1已从方案列表中删除。在主窗口的方案列表中选中一个"
                                           "方案，这里就显示它的回测。"));
        QVERIFY(!Find<QPushButton>("AllBt")->isEnabled());
        // Nothing follows the table while no project is shown.
        AddWinners({12});
        QVERIFY(!form_->Live().Busy());
        form_->ShowProject(other, QStringLiteral("方案1"));
        QCOMPARE(form_->Project(), &other);
        QCOMPARE(form_->windowTitle(), QStringLiteral("回测 - 方案1"));
        QTRY_VERIFY(form_->Report().has_value());
        QCOMPARE(form_->Report()->Range.To, 2);
        QVERIFY(Find<QPushButton>("AllBt")->isEnabled());
    }

    // Another project replaces the old one's figures at once by a note,
    // and its own follow.
    void showsAnotherProject() {
        AddBind(2, "3", true);
        AddWinners({37, 12});
        TSeqPrj& other = projects_->AddPrj(std::make_unique<TSeqPrj>(*net_));
        Open();
        QCOMPARE(form_->Report()->Result.Hits, 1);
        form_->ShowProject(other, QStringLiteral("方案2"));
        QCOMPARE(form_->windowTitle(), QStringLiteral("回测 - 方案2"));
        QVERIFY(!form_->Report().has_value());
        QCOMPARE(Summary(), QStringLiteral("正在回测……"));
        QTRY_VERIFY(form_->Report().has_value());
        QCOMPARE(form_->Report()->Result.Hits, 2);
        QCOMPARE(form_->Report()->Checked, 0);
        // The old project's changes no longer reach the window.
        project_->SetChecked(0, false);
        QVERIFY(!form_->Live().Busy());
    }

    void staysAboveTheDrawTableWindow() {
        Open();
        QVERIFY(form_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // Clearing the list lets the window go at once, so the list and the
    // table may be freed before the window is.
    void letsGoWhenTheListIsCleared() {
        AddWinners({37});
        Open();
        projects_->ClearPrjs();
        QVERIFY(form_->Project() == nullptr);
        QCOMPARE(Find<QTableView>("PeriodGrid")->model()->rowCount(), 0);
        projects_.reset();
        net_.reset();
        delete form_.data();
        QVERIFY(form_.isNull());
    }

    void reorderingTheListKeepsTheWindow() {
        AddWinners({37});
        projects_->AddPrj(std::make_unique<TSeqPrj>(*net_));
        Open();
        projects_->Move(0, 1);
        QCOMPARE(form_->Project(), project_);
        QVERIFY(form_->Report().has_value());
    }

    void conditionReportCardSorts() {
        AddBind(1, "1,2,3,4,5", false);  // passes 50 codes
        AddBind(4, "9", false);          // passes 90 codes
        AddWinners({19, 29, 37, 12});
        Open();
        auto* grid = Find<QTableWidget>("ConditionGrid");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(CellText(*grid, 0, 1), QStringLiteral("稳上头:[容]1,2,3,4,5"));
        QCOMPARE(CellText(*grid, 0, 2), QStringLiteral("100.0%"));
        QCOMPARE(CellText(*grid, 0, 3), QStringLiteral("50.0%"));
        QCOMPARE(CellText(*grid, 0, 4), QStringLiteral("2.00"));
        QCOMPARE(CellText(*grid, 1, 2), QStringLiteral("50.0%"));
        QCOMPARE(CellText(*grid, 1, 4), QStringLiteral("0.56"));
        grid->sortItems(4, Qt::AscendingOrder);
        QCOMPARE(CellText(*grid, 0, 0), QStringLiteral("2"));
        grid->sortItems(3, Qt::DescendingOrder);
        QCOMPARE(CellText(*grid, 0, 1), QStringLiteral("不上尾:[容]9"));
        QVERIFY(grid->isSortingEnabled());
    }

    void groupsShowExpectedHitsAgainstTheirBaselines() {
        AddBind(1, "0,1,2,3,4,5", true);
        AddBind(8, "0,1,2", true);
        AddBind(1, "0,1,2,3", false);
        AddWinners({33, 45, 0, 95, 12, 51});
        Open();
        auto* grid = Find<QTableWidget>("GroupGrid");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(CellText(*grid, 0, 0), QStringLiteral("40组"));
        QCOMPARE(CellText(*grid, 0, 1), QStringLiteral("40"));
        QCOMPARE(CellText(*grid, 0, 2), QStringLiteral("2.6"));
        QCOMPARE(CellText(*grid, 0, 3), QStringLiteral("43.3%"));
        QCOMPARE(CellText(*grid, 0, 4), QStringLiteral("40.0%"));
        QCOMPARE(CellText(*grid, 0, 5), QStringLiteral("1.08"));
        QCOMPARE(CellText(*grid, 1, 0), QStringLiteral("30组"));
        QCOMPARE(CellText(*grid, 1, 2), QStringLiteral("1.8"));
    }

    void periodTableNamesTheFailedConditions() {
        AddBind(1, "1", false);
        AddBind(7, "5,6,7", false);
        test::AddDraws(*net_, {"1201000", "3451789"});
        net_->SetLabelDate(1, *TLabel::Parse("2026150"), TDrawDate());
        Open();
        auto* grid = Find<QTableView>("PeriodGrid");
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("期号"));
        QCOMPARE(grid->model()->headerData(6, Qt::Horizontal).toString(),
                 QStringLiteral("未通过的条件"));
        QCOMPARE(ModelText(*grid, 0, 0), QStringLiteral("1"));
        QCOMPARE(ModelText(*grid, 0, 1), QString());
        QCOMPARE(ModelText(*grid, 0, 2), QStringLiteral("1201000"));
        QCOMPARE(ModelText(*grid, 0, 3), QStringLiteral("1xx1"));
        QCOMPARE(ModelText(*grid, 0, 4), QStringLiteral("1"));
        QCOMPARE(ModelText(*grid, 0, 5), QStringLiteral("命中"));
        QCOMPARE(ModelText(*grid, 0, 6), QStringLiteral("第2步 头尾合:[容]5,6,7"));
        QCOMPARE(ModelText(*grid, 1, 1), QStringLiteral("2026150"));
        QCOMPARE(ModelText(*grid, 1, 3), QStringLiteral("3xx1"));
        QCOMPARE(ModelText(*grid, 1, 4), QStringLiteral("2"));
        QCOMPARE(ModelText(*grid, 1, 5), QStringLiteral("失误"));
        QCOMPARE(ModelText(*grid, 1, 6),
                 QStringLiteral("第1步 稳上头:[容]1；第2步 头尾合:[容]5,6,7"));
    }

    void chartsShowTheCurveAndTheRollingRate() {
        AddBind(1, "1", false);
        AddBind(3, "1", false);
        TPrjOptions options = project_->Options();
        options.MissMax = 1;
        project_->SetOptions(options);
        std::vector<TCode> winners;
        for (int i = 0; i < 25; ++i) {
            winners.push_back(i % 5 == 0 ? 55 : 11);
        }
        AddWinners(winners);
        Open();
        auto* curve = Find<TChart>("ToleranceChart");
        QCOMPARE(curve->graphCount(), 3);
        const QCPGraph* codes = curve->graph(0);
        QCOMPARE(codes->name(), QStringLiteral("保留号码(%)"));
        QCOMPARE(codes->dataCount(), 3);
        QCOMPARE(PointOf(*codes, 1), QPointF(1, 19));
        const QCPGraph* hits = curve->graph(1);
        QCOMPARE(hits->name(), QStringLiteral("命中期数(%)"));
        QCOMPARE(PointOf(*hits, 0), QPointF(0, 80));
        QCOMPARE(PointOf(*hits, 2), QPointF(2, 100));
        const QCPGraph* mark = curve->graph(2);
        QCOMPARE(mark->name(), QStringLiteral("当前容错1"));
        QCOMPARE(PointOf(*mark, 0), QPointF(1, 19));
        QCOMPARE(PointOf(*mark, 1), QPointF(1, 80));

        auto* rolling = Find<TChart>("RollingChart");
        QCOMPARE(rolling->graphCount(), 2);
        const QCPGraph* rate = rolling->graph(0);
        QCOMPARE(rate->name(), QStringLiteral("近20期命中率(%)"));
        QCOMPARE(rate->dataCount(), 6);  // windows ending at 20..25
        QCOMPARE(PointOf(*rate, 0), QPointF(20, 80));
        const QCPGraph* baseline = rolling->graph(1);
        QCOMPARE(baseline->name(), QStringLiteral("随机基准(%)"));
        QCOMPARE(PointOf(*baseline, 0).y(), 19.0);
        QCOMPARE(PointOf(*baseline, 1), QPointF(25, 19));
        // Round ticks: whole tolerances, percentages in fifths, periods in
        // whole steps.
        QCOMPARE(TickStep(*curve->xAxis), 1.0);
        QCOMPARE(TickStep(*curve->yAxis), 20.0);
        QCOMPARE(TickStep(*rolling->xAxis), 1.0);
    }

    void thinnedLineKeepsTheEnds() {
        QCOMPARE(ThinnedIndexes(5, 10), (std::vector<int>{0, 1, 2, 3, 4}));
        QCOMPARE(ThinnedIndexes(10, 4), (std::vector<int>{0, 3, 6, 9}));
        QCOMPARE(ThinnedIndexes(11, 4), (std::vector<int>{0, 4, 8, 10}));
        QCOMPARE(ThinnedIndexes(1, 4), (std::vector<int>{0}));
        QVERIFY(ThinnedIndexes(0, 4).empty());
        const std::vector<int> million = ThinnedIndexes(1000000, 2000);
        QVERIFY(million.size() <= 2000 && million.size() > 1900);
        QCOMPARE(million.back(), 999999);
    }

    // Run with TOVARIN_SHOT set: the window on the bundled example document.
    void screenshotOnTheExampleDocument() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT names the file for the picture");
        }
        LoadDocument(TOVARIN_EXAMPLE_DOCUMENT, *net_, *projects_);
        project_ = &projects_->GetSeqPrj(0);
        Open();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.data()));
        QTest::qWait(200);
        const QString path = QString::fromLocal8Bit(shot);
        QVERIFY(form_->grab().save(path));
        // The other tabs beside it: name-groups.png and name-periods.png.
        auto* tabs = Find<QTabWidget>("BacktestTabs");
        for (const auto& [index, suffix] : {std::pair{1, "-groups"}, std::pair{2, "-periods"}}) {
            tabs->setCurrentIndex(index);
            QTest::qWait(50);
            QString other = path;
            other.insert(other.lastIndexOf(QLatin1Char('.')), QLatin1String(suffix));
            QVERIFY(form_->grab().save(other));
        }
    }
};

QTEST_MAIN(BacktestFormTest)
#include "BacktestFormTest.moc"
