// The main window driven through its actions, with the user's answers
// scripted by a fake in place of the message boxes and file dialogs.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

#include "core/app/AppInfo.h"
#include "core/app/BundledExample.h"
#include "core/base/Codec.h"
#include "core/base/DateTime.h"
#include "core/base/FileIO.h"
#include "core/base/Random.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/engine/ReportPane.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/dialogs/PrjAtt.h"
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/HelpForm.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

const std::string kWorkDoc = "工作文档.lvrn";
const std::string kBundledDoc = std::string(TOVARIN_TEST_DATA) + "/../../data/" + kWorkDoc;
const std::string kShippedHelp = std::string(TOVARIN_TEST_DATA) + "/../../data/readme.txt";

struct TListPane final : TReportPane {
    void ReplaceLines(const std::vector<std::string>& lines) override { Lines = lines; }
    std::vector<std::string> Lines;
};

// The lines as the output area shows them: an embedded CR LF is a break.
std::vector<std::string> AsShown(const std::vector<std::string>& lines) {
    std::vector<std::string> shown;
    for (const std::string& line : lines) {
        const QStringList parts = QString::fromStdString(line).replace("\r\n", "\n").split('\n');
        for (const QString& part : parts) {
            shown.push_back(part.toStdString());
        }
    }
    return shown;
}

std::string Bytes(const std::string& path) { return ReadWholeFile(path); }

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;

    void Start(bool withDocument) {
        dir_ = std::make_unique<test::TempDir>();
        if (withDocument) {
            WriteFileAtomically(dir_->File(kWorkDoc), Bytes(kBundledDoc));
        }
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = test::MakeMainForm(*dir_, dialogs_);
        form_->AppOptions().AutoVerifyChk = false;
    }

    void Trigger(const char* name) {
        QAction* action = form_->findChild<QAction*>(QString::fromUtf8(name));
        QVERIFY2(action != nullptr, name);
        action->trigger();
    }

    QString PrjColumn(int line, int column) const {
        return form_->Lists().ProjectView().topLevelItem(line)->text(column);
    }

    void SelectBind(int row) {
        QListWidget& list = form_->Lists().ConditionView();
        list.setCurrentRow(row);
        list.item(row)->setSelected(true);
    }

    // A new project (selected) with conditions of these kinds from the
    // submenu.
    TSeqPrj& NewProject(const std::vector<int>& kinds) {
        Trigger("ProjectMenuCreate");
        for (int kind : kinds) {
            form_->findChild<QAction*>(QStringLiteral("BindKindItem%1").arg(kind))->trigger();
        }
        return *form_->SelectedPrj(false);
    }

    std::string SavedImage() const { return BuildDocumentImage(form_->CodeNet(), form_->PrjMgr()); }

