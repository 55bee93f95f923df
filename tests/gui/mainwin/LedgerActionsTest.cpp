// The ledger on a real main window: 记录预测 as a step of the undo history,
// the option kept in the program's own options file, the status when a draw
// settles entries, and the 成绩单 window with its clearing.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerFormat.h"
#include "gui/common/DocUndo.h"
#include "gui/draws/CodesDlg.h"
#include "gui/ledger/LedgerForm.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/LedgerActions.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

// Two draws labelled 2026149 and 26150, two projects whose target is 3.
const std::string kLabelledDoc = std::string(TOVARIN_TEST_DATA) + "/documents/labelled.lvrn";

}  // namespace

class LedgerActionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = test::MakeMainForm(*dir_, dialogs_);
        // Opened as the user opens it, from a folder of the system's own
        // (the undo history starts there).
        const std::string copy = dir_->File("labelled.lvrn");
        WriteFileAtomically(copy, ReadWholeFile(kLabelledDoc));
        QVERIFY(form_->OpenNamedDocument(QString::fromStdString(copy)));
        actions_ = form_->findChild<TLedgerActions*>();
        QVERIFY(actions_ != nullptr);
        form_->Lists().ProjectView().SelectOnly(0);
    }
    void cleanup() {
        form_.reset();
        dir_.reset();
    }

    void recordingIsAStepOfTheHistory() {
        form_->Actions().ProjectMenuRecord->trigger();
        QCOMPARE(dialogs_->Errors, QStringList{QStringLiteral("请先对方案1进行筛选计算")});
        QCOMPARE(form_->Ledger().Count(), 0);

        form_->Actions().ProjectMenuCalcAll->trigger();
        form_->Actions().ProjectMenuRecord->trigger();
        QCOMPARE(form_->Ledger().Count(), 1);
        QCOMPARE(form_->Ledger().Entries()[0].Record.Label, std::optional<std::string>("26151"));
        QCOMPARE(form_->StatusPanel(0).text(),
                 QStringLiteral("已记录方案1对第26151期的预测（20个号码）"));
        QVERIFY(form_->DocModified());
        QCOMPARE(QString::fromStdString(form_->Care().Undo().History().UndoName()),
                 QStringLiteral("记录预测"));
        form_->Care().Undo().Undo();
        QCOMPARE(form_->Ledger().Count(), 0);
        QVERIFY(!form_->DocModified());
    }

    void theOptionRecordsEveryRunAndIsKeptInItsOwnFile() {
        form_->Actions().ProjectMenuAutoRecord->setChecked(true);
        QCOMPARE(ReadWholeFile(dir_->Path() + "/tovarin-options.txt"),
                 std::string("AutoRecordPrediction=1\n"));
        form_->Actions().ProjectMenuCalcAll->trigger();
        form_->Actions().ProjectMenuCalcAll->trigger();
        QCOMPARE(form_->Ledger().Count(), 2);
        QCOMPARE(LedgerRows(form_->Ledger()).front().Replaced, 1);

        // A target already drawn is said in the status bar, not in a box.
        TPrjOptions options = form_->PrjMgr().GetSeqPrj(0).Options();
        options.TargetSeq = 2;
        form_->PrjMgr().GetSeqPrj(0).SetOptions(options);
        form_->Actions().ProjectMenuCalcAll->trigger();
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("第26150期已开奖，不能记录预测"));
        QVERIFY(dialogs_->Errors.isEmpty());

        // A new window reads the option back.
        form_.reset();
        form_ = test::MakeMainForm(*dir_, dialogs_);
        QVERIFY(form_->Actions().ProjectMenuAutoRecord->isChecked());
    }

    void aDrawSettlesTheEntriesAndUndoTakesItBack() {
        form_->Actions().ProjectMenuCalcAll->trigger();
        form_->Actions().ProjectMenuRecord->trigger();
        form_->Lists().ProjectView().SelectOnly(1);
        form_->Actions().ProjectMenuCalcAll->trigger();
        form_->Actions().ProjectMenuRecord->trigger();
        form_->Care().Undo().Run(QStringLiteral("输入"),
                                 [this] { test::AddDraws(form_->CodeNet(), {"3581297"}); });
        const QString settled =
            QStringLiteral("第26151期已开奖：方案1命中（3xx1），方案2命中（3xx1）");
        QCOMPARE(form_->StatusPanel(0).text(), settled);
        // The report of the command that brought the draw keeps the news,
        // until the event loop turns.
        form_->CodesForm().Report("导入了1期");
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("导入了1期；") + settled);
        QCoreApplication::processEvents();
        form_->CodesForm().Report("导入了1期");
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("导入了1期"));
        actions_->ProjectMenuLedgerClick();
        auto* table = actions_->Window()->findChild<QTableWidget*>(QStringLiteral("LedgerTbl"));
        QCOMPARE(table->item(0, 6)->text(), QStringLiteral("命中"));
        form_->Care().Undo().Undo();
        QCOMPARE(table->item(0, 6)->text(), QStringLiteral("未开奖"));
        QCOMPARE(form_->Ledger().Count(), 2);
    }

    void clearingAsksFirstAndRestartsTheChain() {
        form_->Actions().ProjectMenuCalcAll->trigger();
        form_->Actions().ProjectMenuRecord->trigger();
        form_->Actions().ProjectMenuLedger->trigger();
        TLedgerForm* window = actions_->Window();
        QVERIFY(window != nullptr && window->isVisible());
        auto* clear = window->findChild<QPushButton*>(QStringLiteral("ClearBt"));
        clear->click();
        QCOMPARE(dialogs_->Questions,
                 QStringList{QStringLiteral(
                     "清空成绩单|确实要清空成绩单的全部1条记录吗？指纹链将从第1条重新开始。")});
        QCOMPARE(form_->Ledger().Count(), 1);
        dialogs_->Answers = {true};
        clear->click();
        QCOMPARE(form_->Ledger().Count(), 0);
        QCOMPARE(QString::fromStdString(form_->Care().Undo().History().UndoName()),
                 QStringLiteral("清空成绩单"));
        form_->Actions().ProjectMenuRecord->trigger();
        QCOMPARE(form_->Ledger().Entries()[0].Seq, 1);
        form_->Care().Undo().Undo();
        form_->Care().Undo().Undo();
        QCOMPARE(form_->Ledger().Count(), 1);
    }

    void aBrokenChainIsShownInRedWithItsEntry() {
        form_->Actions().ProjectMenuCalcAll->trigger();
        form_->Actions().ProjectMenuRecord->trigger();
        form_->Actions().ProjectMenuRecord->trigger();
        const std::string path = dir_->Path() + "/broken.lvrn";
        std::string image = BuildDocumentImage(form_->CodeNet(), form_->PrjMgr());
        // The first byte of the last entry's hash.
        image[image.size() - 32] = static_cast<char>(image[image.size() - 32] ^ 1);
        WriteFileAtomically(path, image);
        form_->LoadDocument(QString::fromStdString(path));
        actions_->ProjectMenuLedgerClick();
        auto* chain = actions_->Window()->findChild<QLabel*>(QStringLiteral("ChainLbl"));
        QCOMPARE(chain->text(), QStringLiteral("指纹链在第2条记录处断开：记录在保存之后被改动过"));
        QVERIFY(chain->styleSheet().contains(QStringLiteral("red")));
        auto* fingerprint =
            actions_->Window()->findChild<QLineEdit*>(QStringLiteral("FingerprintEd"));
        QCOMPARE(fingerprint->text().toStdString(), HashText(*form_->Ledger().NewestHash()));
        QVERIFY(fingerprint->isReadOnly());
    }

    // Run with TOVARIN_SHOT set to a document with a ledger: the window,
    // and with TOVARIN_SHOT_STATUS the main window after a draw settled.
    void shots() {
        const QByteArray doc = qgetenv("TOVARIN_SHOT_DOC");
        if (doc.isEmpty()) {
            QSKIP("TOVARIN_SHOT_DOC names the document for the pictures");
        }
        form_->LoadDocument(QString::fromLocal8Bit(doc));
        form_->resize(1100, 700);
        form_->show();
        actions_->ProjectMenuLedgerClick();
        actions_->Window()->resize(1000, 860);
        QTest::qWait(200);
        QVERIFY(actions_->Window()->grab().save(QString::fromLocal8Bit(qgetenv("TOVARIN_SHOT"))));
        actions_->Window()->hide();
        test::AddDraws(form_->CodeNet(), {"3581297"});
        QTest::qWait(200);
        QVERIFY(form_->grab().save(QString::fromLocal8Bit(qgetenv("TOVARIN_SHOT_STATUS"))));
    }

private:
    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;
    TLedgerActions* actions_ = nullptr;
};

QTEST_MAIN(LedgerActionsTest)
#include "LedgerActionsTest.moc"
