#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionSpinBox>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "gui/dialogs/DialogLayoutCheck.h"
#include "gui/dialogs/Options.h"

using namespace tovarin;

namespace {

struct CheckRow {
    const char* name;
    const char* caption;
    bool TAppOptions::*field;
};

// The switches of "基本设置：" in the order the dialog shows them.
const CheckRow kChecks[] = {
    {"DetailEveryChk", "显示筛选每一步的详细号码", &TAppOptions::DetailEveryChk},
    {"DetailLastChk", "显示筛选最后一步的详细号码", &TAppOptions::DetailLastChk},
    {"SplitByLineChk", "筛选每一步用分隔线隔开", &TAppOptions::SplitByLineChk},
    {"OutPutAppOptChk", "输出选项设置的设置内容", &TAppOptions::OutPutAppOptChk},
    {"OutPutPrjOptChk", "输出方案设置的设置内容", &TAppOptions::OutPutPrjOptChk},
    {"AutoCalcChk", "筛选条件变更后自动计算", &TAppOptions::AutoCalcChk},
    {"AutoVerifyChk", "自动核对是否中奖", &TAppOptions::AutoVerifyChk},
};

template <typename T>
T* Find(const QWidget& form, const char* name) {
    return test::FindControl<T>(form, QString::fromLatin1(name));
}

// Every field of the record as text, for whole-record comparisons.
QStringList Fields(const TAppOptions& options) {
    QStringList fields;
    for (const std::string_view key : AppOptionKeys()) {
        fields << QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())) + "=" +
                      QString::fromStdString(GetAppOption(options, key));
    }
    return fields;
}

// A record in which every field differs from its default.
TAppOptions Unusual() {
    TAppOptions options;
    options.userName = "张三";
    options.userPW = "密码 1";
    options.OpenLastChk = true;
    options.LastDoc = "别的.lvrn";
    options.AutoSaveChk = true;
    options.AutoSaveEd = 42;
    options.DetailEveryChk = true;
    options.DetailLastChk = false;
    options.SplitByLineChk = true;
    options.ViewStyle = 2;
    options.AutoCalcChk = true;
    options.AutoVerifyChk = false;
    options.OutPutPrjOptChk = true;
    options.OutPutAppOptChk = true;
    options.ColsOfLineEd = 17;
    return options;
}

void ClickSpinArrow(QSpinBox& spin, QStyle::SubControl arrow) {
    QStyleOptionSpinBox option;
    option.initFrom(&spin);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    const QRect rect = spin.style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, &spin);
    QTest::mouseClick(&spin, Qt::LeftButton, Qt::NoModifier, rect.center());
}

// A click on the box itself: the widget may be wider than its caption.
void ClickCheck(QCheckBox& check) {
    QStyleOptionButton option;
    option.initFrom(&check);
    const QRect box = check.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &check);
    QTest::mouseClick(&check, Qt::LeftButton, Qt::NoModifier, box.center());
}

// Runs EditAppOptions on options; act works on the shown dialog and closes it.
bool RunEdit(TAppOptions& options, const std::function<void(QDialog&)>& act) {
    bool acted = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            qFatal("the options dialog is not shown modally");
        }
        acted = true;
        act(*dialog);
    });
    const bool confirmed = EditAppOptions(options, nullptr);
    if (!acted) {
        qFatal("the options dialog did not run");
    }
    return confirmed;
}

// Changes every control of the dialog away from the Unusual() values.
void ChangeEverything(QDialog& dialog) {
    for (const CheckRow& row : kChecks) {
        ClickCheck(*Find<QCheckBox>(dialog, row.name));
    }
    Find<QLineEdit>(dialog, "userNameEd")->setText(QStringLiteral("李四"));
    Find<QLineEdit>(dialog, "userPWEd")->setText(QStringLiteral("x"));
    ClickSpinArrow(*Find<QSpinBox>(dialog, "ColsOfLineEd"), QStyle::SC_SpinBoxUp);
    ClickCheck(*Find<QCheckBox>(dialog, "OpenLastChk"));
    // The interval first, while its check box still enables it.
    ClickSpinArrow(*Find<QSpinBox>(dialog, "AutoSaveEd"), QStyle::SC_SpinBoxUp);
    ClickCheck(*Find<QCheckBox>(dialog, "AutoSaveChk"));
}

}  // namespace

