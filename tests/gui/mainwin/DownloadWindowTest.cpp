// The download command of the main window and its worker, against the
// reference draw server started on a free loopback port.
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

#include "core/base/Codec.h"
#include "core/download/Download.h"
#include "core/draws/LawNet.h"
#include "core/draws/NetView.h"
#include "gui/draws/CodeNetGrid.h"
#include "gui/draws/CodesDlg.h"
#include "gui/draws/DataDown.h"
#include "gui/mainwin/DownloadActions.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "support/DownloadServer.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const std::vector<std::string> kTypedIn = {"9999999", "8888888"};
const std::vector<std::string> kServed = {"1234567", "0012345", "9080706"};
// Three draws, the server numbering them from 2026001.
const QString kServedText =
    QStringLiteral("下载开奖数据成功！共收到 3 期开奖数据，最新一期是第 2026003 期。");

}  // namespace

class DownloadWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;
    std::string history_;
    int outcomeWaitMs_ = 0;

    TDownloadCommand& Command() const {
        auto* command = form_->findChild<TDownloadCommand*>(QStringLiteral("DownloadCommand"));
        if (command == nullptr) {
            qFatal("the main window has no download command");
        }
        return *command;
    }
    QAction& Action() const {
        return *form_->findChild<QAction*>(QStringLiteral("FileMenuCodesDown"));
    }
    QToolButton& Button() const {
        return *form_->findChild<QToolButton*>(QStringLiteral("FileMenuCodesDownBt"));
    }

    // Starts the download and checks what holds while it runs.
    void Start(const std::string& baseAddress, int waitMs = 0, int timeoutMs = 5000) {
        Command().SetBaseAddress(baseAddress);
        Command().SetWaitMs(waitMs);
        Command().SetTimeoutMs(timeoutMs);
        // The command ends by its own wait and deadline; the test allows that
        // and room for a loaded machine (under Wine a 64 MB answer alone once
        // took 15.5 s), so only a command that never ends fails here.
        outcomeWaitMs_ = waitMs + timeoutMs + 30000;
        Button().click();
        QVERIFY(Command().Running());
        QVERIFY(!Action().isEnabled());
        QVERIFY(!Button().isEnabled());
        QCOMPARE(form_->StatusPanel(0).text(), Q(kDownloadRunningText));
    }

    // Waits for the outcome and checks that the command is back.
    void ExpectOutcome(const QString& message) {
        QTRY_COMPARE_WITH_TIMEOUT(dialogs_->Messages.size(), 1, outcomeWaitMs_);
        QCOMPARE(dialogs_->Messages.front(), message);
        QVERIFY(!Command().Running());
        QVERIFY(Action().isEnabled());
        QVERIFY(Button().isEnabled());
        QCOMPARE(form_->StatusPanel(0).text(), message);
    }

    void ExpectRefused(const QString& messageStart) {
        QTRY_COMPARE_WITH_TIMEOUT(dialogs_->Messages.size(), 1, outcomeWaitMs_);
        QVERIFY2(dialogs_->Messages.front().startsWith(messageStart),
                 qPrintable(dialogs_->Messages.front()));
        ExpectOutcome(dialogs_->Messages.front());
        QCOMPARE(test::DrawTexts(form_->CodeNet()), kTypedIn);
        QVERIFY(!form_->CodeNet().Modified());
    }

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = test::MakeMainForm(*dir_, dialogs_);
        test::AddDraws(form_->CodeNet(), kTypedIn);
        form_->CodeNet().ClearModified();
        dialogs_->Messages.clear();
        history_ = test::WriteTestFile(dir_->File("history.txt"),
                                       Utf8ToGbk(";历史\r\n1234567\r\n0012345\r\n9080706\r\n"));
    }

    void cleanup() {
        if (form_) {
            form_->CodeNet().ClearModified();
            form_->AppInfo().DocModified = false;
        }
        form_.reset();
        dir_.reset();
    }

    void commandWaitsForItsDefaultAddress() {
        QCOMPARE(Action().text(), QStringLiteral("下载数据(&D)..."));
        QCOMPARE(Button().text(), QStringLiteral("下载"));
        QVERIFY(Action().isEnabled());
        QVERIFY(!Command().Running());
        QCOMPARE(Command().BaseAddress(), DefaultDownloadAddress());
    }

    void replacesTheTableAndSaysSo() {
        test::DrawServer server(history_);
        Start(server.BaseAddress());
        ExpectOutcome(kServedText);
        QCOMPARE(test::DrawTexts(form_->CodeNet()), kServed);
        QVERIFY(form_->DocModified());
        QCOMPARE(Command().Records().size(), size_t(3));
        QCOMPARE(Command().Records()[1].period, 2026002);
        QCOMPARE(Command().Records()[1].code, 12345);
    }

    void sendsNameAndPasswordFromTheSettings() {
        test::DrawServer server(history_, {"--user", "会员 一", "--password", "p&mPw=x#y"});
        form_->AppOptions().userName = "会员 一";
        form_->AppOptions().userPW = "p&mPw=x#y";
        Start(server.BaseAddress());
        ExpectOutcome(kServedText);
        QCOMPARE(test::DrawTexts(form_->CodeNet()), kServed);
    }

    void aWrongPasswordIsRefused() {
        test::DrawServer server(history_, {"--user", "u", "--password", "right"});
        form_->AppOptions().userName = "u";
        form_->AppOptions().userPW = "right#";
        Start(server.BaseAddress());
        ExpectRefused(QStringLiteral("下载开奖数据失败：服务器没有返回“成功”：会员名称或密码错误"));
    }

    void serverDown() {
        Start("http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/draws");
        ExpectRefused(QStringLiteral("下载开奖数据失败：无法连接服务器"));
    }

    void statusLineWithoutSuccess() {
        test::DrawServer server(history_, {"--status", "暂停服务"});
        Start(server.BaseAddress());
        ExpectRefused(QStringLiteral("下载开奖数据失败：服务器没有返回“成功”：暂停服务"));
    }

    void httpErrorStatus() {
        test::DrawServer server(history_, {"--http-status", "500"});
        Start(server.BaseAddress());
        ExpectRefused(QStringLiteral("下载开奖数据失败：服务器应答错误（HTTP 500）"));
    }

    void malformedLines_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("reason");
        QTest::newRow("two fields") << "成功\r\n2026001#a#9279658\r\n2026002#7226084\r\n"
                                    << "第3行不足三项";
        QTest::newRow("six digits") << "成功\r\n2026001#a#9279658\r\n2026002#b#722608\r\n"
                                    << "第2行有误";
        QTest::newRow("letter in code") << "成功\r\n2026001#a#927965x\r\n"
                                        << "第1行有误";
        QTest::newRow("letter in period") << "成功\r\n2O26001#a#9279658\r\n"
                                          << "第1行有误";
    }
    void malformedLines() {
        QFETCH(QString, body);
        QFETCH(QString, reason);
        test::DrawServer server(
            test::WriteTestFile(dir_->File("raw.txt"), Utf8ToGbk(body.toStdString())), {"--raw"});
        Start(server.BaseAddress());
        ExpectRefused(QStringLiteral("下载开奖数据失败：") + reason);
    }

    void emptyHistoryKeepsTheTable() {
        test::DrawServer server(test::WriteTestFile(dir_->File("empty.txt"), ";\r\n"));
        Start(server.BaseAddress());
        ExpectRefused(Q(kNoDrawsText));
    }

    void slowServerTimesOut() {
        test::DrawServer server(history_, {"--delay", "3"});
        QElapsedTimer clock;
        clock.start();
        Start(server.BaseAddress(), 0, 300);
        ExpectRefused(QStringLiteral("下载开奖数据失败：服务器应答超时"));
        QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
    }

    void anAnswerThatNeverEndsIsAbandoned() {
        test::DrawServer server(history_, {"--endless"});
        Start(server.BaseAddress(), 0, 60000);
        ExpectRefused(QStringLiteral("下载开奖数据失败：服务器应答错误（应答超过 64 MB）"));
    }

    void aTricklingServerIsAbandonedAtTheDeadline() {
        test::DrawServer server(history_, {"--trickle", "0.2"});
        QElapsedTimer clock;
        clock.start();
        Start(server.BaseAddress(), 0, 1500);
        ExpectRefused(QStringLiteral("下载开奖数据失败：服务器应答超时（超过 2 秒仍未完成）"));
        QVERIFY2(clock.elapsed() < 4000, "one deadline for the whole transfer");
    }

    void theCommandWorksAgainAfterAFailure() {
        Start("http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/draws");
        ExpectRefused(QStringLiteral("下载开奖数据失败："));
        dialogs_->Messages.clear();
        test::DrawServer server(history_);
        Start(server.BaseAddress());
        ExpectOutcome(kServedText);
        QCOMPARE(test::DrawTexts(form_->CodeNet()), kServed);
    }

    void theWindowStaysResponsive() {
        // A wait and a slow answer: the event loop must keep turning.
        test::DrawServer server(history_, {"--delay", "0.5"});
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(20);
        Start(server.BaseAddress(), 500);
        // A second click while it runs starts nothing.
        Action().trigger();
        ExpectOutcome(kServedText);
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
    }

    void theRunningTextOutlastsAHint() {
        test::DrawServer server(history_);
        Start(server.BaseAddress(), 400);
        QStatusTipEvent hint(QStringLiteral("数据编辑"));
        QCoreApplication::sendEvent(form_.get(), &hint);
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("数据编辑"));
        QStatusTipEvent gone{QString()};
        QCoreApplication::sendEvent(form_.get(), &gone);
        QCOMPARE(form_->StatusPanel(0).text(), Q(kDownloadRunningText));
        ExpectOutcome(kServedText);
    }

    void aVisibleEditorShowsTheNewestDrawWithTheCursorBelowIt() {
        std::string lines;
        for (int n = 0; n < 300; ++n) {
            lines += std::to_string(1000000 + n) + "\r\n";
        }
        test::DrawServer server(test::WriteTestFile(dir_->File("long.txt"), lines));
        TCodeNetGrid& grid = form_->CodesForm().Grid();
        form_->CodesForm().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form_->CodesForm()));
        Start(server.BaseAddress());
        ExpectOutcome(Q(DownloadDoneText(300, 2026300)));
        QCOMPARE(form_->CodeNet().Count(), 300);
        QTRY_COMPARE(grid.View().CursorTableRow(), 300);
        QCOMPARE(grid.View().CursorCol(), 0);
        QCOMPARE(grid.View().TopRow(), grid.View().ScrollMax());
    }

    void aHiddenEditorShowsTheNewestDrawWhenOpened() {
        std::string lines;
        for (int n = 0; n < 300; ++n) {
            lines += std::to_string(1000000 + n) + "\r\n";
        }
        test::DrawServer server(test::WriteTestFile(dir_->File("long.txt"), lines));
        Start(server.BaseAddress());
        ExpectOutcome(Q(DownloadDoneText(300, 2026300)));
        QTest::qWait(50);
        const TNetView& view = form_->CodesForm().Grid().View();
        QCOMPARE(view.TopRow(), 0);
        form_->CodesForm().show();
        QVERIFY(QTest::qWaitForWindowExposed(&form_->CodesForm()));
        QTRY_COMPARE(view.CursorTableRow(), 300);
        QCOMPARE(view.TopRow(), view.ScrollMax());
    }

    void closingDuringTheWaitDoesNotHang() {
        Start("http://127.0.0.1:1/draws", 10000);
        QElapsedTimer clock;
        clock.start();
        form_.reset();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    void workerWaitsFourToEightSecondsByDefault() {
        test::DrawServer server(history_);
        QObject receiver;
        auto* worker = new TDataDown(server.BaseAddress(), &receiver);
        QElapsedTimer clock;
        clock.start();
        qint64 deliveredAfter = -1;
        worker->OnDownloaded = [&](const std::vector<std::string>&) {
            deliveredAfter = clock.elapsed();
        };
        worker->OnFailed = [](const std::string& reason) { QFAIL(reason.c_str()); };
        QPointer<TDataDown> watch(worker);
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(watch.isNull(), 12000);
        QVERIFY2(deliveredAfter >= 4000 && deliveredAfter < 9500,
                 qPrintable(QString::number(deliveredAfter)));
    }

    void workerSleepsThenDeliversOnTheUserInterfaceThread() {
        test::DrawServer server(history_);
        QObject receiver;
        auto* worker = new TDataDown(server.BaseAddress(), &receiver, 600, 5000);
        QElapsedTimer clock;
        clock.start();
        std::vector<std::string> lines;
        bool onUiThread = false;
        bool workerWaiting = false;
        qint64 deliveredAfter = -1;
        worker->OnDownloaded = [&](const std::vector<std::string>& received) {
            lines = received;
            onUiThread = QThread::currentThread() == receiver.thread();
            workerWaiting = worker->isRunning();
            deliveredAfter = clock.elapsed();
        };
        worker->OnFailed = [](const std::string& reason) { QFAIL(reason.c_str()); };
        QPointer<TDataDown> watch(worker);
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(watch.isNull(), 10000);  // it freed itself
        QCOMPARE(lines, (std::vector<std::string>{"2026001#9279658", "2026002#7226084",
                                                  "2026003#5463093"}));
        QVERIFY(onUiThread);
        QVERIFY(workerWaiting);
        QVERIFY2(deliveredAfter >= 600, qPrintable(QString::number(deliveredAfter)));
    }
};

QTEST_MAIN(DownloadWindowTest)
#include "DownloadWindowTest.moc"
