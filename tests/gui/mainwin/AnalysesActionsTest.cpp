// The analysis entries of the project menu on a real main window: their
// keys, the selection they need, the comparison in view order and the red
// marks of the win verification.
#include <QAction>
#include <QColor>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidgetItem>

#include <memory>
#include <set>

#include "core/analyses/Analyses.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/settings/AppOptions.h"
#include "gui/mainwin/AnalysesActions.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "support/Draws.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

const char* const kSelectPrj = "请选择一个方案";

struct TEntryCase {
    const char* Action;
    Qt::Key Key;  // Qt::Key_unknown: the entry has no key
    TAnalysisKind Kind;
    const char* Header;
};

const std::vector<TEntryCase>& Entries() {
    static const std::vector<TEntryCase> entries = {
        {"ProjectMenuDouble", Qt::Key_F2, TAnalysisKind::Double, "Tovarin 重对区分，时间:"},
        {"ProjectMenuSingle", Qt::Key_F3, TAnalysisKind::Single, "Tovarin 单双区分，时间:"},
        {"ProjectMenuHead", Qt::Key_F4, TAnalysisKind::Head, "Tovarin 头数区分，时间:"},
        {"ProjectMenuSmallBig", Qt::Key_F5, TAnalysisKind::SmallBig, "Tovarin 大小区分，时间:"},
        {"ProjectMenuMissStat", Qt::Key_F6, TAnalysisKind::MissStat, "Tovarin 容错统计，时间:"},
        {"ProjectMenuMissView", Qt::Key_F7, TAnalysisKind::MissView, "Tovarin 容错透视，时间:"},
        {"ProjectMenuBaseCode", Qt::Key_unknown, TAnalysisKind::BaseCode,
         "Tovarin 显示基础号码，时间:"},
    };
    return entries;
}

QStringList AfterHeader(const std::vector<std::string>& lines) {
    QStringList text;
    for (size_t i = 1; i < lines.size(); ++i) {
        text << QString::fromStdString(lines[i]);
    }
    return text;
}

// The document positions whose character is painted red.
std::set<int> RedPositions(const QTextDocument& document) {
    std::set<int> red;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            if (piece.charFormat().foreground().color() == QColor(255, 0, 0) &&
                piece.charFormat().hasProperty(QTextFormat::ForegroundBrush)) {
                for (int i = 0; i < piece.length(); ++i) {
                    red.insert(piece.position() + i);
                }
            }
        }
    }
    return red;
}

// Where the marks must be: the four characters of every occurrence.
std::set<int> Occurrences(const QString& text, const char* code) {
    std::set<int> places;
    const std::u16string units = text.toStdU16String();
    for (size_t at : FindWinningCode(std::u16string_view(units), code)) {
        for (int i = 0; i < 4; ++i) {
            places.insert(static_cast<int>(at) + i);
        }
    }
    return places;
}

}  // namespace

class AnalysesActionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = test::MakeMainForm(*dir_, dialogs_);
        form_->LoadDocument(QString::fromStdString(WriteSampleDocument()));
        dialogs_->Messages.clear();
    }
    void cleanup() {
        form_.reset();
        dir_.reset();
    }

    void keysRunTheAnalysesOnTheSelectedProject() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->activateWindow();
        SelectOnly(2);
        Trigger("ProjectMenuCalcAll");
        TSeqPrj& project = form_->PrjMgr().GetSeqPrj(2);
        QCOMPARE(project.ResultCodes().ValidCount(), 30);
        const QFont font = form_->Output().font();
        for (const TEntryCase& entry : Entries()) {
            form_->Output().setPlainText(QStringLiteral("before"));
            QTextCursor end(form_->Output().document());
            end.movePosition(QTextCursor::End);
            form_->Output().setTextCursor(end);
            if (entry.Key != Qt::Key_unknown) {
                QTest::keyClick(form_.get(), entry.Key);
            } else {
                Trigger(entry.Action);
            }
            const std::vector<std::string> lines = form_->Output().Lines();
            QVERIFY2(!lines.empty() && lines.front().rfind(entry.Header, 0) == 0, entry.Action);
            QCOMPARE(AfterHeader(lines),
                     AfterHeader(BuildAnalysis(entry.Kind, project, form_->AppOptions())));
            QCOMPARE(form_->Output().textCursor().position(), 0);
            QVERIFY(!form_->Output().textCursor().hasSelection());
            QCOMPARE(form_->Output().font(), font);
        }
        QVERIFY(dialogs_->Messages.isEmpty());
    }

    void noneOrTwoSelectedAsksForOneProject() {
        for (const QList<int>& selection : {QList<int>{}, QList<int>{0, 1}}) {
            form_->Lists().ProjectView().clearSelection();
            for (int line : selection) {
                form_->Lists().ProjectView().topLevelItem(line)->setSelected(true);
            }
            for (const char* action :
                 {"ProjectMenuDouble", "ProjectMenuSingle", "ProjectMenuHead",
                  "ProjectMenuSmallBig", "ProjectMenuMissStat", "ProjectMenuMissView",
                  "ProjectMenuBaseCode", "ProjectMenuVerify"}) {
                form_->Output().setPlainText(QStringLiteral("unchanged 3xx7"));
                dialogs_->Messages.clear();
                Trigger(action);
                QCOMPARE(dialogs_->Messages, QStringList{QString::fromUtf8(kSelectPrj)});
                QCOMPARE(form_->Output().toPlainText(), QStringLiteral("unchanged 3xx7"));
                QVERIFY(RedPositions(*form_->Output().document()).empty());
            }
        }
    }

    void contrastNeedsTwoLinesAndSaysNothingOtherwise() {
        SelectOnly(0);
        form_->Output().setPlainText(QStringLiteral("unchanged"));
        Trigger("ProjectMenuContrast");
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("unchanged"));
        QVERIFY(dialogs_->Messages.isEmpty());
    }

    // Sorted by target, the view shows projects 1, 3, 2; lines 1 and 2 are
    // compared in that order, and the view's lines keep their texts.
    void contrastFollowsTheViewOrder() {
        emit form_->Lists().ProjectView().header()->sectionClicked(0);
        TPrjListView& view = form_->Lists().ProjectView();
        QCOMPARE(view.ProjectAt(1), &form_->PrjMgr().GetSeqPrj(2));
        view.clearSelection();
        view.topLevelItem(1)->setSelected(true);
        view.topLevelItem(2)->setSelected(true);
        const QString verdict = view.topLevelItem(2)->text(3);
        Trigger("ProjectMenuContrast");
        const QString text = form_->Output().toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("Tovarin 横向比较，时间:")));
        QVERIFY(text.contains(QStringLiteral("\n总共2个方案参与比较\n")));
        QVERIFY(
            text.contains(QStringLiteral("\n方案1目标期号:1期;全部条件2个;勾选条件2个\n"
                                         "方案1的结果码集总共有30个合格号码:\n")));
        QVERIFY(
            text.contains(QStringLiteral("\n方案2目标期号:3期;全部条件1个;勾选条件1个\n"
                                         "方案2的结果码集总共有20个合格号码:\n")));
        QVERIFY(
            text.endsWith(QStringLiteral("所有方案的共同码集总共有20个合格号码:\n"
                                         "2xx0 2xx1 2xx2 2xx3 2xx4 2xx5 2xx6 2xx7 2xx8 2xx9 \n"
                                         "3xx0 3xx1 3xx2 3xx3 3xx4 3xx5 3xx6 3xx7 3xx8 3xx9 \n"
                                         "\n")));
        QCOMPARE(view.topLevelItem(2)->text(3), verdict);
        QCOMPARE(form_->Output().textCursor().position(), 0);
    }

    // A run that fails stops the comparison before anything is written.
    void contrastStopsOnAFailingRun() {
        TSeqPrj& project = form_->PrjMgr().GetSeqPrj(1);
        TBaseBind& bind = project.AddBind(CreateBind(7, project.Options()));
        bind.SetParam("x");
        bind.Checked = true;
        form_->Lists().ProjectView().topLevelItem(0)->setSelected(true);
        form_->Lists().ProjectView().topLevelItem(1)->setSelected(true);
        form_->Output().setPlainText(QStringLiteral("unchanged"));
        Trigger("ProjectMenuContrast");
        QCOMPARE(dialogs_->Errors.size(), 1);
        QCOMPARE(form_->Output().toPlainText(), QStringLiteral("unchanged"));
    }

    // The run verifies by itself; every 3xx7 of the report is red, and
    // nothing else.
    void verificationAfterTheRunMarksEveryOccurrence() {
        SelectOnly(0);
        form_->AppOptions().DetailEveryChk = true;
        form_->AppOptions().ColsOfLineEd = 4;
        Trigger("ProjectMenuCalcAll");
        const QString text = form_->Output().toPlainText();
        QCOMPARE(text.count(QStringLiteral("3xx7")), 2);
        QCOMPARE(RedPositions(*form_->Output().document()), Occurrences(text, "3xx7"));
        QCOMPARE(form_->Output().textCursor().position(), 0);
        QVERIFY(!form_->Output().textCursor().hasSelection());
        QVERIFY(form_->Output().updatesEnabled());
    }

    void noMarksWithoutAutoVerify() {
        SelectOnly(0);
        form_->AppOptions().AutoVerifyChk = false;
        Trigger("ProjectMenuCalcAll");
        QVERIFY(form_->Output().toPlainText().contains(QStringLiteral("3xx7")));
        QVERIFY(RedPositions(*form_->Output().document()).empty());
    }

    // The draw changes under a marked report: the second verification takes
    // the old marks away and paints the new code.
    void aSecondVerificationRemovesEarlierMarks() {
        SelectOnly(0);
        Trigger("ProjectMenuCalcAll");
        const QString text = form_->Output().toPlainText();
        QVERIFY(!RedPositions(*form_->Output().document()).empty());
        form_->CodeNet().SetNum(0, 3, 5);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->activateWindow();
        QTest::keySequence(form_.get(), QKeySequence(QStringLiteral("Ctrl+Q")));
        QCOMPARE(form_->Output().toPlainText(), text);
        QCOMPARE(RedPositions(*form_->Output().document()), Occurrences(text, "3xx5"));
        QVERIFY(!Occurrences(text, "3xx5").empty());
    }

    // Whatever the area holds is verified, letter case ignored.
    void verificationMarksTypedTextCaseInsensitively() {
        SelectOnly(0);
        form_->Output().setPlainText(QStringLiteral("第一行3XX7\n3xX7 3xx73xx7 3x x7"));
        Trigger("ProjectMenuVerify");
        const std::set<int> expected = {3, 4, 5, 6, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 20};
        QCOMPARE(RedPositions(*form_->Output().document()), expected);
    }

    void missingTargetDrawIsReported() {
        SelectOnly(1);
        Trigger("ProjectMenuCalcAll");
        // The verification after a run says it in the status line only.
        QVERIFY(dialogs_->Messages.isEmpty());
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("第3期开奖号码还没有！"));
        const QString report = form_->Output().toPlainText();
        // The command itself keeps its box.
        Trigger("ProjectMenuVerify");
        QCOMPARE(dialogs_->Messages, QStringList{QStringLiteral("第3期开奖号码还没有！")});
        QCOMPARE(form_->Output().toPlainText(), report);
        QVERIFY(RedPositions(*form_->Output().document()).empty());
    }

    // Run with TOVARIN_SHOT set: the window with a marked report, saved there.
    void screenshotOfAMarkedReport() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT names the file for the picture");
        }
        form_->resize(1000, 700);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        SelectOnly(0);
        form_->AppOptions().DetailEveryChk = true;
        Trigger("ProjectMenuCalcAll");
        QTest::qWait(100);
        QVERIFY(form_->grab().save(QString::fromLocal8Bit(shot)));
    }

