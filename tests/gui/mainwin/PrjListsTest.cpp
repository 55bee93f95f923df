// The project and condition lists on their own: they follow the project list
// of the document through its notifications, fill a large list in one batch
// and report the user's clicks without changing the document themselves.
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidgetItem>
#include <QWidget>

#include <memory>

#include "core/draws/LawNet.h"
#include "core/engine/Bind.h"
#include "core/engine/Prj.h"
#include "core/settings/AppOptions.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"

using namespace tovarin;

namespace {

std::unique_ptr<TSeqPrj> ProjectFor(TCodeNet& net, int target, int conditions) {
    auto project = std::make_unique<TSeqPrj>(net);
    TPrjOptions options = project->Options();
    options.TargetSeq = target;
    project->SetOptions(options);
    for (int i = 0; i < conditions; ++i) {
        TBaseBind& bind = project->AddBind(CreateBind(1 + i % kBindKindCount, project->Options()));
        bind.SetParam(std::to_string(i % 10));
        bind.Checked = i % 2 == 0;
    }
    return project;
}

}  // namespace

class PrjListsTest : public QObject {
    Q_OBJECT

private:
    TCodeNet net_;
    std::unique_ptr<TPrjMgr> projects_;
    std::unique_ptr<QWidget> owner_;
    TPrjLists* lists_ = nullptr;

    QString Cell(int line, int column) const {
        return lists_->ProjectView().topLevelItem(line)->text(column);
    }
    QListWidget& Conditions() const { return lists_->ConditionView(); }

private slots:
    void init() {
        projects_ = std::make_unique<TPrjMgr>(net_);
        owner_ = std::make_unique<QWidget>();
        lists_ = new TPrjLists(*projects_, *owner_);
    }

    void cleanup() {
        owner_.reset();
        projects_.reset();
    }

    void startsWithTheProjectsAlreadyThere() {
        owner_.reset();
        projects_->AddPrj(ProjectFor(net_, 7, 2));
        owner_ = std::make_unique<QWidget>();
        lists_ = new TPrjLists(*projects_, *owner_);
        QCOMPARE(lists_->ProjectView().LineCount(), 1);
        QCOMPARE(Cell(0, 0), QStringLiteral("7"));
        QCOMPARE(Cell(0, 1), QStringLiteral("1/2"));
    }

    void addedProjectsAppendALineEach() {
        projects_->AddPrj(ProjectFor(net_, 12, 3));
        projects_->AddPrj(ProjectFor(net_, 5, 0));
        QCOMPARE(lists_->ProjectView().LineCount(), 2);
        QCOMPARE(Cell(0, 0), QStringLiteral("12"));
        QCOMPARE(Cell(0, 1), QStringLiteral("2/3"));
        QCOMPARE(Cell(0, 2), QStringLiteral("1"));  // the default tolerance
        QCOMPARE(Cell(0, 3), QStringLiteral("  "));
        QCOMPARE(Cell(1, 0), QStringLiteral("5"));
        QCOMPARE(Cell(1, 1), QStringLiteral("0/0"));
        QVERIFY2(lists_->SelectedPrj() == nullptr, "nothing is selected by itself");
        QCOMPARE(Conditions().count(), 0);
    }

    void selectingAProjectShowsItsConditions() {
        projects_->AddPrj(ProjectFor(net_, 1, 0));
        TSeqPrj& second = projects_->AddPrj(ProjectFor(net_, 2, 3));
        QSignalSpy selected(lists_, &TPrjLists::ProjectSelectionChanged);
        lists_->SelectOnlyLine(1);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(lists_->SelectedPrj(), &second);
        QCOMPARE(Conditions().count(), 3);
        QCOMPARE(Conditions().item(0)->text(), QString::fromStdString(second.GetBind(0).GetText()));
        QCOMPARE(Conditions().item(0)->checkState(), Qt::Checked);
        QCOMPARE(Conditions().item(1)->checkState(), Qt::Unchecked);
        // Two lines selected: no single project.
        lists_->ProjectView().topLevelItem(0)->setSelected(true);
        QVERIFY(lists_->SelectedPrj() == nullptr);
        QCOMPARE(lists_->SelectedPrjs().size(), size_t(2));
        QCOMPARE(Conditions().count(), 0);
    }

    void editsOfTheSelectedProjectReachBothLists() {
        TSeqPrj& project = projects_->AddPrj(ProjectFor(net_, 3, 3));
        lists_->SelectOnlyLine(0);
        lists_->SelectBindLine(2);
        project.SetChecked(1, true);
        QCOMPARE(Cell(0, 1), QStringLiteral("3/3"));
        QCOMPARE(Conditions().item(1)->checkState(), Qt::Checked);
        QCOMPARE(lists_->SelectedBindIndex(), 2);  // an edit in place keeps the selection
        project.ExChange(0, 2);
        QCOMPARE(Conditions().item(0)->text(),
                 QString::fromStdString(project.GetBind(0).GetText()));
        QCOMPARE(Conditions().item(2)->text(),
                 QString::fromStdString(project.GetBind(2).GetText()));
        project.Del(0);
        QCOMPARE(Conditions().count(), 2);
        QCOMPARE(Cell(0, 1), QStringLiteral("2/2"));
        TPrjOptions options = project.Options();
        options.MissMax = 4;
        options.TargetSeq = 99;
        project.SetOptions(options);
        QCOMPARE(Cell(0, 0), QStringLiteral("99"));
        QCOMPARE(Cell(0, 2), QStringLiteral("4"));
        project.ClearBinds();
        QCOMPARE(Conditions().count(), 0);
        QCOMPARE(Cell(0, 1), QStringLiteral("0/0"));
    }

