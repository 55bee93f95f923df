#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/dialogs/DialogLayoutCheck.h"

using namespace tovarin;

namespace {

QList<int> SelectedRows(const QListWidget& list) {
    QList<int> rows;
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->isSelected()) {
            rows << i;
        }
    }
    return rows;
}

QStringList Lines(const QListWidget& list) {
    QStringList lines;
    for (int i = 0; i < list.count(); ++i) {
        lines << list.item(i)->text();
    }
    return lines;
}

}  // namespace

class BindAttFormTest : public QObject {
    Q_OBJECT

private:
    // Every case starts from a fresh dialog, as the main window makes it.
    TPrjOptions context_;
    std::unique_ptr<TBindAttForm> form_;
    int applied_ = 0;

    template <typename T>
    T* Find(const QString& name) const {
        return test::FindControl<T>(*form_, name);
    }
    QListWidget* List(int kind) const {
        return Find<QListWidget>(QStringLiteral("s%1Lbx").arg(kind));
    }
    QPushButton* Button(const QString& name) const { return Find<QPushButton>(name); }
    QStackedWidget* Pages() const { return Find<QStackedWidget>(QStringLiteral("PageControl")); }
    QComboBox* Kinds() const { return Find<QComboBox>(QStringLiteral("TypeIndexCbb")); }
    QLineEdit* Edit1() const { return Find<QLineEdit>(QStringLiteral("s9Ed1")); }
    QLineEdit* Edit2() const { return Find<QLineEdit>(QStringLiteral("S9Ed2")); }
    QCheckBox* Assured() const { return Find<QCheckBox>(QStringLiteral("IsAssureChk")); }
    QWidget* Logic() const { return Find<QWidget>(QStringLiteral("LogicPanel")); }
    QRadioButton* AllRadio() const { return Find<QRadioButton>(QStringLiteral("InterLogiclRd1")); }
    QRadioButton* AnyRadio() const { return Find<QRadioButton>(QStringLiteral("InterLogiclRd2")); }

    std::unique_ptr<TBaseBind> MakeBind(int kind, const char* param, bool assured = false,
                                        bool allMatch = false) const {
        auto bind = CreateBind(kind, context_);
        bind->SetParam(param);
        bind->Assured = assured;
        bind->AllMatch = allMatch;
        return bind;
    }

