#include "gui/dialogs/Options.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValidator>

#include <utility>

#include "core/base/Codec.h"
#include "core/base/Errors.h"

namespace tovarin {
namespace {

struct CheckRow {
    const char* name;
    const char* caption;
    bool TAppOptions::*field;
};

// The switches of the group "基本设置：", top to bottom.
constexpr CheckRow kChecks[] = {
    {"DetailEveryChk", "显示筛选每一步的详细号码", &TAppOptions::DetailEveryChk},
    {"DetailLastChk", "显示筛选最后一步的详细号码", &TAppOptions::DetailLastChk},
    {"SplitByLineChk", "筛选每一步用分隔线隔开", &TAppOptions::SplitByLineChk},
    {"OutPutAppOptChk", "输出选项设置的设置内容", &TAppOptions::OutPutAppOptChk},
    {"OutPutPrjOptChk", "输出方案设置的设置内容", &TAppOptions::OutPutPrjOptChk},
    {"AutoCalcChk", "筛选条件变更后自动计算", &TAppOptions::AutoCalcChk},
    {"AutoVerifyChk", "自动核对是否中奖", &TAppOptions::AutoVerifyChk},
};

// The settings file holds member name and password in GBK; a character that
// GBK has no code for is refused as it is typed, not when the file is saved.
class TGbkValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        try {
            Utf8ToGbk(input.toStdString());
            return Acceptable;
        } catch (const ECodecError&) {
            return Invalid;
        }
    }
};

QLineEdit* AddEdit(QGroupBox& group, QVBoxLayout& rows, const char* name, const char* caption) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QString::fromUtf8(caption), &group);
    auto* edit = new QLineEdit(&group);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setValidator(new TGbkValidator(edit));
    label->setBuddy(edit);
    row->addWidget(label);
    row->addWidget(edit, 1);
    rows.addLayout(row);
    return edit;
}

}  // namespace

TOptionsForm::TOptionsForm(TAppOptions options, QWidget* parent)
    : QDialog(parent), options_(std::move(options)) {
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("选项设置"));
    setModal(true);
    BuildControls();
    FormCreate();
}

QCheckBox* TOptionsForm::AddCheck(const char* name, const char* caption, bool TAppOptions::*field) {
    auto* check = new QCheckBox(QString::fromUtf8(caption));
    check->setObjectName(QString::fromLatin1(name));
    connect(check, &QCheckBox::toggled, this, [this, field](bool on) { options_.*field = on; });
    return check;
}

