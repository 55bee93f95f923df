#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/AppInfo.h"
#include "core/settings/AppOptions.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QSplitter;
class QToolBar;

namespace tovarin {

class TAnalysesActions;
class TBindAttForm;
class TDocumentCare;
class THelpForm;
class TLedger;
class TLedgerActions;
class TLedgerSection;
struct TDocSelection;
class TCodeNet;
class TCodesForm;
class TOutputArea;
class TPrjAttForm;
class TPrjLists;
class TPrjMgr;
class TSeqPrj;
class TStatsForm;
class TUpdateCommand;
class TUserDialogs;

// The window's commands, one typed member per action. To add a menu entry,
// add its action here and its line to the command table in MainCommands.cpp.
struct TMainActions {
    QAction* FileMenuNew = nullptr;
    QAction* FileMenuOpen = nullptr;
    QAction* FileMenuSave = nullptr;
    QAction* FileMenuSaveAs = nullptr;
    // The document's undo and redo; their texts name the step.
    QAction* DocUndo = nullptr;
    QAction* DocRedo = nullptr;
    QAction* FileMenuExport = nullptr;
    QAction* FileMenuPrint = nullptr;
    QAction* FileMenuPrintSetup = nullptr;
    QAction* FileMenuCodesDown = nullptr;
    QAction* FileMenuImportTable = nullptr;
    QAction* FileMenuUpdate = nullptr;
    QAction* FileMenuSources = nullptr;
    QAction* FileMenuCodesEdit = nullptr;
    QAction* FileMenuStats = nullptr;
    QAction* FileMenuOptions = nullptr;
    QAction* FileMenuExit = nullptr;
    QAction* ProjectMenuCreate = nullptr;
    QAction* ProjectMenuDel = nullptr;
    QAction* ProjectMenuClear = nullptr;
    QAction* ProjectMenuDouble = nullptr;
    QAction* ProjectMenuSingle = nullptr;
    QAction* ProjectMenuHead = nullptr;
    QAction* ProjectMenuSmallBig = nullptr;
    QAction* ProjectMenuMissStat = nullptr;
    QAction* ProjectMenuMissView = nullptr;
    QAction* ProjectMenuVerify = nullptr;
    QAction* ProjectMenuContrast = nullptr;
    QAction* ProjectMenuBaseCode = nullptr;
    QAction* ProjectMenuCalcOne = nullptr;
    QAction* ProjectMenuCalcAll = nullptr;
    QAction* ProjectMenuBacktest = nullptr;
    QAction* ProjectMenuRecord = nullptr;
    QAction* ProjectMenuAutoRecord = nullptr;  // checkable
    QAction* ProjectMenuLedger = nullptr;
    QAction* ProjectMenuAttrib = nullptr;
    QAction* EditMenuAdd = nullptr;  // opens the kind submenu
    QAction* EditMenuDel = nullptr;
    QAction* EditMenuClear = nullptr;
    QAction* EditMenuSelAll = nullptr;
    QAction* EditMenuSelInv = nullptr;
    QAction* EditMenuUp = nullptr;
    QAction* EditMenuDown = nullptr;
    QAction* EditMenuAttrib = nullptr;
    QAction* TextMenuUndo = nullptr;
    QAction* TextMenuCut = nullptr;
    QAction* TextMenuCopy = nullptr;
    QAction* TextMenuPaste = nullptr;
    QAction* TextMenuDelete = nullptr;
    QAction* TextMenuSelAll = nullptr;
    QAction* TextMenuClear = nullptr;
    QAction* TextMenuFind = nullptr;
    QAction* HelpMenuContents = nullptr;
    QAction* HelpMenuHomePage = nullptr;
};

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
        // The user's data folder, home of the recovery copies; the
        // desktop's application data folder when empty.
        QString DataDir;
        // How long one minute of AutoSaveEd lasts (tests shorten it).
        std::chrono::milliseconds AutoSaveMinute = std::chrono::minutes(1);
    };

    explicit TMainForm(TSetup setup);
    ~TMainForm() override;

    const TMainActions& Actions() const { return actions_; }
    TPrjLists& Lists() const { return *lists_; }
    // The project of the only selected line; without one the user is told
    // to choose a project first when showMessage is set.
    TSeqPrj* SelectedPrj(bool showMessage = true);
    TOutputArea& Output() const { return *OutPutMemo; }
    TAppOptions& AppOptions() { return appOptions_; }
    TAppInfoRec& AppInfo() { return appInfo_; }
    TCodeNet& CodeNet() const { return *codeNet_; }
    TPrjMgr& PrjMgr() const { return *prjMgr_; }
    TLedger& Ledger() const { return *ledger_; }
    TCodesForm& CodesForm() const { return *codesForm_; }
    TUpdateCommand& UpdateCommand() const { return *update_; }
    TBindAttForm& BindAttForm() const { return *bindAttForm_; }
    TPrjAttForm& PrjAttForm() const { return *prjAttForm_; }
    TUserDialogs& Dialogs() const { return *dialogs_; }
    TDocumentCare& Care() const { return *care_; }
    QLabel& StatusPanel(int index) const { return *statusPanels_.at(static_cast<size_t>(index)); }
    // Panel 0 shows hints and progress; the text is painted at once.
    void SetStatusText(int panel, const QString& text);
    // The document counts as modified while any change is unsaved.
    bool DocModified() const;
    // Runs a command; an error it raises is shown in the error box and ends
    // only that command.
    void RunGuarded(const std::function<void()>& command);

    void RefreshWindowState();
    void ClearWorkspace();
    void LoadDocument(const QString& fileName);
    // The recent-documents entry (its path as the list holds it): the save
    // question, then the file; one that cannot be opened leaves the list.
    void OpenRecentDocument(const std::string& path);
    // A document named from outside (the recent list, the command line):
    // the save question, then the file; a file that is not there gives the
    // open error and keeps the open document. False when the file could not
    // be opened; declining at the save question is no failure.
    bool OpenNamedDocument(const QString& fileName);
    // The lists show the document anew after undo, redo or a recovery,
    // with the selection the state had.
    void ShowRestoredDocument(const TDocSelection& selection);
    // After undo or redo of a step: the status line names it, and a redo
    // leaves the windows as the command itself did.
    void ShowMovedStep(bool redone, const QString& stepName);
    // A bare document name resolves in the program folder.
    QString ResolveDocPath(const QString& fileName) const;

    // The printer that page setup configures and printing uses.
    QPrinter& Printer();

