#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/stats/StatsText.h"
#include "gui/charts/Chart.h"
#include "gui/common/LiveRecompute.h"
#include "gui/stats/StatsForm.h"
#include "gui/stats/StatsTableModel.h"
#include "gui/stats/TrendChart.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

// Heads 1 1 3 1 4, tails 2 5 2 9 2, sums 3 6 5 10 6.
const std::vector<std::string> kFiveDraws = {"1992777", "1995777", "3992777", "1999777", "4992777"};

enum Column { ItemCol, HitsCol, ExpectedCol, CurrentCol, MaxCol, AverageCol };

// Draws whose heads and tails follow a fixed irregular pattern.
void AddPatternDraws(TCodeNet& net, int count) {
    std::vector<TSeq> rows(static_cast<size_t>(count));
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].SetNum(0, static_cast<int>((i * 7 + i / 3) % 10));
        rows[i].SetNum(3, static_cast<int>((i * 3 + i / 5) % 10));
    }
    net.Replace(std::move(rows));
}

QString ReadAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

}  // namespace

class StatsFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        net_ = std::make_unique<TCodeNet>();
        test::AddDraws(*net_, kFiveDraws);
        made_.clear();
        form_ = std::make_unique<TStatsForm>(
            *net_, [this](int kind, const std::string& param) { made_.emplace_back(kind, param); });
    }

    void cleanup() {
        form_.reset();
        net_.reset();
    }

    void tablesShowEveryDimension() {
        QCOMPARE(Tabs().count(), 5);
        QCOMPARE(Tabs().tabText(0), QStringLiteral("头数"));
        QCOMPARE(Tabs().tabText(1), QStringLiteral("尾数"));
        QCOMPARE(Tabs().tabText(2), QStringLiteral("头尾合"));
        QCOMPARE(Tabs().tabText(3), QStringLiteral("头尾码"));
        QCOMPARE(Tabs().tabText(4), QStringLiteral("走势图"));
        const QStringList titles = {"头数",     "出现次数", "理论次数",
                                    "当前遗漏", "最大遗漏", "平均遗漏"};
        for (int col = 0; col < 6; ++col) {
            QCOMPARE(Table("Head").model()->headerData(col, Qt::Horizontal).toString(),
                     titles[col]);
        }
        QCOMPARE(Table("Head").model()->rowCount(), 10);
        QCOMPARE(Table("Tail").model()->rowCount(), 10);
        QCOMPARE(Table("Sum").model()->rowCount(), 19);
        QCOMPARE(Table("Code").model()->rowCount(), 100);
        QCOMPARE(RowTexts(Table("Head"), 1), (QStringList{"1", "3", "0.50", "1", "1", "0.50"}));
        QCOMPARE(RowTexts(Table("Head"), 0), (QStringList{"0", "0", "0.50", "5", "5", "5.00"}));
        QCOMPARE(RowTexts(Table("Sum"), 6), (QStringList{"6", "2", "0.35", "0", "2", "1.00"}));
        QCOMPARE(RowTexts(Table("Code"), 42), (QStringList{"4xx2", "1", "0.05", "0", "4", "2.00"}));
        QCOMPARE(Caption(), QStringLiteral("第1期至第5期，共5期"));
    }

    void barChartsShowHitsAgainstExpected() {
        for (const auto& [name, items] :
             std::vector<std::pair<const char*, int>>{{"Head", 10}, {"Sum", 19}, {"Code", 100}}) {
            auto* chart = form_->findChild<TChart*>(QStringLiteral("Stats%1Chart").arg(name));
            QVERIFY(chart != nullptr);
            QCOMPARE(chart->plottableCount(), 2);
            QCOMPARE(chart->plottable(0)->name(), QStringLiteral("出现次数"));
            QCOMPARE(chart->plottable(1)->name(), QStringLiteral("理论次数"));
            QCOMPARE(Bars(*chart, 0).dataCount(), items);
            QCOMPARE(chart->Categories().size(), items);
        }
        QCOMPARE(Chart("Code").Categories()[42], QStringLiteral("4xx2"));
        TChart& sums = Chart("Sum");
        QCOMPARE(sums.Categories()[18], QStringLiteral("18"));
        QCOMPARE(Bars(sums, 0).data()->at(6)->value, 2.0);
        QCOMPARE(Bars(sums, 1).data()->at(6)->value, 0.35);
        QCOMPARE(Bars(sums, 0).data()->at(18)->value, 0.0);
        // Whole ticks: the largest count (2) under a top of 3.
        QCOMPARE(sums.yAxis->ticker().staticCast<QCPAxisTickerFixed>()->tickStep(), 1.0);
        QCOMPARE(sums.yAxis->range().upper, 3.0);
        // Live: the bars follow the table.
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        test::AddDraws(*net_, {"9009000"});
        QTRY_COMPARE(Bars(sums, 0).data()->at(18)->value, 1.0);
        QCOMPARE(Bars(sums, 1).data()->at(6)->value, 0.42);
    }

    void sumChartShowsEveryLabelAndTheValuesUnderThePointer() {
        Tabs().setCurrentIndex(2);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        TChart& sums = Chart("Sum");
        sums.replot();
        // The nineteen labels stand side by side at the window's size.
        QCOMPARE(sums.xAxis->tickLabelRotation(), 0.0);
        const QPointF six(sums.xAxis->coordToPixel(6), sums.yAxis->coordToPixel(1));
        QCOMPARE(sums.ValueTipAt(six), QStringLiteral("6\n出现次数：2\n理论次数：0.35"));
    }

    void columnsSortByValue() {
        // Current omissions: sum 6 0, sum 10 1, sum 5 2, sum 3 4, the rest 5.
        QTableView& table = Table("Sum");
        table.sortByColumn(CurrentCol, Qt::AscendingOrder);
        QCOMPARE(table.model()->index(0, ItemCol).data().toString(), QStringLiteral("6"));
        QCOMPARE(table.model()->index(1, ItemCol).data().toString(), QStringLiteral("10"));
        QCOMPARE(table.model()->index(2, ItemCol).data().toString(), QStringLiteral("5"));
        QCOMPARE(table.model()->index(3, ItemCol).data().toString(), QStringLiteral("3"));
        QCOMPARE(table.model()->index(4, CurrentCol).data().toString(), QStringLiteral("5"));
        table.sortByColumn(HitsCol, Qt::DescendingOrder);
        QCOMPARE(table.model()->index(0, ItemCol).data().toString(), QStringLiteral("6"));
        // By number, not by text: 18 before 9.
        table.sortByColumn(ItemCol, Qt::DescendingOrder);
        QCOMPARE(table.model()->index(0, ItemCol).data().toString(), QStringLiteral("18"));
        QCOMPARE(table.model()->index(9, ItemCol).data().toString(), QStringLiteral("9"));
    }

    void currentOmissionColouredByHowFarItPassesTheAverage() {
        TItemStats item;
        item.Average = 2.0;
        for (const auto& [current, level] :
             std::vector<std::pair<int, int>>{{0, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 2}, {7, 3}}) {
            item.Current = current;
            QCOMPARE(OverdueLevel(item), level);
        }
        item.Average = 0;
        item.Current = 0;
        QCOMPARE(OverdueLevel(item), 0);
        // Tail 5: current 3, average 2; tail 2: current 0.
        const QAbstractItemModel& model = *Table("Tail").model();
        QVERIFY(model.index(5, CurrentCol).data(Qt::BackgroundRole).isValid());
        QVERIFY(!model.index(2, CurrentCol).data(Qt::BackgroundRole).isValid());
        QVERIFY(!model.index(5, HitsCol).data(Qt::BackgroundRole).isValid());
        // A head absent from the whole window is not coloured.
        QVERIFY(!model.index(7, CurrentCol).data(Qt::BackgroundRole).isValid());
    }

    void presetsAndSpinChooseTheWindow() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        AddPatternDraws(*net_, 120);
        QTRY_COMPARE(form_->Stats().Window.Count, 120);
        QCOMPARE(Spin().value(), 120);
        Button("StatsLast30").click();
        QCOMPARE(form_->Last(), 30);
        QCOMPARE(form_->Stats().Window.Count, 30);
        QCOMPARE(Caption(), QStringLiteral("第91期至第120期，共30期"));
        QCOMPARE(Spin().value(), 30);
        Button("StatsLast100").click();
        QCOMPARE(form_->Stats().Window.Count, 100);
        QVERIFY(Button("StatsLast100").isChecked());
        Spin().setValue(77);
        QCOMPARE(form_->Last(), 77);
        QCOMPARE(form_->Stats().FromPeriod, 44);
        QVERIFY(!Button("StatsLast100").isChecked());
        Spin().setValue(50);
        QVERIFY(Button("StatsLast50").isChecked());
        // A window above the row count is every draw.
        Spin().setValue(500);
        QCOMPARE(form_->Stats().Window.Count, 120);
        QCOMPARE(Caption(), QStringLiteral("第1期至第120期，共120期"));
        Button("StatsLastAll").click();
        QCOMPARE(form_->Last(), 0);
        QCOMPARE(Spin().value(), 120);
    }

    // After a change the figures follow once the changes pause, computed
    // off the user-interface thread: the change itself returns at once.
    void followsTheTableWhileShown() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        test::AddDraws(*net_, {"0990000"});
        QCOMPARE(Caption(), QStringLiteral("第1期至第5期，共5期"));
        QVERIFY(form_->Live().Busy());
        QTRY_COMPARE(Caption(), QStringLiteral("第1期至第6期，共6期"));
        QCOMPARE(RowTexts(Table("Head"), 0), (QStringList{"0", "1", "0.60", "0", "5", "2.50"}));
        net_->SetNum(5, 0, 1);
        QTRY_COMPARE(RowTexts(Table("Head"), 1), (QStringList{"1", "4", "0.60", "0", "1", "0.40"}));
        net_->Delete(0);
        QTRY_COMPARE(Caption(), QStringLiteral("第1期至第5期，共5期"));
        net_->Clear();
        QTRY_COMPARE(Caption(), QStringLiteral("没有开奖号码"));
        QCOMPARE(RowTexts(Table("Sum"), 18), (QStringList{"18", "0", "0.00", "0", "0", "0.00"}));
    }

    // Typing digit after digit makes one recomputation once the typing
    // pauses, not one per digit.
    void typingMakesOneRecomputation() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QSignalSpy shown(&form_->Live(), &TLiveRecompute::Shown);
        const int row = net_->Add();
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            net_->SetNum(row, pos, 9);
        }
        QTRY_COMPARE(Caption(), QStringLiteral("第1期至第6期，共6期"));
        QTRY_VERIFY(!form_->Live().Busy());
        QCOMPARE(shown.count(), 1);
        QCOMPARE(RowTexts(Table("Head"), 9), (QStringList{"9", "1", "0.60", "0", "5", "2.50"}));
    }

    // Omissions are draws since the item last came out, whatever window is
    // chosen; hits count inside the window only.
    void omissionsDoNotRestartAtTheWindow() {
        AddPatternDraws(*net_, 120);
        form_->SetLast(0);
        const THistoryStats all = form_->Stats();
        for (const int last : {1, 30, 100}) {
            form_->SetLast(last);
            for (const TStatDim dim : kStatDims) {
                for (const TItemStats& item : form_->Stats().Of(dim)) {
                    QCOMPARE(item.Current, all.Of(dim)[static_cast<size_t>(item.Item)].Current);
                    QVERIFY(item.Max >= item.Current);
                }
            }
        }
        form_->SetLast(30);
        int hits = 0;
        for (const TItemStats& item : form_->Stats().Of(TStatDim::Head)) {
            hits += item.Hits;
        }
        QCOMPARE(hits, 30);
    }

    void catchesUpWhenShownAgain() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->hide();
        TCodeNet replacement;
        test::AddDraws(replacement, {"5000000", "5000000"});
        net_->Replace(replacement.TakeRows());
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QCOMPARE(Caption(), QStringLiteral("第1期至第2期，共2期"));
        QCOMPARE(RowTexts(Table("Head"), 5), (QStringList{"5", "2", "0.20", "0", "0", "0.00"}));
    }

    void conditionFromSelectedHeads() {
        SelectRows(Table("Head"), {9, 0, 4});
        std::unique_ptr<QMenu> menu =
            form_->SelectionMenu(TStatDim::Head, form_->SelectedTableItems(TStatDim::Head));
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().front()->text(), QStringLiteral("用选中的号码创建条件"));
        auto* kinds = menu->findChild<QMenu*>("StatsBindMenu");
        QVERIFY(kinds != nullptr);
        QVERIFY(kinds->isEnabled());
        QCOMPARE(KindTexts(*kinds), (QStringList{"稳上头", "不上头", "头尾数", "排除数"}));
        kinds->findChild<QAction*>("StatsBindKind2")->trigger();
        QCOMPARE(made_.size(), 1u);
        QCOMPARE(made_.front().first, 2);
        QCOMPARE(made_.front().second, std::string("0,4,9"));
    }

    void conditionFromSelectedTailsAndSums() {
        SelectRows(Table("Tail"), {3});
        std::unique_ptr<QMenu> tails =
            form_->SelectionMenu(TStatDim::Tail, form_->SelectedTableItems(TStatDim::Tail));
        QCOMPARE(KindTexts(*tails->findChild<QMenu*>("StatsBindMenu")),
                 (QStringList{"稳上尾", "不上尾", "头尾数", "排除数"}));
        tails->findChild<QAction*>("StatsBindKind3")->trigger();

        // Sorted by hits, the view's rows are not the items' order.
        Table("Sum").sortByColumn(HitsCol, Qt::DescendingOrder);
        Table("Sum").sortByColumn(ItemCol, Qt::DescendingOrder);
        SelectRows(Table("Sum"), {0, 8, 18});  // view rows: sums 18, 10, 0
        std::unique_ptr<QMenu> sums =
            form_->SelectionMenu(TStatDim::Sum, form_->SelectedTableItems(TStatDim::Sum));
        QCOMPARE(KindTexts(*sums->findChild<QMenu*>("StatsBindMenu")),
                 (QStringList{"头尾合", "排除合"}));
        sums->findChild<QAction*>("StatsBindKind8")->trigger();
        const std::vector<std::pair<int, std::string>> expected = {{3, "3"}, {8, "0,10,18"}};
        QCOMPARE(made_, expected);
    }

    void noConditionWithoutItemsOrFromCodes() {
        std::unique_ptr<QMenu> empty = form_->SelectionMenu(TStatDim::Head, {});
        QVERIFY(!empty->findChild<QMenu*>("StatsBindMenu")->isEnabled());
        SelectRows(Table("Code"), {37});
        std::unique_ptr<QMenu> codes =
            form_->SelectionMenu(TStatDim::Code, form_->SelectedTableItems(TStatDim::Code));
        QVERIFY(!codes->findChild<QMenu*>("StatsBindMenu")->isEnabled());
        QVERIFY(codes->findChild<QMenu*>("StatsBindMenu")->actions().isEmpty());
        QVERIFY(made_.empty());
    }

    void trendChartSelectsColumnsByClicks() {
        ShowTrend();
        TTrendChart& chart = Trend();
        const TTrendLayout& layout = chart.Layout();
        QCOMPARE(layout.Blocks().size(), 2u);
        // Tail 5 of line 1, then Ctrl on tail 2 and tail 9.
        ClickCell(chart, 1, 5, 1);
        QCOMPARE(chart.SelectedDim(), TStatDim::Tail);
        QCOMPARE(chart.SelectedItems(), (std::vector<int>{5}));
        ClickCell(chart, 1, 9, 0, Qt::ControlModifier);
        ClickCell(chart, 1, 2, 3, Qt::ControlModifier);
        QCOMPARE(chart.SelectedItems(), (std::vector<int>{2, 5, 9}));
        ClickCell(chart, 1, 9, 2, Qt::ControlModifier);
        QCOMPARE(chart.SelectedItems(), (std::vector<int>{2, 5}));
        // A click in the other block starts over there; Shift takes a range.
        ClickCell(chart, 0, 3, 4);
        ClickCell(chart, 0, 6, 4, Qt::ShiftModifier);
        QCOMPARE(chart.SelectedDim(), TStatDim::Head);
        QCOMPARE(chart.SelectedItems(), (std::vector<int>{3, 4, 5, 6}));
        // Below the last draw nothing is hit.
        ClickCell(chart, 0, 8, 7);
        QCOMPARE(chart.SelectedItems(), (std::vector<int>{3, 4, 5, 6}));
        std::unique_ptr<QMenu> menu =
            form_->SelectionMenu(chart.SelectedDim(), chart.SelectedItems());
        menu->findChild<QAction*>("StatsBindKind5")->trigger();
        const std::vector<std::pair<int, std::string>> expected = {{5, "3,4,5,6"}};
        QCOMPARE(made_, expected);
    }

    void trendChartShowsSumsWhenChosen() {
        ShowTrend();
        form_->findChild<QComboBox*>("TrendBlocksCbb")->setCurrentIndex(1);
        QCOMPARE(Trend().Layout().Blocks(), std::vector<TStatDim>{TStatDim::Sum});
        ClickCell(Trend(), 0, 18, 0);
        QCOMPARE(Trend().SelectedDim(), TStatDim::Sum);
        QCOMPARE(Trend().SelectedItems(), (std::vector<int>{18}));
    }

    // The picture of the five draws: a disc in the block's colour where the
    // item occurs, grey omission figures elsewhere, a thick line above
    // period 5.
    void trendImagePaintsDiscsWhereItemsOccur() {
        const QImage image = Trend().RenderImage(TStatsForm::kImageLines);
        const TTrendLayout& layout = Trend().Layout();
        QCOMPARE(image.width(), layout.Width());
        QCOMPARE(image.height(), TTrendLayout::HeaderHeight + 5 * TTrendLayout::RowHeight + 1);
        // Head 4 at line 4 (period 5): red disc; head 0 at line 4: no disc.
        QCOMPARE(CellPixel(image, 0, 4, 4).red() > 150 && CellPixel(image, 0, 4, 4).blue() < 100,
                 true);
        QCOMPARE(CellPixel(image, 0, 0, 4).red() > 200 && CellPixel(image, 0, 0, 4).green() > 200,
                 true);
        // Tail 2 at line 0: blue disc.
        QVERIFY(CellPixel(image, 1, 2, 0).blue() > 150 && CellPixel(image, 1, 2, 0).red() < 100);
        const int thickY = layout.LineTop(4) - 1;
        QCOMPARE(image.pixelColor(5, thickY), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(image.pixelColor(5, layout.LineTop(3) - 1), QColor(Qt::white));
        // At most the newest lines asked for.
        QCOMPARE(Trend().RenderImage(2).height(),
                 TTrendLayout::HeaderHeight + 2 * TTrendLayout::RowHeight + 1);
    }

    void trendShowsTheNewestDrawFirst() {
        AddPatternDraws(*net_, 1000);
        ShowTrend();
        QScrollBar& bar = *Trend().verticalScrollBar();
        QVERIFY(bar.maximum() > 900);
        QCOMPARE(Trend().TopLine(), bar.maximum());
        // It stays with the newest draw as draws come in.
        test::AddDraws(*net_, {"1234567"});
        QTRY_COMPARE(form_->Stats().Draws, 1001);
        QCOMPARE(Trend().TopLine(), bar.maximum());
        // Scrolled up, it stays where the user put it.
        bar.setValue(10);
        test::AddDraws(*net_, {"1234567"});
        QTRY_COMPARE(form_->Stats().Draws, 1002);
        QCOMPARE(Trend().TopLine(), 10);
    }

    void exportsCsvAndPng() {
        test::TempDir dir;
        form_->ExportCsv(QString::fromStdString(dir.File("stats.csv")));
        QFile csv(QString::fromStdString(dir.File("stats.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray bytes = csv.readAll();
        QCOMPARE(bytes, QByteArray::fromStdString(StatsCsv(form_->Stats())));
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(ReadAll(dir.File("stats.csv")).contains(QStringLiteral("1,3,0.50,1,1,0.50\r\n")));

        // The picture shows the draws, not the columns selected on screen.
        ShowTrend();
        ClickCell(Trend(), 1, 5, 1);
        QCOMPARE(Trend().SelectedItems(), (std::vector<int>{5}));
        form_->ExportTrendPng(QString::fromStdString(dir.File("trend.png")));
        QImage png;
        QVERIFY(png.load(QString::fromStdString(dir.File("trend.png")), "PNG"));
        QCOMPARE(png.size(), Trend().RenderImage(TStatsForm::kImageLines).size());
        const QPoint heading(Trend().Layout().BlockLeft(1) + 5 * TTrendLayout::CellWidth + 2,
                             TTrendLayout::BandHeight + 2);
        QCOMPARE(png.pixelColor(heading), QColor(0xEC, 0xEC, 0xEC));
        QCOMPARE(Trend().SelectedItems(), (std::vector<int>{5}));

        // A folder that does not exist: the writer's error, no file.
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 form_->ExportCsv(QString::fromStdString(dir.File("no/x.csv"))));
    }

    void exportButtonsAskForTheFile() {
        test::TempDir dir;
        QStringList asked;
        QString answer;
        form_->SetAskSavePath([&](const QString& caption, const QString& filter) {
            asked << caption + "|" + filter;
            return answer;
        });
        Button<QPushButton>("StatsExportCsv").click();
        QVERIFY(dir.Names().empty());
        answer = QString::fromStdString(dir.File("a.csv"));
        Button<QPushButton>("StatsExportCsv").click();
        answer = QString::fromStdString(dir.File("a.png"));
        Button<QPushButton>("StatsExportPng").click();
        QCOMPARE(dir.Names(), (std::vector<std::string>{"a.csv", "a.png"}));
        QCOMPARE(asked, (QStringList{"导出统计表到CSV文件|CSV文件 (*.csv)",
                                     "导出统计表到CSV文件|CSV文件 (*.csv)",
                                     "导出走势图到PNG图片|PNG图片 (*.png)"}));
    }

    // Run with TOVARIN_SHOT set to a file name stem: the example document's
    // last 100 draws, one picture per tab (stem-头数.png ...).
    void screenshotsOfTheExampleDocument() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT names the files for the pictures");
        }
        TPrjMgr projects(*net_);
        LoadDocument(TOVARIN_TEST_DATA "/../../data/工作文档.lvrn", *net_, projects);
        form_->resize(1100, 720);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        Button("StatsLast100").click();
        SelectRows(Table("Head"), {2, 5});
        for (int tab = 0; tab < Tabs().count(); ++tab) {
            Tabs().setCurrentIndex(tab);
            QTest::qWait(200);
            if (tab == 4) {
                ClickCell(Trend(), 1, 3, 2);
                ClickCell(Trend(), 1, 7, 5, Qt::ControlModifier);
            }
            const QString file = QString::fromLocal8Bit(shot) + "-" + Tabs().tabText(tab) + ".png";
            QVERIFY(form_->grab().save(file));
        }
        form_->findChild<QComboBox*>("TrendBlocksCbb")->setCurrentIndex(1);
        QTest::qWait(100);
        QVERIFY(form_->grab().save(QString::fromLocal8Bit(shot) + "-头尾合走势.png"));
        // The last 30 draws from their first line: omissions that count the
        // draws before the window.
        form_->findChild<QComboBox*>("TrendBlocksCbb")->setCurrentIndex(0);
        Button("StatsLast30").click();
        Trend().verticalScrollBar()->setValue(0);
        QTest::qWait(100);
        QVERIFY(form_->grab().save(QString::fromLocal8Bit(shot) + "-走势图30期.png"));
    }

private:
    QTabWidget& Tabs() const { return *form_->findChild<QTabWidget*>("StatsTabs"); }
    QTableView& Table(const char* dim) const {
        return *form_->findChild<QTableView*>(QStringLiteral("Stats%1Table").arg(dim));
    }
    TChart& Chart(const char* dim) const {
        return *form_->findChild<TChart*>(QStringLiteral("Stats%1Chart").arg(dim));
    }
    static QCPBars& Bars(TChart& chart, int set) {
        return *qobject_cast<QCPBars*>(chart.plottable(set));
    }
    TTrendChart& Trend() const { return *form_->findChild<TTrendChart*>("TrendChart"); }
    QSpinBox& Spin() const { return *form_->findChild<QSpinBox*>("StatsLastEd"); }
    QString Caption() const { return form_->findChild<QLabel*>("StatsWindowLbl")->text(); }
    template <typename T = QAbstractButton>
    T& Button(const char* name) const {
        T* button = form_->findChild<T*>(name);
        if (button == nullptr) {
            qFatal("no button %s", name);
        }
        return *button;
    }

    static QStringList RowTexts(const QTableView& table, int row) {
        QStringList texts;
        for (int col = 0; col < table.model()->columnCount(); ++col) {
            texts << table.model()->index(row, col).data().toString();
        }
        return texts;
    }

    static void SelectRows(QTableView& table, const std::vector<int>& rows) {
        table.clearSelection();
        for (const int row : rows) {
            table.selectionModel()->select(table.model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    static QStringList KindTexts(const QMenu& menu) {
        QStringList texts;
        for (const QAction* action : menu.actions()) {
            texts << action->text();
        }
        return texts;
    }

    void ShowTrend() {
        form_->resize(900, 600);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        Tabs().setCurrentIndex(4);
        QTest::qWait(20);
    }

    static QPoint CellCentre(const TTrendLayout& layout, int block, int item, int line) {
        return {
            layout.BlockLeft(block) + item * TTrendLayout::CellWidth + TTrendLayout::CellWidth / 2,
            layout.LineTop(line) + TTrendLayout::RowHeight / 2};
    }

    static void ClickCell(TTrendChart& chart, int block, int item, int line,
                          Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, keys,
                          CellCentre(chart.Layout(), block, item, line));
    }

    QColor CellPixel(const QImage& image, int block, int item, int line) const {
        return image.pixelColor(CellCentre(Trend().Layout(), block, item, line) + QPoint(4, 4));
    }

    std::unique_ptr<TCodeNet> net_;
    std::unique_ptr<TStatsForm> form_;
    std::vector<std::pair<int, std::string>> made_;
};

QTEST_MAIN(StatsFormTest)
#include "StatsFormTest.moc"
