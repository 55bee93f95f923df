#include "gui/dialogs/PrjAtt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include "gui/common/CenterOnScreen.h"

namespace tovarin {

namespace {

constexpr int kTargetSeqMin = 1;
constexpr int kTargetSeqMax = 2000;
constexpr int kTargetSeqWindow = 20;  // periods below the next one that can be targeted

// A spin whose value changes only through its buttons (and the arrow keys
// and wheel that stand for them): its text cannot be typed into.
class TButtonSpin final : public QSpinBox {
public:
    TButtonSpin(const QString& name, int minimum, int maximum) {
        setObjectName(name);
        setRange(minimum, maximum);
        lineEdit()->setReadOnly(true);
        setFixedWidth(sizeHint().width());
    }

    void SetMaxDigits(int digits) { lineEdit()->setMaxLength(digits); }
};

// The captions are written with a run of blanks where their spin sits
// ("计算目标为第         期"). The caption widget keeps that text as its own,
// and draws it as the words before the run, a gap holding the spin (never
// narrower than the blanks would be) and the words after it.
class TCaptionGap {
public:
    TCaptionGap(const QString& caption, QSpinBox& spin, QWidget& owner) : spin_(spin) {
        const QRegularExpressionMatch run =
            QRegularExpression(QStringLiteral(" {2,}")).match(caption);
        const qsizetype start = run.hasMatch() ? run.capturedStart() : caption.size();
        const qsizetype length = run.hasMatch() ? run.capturedLength() : 0;
        before_ = caption.left(start);
        blanks_ = caption.mid(start, length);
        after_ = caption.mid(start + length);
        spin.setParent(&owner);
    }

    QSize Size(const QFontMetrics& metrics) const {
        return {metrics.horizontalAdvance(before_) + GapWidth(metrics) +
                    metrics.horizontalAdvance(after_),
                std::max(metrics.height(), spin_.sizeHint().height()) + 2};
    }

    void Paint(QPainter& painter, const QWidget& owner, const QRect& textRect) const {
        const QFontMetrics metrics(owner.font());
        const int align = static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
        QStyle& style = *owner.style();
        style.drawItemText(&painter, textRect, align, owner.palette(), owner.isEnabled(), before_,
                           QPalette::WindowText);
        const int afterLeft = metrics.horizontalAdvance(before_) + GapWidth(metrics);
        style.drawItemText(&painter, textRect.adjusted(afterLeft, 0, 0, 0), align, owner.palette(),
                           owner.isEnabled(), after_, QPalette::WindowText);
    }

    void PlaceSpin(const QFontMetrics& metrics, const QRect& textRect) {
        const int height = spin_.sizeHint().height();
        const int left = textRect.left() + metrics.horizontalAdvance(before_) +
                         (GapWidth(metrics) - spin_.width()) / 2;
        spin_.setGeometry(left, textRect.top() + (textRect.height() - height) / 2, spin_.width(),
                          height);
    }

private:
    static constexpr int kGapMargin = 4;

    int GapWidth(const QFontMetrics& metrics) const {
        return std::max(metrics.horizontalAdvance(blanks_), spin_.width() + 2 * kGapMargin);
    }

    QSpinBox& spin_;
    QString before_;
    QString blanks_;
    QString after_;
};

class TSpinLabel final : public QLabel {
public:
    TSpinLabel(const QString& caption, const QString& name, QSpinBox& spin)
        : QLabel(caption), gap_(caption, spin, *this) {
        setObjectName(name);
    }

    QSize sizeHint() const override { return gap_.Size(fontMetrics()); }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        gap_.Paint(painter, *this, contentsRect());
    }
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        gap_.PlaceSpin(fontMetrics(), contentsRect());
    }

private:
    TCaptionGap gap_;
};

class TSpinCheckBox final : public QCheckBox {
public:
    TSpinCheckBox(const QString& caption, const QString& name, QSpinBox& spin)
        : QCheckBox(caption), gap_(caption, spin, *this) {
        setObjectName(name);
    }

    QSize sizeHint() const override {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->sizeFromContents(QStyle::CT_CheckBox, &option, gap_.Size(fontMetrics()),
                                         this);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_CheckBox, option);
        gap_.Paint(painter, *this, TextRect());
    }
    void resizeEvent(QResizeEvent* event) override {
        QCheckBox::resizeEvent(event);
        gap_.PlaceSpin(fontMetrics(), TextRect());
    }
    // The whole caption toggles the box, not only the words the style knows.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    QRect TextRect() const {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    }

    TCaptionGap gap_;
};

QCheckBox* NewCheckBox(const QString& caption, const QString& name) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    return box;
}

}  // namespace

