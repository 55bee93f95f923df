#pragma once

#include <QDialog>

#include "core/settings/AppOptions.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tovarin {

// The options dialog (选项设置). It works on a copy of the settings record:
// every control writes through to the copy at once, and the owner takes the
// copy back only when the dialog closes with "确定".
class TOptionsForm : public QDialog {
    Q_OBJECT

public:
    explicit TOptionsForm(TAppOptions options, QWidget* parent = nullptr);

    // The copy as the controls have left it.
    const TAppOptions& Options() const { return options_; }

private:
    void BuildControls();
    QCheckBox* AddCheck(const char* name, const char* caption, bool TAppOptions::*field);
    // Sets every control from the copy; a value outside a spin's range is
    // stored clamped.
    void FormCreate();

    TAppOptions options_;

    QLineEdit* userNameEd = nullptr;
    QLineEdit* userPWEd = nullptr;
    QSpinBox* ColsOfLineEd = nullptr;
    QSpinBox* AutoSaveEd = nullptr;
    QPushButton* OKBt = nullptr;
    QPushButton* CancelBt = nullptr;
};

// The options command: shows the dialog modally on a copy of options and,
// when it is closed with "确定", copies the dialog's record over options
// and answers true. The caller then saves the settings file.
bool EditAppOptions(TAppOptions& options, QWidget* parent);

}  // namespace tovarin
