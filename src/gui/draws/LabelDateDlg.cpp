#include "gui/draws/LabelDateDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/draws/LabelRules.h"
#include "core/draws/LawNet.h"

namespace tovarin {

TLabelDateDlg::TLabelDateDlg(const TCodeNet& net, int row, QWidget* parent)
    : QDialog(parent), net_(net), row_(row) {
    setObjectName("LabelDateDlg");
    setWindowTitle(QStringLiteral("修改期号和日期"));
    const TSeq& draw = net.GetSeq(row);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("第%1期的开奖号码%2")
                                     .arg(net.FirstPeriod() + row)
                                     .arg(QString::fromStdString(NumbersText(draw, net.Game()))),
                                 this));
    auto* form = new QFormLayout;
    labelEdit_ = new QLineEdit(QString::fromStdString(draw.GetLabel().Text()), this);
    labelEdit_->setObjectName("LabelEdit");
    labelEdit_->setPlaceholderText(QStringLiteral("如2026150，可以不填"));
    labelEdit_->setMaxLength(TLabel::MaxDigits);
    form->addRow(QStringLiteral("期号(&L)："), labelEdit_);
    dateEdit_ = new QLineEdit(QString::fromStdString(draw.GetDate().Text()), this);
    dateEdit_->setObjectName("DateEdit");
    dateEdit_->setPlaceholderText(QStringLiteral("如2026-12-06，可以不填"));
    form->addRow(QStringLiteral("开奖日期(&D)："), dateEdit_);
    layout->addLayout(form);

    errorLbl_ = new QLabel(this);
    errorLbl_->setObjectName("ErrorLbl");
    errorLbl_->setStyleSheet(QStringLiteral("color: red"));
    errorLbl_->setWordWrap(true);
    layout->addWidget(errorLbl_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
}

QString TLabelDateDlg::Check() {
    const std::string labelText = labelEdit_->text().trimmed().toStdString();
    const std::string dateText = dateEdit_->text().trimmed().toStdString();
    label_ = TLabel();
    date_ = TDrawDate();
    if (!labelText.empty()) {
        const std::optional<TLabel> label = TLabel::Parse(labelText);
        if (!label) {
            return QStringLiteral("期号应为1到9位数字。");
        }
        label_ = *label;
        const std::optional<int> other = FindLabelRow(net_.Rows(), label_);
        if (other && *other != row_) {
            return QStringLiteral("第%1期的期号已经是%2。")
                .arg(net_.FirstPeriod() + *other)
                .arg(QString::fromStdString(net_.GetSeq(*other).GetLabel().Text()));
        }
    }
    if (!dateText.empty()) {
        const std::optional<TDrawDate> date = TDrawDate::Parse(dateText);
        if (!date) {
            return QStringLiteral("开奖日期“%1”不对，应写成2026-12-06这样的日期。")
                .arg(QString::fromStdString(dateText));
        }
        date_ = *date;
    }
    return {};
}

void TLabelDateDlg::accept() {
    const QString error = Check();
    errorLbl_->setText(error);
    if (error.isEmpty()) {
        QDialog::accept();
    }
}

}  // namespace tovarin