void TOptionsForm::BuildControls() {
    auto* member = new QGroupBox(QStringLiteral("网站会员设置："), this);
    member->setObjectName(QStringLiteral("MemberGbx"));
    auto* memberRows = new QVBoxLayout(member);
    userNameEd = AddEdit(*member, *memberRows, "userNameEd", "会员名称：");
    userPWEd = AddEdit(*member, *memberRows, "userPWEd", "会员密码：");
    connect(userNameEd, &QLineEdit::textChanged, this,
            [this](const QString& text) { options_.userName = text.toStdString(); });
    connect(userPWEd, &QLineEdit::textChanged, this,
            [this](const QString& text) { options_.userPW = text.toStdString(); });

    auto* basic = new QGroupBox(QStringLiteral("基本设置："), this);
    basic->setObjectName(QStringLiteral("BasicGbx"));
    auto* basicRows = new QVBoxLayout(basic);
    for (const CheckRow& row : kChecks) {
        basicRows->addWidget(AddCheck(row.name, row.caption, row.field));
    }

    // "每行输出       个直码": the spin stands where the caption has its blanks.
    auto* colsRow = new QHBoxLayout;
    auto* before = new QLabel(QStringLiteral("每行输出"), basic);
    before->setObjectName(QStringLiteral("ColsOfLineLbl1"));
    ColsOfLineEd = new QSpinBox(basic);
    ColsOfLineEd->setObjectName(QStringLiteral("ColsOfLineEd"));
    ColsOfLineEd->setRange(kColsOfLineEdSpinRange.min, kColsOfLineEdSpinRange.max);
    // Changed only by its buttons (and the arrow keys that stand for them).
    if (auto* text = ColsOfLineEd->findChild<QLineEdit*>()) {
        text->setReadOnly(true);
    }
    auto* after = new QLabel(QStringLiteral("个直码"), basic);
    after->setObjectName(QStringLiteral("ColsOfLineLbl2"));
    before->setBuddy(ColsOfLineEd);
    colsRow->addWidget(before);
    colsRow->addWidget(ColsOfLineEd);
    colsRow->addWidget(after);
    colsRow->addStretch(1);
    basicRows->addLayout(colsRow);
    connect(ColsOfLineEd, &QSpinBox::valueChanged, this,
            [this](int value) { options_.ColsOfLineEd = value; });

    auto* document = new QGroupBox(QStringLiteral("文档设置："), this);
    document->setObjectName(QStringLiteral("DocGbx"));
    auto* documentRows = new QVBoxLayout(document);
    documentRows->addWidget(
        AddCheck("OpenLastChk", "自动打开上次打开的文档", &TAppOptions::OpenLastChk));
    // "自动保存，间隔：     分钟": the check box's caption, the spin, the unit.
    auto* autoSaveRow = new QHBoxLayout;
    QCheckBox* autoSave = AddCheck("AutoSaveChk", "自动保存，间隔：", &TAppOptions::AutoSaveChk);
    AutoSaveEd = new QSpinBox(document);
    AutoSaveEd->setObjectName(QStringLiteral("AutoSaveEd"));
    AutoSaveEd->setRange(kAutoSaveEdRange.min, kAutoSaveEdRange.max);
    AutoSaveEd->setEnabled(false);
    auto* minutes = new QLabel(QStringLiteral("分钟"), document);
    minutes->setObjectName(QStringLiteral("AutoSaveLbl"));
    autoSaveRow->addWidget(autoSave);
    autoSaveRow->addWidget(AutoSaveEd);
    autoSaveRow->addWidget(minutes);
    autoSaveRow->addStretch(1);
    documentRows->addLayout(autoSaveRow);
    connect(autoSave, &QCheckBox::toggled, AutoSaveEd, &QSpinBox::setEnabled);
    connect(AutoSaveEd, &QSpinBox::valueChanged, this,
            [this](int value) { options_.AutoSaveEd = value; });

    OKBt = new QPushButton(QStringLiteral("确定"), this);
    OKBt->setObjectName(QStringLiteral("OKBt"));
    OKBt->setDefault(true);
    CancelBt = new QPushButton(QStringLiteral("取消"), this);
    CancelBt->setObjectName(QStringLiteral("CancelBt"));
    connect(OKBt, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBt, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBt);
    buttons->addWidget(CancelBt);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(member);
    layout->addWidget(basic);
    layout->addWidget(document);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TOptionsForm::FormCreate() {
    // Each control's handler stores into the copy, so setting the controls
    // must start from a snapshot of it.
    const TAppOptions loaded = options_;
    userNameEd->setText(QString::fromStdString(loaded.userName));
    userPWEd->setText(QString::fromStdString(loaded.userPW));
    for (const CheckRow& row : kChecks) {
        findChild<QCheckBox*>(QString::fromLatin1(row.name))->setChecked(loaded.*row.field);
    }
    findChild<QCheckBox*>(QStringLiteral("OpenLastChk"))->setChecked(loaded.OpenLastChk);
    findChild<QCheckBox*>(QStringLiteral("AutoSaveChk"))->setChecked(loaded.AutoSaveChk);
    ColsOfLineEd->setValue(loaded.ColsOfLineEd);
    options_.ColsOfLineEd = ColsOfLineEd->value();
    AutoSaveEd->setValue(loaded.AutoSaveEd);
    options_.AutoSaveEd = AutoSaveEd->value();
}

bool EditAppOptions(TAppOptions& options, QWidget* parent) {
    TOptionsForm form(options, parent);
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    options = form.Options();
    return true;
}

}  // namespace tovarin