class OptionsFormTest : public QObject {
    Q_OBJECT

private slots:
    void CaptionsAndNames() {
        TOptionsForm form{TAppOptions{}};
        QCOMPARE(form.windowTitle(), QStringLiteral("选项设置"));
        QVERIFY(form.isModal());
        QCOMPARE(Find<QGroupBox>(form, "MemberGbx")->title(), QStringLiteral("网站会员设置："));
        QCOMPARE(Find<QGroupBox>(form, "BasicGbx")->title(), QStringLiteral("基本设置："));
        auto* nameEd = Find<QLineEdit>(form, "userNameEd");
        auto* pwEd = Find<QLineEdit>(form, "userPWEd");
        QStringList buddies;
        for (const QLabel* label : form.findChildren<QLabel*>()) {
            if (label->buddy() == nameEd || label->buddy() == pwEd) {
                buddies << label->text();
            }
        }
        buddies.sort();
        QStringList expected{QStringLiteral("会员名称："), QStringLiteral("会员密码：")};
        expected.sort();
        QCOMPARE(buddies, expected);
        // The password is shown as typed.
        QCOMPARE(pwEd->echoMode(), QLineEdit::Normal);
        QCOMPARE(nameEd->echoMode(), QLineEdit::Normal);

        int previousTop = -1;
        for (const CheckRow& row : kChecks) {
            auto* check = Find<QCheckBox>(form, row.name);
            QCOMPARE(check->text(), QString::fromUtf8(row.caption));
            QCOMPARE(check->parentWidget(), Find<QGroupBox>(form, "BasicGbx"));
            form.show();
            QVERIFY2(check->y() > previousTop, row.name);
            previousTop = check->y();
        }
        // "每行输出       个直码" around the spin.
        const QStringList parts =
            QStringLiteral("每行输出       个直码").split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QCOMPARE(Find<QLabel>(form, "ColsOfLineLbl1")->text(), parts.at(0));
        QCOMPARE(Find<QLabel>(form, "ColsOfLineLbl2")->text(), parts.at(1));
        auto* spin = Find<QSpinBox>(form, "ColsOfLineEd");
        QVERIFY(Find<QLabel>(form, "ColsOfLineLbl1")->geometry().right() < spin->x());
        QVERIFY(spin->geometry().right() < Find<QLabel>(form, "ColsOfLineLbl2")->x());
        QCOMPARE(spin->minimum(), 4);
        QCOMPARE(spin->maximum(), 20);

        auto* ok = Find<QPushButton>(form, "OKBt");
        auto* cancel = Find<QPushButton>(form, "CancelBt");
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        QVERIFY(ok->isDefault());
        QVERIFY(!cancel->isDefault());
        // The document settings.
        auto* docGroup = Find<QGroupBox>(form, "DocGbx");
        QCOMPARE(docGroup->title(), QStringLiteral("文档设置："));
        auto* openLast = Find<QCheckBox>(form, "OpenLastChk");
        QCOMPARE(openLast->text(), QStringLiteral("自动打开上次打开的文档"));
        QCOMPARE(openLast->parentWidget(), docGroup);
        // "自动保存，间隔：     分钟" around the interval spin.
        auto* autoSave = Find<QCheckBox>(form, "AutoSaveChk");
        auto* interval = Find<QSpinBox>(form, "AutoSaveEd");
        auto* unit = Find<QLabel>(form, "AutoSaveLbl");
        QCOMPARE(autoSave->text(), QStringLiteral("自动保存，间隔："));
        QCOMPARE(unit->text(), QStringLiteral("分钟"));
        QVERIFY(openLast->y() < autoSave->y());
        QVERIFY(autoSave->geometry().right() < interval->x());
        QVERIFY(interval->geometry().right() < unit->x());
        QCOMPARE(interval->minimum(), 1);
        QCOMPARE(interval->maximum(), 100);
        QVERIFY(!interval->isEnabled());
        QVERIFY(Find<QGroupBox>(form, "BasicGbx")->y() < docGroup->y());
        // Only these controls are offered.
        QCOMPARE(form.findChildren<QCheckBox*>().size(), 9);
        QCOMPARE(form.findChildren<QSpinBox*>().size(), 2);
        QCOMPARE(form.findChildren<QPushButton*>().size(), 2);
    }

