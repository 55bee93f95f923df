#include "gui/mainwin/Main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>

#include <exception>
#include <utility>

#include "core/app/BundledExample.h"
#include "core/app/Recovery.h"
#include "core/base/Codec.h"
#include "core/base/DateTime.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"
#include "core/base/ProgramDir.h"
#include "core/base/Random.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "core/history/DocumentUndo.h"
#include "core/ledger/Ledger.h"
#include "core/ledger/LedgerSection.h"
#include "core/settings/Settings.h"
#include "core/sources/SourceList.h"
#include "gui/common/CenterOnScreen.h"
#include "gui/common/DocUndo.h"
#include "gui/common/ErrorText.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/BindAtt.h"
#include "gui/dialogs/Options.h"
#include "gui/dialogs/PrjAtt.h"
#include "gui/draws/CodeNetGrid.h"
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/AnalysesActions.h"
#include "gui/mainwin/BacktestActions.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/DownloadActions.h"
#include "gui/mainwin/HelpForm.h"
#include "gui/mainwin/LedgerActions.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjLists.h"
#include "gui/mainwin/UserDialogs.h"
#include "gui/sources/SourcesDlg.h"
#include "gui/sources/UpdateCommand.h"
#include "gui/stats/StatsForm.h"

namespace tovarin {

namespace {

// Text files of the program are GB2312; a file saved by a modern editor in
// UTF-8 reads as well.
QString DecodeTextFile(const std::string& bytes) {
    QString utf8 = QString::fromUtf8(bytes);
    if (utf8.toUtf8() == QByteArray::fromStdString(bytes)) {
        return utf8;
    }
    try {
        return Q(GbkToUtf8(bytes));
    } catch (const ECodecError&) {
        return utf8;
    }
}

}  // namespace

TMainForm::TMainForm(TSetup setup)
    : dialogs_(setup.Dialogs ? std::move(setup.Dialogs) : std::make_shared<TQtUserDialogs>()),
      maximise_(setup.Maximise),
      dataDir_(setup.DataDir.isEmpty()
                   ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                   : setup.DataDir),
      autoSaveMinute_(setup.AutoSaveMinute) {
    setObjectName(QStringLiteral("MainForm"));
    // The recommendation draws random codes.
    Randomize();
    appInfo_ = MakeAppInfo(setup.AppDir.isEmpty() ? ProgramDir() : S(setup.AppDir));
    QApplication::setApplicationName(Q(appInfo_.ProductName));
    StartUp();
    analyses_ = &InstallAnalyses(*this);
    InstallDownload(*this);
    InstallBacktest(*this);
    ledgerActions_ = &InstallLedger(*this);
}

TMainForm::~TMainForm() {
    delete ledgerActions_;
    ledgerActions_ = nullptr;
    // The undo history hears the document's models: it goes before them.
    delete care_;
    care_ = nullptr;
    statsForm_.reset();
    // The document goes first, then the window that holds the
    // draw table, then the list.
    if (codeNet_ != nullptr && netListener_ != 0) {
        codeNet_->Unsubscribe(netListener_);
    }
    prjMgr_->Unsubscribe(prjListener_);
    ClearWorkspace();
    // The lists hear the project list until it is gone.
    delete lists_;
    lists_ = nullptr;
    bindAttForm_.reset();
    prjAttForm_.reset();
    ledgerSection_.reset();
    prjMgr_.reset();
    codesForm_.reset();
}

void TMainForm::StartUp() {
    QFont formFont(QStringLiteral("SimSun"));
    formFont.setPixelSize(14);
    setFont(formFont);
    resize(763, 538);
    setMinimumSize(300, 300);
    CenterOnScreen(*this);

    // The draw-table window and its table.
    codesForm_ = std::make_unique<TCodesForm>(this);
    codeNet_ = &codesForm_->CodeNet();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        codesForm_->resize(422, area.height() - 50);
        codesForm_->move((area.width() - codesForm_->width()) / 2, 0);
    }
    netListener_ = codeNet_->Subscribe([this](TNetChange) { ShowModifiedState(); });
    prjMgr_ = std::make_unique<TPrjMgr>(*codeNet_);
    ledger_ = std::make_unique<TLedger>();
    ledgerSection_ = std::make_unique<TLedgerSection>(*ledger_, *prjMgr_);
    care_ = new TDocumentCare(*this, dataDir_, autoSaveMinute_);
    TDocUndo& undo = care_->Undo();
    undo.CurrentSelection = [this] { return CurrentSelection(); };
    connect(&undo, &TDocUndo::Restored, this, &TMainForm::ShowRestoredDocument);
    connect(&undo, &TDocUndo::Moved, this, &TMainForm::ShowMovedStep);
    connect(&undo, &TDocUndo::Changed, this, &TMainForm::ShowModifiedState);
    codesForm_->SetUndo(undo);
    connect(codesForm_.get(), &TCodesForm::Reported, this, [this](const QString& text) {
        SetStatusText(0, ledgerActions_ ? ledgerActions_->WithSettlementNews(text) : text);
    });
    update_ = new TUpdateCommand(*codesForm_, SourcesFilePath(appInfo_.AppDir), this);
    codesForm_->UpdateRunner = [this] { update_->Run(); };