private slots:
    void init() {
        SetClock([] { return std::time_t(1796601600); });
    }  // 2026-12-07 00:00 UTC
    void cleanup() {
        if (form_) {
            form_->AppInfo().DocModified = false;
            form_->PrjMgr().ClearModified();
            form_->CodeNet().ClearModified();
        }
        form_.reset();
        dir_.reset();
        SetClock({});
    }

    void startupWithoutWorkingDocument() {
        Start(false);
        QCOMPARE(dialogs_->Messages,
                 QStringList{QStringLiteral("自动打开文档失败：\r\n工作文档.lvrn")});
        QCOMPARE(form_->Lists().ProjectView().LineCount(), 0);
        QCOMPARE(form_->CodeNet().Count(), 0);
        QVERIFY(form_->AppInfo().DocFileName.empty());
        QVERIFY(!form_->DocModified());
        QCOMPARE(form_->StatusPanel(1).text(), QStringLiteral("未修改"));
    }

    void startupOpensTheWorkingDocument() {
        Start(true);
        WriteFileAtomically(dir_->File("Readme.txt"), Utf8ToGbk("欢迎\r\n第二行"));
        form_->ClearWorkspace();
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("欢迎\n第二行"));
        form_->LoadDocument(QString::fromStdString(kWorkDoc));
        QVERIFY(dialogs_->Messages.isEmpty());
        QCOMPARE(form_->Lists().ProjectView().LineCount(), 2);
        QCOMPARE(form_->Lists().ProjectView().SelectedIndexes(), QList<int>{0});
        QCOMPARE(PrjColumn(0, 0), QStringLiteral("361"));
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("4/5"));
        QCOMPARE(PrjColumn(0, 2), QStringLiteral("1"));
        QCOMPARE(PrjColumn(0, 3), QStringLiteral("  "));
        QCOMPARE(form_->Lists().ConditionView().count(), 5);
        QCOMPARE(form_->Lists().ConditionView().item(4)->checkState(), Qt::Unchecked);
        QCOMPARE(form_->CodeNet().Count(), 360);
        QVERIFY(!form_->DocModified());
    }

    void startupDocumentNameAndReadme() {
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), Bytes(kBundledDoc));
        WriteFileAtomically(dir_->File("Readme.txt"), Utf8ToGbk("开始\r\n"));
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        TMainForm::TSetup setup{QString::fromStdString(dir_->Path()), dialogs_, false,
                                QString::fromStdString(dir_->Path())};
        form_ = std::make_unique<TMainForm>(setup);
        QCOMPARE(form_->AppInfo().DocFileName, kWorkDoc);
        QVERIFY(form_->Output().toPlainText().startsWith(QStringLiteral("开始")));
        QVERIFY(form_->windowTitle().contains(QStringLiteral("Tovarin v1.08 - ")));
    }

    void conditionsFromTheSubmenuAndTheEditor() {
        Start(true);
        TSeqPrj& project = NewProject({});
        QVERIFY(form_->PrjAttForm().isVisible());
        QCOMPARE(form_->Lists().ProjectView().LineCount(), 3);
        QCOMPARE(PrjColumn(2, 0), QStringLiteral("361"));
        QCOMPARE(PrjColumn(2, 1), QStringLiteral("0/0"));
        QVERIFY(form_->PrjMgr().Modified());

        form_->findChild<QAction*>("BindKindItem1")->trigger();
        form_->findChild<QAction*>("BindKindItem5")->trigger();
        QCOMPARE(project.BindCount(), 2);
        QCOMPARE(project.GetBind(1).Kind(), 5);
        QCOMPARE(form_->Lists().SelectedBindIndex(), 1);
        QCOMPARE(form_->Lists().ConditionView().item(1)->checkState(), Qt::Checked);
        QVERIFY(form_->BindAttForm().isVisible());
        form_->findChild<QAction*>("BindKindItem7")->trigger();
        QCOMPARE(PrjColumn(2, 1), QStringLiteral("3/3"));
        QCOMPARE(form_->Lists().SelectedBindIndex(), 2);
        QVERIFY(
            form_->Lists().ConditionView().item(2)->text().startsWith(QStringLiteral("头尾合")));

        // Edit the 头尾数 condition in the editor: digits 2 and 7, assured.
        SelectBind(1);
        QCOMPARE(form_->StatusPanel(0).text(), form_->Lists().ConditionView().item(1)->text());
        auto* list = form_->BindAttForm().findChild<QListWidget*>("s5Lbx");
        QVERIFY(list != nullptr);
        list->item(2)->setSelected(true);
        list->item(7)->setSelected(true);
        form_->BindAttForm().findChild<QCheckBox*>("IsAssureChk")->setChecked(true);
        form_->BindAttForm().findChild<QPushButton*>("ApplyBt")->click();
        QCOMPARE(QString::fromStdString(project.GetBind(1).Param()), QStringLiteral("2,7"));
        QVERIFY(project.GetBind(1).Assured);
        QCOMPARE(form_->Lists().ConditionView().item(1)->text(),
                 QString::fromStdString(project.GetBind(1).GetText()));

        // The editor switched to another kind replaces the condition; the
        // line keeps its box.
        const TBaseBind* before = &project.GetBind(0);
        form_->Lists().ConditionView().item(0)->setCheckState(Qt::Unchecked);
        SelectBind(0);
        auto* kinds = form_->BindAttForm().findChild<QComboBox*>("TypeIndexCbb");
        QVERIFY(kinds != nullptr);
        kinds->setCurrentIndex(5);  // 排除数, as the user picks it
        emit kinds->activated(5);
        form_->BindAttForm().findChild<QListWidget*>("s6Lbx")->item(4)->setSelected(true);
        form_->BindAttForm().findChild<QPushButton*>("ApplyBt")->click();
        QCOMPARE(project.GetBind(0).Kind(), 6);
        QVERIFY(&project.GetBind(0) != before);
        QVERIFY(!project.GetBind(0).Checked);
        QCOMPARE(form_->Lists().ConditionView().item(0)->checkState(), Qt::Unchecked);

        // F9: the output is the engine's report for the same project.
        RandSeed(11);
        Trigger("ProjectMenuCalcAll");
        const std::vector<std::string> shown = form_->Output().Lines();
        TListPane pane;
        RandSeed(11);
        project.CalcAll(form_->AppOptions(), &pane);
        QCOMPARE(shown, AsShown(pane.Lines));
        QVERIFY(shown.front().rfind("Tovarin 筛选计算，时间:", 0) == 0);
        QCOMPARE(form_->StatusPanel(2).text(),
                 QStringLiteral("筛选结果为%1个号码").arg(project.ResultCodes().ValidCount()));
        QCOMPARE(form_->Output().font().pointSize(), 11);
        QCOMPARE(form_->Output().textCursor().hasSelection(), false);
        QCOMPARE(form_->Output().textCursor().position(), 0);
    }

    void runCommandsNeedExactlyOneProject() {
        Start(true);
        form_->Output().setPlainText("unchanged");
        form_->Lists().ProjectView().clearSelection();
        Trigger("ProjectMenuCalcAll");
        form_->Lists().ProjectView().topLevelItem(0)->setSelected(true);
        form_->Lists().ProjectView().topLevelItem(1)->setSelected(true);
        Trigger("ProjectMenuCalcAll");
        Trigger("ProjectMenuCalcOne");
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("unchanged"));
        QVERIFY(dialogs_->Messages.isEmpty());
        QVERIFY(form_->StatusPanel(2).text().isEmpty());
        // Commands that need one project say so.
        Trigger("EditMenuSelAll");
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("请选择一个方案")});
    }

    void singleConditionRun() {
        Start(true);
        form_->Lists().ProjectView().SelectOnly(0);
        Trigger("ProjectMenuCalcOne");  // no condition line: nothing
        QVERIFY(form_->StatusPanel(2).text().isEmpty());
        SelectBind(4);  // unchecked 稳上头 1,3,5,7
        Trigger("ProjectMenuCalcOne");
        const std::vector<std::string> lines = form_->Output().Lines();
        QVERIFY(lines.front().rfind("单独铁定条件 筛选计算，时间:", 0) == 0);
        TSeqPrj& project = *form_->SelectedPrj(false);
        QCOMPARE(project.ResultCodes().ValidCount(), 40);
        QCOMPARE(form_->StatusPanel(2).text(), QStringLiteral("筛选结果为40个号码"));
        // The verdict column is written and the condition list rebuilt.
        QCOMPARE(form_->Lists().SelectedBindIndex(), -1);
    }

    void verdictColumnAfterARun() {
        Start(true);
        form_->Lists().ProjectView().SelectOnly(1);  // target: the last draw
        Trigger("ProjectMenuCalcAll");
        const TSeqPrj& project = *form_->SelectedPrj(false);
        QVERIFY(project.VerifyState() != TSeqPrj::kNoVerdict);
        QCOMPARE(PrjColumn(1, 3), QString::fromUtf8(VerifyStateTexts.at(project.VerifyState())));
    }

    void sortingByTextIgnoringCase() {
        Start(false);
        for (int target : {9, 100, 10}) {
            TSeqPrj& project = NewProject({});
            TPrjOptions options = project.Options();
            options.TargetSeq = target;
            project.SetOptions(options);
        }
        emit form_->Lists().ProjectView().header()->sectionClicked(0);
        QCOMPARE(PrjColumn(0, 0), QStringLiteral("10"));
        QCOMPARE(PrjColumn(1, 0), QStringLiteral("100"));
        QCOMPARE(PrjColumn(2, 0), QStringLiteral("9"));
        // Only the view moved; the list keeps its order.
        QCOMPARE(form_->PrjMgr().GetSeqPrj(0).Options().TargetSeq, 9);
        // A new line is appended at the end, unsorted.
        NewProject({});
        QCOMPARE(PrjColumn(3, 0), QStringLiteral("1"));
    }

    void deletingProjectsSelectsTheNextLine() {
        struct TCase {
            QList<int> Delete;
            int ExpectedSelected;  // index into the original three
        };
        for (const TCase& c :
             {TCase{{1}, 2}, TCase{{2}, 0}, TCase{{0, 1}, 2}, TCase{{0, 2}, 1}, TCase{{1, 2}, 0}}) {
            Start(false);
            std::vector<TSeqPrj*> projects;
            for (int i = 0; i < 3; ++i) {
                projects.push_back(&NewProject({1}));
            }
            form_->Lists().ProjectView().clearSelection();
            for (int line : c.Delete) {
                form_->Lists().ProjectView().topLevelItem(line)->setSelected(true);
            }
            Trigger("ProjectMenuDel");
            QCOMPARE(form_->PrjMgr().PrjCount(), 3 - c.Delete.size());
            QCOMPARE(form_->SelectedPrj(false), projects[size_t(c.ExpectedSelected)]);
            QVERIFY(!form_->PrjAttForm().isVisible());
            QVERIFY(!form_->BindAttForm().isVisible());
            QCOMPARE(form_->Lists().ConditionView().count(), 1);
            cleanup();
            init();
        }
    }

    void clearingProjects() {
        Start(true);
        Trigger("ProjectMenuClear");
        QCOMPARE(form_->PrjMgr().PrjCount(), 0);
        QCOMPARE(form_->Lists().ProjectView().LineCount(), 0);
        QCOMPARE(form_->Lists().ConditionView().count(), 0);
        QVERIFY(form_->DocModified());
        QCOMPARE(form_->StatusPanel(1).text(), QStringLiteral("已修改"));
    }

    void deletingAConditionSelectsTheNextOne() {
        Start(false);
        TSeqPrj& project = NewProject({1, 2, 3});
        SelectBind(1);
        form_->StatusPanel(0).clear();
        Trigger("EditMenuDel");
        QCOMPARE(project.BindCount(), 2);
        QCOMPARE(project.GetBind(1).Kind(), 3);
        // The line that moved up was shown, then the list was rebuilt.
        QCOMPARE(form_->StatusPanel(0).text(),
                 QString::fromStdString(project.GetBind(1).GetText()));
        QCOMPARE(form_->Lists().SelectedBindIndex(), -1);
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("2/2"));
        // The last line: nothing new shown.
        SelectBind(1);
        form_->StatusPanel(0).setText("before");
        Trigger("EditMenuDel");
        QCOMPARE(project.BindCount(), 1);
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("before"));
        Trigger("EditMenuDel");  // nothing selected: nothing happens
        QCOMPARE(project.BindCount(), 1);
    }

    void movingConditionsUpAndDown() {
        Start(false);
        TSeqPrj& project = NewProject({1, 2, 3});
        project.SetChecked(2, false);
        form_->Lists().RebuildBindList();
        QVERIFY(!form_->findChild<QAction*>("EditMenuUp")->isEnabled());
        SelectBind(0);
        QVERIFY(!form_->findChild<QAction*>("EditMenuUp")->isEnabled());
        Trigger("EditMenuUp");
        QCOMPARE(project.GetBind(0).Kind(), 1);
        SelectBind(2);
        QVERIFY(form_->findChild<QAction*>("EditMenuUp")->isEnabled());
        Trigger("EditMenuDown");  // the last line: nothing
        QCOMPARE(project.GetBind(2).Kind(), 3);
        Trigger("EditMenuUp");
        QCOMPARE(project.GetBind(1).Kind(), 3);
        QCOMPARE(project.GetBind(2).Kind(), 2);
        QCOMPARE(form_->Lists().SelectedBindIndex(), 1);
        QCOMPARE(form_->Lists().ConditionView().item(1)->checkState(), Qt::Unchecked);
        QCOMPARE(form_->Lists().ConditionView().item(2)->checkState(), Qt::Checked);
        QCOMPARE(form_->Lists().ConditionView().item(1)->text(),
                 QString::fromStdString(project.GetBind(1).GetText()));
        SelectBind(0);
        Trigger("EditMenuDown");
        QCOMPARE(project.GetBind(0).Kind(), 3);
        QCOMPARE(project.GetBind(1).Kind(), 1);
        QCOMPARE(form_->Lists().SelectedBindIndex(), 1);
    }

    void checkBoxesAndAutomaticRuns() {
        Start(true);
        TSeqPrj& project = *form_->SelectedPrj(false);
        form_->Output().setPlainText("old");
        form_->Lists().ConditionView().item(4)->setCheckState(Qt::Checked);
        QVERIFY(project.GetBind(4).Checked);
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("5/5"));
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("old"));  // AutoCalcChk off

        form_->AppOptions().AutoCalcChk = true;
        form_->Lists().ConditionView().item(0)->setCheckState(Qt::Unchecked);
        QVERIFY(!project.GetBind(0).Checked);
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("4/5"));
        QVERIFY(form_->Output().toPlainText().startsWith(QStringLiteral("Tovarin 筛选计算")));
        QVERIFY(!form_->StatusPanel(2).text().isEmpty());

        form_->Output().setPlainText("old");
        Trigger("EditMenuSelInv");
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("1/5"));
        QVERIFY(form_->Output().toPlainText().startsWith(QStringLiteral("Tovarin 筛选计算")));
        Trigger("EditMenuSelAll");
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("5/5"));
        // Emptying the list empties the output instead of running.
        Trigger("EditMenuClear");
        QCOMPARE(project.BindCount(), 0);
        QVERIFY(form_->Output().toPlainText().isEmpty());
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("0/0"));
    }

    void ctrlAChecksEveryCondition() {
        Start(true);
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        Trigger("EditMenuSelInv");
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("1/5"));
        form_->Output().setPlainText("abc");
        form_->Output().setFocus();
        QTest::keyClick(&form_->Output(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("5/5"));
        QVERIFY(!form_->Output().textCursor().hasSelection());
        // The same from the condition list.
        Trigger("EditMenuSelInv");
        form_->Lists().ConditionView().setFocus();
        QTest::keyClick(&form_->Lists().ConditionView(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(PrjColumn(0, 1), QStringLiteral("5/5"));
        // The text menu's entry selects the whole text from its first character.
        Trigger("TextMenuSelAll");
        QCOMPARE(form_->Output().textCursor().selectionStart(), 0);
        QCOMPARE(form_->Output().textCursor().selectedText(), QStringLiteral("abc"));
    }

    void saveAndReopenGiveTheSameBytes() {
        Start(true);
        NewProject({9, 4});
        const std::string path = dir_->File("copy.lvrn");
        dialogs_->NextSaveName = QString::fromStdString(path);
        Trigger("FileMenuSaveAs");
        QCOMPARE(dialogs_->LastSpec.Title, QStringLiteral("文档另存为"));
        QCOMPARE(dialogs_->LastSpec.Filter, QStringLiteral("Tovarin文档 (*.lvrn)"));
        QCOMPARE(dialogs_->LastSpec.DefaultSuffix, QStringLiteral("lvrn"));
        QVERIFY(!form_->DocModified());
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("保存文档完毕"));
        const std::string saved = Bytes(path);
        QCOMPARE(saved, SavedImage());

        dialogs_->NextOpenName = QString::fromStdString(path);
        Trigger("FileMenuOpen");
        QVERIFY(dialogs_->LastSpec.MustExist);
        QCOMPARE(form_->PrjMgr().PrjCount(), 3);
        QCOMPARE(form_->AppInfo().DocFileName, path);
        QCOMPARE(SavedImage(), saved);
        Trigger("FileMenuSave");
        QCOMPARE(Bytes(path), saved);
    }

    void saveWithoutANameAsksAndCancelKeepsTheState() {
        Start(false);
        NewProject({});
        dialogs_->NextSaveName.clear();
        Trigger("FileMenuSave");
        QVERIFY(form_->DocModified());
        QVERIFY(form_->AppInfo().DocFileName.empty());
        QCOMPARE(dialogs_->LastSpec.Title, QStringLiteral("文档另存为"));
    }

    void closeQueryNoWritesNothing() {
        Start(true);
        const std::string before = Bytes(dir_->File(kWorkDoc));
        NewProject({1});
        dialogs_->Answers = {false};
        QVERIFY(form_->close());
        QCOMPARE(dialogs_->Questions, QStringList{QStringLiteral("保存提示|保存已经修改的文档?")});
        QCOMPARE(Bytes(dir_->File(kWorkDoc)), before);
        // The settings were written on closing.
        QVERIFY(FileExists(dir_->File("ormelux.ini")));
    }

    void closeQueryYesWrites() {
        Start(true);
        NewProject({1});
        dialogs_->Answers = {true};
        QVERIFY(form_->close());
        QCOMPARE(Bytes(dir_->File(kWorkDoc)), SavedImage());
        QVERIFY(!form_->DocModified());
    }

    void failedSaveKeepsDocumentModifiedAndFileWhole() {
        Start(true);
        const std::string before = Bytes(dir_->File(kWorkDoc));
        TSeqPrj& project = NewProject({9});
        // A parameter the document's GBK cannot hold makes the image fail.
        project.GetBind(0).SetParam("1与2相配\xF0\x9F\x98\x80");
        Trigger("FileMenuSave");
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("保存文件时出现错误！")});
        QVERIFY(form_->DocModified());
        QCOMPARE(Bytes(dir_->File(kWorkDoc)), before);
        QCOMPARE(dir_->Names(), (std::vector<std::string>{kWorkDoc}));
        // Refusing to close on a failed save.
        dialogs_->Answers = {true};
        QVERIFY(!form_->close());
    }

    void unreadableDocumentShowsTheOpenError() {
        Start(true);
        const std::string broken = dir_->File("broken.lvrn");
        WriteFileAtomically(broken, Bytes(kBundledDoc).substr(0, 100));
        dialogs_->NextOpenName = QString::fromStdString(broken);
        Trigger("FileMenuOpen");
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("打开文件时出现错误！")});
        QCOMPARE(form_->PrjMgr().PrjCount(), 0);
        QVERIFY(form_->AppInfo().DocFileName.empty());
    }

    void emptyFileOpensAsEmptyDocument() {
        Start(true);
        const std::string empty = dir_->File("empty.lvrn");
        WriteFileAtomically(empty, "");
        dialogs_->NextOpenName = QString::fromStdString(empty);
        Trigger("FileMenuOpen");
        QVERIFY(dialogs_->Messages.isEmpty());
        QCOMPARE(form_->PrjMgr().PrjCount(), 0);
        QCOMPARE(form_->CodeNet().Count(), 360);
        QCOMPARE(form_->AppInfo().DocFileName, empty);
    }

    void newDocumentKeepsTheDraws() {
        Start(true);
        NewProject({});
        dialogs_->Answers = {false};
        Trigger("FileMenuNew");
        QCOMPARE(dialogs_->Questions.size(), 1);
        QCOMPARE(form_->PrjMgr().PrjCount(), 0);
        QCOMPARE(form_->CodeNet().Count(), 360);
        QVERIFY(form_->AppInfo().DocFileName.empty());
        QVERIFY(!form_->DocModified());
    }

    void drawEditsMarkTheDocument() {
        Start(true);
        QCOMPARE(form_->StatusPanel(1).text(), QStringLiteral("未修改"));
        form_->CodeNet().SetNum(0, 0, 9);
        QVERIFY(form_->DocModified());
        QCOMPARE(form_->StatusPanel(1).text(), QStringLiteral("已修改"));
        Trigger("FileMenuCodesEdit");
        QVERIFY(form_->CodesForm().isVisible());
        Trigger("FileMenuCodesEdit");
        QVERIFY(!form_->CodesForm().isVisible());
    }

    void exportWritesTheLinesInGbk() {
        Start(false);
        form_->Output().setPlainText(QStringLiteral("第一行\n2xx7 "));
        const std::string path = dir_->File("out.txt");
        dialogs_->NextSaveName = QString::fromStdString(path);
        Trigger("FileMenuExport");
        QCOMPARE(dialogs_->LastSpec.Title, QStringLiteral("将当前显示区的号码数据导出到文本文件"));
        QCOMPARE(Bytes(path), Utf8ToGbk("第一行\r\n2xx7 \r\n"));
    }

    void printingGoesToAPdfWithTheJobTitle() {
        Start(false);
        form_->Output().setPlainText(QStringLiteral("打印内容"));
        const std::string path = dir_->File("print.pdf");
        dialogs_->NextSaveName = QString::fromStdString(path);
        SetShortDateFormat("yyyy.MM.dd");
        Trigger("FileMenuPrint");
        QCOMPARE(form_->Printer().docName(), QStringLiteral("Tovarin成果打印 2026.12.07"));
        QVERIFY(Bytes(path).rfind("%PDF", 0) == 0);
    }

    void verificationFollowsEveryRunWhenSwitchedOn() {
        Start(true);
        form_->AppOptions().AutoVerifyChk = true;
        Trigger("ProjectMenuCalcAll");  // target 361: not drawn yet
        // Said in the first status panel: no box in the everyday case.
        QVERIFY(dialogs_->Messages.isEmpty());
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("第361期开奖号码还没有！"));
        form_->Lists().ProjectView().SelectOnly(1);  // target 360: the last draw
        Trigger("ProjectMenuCalcAll");
        QVERIFY(dialogs_->Messages.isEmpty());
        QVERIFY(form_->StatusPanel(0).text() != QStringLiteral("第361期开奖号码还没有！"));
    }

    void errorsOfACommandReachTheErrorBox() {
        Start(true);
        TSeqPrj& project = *form_->SelectedPrj(false);
        TPrjOptions options = project.Options();
        options.MissMax = 11;
        project.SetOptions(options);
        form_->Output().setPlainText("kept");
        Trigger("ProjectMenuCalcAll");
        QCOMPARE(dialogs_->Errors, QStringList{QStringLiteral("TCodes.SetMissCount Is Error!")});
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("kept"));
        // The window goes on working.
        options.MissMax = 1;
        project.SetOptions(options);
        Trigger("ProjectMenuCalcAll");
        QCOMPARE(dialogs_->Errors.size(), 1);
    }

    void projectSettingsApply() {
        Start(true);
        form_->AppOptions().AutoCalcChk = true;
        Trigger("ProjectMenuAttrib");
        QVERIFY(form_->PrjAttForm().isVisible());
        auto* missMax = form_->PrjAttForm().findChild<QSpinBox*>("MissMax");
        QVERIFY(missMax != nullptr);
        missMax->setValue(3);
        form_->PrjAttForm().findChild<QPushButton*>("OkBt")->click();
        QCOMPARE(form_->SelectedPrj(false)->Options().MissMax, 3);
        QCOMPARE(PrjColumn(0, 2), QStringLiteral("3"));
        QVERIFY(form_->Output().toPlainText().startsWith(QStringLiteral("Tovarin 筛选计算")));
        QVERIFY(form_->PrjMgr().Modified());
        Trigger("ProjectMenuAttrib");
        QVERIFY(!form_->PrjAttForm().isVisible());
    }

    void helpAndHomePageGoToTheShell() {
        Start(false);
        Trigger("HelpMenuContents");
        Trigger("HelpMenuHomePage");
        QCOMPARE(dialogs_->Opened,
                 (QStringList{QString::fromStdString(dir_->File("readme.txt")),
                              QString::fromStdString(form_->AppInfo().WebAddress)}));
    }

    // A desktop that cannot open readme.txt: the help opens inside the
    // program, its sections listed, its text searchable.
    void helpOpensInsideWhenTheDesktopCannot() {
        Start(false);
        dialogs_->Messages.clear();
        WriteFileAtomically(dir_->File("readme.txt"), Bytes(kShippedHelp));
        dialogs_->ShellOpens = false;
        Trigger("HelpMenuContents");
        auto* help = form_->findChild<THelpForm*>("HelpForm");
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("帮助"));
        QVERIFY(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QStringList sections = {"Tovarin 头尾码筛选工具 使用说明",
                                      "一、基本概念",
                                      "二、开始使用",
                                      "三、号码统计与走势图",
                                      "四、常用快捷键",
                                      "五、导入开奖数据",
                                      "期号和开奖日期",
                                      "游戏（七位数、七星彩、排列5）",
                                      "更新开奖数据（Ctrl+Shift+U）",
                                      "六、文件",
                                      "七、撤销、恢复与最近打开的文档",
                                      "八、回测（Ctrl+B）",
                                      "九、成绩单：记录预测并在开奖后核对（Ctrl+R、Ctrl+L）",
                                      "十、帮助（F1）"};
        QCOMPARE(help->Sections(), sections);
        QCOMPARE(help->Contents().count(), sections.size());
        help->Contents().setCurrentRow(9);
        QCOMPARE(help->Text().textCursor().block().text(), sections[9]);
        // Enter finds the next place, wrapping round; a miss says so.
        help->SearchField().setText(QStringLiteral("容错曲线"));
        QTest::keyClick(&help->SearchField(), Qt::Key_Return);
        const QTextCursor first = help->Text().textCursor();
        QCOMPARE(first.selectedText(), QStringLiteral("容错曲线"));
        QVERIFY(first.block().blockNumber() > help->Text().document()->findBlock(0).blockNumber());
        QTest::keyClick(&help->SearchField(), Qt::Key_Return);
        QTest::keyClick(&help->SearchField(), Qt::Key_Return);
        QCOMPARE(help->Text().textCursor().selectedText(), QStringLiteral("容错曲线"));
        QVERIFY(!help->FindNext(QStringLiteral("没有这句话")));
        QCOMPARE(help->findChild<QLabel*>("HelpSearchLbl")->text(), QStringLiteral("未找到"));
        // The same window again, not a second one.
        Trigger("HelpMenuContents");
        QCOMPARE(form_->findChildren<THelpForm*>().size(), 1);
        // Without a browser the address is given instead.
        Trigger("HelpMenuHomePage");
        QCOMPARE(dialogs_->Messages,
                 QStringList{QStringLiteral("无法启动浏览器。请在浏览器中打开 ") +
                             QString::fromStdString(form_->AppInfo().WebAddress)});
        RemoveFile(dir_->File("readme.txt"));
        Trigger("HelpMenuContents");
        QCOMPARE(dialogs_->Messages.back(), QStringLiteral("找不到帮助文件 ") +
                                                QString::fromStdString(dir_->File("readme.txt")));
    }

    // Run with TOVARIN_SHOT_HELP set: the help window on the shipped help,
    // the backtest section chosen and a word found.
    void screenshotOfTheHelpWindow() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT_HELP");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT_HELP names the file for the picture");
        }
        Start(false);
        WriteFileAtomically(dir_->File("readme.txt"), Bytes(kShippedHelp));
        dialogs_->ShellOpens = false;
        Trigger("HelpMenuContents");
        auto* help = form_->findChild<THelpForm*>("HelpForm");
        QVERIFY(QTest::qWaitForWindowExposed(help));
        help->Contents().setCurrentRow(8);
        help->SearchField().setText(QStringLiteral("方案已修改"));
        help->FindNext(help->SearchField().text());
        QTest::qWait(100);
        QVERIFY(help->grab().save(QString::fromLocal8Bit(shot)));
    }

    // Only the bundled example says that it is one; a new document, another
    // document or the example once changed say nothing of it.
    void onlyTheBundledExampleSaysItIsOne() {
        Start(true);
        WriteFileAtomically(dir_->File("Readme.txt"), Utf8ToGbk("欢迎"));
        const QString note = QString::fromUtf8(kBundledExampleNote);
        form_->ClearWorkspace();
        form_->LoadDocument(QString::fromStdString(kWorkDoc));
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("欢迎\n") + note);
        Trigger("FileMenuNew");
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("欢迎"));
        NewProject({1});
        dialogs_->NextSaveName = QString::fromStdString(dir_->File("mine.lvrn"));
        Trigger("FileMenuSave");
        form_->OpenNamedDocument(QString::fromStdString(dir_->File("mine.lvrn")));
        QVERIFY(!form_->Output().toPlainText().contains(note));
    }

    // A document named on the command line opens after the start-up
    // document's save question.
    void namedDocumentOpensAfterTheSaveQuestion() {
        Start(true);
        TCodeNet net;
        TPrjMgr projects(net);
        test::AddDraws(net, {"1234567"});
        SaveDocument(dir_->File("other.lvrn"), net, projects);
        NewProject({});
        dialogs_->Questions.clear();
        dialogs_->Choices = {TAnswer::Cancel};
        form_->OpenNamedDocument(QString::fromStdString(dir_->File("other.lvrn")));
        QCOMPARE(dialogs_->Questions, QStringList{QStringLiteral("保存提示|保存已经修改的文档?")});
        QCOMPARE(form_->AppInfo().DocFileName, kWorkDoc);
        dialogs_->Choices = {TAnswer::No};
        form_->OpenNamedDocument(QString::fromStdString(dir_->File("other.lvrn")));
        QCOMPARE(form_->AppInfo().DocFileName, dir_->File("other.lvrn"));
        QCOMPARE(form_->CodeNet().Count(), 1);
        QVERIFY(!form_->DocModified());
        form_->OpenNamedDocument(QString::fromStdString(dir_->File("gone.lvrn")));
        QCOMPARE(dialogs_->Messages.back(), QString::fromUtf8(kOpenErrorText));
        QCOMPARE(form_->AppInfo().DocFileName, dir_->File("other.lvrn"));
    }

    void findSearchesForwardCaseSensitively() {
        Start(false);
        form_->Output().setPlainText(QStringLiteral("abc ABC abc"));
        dialogs_->NextText = QStringLiteral("abc");
        Trigger("TextMenuFind");
        QCOMPARE(form_->Output().textCursor().selectionStart(), 0);
        Trigger("TextMenuFind");
        QCOMPARE(form_->Output().textCursor().selectionStart(), 8);
        Trigger("TextMenuFind");  // no further hit: the selection stays
        QCOMPARE(form_->Output().textCursor().selectionStart(), 8);
    }

    // Not a check: under a real display (TOVARIN_SHOT names the file) it
    // saves a picture of the screen after a filtering run with the draw
    // window and both dialogs open, for a person to look at.
    void screenshot() {
        const QString file = qEnvironmentVariable("TOVARIN_SHOT");
        if (file.isEmpty()) {
            QSKIP("set TOVARIN_SHOT to a file name and run under a display");
        }
        dir_ = std::make_unique<test::TempDir>();
        WriteFileAtomically(dir_->File(kWorkDoc), Bytes(kBundledDoc));
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = std::make_unique<TMainForm>(
            TMainForm::TSetup{QString::fromStdString(dir_->Path()), dialogs_, true,
                              QString::fromStdString(dir_->Path())});
        form_->AppOptions().DetailEveryChk = true;
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QTest::qWait(300);
        Trigger("ProjectMenuCalcAll");
        QTest::qWait(200);
        QString only = file;
        only.replace(".png", "-only.png");
        form_->grab().save(only);
        Trigger("FileMenuCodesEdit");
        SelectBind(1);
        Trigger("EditMenuAttrib");
        Trigger("ProjectMenuAttrib");
        // Side by side for the picture; each window keeps its own layout.
        form_->setGeometry(0, 0, 780, 560);
        form_->CodesForm().move(790, 0);
        form_->PrjAttForm().move(0, 600);
        form_->BindAttForm().move(form_->PrjAttForm().frameGeometry().right() + 10, 600);
        QTest::qWait(500);
        const QString all = file;
        QGuiApplication::primaryScreen()->grabWindow(0).save(all);
    }

    void reportPaneShowsEmbeddedLineBreaks() {
        Start(false);
        form_->Output().setPlainText("x");
        QTextCursor cursor = form_->Output().textCursor();
        cursor.select(QTextCursor::Document);
        form_->Output().setTextCursor(cursor);
        form_->Output().ReplaceLines({"a\r\nb", "", "c"});
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("a\nb\n\nc"));
        QVERIFY(!form_->Output().textCursor().hasSelection());
    }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