TPrjAttForm::TPrjAttForm(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("PrjAttForm"));
    setWindowTitle(QStringLiteral("方案属性设置"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(false);
    BuildControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    CenterOnScreen(*this);
}

void TPrjAttForm::BuildControls() {
    auto* targetSeq = new TButtonSpin(QStringLiteral("TargetSeq"), kTargetSeqMin, kTargetSeqMax);
    TargetSeq = targetSeq;
    auto* missMax = new TButtonSpin(QStringLiteral("MissMax"), 0, 4);
    missMax->SetMaxDigits(1);
    MissMax = missMax;
    auto* floatCount = new TButtonSpin(QStringLiteral("FloatCount"), 0, 5);
    floatCount->SetMaxDigits(1);
    FloatCount = floatCount;
    RcMissBase = new TButtonSpin(QStringLiteral("RcMissBase"), 0, 20);

    auto* targetLabel = new TSpinLabel(QStringLiteral("计算目标为第         期"),
                                       QStringLiteral("TargetSeqLbl"), *TargetSeq);
    auto* missLabel = new TSpinLabel(QStringLiteral("筛选号码最多容错      个条件"),
                                     QStringLiteral("MissMaxLbl"), *MissMax);
    FloatCountChk = new TSpinCheckBox(QStringLiteral("推荐定位码在      个内浮动"),
                                      QStringLiteral("FloatCountChk"), *FloatCount);
    auto* baseLabel = new TSpinLabel(QStringLiteral("推荐码的最小错误值:    "),
                                     QStringLiteral("RcMissBaseLbl"), *RcMissBase);

    LargeChk = NewCheckBox(QStringLiteral("推荐大范围40组定位码"), QStringLiteral("LargeChk"));
    MiddleChk = NewCheckBox(QStringLiteral("推荐中范围30组定位码"), QStringLiteral("MiddleChk"));
    SmallChk = NewCheckBox(QStringLiteral("推荐小范围20组定位码"), QStringLiteral("SmallChk"));
    TinyChk = NewCheckBox(QStringLiteral("推荐细范围10组定位码"), QStringLiteral("TinyChk"));
    // Kept for the record's flag but never offered: "应用" always clears it.
    HeadLimitChk =
        NewCheckBox(QStringLiteral("直码的头数限制为0-6"), QStringLiteral("HeadLimitChk"));
    HeadLimitChk->setVisible(false);

    connect(LargeChk, &QCheckBox::clicked, this, &TPrjAttForm::LargeChkClick);
    connect(MiddleChk, &QCheckBox::clicked, this, &TPrjAttForm::MiddleChkClick);
    connect(SmallChk, &QCheckBox::clicked, this, &TPrjAttForm::SmallChkClick);
    connect(TinyChk, &QCheckBox::clicked, this, &TPrjAttForm::TinyChkClick);
    connect(FloatCountChk, &QCheckBox::clicked, this, &TPrjAttForm::FloatCountChkClick);

    auto* group = new QGroupBox(QStringLiteral("基本设置："));
    group->setObjectName(QStringLiteral("BaseGbx"));
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(24);
    int row = 0;
    for (QWidget* left : {static_cast<QWidget*>(targetLabel), static_cast<QWidget*>(missLabel),
                          static_cast<QWidget*>(FloatCountChk), static_cast<QWidget*>(baseLabel)}) {
        grid->addWidget(left, row++, 0);
    }
    row = 0;
    for (QCheckBox* right : {LargeChk, MiddleChk, SmallChk, TinyChk}) {
        grid->addWidget(right, row++, 1);
    }
    grid->addWidget(HeadLimitChk, row, 0);

    OkBt = new QPushButton(QStringLiteral("应用"));
    OkBt->setObjectName(QStringLiteral("OkBt"));
    OkBt->setDefault(true);
    connect(OkBt, &QPushButton::clicked, this, &TPrjAttForm::OkBtClick);
    CancelBt = new QPushButton(QStringLiteral("关闭"));
    CancelBt->setObjectName(QStringLiteral("CancelBt"));
    CancelBt->setAutoDefault(false);
    connect(CancelBt, &QPushButton::clicked, this, &TPrjAttForm::CancelBtClick);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(OkBt);
    buttonRow->addWidget(CancelBt);
    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->addWidget(group);
    mainLayout->addLayout(buttonRow);
}

void TPrjAttForm::SetTargetSeqBounds(int nextPeriod) {
    const int lower = std::max(kTargetSeqMin, nextPeriod - kTargetSeqWindow);
    if (lower == nextPeriod) {
        // Equal bounds do not bound: the spin takes whatever it is given.
        TargetSeq->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    } else {
        TargetSeq->setRange(lower, nextPeriod);
    }
}

void TPrjAttForm::ShowPrjAtt(const TPrjOptions& options) {
    options_ = options;
    TargetSeq->setValue(options_.TargetSeq);
    MissMax->setValue(options_.MissMax);
    LargeChk->setChecked(options_.Large);
    MiddleChk->setChecked(options_.Middle);
    SmallChk->setChecked(options_.Small);
    TinyChk->setChecked(options_.Tiny);
    HeadLimitChk->setChecked(options_.HeadLimit);
    FloatCountChk->setChecked(options_.FloatOn);
    FloatCount->setValue(options_.FloatCount);
    FloatCount->setEnabled(options_.FloatOn);
    RcMissBase->setValue(options_.RcMissBase);
    show();
}

void TPrjAttForm::LargeChkClick() { options_.Large = LargeChk->isChecked(); }

void TPrjAttForm::MiddleChkClick() { options_.Middle = MiddleChk->isChecked(); }

void TPrjAttForm::SmallChkClick() { options_.Small = SmallChk->isChecked(); }

void TPrjAttForm::TinyChkClick() { options_.Tiny = TinyChk->isChecked(); }

void TPrjAttForm::FloatCountChkClick() {
    options_.FloatOn = FloatCountChk->isChecked();
    FloatCount->setEnabled(options_.FloatOn);
}

void TPrjAttForm::OkBtClick() {
    options_.TargetSeq = TargetSeq->value();
    options_.MissMax = MissMax->value();
    options_.Large = LargeChk->isChecked();
    options_.Middle = MiddleChk->isChecked();
    options_.Small = SmallChk->isChecked();
    options_.Tiny = TinyChk->isChecked();
    options_.HeadLimit = false;
    options_.FloatOn = FloatCountChk->isChecked();
    if (options_.FloatOn) {
        options_.FloatCount = FloatCount->value();
    }
    options_.RcMissBase = RcMissBase->value();
    if (OnApply) {
        OnApply(*this);
    }
}

void TPrjAttForm::CancelBtClick() { close(); }

}  // namespace tovarin
