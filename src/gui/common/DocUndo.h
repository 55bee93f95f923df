#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "core/history/DocumentUndo.h"

class QAction;
class QWidget;

namespace tovarin {

// The document's undo history as the windows share it: every command that
// changes the document runs through Run, each window that offers 撤销 and
// 重做 gets its own pair of actions, and a state taken back is announced,
// so that every window shows the restored document.
class TDocUndo : public QObject {
    Q_OBJECT

public:
    // The keys sit beside the specified ones: Ctrl+Z stays the output
    // area's own text undo.
    static constexpr const char* kUndoKey = "Ctrl+Alt+Z";
    static constexpr const char* kRedoKey = "Ctrl+Alt+Y";

    // ledger: the document's prediction ledger, when it has one.
    TDocUndo(TCodeNet& codeNet, TPrjMgr& projects, TLedger* ledger = nullptr,
             QObject* parent = nullptr);

    // Where the user is, for a step to return to; the main window answers.
    std::function<TDocSelection()> CurrentSelection;

    // Runs a command as one step named name (see TDocumentUndo::Run); a
    // group joins edits into one step, the digits typed into one draw.
    void Run(const QString& name, const std::function<void()>& command, const QString& group = {});
    // For a command that ends later (the download): its step begins.
    TDocumentUndo::TPending Begin(const QString& name);
    void Commit(TDocumentUndo::TPending pending);

    void Undo();
    void Redo();
    // After a save, and after new and open.
    void MarkSaved();
    void Reset();

    const TUndoHistory& History() const { return undo_.History(); }

    struct TActions {
        QAction* Undo;
        QAction* Redo;
    };
    // 撤销 and 重做 for a window, with their keys working while it is
    // active; their texts name the steps and they are enabled only while
    // there is a step.
    TActions MakeActions(QWidget& window);

signals:
    // A state was taken back or forward; the selection it had.
    void Restored(const tovarin::TDocSelection& selection);
    // After Restored: the step undone (redone false) or redone, by name.
    void Moved(bool redone, const QString& stepName);
    // The steps changed (a step was made, taken or forgotten).
    void Changed();
    // The memory cap dropped the oldest steps, told once per document.
    void StepsDropped();

private:
    TDocSelection Selection() const;

    TDocumentUndo undo_;
};

// What the status bars say after undo and redo: "已撤销：导入开奖数据",
// "已重做：清空方案".
QString MovedText(bool redone, const QString& stepName);

}  // namespace tovarin
