#pragma once

#include <QMainWindow>

#include "core/draws/LawNet.h"
#include "core/draws/TableImport.h"

class QAction;
class QFileDialog;
class QMenu;
class QToolBar;

namespace tovarin {

class TCodeNetGrid;
class TFindDialog;

// The draw-table editor window: the grid with a toolbar and a context menu
// for import, export, rows, selections and the digit search. It owns the
// draw table; the main window reaches the table through CodeNet().
class TCodesForm : public QMainWindow {
    Q_OBJECT

public:
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
    QString ImportTable(const TTableRead& read, const QString& source);
    // The newest draw in view with the cursor on the line below it, now or,
    // while the window is hidden, when it is next shown.
    void ShowNewestDraw();
    void CodeMenuExportClick();
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

signals:
    // An import changed the table; the text says how.
    void TableImported(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildCommands();
    void BuildDialogs();
    // Runs a command; an error it raises is shown in the standard error box.
    void Guarded(void (TCodesForm::*command)());

    // Declared before the grid: the grid's view lets go of the table when
    // the grid is destroyed, so the table must outlive it.
    TCodeNet codeNet_;
    TCodeNetGrid* grid_ = nullptr;
    QToolBar* mainTbr_ = nullptr;
    QMenu* codeMenu_ = nullptr;
    QFileDialog* openDialog_ = nullptr;
    QFileDialog* saveDialog_ = nullptr;
    QFileDialog* tableDialog_ = nullptr;
    bool showNewestPending_ = false;
    TFindDialog* findDialog_ = nullptr;
};

}  // namespace tovarin