    BuildLayout();
    BuildCommands();
    BuildToolBar();
    ConnectLists();

    setWindowTitle(Q(appInfo_.ProductName));
    QDir::setCurrent(Q(appInfo_.AppDir));
    RunGuarded([this] {
        std::vector<std::string> problems;
        appOptions_ = tovarin::LoadAppOptions(SettingsFilePath(appInfo_.AppDir), problems);
        for (const std::string& problem : problems) {
            dialogs_->ShowMessage(this, Q(problem));
        }
    });
    prjAttForm_ = std::make_unique<TPrjAttForm>(this);
    prjAttForm_->OnApply = [this](TPrjAttForm&) { RunGuarded([this] { PrjAttApply(); }); };
    // The editor's conditions are built on a record of a new project.
    {
        TSeqPrj blank(*codeNet_);
        bindAttForm_ = std::make_unique<TBindAttForm>(this, blank.Options());
    }
    bindAttForm_->OnApply = [this](TBindAttForm&) { RunGuarded([this] { BindAttApply(); }); };
    ClearWorkspace();
    OpenStartupDocument();
    care_->OfferRecovery();
    care_->ApplyOptions();
    RefreshWindowState();
    BuildBindKindMenu();
    if (maximise_) {
        QTimer::singleShot(0, this,
                           [this] { setWindowState(windowState() | Qt::WindowMaximized); });
    }
}

void TMainForm::OpenStartupDocument() {
    std::string lastDoc;
    try {
        lastDoc = StoredLastDoc(SettingsFilePath(appInfo_.AppDir));
    } catch (const std::exception&) {
        // An unreadable settings file was reported when it was loaded.
    }
    const QString name = Q(ChooseStartupDocument(appOptions_.OpenLastChk, lastDoc,
                                                 appOptions_.LastDoc, appInfo_.AppDir));
    try {
        ClearWorkspace();
        LoadDocument(name);
        appInfo_.DocFileName = S(name);
        appInfo_.DocModified = false;
    } catch (const std::exception&) {
        dialogs_->ShowMessage(this, Q(AutoOpenFailedText(S(name))));
        // The new-document command on an unmodified document: it would
        // also drop the recovery copy of an unnamed document, which start-up
        // has yet to offer.
        RunGuarded([this] { ClearWorkspace(); });
    }
    care_->DocumentReplaced();
}

void TMainForm::SetStatusText(int panel, const QString& text) {
    QLabel& label = StatusPanel(panel);
    label.setText(text);
    label.repaint();
}

bool TMainForm::DocModified() const {
    return appInfo_.DocModified || prjMgr_->Modified() || codeNet_->Modified();
}

void TMainForm::ShowModifiedState() {
    StatusPanel(1).setText(QString::fromUtf8(ModifiedStateText(DocModified())));
    setWindowTitle(Q(CaptionText(appInfo_, DocModified(), GameTag(codeNet_->Game()))));
}

TDocSelection TMainForm::CurrentSelection() const {
    const TSeqPrj* project = lists_->SelectedPrj();
    return {project != nullptr ? prjMgr_->IndexOfPrj(project) : -1, lists_->SelectedBindIndex(),
            codesForm_->Grid().View().CursorTableRow()};
}

