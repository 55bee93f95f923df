#pragma once

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/settings/AppOptions.h"
#include "core/app/AppInfo.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPrinter;
class QSplitter;
class QToolBar;
class QToolButton;

namespace tovarin {

class TBindAttForm;
class TCodeNet;
class TCodesForm;
class TOutputArea;
class TPrjAttForm;
class TPrjListView;
class TPrjMgr;
class TSeqPrj;
class TUserDialogs;

// The main window: it owns the document (draw table and project list), the
// settings record, the output area and every command.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    struct TSetup {
        // The folder of the settings file and the working document; the
        // executable's folder when empty.
        QString AppDir;
        // Who answers the window's questions; the real dialogs when null.
        std::shared_ptr<TUserDialogs> Dialogs;
        // Start maximised (tests keep the design size).
        bool Maximise = true;
    };

    explicit TMainForm(TSetup setup);
    ~TMainForm() override;

    // For the commands that other units add to this window.
    QAction* FindAction(const QString& objectName) const;
    QToolButton* FindToolButton(const QString& objectName) const;
    QMenu* FindMenu(const QString& objectName) const;
    TSeqPrj* SelectedPrj(bool showMessage = true);
    // The projects of the selected lines, in view order.
    std::vector<TSeqPrj*> SelectedPrjs() const;
    TOutputArea& Output() const { return *OutPutMemo; }
    TAppOptions& AppOptions() { return appOptions_; }
    TAppInfoRec& AppInfo() { return appInfo_; }
    TCodeNet& CodeNet() const { return *codeNet_; }
    TPrjMgr& PrjMgr() const { return *prjMgr_; }
    TCodesForm& CodesForm() const { return *codesForm_; }
    TBindAttForm& BindAttForm() const { return *bindAttForm_; }
    TPrjAttForm& PrjAttForm() const { return *prjAttForm_; }
    TPrjListView& ListView() const { return *ListView_; }
    QListWidget& BindChkLbx() const { return *BindChkLbx_; }
    TUserDialogs& Dialogs() const { return *dialogs_; }
    QLabel& StatusPanel(int index) const { return *statusPanels_.at(static_cast<size_t>(index)); }
    // Panel 0 shows hints and progress; the text is painted at once.
    void SetStatusText(int panel, const QString& text);
    // The document counts as modified while any change is unsaved.
    bool DocModified() const;
    void SetDocModified();
    // The index of the selected condition line, or -1.
    int SelectedBindIndex() const;
    // Runs a command; an error it raises is shown in the error box and ends
    // only that command.
    void RunGuarded(const std::function<void()>& command);
    void ShowError(const QString& text);

    void RefreshWindowState();
    void ClearWorkspace();
    void LoadDocument(const QString& fileName);
    bool SaveDocument(bool saveAs);
    void WriteDocument(const QString& fileName);
    // A bare document name resolves in the program folder.
    QString ResolveDocPath(const QString& fileName) const;

    // Part of the document side of the lists.
    int AddPrjItem(const QString& text, TSeqPrj& project);
    void UpdatePrjItem(int index, TSeqPrj& project);
    void RebuildBindList();

    // Command handlers.
    void FileMenuNewClick();
    void FileMenuOpenClick();
    void FileMenuSaveClick() { SaveDocument(false); }
    void FileMenuSaveAsClick() { SaveDocument(true); }
    void FileMenuExportClick();
    void FileMenuPrintClick();
    void FileMenuPrintSetupClick();
    void FileMenuCodesEditClick();
    void FileMenuOptionsClick();
    void FileMenuExitClick() { close(); }
    void ProjectMenuCreateClick();
    void ProjectMenuDelClick();
    void ProjectMenuClearClick();
    void ProjectMenuCalcOneClick();
    void ProjectMenuCalcAllClick();
    void ProjectMenuAttribClick();
    void BindKindItemClick(int kind);
    void EditMenuDelClick();
    void EditMenuClearClick();
    void EditMenuSelAllClick();
    void EditMenuSelInvClick();
    void EditMenuUpClick();
    void EditMenuDownClick();
    void EditMenuAttribClick();
    void TextMenuFindClick();
    void HelpMenuContentsClick();
    void HelpMenuHomePageClick();
    void ListViewColumnClick(int column);
    void BindAttApply();
    void PrjAttApply();

    // The printer that page setup configures and printing uses.
    QPrinter& Printer();

signals:
    // Every project and the draw table are about to go (new, open, close).
    void WorkspaceClearing();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void BuildCommands();
    void BuildToolBar();
    void BuildBindKindMenu();
    void ConnectLists();
    // A menu entry; the hint's short half is the tool tip, the part after
    // "|" the status line. Without a handler the entry stays unconnected
    // for the unit that brings its action.
    QAction* AddCommand(QMenu& menu, const char* name, const char* caption, const char* key,
                        const char* hint, std::function<void()> handler);
    std::function<void()> Handler(void (TMainForm::*handler)());
    QToolButton* AddToolButton(const char* actionName, const char* caption, const char* icon,
                               const char* hint = nullptr);
    void PopUpAtCursor(QMenu& menu);
    bool QuerySaveModified();
    void Calc(bool oneBind);
    void AutoCalc();
    void BindChkLbxClick();
    void BindChkLbxClickCheck(int row);
    void ListViewSelectionChanged();
    void SelectBindLine(int row);
    void SetBindLine(int row, int bindIndex);
    void SyncMoveCommands();
    void HideEditors();
    void StartUp();
    void OpenStartupDocument();
    void LoadReadme();

    TAppInfoRec appInfo_;
    TAppOptions appOptions_;
    std::shared_ptr<TUserDialogs> dialogs_;
    std::unique_ptr<TCodesForm> codesForm_;
    TCodeNet* codeNet_ = nullptr;
    std::unique_ptr<TPrjMgr> prjMgr_;
    std::unique_ptr<TPrjAttForm> prjAttForm_;
    std::unique_ptr<TBindAttForm> bindAttForm_;
    std::unique_ptr<QPrinter> printer_;
    int SortColumn = 0;
    int netListener_ = 0;
    bool maximise_ = true;

    QToolBar* MainTbr = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    TPrjListView* ListView_ = nullptr;
    QListWidget* BindChkLbx_ = nullptr;
    TOutputArea* OutPutMemo = nullptr;
    std::array<QLabel*, 3> statusPanels_{};
    QMenu* FileMenu = nullptr;
    QMenu* ProjectMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* TextMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QMenu* BindKindMenu = nullptr;
};

}  // namespace tovarin
