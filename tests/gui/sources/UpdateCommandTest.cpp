#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

#include <memory>

#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/engine/Prj.h"
#include "core/sources/SourceList.h"
#include "gui/common/DocUndo.h"
#include "gui/common/WhenModalOpens.h"
#include "gui/draws/CodesDlg.h"
#include "gui/sources/SourcesDlg.h"
#include "gui/sources/UpdateCommand.h"
#include "support/AnswerServer.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

QStringList ListTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        texts << list.item(i)->text();
    }
    return texts;
}

}  // namespace

// 更新开奖数据 on a draw window whose table ends at 2026148, against
// sources served on 127.0.0.1.
class UpdateCommandTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> files_;
    std::unique_ptr<test::AnswerServer> server_;
    std::unique_ptr<test::TempDir> dir_;
    std::unique_ptr<TCodesForm> form_;
    std::unique_ptr<TPrjMgr> projects_;
    std::unique_ptr<TDocUndo> undo_;
    std::unique_ptr<TUpdateCommand> command_;

    TCodeNet& Net() { return form_->CodeNet(); }

    // The list holds these sources (name, path on the server), all on.
    void UseSources(const std::vector<std::pair<std::string, std::string>>& sources) {
        std::vector<TDrawSource> list;
        for (const auto& [name, path] : sources) {
            list.push_back({name, server_->Url(path), TSourceFormat::Auto, true, {}});
        }
        SaveSources(SourcesFilePath(dir_->Path()), list);
    }

    QString LastLabel() {
        return QString::fromStdString(Net().GetSeq(Net().Count() - 1).GetLabel().Text());
    }

