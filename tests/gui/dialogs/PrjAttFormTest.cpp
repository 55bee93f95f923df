#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionSpinBox>
#include <QtTest>

#include <limits>
#include <memory>

#include "core/engine/PrjOptions.h"
#include "gui/dialogs/DialogLayoutCheck.h"
#include "gui/dialogs/PrjAtt.h"

using namespace tovarin;

class PrjAttFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TPrjAttForm> form_;
    int applied_ = 0;

    template <typename T>
    T* Find(const QString& name) const {
        return test::FindControl<T>(*form_, name);
    }
    QSpinBox* Spin(const char* name) const { return Find<QSpinBox>(QString::fromLatin1(name)); }
    QCheckBox* Box(const char* name) const { return Find<QCheckBox>(QString::fromLatin1(name)); }

    // A press on the spin's own up or down button, where the style draws it.
    static void ClickStep(QSpinBox* spin, QStyle::SubControl button) {
        QStyleOptionSpinBox option;
        option.initFrom(spin);
        option.subControls = QStyle::SC_All;
        option.buttonSymbols = spin->buttonSymbols();
        option.frame = spin->hasFrame();
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        const QRect rect = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, button, spin);
        QTest::mouseClick(spin, Qt::LeftButton, {}, rect.center());
    }

    void Apply() { QTest::mouseClick(Find<QPushButton>(QStringLiteral("OkBt")), Qt::LeftButton); }

    static TPrjOptions Record(int target) {
        TPrjOptions options;
        options.TargetSeq = target;
        return options;
    }