void TMainForm::ShowRestoredDocument(const TDocSelection& selection) {
    // The restored projects are new objects: nothing may keep showing the old.
    prjAttForm_->hide();
    bindAttForm_->hide();
    appInfo_.DocModified = false;
    if (selection.Project >= 0 && selection.Project < prjMgr_->PrjCount()) {
        lists_->SelectOnlyLine(lists_->LineOf(prjMgr_->GetSeqPrj(selection.Project)));
        lists_->SelectBindLine(selection.Bind);
    }
    RefreshWindowState();
}

void TMainForm::ShowMovedStep(bool redone, const QString& stepName) {
    SetStatusText(0, MovedText(redone, stepName));
    if (redone && (stepName == QString::fromUtf8(kDelPrjsStep) ||
                   stepName == QString::fromUtf8(kClearPrjsStep))) {
        HideEditors();
    }
}

void TMainForm::RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        dialogs_->ShowError(this, ErrorText(error));
    }
}

void TMainForm::RefreshWindowState() {
    const bool hasSelection = OutPutMemo->textCursor().hasSelection();
    actions_.TextMenuUndo->setEnabled(OutPutMemo->document()->isUndoAvailable());
    actions_.TextMenuCut->setEnabled(hasSelection);
    actions_.TextMenuCopy->setEnabled(hasSelection);
    actions_.TextMenuDelete->setEnabled(hasSelection);
    actions_.TextMenuPaste->setEnabled(OutPutMemo->canPaste());
    ShowModifiedState();
}

