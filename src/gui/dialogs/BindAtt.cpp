#include "gui/dialogs/BindAtt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Text.h"
#include "core/engine/Code.h"
#include "gui/common/CenterOnScreen.h"

namespace tovarin {

namespace {

constexpr int kClauseDigitsMax = 9;
constexpr int kDigitItems = 10;  // digits 0..9
constexpr int kSumItems = 19;    // head-tail sums 0..18
constexpr int kSumColumns = 3;
constexpr int kLastDigitKind = 6;  // kinds 1..6 list digits, 7..8 sums
constexpr int kClauseKind = 9;

// Keeps a clause edit a string of distinct digits whatever reached it:
// typed keys are already filtered by the dialog, but pasted or dropped text
// is not a key press, so it is run through the same filter here, character
// by character, as if it had been typed into an empty edit.
class TDistinctDigitsValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        std::string kept;
        for (char32_t ch : input.toUcs4()) {
            char32_t key = ch;
            FilterDigitKey(kept, key, false);
            if (key != 0 && key != 8 && kept.size() < kClauseDigitsMax) {
                kept.push_back(static_cast<char>(key));
            }
        }
        const QString filtered = QString::fromStdString(kept);
        if (filtered != input) {
            input = filtered;
            pos = std::min(pos, static_cast<int>(input.size()));
        }
        return Acceptable;
    }
};

QFont DialogFont() {
    QFont font;
    // 宋体 where the system has it; the installed CJK face otherwise.
    font.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSize(9);
    return font;
}

QPushButton* AddButton(QLayout* layout, const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

void InvertSelection(QListWidget& list) {
    for (int i = 0; i < list.count(); ++i) {
        list.item(i)->setSelected(!list.item(i)->isSelected());
    }
}

}  // namespace

TBindAttForm::TBindAttForm(QWidget* owner, const TPrjOptions& context)
    : QDialog(owner), context_(context) {
    setObjectName(QStringLiteral("BindAttForm"));
    setWindowTitle(QStringLiteral("筛码条件"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(false);
    setFont(DialogFont());
    BuildControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    CenterOnScreen(*this);
}

TBindAttForm::~TBindAttForm() = default;

void TBindAttForm::BuildControls() {
    auto* typeLabel = new QLabel(QStringLiteral("条件类型："));
    typeLabel->setObjectName(QStringLiteral("TypeIndexLbl"));
    TypeIndexCbb = new QComboBox;
    TypeIndexCbb->setObjectName(QStringLiteral("TypeIndexCbb"));
    TypeIndexCbb->setEditable(false);
    for (int kind = 1; kind <= kBindKindCount; ++kind) {
        TypeIndexCbb->addItem(QString::fromUtf8(BindKindNames[static_cast<size_t>(kind)]));
    }
    typeLabel->setBuddy(TypeIndexCbb);
    // activated, not currentIndexChanged: ShowBind selects items itself and
    // must not re-enter the kind change.
    connect(TypeIndexCbb, &QComboBox::activated, this, &TBindAttForm::TypeIndexCbbChange);

    PageControl = new QStackedWidget;
    PageControl->setObjectName(QStringLiteral("PageControl"));
    auto* emptyPage = new QWidget;
    emptyPage->setObjectName(QStringLiteral("s0"));
    PageControl->addWidget(emptyPage);
    for (int kind = 1; kind <= kDigitPages; ++kind) {
        PageControl->addWidget(BuildListPage(kind));
    }
    PageControl->addWidget(BuildClausePage());

    IsAssureChk = new QCheckBox(QStringLiteral("设为铁定条件"));
    IsAssureChk->setObjectName(QStringLiteral("IsAssureChk"));

    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    LogicPanel = panel;
    LogicPanel->setObjectName(QStringLiteral("LogicPanel"));
    InterLogiclRd1 = new QRadioButton(QStringLiteral("满足全部条款"));
    InterLogiclRd1->setObjectName(QStringLiteral("InterLogiclRd1"));
    InterLogiclRd2 = new QRadioButton(QStringLiteral("满足任一条款"));
    InterLogiclRd2->setObjectName(QStringLiteral("InterLogiclRd2"));
    InterLogiclRd2->setChecked(true);
    auto* logicLayout = new QHBoxLayout(LogicPanel);
    logicLayout->setContentsMargins(6, 2, 6, 2);
    logicLayout->addWidget(InterLogiclRd1);
    logicLayout->addWidget(InterLogiclRd2);

    // The flags row keeps its place while its controls are hidden, so the
    // fixed-size dialog does not jump between kinds.
    for (QWidget* widget : {static_cast<QWidget*>(IsAssureChk), LogicPanel}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }

    auto* group = new QGroupBox(QStringLiteral("条件设置"));
    group->setObjectName(QStringLiteral("BindGbx"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(PageControl);
    auto* flagsRow = new QHBoxLayout;
    flagsRow->addWidget(IsAssureChk);
    flagsRow->addStretch();
    flagsRow->addWidget(LogicPanel);
    groupLayout->addLayout(flagsRow);

    ApplyBt = new QPushButton(QStringLiteral("应用"));
    ApplyBt->setObjectName(QStringLiteral("ApplyBt"));
    ApplyBt->setDefault(true);
    connect(ApplyBt, &QPushButton::clicked, this, &TBindAttForm::ApplyBtClick);
    CloseBt = new QPushButton(QStringLiteral("关闭"));
    CloseBt->setObjectName(QStringLiteral("CloseBt"));
    CloseBt->setAutoDefault(false);
    connect(CloseBt, &QPushButton::clicked, this, &TBindAttForm::CloseBtClick);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(TypeIndexCbb, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ApplyBt);
    buttonRow->addWidget(CloseBt);

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->addLayout(typeRow);
    mainLayout->addWidget(group);
    mainLayout->addLayout(buttonRow);
}

QWidget* TBindAttForm::BuildListPage(int kind) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("s%1").arg(kind));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("s%1Lbx").arg(kind));
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    const bool sums = kind > kLastDigitKind;
    const int itemCount = sums ? kSumItems : kDigitItems;
    for (int i = 0; i < itemCount; ++i) {
        list->addItem(QString::number(i));
    }
    lists_[static_cast<size_t>(kind)] = list;

    // Every item visible at once: the digits in one column, the sums in
    // three columns filled top to bottom.
    const QFontMetrics metrics(font());
    const int rowHeight = metrics.height() + 4;
    const int frame = 2 * list->frameWidth();
    if (sums) {
        const int rows = (kSumItems + kSumColumns - 1) / kSumColumns;
        const int columnWidth = metrics.horizontalAdvance(QStringLiteral("18")) + 28;
        list->setFlow(QListView::TopToBottom);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
        list->setGridSize(QSize(columnWidth, rowHeight));
        list->setFixedSize(kSumColumns * columnWidth + frame + 2, rows * rowHeight + frame + 2);
    } else {
        list->setGridSize(QSize(metrics.horizontalAdvance(QStringLiteral("0")) + 60, rowHeight));
        list->setFixedSize(metrics.horizontalAdvance(QStringLiteral("0")) + 60 + frame + 2,
                           kDigitItems * rowHeight + frame + 2);
    }

    auto* buttons = new QVBoxLayout;
    QPushButton* all =
        AddButton(buttons, QStringLiteral("全选"), QStringLiteral("s%1AllBt").arg(kind));
    QPushButton* invert =
        AddButton(buttons, QStringLiteral("反选"), QStringLiteral("s%1InvertBt").arg(kind));
    QPushButton* clear =
        AddButton(buttons, QStringLiteral("清空"), QStringLiteral("s%1ClearBt").arg(kind));
    buttons->addStretch();
    connect(all, &QPushButton::clicked, list, &QListWidget::selectAll);
    connect(invert, &QPushButton::clicked, list, [list] { InvertSelection(*list); });
    connect(clear, &QPushButton::clicked, list, &QListWidget::clearSelection);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list, 0, Qt::AlignTop);
    layout->addLayout(buttons);
    layout->addStretch();
    return page;
}