    void editsOfAnotherProjectLeaveTheConditionListAlone() {
        TSeqPrj& first = projects_->AddPrj(ProjectFor(net_, 1, 2));
        TSeqPrj& second = projects_->AddPrj(ProjectFor(net_, 2, 1));
        lists_->SelectOnlyLine(0);
        second.AddBind(CreateBind(3, second.Options()));
        QCOMPARE(Cell(1, 1), QStringLiteral("1/2"));
        QCOMPARE(Conditions().count(), first.BindCount());
    }

    void removedProjectsLoseTheirLines() {
        projects_->AddPrj(ProjectFor(net_, 1, 0));
        projects_->AddPrj(ProjectFor(net_, 2, 2));
        projects_->AddPrj(ProjectFor(net_, 3, 0));
        lists_->SelectOnlyLine(1);
        projects_->Del(1);
        QCOMPARE(lists_->ProjectView().LineCount(), 2);
        QCOMPARE(Cell(0, 0), QStringLiteral("1"));
        QCOMPARE(Cell(1, 0), QStringLiteral("3"));
        QCOMPARE(Conditions().count(), 0);  // the freed project's conditions are gone
        QCOMPARE(lists_->LineOf(projects_->GetSeqPrj(1)), 1);
        projects_->ClearPrjs();
        QCOMPARE(lists_->ProjectView().LineCount(), 0);
    }

    void aRunShowsItsVerdict() {
        net_.Add();
        TSeqPrj& project = projects_->AddPrj(ProjectFor(net_, 1, 0));
        TAppOptions settings;
        project.CalcAll(settings, nullptr);
        QCOMPARE(Cell(0, 3), QString::fromUtf8(VerifyStateTexts.at(project.VerifyState())));
        QVERIFY(project.VerifyState() != TSeqPrj::kNoVerdict);
    }

    void clickingABoxIsReportedNotApplied() {
        TSeqPrj& project = projects_->AddPrj(ProjectFor(net_, 1, 2));
        lists_->SelectOnlyLine(0);
        QSignalSpy clicked(lists_, &TPrjLists::ConditionBoxClicked);
        Conditions().item(1)->setCheckState(Qt::Checked);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 1);
        QCOMPARE(clicked.at(0).at(1).toBool(), true);
        QVERIFY2(!project.GetBind(1).Checked, "the document changes only through a command");
        // A new text with the same box is not a click.
        Conditions().item(0)->setText(QStringLiteral("other"));
        QCOMPARE(clicked.count(), 1);
    }

    void sortingMovesOnlyTheView() {
        for (int target : {9, 100, 10}) {
            projects_->AddPrj(ProjectFor(net_, target, 0));
        }
        lists_->SelectOnlyLine(0);
        lists_->SortByColumn(0);
        QCOMPARE(Cell(0, 0), QStringLiteral("10"));
        QCOMPARE(Cell(2, 0), QStringLiteral("9"));
        QCOMPARE(lists_->SelectedPrj(), &projects_->GetSeqPrj(0));  // the selection follows
        QCOMPARE(lists_->LineOf(projects_->GetSeqPrj(0)), 2);
        // An edit after sorting finds the project's line.
        TSeqPrj& nine = projects_->GetSeqPrj(0);
        nine.AddBind(CreateBind(1, nine.Options()));
        QCOMPARE(Cell(2, 1), QStringLiteral("0/1"));
    }

    // A document of many projects fills in one batch: every line in the
    // list's order with its own project's texts, the condition list built
    // once for the selected project only.
    void aLargeListFillsCorrectly() {
        constexpr int kCount = 20000;
        std::vector<std::unique_ptr<TSeqPrj>> read;
        for (int i = 0; i < kCount; ++i) {
            read.push_back(ProjectFor(net_, i + 1, i % 4));
        }
        projects_->AddPrj(ProjectFor(net_, 5, 1));
        lists_->SelectOnlyLine(0);
        QSignalSpy selected(lists_, &TPrjLists::ProjectSelectionChanged);
        projects_->ReplacePrjs(std::move(read));
        QCOMPARE(lists_->ProjectView().LineCount(), kCount);
        QCOMPARE(selected.count(), 0);  // the fill is silent
        QCOMPARE(Conditions().count(), 0);
        for (int line : {0, 1, 2, 3, kCount / 2 + 1, kCount - 1}) {
            const TSeqPrj& project = projects_->GetSeqPrj(line);
            QCOMPARE(lists_->ProjectView().ProjectAt(line), &project);
            QCOMPARE(Cell(line, 0), QString::number(line + 1));
            QCOMPARE(Cell(line, 1),
                     QStringLiteral("%1/%2").arg(project.CheckedCount()).arg(project.BindCount()));
            QCOMPARE(lists_->LineOf(project), line);
        }
        lists_->SelectOnlyLine(kCount - 1);
        QCOMPARE(Conditions().count(), 3);
        // A second fill replaces every line instead of adding to them.
        std::vector<std::unique_ptr<TSeqPrj>> again;
        again.push_back(ProjectFor(net_, 42, 0));
        projects_->ReplacePrjs(std::move(again));
        QCOMPARE(lists_->ProjectView().LineCount(), 1);
        QCOMPARE(Cell(0, 0), QStringLiteral("42"));
        QCOMPARE(Conditions().count(), 0);
    }

    void listsGoneBeforeTheDocumentHearNothing() {
        owner_.reset();
        projects_->AddPrj(ProjectFor(net_, 1, 1));
        QCOMPARE(projects_->PrjCount(), 1);
    }
};

QTEST_MAIN(PrjListsTest)
#include "PrjListsTest.moc"