void TMainForm::LoadReadme() {
    const std::string path = "Readme.txt";
    if (!FileExists(path)) {
        return;
    }
    try {
        OutPutMemo->setPlainText(DecodeTextFile(ReadWholeFile(path))
                                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } catch (const EInOutError&) {
        // An unreadable start-up text leaves the area as it was.
    }
}

void TMainForm::ClearWorkspace() {
    StatusPanel(2).clear();
    appInfo_.DocFileName.clear();
    prjMgr_->ClearPrjs();
    ledger_->Replace(TLedger());
    prjMgr_->ClearModified();
    codeNet_->ClearModified();
    appInfo_.DocModified = false;
    OutPutMemo->setFont(font());
    LoadReadme();
    RefreshWindowState();
}

QString TMainForm::ResolveDocPath(const QString& fileName) const {
    return Q(AbsolutePath(S(fileName), appInfo_.AppDir));
}

void TMainForm::LoadDocument(const QString& fileName) {
    QDir::setCurrent(Q(appInfo_.AppDir));
    // The lists fill in one batch as the project list is replaced.
    const std::string path = S(ResolveDocPath(fileName));
    tovarin::LoadDocument(path, *codeNet_, *prjMgr_);
    if (IsBundledExample(path)) {
        OutPutMemo->appendPlainText(QString::fromUtf8(kBundledExampleNote));
    }
    if (prjMgr_->PrjCount() > 0) {
        lists_->SelectOnlyLine(0);
    }
    prjMgr_->ClearModified();
    codeNet_->ClearModified();
    appInfo_.DocModified = false;
    RefreshWindowState();
}

void TMainForm::WriteDocument(const QString& fileName) {
    QDir::setCurrent(Q(appInfo_.AppDir));
    SetStatusText(0, QString::fromUtf8(kSavingText));
    tovarin::SaveDocument(S(ResolveDocPath(fileName)), *codeNet_, *prjMgr_);
    SetStatusText(0, QString::fromUtf8(kSavedText));
    RefreshWindowState();
}

bool TMainForm::SaveDocument(bool saveAs) {
    const std::string previousName = appInfo_.DocFileName;
    if (saveAs || appInfo_.DocFileName.empty()) {
        TFileDialogSpec spec;
        spec.Title = QStringLiteral("文档另存为");
        spec.Filter = Q(appInfo_.DocTitle) + QStringLiteral(" (*") + Q(appInfo_.DocExt) + ")";
        spec.DefaultSuffix = Q(appInfo_.DocExt.substr(1));
        spec.StartFolder = Q(appInfo_.AppDir);
        const QString chosen = dialogs_->SaveFileName(this, spec);
        if (chosen.isEmpty()) {
            return false;
        }
        appInfo_.DocFileName = S(chosen);
    }
    try {
        WriteDocument(Q(appInfo_.DocFileName));
    } catch (const EFileTooLarge& error) {
        dialogs_->ShowMessage(this, ErrorText(error));
        return false;
    } catch (const std::exception&) {
        dialogs_->ShowMessage(this, QString::fromUtf8(kSaveErrorText));
        return false;
    }
    appInfo_.DocModified = false;
    care_->DocumentSaved(previousName.empty() ? std::string() : S(ResolveDocPath(Q(previousName))));
    RefreshWindowState();
    return true;
}

bool TMainForm::QuerySaveModified() {
    if (!DocModified()) {
        return true;
    }
    switch (dialogs_->AskYesNoCancel(this, QString::fromUtf8(kSaveQuestionTitle),
                                     QString::fromUtf8(kSaveQuestion))) {
        case TAnswer::Yes:
            return SaveDocument(false);
        case TAnswer::No:
            return true;
        case TAnswer::Cancel:
            break;
    }
    return false;
}

void TMainForm::FileMenuNewClick() {
    if (!QuerySaveModified()) {
        return;
    }
    care_->DocumentLeft();
    ClearWorkspace();
    care_->DocumentReplaced();
}

void TMainForm::FileMenuOpenClick() {
    if (!QuerySaveModified()) {
        return;
    }
    TFileDialogSpec spec;
    spec.Filter = Q(appInfo_.DocTitle) + QStringLiteral(" (*") + Q(appInfo_.DocExt) + ")";
    spec.DefaultSuffix = Q(appInfo_.DocExt.substr(1));
    spec.StartFolder = Q(appInfo_.AppDir);
    spec.MustExist = true;
    const QString chosen = dialogs_->OpenFileName(this, spec);
    if (!chosen.isEmpty()) {
        care_->DocumentLeft();
        OpenDocumentFile(chosen);
    }
    RefreshWindowState();
}

bool TMainForm::OpenDocumentFile(const QString& fileName) {
    bool opened = false;
    try {
        ClearWorkspace();
        LoadDocument(fileName);
        appInfo_.DocFileName = S(fileName);
        care_->DocumentOpened();
        opened = true;
    } catch (const std::exception&) {
        dialogs_->ShowMessage(this, QString::fromUtf8(kOpenErrorText));
        ClearWorkspace();
    }
    care_->DocumentReplaced();
    RefreshWindowState();
    return opened;
}

void TMainForm::OpenRecentDocument(const std::string& path) {
    // An entry that cannot be opened, for any reason, leaves the list.
    if (!OpenNamedDocument(Q(path))) {
        care_->ForgetRecent(path);
    }
}

bool TMainForm::OpenNamedDocument(const QString& fileName) {
    if (!FileExists(S(fileName))) {
        dialogs_->ShowMessage(this, QString::fromUtf8(kOpenErrorText));
        return false;
    }
    if (!QuerySaveModified()) {
        return true;
    }
    care_->DocumentLeft();
    return OpenDocumentFile(fileName);
}

void TMainForm::FileMenuExportClick() {
    TFileDialogSpec spec;
    spec.Title = QStringLiteral("将当前显示区的号码数据导出到文本文件");
    spec.Filter = QStringLiteral("文本文件 (*.txt)");
    spec.DefaultSuffix = QStringLiteral("txt");
    spec.StartFolder = Q(appInfo_.AppDir);
    const QString chosen = dialogs_->SaveFileName(this, spec);
    if (chosen.isEmpty()) {
        return;
    }
    std::string text;
    for (const std::string& line : OutPutMemo->Lines()) {
        text += Utf8ToGbk(line) + "\r\n";
    }
    WriteFileAtomically(S(chosen), text);
}

QPrinter& TMainForm::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

void TMainForm::FileMenuPrintClick() {
    QPrinter& printer = Printer();
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // Without a printer the output goes into a PDF file the user names.
        TFileDialogSpec spec;
        spec.Title = QStringLiteral("打印到PDF文件");
        spec.Filter = QStringLiteral("PDF文件 (*.pdf)");
        spec.DefaultSuffix = QStringLiteral("pdf");
        spec.StartFolder = Q(appInfo_.AppDir);
        const QString chosen = dialogs_->SaveFileName(this, spec);
        if (chosen.isEmpty()) {
            return;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(chosen);
    }
    printer.setDocName(Q(PrintJobTitle(appInfo_, Now())));
    OutPutMemo->print(&printer);
}

void TMainForm::FileMenuPrintSetupClick() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
}

