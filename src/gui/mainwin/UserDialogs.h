#pragma once

#include <QString>

#include "gui/common/FrontWindow.h"

class QWidget;

namespace tovarin {

// What a file dialog asks for.
struct TFileDialogSpec {
    QString Title;
    QString Filter;         // Qt's form: "Tovarin文档 (*.lvrn)"
    QString DefaultSuffix;  // without the dot
    QString StartFolder;
    bool MustExist = false;  // open: the file must exist
};

// Everything the main window asks of the user or hands to the desktop goes
// through here, so that tests answer in place of the user. The real boxes
// and dialogs open in front of the window the user is in, whatever parent
// is given.
class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;

    // A question with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with 是, 否 and 取消; Esc and the close button answer 取消.
    virtual TAnswer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question whose two buttons say what they do (恢复 / 不恢复); true
    // for the first. Esc and the close button answer the second.
    virtual bool AskChoice(QWidget* parent, const QString& title, const QString& text,
                           const QString& yesText, const QString& noText) = 0;
    // A message under the application's title with the button OK.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // An error that stopped a command.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // The chosen file, or empty text when the user cancelled.
    virtual QString OpenFileName(QWidget* parent, const TFileDialogSpec& spec) = 0;
    // The same for saving; the dialog asks before overwriting.
    virtual QString SaveFileName(QWidget* parent, const TFileDialogSpec& spec) = 0;
    // A line of text the user types (the output area's find); empty when
    // cancelled.
    virtual QString AskText(QWidget* parent, const QString& title, const QString& label) = 0;
    // The desktop's default action for a file or web address; false when
    // the desktop has no program to start for it.
    virtual bool OpenWithShell(const QString& urlOrPath) = 0;
};

// The real dialogs.
class TQtUserDialogs final : public TUserDialogs {
public:
    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
    TAnswer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) override;
    bool AskChoice(QWidget* parent, const QString& title, const QString& text,
                   const QString& yesText, const QString& noText) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    QString OpenFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    QString SaveFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    QString AskText(QWidget* parent, const QString& title, const QString& label) override;
    bool OpenWithShell(const QString& urlOrPath) override;
};

}  // namespace tovarin
