#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "core/base/FileIO.h"
#include "core/sources/SourceList.h"
#include "gui/sources/SourcesDlg.h"
#include "support/AnswerServer.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

template <typename T>
T* Find(const QObject& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("no control named %s", name);
    }
    return widget;
}

QStringList Items(const QListWidget& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        items << list.item(i)->text();
    }
    return items;
}

std::vector<TDrawSource> TwoSources() {
    return {{"甲", "http://127.0.0.1:1/a.txt", TSourceFormat::Table, true, {}},
            {"乙", "https://example.com/kj?page=1", TSourceFormat::Json, false, {"Referer: x"}}};
}

}  // namespace

class SourcesDlgTest : public QObject {
    Q_OBJECT

private slots:
    void EditsACopyAndSavesItOnOk() {
        test::TempDir dir;
        const std::string path = SourcesFilePath(dir.Path());
        TSourcesDlg dialog(TwoSources(), path, TGame::Seven);
        auto* list = Find<QListWidget>(dialog, "sourceList");
        QCOMPARE(Items(*list), (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);

        list->setCurrentRow(1);
        QCOMPARE(Find<QLineEdit>(dialog, "urlEdit")->text(),
                 QStringLiteral("https://example.com/kj?page=1"));
        QCOMPARE(Find<QComboBox>(dialog, "formatCombo")->currentText(), QStringLiteral("JSON"));
        Find<QLineEdit>(dialog, "nameEdit")->setText(QStringLiteral("乙二"));
        Find<QCheckBox>(dialog, "enabledCheck")->setChecked(true);
        Find<QPlainTextEdit>(dialog, "headersEdit")
            ->setPlainText(QStringLiteral("Referer: x\n\n  User-Agent: y  \n"));
        Find<QPushButton>(dialog, "upButton")->click();
        Find<QPushButton>(dialog, "addButton")->click();
        Find<QLineEdit>(dialog, "urlEdit")->setText(QStringLiteral("http://h/x.html"));
        Find<QComboBox>(dialog, "formatCombo")->setCurrentIndex(3);
        list->setCurrentRow(1);
        Find<QPushButton>(dialog, "removeButton")->click();
        QCOMPARE(Items(*list), (QStringList{QStringLiteral("乙二"), QStringLiteral("数据源3")}));
        QVERIFY(!FileExists(path));

        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::vector<TDrawSource> saved = LoadSources(path);
        const std::vector<TDrawSource> expected = {
            {"乙二",
             "https://example.com/kj?page=1",
             TSourceFormat::Json,
             true,
             {"Referer: x", "User-Agent: y"}},
            {"数据源3", "http://h/x.html", TSourceFormat::Html, true, {}}};
        QVERIFY(saved == expected);
    }

    void AListWithAProblemStaysOpenAndUnsaved() {
        test::TempDir dir;
        const std::string path = SourcesFilePath(dir.Path());
        SaveSources(path, TwoSources());
        TSourcesDlg dialog(TwoSources(), path, TGame::Seven);
        dialog.show();
        Find<QLineEdit>(dialog, "nameEdit")->setText(QStringLiteral(" "));
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(Find<QLabel>(dialog, "problemLabel")->text(),
                 QStringLiteral("第1个数据源：名称不能为空"));
        QVERIFY(LoadSources(path) == TwoSources());
    }

    void TryReadsTheSourceInHandAndChangesNothing() {
        test::TempDir dir;
        test::WriteTestFile(dir.File("h.txt"),
                            "2026150 2026-12-06 3 5 8 1 2 9 0\r\nbad 12\r\n"
                            "2026149 2026-12-04 1 2 3 4 5 6 7\r\n");
        test::WriteTestFile(dir.File("q.txt"), "2026150 1 2 3 4 5 6 14\r\n");
        test::WriteTestFile(dir.File("routes.json"), R"({"/h.txt": {"file": "h.txt"},
            "/q.txt": {"file": "q.txt"}, "/slow": {"trickle": true}})");
        const test::AnswerServer server(dir.Path());
        const std::string path = dir.File("sources.json");
        TSourcesDlg dialog(TwoSources(), path, TGame::Seven);
        auto* url = Find<QLineEdit>(dialog, "urlEdit");
        auto* tryButton = Find<QPushButton>(dialog, "tryButton");
        auto* summary = Find<QLabel>(dialog, "trySummary");
        url->setText(QString::fromStdString(server.Url("/h.txt")));
        tryButton->click();
        QTRY_COMPARE(summary->text(),
                     QStringLiteral("读到2期（第2026149期 2026-12-04 至 第2026150期 2026-12-06），"
                                    "共1页，1行无法读取"));
        QCOMPARE(Items(*Find<QListWidget>(dialog, "tryReasons")),
                 QStringList{QStringLiteral("第2行：期号后面没有开奖号码")});
        QVERIFY(tryButton->isEnabled());
        QVERIFY(!FileExists(path));

        url->setText(QString::fromStdString(server.Url("/slow")));
        tryButton->click();
        QVERIFY(!tryButton->isEnabled());
        QVERIFY(Find<QProgressBar>(dialog, "tryProgress")->isVisibleTo(&dialog));
        Find<QPushButton>(dialog, "cancelTryButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(summary->text(), QStringLiteral("无法读取：已取消"), 5000);
        QVERIFY(!Find<QProgressBar>(dialog, "tryProgress")->isVisibleTo(&dialog));

        url->setText(QStringLiteral("ftp://x/"));
        tryButton->click();
        QCOMPARE(summary->text(),
                 QStringLiteral("无法读取：地址有误（应以 http:// 或 https:// 开头）：ftp://x/"));

        // The trial reads the numbers of the document's game.
        TSourcesDlg qxc(TwoSources(), path, TGame::Qxc);
        Find<QLineEdit>(qxc, "urlEdit")->setText(QString::fromStdString(server.Url("/q.txt")));
        Find<QPushButton>(qxc, "tryButton")->click();
        QTRY_COMPARE(Find<QLabel>(qxc, "trySummary")->text(),
                     QStringLiteral("读到1期（第2026150期 至 第2026150期），共1页"));
    }

    void ABadFileIsToldAndNothingOpens() {
        test::TempDir dir;
        const std::string path = dir.File("sources.json");
        test::WriteTestFile(path, "{");
        QString told;
        QTimer::singleShot(0, [&told] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                told = box->text();
                box->accept();
            }
        });
        QVERIFY(!EditSources(path, TGame::Seven, nullptr));
        QCOMPARE(told, QStringLiteral("数据源文件有误（%1）：JSON有误（第2字节）")
                           .arg(QString::fromStdString(path)));
        QCOMPARE(QString::fromStdString(ReadWholeFile(path)), QStringLiteral("{"));
    }
};

QTEST_MAIN(SourcesDlgTest)
#include "SourcesDlgTest.moc"
