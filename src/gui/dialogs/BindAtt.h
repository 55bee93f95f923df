#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace tovarin {

// The condition editor (筛码条件). It never touches a project's condition:
// it edits a working copy of its own, and the owner takes that copy back
// when OnApply is raised. Not modal; created once and kept.
class TBindAttForm : public QDialog {
    Q_OBJECT

public:
    // Every working copy is built on a copy of context, so the dialog does
    // not depend on the lifetime of the owner's record. The kind selector is
    // filled here from the kind-name table (item i is kind code i + 1).
    TBindAttForm(QWidget* owner, const TPrjOptions& context);
    ~TBindAttForm() override;

    // Loads a copy of source (nullptr: no condition) and shows the dialog.
    void ShowBind(const TBaseBind* source);

    // The working copy, or nullptr before the first condition was loaded.
    // The owner reads it on OnApply: Kind, Assured, AllMatch, Param.
    const TBaseBind* WorkBind() const { return work_.get(); }

    // Raised by "应用" after the working copy has been updated; may be unset.
    std::function<void(TBindAttForm&)> OnApply;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kDigitPages = 8;  // pages s1..s8 hold a number list

    void BuildControls();
    QWidget* BuildListPage(int kind);
    QWidget* BuildClausePage();

    void LoadBindParam();
    void TypeIndexCbbChange(int index);
    void ApplyBtClick();
    void CloseBtClick();
    void s9AddBtClick();
    void s9DelBtClick();
    void s9ClearBtClick();
    // The key filter of both clause edits; true when the key is swallowed.
    bool NotRepNumPress(const QLineEdit& edit, const QKeyEvent& event) const;

    QListWidget& ListOfPage(int kind) const;

    TPrjOptions context_;
    std::unique_ptr<TBaseBind> work_;

    QComboBox* TypeIndexCbb = nullptr;
    QStackedWidget* PageControl = nullptr;
    std::array<QListWidget*, kDigitPages + 1> lists_{};  // index = kind code; [0] unused
    QLineEdit* s9Ed1 = nullptr;
    QLineEdit* S9Ed2 = nullptr;
    QListWidget* s9Lbx = nullptr;
    QCheckBox* IsAssureChk = nullptr;
    QWidget* LogicPanel = nullptr;
    QRadioButton* InterLogiclRd1 = nullptr;
    QRadioButton* InterLogiclRd2 = nullptr;
    QPushButton* ApplyBt = nullptr;
    QPushButton* CloseBt = nullptr;
};

}  // namespace tovarin
