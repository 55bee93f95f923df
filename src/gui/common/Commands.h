#pragma once

#include <QString>

class QAction;
class QObject;
class QToolBar;
class QToolButton;
class QWidget;

namespace tovarin {

// One line of a window's command table: what a menu entry or a tool button
// shows. The table of each window lists these in display order.
struct TCommandSpec {
    const char* Name;     // the action's object name; nullptr for a separator
    const char* Caption;  // menu text, or the button's text
    const char* Key;      // key sequence text ("Ctrl+N"); nullptr for none
    const char* Hint;     // "short|long": the tool tip, then the status line
};

// The hint's short half is the tool tip, the part after "|" the status line
// (a hint without "|" is both).
void SetHint(QAction& action, const QString& hint);
void SetHint(QWidget& widget, const QString& hint);

// A new action of the owner as the line describes it, unconnected.
QAction* MakeAction(QObject& owner, const TCommandSpec& spec);

// Puts the action on the tool bar with its caption under the icon; the
// button takes the action's name with "Bt" and, when one is given, a hint of
// its own that it keeps through later changes of the action.
QToolButton& AddToolButton(QToolBar& bar, QAction& action, const QString& caption,
                           const QString& iconPath, const QString& hint = {});

}  // namespace tovarin
