// The statistics window as the main window opens it: its menu entry, the
// conditions it makes in the selected project, and the draw table it follows.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <memory>

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Bind.h"
#include "core/engine/Prj.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "gui/stats/StatsForm.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

const std::string kWorkDoc = "工作文档.lvrn";
const std::string kBundledDoc = std::string(TOVARIN_TEST_DATA) + "/../../data/" + kWorkDoc;

TStatsForm* OpenStatsForm() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<TStatsForm*>(window); form != nullptr && form->isVisible()) {
            return form;
        }
    }
    return nullptr;
}

void SelectRows(QTableView& table, const std::vector<int>& rows) {
    table.clearSelection();
    for (const int row : rows) {
        table.selectionModel()->select(table.model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

}  // namespace

class StatsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = test::MakeMainForm(*dir_, dialogs_);
    }

    void cleanup() {
        form_.reset();
        dialogs_.reset();
        dir_.reset();
    }

    void menuEntryOpensTheWindow() {
        QAction* entry = form_->Actions().FileMenuStats;
        QVERIFY(entry != nullptr);
        QCOMPARE(entry->text(), QStringLiteral("号码统计(&H)..."));
        QCOMPARE(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
        QVERIFY(form_->findChild<QMenu*>(QStringLiteral("FileMenu"))->actions().contains(entry));
        QVERIFY(OpenStatsForm() == nullptr);
        entry->trigger();
        TStatsForm* stats = OpenStatsForm();
        QVERIFY(stats != nullptr);
        QCOMPARE(stats->windowTitle(), QStringLiteral("号码统计"));
        QCOMPARE(stats->Stats().Draws, form_->CodeNet().Count());
        // It stays above the draw-table window, which stays on top.
        QVERIFY(stats->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form_->CodesForm().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // A second trigger brings the same window back.
        stats->hide();
        entry->trigger();
        QCOMPARE(OpenStatsForm(), stats);
    }

    void selectionBecomesAConditionOfTheSelectedProject() {
        form_->Lists().ProjectView().SelectOnly(1);
        TSeqPrj& project = form_->PrjMgr().GetSeqPrj(1);
        const int before = project.BindCount();
        TStatsForm& stats = Open();
        SelectRows(Table(stats, "Head"), {9, 0, 4});
        std::unique_ptr<QMenu> menu =
            stats.SelectionMenu(TStatDim::Head, stats.SelectedTableItems(TStatDim::Head));
        menu->findChild<QAction*>("StatsBindKind2")->trigger();

        QCOMPARE(project.BindCount(), before + 1);
        const TBaseBind& bind = project.GetBind(before);
        QCOMPARE(bind.Kind(), 2);
        QCOMPARE(bind.Param(), std::string("0,4,9"));
        QVERIFY(bind.Checked);
        QListWidget& list = form_->Lists().ConditionView();
        QCOMPARE(list.count(), before + 1);
        QCOMPARE(list.item(before)->text(), QStringLiteral("不上头:[容]0,4,9"));
        QCOMPARE(list.item(before)->checkState(), Qt::Checked);
        QCOMPARE(form_->Lists().SelectedBindIndex(), before);
        QVERIFY(form_->BindAttForm().isVisible());
        QVERIFY(form_->DocModified());
        QVERIFY(dialogs_->Messages.isEmpty());

        // Sums make 排除合 the same way.
        SelectRows(Table(stats, "Sum"), {18, 0, 10});
        stats.SelectionMenu(TStatDim::Sum, stats.SelectedTableItems(TStatDim::Sum))
            ->findChild<QAction*>("StatsBindKind8")
            ->trigger();
        QCOMPARE(project.GetBind(before + 1).Param(), std::string("0,10,18"));
        QCOMPARE(list.item(before + 1)->text(), QStringLiteral("排除合:[容]0,10,18"));
    }

    void withoutOneSelectedProjectItAsksForOne() {
        form_->Lists().ProjectView().clearSelection();
        TStatsForm& stats = Open();
        const int before = form_->PrjMgr().GetSeqPrj(0).BindCount();
        SelectRows(Table(stats, "Tail"), {1});
        stats.SelectionMenu(TStatDim::Tail, stats.SelectedTableItems(TStatDim::Tail))
            ->findChild<QAction*>("StatsBindKind3")
            ->trigger();
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("请选择一个方案")});
        QCOMPARE(form_->PrjMgr().GetSeqPrj(0).BindCount(), before);

        form_->Lists().ProjectView().topLevelItem(0)->setSelected(true);
        form_->Lists().ProjectView().topLevelItem(1)->setSelected(true);
        stats.SelectionMenu(TStatDim::Tail, {1})->findChild<QAction*>("StatsBindKind3")->trigger();
        QCOMPARE(dialogs_->Messages.size(), 2);
        QCOMPARE(form_->PrjMgr().GetSeqPrj(0).BindCount(), before);
    }

    void followsTheDocumentsDrawTable() {
        TStatsForm& stats = Open();
        const int draws = form_->CodeNet().Count();
        QVERIFY(draws > 0);
        QCOMPARE(stats.Stats().Draws, draws);
        test::AddDraws(form_->CodeNet(), {"1234567"});
        QTRY_COMPARE(stats.Stats().Draws, draws + 1);
        // Another document's draws replace the table.
        TCodeNet other;
        TPrjMgr projects(other);
        test::AddDraws(other, {"7000000", "7000000", "7000000"});
        SaveDocument(dir_->File("other.lvrn"), other, projects);
        form_->LoadDocument(QString::fromStdString(dir_->File("other.lvrn")));
        QTRY_COMPARE(stats.Stats().Draws, 3);
        QCOMPARE(stats.Stats().Of(TStatDim::Head)[7].Hits, 3);
    }

    void exportAsksThroughTheWindowsDialogs() {
        TStatsForm& stats = Open();
        dialogs_->NextSaveName = QString::fromStdString(dir_->File("stats.csv"));
        stats.findChild<QAbstractButton*>("StatsExportCsv")->click();
        QCOMPARE(dialogs_->LastSpec.Title, QStringLiteral("导出统计表到CSV文件"));
        QCOMPARE(dialogs_->LastSpec.Filter, QStringLiteral("CSV文件 (*.csv)"));
        QCOMPARE(dialogs_->LastSpec.DefaultSuffix, QStringLiteral("csv"));
        QVERIFY(ReadWholeFile(dir_->File("stats.csv")).starts_with("\xEF\xBB\xBF"));
    }

private:
    TStatsForm& Open() {
        form_->Actions().FileMenuStats->trigger();
        TStatsForm* stats = OpenStatsForm();
        if (stats == nullptr) {
            qFatal("the statistics window did not open");
        }
        return *stats;
    }

    static QTableView& Table(TStatsForm& stats, const char* dim) {
        return *stats.findChild<QTableView*>(QStringLiteral("Stats%1Table").arg(dim));
    }

    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;
};

QTEST_MAIN(StatsWindowTest)
#include "StatsWindowTest.moc"