signals:
    // A filtering run of the project ended: the whole run (筛选) or one
    // condition's (单筛).
    void RunFinished(tovarin::TSeqPrj* project, bool whole);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The steps that hide the editors of the projects they remove.
    static constexpr const char* kDelPrjsStep = "删除方案";
    static constexpr const char* kClearPrjsStep = "清空方案";

    void BuildLayout();
    void BuildCommands();
    void BuildToolBar();
    void BuildBindKindMenu();
    void ConnectLists();
    void PopUpAtCursor(QMenu& menu);
    void ShowModifiedState();

    bool QuerySaveModified();
    bool SaveDocument(bool saveAs);
    void WriteDocument(const QString& fileName);
    TDocSelection CurrentSelection() const;
    // Opens a document file in place of the open one (after the save
    // question); a file that cannot be read gives the open error and an
    // empty document, and false.
    bool OpenDocumentFile(const QString& fileName);
    void Calc(bool oneBind);
    void AutoCalc();
    void SyncMoveCommands();
    void HideEditors();
    void StartUp();
    void OpenStartupDocument();
    void LoadReadme();

    // Command handlers.
    void FileMenuNewClick();
    void FileMenuOpenClick();
    void FileMenuSaveClick() { SaveDocument(false); }
    void FileMenuSaveAsClick() { SaveDocument(true); }
    void FileMenuExportClick();
    void FileMenuPrintClick();
    void FileMenuPrintSetupClick();
    void FileMenuCodesEditClick();
    void FileMenuImportTableClick();
    void FileMenuUpdateClick();
    void FileMenuSourcesClick();
    void FileMenuStatsClick();
    void FileMenuOptionsClick();
    void FileMenuExitClick() { close(); }
    void ProjectMenuCreateClick();
    void ProjectMenuDelClick();
    void ProjectMenuClearClick();
    void ProjectMenuCalcOneClick() { Calc(true); }
    void ProjectMenuCalcAllClick() { Calc(false); }
    void ProjectMenuAttribClick();
    // A new condition of the kind, with the parameter when one is given.
    void BindKindItemClick(int kind, const std::string& param = {});
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
    void ProjectSelectionChanged();
    void BindChkLbxClick();
    void BindChkLbxClickCheck(int row, bool checked);
    void BindAttApply();
    void PrjAttApply();

    TAppInfoRec appInfo_;
    TAppOptions appOptions_;
    std::shared_ptr<TUserDialogs> dialogs_;
    std::unique_ptr<TCodesForm> codesForm_;
    TUpdateCommand* update_ = nullptr;  // a child of the window
    TCodeNet* codeNet_ = nullptr;
    std::unique_ptr<TPrjMgr> prjMgr_;
    // The ledger of recorded predictions and its section of the document.
    std::unique_ptr<TLedger> ledger_;
    std::unique_ptr<TLedgerSection> ledgerSection_;
    std::unique_ptr<TPrjAttForm> prjAttForm_;
    std::unique_ptr<TBindAttForm> bindAttForm_;
    // Made on first use; it listens to the draw table, so it goes before it.
    std::unique_ptr<TStatsForm> statsForm_;
    std::unique_ptr<QPrinter> printer_;
    int netListener_ = 0;
    int prjListener_ = 0;
    bool maximise_ = true;
    QString dataDir_;
    std::chrono::milliseconds autoSaveMinute_;
    TDocumentCare* care_ = nullptr;
    TAnalysesActions* analyses_ = nullptr;
    // Listens to the ledger and the draw table: it goes before them.
    TLedgerActions* ledgerActions_ = nullptr;
    // Made when the desktop cannot open the help file itself.
    QPointer<THelpForm> helpForm_;
    TMainActions actions_;

    QToolBar* MainTbr = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    TPrjLists* lists_ = nullptr;
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