private slots:
    void initTestCase() {
        files_ = std::make_unique<test::TempDir>();
        test::WriteTestFile(files_->File("h.txt"),
                            "2026150 2026-12-06 3 5 8 1 2 9 0\n2026149 3 5 8 1 2 9 9\n");
        test::WriteTestFile(files_->File("qxc.txt"), "2026149 2026-12-04 3 5 8 1 2 9 14\n");
        test::WriteTestFile(files_->File("conflict.txt"), "2026149 1 1 1 1 1 1 1\n");
        test::WriteTestFile(files_->File("routes.json"), R"({
          "/h.txt": {"file": "h.txt"},
          "/conflict.txt": {"file": "conflict.txt"},
          "/qxc.txt": {"file": "qxc.txt"},
          "/trickle": {"trickle": true}
        })");
        server_ = std::make_unique<test::AnswerServer>(files_->Path());
    }
    void cleanupTestCase() {
        server_.reset();
        files_.reset();
    }
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        form_ = std::make_unique<TCodesForm>();
        test::AddDraws(Net(), {"3581297", "3581298"});
        Net().SetLabelDate(0, *TLabel::Parse("2026147"), TDrawDate());
        Net().SetLabelDate(1, *TLabel::Parse("2026148"), TDrawDate());
        projects_ = std::make_unique<TPrjMgr>(Net());
        undo_ = std::make_unique<TDocUndo>(Net(), *projects_);
        form_->SetUndo(*undo_);
        command_ = std::make_unique<TUpdateCommand>(*form_, SourcesFilePath(dir_->Path()));
    }
    void cleanup() {
        command_.reset();
        undo_.reset();
        projects_.reset();
        form_.reset();
        dir_.reset();
    }

    void aCleanUpdateIsOneStepAndThenUpToDate() {
        UseSources({{"官网", "/h.txt"}});
        QCOMPARE(command_->Run(), U("更新了2期，最新一期为2026150期（来源：官网）"));
        QCOMPARE(form_->statusBar()->currentMessage(),
                 U("更新了2期，最新一期为2026150期（来源：官网）"));
        QCOMPARE(test::DrawTexts(Net()),
                 (std::vector<std::string>{"3581297", "3581298", "3581299", "3581290"}));
        QCOMPARE(LastLabel(), U("2026150"));

        QCOMPARE(command_->Run(), U("码表已是最新：最新一期为2026150期"));
        QCOMPARE(Net().Count(), 4);
        QCOMPARE(undo_->History().UndoName(), std::string("更新开奖数据"));
        undo_->Undo();
        QCOMPARE(Net().Count(), 2);
        QCOMPARE(LastLabel(), U("2026148"));
        QVERIFY(!undo_->History().CanUndo());
        undo_->Redo();
        QCOMPARE(Net().Count(), 4);
        QCOMPARE(LastLabel(), U("2026150"));
        QCOMPARE(Net().GetSeq(3).GetDate().Text(), std::string("2026-12-06"));
    }

    void aQxcTableTakesTheSeventhNumber14() {
        Net().SetGame(TGame::Qxc);
        UseSources({{"七星彩", "/qxc.txt"}});
        QCOMPARE(command_->Run(), U("更新了1期，最新一期为2026149期（来源：七星彩）"));
        QCOMPARE(Net().GetNum(2, 6), 14);
    }

    void sourcesInConflictOpenTheBlockedPreview() {
        UseSources({{"甲", "/conflict.txt"}, {"乙", "/h.txt"}});
        bool shown = false;
        test::WhenModalOpens<TTableImportDlg>(this, [&shown](TTableImportDlg& preview) {
            shown = true;
            QCOMPARE(ListTexts(preview.SkippedList()).value(0),
                     U("第2026149期：「甲」是1111111，「乙」是3581299"));
            QVERIFY(preview.findChild<QLabel*>("SourceLbl")->text().endsWith(U("甲、乙")));
            QCOMPARE(preview.findChild<QLabel*>("SkippedLbl")->text(),
                     U("数据源的问题：1项；没有无法读取的行"));
            QVERIFY(preview.AppendRb().isChecked());
            QVERIFY(!preview.ReplaceRb().isEnabled());
            QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
            QVERIFY(preview.OutcomeLabel().text().startsWith(
                U("数据源给出的开奖号码不一致，不能导入（见上面的列表）。")));
            preview.reject();
        });
        QCOMPARE(command_->Run(), QString());
        QVERIFY(shown);
        QCOMPARE(Net().Count(), 2);
        QVERIFY(!undo_->History().CanUndo());
    }

    void aFailedSourceIsListedAndTheOthersCanStillBeImported() {
        UseSources({{"坏", "/none"}, {"官网", "/h.txt"}});
        test::WhenModalOpens<TTableImportDlg>(this, [](TTableImportDlg& preview) {
            QCOMPARE(ListTexts(preview.SkippedList()).value(0),
                     U("数据源「坏」：服务器回答 HTTP 404"));
            preview.Buttons().button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(command_->Run(), U("追加了2期，最新一期为2026150期"));
        QCOMPARE(Net().Count(), 4);
    }

    void cancelStopsTheFetchAndChangesNothing() {
        UseSources({{"慢", "/trickle"}});
        test::WhenModalOpens<QProgressDialog>(this, [](QProgressDialog& progress) {
            QCOMPARE(progress.windowTitle(), U("更新开奖数据"));
            auto* cancel = progress.findChild<QPushButton*>();
            QCOMPARE(cancel->text(), U("取消"));
            cancel->click();
        });
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(command_->Run(), U("已取消更新开奖数据"));
        QVERIFY(timer.elapsed() < 10000);
        QCOMPARE(Net().Count(), 2);
    }

    void withoutASourceThatIsOnTheUserIsTold() {
        SaveSources(SourcesFilePath(dir_->Path()),
                    {{"关", server_->Url("/h.txt"), TSourceFormat::Auto, false, {}}});
        try {
            command_->Run();
            QFAIL("no error");
        } catch (const Exception& error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QString::fromStdString(NoEnabledSourcesText()));
        }
    }

    // Run with TOVARIN_SHOT_DIR set: the sources dialog after 试一试, the
    // draw window after an update and the preview after a conflict.
    void pictures() {
        const QByteArray folder = qgetenv("TOVARIN_SHOT_DIR");
        if (folder.isEmpty()) {
            QSKIP("TOVARIN_SHOT_DIR names the folder for the pictures");
        }
        const QString shots = QString::fromLocal8Bit(folder);
        test::TempDir files;
        std::string rows;
        for (int label = 2026150; label >= 2026140; --label) {
            rows += "<tr><td>" + std::to_string(label) + "</td><td>2026-12-0" +
                    std::to_string(label % 9 + 1) + "</td><td>3 5 8 1 2 9 " +
                    std::to_string(label % 10) + "</td></tr>";
        }
        test::WriteTestFile(
            files.File("kj.html"),
            Utf8ToGbk("<html><head><meta charset=\"gb2312\"></head><body><table>"
                      "<tr><th>期号</th><th>开奖日期</th><th>开奖号码</th></tr>" +
                      rows + "<tr><td>合计</td><td>11期</td></tr></table></body></html>"));
        test::WriteTestFile(files.File("routes.json"),
                            R"({"/kj.html": {"file": "kj.html", "type": "text/html"}})");
        const test::AnswerServer pages(files.Path());
        TSourcesDlg dialog({{"体彩网",
                             pages.Url("/kj.html"),
                             TSourceFormat::Auto,
                             true,
                             {"User-Agent: Mozilla/5.0", "Referer: https://www.example.cn/"}},
                            {"乙", server_->Url("/h.txt"), TSourceFormat::Table, false, {}}},
                           dir_->File("s.json"), TGame::Seven);
        dialog.show();
        dialog.findChild<QPushButton*>("tryButton")->click();
        auto* summary = dialog.findChild<QLabel*>("trySummary");
        QTRY_VERIFY(summary->text().startsWith(U("读到")));
        QVERIFY(dialog.grab().save(shots + "/sources-try.png"));

        UseSources({{"体彩网", "/h.txt"}});
        form_->show();
        QCOMPARE(command_->Run(), U("更新了2期，最新一期为2026150期（来源：体彩网）"));
        QVERIFY(form_->grab().save(shots + "/update-status.png"));

        undo_->Undo();
        UseSources({{"甲", "/conflict.txt"}, {"乙", "/h.txt"}});
        test::WhenModalOpens<TTableImportDlg>(this, [&shots](TTableImportDlg& preview) {
            QVERIFY(preview.grab().save(shots + "/conflict-preview.png"));
            preview.reject();
        });
        QCOMPARE(command_->Run(), QString());
    }
};

QTEST_MAIN(UpdateCommandTest)
#include "UpdateCommandTest.moc"