private slots:
    void init() {
        form_ = std::make_unique<TPrjAttForm>(nullptr);
        applied_ = 0;
        form_->OnApply = [this](TPrjAttForm& sender) {
            QCOMPARE(&sender, form_.get());
            ++applied_;
        };
    }
    void cleanup() { form_.reset(); }

    void captionsAndRanges() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("方案属性设置"));
        QCOMPARE(Find<QGroupBox>(QStringLiteral("BaseGbx"))->title(), QStringLiteral("基本设置："));
        QCOMPARE(Find<QLabel>(QStringLiteral("TargetSeqLbl"))->text(),
                 QStringLiteral("计算目标为第         期"));
        QCOMPARE(Find<QLabel>(QStringLiteral("MissMaxLbl"))->text(),
                 QStringLiteral("筛选号码最多容错      个条件"));
        QCOMPARE(Box("FloatCountChk")->text(), QStringLiteral("推荐定位码在      个内浮动"));
        QCOMPARE(Find<QLabel>(QStringLiteral("RcMissBaseLbl"))->text(),
                 QStringLiteral("推荐码的最小错误值:    "));
        QCOMPARE(Box("LargeChk")->text(), QStringLiteral("推荐大范围40组定位码"));
        QCOMPARE(Box("MiddleChk")->text(), QStringLiteral("推荐中范围30组定位码"));
        QCOMPARE(Box("SmallChk")->text(), QStringLiteral("推荐小范围20组定位码"));
        QCOMPARE(Box("TinyChk")->text(), QStringLiteral("推荐细范围10组定位码"));
        QCOMPARE(Box("HeadLimitChk")->text(), QStringLiteral("直码的头数限制为0-6"));
        QCOMPARE(Find<QPushButton>(QStringLiteral("OkBt"))->text(), QStringLiteral("应用"));
        QCOMPARE(Find<QPushButton>(QStringLiteral("CancelBt"))->text(), QStringLiteral("关闭"));
        QVERIFY(Find<QPushButton>(QStringLiteral("OkBt"))->isDefault());

        const struct {
            const char* name;
            int minimum;
            int maximum;
        } ranges[] = {
            {"TargetSeq", 1, 2000}, {"MissMax", 0, 4}, {"FloatCount", 0, 5}, {"RcMissBase", 0, 20}};
        for (const auto& range : ranges) {
            QCOMPARE(Spin(range.name)->minimum(), range.minimum);
            QCOMPARE(Spin(range.name)->maximum(), range.maximum);
        }
        QVERIFY(!form_->isModal());
        QVERIFY(form_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form_->isVisible());
    }

    void everySpinSitsInItsCaption() {
        form_->ShowPrjAtt(Record(5));
        const struct {
            const char* spin;
            const char* caption;
        } pairs[] = {{"TargetSeq", "TargetSeqLbl"},
                     {"MissMax", "MissMaxLbl"},
                     {"FloatCount", "FloatCountChk"},
                     {"RcMissBase", "RcMissBaseLbl"}};
        for (const auto& pair : pairs) {
            QWidget* caption = Find<QWidget>(QString::fromLatin1(pair.caption));
            QCOMPARE(Spin(pair.spin)->parentWidget(), caption);
            QVERIFY(caption->rect().contains(Spin(pair.spin)->geometry()));
        }
    }

    void loadShowsEveryField() {
        TPrjOptions options;
        options.TargetSeq = 110;
        options.MissMax = 3;
        options.Large = false;
        options.Middle = true;
        options.Small = true;
        options.Tiny = false;
        options.HeadLimit = true;
        options.FloatOn = true;
        options.FloatCount = 2;
        options.RcMissBase = 17;
        form_->SetTargetSeqBounds(120);
        form_->ShowPrjAtt(options);
        QVERIFY(form_->isVisible());
        QCOMPARE(Spin("TargetSeq")->value(), 110);
        QCOMPARE(Spin("MissMax")->value(), 3);
        QCOMPARE(Spin("FloatCount")->value(), 2);
        QCOMPARE(Spin("RcMissBase")->value(), 17);
        QVERIFY(!Box("LargeChk")->isChecked());
        QVERIFY(Box("MiddleChk")->isChecked());
        QVERIFY(Box("SmallChk")->isChecked());
        QVERIFY(!Box("TinyChk")->isChecked());
        QVERIFY(Box("FloatCountChk")->isChecked());
        QVERIFY(Spin("FloatCount")->isEnabled());
        QVERIFY(Box("HeadLimitChk")->isChecked());
        QVERIFY(Box("HeadLimitChk")->isHidden());
    }

    void targetBounds_data() {
        QTest::addColumn<int>("nextPeriod");
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("upper");
        QTest::newRow("period 120") << 120 << 100 << 120;
        QTest::newRow("period 15") << 15 << 1 << 15;
        QTest::newRow("period 21") << 21 << 1 << 21;
        QTest::newRow("period 22") << 22 << 2 << 22;
    }
    void targetBounds() {
        QFETCH(int, nextPeriod);
        QFETCH(int, lower);
        QFETCH(int, upper);
        form_->SetTargetSeqBounds(nextPeriod);
        QCOMPARE(Spin("TargetSeq")->minimum(), lower);
        QCOMPARE(Spin("TargetSeq")->maximum(), upper);
    }

    void storedTargetIsClampedIntoTheBounds_data() {
        QTest::addColumn<int>("nextPeriod");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("below") << 120 << 90 << 100;
        QTest::newRow("above") << 120 << 130 << 120;
        QTest::newRow("inside") << 120 << 111 << 111;
        QTest::newRow("zero with 1-15") << 15 << 0 << 1;
        QTest::newRow("equal bounds take anything") << 1 << 121 << 121;
        QTest::newRow("equal bounds take zero") << 1 << 0 << 0;
    }
    void storedTargetIsClampedIntoTheBounds() {
        QFETCH(int, nextPeriod);
        QFETCH(int, stored);
        QFETCH(int, shown);
        form_->SetTargetSeqBounds(nextPeriod);
        form_->ShowPrjAtt(Record(stored));
        QCOMPARE(Spin("TargetSeq")->value(), shown);
        Apply();
        QCOMPARE(applied_, 1);
        QCOMPARE(form_->PrjOptions().TargetSeq, shown);
    }

    void spinsChangeOnlyThroughTheirButtons() {
        form_->SetTargetSeqBounds(120);
        form_->ShowPrjAtt(Record(110));
        QSpinBox* miss = Spin("MissMax");
        QCOMPARE(miss->value(), 1);
        miss->setFocus();
        QTest::keyClick(miss, Qt::Key_Backspace);
        QTest::keyClicks(miss, "3");
        QCOMPARE(miss->value(), 1);
        QCOMPARE(miss->text(), QStringLiteral("1"));
        ClickStep(miss, QStyle::SC_SpinBoxUp);
        QCOMPARE(miss->value(), 2);
        ClickStep(miss, QStyle::SC_SpinBoxDown);
        ClickStep(miss, QStyle::SC_SpinBoxDown);
        ClickStep(miss, QStyle::SC_SpinBoxDown);
        QCOMPARE(miss->value(), 0);

        QSpinBox* target = Spin("TargetSeq");
        target->setFocus();
        QTest::keyClicks(target, "9");
        QCOMPARE(target->value(), 110);
        ClickStep(target, QStyle::SC_SpinBoxUp);
        QCOMPARE(target->value(), 111);
        for (QSpinBox* spin : {Spin("FloatCount"), Spin("RcMissBase"), target, miss}) {
            QVERIFY(spin->findChild<QLineEdit*>()->isReadOnly());
        }
    }

    void spinValuesReachTheRecordOnlyOnApply() {
        form_->SetTargetSeqBounds(120);
        form_->ShowPrjAtt(Record(110));
        ClickStep(Spin("MissMax"), QStyle::SC_SpinBoxUp);
        ClickStep(Spin("RcMissBase"), QStyle::SC_SpinBoxUp);
        ClickStep(Spin("TargetSeq"), QStyle::SC_SpinBoxDown);
        ClickStep(Spin("FloatCount"), QStyle::SC_SpinBoxDown);
        QCOMPARE(form_->PrjOptions().MissMax, 1);
        QCOMPARE(form_->PrjOptions().RcMissBase, 0);
        QCOMPARE(form_->PrjOptions().TargetSeq, 110);
        QCOMPARE(form_->PrjOptions().FloatCount, 5);
        Apply();
        QCOMPARE(form_->PrjOptions().MissMax, 2);
        QCOMPARE(form_->PrjOptions().RcMissBase, 1);
        QCOMPARE(form_->PrjOptions().TargetSeq, 109);
        QCOMPARE(form_->PrjOptions().FloatCount, 4);
        QVERIFY(form_->isVisible());
    }

    void checkboxesWriteThroughAtOnce() {
        form_->ShowPrjAtt(Record(1));
        const struct {
            const char* box;
            bool TPrjOptions::*field;
        } boxes[] = {{"LargeChk", &TPrjOptions::Large},
                     {"MiddleChk", &TPrjOptions::Middle},
                     {"SmallChk", &TPrjOptions::Small},
                     {"TinyChk", &TPrjOptions::Tiny},
                     {"FloatCountChk", &TPrjOptions::FloatOn}};
        for (const auto& entry : boxes) {
            const bool before = form_->PrjOptions().*entry.field;
            QTest::mouseClick(Box(entry.box), Qt::LeftButton, {},
                              QPoint(6, Box(entry.box)->height() / 2));
            QCOMPARE(form_->PrjOptions().*entry.field, !before);
            QTest::mouseClick(Box(entry.box), Qt::LeftButton, {},
                              QPoint(6, Box(entry.box)->height() / 2));
            QCOMPARE(form_->PrjOptions().*entry.field, before);
        }
        QCOMPARE(applied_, 0);
    }

    void uncheckingTheFloatBoxKeepsTheOldFloatCount() {
        TPrjOptions options = Record(1);
        options.FloatOn = true;
        options.FloatCount = 3;
        form_->ShowPrjAtt(options);
        ClickStep(Spin("FloatCount"), QStyle::SC_SpinBoxUp);
        QCOMPARE(Spin("FloatCount")->value(), 4);
        QCheckBox* box = Box("FloatCountChk");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(!Spin("FloatCount")->isEnabled());
        Apply();
        QVERIFY(!form_->PrjOptions().FloatOn);
        QCOMPARE(form_->PrjOptions().FloatCount, 3);
        // Checked again, the spin is live and its value is taken.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(Spin("FloatCount")->isEnabled());
        Apply();
        QVERIFY(form_->PrjOptions().FloatOn);
        QCOMPARE(form_->PrjOptions().FloatCount, 4);
    }

    void aRecordWithoutFloatLoadsTheSpinGreyedOut() {
        TPrjOptions options = Record(1);
        options.FloatOn = false;
        options.FloatCount = 1;
        form_->ShowPrjAtt(options);
        QVERIFY(!Box("FloatCountChk")->isChecked());
        QVERIFY(!Spin("FloatCount")->isEnabled());
        QCOMPARE(Spin("FloatCount")->value(), 1);
    }

    void rangeFlagsAreIndependent_data() {
        QTest::addColumn<bool>("large");
        QTest::addColumn<bool>("middle");
        QTest::addColumn<bool>("small");
        QTest::addColumn<bool>("tiny");
        QTest::newRow("all four") << true << true << true << true;
        QTest::newRow("none") << false << false << false << false;
        QTest::newRow("tiny alone") << false << false << false << true;
        QTest::newRow("large and small") << true << false << true << false;
    }
    void rangeFlagsAreIndependent() {
        QFETCH(bool, large);
        QFETCH(bool, middle);
        QFETCH(bool, small);
        QFETCH(bool, tiny);
        TPrjOptions options = Record(1);
        options.Large = !large;
        options.Middle = !middle;
        options.Small = !small;
        options.Tiny = !tiny;
        form_->ShowPrjAtt(options);
        for (const char* name : {"LargeChk", "MiddleChk", "SmallChk", "TinyChk"}) {
            QTest::mouseClick(Box(name), Qt::LeftButton, {}, QPoint(6, Box(name)->height() / 2));
        }
        Apply();
        QCOMPARE(form_->PrjOptions().Large, large);
        QCOMPARE(form_->PrjOptions().Middle, middle);
        QCOMPARE(form_->PrjOptions().Small, small);
        QCOMPARE(form_->PrjOptions().Tiny, tiny);
    }

    void applyAlwaysClearsTheHeadLimit() {
        TPrjOptions options = Record(1);
        options.HeadLimit = true;
        form_->ShowPrjAtt(options);
        QCOMPARE(form_->PrjOptions().HeadLimit, true);
        Apply();
        QCOMPARE(form_->PrjOptions().HeadLimit, false);
    }

    void fieldsTheDialogDoesNotEditPassThrough() {
        TPrjOptions options = Record(1);
        int drawTable = 0;  // stands in for the project's draw table; never touched
        options.CodeNet = reinterpret_cast<TCodeNet*>(&drawTable);
        options.LargeSize = 41;
        options.MiddleSize = 31;
        options.SmallSize = 21;
        options.TinySize = 11;
        options.Padding[13] = 0x5a;
        form_->ShowPrjAtt(options);
        Apply();
        const TPrjOptions& record = form_->PrjOptions();
        QCOMPARE(static_cast<void*>(record.CodeNet), static_cast<void*>(&drawTable));
        QCOMPARE(record.LargeSize, 41);
        QCOMPARE(record.MiddleSize, 31);
        QCOMPARE(record.SmallSize, 21);
        QCOMPARE(record.TinySize, 11);
        QCOMPARE(record.Padding, options.Padding);
    }

    void anotherLoadDropsUnappliedChanges() {
        TPrjOptions first = Record(1);
        first.MissMax = 1;
        TPrjOptions second = Record(1);
        second.MissMax = 4;
        second.Tiny = true;
        form_->ShowPrjAtt(first);
        ClickStep(Spin("MissMax"), QStyle::SC_SpinBoxUp);
        QTest::mouseClick(Box("SmallChk"), Qt::LeftButton, {},
                          QPoint(6, Box("SmallChk")->height() / 2));
        form_->ShowPrjAtt(second);
        QCOMPARE(Spin("MissMax")->value(), 4);
        QVERIFY(!Box("SmallChk")->isChecked());
        QVERIFY(Box("TinyChk")->isChecked());
        Apply();
        QCOMPARE(form_->PrjOptions().MissMax, 4);
        QVERIFY(!form_->PrjOptions().Small);
    }

    void closeHidesAndLeavesTheRecord() {
        form_->ShowPrjAtt(Record(1));
        ClickStep(Spin("MissMax"), QStyle::SC_SpinBoxUp);
        QTest::mouseClick(Find<QPushButton>(QStringLiteral("CancelBt")), Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->PrjOptions().MissMax, 1);
        form_->ShowPrjAtt(Record(1));
        QTest::keyClick(form_.get(), Qt::Key_Escape);
        QVERIFY(!form_->isVisible());
        QCOMPARE(applied_, 0);
    }

    void applyWithoutAHandlerStillUpdatesTheRecord() {
        form_->OnApply = nullptr;
        form_->ShowPrjAtt(Record(1));
        ClickStep(Spin("RcMissBase"), QStyle::SC_SpinBoxUp);
        Apply();
        QCOMPARE(form_->PrjOptions().RcMissBase, 1);
    }

    void nothingIsClipped() {
        TPrjOptions options = Record(2000);
        options.RcMissBase = 20;
        form_->SetTargetSeqBounds(2000);
        form_->ShowPrjAtt(options);
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        test::SaveShotIfAsked(*form_, QStringLiteral("shot-prjatt.png"));
        const QStringList clipped = test::ClippedControls(*form_);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
        // Each spin covers the blanks of its caption, not its words.
        QLabel* target = Find<QLabel>(QStringLiteral("TargetSeqLbl"));
        const QFontMetrics metrics(target->font());
        QVERIFY(Spin("TargetSeq")->x() >=
                metrics.horizontalAdvance(QStringLiteral("计算目标为第")));
        QVERIFY(Spin("TargetSeq")->geometry().right() <
                target->width() - metrics.horizontalAdvance(QStringLiteral("期")));
    }
};

QTEST_MAIN(PrjAttFormTest)
#include "PrjAttFormTest.moc"
