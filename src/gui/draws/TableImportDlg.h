#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

#include "core/draws/TableImport.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QTableView;

namespace tovarin {

class TCodeNet;

// What an update from the player's sources adds to the preview: why
// sources could not be read or disagree, listed first in red, whether that
// forbids the import (sources that disagree), and that an update only
// appends.
struct TPreviewNotes {
    QStringList Problems;
    bool Blocking = false;
    bool AppendOnly = false;
};

// The preview of a draw-history import: the draws read (label, date,
// digits), their count, the lines that could not be read and why, and the
// choice between appending after the table's last draws and replacing the
// table, with what that choice would do: draws whose label the table holds
// with other digits, and missing labels, which need the player's consent.
// Nothing changes here; the caller applies the chosen mode. The table and
// the draws read are the caller's and outlive the dialog.
class TTableImportDlg : public QDialog {
    Q_OBJECT

public:
    TTableImportDlg(const TCodeNet& net, const TTableRead& read, const QString& source,
                    QWidget* parent = nullptr, TPreviewNotes notes = {});

    TImportMode Mode() const;
    // What the chosen mode would do.
    const TImportPlan& Plan() const;
    // Whether the import can be confirmed: a mode chosen and allowed, no
    // conflicting lines or labels, nothing the notes forbid, a place to
    // append, consent to missing labels, and no more rows afterwards than a
    // table holds.
    bool CanConfirm() const;

    QTableView& DrawView() const { return *drawView_; }
    QListWidget& SkippedList() const { return *skippedList_; }
    QRadioButton& AppendRb() const { return *appendRb_; }
    QRadioButton& ReplaceRb() const { return *replaceRb_; }
    QLabel& OutcomeLabel() const { return *outcomeLbl_; }
    QListWidget& GapList() const { return *gapList_; }
    QCheckBox& AllowGapsChk() const { return *allowGapsChk_; }
    QDialogButtonBox& Buttons() const { return *buttons_; }

private:
    void ShowOutcome();
    // The table's rows after the import in the chosen mode.
    size_t RowsAfter() const;
    // The chosen mode's conflicting labels and missing labels.
    void ListPlan();

    const TCodeNet& net_;
    const TTableRead& read_;
    TPreviewNotes notes_;
    TImportPlan appendPlan_;
    TImportPlan replacePlan_;
    QTableView* drawView_ = nullptr;
    QListWidget* skippedList_ = nullptr;
    QRadioButton* appendRb_ = nullptr;
    QRadioButton* replaceRb_ = nullptr;
    QLabel* outcomeLbl_ = nullptr;
    QListWidget* gapList_ = nullptr;
    QCheckBox* allowGapsChk_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace tovarin