QWidget* TBindAttForm::BuildClausePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("s9"));

    auto makeEdit = [this](const QString& name, const QString& text) {
        auto* edit = new QLineEdit;
        edit->setObjectName(name);
        edit->setMaxLength(kClauseDigitsMax);
        edit->setValidator(new TDistinctDigitsValidator(edit));
        edit->setText(text);
        edit->installEventFilter(this);
        edit->setFixedWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("0")) *
                                (kClauseDigitsMax + 1) +
                            12);
        return edit;
    };
    s9Ed1 = makeEdit(QStringLiteral("s9Ed1"), QStringLiteral("123"));
    S9Ed2 = makeEdit(QStringLiteral("S9Ed2"), QStringLiteral("568"));
    auto* andLabel = new QLabel(QStringLiteral("与"));
    andLabel->setObjectName(QStringLiteral("s9AndLbl"));
    auto* matchLabel = new QLabel(QStringLiteral("相配"));
    matchLabel->setObjectName(QStringLiteral("s9MatchLbl"));
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(s9Ed1);
    editRow->addWidget(andLabel);
    editRow->addWidget(S9Ed2);
    editRow->addWidget(matchLabel);
    editRow->addStretch();

    s9Lbx = new QListWidget;
    s9Lbx->setObjectName(QStringLiteral("s9Lbx"));
    s9Lbx->setSelectionMode(QAbstractItemView::MultiSelection);
    // Room for the longest clause, nine digits on either side.
    s9Lbx->setMinimumWidth(
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("123456789与123456789相配")) + 30);

    auto* buttons = new QVBoxLayout;
    connect(AddButton(buttons, QStringLiteral("增加"), QStringLiteral("s9AddBt")),
            &QPushButton::clicked, this, &TBindAttForm::s9AddBtClick);
    connect(AddButton(buttons, QStringLiteral("删除"), QStringLiteral("s9DelBt")),
            &QPushButton::clicked, this, &TBindAttForm::s9DelBtClick);
    connect(AddButton(buttons, QStringLiteral("清空"), QStringLiteral("s9ClearBt")),
            &QPushButton::clicked, this, &TBindAttForm::s9ClearBtClick);
    buttons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(s9Lbx, 1);
    listRow->addLayout(buttons);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(editRow);
    layout->addLayout(listRow, 1);
    return page;
}