void TMainForm::FileMenuOptionsClick() {
    if (EditAppOptions(appOptions_, this)) {
        care_->ApplyOptions();
        const std::string warning = tovarin::SaveAppOptions(appOptions_, appInfo_.DocFileName,
                                                            SettingsFilePath(appInfo_.AppDir));
        if (!warning.empty()) {
            dialogs_->ShowMessage(this, Q(warning));
        }
        RefreshWindowState();
    }
}

// The import lives in the draw-table window; its result reaches this
// window's status bar through Reported.
void TMainForm::FileMenuImportTableClick() { codesForm_->CodeMenuImportTableClick(); }

void TMainForm::FileMenuUpdateClick() { update_->Run(); }

void TMainForm::FileMenuSourcesClick() {
    EditSources(SourcesFilePath(appInfo_.AppDir), codeNet_->Game(), this);
}

void TMainForm::FileMenuCodesEditClick() {
    if (codesForm_->isMinimized()) {
        codesForm_->showNormal();
    } else if (codesForm_->isHidden()) {
        codesForm_->show();
    } else {
        codesForm_->hide();
    }
}

void TMainForm::HelpMenuContentsClick() {
    const QString path = Q(appInfo_.AppDir) + QStringLiteral("/readme.txt");
    if (dialogs_->OpenWithShell(path)) {
        return;
    }
    // A desktop without a program for text files: the help opens here.
    std::string bytes;
    try {
        bytes = ReadWholeFile(S(path));
    } catch (const std::exception&) {
        dialogs_->ShowMessage(this, QStringLiteral("找不到帮助文件 %1").arg(path));
        return;
    }
    if (!helpForm_) {
        helpForm_ = new THelpForm(this);
    }
    helpForm_->SetText(DecodeTextFile(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    helpForm_->show();
    helpForm_->raise();
    helpForm_->activateWindow();
}

void TMainForm::HelpMenuHomePageClick() {
    if (!dialogs_->OpenWithShell(Q(appInfo_.WebAddress))) {
        dialogs_->ShowMessage(
            this,
            QStringLiteral("无法启动浏览器。请在浏览器中打开 %1").arg(Q(appInfo_.WebAddress)));
    }
}

void TMainForm::TextMenuFindClick() {
    OutPutMemo->FindText(
        dialogs_->AskText(this, QStringLiteral("查找"), QStringLiteral("查找内容：")));
}

bool TMainForm::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::StatusTip:
            StatusPanel(0).setText(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        case QEvent::WindowActivate:
            RefreshWindowState();
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!QuerySaveModified()) {
        event->ignore();
        return;
    }
    care_->DocumentLeft();
    RunGuarded([this] {
        const std::string warning = tovarin::SaveAppOptions(appOptions_, appInfo_.DocFileName,
                                                            SettingsFilePath(appInfo_.AppDir));
        if (!warning.empty()) {
            dialogs_->ShowMessage(this, Q(warning));
        }
    });
    codesForm_->hide();
    prjAttForm_->hide();
    bindAttForm_->hide();
    event->accept();
}

void TMainForm::Calc(bool oneBind) {
    TSeqPrj* const selected = lists_->SelectedPrj();
    if (selected == nullptr) {
        return;
    }
    const int bindIndex = lists_->SelectedBindIndex();
    if (oneBind && bindIndex < 0) {
        return;
    }
    TSeqPrj& project = *selected;
    // A verification note of an earlier run must not stand beside this one.
    SetStatusText(0, QString());
    QFont outputFont = font();
    outputFont.setPointSize(11);
    OutPutMemo->setFont(outputFont);
    if (oneBind) {
        project.CalcOne(bindIndex, appOptions_, OutPutMemo);
    } else {
        project.CalcAll(appOptions_, OutPutMemo);
    }
    OutPutMemo->SetReportOwner(&project);
    // A run leaves no condition selected.
    lists_->RebuildBindList();
    if (appOptions_.AutoVerifyChk) {
        analyses_->VerifyAfterRun();
    }
    StatusPanel(2).setText(Q(FilterResultText(project.ResultCodes().ValidCount())));
    emit RunFinished(&project, !oneBind);
}

void TMainForm::AutoCalc() {
    if (appOptions_.AutoCalcChk) {
        ProjectMenuCalcAllClick();
    }
}

}  // namespace tovarin
