// The backtest on a real main window: the project menu's entry and its key,
// the selection it needs, the window following the selected project and
// staying when its project goes, and the tool tip that explains a code of
// the report.
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

#include <memory>

#include "core/engine/Prj.h"
#include "gui/backtest/BacktestForm.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/dialogs/PrjAtt.h"
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/BacktestActions.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

class BacktestActionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = test::MakeMainForm(*dir_, dialogs_);
        form_->LoadDocument(QString::fromStdString(WriteSampleDocument()));
        form_->AppOptions().DetailLastChk = true;
        actions_ = form_->findChild<TBacktestActions*>();
        QVERIFY(actions_ != nullptr);
        dialogs_->Messages.clear();
    }
    void cleanup() {
        form_.reset();
        dir_.reset();
    }

    void entryFollowsTheFilteringRun() {
        QMenu* menu = form_->findChild<QMenu*>(QStringLiteral("ProjectMenu"));
        const QList<QAction*> entries = menu->actions();
        const qsizetype calcAll = entries.indexOf(form_->Actions().ProjectMenuCalcAll);
        QAction* entry = form_->Actions().ProjectMenuBacktest;
        QVERIFY(entry != nullptr);
        QCOMPARE(entry->objectName(), QStringLiteral("ProjectMenuBacktest"));
        QCOMPARE(entries.value(calcAll + 1), entry);
        QCOMPARE(entry->text(), QStringLiteral("回测(&B)..."));
        QCOMPARE(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
    }

    void keyOpensTheWindowOfTheSelectedProject() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->activateWindow();
        form_->Lists().ProjectView().SelectOnly(1);
        QTest::keyClick(form_.get(), Qt::Key_B, Qt::ControlModifier);
        TBacktestForm* window = actions_->Window();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QCOMPARE(window->Project(), &form_->PrjMgr().GetSeqPrj(1));
        QCOMPARE(window->windowTitle(), QStringLiteral("回测 - 方案2"));
        QVERIFY(dialogs_->Messages.isEmpty());
    }

    void noneOrTwoSelectedAsksForOneProject() {
        for (const QList<int>& selection : {QList<int>{}, QList<int>{0, 1}}) {
            form_->Lists().ProjectView().clearSelection();
            for (int line : selection) {
                form_->Lists().ProjectView().topLevelItem(line)->setSelected(true);
            }
            dialogs_->Messages.clear();
            Trigger("ProjectMenuBacktest");
            QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("请选择一个方案")});
            QVERIFY(actions_->Window() == nullptr);
        }
    }

    void windowFollowsTheSelectedProject() {
        form_->Lists().ProjectView().SelectOnly(0);
        Trigger("ProjectMenuBacktest");
        QPointer<TBacktestForm> window = actions_->Window();
        Trigger("ProjectMenuBacktest");
        QCOMPARE(actions_->Window(), window.data());
        form_->Lists().ProjectView().SelectOnly(1);
        QCOMPARE(actions_->Window(), window.data());
        QCOMPARE(window->Project(), &form_->PrjMgr().GetSeqPrj(1));
        QCOMPARE(window->windowTitle(), QStringLiteral("回测 - 方案2"));
        QTRY_VERIFY(window->Report().has_value());
        QCOMPARE(window->Report()->Checked, 1);
        // Two selected lines: it stays on the one it shows.
        form_->Lists().ProjectView().topLevelItem(0)->setSelected(true);
        QCOMPARE(window->Project(), &form_->PrjMgr().GetSeqPrj(1));
        QCOMPARE(dialogs_->Errors, QStringList());
        QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void windowFollowsAnEditOfTheProject() {
        form_->Lists().ProjectView().SelectOnly(0);
        Trigger("ProjectMenuBacktest");
        TBacktestForm* window = actions_->Window();
        QCOMPARE(window->Report()->Checked, 2);
        // Unticking a condition in the main window's list.
        QCOMPARE(window->Report()->Result.Hits, 3);
        form_->Lists().ConditionView().item(1)->setCheckState(Qt::Unchecked);
        QTRY_COMPARE(window->Report()->Checked, 1);
        QCOMPARE(window->Report()->Result.Hits, 4);
    }

    // 删除 moves the selection to the next project, which the window then
    // shows; 清空 leaves it open, saying its project was removed; undo and
    // redo leave the windows as the commands did.
    void windowStaysWhenItsProjectGoes() {
        form_->resize(900, 600);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->Lists().ProjectView().SelectOnly(0);
        Trigger("ProjectMenuBacktest");
        Trigger("FileMenuStats");
        QPointer<TBacktestForm> window = actions_->Window();
        QWidget* statsWindow = StatsWindow();
        QVERIFY(statsWindow != nullptr);
        dialogs_->Answers = {true};
        Trigger("ProjectMenuDel");
        QVERIFY(!window.isNull());
        QCOMPARE(window->Project(), &form_->PrjMgr().GetSeqPrj(0));
        QCOMPARE(window->windowTitle(), QStringLiteral("回测 - 方案1"));
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("已删除1个方案，可撤销"));

        Trigger("FileMenuCodesEdit");
        Trigger("ProjectMenuAttrib");
        Trigger("ProjectMenuClear");
        QVERIFY(window->isVisible());
        QVERIFY(window->Project() == nullptr);
        QCOMPARE(window->windowTitle(), QStringLiteral("回测 - 方案1（已删除）"));
        QVERIFY(statsWindow->isVisible());
        QVERIFY(!form_->CodesForm().isVisible());
        QVERIFY(!form_->PrjAttForm().isVisible());

        Trigger("DocUndo");
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("已撤销：清空方案"));
        QCOMPARE(form_->CodesForm().statusBar()->currentMessage(),
                 QStringLiteral("已撤销：清空方案"));
        QCOMPARE(window->Project(), form_->Lists().SelectedPrj());
        QVERIFY(window->Project() != nullptr);
        Trigger("FileMenuCodesEdit");
        Trigger("ProjectMenuAttrib");
        QVERIFY(form_->CodesForm().isVisible());
        Trigger("DocRedo");
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("已重做：清空方案"));
        QVERIFY(window->isVisible());
        QVERIFY(window->Project() == nullptr);
        QVERIFY(statsWindow->isVisible());
        QVERIFY(!form_->CodesForm().isVisible());
        QVERIFY(!form_->PrjAttForm().isVisible());
        QVERIFY(!form_->BindAttForm().isVisible());
    }

    void windowLetsGoBeforeTheWorkspace() {
        form_->Lists().ProjectView().SelectOnly(0);
        Trigger("ProjectMenuBacktest");
        QPointer<TBacktestForm> window = actions_->Window();
        form_->ClearWorkspace();
        QVERIFY(!window.isNull());
        QVERIFY(window->Project() == nullptr);
        form_->Lists().ProjectView().SelectOnly(0);
    }

    void closingTheMainWindowWithTheBacktestOpen() {
        form_->Lists().ProjectView().SelectOnly(0);
        Trigger("ProjectMenuBacktest");
        QPointer<TBacktestForm> window = actions_->Window();
        form_.reset();
        QVERIFY(window.isNull());
    }

    void toolTipExplainsACodeOfTheReport() {
        ShowReportOf(0);
        // Kept with one error within a tolerance of one.
        QCOMPARE(TipAt(PointOf("3xx7")),
                 QStringLiteral("3xx7 保留：错误值1，未超过容错1；第2步 头尾合:[容]5,6,7 未通过"));
        QCOMPARE(TipAt(PointOf("1xx4")), QStringLiteral("1xx4 保留：错误值0，未超过容错1"));
        QCOMPARE(actions_->CodeTip(97),
                 QStringLiteral("9xx7 淘汰：错误值2，超过容错1；第1步 稳上头:[容]1,2,3 未通过；\n"
                                "第2步 头尾合:[容]5,6,7 未通过"));
        // Beside the code text, nothing.
        QCOMPARE(TipAt(PointOf("最终的筛选结果")), QString());
    }

    // The tip answers from the run that made the report on screen: once the
    // project changed, it says so instead of answering from the new state.
    void toolTipSaysWhenTheProjectChangedSinceTheRun() {
        form_->AppOptions().AutoCalcChk = false;
        ShowReportOf(0);
        form_->Lists().SelectBindLine(1);
        Trigger("EditMenuDel");
        QVERIFY(form_->Output().toPlainText().contains(QStringLiteral("头尾合")));
        QCOMPARE(TipAt(PointOf("3xx7")), QStringLiteral("方案已修改，请重新筛选"));
        Trigger("ProjectMenuCalcAll");
        QCOMPARE(actions_->CodeTip(37), QStringLiteral("3xx7 保留：错误值0，未超过容错1"));
    }

    void noToolTipForAnotherProjectsReport() {
        ShowReportOf(0);
        const QPoint code = PointOf("3xx7");
        form_->Lists().ProjectView().SelectOnly(1);
        QCOMPARE(TipAt(code), QString());
        QCOMPARE(actions_->CodeTip(37), QString());
        form_->Lists().ProjectView().SelectOnly(0);
        QVERIFY(!TipAt(code).isEmpty());
    }

    void noToolTipOnceTheReportIsReplacedOrEdited() {
        ShowReportOf(0);
        form_->Output().ReplaceLines({"3xx7 from another report"});
        QCOMPARE(actions_->CodeTip(37), QString());
        ShowReportOf(0);
        QVERIFY(!actions_->CodeTip(37).isEmpty());
        form_->Output().textCursor().insertText(QStringLiteral("typed "));
        QCOMPARE(actions_->CodeTip(37), QString());
    }

    void colouringTheWinnerKeepsTheReport() {
        ShowReportOf(0);
        Trigger("ProjectMenuVerify");
        QVERIFY(!actions_->CodeTip(37).isEmpty());
    }

    // Run with TOVARIN_SHOT set: the main window with its report and, beside
    // it (name-tip.png), the tool tip over 3xx7.
    void screenshotOfTheToolTip() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT names the file for the picture");
        }
        ShowReportOf(0);
        const QString path = QString::fromLocal8Bit(shot);
        QVERIFY(form_->grab().save(path));
        QVERIFY(!TipAt(PointOf("3xx7")).isEmpty());
        QWidget* tip = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->inherits("QTipLabel") && widget->isVisible()) {
                tip = widget;
            }
        }
        QVERIFY(tip != nullptr);
        QString tipPath = path;
        tipPath.insert(tipPath.lastIndexOf(QLatin1Char('.')), QStringLiteral("-tip"));
        QVERIFY(tip->grab().save(tipPath));
    }

    // Run under a display with TOVARIN_SHOT_ABOVE set: the draw window with
    // 号码统计 and 回测 opened after it, overlapping it, on the screen.
    void screenshotAboveTheDrawWindow() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT_ABOVE");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT_ABOVE names the file for the picture");
        }
        form_->setGeometry(0, 0, 900, 700);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        Trigger("FileMenuCodesEdit");
        form_->CodesForm().setGeometry(560, 0, TCodesForm::FixedWidth, 900);
        form_->Lists().ProjectView().SelectOnly(0);
        Trigger("FileMenuStats");
        StatsWindow()->setGeometry(200, 80, 760, 520);
        Trigger("ProjectMenuBacktest");
        actions_->Window()->setGeometry(700, 380, 860, 560);
        QTest::qWait(500);
        QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(shot)));
    }

