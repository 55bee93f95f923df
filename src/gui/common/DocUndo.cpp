#include "gui/common/DocUndo.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include <tuple>
#include <utility>

namespace tovarin {

TDocUndo::TDocUndo(TCodeNet& codeNet, TPrjMgr& projects, TLedger* ledger, QObject* parent)
    : QObject(parent), undo_(codeNet, projects, ledger) {
    undo_.OnRolledBack = [this] { emit Restored(Selection()); };
    undo_.OnStepsDropped = [this] { emit StepsDropped(); };
}

TDocSelection TDocUndo::Selection() const {
    return CurrentSelection ? CurrentSelection() : TDocSelection{};
}

void TDocUndo::Run(const QString& name, const std::function<void()>& command,
                   const QString& group) {
    const auto steps = [this] {
        return std::tuple(History().UndoCount(), History().RedoCount(), History().UndoName());
    };
    const auto before = steps();
    undo_.Run(name.toStdString(), Selection(), command, group.toStdString());
    if (steps() != before) {
        emit Changed();
    }
}

TDocumentUndo::TPending TDocUndo::Begin(const QString& name) {
    return undo_.Begin(name.toStdString(), Selection());
}

void TDocUndo::Commit(TDocumentUndo::TPending pending) {
    if (undo_.Commit(std::move(pending))) {
        emit Changed();
    }
}

void TDocUndo::Undo() {
    if (!undo_.History().CanUndo()) {
        return;
    }
    const QString name = QString::fromStdString(undo_.History().UndoName());
    const TDocSelection selection = undo_.Undo(Selection());
    emit Restored(selection);
    emit Moved(false, name);
    emit Changed();
}

void TDocUndo::Redo() {
    if (!undo_.History().CanRedo()) {
        return;
    }
    const QString name = QString::fromStdString(undo_.History().RedoName());
    const TDocSelection selection = undo_.Redo(Selection());
    emit Restored(selection);
    emit Moved(true, name);
    emit Changed();
}

void TDocUndo::MarkSaved() { undo_.MarkSaved(); }

void TDocUndo::Reset() {
    undo_.Reset();
    emit Changed();
}

TDocUndo::TActions TDocUndo::MakeActions(QWidget& window) {
    TActions actions{new QAction(&window), new QAction(&window)};
    actions.Undo->setObjectName(QStringLiteral("DocUndo"));
    actions.Redo->setObjectName(QStringLiteral("DocRedo"));
    actions.Undo->setShortcut(QKeySequence(QString::fromLatin1(kUndoKey)));
    actions.Redo->setShortcut(QKeySequence(QString::fromLatin1(kRedoKey)));
    // A fixed tool tip: the menu text names the step, the hint the command.
    actions.Undo->setToolTip(QStringLiteral("撤销"));
    actions.Redo->setToolTip(QStringLiteral("重做"));
    actions.Undo->setStatusTip(QStringLiteral("撤销对文档的最后一次修改"));
    actions.Redo->setStatusTip(QStringLiteral("重做刚才撤销的修改"));
    window.addAction(actions.Undo);
    window.addAction(actions.Redo);
    connect(actions.Undo, &QAction::triggered, this, &TDocUndo::Undo);
    connect(actions.Redo, &QAction::triggered, this, &TDocUndo::Redo);
    auto refresh = [this, actions] {
        actions.Undo->setText(QString::fromStdString(UndoCaption(History().UndoName())));
        actions.Redo->setText(QString::fromStdString(RedoCaption(History().RedoName())));
        actions.Undo->setEnabled(History().CanUndo());
        actions.Redo->setEnabled(History().CanRedo());
    };
    connect(this, &TDocUndo::Changed, actions.Undo, refresh);
    refresh();
    return actions;
}

QString MovedText(bool redone, const QString& stepName) {
    return (redone ? QStringLiteral("已重做：") : QStringLiteral("已撤销：")) + stepName;
}

}  // namespace tovarin
