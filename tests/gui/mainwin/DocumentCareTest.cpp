// Never lose work, never look frozen: undo and redo of every document
// command, the save question's way out, boxes in front of the tool windows,
// recovery copies (with a killed program), the recent documents, the caption.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

#include "core/app/Recovery.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/settings/Settings.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/dialogs/PrjAtt.h"
#include "gui/draws/CodeNetGrid.h"
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "support/TempDir.h"

using namespace tovarin;
using namespace std::chrono_literals;

namespace {

const std::string kWorkDoc = "工作文档.lvrn";
const std::string kBundledDoc = std::string(TOVARIN_TEST_DATA) + "/../../data/" + kWorkDoc;
constexpr const char* kChildMode = "--auto-saving-child";

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::unique_ptr<TMainForm> MakeForm(const test::TempDir& dir, std::shared_ptr<TUserDialogs> dialogs,
                                    std::chrono::milliseconds minute = 1min) {
    TMainForm::TSetup setup;
    setup.AppDir = Q(dir.Path());
    setup.DataDir = setup.AppDir;
    setup.Dialogs = std::move(dialogs);
    setup.Maximise = false;
    setup.AutoSaveMinute = minute;
    return std::make_unique<TMainForm>(setup);
}

// Runs check on the modal message box once it is up; a box the check left
// open is answered with Esc.
void WhenBoxIsUp(bool& ran, std::function<void(QMessageBox&)> check) {
    QTimer::singleShot(0, [&ran, check = std::move(check)] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr);
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ran = true;
        check(*box);
        if (box->isVisible()) {
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
}

// The child of the recovery test: auto-saves a changed document every 50
// milliseconds, says so with a file, and waits to be killed.
int RunAutoSavingChild(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string folder = argv[2];
    test::TempDir unused;
    TMainForm::TSetup setup;
    setup.AppDir = Q(folder);
    setup.DataDir = setup.AppDir;
    setup.Dialogs = std::make_shared<test::TFakeDialogs>();
    setup.Maximise = false;
    setup.AutoSaveMinute = 50ms;
    TMainForm form(setup);
    form.AppOptions().AutoSaveChk = true;
    form.AppOptions().AutoSaveEd = 1;
    form.Care().ApplyOptions();
    form.findChild<QAction*>(QStringLiteral("ProjectMenuCreate"))->trigger();
    form.findChild<QAction*>(QStringLiteral("BindKindItem3"))->trigger();
    const std::string copy = form.Care().RecoveryCopy();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (FileExists(copy)) {
            WriteFileAtomically(folder + "/child-ready",
                                BuildDocumentImage(form.CodeNet(), form.PrjMgr()));
            poll.stop();
        }
    });
    poll.start(10);
    return app.exec();
}

}  // namespace

class DocumentCareTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;

    void Start(std::shared_ptr<TUserDialogs> dialogs = nullptr) {
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = MakeForm(*dir_, dialogs ? std::move(dialogs) : dialogs_);
        form_->AppOptions().AutoVerifyChk = false;
    }
    QAction& Action(const char* name) {
        QAction* action = form_->findChild<QAction*>(QString::fromUtf8(name));
        if (action == nullptr) {
            qFatal("no action %s", name);
        }
        return *action;
    }
    std::string Image() const { return BuildDocumentImage(form_->CodeNet(), form_->PrjMgr()); }
    void SelectBind(int row) {
        QListWidget& list = form_->Lists().ConditionView();
        list.setCurrentRow(row);
        list.item(row)->setSelected(true);
    }