private:
    std::string WriteSampleDocument() const {
        TCodeNet net;
        TPrjMgr projects(net);
        test::AddDraws(net, {"3157246", "1234567", "9000000", "2003000"});
        const auto add = [&](std::vector<std::pair<int, const char*>> binds) {
            TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
            TPrjOptions options = project.Options();
            options.TargetSeq = 1;
            options.MissMax = 1;
            project.SetOptions(options);
            for (const auto& [kind, param] : binds) {
                TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
                bind.SetParam(param);
                bind.Checked = true;
            }
        };
        add({{1, "1,2,3"}, {7, "5,6,7"}});
        add({{2, "3"}});
        const std::string path = dir_->File("sample.lvrn");
        SaveDocument(path, net, projects);
        return path;
    }

    QWidget* StatsWindow() const {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QStringLiteral("StatsForm")) {
                return widget;
            }
        }
        return nullptr;
    }

    void Trigger(const char* action) {
        QAction* entry = form_->findChild<QAction*>(QString::fromLatin1(action));
        QVERIFY2(entry != nullptr, action);
        entry->trigger();
    }

    void ShowReportOf(int line) {
        form_->resize(1000, 700);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->Lists().ProjectView().SelectOnly(line);
        Trigger("ProjectMenuCalcAll");
    }

    // The middle of the text's first occurrence, in viewport coordinates.
    QPoint PointOf(const QString& text) const {
        TOutputArea& output = form_->Output();
        const QTextCursor hit = output.document()->find(text);
        if (hit.isNull()) {
            return {-100, -100};
        }
        QTextCursor start(output.document());
        start.setPosition(hit.selectionStart());
        QTextCursor end(output.document());
        end.setPosition(hit.selectionEnd());
        output.ensureCursorVisible();
        const QRect left = output.cursorRect(start);
        const QRect right = output.cursorRect(end);
        return {(left.left() + right.left()) / 2, left.center().y()};
    }

    // The tool tip the area shows for a pointer resting there; the previous
    // one is gone first (hiding takes a moment).
    QString TipAt(const QPoint& point) {
        QToolTip::hideText();
        for (int wait = 0; wait < 100 && QToolTip::isVisible(); ++wait) {
            QTest::qWait(10);
        }
        QWidget* viewport = form_->Output().viewport();
        QHelpEvent help(QEvent::ToolTip, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;
    TBacktestActions* actions_ = nullptr;
};

QTEST_MAIN(BacktestActionsTest)
#include "BacktestActionsTest.moc"
