#include "gui/draws/FindDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovarin {

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent), findText_(new QLineEdit(this)) {
    setObjectName("FindDialog");
    setWindowTitle(QStringLiteral("查找"));
    setModal(false);
    findText_->setObjectName("FindText");

    auto* label = new QLabel(QStringLiteral("查找内容(&N):"), this);
    label->setBuddy(findText_);
    auto* findButton = new QPushButton(QStringLiteral("查找下一个(&F)"), this);
    findButton->setObjectName("FindNextBt");
    findButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("取消"), this);
    cancelButton->setObjectName("CancelBt");

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(findText_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(textRow, 1);
    layout->addLayout(buttons);

    connect(findButton, &QPushButton::clicked, this, &TFindDialog::FindNext);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::hide);
}

QString TFindDialog::FindText() const { return findText_->text(); }

void TFindDialog::SetFindText(const QString& text) { findText_->setText(text); }

}  // namespace tovarin
