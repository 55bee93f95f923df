#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

#include "core/draws/LawNet.h"
#include "core/draws/TableImport.h"
#include "gui/draws/TableImportDlg.h"

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QToolBar;

namespace tovarin {

class TCodeNetGrid;
class TDocUndo;
class TFindDialog;

// The draw-table editor window: the grid with a toolbar and a context menu
// for import, export, rows, selections and the digit search. It owns the
// draw table; the main window reaches the table through CodeNet().
class TCodesForm : public QMainWindow {
    Q_OBJECT

public:
    // The width with the grid's standard columns; wider columns add theirs.
    static constexpr int FixedWidth = 495;

    explicit TCodesForm(QWidget* parent = nullptr);
    ~TCodesForm() override;

    TCodeNet& CodeNet() { return codeNet_; }
    TCodeNetGrid& Grid() { return *grid_; }
    // The file dialogs are made on first use: building them costs more than
    // the rest of the window, and most sessions never import or export.
    QFileDialog& OpenDialog();
    QFileDialog& SaveDialog();
    QFileDialog& TableDialog();
    QFileDialog& ExportTableDialog();
    TFindDialog& FindDialog() { return *findDialog_; }
    QMenu& CodeMenu() { return *codeMenu_; }

    void CodeMenuImportClick();
    // Draw history from a web site's or a spreadsheet's file, or from the
    // clipboard: read, previewed, then appended or put in place of the table.
    void CodeMenuImportTableClick();
    void CodeMenuPasteClick();
    QString ImportTableFile(const QString& path);
    // Shows the preview of these draws and applies them when the user
    // confirms; returns the status text, empty when nothing changed.
    QString ImportTable(const TTableRead& read, const QString& source, TPreviewNotes notes = {});
    // 更新开奖数据 runs UpdateRunner, which the main window sets: the
    // update needs the player's list of sources, which this window does not
    // know.
    void CodeMenuUpdateClick();
    std::function<void()> UpdateRunner;
    // Puts rows built aside in place of the table as one step of the history
    // and shows the newest draw.
    void ApplyRows(const char* stepName, std::vector<TSeq> rows);
    // Says text in this window's status line and the main window's.
    void Report(const std::string& text);
    void CodeMenuExportClick();
    // The draws with their labels and dates as a CSV file the import reads
    // back.
    void CodeMenuExportTableClick();
    // 修改期号和日期 of the draw under the cursor, one step of the history.
    void CodeMenuLabelDateClick();
    void CodeMenuDelClick();
    void CodeMenuClearClick();
    void CodeMenuAddClick();
    void CodeMenuInsertClick();
    void CodeMenuSelNoneClick();
    void CodeMenuSelAllClick();
    void CodeMenuSelInvertClick();
    void CodeMenuFindClick();
    void CodeMenuNextClick();
    void EditMenuCloseBtClick();
    // 游戏: switches the table's game as one step of the history; a draw the
    // game cannot hold refuses it with the error box.
    void CodeMenuGameClick(TGame game);
    QAction& GameAction(TGame game) { return *gameActions_[static_cast<size_t>(game)]; }

    // Scrolls to the newest draw with the cursor on the line below it, ready
    // for the next draw; done whenever the window is shown and after the
    // table is replaced (import, download, undo).
    void ShowNewestDraw();

    // Makes every change of the draws a step of the document's history and
    // offers 撤销 and 重做 in the context menu and by their keys.
    void SetUndo(TDocUndo& undo);

signals:
    // What a command that removed or replaced many draws did, for the main
    // window's status line as well as this window's.
    void Reported(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildCommands();
    void BuildDialogs();
    void BuildGameMenu();
    // The game's entry checked and the game in the title.
    void FollowGame();
    // Runs a command; an error it raises is shown in the standard error box.
    void Guarded(void (TCodesForm::*command)());
    // A change of the draws, as one step of the history when there is one.
    void Change(const char* stepName, const std::function<void()>& change);
    // Shows the cursor's draw in the status bar and fits the width to the
    // grid's columns.
    void FollowGrid();

    // Declared before the grid: the grid's view lets go of the table when
    // the grid is destroyed, so the table must outlive it.
    TCodeNet codeNet_;
    TCodeNetGrid* grid_ = nullptr;
    QToolBar* mainTbr_ = nullptr;
    QMenu* codeMenu_ = nullptr;
    std::array<QAction*, 3> gameActions_{};
    QFileDialog* openDialog_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
    QFileDialog* tableDialog_ = nullptr;
    QFileDialog* exportTableDialog_ = nullptr;
    QLabel* rowInfoLbl_ = nullptr;
    TFindDialog* findDialog_ = nullptr;
    TDocUndo* undo_ = nullptr;
};

}  // namespace tovarin
