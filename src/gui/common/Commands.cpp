#include "gui/common/Commands.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

namespace tovarin {

namespace {

struct THintHalves {
    QString Tip;
    QString Status;
};

THintHalves SplitHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? THintHalves{hint, hint} : THintHalves{hint.left(bar), hint.mid(bar + 1)};
}

}  // namespace

void SetHint(QAction& action, const QString& hint) {
    const THintHalves halves = SplitHint(hint);
    action.setToolTip(halves.Tip);
    action.setStatusTip(halves.Status);
}

void SetHint(QWidget& widget, const QString& hint) {
    const THintHalves halves = SplitHint(hint);
    widget.setToolTip(halves.Tip);
    widget.setStatusTip(halves.Status);
}

QAction* MakeAction(QObject& owner, const TCommandSpec& spec) {
    auto* action = new QAction(QString::fromUtf8(spec.Caption), &owner);
    action->setObjectName(QString::fromUtf8(spec.Name));
    if (spec.Key != nullptr) {
        action->setShortcut(QKeySequence(QString::fromUtf8(spec.Key)));
    }
    SetHint(*action, QString::fromUtf8(spec.Hint));
    return action;
}

QToolButton& AddToolButton(QToolBar& bar, QAction& action, const QString& caption,
                           const QString& iconPath, const QString& hint) {
    action.setIconText(caption);
    action.setIcon(QIcon(iconPath));
    // The menus show their entries as they always did, without icons.
    action.setIconVisibleInMenu(false);
    bar.addAction(&action);
    auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(&action));
    button->setObjectName(action.objectName() + QStringLiteral("Bt"));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumSize(35, 37);
    if (!hint.isEmpty()) {
        SetHint(*button, hint);
        // The button takes the action's hint again on every change of the
        // action (after this connection's turn comes, as Qt tells the
        // button first).
        QObject::connect(&action, &QAction::changed, button,
                         [button, hint] { SetHint(*button, hint); });
    }
    return *button;
}

}  // namespace tovarin
