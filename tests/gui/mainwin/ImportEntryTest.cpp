// The 文件 menu's 导入开奖数据: it opens the draw-table window's import, and
// what an import did reaches the main window's status bar and modified flag.
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
#include "gui/common/WhenModalOpens.h"
#include "gui/draws/CodesDlg.h"
#include "gui/draws/TableImportDlg.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
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
};

QTEST_MAIN(ImportEntryTest)
#include "ImportEntryTest.moc"