    void LoadsEveryControlFromTheCopy() {
        const TAppOptions options = Unusual();
        TOptionsForm form{options};
        QCOMPARE(Find<QLineEdit>(form, "userNameEd")->text(), QStringLiteral("张三"));
        QCOMPARE(Find<QLineEdit>(form, "userPWEd")->text(), QStringLiteral("密码 1"));
        for (const CheckRow& row : kChecks) {
            QCOMPARE(Find<QCheckBox>(form, row.name)->isChecked(), options.*row.field);
        }
        QCOMPARE(Find<QSpinBox>(form, "ColsOfLineEd")->value(), 17);
        QCOMPARE(Fields(form.Options()), Fields(options));
    }

    // Each control writes through to the copy at once, and only its field.
    void EveryControlWritesThrough() {
        const TAppOptions start = Unusual();
        TOptionsForm form{start};
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TAppOptions expected = start;
        for (const CheckRow& row : kChecks) {
            ClickCheck(*Find<QCheckBox>(form, row.name));
            expected.*row.field = !(start.*row.field);
            QCOMPARE(Fields(form.Options()), Fields(expected));
        }
        auto* nameEd = Find<QLineEdit>(form, "userNameEd");
        nameEd->clear();
        QTest::keyClicks(nameEd, QStringLiteral("Wang "));
        nameEd->insert(QStringLiteral("五"));  // key clicks carry Latin-1 only
        expected.userName = "Wang 五";
        QCOMPARE(Fields(form.Options()), Fields(expected));
        auto* pwEd = Find<QLineEdit>(form, "userPWEd");
        pwEd->selectAll();
        QTest::keyClicks(pwEd, QStringLiteral(" p w "));
        expected.userPW = " p w ";
        QCOMPARE(Fields(form.Options()), Fields(expected));

        auto* spin = Find<QSpinBox>(form, "ColsOfLineEd");
        ClickSpinArrow(*spin, QStyle::SC_SpinBoxUp);
        expected.ColsOfLineEd = 18;
        QCOMPARE(Fields(form.Options()), Fields(expected));
        ClickSpinArrow(*spin, QStyle::SC_SpinBoxDown);
        ClickSpinArrow(*spin, QStyle::SC_SpinBoxDown);
        expected.ColsOfLineEd = 16;
        QCOMPARE(Fields(form.Options()), Fields(expected));

        ClickCheck(*Find<QCheckBox>(form, "OpenLastChk"));
        expected.OpenLastChk = false;
        QCOMPARE(Fields(form.Options()), Fields(expected));
        auto* interval = Find<QSpinBox>(form, "AutoSaveEd");
        QVERIFY(interval->isEnabled());
        interval->setFocus();
        interval->selectAll();
        QTest::keyClicks(interval, QStringLiteral("15"));
        expected.AutoSaveEd = 15;
        QCOMPARE(Fields(form.Options()), Fields(expected));
        ClickCheck(*Find<QCheckBox>(form, "AutoSaveChk"));
        expected.AutoSaveChk = false;
        QCOMPARE(Fields(form.Options()), Fields(expected));
        // The interval waits, disabled, with its value kept.
        QVERIFY(!interval->isEnabled());
        ClickCheck(*Find<QCheckBox>(form, "AutoSaveChk"));
        QVERIFY(interval->isEnabled());
        QCOMPARE(interval->value(), 15);
    }

    // The spin takes no typed digits; its buttons stop at the range ends.
    void SpinChangesOnlyByItsButtons() {
        TAppOptions options;
        options.ColsOfLineEd = 19;
        TOptionsForm form{options};
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* spin = Find<QSpinBox>(form, "ColsOfLineEd");
        spin->setFocus();
        QTest::keyClicks(spin, QStringLiteral("5"));
        QTest::keyClick(spin, Qt::Key_Backspace);
        QCOMPARE(spin->value(), 19);
        QCOMPARE(form.Options().ColsOfLineEd, 19);
        for (int i = 0; i < 3; ++i) {
            ClickSpinArrow(*spin, QStyle::SC_SpinBoxUp);
        }
        QCOMPARE(form.Options().ColsOfLineEd, 20);
        for (int i = 0; i < 20; ++i) {
            ClickSpinArrow(*spin, QStyle::SC_SpinBoxDown);
        }
        QCOMPARE(form.Options().ColsOfLineEd, 4);
    }