    void ClickItem(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect rect = list->visualItemRect(list->item(row));
        QVERIFY2(list->viewport()->rect().contains(rect.center()), "item out of view");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    void PickKind(int index) {
        // What choosing an item in the drop-down list amounts to.
        Kinds()->setCurrentIndex(index);
        emit Kinds()->activated(index);
    }

    void Apply() { QTest::mouseClick(Button(QStringLiteral("ApplyBt")), Qt::LeftButton); }
    std::string AppliedParam() const { return form_->WorkBind()->Param(); }

private slots:
    void init() {
        context_ = TPrjOptions{};
        form_ = std::make_unique<TBindAttForm>(nullptr, context_);
        applied_ = 0;
        form_->OnApply = [this](TBindAttForm& sender) {
            QCOMPARE(&sender, form_.get());
            ++applied_;
        };
    }
    void cleanup() { form_.reset(); }

    void captionsAndNames() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("筛码条件"));
        QCOMPARE(Find<QLabel>(QStringLiteral("TypeIndexLbl"))->text(),
                 QStringLiteral("条件类型："));
        QCOMPARE(Find<QGroupBox>(QStringLiteral("BindGbx"))->title(), QStringLiteral("条件设置"));
        QCOMPARE(Assured()->text(), QStringLiteral("设为铁定条件"));
        QCOMPARE(AllRadio()->text(), QStringLiteral("满足全部条款"));
        QCOMPARE(AnyRadio()->text(), QStringLiteral("满足任一条款"));
        QVERIFY(AnyRadio()->isChecked());
        QVERIFY(!AllRadio()->isChecked());
        QCOMPARE(Button(QStringLiteral("ApplyBt"))->text(), QStringLiteral("应用"));
        QCOMPARE(Button(QStringLiteral("CloseBt"))->text(), QStringLiteral("关闭"));
        QVERIFY(Button(QStringLiteral("ApplyBt"))->isDefault());
        QCOMPARE(Find<QLabel>(QStringLiteral("s9AndLbl"))->text(), QStringLiteral("与"));
        QCOMPARE(Find<QLabel>(QStringLiteral("s9MatchLbl"))->text(), QStringLiteral("相配"));
        QCOMPARE(Button(QStringLiteral("s9AddBt"))->text(), QStringLiteral("增加"));
        QCOMPARE(Button(QStringLiteral("s9DelBt"))->text(), QStringLiteral("删除"));
        QCOMPARE(Button(QStringLiteral("s9ClearBt"))->text(), QStringLiteral("清空"));
        for (int kind = 1; kind <= 8; ++kind) {
            QCOMPARE(Button(QStringLiteral("s%1AllBt").arg(kind))->text(), QStringLiteral("全选"));
            QCOMPARE(Button(QStringLiteral("s%1InvertBt").arg(kind))->text(),
                     QStringLiteral("反选"));
            QCOMPARE(Button(QStringLiteral("s%1ClearBt").arg(kind))->text(),
                     QStringLiteral("清空"));
        }
        QCOMPARE(Edit1()->text(), QStringLiteral("123"));
        QCOMPARE(Edit2()->text(), QStringLiteral("568"));
        QCOMPARE(Edit1()->maxLength(), 9);
        QCOMPARE(Edit2()->maxLength(), 9);
        QVERIFY(!form_->isModal());
        QVERIFY(form_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->WorkBind(), nullptr);
        QVERIFY(form_->font().families().contains(QStringLiteral("SimSun")));
    }

    void kindSelectorHoldsTheNineNamesInKindOrder() {
        const QStringList names{"稳上头", "不上头", "稳上尾", "不上尾", "头尾数",
                                "排除数", "头尾合", "排除合", "稳搭配"};
        QCOMPARE(Kinds()->count(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(Kinds()->itemText(i), names[i]);
        }
        QVERIFY(!Kinds()->isEditable());
    }

    void pagesAndListItems() {
        QCOMPARE(Pages()->count(), 10);
        for (int page = 0; page < 10; ++page) {
            QCOMPARE(Pages()->widget(page)->objectName(), QStringLiteral("s%1").arg(page));
        }
        for (int kind = 1; kind <= 8; ++kind) {
            const int items = kind <= 6 ? 10 : 19;
            QListWidget* list = List(kind);
            QCOMPARE(list->parentWidget(), Pages()->widget(kind));
            QCOMPARE(list->count(), items);
            for (int i = 0; i < items; ++i) {
                QCOMPARE(list->item(i)->text(), QString::number(i));
            }
            QCOMPARE(list->selectionMode(), QAbstractItemView::MultiSelection);
        }
        QCOMPARE(List(9)->selectionMode(), QAbstractItemView::MultiSelection);
    }

    void sumListsShowThreeColumns() {
        auto bind = MakeBind(7, "");
        form_->ShowBind(bind.get());
        QListWidget* list = List(7);
        QSet<int> columns;
        for (int i = 0; i < list->count(); ++i) {
            columns.insert(list->visualItemRect(list->item(i)).left());
        }
        QCOMPARE(columns.size(), 3);
        // Filled top to bottom: 0 and 1 share the first column.
        QCOMPARE(list->visualItemRect(list->item(1)).left(),
                 list->visualItemRect(list->item(0)).left());
    }

    void selectedItemsAreStoredInListOrder_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QString>("expected");
        QTest::newRow("s1 nothing selected") << 1 << QList<int>{} << "";
        QTest::newRow("s1 1 3 5") << 1 << QList<int>{1, 3, 5} << "1,3,5";
        QTest::newRow("s2 9 0 4") << 2 << QList<int>{9, 0, 4} << "0,4,9";
        QTest::newRow("s3 toggled off again") << 3 << QList<int>{6, 2, 6} << "2";
        QTest::newRow("s4 every digit")
            << 4 << QList<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0} << "0,1,2,3,4,5,6,7,8,9";
        QTest::newRow("s5 zero alone") << 5 << QList<int>{0} << "0";
        QTest::newRow("s6 nine alone") << 6 << QList<int>{9} << "9";
        QTest::newRow("s7 18 3") << 7 << QList<int>{18, 3} << "3,18";
        QTest::newRow("s7 0 18") << 7 << QList<int>{0, 18} << "0,18";
        QTest::newRow("s8 10 9 11") << 8 << QList<int>{10, 9, 11} << "9,10,11";
    }
    void selectedItemsAreStoredInListOrder() {
        QFETCH(int, kind);
        QFETCH(QList<int>, clicks);
        QFETCH(QString, expected);
        auto bind = MakeBind(kind, "");
        form_->ShowBind(bind.get());
        QCOMPARE(Pages()->currentIndex(), kind);
        for (int row : clicks) {
            ClickItem(List(kind), row);
        }
        Apply();
        QCOMPARE(applied_, 1);
        QCOMPARE(QString::fromStdString(AppliedParam()), expected);
        QCOMPARE(form_->WorkBind()->Kind(), kind);
        QVERIFY(form_->WorkBind()->Dirty());
        QVERIFY(form_->isVisible());
    }

    void clicksToggleWithoutRanges() {
        auto bind = MakeBind(2, "");
        form_->ShowBind(bind.get());
        ClickItem(List(2), 2);
        ClickItem(List(2), 6, Qt::ShiftModifier);
        ClickItem(List(2), 8, Qt::ControlModifier);
        QCOMPARE(SelectedRows(*List(2)), (QList<int>{2, 6, 8}));
        ClickItem(List(2), 6);
        QCOMPARE(SelectedRows(*List(2)), (QList<int>{2, 8}));
    }

    void loadingSelectsExactlyTheStoredItems_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("sums 3,18") << 7 << "3,18" << QList<int>{3, 18};
        QTest::newRow("sums out of order") << 8 << "18,0,9" << QList<int>{0, 9, 18};
        QTest::newRow("digits with blanks and empty items") << 1 << " ,1,,5, " << QList<int>{1, 5};
        QTest::newRow("empty") << 6 << "" << QList<int>{};
    }
    void loadingSelectsExactlyTheStoredItems() {
        QFETCH(int, kind);
        QFETCH(QString, param);
        QFETCH(QList<int>, rows);
        // An earlier load leaves selections that the next load must clear.
        auto earlier = MakeBind(kind, "2,4,6");
        form_->ShowBind(earlier.get());
        auto bind = MakeBind(kind, param.toStdString().c_str());
        form_->ShowBind(bind.get());
        QCOMPARE(SelectedRows(*List(kind)), rows);
        QVERIFY(form_->isVisible());
    }

    void listButtonsSelectInvertAndClear() {
        auto bind = MakeBind(7, "0,18");
        form_->ShowBind(bind.get());
        QListWidget* list = List(7);
        QTest::mouseClick(Button(QStringLiteral("s7InvertBt")), Qt::LeftButton);
        QCOMPARE(SelectedRows(*list).size(), 17);
        QVERIFY(!list->item(0)->isSelected() && !list->item(18)->isSelected());
        QTest::mouseClick(Button(QStringLiteral("s7ClearBt")), Qt::LeftButton);
        QVERIFY(SelectedRows(*list).isEmpty());
        QTest::mouseClick(Button(QStringLiteral("s7AllBt")), Qt::LeftButton);
        QCOMPARE(SelectedRows(*list).size(), 19);
        // None of them touches the working copy.
        QCOMPARE(AppliedParam(), std::string("0,18"));
        QCOMPARE(applied_, 0);
        Apply();
        QCOMPARE(AppliedParam(), std::string("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18"));
    }

    void identicalClausesAreBothStored() {
        auto bind = MakeBind(9, "");
        form_->ShowBind(bind.get());
        QTest::mouseClick(Button(QStringLiteral("s9AddBt")), Qt::LeftButton);
        QTest::mouseClick(Button(QStringLiteral("s9AddBt")), Qt::LeftButton);
        QCOMPARE(Lines(*List(9)), (QStringList{"123与568相配", "123与568相配"}));
        // The edits are not cleared by adding.
        QCOMPARE(Edit1()->text(), QStringLiteral("123"));
        Apply();
        QCOMPARE(AppliedParam(), std::string("123与568相配,123与568相配"));
    }

    void clausesAreStoredSelectedOrNot() {
        auto bind = MakeBind(9, "12与34相配,5与67相配");
        form_->ShowBind(bind.get());
        QCOMPARE(Lines(*List(9)), (QStringList{"12与34相配", "5与67相配"}));
        ClickItem(List(9), 1);
        Apply();
        QCOMPARE(AppliedParam(), std::string("12与34相配,5与67相配"));
    }

    void loadingClausesKeepsTheEdits() {
        auto first = MakeBind(9, "1与2相配");
        form_->ShowBind(first.get());
        Edit1()->setText(QStringLiteral("70"));
        Edit2()->clear();
        auto second = MakeBind(9, "3与4相配");
        form_->ShowBind(second.get());
        QCOMPARE(Lines(*List(9)), QStringList{"3与4相配"});
        QCOMPARE(Edit1()->text(), QStringLiteral("70"));
        QCOMPARE(Edit2()->text(), QString());
    }

    void addWithAnEmptyEditAddsNothing() {
        auto bind = MakeBind(9, "");
        form_->ShowBind(bind.get());
        Edit2()->clear();
        QTest::mouseClick(Button(QStringLiteral("s9AddBt")), Qt::LeftButton);
        QCOMPARE(List(9)->count(), 0);
        Edit2()->setText(QStringLiteral("7"));
        Edit1()->clear();
        QTest::mouseClick(Button(QStringLiteral("s9AddBt")), Qt::LeftButton);
        QCOMPARE(List(9)->count(), 0);
        Edit1()->setText(QStringLiteral("90"));
        QTest::mouseClick(Button(QStringLiteral("s9AddBt")), Qt::LeftButton);
        QCOMPARE(Lines(*List(9)), QStringList{"90与7相配"});
    }

    void deleteRemovesTheSelectedLinesAndClearRemovesAll() {
        auto bind = MakeBind(9, "1与2相配,3与4相配,5与6相配,7与8相配");
        form_->ShowBind(bind.get());
        ClickItem(List(9), 0);
        ClickItem(List(9), 2);
        ClickItem(List(9), 3);
        QTest::mouseClick(Button(QStringLiteral("s9DelBt")), Qt::LeftButton);
        QCOMPARE(Lines(*List(9)), QStringList{"3与4相配"});
        QTest::mouseClick(Button(QStringLiteral("s9ClearBt")), Qt::LeftButton);
        QCOMPARE(List(9)->count(), 0);
        Apply();
        QCOMPARE(AppliedParam(), std::string());
    }

    void typedKeysAreFiltered() {
        auto bind = MakeBind(9, "");
        form_->ShowBind(bind.get());
        QLineEdit* edit = Edit1();
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, '1');
        QCOMPARE(edit->text(), QStringLiteral("123"));
        QTest::keyClick(edit, 'a');
        QTest::keyClick(edit, ',');
        QTest::keyClick(edit, ' ');
        QCOMPARE(edit->text(), QStringLiteral("123"));
        QTest::keyClicks(edit, "4");
        QCOMPARE(edit->text(), QStringLiteral("1234"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("123"));
        // Backspace works whatever the text, down to empty and beyond.
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(edit, Qt::Key_Backspace);
        }
        QCOMPARE(edit->text(), QString());
        QTest::keyClicks(edit, "9x9807706543210");
        QCOMPARE(edit->text(), QStringLiteral("980765432"));
        // The same filter guards the second edit, against its own text.
        QLineEdit* second = Edit2();
        second->setFocus();
        second->end(false);
        QTest::keyClicks(second, "5681");
        QCOMPARE(second->text(), QStringLiteral("5681"));
    }

    void typedRepeatIsDroppedAtAnyCursorPosition() {
        auto bind = MakeBind(9, "");
        form_->ShowBind(bind.get());
        QLineEdit* edit = Edit1();
        edit->setFocus();
        edit->home(false);
        QTest::keyClicks(edit, "39");
        QCOMPARE(edit->text(), QStringLiteral("9123"));
    }

    void pastedTextIsFiltered_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        QTest::newRow("letters and a repeat") << "123"
                                              << "4a45"
                                              << "12345";
        QTest::newRow("only repeats") << "123"
                                      << "321"
                                      << "123";
        QTest::newRow("clause text") << ""
                                     << "12与34相配"
                                     << "1234";
        QTest::newRow("comma list") << ""
                                    << "1,2,2,3"
                                    << "123";
        QTest::newRow("full-width digits") << ""
                                           << "１２3"
                                           << "3";
    }
    void pastedTextIsFiltered() {
        QFETCH(QString, before);
        QFETCH(QString, clipboard);
        QFETCH(QString, after);
        auto bind = MakeBind(9, "");
        form_->ShowBind(bind.get());
        for (QLineEdit* edit : {Edit1(), Edit2()}) {
            edit->setText(before);
            edit->setFocus();
            edit->end(false);
            QApplication::clipboard()->setText(clipboard);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(edit->text(), after);
            edit->setText(before);
            edit->end(false);
            edit->paste();
            QCOMPARE(edit->text(), after);
        }
    }

    void enterInAClauseEditPressesApply() {
        auto bind = MakeBind(9, "");
        form_->ShowBind(bind.get());
        Edit1()->setFocus();
        QTest::keyClick(Edit1(), Qt::Key_Return);
        QCOMPARE(applied_, 1);
    }

    void clauseLogicFollowsTheCondition() {
        auto all = MakeBind(9, "1与2相配", false, true);
        form_->ShowBind(all.get());
        QVERIFY(!Logic()->isHidden());
        QVERIFY(AllRadio()->isChecked());
        QTest::mouseClick(AnyRadio(), Qt::LeftButton);
        Apply();
        QVERIFY(!form_->WorkBind()->AllMatch);

        auto any = MakeBind(9, "1与2相配", false, false);
        form_->ShowBind(any.get());
        QVERIFY(AnyRadio()->isChecked());
        QTest::mouseClick(AllRadio(), Qt::LeftButton);
        Apply();
        QVERIFY(form_->WorkBind()->AllMatch);
        QVERIFY(form_->WorkBind()->MultiClause);
    }

    void kindsOneToEightHideTheClausePanel() {
        for (int kind = 1; kind <= 8; ++kind) {
            auto bind = MakeBind(kind, "", false, true);
            form_->ShowBind(bind.get());
            QVERIFY(Logic()->isHidden());
            QVERIFY(!Assured()->isHidden());
            // Without clauses the dialog leaves AllMatch as it came.
            Apply();
            QVERIFY(form_->WorkBind()->AllMatch);
            QVERIFY(!form_->WorkBind()->MultiClause);
        }
    }

    void assuredMarkIsLoadedAndApplied() {
        auto bind = MakeBind(4, "3", true);
        form_->ShowBind(bind.get());
        QVERIFY(Assured()->isChecked());
        QTest::mouseClick(Assured(), Qt::LeftButton);
        Apply();
        QVERIFY(!form_->WorkBind()->Assured);
        QTest::mouseClick(Assured(), Qt::LeftButton);
        Apply();
        QVERIFY(form_->WorkBind()->Assured);
        QCOMPARE(applied_, 2);
    }

    void kindChangeDiscardsTheWorkingCopy() {
        auto bind = MakeBind(5, "1,3", true);
        form_->ShowBind(bind.get());
        QCOMPARE(Kinds()->currentIndex(), 4);
        PickKind(8);
        QCOMPARE(Pages()->currentIndex(), 9);
        QCOMPARE(form_->WorkBind()->Kind(), 9);
        QCOMPARE(List(9)->count(), 0);
        QVERIFY(!Assured()->isHidden());
        QVERIFY(!Assured()->isChecked());
        QVERIFY(!Logic()->isHidden());
        QVERIFY(AnyRadio()->isChecked());
        QVERIFY(Button(QStringLiteral("ApplyBt"))->isEnabled());

        PickKind(4);
        QCOMPARE(Pages()->currentIndex(), 5);
        QVERIFY(SelectedRows(*List(5)).isEmpty());
        QVERIFY(Logic()->isHidden());
        QCOMPARE(form_->WorkBind()->Param(), std::string());
        QVERIFY(!form_->WorkBind()->Assured);
        // Nothing reached the project's condition.
        QCOMPARE(bind->Param(), std::string("1,3"));
        QVERIFY(bind->Assured);
        QCOMPARE(applied_, 0);
    }

    void pickingTheShownKindReloadsFromTheWorkingCopy() {
        auto bind = MakeBind(1, "1");
        form_->ShowBind(bind.get());
        ClickItem(List(1), 5);
        PickKind(0);
        QCOMPARE(SelectedRows(*List(1)), QList<int>{1});
        ClickItem(List(1), 7);
        Apply();
        ClickItem(List(1), 8);
        PickKind(0);
        QCOMPARE(SelectedRows(*List(1)), (QList<int>{1, 7}));
    }

    void noConditionShowsTheEmptyPageAndDisablesApply() {
        form_->ShowBind(nullptr);
        QVERIFY(form_->isVisible());
        QCOMPARE(Pages()->currentIndex(), 0);
        QCOMPARE(Kinds()->currentIndex(), -1);
        QVERIFY(!Kinds()->isEnabled());
        QVERIFY(!Button(QStringLiteral("ApplyBt"))->isEnabled());
        QVERIFY(Assured()->isHidden());
        QVERIFY(Logic()->isHidden());
        QTest::mouseClick(Button(QStringLiteral("ApplyBt")), Qt::LeftButton);
        QTest::keyClick(form_.get(), Qt::Key_Return);
        QCOMPARE(applied_, 0);

        // From editing to no condition: the working copy stays as it was.
        auto bind = MakeBind(3, "7", false, false);
        form_->ShowBind(bind.get());
        const TBaseBind* work = form_->WorkBind();
        form_->ShowBind(nullptr);
        QCOMPARE(form_->WorkBind(), work);
        QCOMPARE(work->Param(), std::string("7"));
        form_->ShowBind(bind.get());
        QVERIFY(Kinds()->isEnabled());
        QVERIFY(Button(QStringLiteral("ApplyBt"))->isEnabled());
    }

    void reshowingReloadsFromTheProjectsCondition() {
        auto bind = MakeBind(6, "2");
        form_->ShowBind(bind.get());
        ClickItem(List(6), 7);
        QTest::mouseClick(Button(QStringLiteral("CloseBt")), Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        // Hiding keeps the controls.
        QCOMPARE(SelectedRows(*List(6)), (QList<int>{2, 7}));
        form_->ShowBind(bind.get());
        QVERIFY(form_->isVisible());
        QCOMPARE(SelectedRows(*List(6)), QList<int>{2});
    }

    void applyEditsOnlyTheWorkingCopy() {
        auto bind = MakeBind(8, "4");
        bind->Checked = true;
        form_->ShowBind(bind.get());
        QVERIFY(form_->WorkBind() != bind.get());
        ClickItem(List(8), 12);
        Apply();
        QCOMPARE(AppliedParam(), std::string("4,12"));
        QCOMPARE(bind->Param(), std::string("4"));
        // What the owner's handler does with it: Assign keeps kind and Checked.
        bind->Assign(*form_->WorkBind());
        QCOMPARE(bind->Param(), std::string("4,12"));
        QVERIFY(bind->Checked);
    }

    void applyWithoutAHandlerStillUpdatesTheCopy() {
        form_->OnApply = nullptr;
        auto bind = MakeBind(2, "");
        form_->ShowBind(bind.get());
        ClickItem(List(2), 3);
        Apply();
        QCOMPARE(AppliedParam(), std::string("3"));
    }

    void aForeignParameterStopsTheLoadAtTheBadItem_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("not a number") << 1 << "1,x,3"
                                      << "" << QList<int>{1};
        QTest::newRow("digit list past 9") << 3 << "2,10"
                                           << "List index out of bounds (10)" << QList<int>{2};
        QTest::newRow("sum past 18") << 7 << "5,19,6"
                                     << "List index out of bounds (19)" << QList<int>{5};
        QTest::newRow("negative") << 8 << "-1"
                                  << "List index out of bounds (-1)" << QList<int>{};
    }
    void aForeignParameterStopsTheLoadAtTheBadItem() {
        QFETCH(int, kind);
        QFETCH(QString, param);
        QFETCH(QString, message);
        QFETCH(QList<int>, selected);
        auto bind = MakeBind(kind, param.toStdString().c_str());
        bool raised = false;
        try {
            form_->ShowBind(bind.get());
        } catch (const EConvertError&) {
            raised = message.isEmpty();
        } catch (const Exception& error) {
            QCOMPARE(QString::fromStdString(error.what()), message);
            raised = true;
        }
        QVERIFY(raised);
        QVERIFY(!form_->isVisible());
        QCOMPARE(SelectedRows(*List(kind)), selected);
    }

    void closeAndEscapeHide() {
        auto bind = MakeBind(1, "");
        form_->ShowBind(bind.get());
        QTest::keyClick(form_.get(), Qt::Key_Escape);
        QVERIFY(!form_->isVisible());
        form_->ShowBind(bind.get());
        QTest::mouseClick(Button(QStringLiteral("CloseBt")), Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        QCOMPARE(applied_, 0);
    }

    void nothingIsClippedOnAnyPage() {
        for (int kind = 1; kind <= 9; ++kind) {
            auto bind = MakeBind(kind, "", true, true);
            form_->ShowBind(bind.get());
            if (kind == 9) {
                Edit1()->setText(QStringLiteral("123456789"));
                Edit2()->setText(QStringLiteral("987654321"));
                QTest::mouseClick(Button(QStringLiteral("s9AddBt")), Qt::LeftButton);
            }
            QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
            const QStringList clipped = test::ClippedControls(*form_);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
        }
        const QSize size = form_->size();
        form_->ShowBind(nullptr);
        QCOMPARE(form_->size(), size);
        test::SaveShotIfAsked(*form_, QStringLiteral("shot-bindatt-empty.png"));
        auto clauses = MakeBind(9, "12与34相配,5与67相配,123456789与987654321相配", true, true);
        form_->ShowBind(clauses.get());
        test::SaveShotIfAsked(*form_, QStringLiteral("shot-bindatt.png"));
        auto sums = MakeBind(7, "0,9,18");
        form_->ShowBind(sums.get());
        test::SaveShotIfAsked(*form_, QStringLiteral("shot-bindatt-sums.png"));
        auto digits = MakeBind(1, "1,3,5");
        form_->ShowBind(digits.get());
        test::SaveShotIfAsked(*form_, QStringLiteral("shot-bindatt-digits.png"));
    }
};

QTEST_MAIN(BindAttFormTest)
#include "BindAttFormTest.moc"