private slots:
    void cleanup() {
        if (form_) {
            form_->AppInfo().DocModified = false;
            form_->PrjMgr().ClearModified();
            form_->CodeNet().ClearModified();
        }
        form_.reset();
        dir_.reset();
    }

    void undoAndRedoOfEveryCommand_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<std::function<void(DocumentCareTest&)>>("command");
        auto trigger = [](const char* name) {
            return std::function<void(DocumentCareTest&)>(
                [name](DocumentCareTest& t) { t.Action(name).trigger(); });
        };
        QTest::newRow("创建方案") << "创建方案" << trigger("ProjectMenuCreate");
        QTest::newRow("删除方案") << "删除方案" << trigger("ProjectMenuDel");
        QTest::newRow("清空方案") << "清空方案" << trigger("ProjectMenuClear");
        QTest::newRow("创建条件") << "创建条件" << trigger("BindKindItem9");
        QTest::newRow("删除条件") << "删除条件"
                                  << std::function<void(DocumentCareTest&)>(
                                         [](DocumentCareTest& t) {
                                             t.SelectBind(2);
                                             t.Action("EditMenuDel").trigger();
                                         });
        QTest::newRow("清空条件") << "清空条件" << trigger("EditMenuClear");
        QTest::newRow("全选条件") << "全选条件" << trigger("EditMenuSelAll");
        QTest::newRow("反选条件") << "反选条件" << trigger("EditMenuSelInv");
        QTest::newRow("上移条件") << "上移条件"
                                  << std::function<void(DocumentCareTest&)>(
                                         [](DocumentCareTest& t) {
                                             t.SelectBind(3);
                                             t.Action("EditMenuUp").trigger();
                                         });
        QTest::newRow("下移条件") << "下移条件"
                                  << std::function<void(DocumentCareTest&)>(
                                         [](DocumentCareTest& t) {
                                             t.SelectBind(1);
                                             t.Action("EditMenuDown").trigger();
                                         });
        QTest::newRow("勾选条件")
            << "取消勾选条件" << std::function<void(DocumentCareTest&)>([](DocumentCareTest& t) {
                   t.form_->Lists().ConditionView().item(0)->setCheckState(Qt::Unchecked);
               });
        QTest::newRow("修改条件") << "修改条件"
                                  << std::function<void(DocumentCareTest&)>(
                                         [](DocumentCareTest& t) {
                                             t.SelectBind(1);
                                             t.Action("EditMenuAttrib").trigger();
                                             TBindAttForm& editor = t.form_->BindAttForm();
                                             editor.findChild<QCheckBox*>("IsAssureChk")->click();
                                             editor.findChild<QPushButton*>("ApplyBt")->click();
                                         });
        QTest::newRow("修改方案属性")
            << "修改方案属性" << std::function<void(DocumentCareTest&)>([](DocumentCareTest& t) {
                   t.Action("ProjectMenuAttrib").trigger();
                   TPrjAttForm& dialog = t.form_->PrjAttForm();
                   auto* missMax = dialog.findChild<QSpinBox*>("MissMax");
                   missMax->setValue(missMax->value() == 4 ? 3 : missMax->value() + 1);
                   dialog.findChild<QPushButton*>("OkBt")->click();
               });
        QTest::newRow("清空开奖号码表") << "清空开奖号码表" << trigger("FileMenuPrintBt");
        QTest::newRow("增加开奖号码") << "增加开奖号码" << trigger("CodeMenuAdd");
    }

    void undoAndRedoOfEveryCommand() {
        QFETCH(QString, step);
        QFETCH(std::function<void(DocumentCareTest&)>, command);
        Start();
        form_->Lists().ProjectView().SelectOnly(0);
        const std::string before = Image();
        QVERIFY(!form_->DocModified());
        command(*this);
        const std::string after = Image();
        QVERIFY(after != before);
        QVERIFY(form_->DocModified());
        QAction& undo = Action("DocUndo");
        QCOMPARE(undo.text(), QStringLiteral("撤销：") + step);

        undo.trigger();
        QCOMPARE(Image(), before);
        QVERIFY(!form_->DocModified());
        QCOMPARE(form_->StatusPanel(1).text(), QStringLiteral("未修改"));
        QCOMPARE(Action("DocRedo").text(), QStringLiteral("重做：") + step);
        // The lists show the restored document, the project selected again.
        QCOMPARE(form_->Lists().ProjectView().LineCount(), form_->PrjMgr().PrjCount());
        QCOMPARE(form_->Lists().ProjectView().SelectedIndexes(), QList<int>{0});
        QCOMPARE(form_->Lists().ConditionView().count(), form_->PrjMgr().GetSeqPrj(0).BindCount());

        Action("DocRedo").trigger();
        QCOMPARE(Image(), after);
        QVERIFY(form_->DocModified());
        QCOMPARE(form_->StatusPanel(1).text(), QStringLiteral("已修改"));
    }

    void keysReachTheHistoryButCtrlZStaysTheText() {
        Start();
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        const std::string before = Image();
        Action("ProjectMenuClear").trigger();
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("已清空2个方案，可撤销"));
        // Ctrl+Z in the output area undoes its text only.
        form_->Output().setFocus();
        form_->Output().insertPlainText(QStringLiteral("abc"));
        QTest::keyClick(&form_->Output(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!form_->Output().toPlainText().contains(QStringLiteral("abc")));
        QCOMPARE(form_->PrjMgr().PrjCount(), 0);
        QTest::keyClick(&form_->Output(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(Image(), before);
        QTest::keyClick(&form_->Output(), Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(form_->PrjMgr().PrjCount(), 0);
        if (const QByteArray shot = qgetenv("TOVARIN_SHOT_UNDO"); !shot.isEmpty()) {
            QMenu* file = form_->findChild<QMenu*>(QStringLiteral("FileMenu"));
            file->popup(form_->mapToGlobal(QPoint(10, 30)));
            QTRY_VERIFY(file->isVisible());
            file->grab().save(QString::fromLocal8Bit(shot));
            file->hide();
        }
    }

    // Whole tables of a million draws, 16,000,000 bytes each (a draw keeps
    // its label and date), fill the 64 MiB history with the fifth.
    void droppedStepsAreToldOnce() {
        Start();
        const auto replaceTable = [this](int draws) {
            form_->Care().Run("导入开奖数据", [&] {
                form_->CodeNet().Replace(std::vector<TSeq>(static_cast<size_t>(draws)));
            });
        };
        for (int i = 0; i < 5; ++i) {
            replaceTable(1000000 + i);
        }
        QCoreApplication::processEvents();
        QVERIFY(form_->StatusPanel(0).text() !=
                QStringLiteral("最早的撤销步骤已丢弃，以免占用过多内存"));
        replaceTable(1000005);
        QTRY_COMPARE(form_->StatusPanel(0).text(),
                     QStringLiteral("最早的撤销步骤已丢弃，以免占用过多内存"));
        form_->SetStatusText(0, QStringLiteral("x"));
        replaceTable(1000006);
        QCoreApplication::processEvents();
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("x"));
    }

    void undoBackToTheSavedStateClearsModified() {
        Start();
        form_->Lists().ProjectView().SelectOnly(0);
        Action("BindKindItem1").trigger();
        Action("FileMenuSave").trigger();
        QVERIFY(!form_->DocModified());
        const std::string saved = Image();
        Action("EditMenuClear").trigger();
        QVERIFY(form_->DocModified());
        Action("DocUndo").trigger();
        QCOMPARE(Image(), saved);
        QVERIFY(!form_->DocModified());
        // One step further back is before the save: modified again.
        Action("DocUndo").trigger();
        QVERIFY(form_->DocModified());
        QCOMPARE(ReadWholeFile(dir_->File(kWorkDoc)), saved);
    }

    void escAtEachSaveQuestionLeavesEverythingAsItWas_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("closeButton");
        QTest::newRow("close, Esc") << "close" << false;
        QTest::newRow("close, close button") << "close" << true;
        QTest::newRow("new, Esc") << "FileMenuNew" << false;
        QTest::newRow("open, Esc") << "FileMenuOpen" << false;
        QTest::newRow("open, close button") << "FileMenuOpen" << true;
    }

    void escAtEachSaveQuestionLeavesEverythingAsItWas() {
        QFETCH(QString, command);
        QFETCH(bool, closeButton);
        Start(std::make_shared<TQtUserDialogs>());
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        Action("ProjectMenuClear").trigger();
        const std::string image = Image();
        const std::string file = ReadWholeFile(dir_->File(kWorkDoc));
        bool asked = false;
        WhenBoxIsUp(asked, [&](QMessageBox& box) {
            QCOMPARE(box.text(), QStringLiteral("保存已经修改的文档?"));
            QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
            if (closeButton) {
                box.close();
            } else {
                QTest::keyClick(&box, Qt::Key_Escape);
            }
        });
        if (command == "close") {
            QVERIFY(!form_->close());
        } else {
            Action(command.toLatin1().constData()).trigger();
        }
        QVERIFY(asked);
        // No file dialog followed, nothing was saved or dropped.
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(form_->isVisible());
        QCOMPARE(Image(), image);
        QVERIFY(form_->DocModified());
        QCOMPARE(ReadWholeFile(dir_->File(kWorkDoc)), file);
        QCOMPARE(form_->AppInfo().DocFileName, kWorkDoc);
    }

    void aMessageOverTheConditionEditorIsInFront() {
        Start(std::make_shared<TQtUserDialogs>());
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->Lists().ProjectView().SelectOnly(0);  // target 361: not drawn yet
        SelectBind(0);
        Action("EditMenuAttrib").trigger();
        TBindAttForm& editor = form_->BindAttForm();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        // The user clicks into the editor.
        editor.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &editor);
        bool shown = false;
        WhenBoxIsUp(shown, [&](QMessageBox& box) {
            QCOMPARE(box.text(), QStringLiteral("第361期开奖号码还没有！"));
            QVERIFY(box.isVisible());
            QTRY_COMPARE(QApplication::activeWindow(), &box);
            QCOMPARE(box.parentWidget(), &editor);
            QVERIFY(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            box.button(QMessageBox::Ok)->click();
        });
        Action("ProjectMenuVerify").trigger();  // Ctrl+Q keeps its box
        QVERIFY(shown);
    }

    void automaticVerificationWritesTheStatusLine() {
        Start();
        form_->AppOptions().AutoVerifyChk = true;
        form_->Lists().ProjectView().SelectOnly(0);
        Action("ProjectMenuCalcAll").trigger();
        QVERIFY(dialogs_->Messages.isEmpty());
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("第361期开奖号码还没有！"));
        Action("ProjectMenuVerify").trigger();
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("第361期开奖号码还没有！")});
    }

    void recoveryCopyIsWrittenAfterTheIntervalAndRemovedOnSave() {
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = MakeForm(*dir_, dialogs_, 30ms);
        form_->AppOptions().AutoSaveChk = true;
        form_->AppOptions().AutoSaveEd = 2;
        form_->Care().ApplyOptions();
        const std::string copy = form_->Care().RecoveryCopy();
        QCOMPARE(copy, RecoveryCopyPath(dir_->File("recovery"), dir_->File(kWorkDoc)));
        // Unmodified: nothing to keep.
        QTest::qWait(150);
        QVERIFY(!FileExists(copy));
        Action("ProjectMenuCreate").trigger();
        QTRY_VERIFY(FileExists(copy));
        QCOMPARE(ReadWholeFile(copy), Image());
        // Never the document itself.
        QVERIFY(ReadWholeFile(dir_->File(kWorkDoc)) != Image());
        Action("FileMenuSave").trigger();
        QVERIFY(!FileExists(copy));
        QTest::qWait(150);
        QVERIFY(!FileExists(copy));
    }

    void closingWithoutSavingRemovesTheCopy() {
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = MakeForm(*dir_, dialogs_, 20ms);
        form_->AppOptions().AutoSaveChk = true;
        form_->Care().ApplyOptions();
        Action("ProjectMenuCreate").trigger();
        const std::string copy = form_->Care().RecoveryCopy();
        QTRY_VERIFY(FileExists(copy));
        dialogs_->Answers = {false};
        QVERIFY(form_->close());
        QVERIFY(!FileExists(copy));
    }

    void aKilledProgramsWorkIsOfferedAtTheNextStart_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("restored") << true;
        QTest::newRow("declined, kept aside") << false;
    }

    void aKilledProgramsWorkIsOfferedAtTheNextStart() {
        QFETCH(bool, accept);
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(kChildMode), Q(dir_->Path())});
        QVERIFY(child.waitForStarted());
        const std::string ready = dir_->File("child-ready");
        QTRY_VERIFY_WITH_TIMEOUT(FileExists(ready), 60000);
        // SIGKILL on POSIX, TerminateProcess on Windows: no chance to clean up.
        child.kill();
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const std::string unsaved = ReadWholeFile(ready);
        const std::string copy = RecoveryCopyPath(dir_->File("recovery"), dir_->File(kWorkDoc));
        QVERIFY(FileExists(copy));

        const QString written = QFileInfo(Q(copy)).lastModified().toString("yyyy-MM-dd HH:mm");
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        dialogs_->Answers = {accept};
        form_ = MakeForm(*dir_, dialogs_);
        QCOMPARE(dialogs_->Questions,
                 QStringList{QStringLiteral("恢复提示|文档“工作文档.lvrn”有一份未保存修改的恢复副本"
                                            "（%1），是否恢复？|恢复/不恢复")
                                 .arg(written)});
        if (accept) {
            QCOMPARE(Image(), unsaved);
            QVERIFY(form_->DocModified());
            QCOMPARE(form_->Lists().ProjectView().LineCount(), 3);
            // The first project is selected and its conditions are listed.
            QCOMPARE(form_->Lists().SelectedPrj(), &form_->PrjMgr().GetSeqPrj(0));
            QVERIFY(form_->Lists().ConditionView().count() > 0);
            QVERIFY(form_->windowTitle().contains(QStringLiteral("工作文档.lvrn*")));
            // Undo goes back to the file.
            Action("DocUndo").trigger();
            QCOMPARE(Image(), ReadWholeFile(dir_->File(kWorkDoc)));
            QVERIFY(!form_->DocModified());
        } else {
            QCOMPARE(Image(), ReadWholeFile(dir_->File(kWorkDoc)));
            QVERIFY(!FileExists(copy));
            const std::string aside = copy.substr(0, copy.size() - 5) + ".declined-1.lvrn";
            QCOMPARE(ReadWholeFile(aside), unsaved);
            QCOMPARE(form_->StatusPanel(0).text(),
                     QStringLiteral("未恢复的修改保留在 %1，可以用“打开”查看").arg(Q(aside)));
        }
    }

    void recoveryQuestionIsARealYesNoBox() {
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        // File times tick coarsely: two writes in a row may carry the same
        // time, so the document is made visibly older than its copy.
        std::filesystem::last_write_time(test::FsPath(dir_->File(kWorkDoc)),
                                         std::filesystem::file_time_type::clock::now() - 10s);
        WriteRecoveryCopy(RecoveryCopyPath(dir_->File("recovery"), dir_->File(kWorkDoc)),
                          dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        const std::string copy = RecoveryCopyPath(dir_->File("recovery"), dir_->File(kWorkDoc));
        const QString written = QFileInfo(Q(copy)).lastModified().toString("yyyy-MM-dd HH:mm");
        bool asked = false;
        WhenBoxIsUp(asked, [&written](QMessageBox& box) {
            QCOMPARE(box.text(),
                     QStringLiteral("文档“工作文档.lvrn”有一份未保存修改的恢复副本（%1），"
                                    "是否恢复？")
                         .arg(written));
            QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("恢复"));
            QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("不恢复"));
            QCOMPARE(box.defaultButton(), box.button(QMessageBox::Yes));
            if (const QByteArray shot = qgetenv("TOVARIN_SHOT_RECOVERY"); !shot.isEmpty()) {
                box.grab().save(QString::fromLocal8Bit(shot));
            }
            box.button(QMessageBox::Yes)->click();
        });
        form_ = MakeForm(*dir_, std::make_shared<TQtUserDialogs>());
        QVERIFY(asked);
        QVERIFY(form_->DocModified());
        form_.reset();
        // Esc answers 不恢复: the copy is kept aside and the status line says where.
        WriteRecoveryCopy(copy, dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        asked = false;
        WhenBoxIsUp(asked, [](QMessageBox&) {});
        form_ = MakeForm(*dir_, std::make_shared<TQtUserDialogs>());
        QVERIFY(asked);
        QVERIFY(!form_->DocModified());
        QVERIFY(form_->StatusPanel(0).text().contains(QStringLiteral(".declined-1.lvrn")));
    }

    void captionFollowsSaveAsAndModification() {
        Start();
        const QString rest = QStringLiteral(" - Tovarin项目主页 ");
        QVERIFY(form_->windowTitle().startsWith(QStringLiteral("Tovarin v1.08 - 工作文档.lvrn") +
                                                rest));
        Action("ProjectMenuCreate").trigger();
        QVERIFY(form_->windowTitle().startsWith(QStringLiteral("Tovarin v1.08 - 工作文档.lvrn*") +
                                                rest));
        dialogs_->NextSaveName = Q(dir_->File("另一个.lvrn"));
        Action("FileMenuSaveAs").trigger();
        QVERIFY(
            form_->windowTitle().startsWith(QStringLiteral("Tovarin v1.08 - 另一个.lvrn") + rest));
        // A digit typed into the draw window marks the caption too.
        QTest::keyClick(&form_->CodesForm().Grid(), Qt::Key_9);
        QCOMPARE(Action("DocUndo").text(), QStringLiteral("撤销：输入开奖号码"));
        QVERIFY(
            form_->windowTitle().startsWith(QStringLiteral("Tovarin v1.08 - 另一个.lvrn*") + rest));
        Action("DocUndo").trigger();
        QVERIFY(
            form_->windowTitle().startsWith(QStringLiteral("Tovarin v1.08 - 另一个.lvrn") + rest));
        Action("FileMenuNew").trigger();
        QVERIFY(form_->windowTitle().startsWith(QStringLiteral("Tovarin v1.08 - 未命名") + rest));
    }

    void recentDocumentsAndOpeningTheLastOne() {
        Start();
        QMenu& recent = form_->Care().RecentMenu();
        QVERIFY(recent.actions().isEmpty());
        QVERIFY(!recent.menuAction()->isEnabled());
        const std::string other = dir_->File("别处.lvrn");
        dialogs_->NextSaveName = Q(other);
        Action("FileMenuSaveAs").trigger();
        QCOMPARE(recent.actions().size(), 1);
        QCOMPARE(recent.actions().first()->text(), QStringLiteral("&1 ") + Q(other));
        Action("FileMenuNew").trigger();
        QVERIFY(form_->AppInfo().DocFileName.empty());
        recent.actions().first()->trigger();
        QCOMPARE(form_->AppInfo().DocFileName, other);
        QCOMPARE(form_->PrjMgr().PrjCount(), 2);
        QCOMPARE(ReadWholeFile(RecentDocsFilePath(dir_->Path())), other + "\n");
        // A document that is gone is said so and leaves the list; the open
        // document stays.
        const std::string gone = dir_->File("gone.lvrn");
        dialogs_->NextSaveName = Q(gone);
        Action("FileMenuSaveAs").trigger();
        QCOMPARE(recent.actions().size(), 2);
        QVERIFY(std::filesystem::remove(test::FsPath(gone)));
        Action("ProjectMenuCreate").trigger();
        recent.actions().first()->trigger();
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("打开文件时出现错误！")});
        QCOMPARE(form_->PrjMgr().PrjCount(), 3);
        QCOMPARE(recent.actions().size(), 1);
        dialogs_->Messages.clear();
        // The save question comes first; 取消 keeps the document.
        dialogs_->Choices = {TAnswer::Cancel};
        recent.actions().first()->trigger();
        QCOMPARE(form_->PrjMgr().PrjCount(), 3);
        QCOMPARE(form_->AppInfo().DocFileName, gone);
        dialogs_->Answers = {false};
        recent.actions().first()->trigger();
        QCOMPARE(form_->AppInfo().DocFileName, other);
        QCOMPARE(form_->PrjMgr().PrjCount(), 2);

        // With 自动打开上次打开的文档 on, the next start opens it.
        form_->AppOptions().OpenLastChk = true;
        form_->close();
        form_.reset();
        QCOMPARE(StoredLastDoc(SettingsFilePath(dir_->Path())), other);
        form_ = MakeForm(*dir_, dialogs_);
        QCOMPARE(form_->AppInfo().DocFileName, other);
        QCOMPARE(form_->Care().RecentMenu().actions().size(), 1);
        // Gone: back to the working document.
        form_->close();
        form_.reset();
        QVERIFY(std::filesystem::remove(test::FsPath(other)));
        form_ = MakeForm(*dir_, dialogs_);
        QCOMPARE(form_->AppInfo().DocFileName, kWorkDoc);
    }

    // Whatever keeps an entry from opening (here a file that is no document
    // and a name that is not UTF-8), the entry leaves the list after the
    // open error; a list above its bound is ignored with one message.
    void recentEntriesThatCannotBeOpenedLeaveTheList() {
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), ReadWholeFile(kBundledDoc));
        const std::string broken = dir_->File("坏.lvrn");
        WriteFileAtomically(broken, "not a document");
        const std::string notUtf8 = dir_->File("\xB5\xC4.lvrn");  // 的 in GBK