    void ClampsOnLoading_data() {
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("shownCols");
        QTest::addColumn<int>("autoSave");
        QTest::addColumn<int>("keptAutoSave");
        QTest::newRow("lowest") << 4 << 4 << 1 << 1;
        QTest::newRow("highest") << 20 << 20 << 100 << 100;
        QTest::newRow("30 as loaded") << 30 << 20 << 5 << 5;
        QTest::newRow("below") << 3 << 4 << 0 << 1;
        QTest::newRow("far below") << -7 << 4 << -100 << 1;
        QTest::newRow("above") << 21 << 20 << 101 << 100;
        QTest::newRow("far above") << 2147483647 << 20 << 2147483647 << 100;
    }

    void ClampsOnLoading() {
        QFETCH(int, cols);
        QFETCH(int, shownCols);
        QFETCH(int, autoSave);
        QFETCH(int, keptAutoSave);
        TAppOptions options = Unusual();
        options.ColsOfLineEd = cols;
        options.AutoSaveEd = autoSave;
        TOptionsForm form{options};
        QCOMPARE(Find<QSpinBox>(form, "ColsOfLineEd")->value(), shownCols);
        QCOMPARE(Find<QSpinBox>(form, "AutoSaveEd")->value(), keptAutoSave);
        TAppOptions expected = options;
        expected.ColsOfLineEd = shownCols;
        expected.AutoSaveEd = keptAutoSave;
        QCOMPARE(Fields(form.Options()), Fields(expected));
    }

    void RefusesTextTheFileCannotHold() {
        TOptionsForm form{TAppOptions{}};
        auto* nameEd = Find<QLineEdit>(form, "userNameEd");
        nameEd->insert(QStringLiteral("甲"));
        nameEd->insert(QString::fromUtf8("\xF0\x9F\x98\x80"));  // no GBK code for it
        QCOMPARE(nameEd->text(), QStringLiteral("甲"));
        QCOMPARE(form.Options().userName, std::string("甲"));
    }

    // "确定" takes the copy back, the stored 30 going back as 20.
    void ConfirmTakesTheCopyBack() {
        TAppOptions options = Unusual();
        options.ColsOfLineEd = 30;
        options.AutoSaveEd = 0;
        const bool confirmed = RunEdit(options, [](QDialog& dialog) {
            ChangeEverything(dialog);
            QTest::mouseClick(Find<QPushButton>(dialog, "OKBt"), Qt::LeftButton);
        });
        QVERIFY(confirmed);
        TAppOptions expected = Unusual();
        for (const CheckRow& row : kChecks) {
            expected.*row.field = !(expected.*row.field);
        }
        expected.userName = "李四";
        expected.userPW = "x";
        expected.ColsOfLineEd = 20;  // 30 shown as 20; the up button stops there
        expected.OpenLastChk = false;
        expected.AutoSaveChk = false;
        expected.AutoSaveEd = 2;  // 0 shown as 1, then one up
        QCOMPARE(Fields(options), Fields(expected));
    }

    void ReturnKeyConfirms() {
        TAppOptions options;
        const bool confirmed = RunEdit(options, [](QDialog& dialog) {
            ClickCheck(*Find<QCheckBox>(dialog, "AutoCalcChk"));
            QTest::keyClick(Find<QLineEdit>(dialog, "userNameEd"), Qt::Key_Return);
        });
        QVERIFY(confirmed);
        QVERIFY(options.AutoCalcChk);
    }

    void CancelLeavesTheRecord_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("取消") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("window closed") << 2;
    }

    void CancelLeavesTheRecord() {
        QFETCH(int, how);
        TAppOptions options = Unusual();
        options.ColsOfLineEd = 30;
        const QStringList before = Fields(options);
        const bool confirmed = RunEdit(options, [how](QDialog& dialog) {
            ChangeEverything(dialog);
            if (how == 0) {
                QTest::mouseClick(Find<QPushButton>(dialog, "CancelBt"), Qt::LeftButton);
            } else if (how == 1) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            } else {
                dialog.close();
            }
        });
        QVERIFY(!confirmed);
        QCOMPARE(Fields(options), before);
    }

    void NothingIsClipped() {
        TOptionsForm form{Unusual()};
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QStringList clipped = test::ClippedControls(form);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
        test::SaveShotIfAsked(form, QStringLiteral("shot-options.png"));
    }
};

QTEST_MAIN(OptionsFormTest)
#include "OptionsFormTest.moc"