private:
    // Draws 3 1 5 7 ... (period 1) and 0 0 0 0 ...; project 1 aims at
    // period 1 and keeps heads 2 and 3, project 2 the same heads aiming
    // after the last draw, project 3 aims at period 1 with two tolerance
    // conditions (head 4 clean, heads 2 and 3 one error).
    std::string WriteSampleDocument() const {
        TCodeNet net;
        TPrjMgr projects(net);
        test::AddDraws(net, {"3157246", "0000000"});
        const auto add = [&](int target, std::vector<std::pair<const char*, bool>> heads) {
            TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
            TPrjOptions options = project.Options();
            options.TargetSeq = target;
            options.Large = false;
            options.Middle = false;
            project.SetOptions(options);
            for (const auto& [param, assured] : heads) {
                TBaseBind& bind = project.AddBind(CreateBind(1, project.Options()));
                bind.SetParam(param);
                bind.Assured = assured;
                bind.Checked = true;
            }
        };
        add(1, {{"2,3", true}});
        add(3, {{"2,3", true}});
        add(1, {{"4", false}, {"2,3,4", false}});
        const std::string path = dir_->File("sample.lvrn");
        SaveDocument(path, net, projects);
        return path;
    }

    void SelectOnly(int line) { form_->Lists().ProjectView().SelectOnly(line); }
    void Trigger(const char* action) {
        QAction* entry = form_->findChild<QAction*>(QString::fromLatin1(action));
        QVERIFY2(entry != nullptr, action);
        entry->trigger();
    }

    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;
};

QTEST_MAIN(AnalysesActionsTest)
#include "AnalysesActionsTest.moc"
