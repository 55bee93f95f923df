#pragma once

#include <QDialog>

#include <functional>

#include "core/engine/PrjOptions.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace tovarin {

// The project settings dialog (方案属性设置). It edits a working copy of a
// project's settings record; the owner takes the record back when OnApply
// is raised. Not modal; created once and kept.
class TPrjAttForm : public QDialog {
    Q_OBJECT

public:
    explicit TPrjAttForm(QWidget* owner);

    // The target spin's bounds before a load: nextPeriod (the period after
    // the last draw) down to 20 below it, but not below 1. A value the spin
    // is given later is clamped into them, unless they are equal.
    void SetTargetSeqBounds(int nextPeriod);

    // Copies options into the working record, shows it and shows the dialog.
    void ShowPrjAtt(const TPrjOptions& options);

    // The working record; the owner reads it on OnApply.
    const TPrjOptions& PrjOptions() const { return options_; }

    // Raised by "应用" after the working record has been updated; may be unset.
    std::function<void(TPrjAttForm&)> OnApply;

private:
    void BuildControls();

    void LargeChkClick();
    void MiddleChkClick();
    void SmallChkClick();
    void TinyChkClick();
    void FloatCountChkClick();
    void OkBtClick();
    void CancelBtClick();

    TPrjOptions options_;

    QSpinBox* TargetSeq = nullptr;
    QSpinBox* MissMax = nullptr;
    QCheckBox* FloatCountChk = nullptr;
    QSpinBox* FloatCount = nullptr;
    QSpinBox* RcMissBase = nullptr;
    QCheckBox* LargeChk = nullptr;
    QCheckBox* MiddleChk = nullptr;
    QCheckBox* SmallChk = nullptr;
    QCheckBox* TinyChk = nullptr;
    QCheckBox* HeadLimitChk = nullptr;
    QPushButton* OkBt = nullptr;
    QPushButton* CancelBt = nullptr;
};

}  // namespace tovarin
