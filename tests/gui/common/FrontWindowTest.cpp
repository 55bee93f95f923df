#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "gui/common/FrontWindow.h"

using namespace tovarin;

namespace {

// Runs check on the modal box once it is up. The check closes the box as
// the user would; a box a failed check left open is closed after it.
void WhenBoxIsUp(bool& ran, const std::function<void(QMessageBox&)>& check) {
    QTimer::singleShot(0, [&ran, check] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        ran = true;
        check(*box);
        if (box->isVisible()) {
            box->done(-1);
        }
    });
}

}  // namespace

class FrontWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The main window, and an always-on-top tool window the user is in.
    void init() {
        main_ = new QMainWindow;
        main_->setWindowTitle(QStringLiteral("main"));
        main_->show();
        tool_ = new QMainWindow(main_);
        tool_->setWindowFlag(Qt::WindowStaysOnTopHint);
        tool_->show();
        tool_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(tool_));
    }
    void cleanup() { delete main_; }

    void boxesBelongToTheWindowInFront() {
        QCOMPARE(FrontWindow(main_), tool_);
        bool ran = false;
        WhenBoxIsUp(ran, [this](QMessageBox& box) {
            QVERIFY(box.isVisible());
            QTRY_COMPARE(QApplication::activeWindow(), &box);
            QCOMPARE(box.parentWidget(), tool_);
            QVERIFY(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(box.text(), QStringLiteral("第361期开奖号码还没有！"));
            QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
            box.accept();
        });
        // Asked for by the main window, as its commands do.
        RunMessageBox(QMessageBox::Information, main_, QStringLiteral("Tovarin"),
                      QStringLiteral("第361期开奖号码还没有！"), QMessageBox::Ok, QMessageBox::Ok);
        QVERIFY(ran);
    }

    void aBoxOverABoxBelongsToTheBox() {
        bool inner = false;
        bool outer = false;
        WhenBoxIsUp(outer, [&](QMessageBox& first) {
            QCOMPARE(FrontWindow(main_), &first);
            WhenBoxIsUp(inner, [&first](QMessageBox& second) {
                QCOMPARE(second.parentWidget(), &first);
                second.accept();
            });
            RunMessageBox(QMessageBox::Critical, main_, QStringLiteral("t"),
                          QStringLiteral("second"), QMessageBox::Ok, QMessageBox::Ok);
            first.accept();
        });
        RunMessageBox(QMessageBox::Information, main_, QStringLiteral("t"), QStringLiteral("first"),
                      QMessageBox::Ok, QMessageBox::Ok);
        QVERIFY(outer);
        QVERIFY(inner);
    }

    void withoutAnActiveWindowTheGivenOneServes() {
        QWidget child(main_);
        tool_->hide();
        main_->hide();
        QTRY_VERIFY(QApplication::activeWindow() == nullptr);
        QCOMPARE(FrontWindow(&child), main_);
        QCOMPARE(FrontWindow(nullptr), nullptr);
    }

    void questionsOfAWindowThatIsNotOnTopStayPlain() {
        main_->activateWindow();
        tool_->hide();
        QVERIFY(QTest::qWaitForWindowActive(main_));
        bool ran = false;
        WhenBoxIsUp(ran, [this](QMessageBox& box) {
            QCOMPARE(box.parentWidget(), main_);
            QVERIFY(!box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            box.button(QMessageBox::No)->click();
        });
        QCOMPARE(AskYesNoCancel(main_, QStringLiteral("保存提示"),
                                QStringLiteral("保存已经修改的文档?")),
                 TAnswer::No);
        QVERIFY(ran);
    }

    void aBoxOfTheMainWindowStillStaysOverAShownToolWindow() {
        main_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), main_);
        QVERIFY(tool_->isVisible());
        bool ran = false;
        WhenBoxIsUp(ran, [this](QMessageBox& box) {
            QCOMPARE(box.parentWidget(), main_);
            QVERIFY(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            box.accept();
        });
        RunMessageBox(QMessageBox::Information, main_, QStringLiteral("t"), QStringLiteral("x"),
                      QMessageBox::Ok, QMessageBox::Ok);
        QVERIFY(ran);
    }

    void yesNoCancel_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("answer");
        QTest::newRow("是") << 0 << static_cast<int>(TAnswer::Yes);
        QTest::newRow("否") << 1 << static_cast<int>(TAnswer::No);
        QTest::newRow("取消") << 2 << static_cast<int>(TAnswer::Cancel);
        QTest::newRow("Esc") << 3 << static_cast<int>(TAnswer::Cancel);
        QTest::newRow("close button") << 4 << static_cast<int>(TAnswer::Cancel);
    }

    void yesNoCancel() {
        QFETCH(int, how);
        QFETCH(int, answer);
        bool ran = false;
        WhenBoxIsUp(ran, [how](QMessageBox& box) {
            QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("是"));
            QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("否"));
            QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
            QCOMPARE(static_cast<QAbstractButton*>(box.defaultButton()),
                     box.button(QMessageBox::Yes));
            QCOMPARE(box.text(), QStringLiteral("保存已经修改的文档?"));
            QCOMPARE(box.windowTitle(), QStringLiteral("保存提示"));
            switch (how) {
                case 0:
                    box.button(QMessageBox::Yes)->click();
                    break;
                case 1:
                    box.button(QMessageBox::No)->click();
                    break;
                case 2:
                    box.button(QMessageBox::Cancel)->click();
                    break;
                case 3:
                    QTest::keyClick(&box, Qt::Key_Escape);
                    break;
                default:
                    box.close();
                    break;
            }
        });
        const TAnswer got = AskYesNoCancel(main_, QStringLiteral("保存提示"),
                                           QStringLiteral("保存已经修改的文档?"));
        QVERIFY(ran);
        QCOMPARE(static_cast<int>(got), answer);
    }

private:
    QMainWindow* main_ = nullptr;
    QMainWindow* tool_ = nullptr;
};

QTEST_MAIN(FrontWindowTest)
#include "FrontWindowTest.moc"
