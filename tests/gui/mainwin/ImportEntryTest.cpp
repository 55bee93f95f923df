// The 文件 menu's 导入开奖数据 and 更新开奖数据: they run the draw-table
// window's import and update, and what they did reaches the main window's
// status bar and modified flag.
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/sources/SourceList.h"
#include "gui/common/WhenModalOpens.h"
#include "gui/draws/CodesDlg.h"
#include "gui/draws/TableImportDlg.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "support/AnswerServer.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

class ImportEntryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> dir_;
    std::unique_ptr<TMainForm> form_;

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        form_ = test::MakeMainForm(*dir_, std::make_shared<test::TFakeDialogs>());
        form_->CodeNet().Clear();
        test::AddDraws(form_->CodeNet(), {"1111111", "2222222", "3333333"});
        form_->CodeNet().ClearModified();
        form_->AppInfo().DocModified = false;
    }

    void cleanup() {
        form_->CodeNet().ClearModified();
        form_->AppInfo().DocModified = false;
        form_.reset();
        dir_.reset();
    }

    void theEntryAsksForTheFile() {
        QAction& entry = *form_->Actions().FileMenuImportTable;
        QCOMPARE(entry.text(), QStringLiteral("导入开奖数据(&I)..."));
        QCOMPARE(entry.shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+I")));
        QString title;
        test::WhenModalOpens<QFileDialog>(this, [&title](QFileDialog& dialog) {
            title = dialog.windowTitle();
            dialog.reject();
        });
        entry.trigger();
        QCOMPARE(title, QStringLiteral("导入开奖数据"));
        QVERIFY(!form_->DocModified());
    }

    void anImportReachesTheStatusBarAndMarksTheDocument() {
        const std::string path = dir_->File("history.csv");
        WriteFileAtomically(path,
                            "期号,号码\n5,5555555\n4,4444444\n3,3333333\n2,2222222\n"
                            "1,1111111\n");
        test::WhenModalOpens<TTableImportDlg>(this, [](TTableImportDlg& preview) {
            QCOMPARE(preview.Mode(), TImportMode::Append);
            preview.Buttons().button(QDialogButtonBox::Ok)->click();
        });
        form_->CodesForm().ImportTableFile(QString::fromStdString(path));
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("追加了2期，最新一期为5期"));
        QVERIFY(form_->DocModified());
        QCOMPARE(test::DrawTexts(form_->CodeNet()),
                 (std::vector<std::string>{"1111111", "2222222", "3333333", "4444444", "5555555"}));
    }

    void theUpdateEntryAppendsFromTheSourcesBesideTheSettings() {
        test::TempDir files;
        test::WriteTestFile(files.File("h.txt"), "4 4444444\n3 3333333\n2 2222222\n1 1111111\n");
        test::WriteTestFile(files.File("routes.json"), R"({"/h.txt": {"file": "h.txt"}})");
        const test::AnswerServer server(files.Path());
        SaveSources(SourcesFilePath(dir_->Path()),
                    {{"站", server.Url("/h.txt"), TSourceFormat::Auto, true, {}}});
        QAction& entry = *form_->Actions().FileMenuUpdate;
        QCOMPARE(entry.shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+U")));
        entry.trigger();
        // The table has no labels: the draws continue its last three by digits.
        QCOMPARE(form_->StatusPanel(0).text(),
                 QStringLiteral("更新了1期，最新一期为4期（来源：站）"));
        QVERIFY(form_->DocModified());
        QCOMPARE(test::DrawTexts(form_->CodeNet()),
                 (std::vector<std::string>{"1111111", "2222222", "3333333", "4444444"}));
    }
};

QTEST_MAIN(ImportEntryTest)
#include "ImportEntryTest.moc"