QListWidget& TBindAttForm::ListOfPage(int kind) const { return *lists_[static_cast<size_t>(kind)]; }

void TBindAttForm::ShowBind(const TBaseBind* source) {
    LogicPanel->hide();
    IsAssureChk->hide();
    if (source == nullptr) {
        PageControl->setCurrentIndex(0);
        TypeIndexCbb->setCurrentIndex(-1);
        TypeIndexCbb->setEnabled(false);
        show();
        ApplyBt->setEnabled(false);
        return;
    }

    std::unique_ptr<TBaseBind> copy = CreateBind(source->Kind(), context_);
    if (copy == nullptr) {
        throw Exception("TBindAttForm.LoadBindParam");
    }
    copy->Assign(*source);
    // Released only now: the source may be the working copy itself.
    work_ = std::move(copy);

    const int kind = work_->Kind();
    TypeIndexCbb->setCurrentIndex(kind - 1);
    TypeIndexCbb->setEnabled(true);
    ApplyBt->setEnabled(true);
    PageControl->setCurrentIndex(kind);
    if (work_->MultiClause) {
        LogicPanel->show();
        (work_->AllMatch ? InterLogiclRd1 : InterLogiclRd2)->setChecked(true);
    }
    IsAssureChk->show();
    IsAssureChk->setChecked(work_->Assured);
    LoadBindParam();
}

void TBindAttForm::LoadBindParam() {
    const int kind = work_->Kind();
    const std::vector<std::string> items = SplitCodeList(work_->Param());
    if (kind >= 1 && kind <= kDigitPages) {
        QListWidget& list = ListOfPage(kind);
        list.clearSelection();
        for (const std::string& item : items) {
            const int index = StrToInt(item);
            if (index < 0 || index >= list.count()) {
                throw Exception("List index out of bounds (" + IntToStr(index) + ")");
            }
            list.item(index)->setSelected(true);
        }
    } else if (kind == kClauseKind) {
        s9Lbx->clear();
        for (const std::string& item : items) {
            s9Lbx->addItem(QString::fromStdString(item));
        }
    } else {
        throw Exception("TBindAttForm.LoadBindParam");
    }
    show();
}

void TBindAttForm::TypeIndexCbbChange(int index) {
    const int kind = index + 1;
    PageControl->setCurrentIndex(kind);
    if (work_ == nullptr || work_->Kind() != kind) {
        work_.reset();
        work_ = CreateBind(kind, context_);
    }
    ShowBind(work_.get());
}

void TBindAttForm::ApplyBtClick() {
    if (work_ == nullptr) {
        throw Exception("TBindAttForm.ApplyBtClick");
    }
    work_->Assured = IsAssureChk->isChecked();
    if (work_->MultiClause) {
        work_->AllMatch = InterLogiclRd1->isChecked();
    }

    const int page = PageControl->currentIndex();
    std::vector<std::string> items;
    if (page >= 1 && page <= kDigitPages) {
        const QListWidget& list = ListOfPage(page);
        for (int i = 0; i < list.count(); ++i) {
            if (list.item(i)->isSelected()) {
                items.push_back(list.item(i)->text().toStdString());
            }
        }
    } else if (page == kClauseKind) {
        for (int i = 0; i < s9Lbx->count(); ++i) {
            items.push_back(s9Lbx->item(i)->text().toStdString());
        }
    } else {
        throw Exception("TBindAttForm.ApplyBtClick");
    }
    work_->SetParam(JoinCodeList(items));

    if (OnApply) {
        OnApply(*this);
    }
}

void TBindAttForm::CloseBtClick() { hide(); }

void TBindAttForm::s9AddBtClick() {
    if (s9Ed1->text().isEmpty() || S9Ed2->text().isEmpty()) {
        return;
    }
    s9Lbx->addItem(s9Ed1->text() + QStringLiteral("与") + S9Ed2->text() + QStringLiteral("相配"));
}

void TBindAttForm::s9DelBtClick() {
    for (int i = s9Lbx->count() - 1; i >= 0; --i) {
        if (s9Lbx->item(i)->isSelected()) {
            delete s9Lbx->takeItem(i);
        }
    }
}

void TBindAttForm::s9ClearBtClick() { s9Lbx->clear(); }

bool TBindAttForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == s9Ed1 || watched == S9Ed2)) {
        return NotRepNumPress(*static_cast<QLineEdit*>(watched), *static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

bool TBindAttForm::NotRepNumPress(const QLineEdit& edit, const QKeyEvent& event) const {
    // Shortcuts (copy, paste, select all) and command keys (Enter, Esc, Tab,
    // Delete) are not characters typed into the text; the validator still
    // filters whatever a paste inserts.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const std::string current = edit.text().toStdString();
    for (char32_t key : event.text().toUcs4()) {
        if (key != 8 && (key < 0x20 || key == 0x7f)) {
            return false;
        }
        FilterDigitKey(current, key, false);
        if (key == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace tovarin
