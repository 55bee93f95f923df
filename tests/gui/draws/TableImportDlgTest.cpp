#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>

#include "core/base/Codec.h"
#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/draws/TableImport.h"
#include "gui/common/WhenModalOpens.h"
#include "gui/draws/CodeNetGrid.h"
#include "gui/draws/CodesDlg.h"
#include "gui/draws/TableImportDlg.h"
#include "support/Draws.h"

using namespace tovarin;

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// A web site's file, newest first, with a header, a comment, a short line,
// a line without digits and a repeated draw.
const char* const kMixedFile =
    "期号,开奖日期,开奖号码\r\n"
    "; 下载自网站\r\n"
    "2026006,2026-01-12,6666666\r\n"
    "2026005,2026-01-10,5555555\r\n"
    "2026004,2026-01-08,12345\r\n"
    "2026004,2026-01-08,4444444\r\n"
    "2026003,2026-01-06,3333333\r\n"
    "2026003,2026-01-06,3333333\r\n"
    "2026002,2026-01-04,\r\n"
    "合计,5期\r\n";

QStringList ListTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        texts << list.item(i)->text();
    }
    return texts;
}

QString Cell(const QTableView& view, int row, int col) {
    return view.model()->index(row, col).data().toString();
}

}  // namespace

class TableImportDlgTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TCodesForm> form_;

    TCodeNet& Net() { return form_->CodeNet(); }

    template <typename Window>
    void WhenOpen(std::function<void(Window&)> answer) {
        test::WhenModalOpens<Window>(this, std::move(answer));
    }
    void WhenPreviewOpens(std::function<void(TTableImportDlg&)> answer) {
        WhenOpen<TTableImportDlg>(std::move(answer));
    }
    static void Confirm(TTableImportDlg& preview) {
        QVERIFY(preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
        preview.Buttons().button(QDialogButtonBox::Ok)->click();
    }

private slots:
    void init() {
        form_ = std::make_unique<TCodesForm>();
        test::AddDraws(Net(), {"0000000", "1111111", "2222222", "3333333"});
        Net().ClearModified();
    }
    void cleanup() { form_.reset(); }

    void previewShowsDrawsCountAndUnreadableLines() {
        const TTableRead read = ReadDrawTable(kMixedFile);
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QCOMPARE(preview.DrawView().model()->rowCount(), 4);
        // Ascending, with period, date and digits.
        QCOMPARE(Cell(preview.DrawView(), 0, 0), U("2026003"));
        QCOMPARE(Cell(preview.DrawView(), 0, 1), U("2026-01-06"));
        QCOMPARE(Cell(preview.DrawView(), 0, 2), U("3333333"));
        QCOMPARE(Cell(preview.DrawView(), 3, 0), U("2026006"));
        QCOMPARE(Cell(preview.DrawView(), 3, 2), U("6666666"));
        QCOMPARE(preview.findChild<QLabel*>("CountLbl")->text(),
                 U("读到4期开奖号码（第2026003期至第2026006期）"));
        QCOMPARE(preview.findChild<QLabel*>("SkippedLbl")->text(), U("无法读取的行：3行"));
        QCOMPARE(ListTexts(preview.SkippedList()),
                 (QStringList{U("第5行：只有5个数字"), U("第9行：期号后面没有开奖号码"),
                              U("第10行：没有期号")}));
        // The table ends 1111111, 2222222, 3333333 ... but only 3333333
        // is in the file: no run of three, append is refused. Replacing the
        // table waits for the player's own choice: Enter does nothing yet.
        QVERIFY(!preview.AppendRb().isEnabled());
        QVERIFY(!preview.ReplaceRb().isChecked());
        QCOMPARE(preview.OutcomeLabel().text(),
                 U("无法追加：文件里找不到与码表最后3期相同的连续开奖号码，只能替换整个码表。\n"
                   "将用4期替换码表中的4期。要这样做，请选择“替换整个码表”。"));
        QVERIFY(!preview.CanConfirm());
        QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
        preview.show();
        QTest::keyClick(&preview, Qt::Key_Return);
        QVERIFY(preview.isVisible());
        QCOMPARE(preview.result(), 0);
        preview.ReplaceRb().click();
        QVERIFY(preview.OutcomeLabel().text().endsWith(U("将用4期替换码表中的4期。")));
        QVERIFY(preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
        QCOMPARE(preview.Mode(), TImportMode::Replace);
    }

    // Run with TOVARIN_SHOT set: the preview of a file that cannot continue
    // a table of 372 draws.
    void screenshotWhenOnlyReplaceIsPossible() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT names the file for the picture");
        }
        test::AddDraws(Net(), std::vector<std::string>(368, "1234567"));
        std::string file = "期号,开奖日期,开奖号码\n";
        for (int i = 1; i <= 7; ++i) {
            file += "202600" + std::to_string(i) + ",2026-01-0" + std::to_string(i) + "," +
                    std::to_string(1000000 * i + 234567) + "\n";
        }
        file += "2026008,2026-01-08,3 5 x 1 2 9 0\n";
        const TTableRead read = ReadDrawTable(file);
        TTableImportDlg preview(Net(), read, U("开奖数据.csv"));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTest::qWait(100);
        QVERIFY(preview.grab().save(QString::fromLocal8Bit(shot)));
    }

    // A conflict is listed as a line that cannot be read, and counted so.
    void theCountNamesEveryListedLine() {
        const TTableRead read = ReadDrawTable("1,1111111\n1,1111112\n2,22\n");
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QCOMPARE(ListTexts(preview.SkippedList()).size(), 2);
        QCOMPARE(preview.findChild<QLabel*>("SkippedLbl")->text(), U("无法读取的行：2行"));
    }

    void appendIsTheDefaultWhenTheFileContinuesTheTable() {
        const TTableRead read =
            ReadDrawTable("1,1111111\n2,2222222\n3,3333333\n4,4444444\n5,5555555\n");
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QVERIFY(preview.AppendRb().isEnabled());
        QVERIFY(preview.AppendRb().isChecked());
        QCOMPARE(preview.Mode(), TImportMode::Append);
        QCOMPARE(preview.OutcomeLabel().text(), U("将在码表的4期之后追加2期。"));
        QVERIFY(!preview.SkippedList().isVisible());
        QCOMPARE(preview.findChild<QLabel*>("SkippedLbl")->text(), U("没有无法读取的行"));
        preview.ReplaceRb().setChecked(true);
        QCOMPARE(preview.OutcomeLabel().text(), U("将用5期替换码表中的4期。"));
    }

    void replaceIsTheDefaultForAnEmptyTable() {
        Net().Clear();
        const TTableRead read = ReadDrawTable("1,1111111\n");
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QVERIFY(!preview.AppendRb().isEnabled());
        QVERIFY(preview.ReplaceRb().isChecked());
        QCOMPARE(preview.OutcomeLabel().text(), U("码表是空的，将导入1期。"));
    }

    void conflictingLinesCannotBeConfirmed() {
        const TTableRead read = ReadDrawTable("1,1111111\n2,2222222\n2,2222223\n3,3333333\n");
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QVERIFY(!preview.CanConfirm());
        QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
        QCOMPARE(ListTexts(preview.SkippedList()),
                 (QStringList{U("第2行和第3行：第2期的号码不同")}));
        QVERIFY(preview.OutcomeLabel().text().contains(U(ConflictsText().c_str())));
        preview.ReplaceRb().setChecked(true);
        QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
    }

    void aFileWithoutDrawsCannotBeConfirmed() {
        const TTableRead read = ReadDrawTable("期号,开奖号码\n");
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
        QVERIFY(preview.OutcomeLabel().text().contains(U(NoDrawsText().c_str())));
    }

    void aHostileFilesLinesAreCountedPastTheListedOnes() {
        std::string text = "1,1111111\n";
        for (int i = 0; i < 1500; ++i) {
            text += "x\n";
        }
        const TTableRead read = ReadDrawTable(text);
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QCOMPARE(preview.findChild<QLabel*>("SkippedLbl")->text(), U("无法读取的行：1500行"));
        QCOMPARE(preview.SkippedList().count(), 1001);
        QCOMPARE(preview.SkippedList().item(1000)->text(), U("……另有500行未列出"));
    }

    void anAppendPastTheRowBoundCannotBeConfirmed() {
        std::vector<TSeq> rows(kMaxDraws - 1);
        rows.back().SetNum(0, 3);
        Net().Replace(std::move(rows));
        const TTableRead read =
            ReadDrawTable("1,0000000\n2,0000000\n3,3000000\n4,1111111\n5,2222222\n");
        TTableImportDlg preview(Net(), read, U("draws.csv"));
        QCOMPARE(preview.Mode(), TImportMode::Append);
        QVERIFY(!preview.CanConfirm());
        QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
        QCOMPARE(preview.OutcomeLabel().text(),
                 U("码表最多只能有16777216期开奖号码，这样会有16777217期，码表没有改动。"));
        preview.ReplaceRb().setChecked(true);
        QVERIFY(preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
    }

    void confirmedAppendChangesTheTableOnceAndSaysSo() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        int changes = 0;
        const int token = Net().Subscribe([&changes](TNetChange) { ++changes; });
        QSignalSpy imported(form_.get(), &TCodesForm::Reported);
        WhenPreviewOpens(&Confirm);
        const QString text = form_->ImportTable(
            ReadDrawTable("3,3333333\n2,2222222\n1,1111111\n4,4444444\n5,5555555\n"), U("x"));
        Net().Unsubscribe(token);
        // The appended draws bring the file's labels.
        QCOMPARE(text, U("追加了2期，最新一期为5期"));
        QCOMPARE(test::DrawTexts(Net()),
                 (std::vector<std::string>{"0000000", "1111111", "2222222", "3333333", "4444444",
                                           "5555555"}));
        QCOMPARE(changes, 1);
        QVERIFY(Net().Modified());
        QCOMPARE(form_->statusBar()->currentMessage(), text);
        QCOMPARE(imported.count(), 1);
        QCOMPARE(imported.front().front().toString(), text);
        // The cursor waits on the append line, below the newest draw.
        const TNetView& view = form_->Grid().View();
        QCOMPARE(view.CursorTableRow(), 6);
        QCOMPARE(view.CursorCol(), 0);
        QTest::keyClicks(&form_->Grid(), "9876543");
        QCOMPARE(test::DigitsOf(Net(), 6), std::string("9876543"));
    }

    void confirmedReplaceSaysHowManyWereImported() {
        WhenPreviewOpens([](TTableImportDlg& preview) {
            preview.ReplaceRb().setChecked(true);
            Confirm(preview);
        });
        const QString text = form_->ImportTable(ReadDrawTable("8,8888888\n9,9999999\n"), U("x"));
        QCOMPARE(text, U("导入了2期，最新一期为9期"));
        QCOMPARE(test::DrawTexts(Net()), (std::vector<std::string>{"8888888", "9999999"}));
    }

    void missingLabelsAreListedAndNeedConsent() {
        Net().SetLabelDate(3, *TLabel::Parse("26148"), TDrawDate());
        WhenPreviewOpens([](TTableImportDlg& preview) {
            QVERIFY(preview.AppendRb().isChecked());
            QCOMPARE(ListTexts(preview.GapList()),
                     (QStringList{U("缺少第26149期"), U("缺少第26151期")}));
            QVERIFY(preview.AllowGapsChk().isVisible());
            QVERIFY(preview.OutcomeLabel().text().endsWith(U("开奖数据缺少2期，见下面的列表。")));
            QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
            preview.AllowGapsChk().setChecked(true);
            Confirm(preview);
        });
        const QString text =
            form_->ImportTable(ReadDrawTable("期号,开奖日期,号码\n2026150,2026-12-06,5555555\n"
                                             "2026152,2026-12-08,7777777\n"),
                               U("x"));
        QCOMPARE(text, U("追加了2期，最新一期为26152期"));
        QCOMPARE(Net().GetSeq(4).GetDate().Text(), std::string("2026-12-06"));
    }

    void aDrawTheTableHoldsWithOtherDigitsCannotBeAppended() {
        Net().SetLabelDate(3, *TLabel::Parse("2026148"), TDrawDate());
        const TTableRead read = ReadDrawTable("2026148,3333330\n2026149,4444444\n");
        TTableImportDlg preview(Net(), read, U("x"));
        QCOMPARE(ListTexts(preview.GapList()),
                 (QStringList{U("第2026148期：码表里是3333333，文件第1行是3333330")}));
        QVERIFY(!preview.AllowGapsChk().isVisible());
        QVERIFY(!preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
        preview.ReplaceRb().setChecked(true);
        QVERIFY(preview.Buttons().button(QDialogButtonBox::Ok)->isEnabled());
    }

    void cancelledPreviewChangesNothing() {
        QSignalSpy imported(form_.get(), &TCodesForm::Reported);
        WhenPreviewOpens([](TTableImportDlg& preview) { preview.reject(); });
        const QString text = form_->ImportTable(ReadDrawTable("8,8888888\n9,9999999\n"), U("x"));
        QVERIFY(text.isEmpty());
        QCOMPARE(test::DrawTexts(Net()),
                 (std::vector<std::string>{"0000000", "1111111", "2222222", "3333333"}));
        QVERIFY(!Net().Modified());
        QCOMPARE(imported.count(), 0);
    }

    void aHiddenWindowShowsTheNewestDrawWhenOpened() {
        test::AddDraws(Net(), std::vector<std::string>(200, "1234567"));
        WhenPreviewOpens([](TTableImportDlg& preview) {
            preview.ReplaceRb().setChecked(true);
            Confirm(preview);
        });
        std::string text;
        for (int i = 1; i <= 300; ++i) {
            text += std::to_string(i) + ",7654321\n";
        }
        form_->ImportTable(ReadDrawTable(text), U("x"));
        QVERIFY(!form_->isVisible());
        form_->resize(TCodesForm::FixedWidth, 600);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        const TNetView& view = form_->Grid().View();
        QTRY_COMPARE(view.CursorTableRow(), 300);
        QCOMPARE(view.TopRow(), view.ScrollMax());
        QVERIFY(view.CursorRow() < view.VisibleRows() - 1);
    }

    void ctrlVPastesTheClipboardThroughTheReader() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QGuiApplication::clipboard()->setText(
            U("期号\t号码\n1\t1111111\n2\t2222222\n3\t3333333\n4\t4444444\n"));
        WhenPreviewOpens([](TTableImportDlg& preview) {
            QCOMPARE(preview.findChild<QLabel*>("SourceLbl")->text(), U("来源：剪贴板"));
            Confirm(preview);
        });
        QTest::keyClick(&form_->Grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(test::DrawTexts(Net()),
                 (std::vector<std::string>{"0000000", "1111111", "2222222", "3333333", "4444444"}));
        QCOMPARE(form_->statusBar()->currentMessage(), U("追加了1期，最新一期为4期"));
    }

    void importFromAFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("draws.csv");
        WriteFileAtomically(path.toStdString(),
                            Utf8ToGbk("期号,号码\r\n4,4444444\r\n3,3333333\r\n"
                                      "2,2222222\r\n1,1111111\r\n5,5555555\r\n"));
        WhenPreviewOpens([path](TTableImportDlg& preview) {
            QCOMPARE(preview.findChild<QLabel*>("SourceLbl")->text(), U("来源：") + path);
            Confirm(preview);
        });
        QCOMPARE(form_->ImportTableFile(path), U("追加了2期，最新一期为5期"));
        QCOMPARE(Net().Count(), 6);
        QCOMPARE(test::DigitsOf(Net(), 5), std::string("5555555"));
    }

    void theMenuItemAsksForTheFile() {
        QString title;
        WhenOpen<QFileDialog>([&title](QFileDialog& dialog) {
            title = dialog.windowTitle();
            dialog.reject();
        });
        form_->findChild<QAction*>("CodeMenuImportTable")->trigger();
        QCOMPARE(title, U("导入开奖数据"));
        QCOMPARE(form_->TableDialog().objectName(), QString("TableDialog"));
        QCOMPARE(Net().Count(), 4);
        QVERIFY(!Net().Modified());
    }

    // A file that cannot be read is refused before any preview; the table
    // stays as it was.
    void unreadableFileIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath("draws.csv");
        WriteFileAtomically(path.toStdString(), "\xEF\xBB\xBF\xFF\xFF");
        try {
            form_->ImportTableFile(path);
            QFAIL("no refusal");
        } catch (const EImportError& error) {
            QVERIFY(QString::fromUtf8(error.what()).startsWith(U("文件的编码无法识别")));
        }
        QCOMPARE(Net().Count(), 4);
        QVERIFY(!Net().Modified());
    }

    // Run with TOVARIN_SHOT set: the preview of a file with good and bad
    // lines, saved there.
    void screenshotOfThePreview() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT names the file for the picture");
        }
        const TTableRead read = ReadDrawTable(
            std::string(kMixedFile) + "2026007,2026-01-14,7777777\r\n2026008,2026-01-16,1,2,3\r\n");
        Net().Clear();
        test::AddDraws(Net(), {"1111111", "3333333", "4444444", "5555555"});
        TTableImportDlg preview(Net(), read, U("/home/player/下载/七星彩开奖数据.csv"));
        QCOMPARE(preview.Mode(), TImportMode::Append);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTest::qWait(100);
        QVERIFY(preview.grab().save(QString::fromLocal8Bit(shot)));
    }

    // Run with TOVARIN_SHOT_GAP set: the preview of a file that misses
    // periods after the table's last labelled draw, saved there.
    void screenshotOfAGap() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT_GAP");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT_GAP names the file for the picture");
        }
        Net().SetLabelDate(3, *TLabel::Parse("2026147"), *TDrawDate::Parse("2026-12-01"));
        const TTableRead read = ReadDrawTable(
            "期号,开奖日期,开奖号码\r\n2026150,2026-12-06,3581290\r\n2026147,2026-12-01,3333333\r\n"
            "2026151,2026-12-08,0372915\r\n2026153,2026-12-11,9012876\r\n");
        TTableImportDlg preview(Net(), read, U("/home/player/下载/开奖数据.csv"));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTest::qWait(100);
        QVERIFY(preview.grab().save(QString::fromLocal8Bit(shot)));
    }
};

QTEST_MAIN(TableImportDlgTest)
#include "TableImportDlgTest.moc"
