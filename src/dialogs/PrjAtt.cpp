#include "dialogs/PrjAtt.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include "dialogs/CenterOnScreen.h"

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

QString CaptionText(const QWidget& caption) {
    if (const auto* label = qobject_cast<const QLabel*>(&caption)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&caption)) {
        return button->text();
    }
    return {};
}

// Where the caption's text begins inside the widget.
int TextLeft(const QWidget& caption) {
    if (const auto* box = qobject_cast<const QCheckBox*>(&caption)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
    }
    if (const auto* label = qobject_cast<const QLabel*>(&caption)) {
        return label->contentsRect().left() + label->margin();
    }
    return 0;
}

// The captions are written with a run of blanks where their spin sits
// ("计算目标为第         期"). The spin is laid over that run as a child of the
// caption; when the run is narrower than the spin its blanks are widened by
// word spacing, so the caption's text stays exactly as written.
class TSpinInCaption final : public QObject {
public:
    TSpinInCaption(QWidget& caption, QSpinBox& spin) : QObject(&caption), caption_(caption), spin_(spin) {
        const QString text = CaptionText(caption);
        const QRegularExpressionMatch run = QRegularExpression(QStringLiteral(" {2,}")).match(text);
        runStart_ = run.hasMatch() ? static_cast<int>(run.capturedStart()) : static_cast<int>(text.size());
        runLength_ = run.hasMatch() ? static_cast<int>(run.capturedLength()) : 0;

        spin.setParent(&caption);
        const int needed = spin.width() + 6;
        QFont font = caption.font();
        const int runWidth = RunWidth(font);
        if (runLength_ > 0 && runWidth < needed) {
            font.setWordSpacing(static_cast<qreal>(needed - runWidth) / runLength_ + 1);
            caption.setFont(font);
        }
        caption.setMinimumHeight(spin.sizeHint().height() + 2);
        caption.installEventFilter(this);
        Place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &caption_ &&
            (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
             event->type() == QEvent::StyleChange)) {
            Place();
        }
        return false;
    }

private:
    int RunWidth(const QFont& font) const {
        return QFontMetrics(font).horizontalAdvance(CaptionText(caption_).mid(runStart_, runLength_));
    }

    void Place() {
        const QFontMetrics metrics(caption_.font());
        const int runLeft =
            TextLeft(caption_) + metrics.horizontalAdvance(CaptionText(caption_).left(runStart_));
        const int height = spin_.sizeHint().height();
        spin_.setGeometry(runLeft + (RunWidth(caption_.font()) - spin_.width()) / 2,
                          (caption_.height() - height) / 2, spin_.width(), height);
    }

    QWidget& caption_;
    QSpinBox& spin_;
    int runStart_ = 0;
    int runLength_ = 0;
};

QLabel* NewLabel(const QString& caption, const QString& name) {
    auto* label = new QLabel(caption);
    label->setObjectName(name);
    return label;
}

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

    QLabel* targetLabel = NewLabel(QStringLiteral("计算目标为第         期"), QStringLiteral("TargetSeqLbl"));
    QLabel* missLabel =
        NewLabel(QStringLiteral("筛选号码最多容错      个条件"), QStringLiteral("MissMaxLbl"));
    FloatCountChk = NewCheckBox(QStringLiteral("推荐定位码在      个内浮动"), QStringLiteral("FloatCountChk"));
    QLabel* baseLabel = NewLabel(QStringLiteral("推荐码的最小错误值:    "), QStringLiteral("RcMissBaseLbl"));
    new TSpinInCaption(*targetLabel, *TargetSeq);
    new TSpinInCaption(*missLabel, *MissMax);
    new TSpinInCaption(*FloatCountChk, *FloatCount);
    new TSpinInCaption(*baseLabel, *RcMissBase);

    LargeChk = NewCheckBox(QStringLiteral("推荐大范围40组定位码"), QStringLiteral("LargeChk"));
    MiddleChk = NewCheckBox(QStringLiteral("推荐中范围30组定位码"), QStringLiteral("MiddleChk"));
    SmallChk = NewCheckBox(QStringLiteral("推荐小范围20组定位码"), QStringLiteral("SmallChk"));
    TinyChk = NewCheckBox(QStringLiteral("推荐细范围10组定位码"), QStringLiteral("TinyChk"));
    // Kept for the record's flag but never offered: "应用" always clears it.
    HeadLimitChk = NewCheckBox(QStringLiteral("直码的头数限制为0-6"), QStringLiteral("HeadLimitChk"));
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

void TPrjAttForm::LargeChkClick() {
    options_.Large = LargeChk->isChecked();
}

void TPrjAttForm::MiddleChkClick() {
    options_.Middle = MiddleChk->isChecked();
}

void TPrjAttForm::SmallChkClick() {
    options_.Small = SmallChk->isChecked();
}

void TPrjAttForm::TinyChkClick() {
    options_.Tiny = TinyChk->isChecked();
}

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

void TPrjAttForm::CancelBtClick() {
    close();
}

}  // namespace tovarin
