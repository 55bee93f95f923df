#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace tovarin {

// The window a new message box or file dialog belongs to: the one the user
// is in (a modal dialog first, then the active window, the always-on-top
// tool windows included), else the given window. A box parented to any
// other window may open behind the one in front and leave the program
// looking frozen.
QWidget* FrontWindow(QWidget* fallback);

// While an always-on-top window is shown, a dialog stays on top as well.
void StayOverOwner(QWidget& dialog);

// A message box in front of the user's window; the pressed button.
QMessageBox::StandardButton RunMessageBox(QMessageBox::Icon icon, QWidget* fallback,
                                          const QString& title, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton);

enum class TAnswer { Yes, No, Cancel };

// A question with 是, 否 and 取消; Esc and the close button answer 取消.
TAnswer AskYesNoCancel(QWidget* fallback, const QString& title, const QString& text);

}  // namespace tovarin