#ifndef _WIN32
        // Windows names are Unicode: there the file cannot even be made.
        WriteFileAtomically(notUtf8, ReadWholeFile(kBundledDoc));
#endif
        const std::string list = RecentDocsFilePath(dir_->Path());
        WriteFileAtomically(list, broken + "\n" + notUtf8 + "\n");
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = MakeForm(*dir_, dialogs_);
        QMenu& recent = form_->Care().RecentMenu();
        QCOMPARE(recent.actions().size(), 2);
        for (const int left : {1, 0}) {
            recent.actions().first()->trigger();
            QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("打开文件时出现错误！")});
            dialogs_->Messages.clear();
            QCOMPARE(recent.actions().size(), left);
        }
        QCOMPARE(ReadWholeFile(list), std::string());

        WriteFileAtomically(list, "/" + std::string(64 * 1024, 'x'));
        form_->close();
        form_ = MakeForm(*dir_, dialogs_);
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("最近打开的文档列表 ") + Q(list) +
                                                 QStringLiteral(" 大于 64 KB，已忽略")});
        QVERIFY(form_->Care().RecentMenu().actions().isEmpty());
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kChildMode) {
        return RunAutoSavingChild(argc, argv);
    }
    QApplication app(argc, argv);
    DocumentCareTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DocumentCareTest.moc"
