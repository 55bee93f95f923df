#pragma once

#include <QDialog>

#include "core/draws/DrawLabel.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace tovarin {

class TCodeNet;

// 修改期号和日期: a draw's label and date as the player corrects them. Both
// may be left empty; OK is taken only when both are good and no other draw
// has the label, and the dialog then holds what to store. Nothing changes
// here; the caller stores the result.
class TLabelDateDlg : public QDialog {
    Q_OBJECT

public:
    TLabelDateDlg(const TCodeNet& net, int row, QWidget* parent = nullptr);

    TLabel Label() const { return label_; }
    TDrawDate Date() const { return date_; }

    QLineEdit& LabelEdit() const { return *labelEdit_; }
    QLineEdit& DateEdit() const { return *dateEdit_; }
    QLabel& ErrorLabel() const { return *errorLbl_; }
    QDialogButtonBox& Buttons() const { return *buttons_; }

    void accept() override;

private:
    // The error text for what is typed, empty when it can be stored.
    QString Check();

    const TCodeNet& net_;
    int row_;
    TLabel label_;
    TDrawDate date_;
    QLineEdit* labelEdit_ = nullptr;
    QLineEdit* dateEdit_ = nullptr;
    QLabel* errorLbl_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace tovarin
