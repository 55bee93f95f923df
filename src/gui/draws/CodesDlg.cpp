#include "gui/draws/CodesDlg.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/draws/TableExport.h"
#include "core/history/DocumentUndo.h"
#include "gui/common/Commands.h"
#include "gui/common/DocUndo.h"
#include "gui/common/ErrorText.h"
#include "gui/common/FrontWindow.h"
#include "gui/draws/CodeNetGrid.h"
#include "gui/draws/FindDialog.h"
#include "gui/draws/LabelDateDlg.h"
#include "gui/draws/TableImportDlg.h"

// The icons live in a static library; nothing would pull their resource
// object in without this call (and it must be made outside any namespace).
static void InitDrawsResources() { Q_INIT_RESOURCE(draws); }

namespace tovarin {
namespace {

constexpr const char* kNotFoundText = "未找到";

// The tool bar's action and the context menu's entry of each command, in
// the shared command-table format; both run the same handler.
struct Command {
    void (TCodesForm::*handler)();
    TCommandSpec button;
    const char* icon;
    bool buttonVisible;
    TCommandSpec item;     // Name nullptr: no menu entry
    bool separatorBefore;  // in the menu
};

const Command Commands[] = {
    {&TCodesForm::CodeMenuImportClick,
     {"FileMenuNewBt", "导入", nullptr, "导入开奖号码|从TEXT文件里面导入开奖号码"},
     "import",
     true,
     {"CodeMenuImport", "码表导入(&I)...", nullptr, "导入直码数据|导入直码数据作为当前的基础直码"},
     false},
    {&TCodesForm::CodeMenuImportTableClick,
     {"TableImportBt", "导入数据", nullptr,
      "导入开奖数据|从网站或电子表格保存的文件导入开奖数据，预览后追加或替换"},
     "import",
     true,
     {"CodeMenuImportTable", "导入开奖数据(&T)...", "Ctrl+Shift+I",
      "导入开奖数据|从CSV或文本文件导入开奖数据，预览后追加或替换"},
     false},
    {&TCodesForm::CodeMenuUpdateClick,
     {"UpdateBt", "更新", nullptr,
      "更新开奖数据|从启用的数据源取来最新的开奖数据，按期号追加到码表末尾"},
     "update",
     true,
     {"CodeMenuUpdate", "更新开奖数据(&U)...", "Ctrl+Shift+U",
      "更新开奖数据|从启用的数据源取来最新的开奖数据，按期号追加到码表末尾"},
     false},
    {&TCodesForm::CodeMenuPasteClick,
     {"PasteTableBt", "粘贴", nullptr,
      "粘贴开奖数据|把剪贴板里的开奖数据导入码表，预览后追加或替换"},
     "import",
     false,
     {"CodeMenuPaste", "粘贴开奖数据(&V)", "Ctrl+V",
      "粘贴开奖数据|把剪贴板里的开奖数据导入码表，预览后追加或替换"},
     false},
    {&TCodesForm::CodeMenuExportClick,
     {"FileMenuOpenBt", "导出", nullptr, "导出开奖号码|将当前的开奖号码导出到文本文件"},
     "export",
     true,
     {"CodeMenuExport", "码表导出(&E)...", nullptr, "导出直码数据|将当前的基础直码向文本文件导出"},
     false},
    {&TCodesForm::CodeMenuExportTableClick,
     {"TableExportBt", "导出数据", nullptr,
      "导出开奖数据|把开奖号码连同期号和开奖日期导出为CSV文件，可以再导入"},
     "export",
     false,
     {"CodeMenuExportTable", "导出开奖数据(&X)...", nullptr,
      "导出开奖数据|把开奖号码连同期号和开奖日期导出为CSV文件，可以再导入"},
     false},
    {&TCodesForm::CodeMenuLabelDateClick,
     {"LabelDateBt", "期号", nullptr, "修改期号和日期|修改光标所在行的期号和开奖日期"},
     "insert",
     false,
     {"CodeMenuLabelDate", "修改期号和日期(&L)...", nullptr,
      "修改期号和日期|修改光标所在行的期号和开奖日期"},
     true},
    {&TCodesForm::CodeMenuDelClick,
     {"FileMenuSaveBt", "删除", nullptr, "删除行|删除当前开奖号码表光标所在位置的行"},
     "delete",
     true,
     {"CodeMenuDel", "删除(&D)", "Ctrl+Del", "删除行|删除当前码表光标所在位置的行"},
     true},
    {&TCodesForm::CodeMenuClearClick,
     {"FileMenuPrintBt", "清空", nullptr, "清空开奖号码表行|清空当前的码表内所有行"},
     "clear",
     true,
     {"CodeMenuClear", "清空(&C)", nullptr, "清空码表行|清空当前的码表内所有行"},
     false},
    {&TCodesForm::CodeMenuAddClick,
     {"FileMenuOptionsBt", "增加", nullptr, "增加行|在开奖号码表尾部增加一行直码"},
     "add",
     true,
     {"CodeMenuAdd", "增加(&A)", "Shift+Ins", "增加行|在码表尾部增加一行直码"},
     false},
    {&TCodesForm::CodeMenuInsertClick,
     {"FileMenuCodesEditBt", "插入", nullptr, "插入行|在开奖号码表光标所在位置插入一行直码"},
     "insert",
     true,
     {"CodeMenuInsert", "插入(&I)", "Ctrl+Ins", "插入行|在码表光标所在位置插入一行直码"},
     false},
    {&TCodesForm::CodeMenuSelNoneClick,
     {"EditMenuAddBt", "不选", nullptr, "清除任何选择|清除任何开奖号码表上面的选择行"},
     "selnone",
     false,
     {"CodeMenuSelNone", "不选(&N)", nullptr, "清除任何选择|清除任何码表上面的选择行"},
     true},
    {&TCodesForm::CodeMenuSelAllClick,
     {"EditMenuDelBt", "全选", nullptr, "全部选择|全选当前的开奖号码表内所有的直码行"},
     "selall",
     false,
     {"CodeMenuSelAll", "全选(&A)", "Ctrl+A", "全部选择|全选当前的码表内所有的直码行"},
     false},
    {&TCodesForm::CodeMenuSelInvertClick,
     {"EditMenuUpBt", "反选", nullptr, "反向选择|反向选择当前的开奖号码表内所有的直码行"},
     "selinvert",
     false,
     {"CodeMenuSelInvert", "反选(&I)", "Ctrl+I", "反向选择|反向选择当前的码表内所有的直码行"},
     false},
    {&TCodesForm::CodeMenuFindClick,
     {"StatMenuTextBt", "查找", nullptr, "查找直码|在开奖号码表内查找指定的直码或数字"},
     "find",
     true,
     {"CodeMenuFind", "查找(&F)...", "Ctrl+F", "查找直码|在码表内查找指定的直码或数字"},
     true},
    {&TCodesForm::CodeMenuNextClick,
     {"EditMenuSelAllBt", "续查", nullptr, "继续查找|在开奖号码表内继续查找指定的直码或数字"},
     "findnext",
     true,
     {"CodeMenuNext", "续查(&N)", "F3", "继续查找|在码表内继续查找指定的直码或数字"},
     false},
    {&TCodesForm::EditMenuCloseBtClick,
     {"EditMenuCloseBt", "关闭", nullptr, "关闭窗口|关闭开奖号码窗口"},
     "close",
     true,
     {nullptr, nullptr, nullptr, nullptr},
     false},
};

QFont FormFont() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(14);
    return font;
}

}  // namespace

TCodesForm::TCodesForm(QWidget* parent) : QMainWindow(parent) {
    InitDrawsResources();
    setObjectName("CodesForm");
    setWindowTitle(QStringLiteral("Oruvel开奖号码表编辑窗口"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFont(FormFont());
    setFixedWidth(FixedWidth);
    resize(FixedWidth, 468);

    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new TCodeNetGrid(codeNet_, panel);
    layout->addWidget(grid_);
    setCentralWidget(panel);
    statusBar()->setObjectName("StatusBar");
    rowInfoLbl_ = new QLabel(this);
    rowInfoLbl_->setObjectName("RowInfoLbl");
    statusBar()->addPermanentWidget(rowInfoLbl_);
    connect(grid_, &TCodeNetGrid::OnChange, this, [this] { FollowGrid(); });
    // A label or date edited in place moves nothing in the grid.
    codeNet_.Subscribe([this](TNetChange) {
        FollowGrid();
        FollowGame();
    });

    BuildCommands();
    BuildGameMenu();
    BuildDialogs();
    grid_->SetPopupMenu(codeMenu_);
    grid_->setFocus();
    move(x(), 0);
}

// The grid is a child widget, which Qt would free only after the table (a
// member) is gone; the grid lets go of the table as it goes, so it goes first.
TCodesForm::~TCodesForm() { delete grid_; }

void TCodesForm::BuildCommands() {
    mainTbr_ = addToolBar(QStringLiteral("MainTbr"));
    mainTbr_->setObjectName("MainTbr");
    mainTbr_->setMovable(false);
    mainTbr_->setFloatable(false);
    mainTbr_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    mainTbr_->setIconSize(QSize(24, 24));
    mainTbr_->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    codeMenu_ = new QMenu(this);
    codeMenu_->setObjectName("CodeMenu");
    for (const Command& command : Commands) {
        QAction* button = MakeAction(*this, command.button);
        button->setIcon(
            QIcon(QStringLiteral(":/draws/icons/%1.png").arg(QString::fromUtf8(command.icon))));
        button->setVisible(command.buttonVisible);
        connect(button, &QAction::triggered, this, [this, &command] { Guarded(command.handler); });
        mainTbr_->addAction(button);

        if (command.item.Name == nullptr) {
            continue;
        }
        if (command.separatorBefore) {
            codeMenu_->addSeparator();
        }
        QAction* item = MakeAction(*this, command.item);
        connect(item, &QAction::triggered, this, [this, &command] { Guarded(command.handler); });
        codeMenu_->addAction(item);
        // The shortcuts work while the window is active, menu open or not.
        addAction(item);
    }
}

void TCodesForm::BuildGameMenu() {
    codeMenu_->addSeparator();
    QMenu* menu = codeMenu_->addMenu(QStringLiteral("游戏(&G)"));
    menu->setObjectName("GameMenu");
    menu->menuAction()->setObjectName("CodeMenuGame");
    menu->menuAction()->setToolTip(QStringLiteral("游戏"));
    menu->menuAction()->setStatusTip(QStringLiteral("选择码表的游戏：七位数、七星彩或排列5"));
    auto* group = new QActionGroup(this);
    for (const TGame game : {TGame::Seven, TGame::Qxc, TGame::Pl5}) {
        QAction* action = menu->addAction(QString::fromUtf8(GameTitle(game)));
        action->setObjectName(
            QStringLiteral("CodeMenuGame_%1").arg(QString::fromUtf8(GameName(game))));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, game] {
            try {
                CodeMenuGameClick(game);
            } catch (const Exception& error) {
                FollowGame();
                RunMessageBox(QMessageBox::Critical, this, QApplication::applicationName(),
                              QString::fromUtf8(error.what()), QMessageBox::Ok, QMessageBox::Ok);
            }
        });
        gameActions_[static_cast<size_t>(game)] = action;
    }
    FollowGame();
}

void TCodesForm::FollowGame() {
    GameAction(codeNet_.Game()).setChecked(true);
    setWindowTitle(QStringLiteral("Oruvel开奖号码表编辑窗口") +
                   QString::fromStdString(GameTag(codeNet_.Game())));
}

void TCodesForm::CodeMenuGameClick(TGame game) {
    if (game != codeNet_.Game()) {
        Change("切换游戏", [this, game] { codeNet_.SetGame(game); });
        Report("码表的游戏改为" + std::string(GameTitle(game)));
    }
}

void TCodesForm::BuildDialogs() {
    findDialog_ = new TFindDialog(this);
    connect(findDialog_, &TFindDialog::FindNext, this,
            [this] { Guarded(&TCodesForm::CodeMenuNextClick); });
}

QFileDialog& TCodesForm::OpenDialog() {
    if (openDialog_ == nullptr) {
        openDialog_ = new QFileDialog(this, QStringLiteral("从文本文件中的数据直码导入号码"),
                                      QCoreApplication::applicationDirPath());
        openDialog_->setObjectName("OpenDialog");
        StayOverOwner(*openDialog_);
        openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        openDialog_->setFileMode(QFileDialog::ExistingFile);
        openDialog_->setNameFilters(
            {QStringLiteral("文本文件 (*.txt)"), QStringLiteral("任何文件 (*.*)")});
        openDialog_->setDefaultSuffix(QStringLiteral("txt"));
    }
    return *openDialog_;
}

QFileDialog& TCodesForm::SaveDialog() {
    if (saveDialog_ == nullptr) {
        saveDialog_ = new QFileDialog(this, QStringLiteral("导出直码数据到文本文件"),
                                      QCoreApplication::applicationDirPath());
        saveDialog_->setObjectName("SaveDialog");
        StayOverOwner(*saveDialog_);
        saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
        saveDialog_->setFileMode(QFileDialog::AnyFile);
        saveDialog_->setNameFilters({QStringLiteral("文本文件 (*.txt)")});
        saveDialog_->setDefaultSuffix(QStringLiteral("txt"));
        saveDialog_->setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    return *saveDialog_;
}

QFileDialog& TCodesForm::ExportTableDialog() {
    if (exportTableDialog_ == nullptr) {
        exportTableDialog_ = new QFileDialog(this, QStringLiteral("导出开奖数据"),
                                             QCoreApplication::applicationDirPath());
        exportTableDialog_->setObjectName("ExportTableDialog");
        StayOverOwner(*exportTableDialog_);
        exportTableDialog_->setAcceptMode(QFileDialog::AcceptSave);
        exportTableDialog_->setFileMode(QFileDialog::AnyFile);
        exportTableDialog_->setNameFilters({QStringLiteral("开奖数据 (*.csv)")});
        exportTableDialog_->setDefaultSuffix(QStringLiteral("csv"));
    }
    return *exportTableDialog_;
}

QFileDialog& TCodesForm::TableDialog() {
    if (tableDialog_ == nullptr) {
        tableDialog_ = new QFileDialog(this, QStringLiteral("导入开奖数据"),
                                       QCoreApplication::applicationDirPath());
        tableDialog_->setObjectName("TableDialog");
        tableDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        tableDialog_->setFileMode(QFileDialog::ExistingFile);
        tableDialog_->setNameFilters(
            {QStringLiteral("开奖数据 (*.csv *.txt *.tsv)"), QStringLiteral("任何文件 (*)")});
    }
    return *tableDialog_;
}

void TCodesForm::Guarded(void (TCodesForm::*command)()) {
    try {
        (this->*command)();
    } catch (const Exception& error) {
        RunMessageBox(QMessageBox::Critical, this, QApplication::applicationName(),
                      ErrorText(error), QMessageBox::Ok, QMessageBox::Ok);
    }
}

void TCodesForm::SetUndo(TDocUndo& undo) {
    undo_ = &undo;
    const TDocUndo::TActions actions = undo.MakeActions(*this);
    codeMenu_->addSeparator();
    codeMenu_->addAction(actions.Undo);
    codeMenu_->addAction(actions.Redo);
    grid_->EditRunner = [this](int row, const std::function<void()>& edit) {
        undo_->Run(QStringLiteral("输入开奖号码"), edit, QStringLiteral("row %1").arg(row));
    };
    connect(&undo, &TDocUndo::Restored, this, [this] { ShowNewestDraw(); });
    // What a command reported is no longer so once the step is taken back.
    connect(&undo, &TDocUndo::Moved, this, [this](bool redone, const QString& stepName) {
        statusBar()->showMessage(MovedText(redone, stepName));
    });
}

void TCodesForm::Change(const char* stepName, const std::function<void()>& change) {
    if (undo_ != nullptr) {
        undo_->Run(QString::fromUtf8(stepName), change);
    } else {
        change();
    }
}

void TCodesForm::Report(const std::string& text) {
    const QString message = QString::fromStdString(text);
    statusBar()->showMessage(message);
    emit Reported(message);
}

void TCodesForm::CodeMenuImportClick() {
    if (OpenDialog().exec() != QDialog::Accepted || openDialog_->selectedFiles().isEmpty()) {
        return;
    }
    const int before = codeNet_.Count();
    const std::string path = openDialog_->selectedFiles().front().toStdString();
    Change("导入开奖号码", [&] { codeNet_.ImportFromText(path); });
    ShowNewestDraw();
    if (before > 0) {
        Report(ReplacedDrawsText(before, codeNet_.Count()));
    } else if (const std::string note = TextFileNote(codeNet_.Game()); !note.empty()) {
        Report(note);
    }
}

void TCodesForm::CodeMenuImportTableClick() {
    if (TableDialog().exec() != QDialog::Accepted || tableDialog_->selectedFiles().isEmpty()) {
        return;
    }
    ImportTableFile(tableDialog_->selectedFiles().front());
}

QString TCodesForm::ImportTableFile(const QString& path) {
    return ImportTable(ReadDrawTableFile(path.toStdString(), codeNet_.Game()), path);
}

void TCodesForm::CodeMenuPasteClick() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.size() > static_cast<qsizetype>(MaxTableFileBytes)) {
        throw EImportError("剪贴板里的内容太多，不能导入。");
    }
    ImportTable(ReadDrawTable(text.toStdString(), codeNet_.Game()), QStringLiteral("剪贴板"));
}

void TCodesForm::CodeMenuUpdateClick() {
    if (UpdateRunner) {
        UpdateRunner();
    }
}

void TCodesForm::ApplyRows(const char* stepName, std::vector<TSeq> rows) {
    Change(stepName, [&] { codeNet_.Replace(std::move(rows)); });
    ShowNewestDraw();
}

QString TCodesForm::ImportTable(const TTableRead& read, const QString& source,
                                TPreviewNotes notes) {
    TTableImportDlg preview(codeNet_, read, source, this, std::move(notes));
    if (preview.exec() != QDialog::Accepted || !preview.CanConfirm()) {
        return {};
    }
    const int before = codeNet_.Count();
    const TImportMode mode = preview.Mode();
    // The rows are built aside and put in place at once: one step of the
    // history, and a refusal leaves the table as it was. Missing labels
    // were consented to in the preview.
    std::vector<TSeq> rows = ImportedRows(codeNet_.Rows(), read, mode, true);
    ApplyRows("导入开奖数据", std::move(rows));
    const int count = codeNet_.Count();
    const int added = mode == TImportMode::Append ? count - before : count;
    const std::string text =
        ImportDoneText(mode, added, count + codeNet_.FirstPeriod() - 1,
                       count > 0 ? codeNet_.GetSeq(count - 1).GetLabel() : TLabel());
    Report(text);
    return QString::fromStdString(text);
}

void TCodesForm::CodeMenuExportClick() {
    if (SaveDialog().exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty()) {
        return;
    }
    codeNet_.ExportToText(saveDialog_->selectedFiles().front().toStdString());
    if (const std::string note = TextFileNote(codeNet_.Game()); !note.empty()) {
        Report(note);
    }
}

void TCodesForm::CodeMenuExportTableClick() {
    if (ExportTableDialog().exec() != QDialog::Accepted ||
        exportTableDialog_->selectedFiles().isEmpty()) {
        return;
    }
    ExportTableFile(codeNet_, exportTableDialog_->selectedFiles().front().toStdString());
}

void TCodesForm::CodeMenuLabelDateClick() {
    const int row = grid_->View().CursorTableRow();
    if (row >= codeNet_.Count()) {
        return;
    }
    TLabelDateDlg dialog(codeNet_, row, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    Change("修改期号和日期", [&] { codeNet_.SetLabelDate(row, dialog.Label(), dialog.Date()); });
}

void TCodesForm::FollowGrid() {
    // A table without labels and dates shows nothing more than it always did.
    const int row = grid_->View().CursorTableRow();
    const bool known = row < codeNet_.Count() && (!codeNet_.GetSeq(row).GetLabel().Empty() ||
                                                  !codeNet_.GetSeq(row).GetDate().Empty());
    rowInfoLbl_->setText(known ? QString::fromStdString(RowInfoText(codeNet_, row)) : QString());
    // The window was made for the standard columns; wider 期 and 期号
    // columns widen it. 排列5's fewer columns leave it as wide, so that the
    // tool bar keeps every button in view.
    const int width = std::max(
        FixedWidth, FixedWidth + grid_->View().HeaderWidth() - TNetView::StandardHeaderWidth);
    if (width != this->width()) {
        setFixedWidth(width);
    }
}

void TCodesForm::CodeMenuDelClick() {
    const int row = grid_->View().CursorTableRow();
    if (row < codeNet_.Count()) {
        Change("删除开奖号码", [&] { codeNet_.Delete(row); });
    }
}

void TCodesForm::CodeMenuClearClick() {
    const int count = codeNet_.Count();
    Change("清空开奖号码表", [this] { codeNet_.Clear(); });
    if (count > 0) {
        Report(ClearedDrawsText(count));
    }
}

void TCodesForm::CodeMenuAddClick() {
    Change("增加开奖号码", [this] { codeNet_.Add(); });
}

void TCodesForm::CodeMenuInsertClick() {
    const int row = grid_->View().CursorTableRow();
    if (row < codeNet_.Count()) {
        Change("插入开奖号码", [&] { codeNet_.Insert(row); });
    } else {
        Change("增加开奖号码", [this] { codeNet_.Add(); });
    }
}

void TCodesForm::CodeMenuSelNoneClick() {
    codeNet_.SelectAll();
    codeNet_.InvertSelection();
}

void TCodesForm::CodeMenuSelAllClick() { codeNet_.SelectAll(); }

void TCodesForm::CodeMenuSelInvertClick() { codeNet_.InvertSelection(); }

void TCodesForm::CodeMenuFindClick() {
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

void TCodesForm::CodeMenuNextClick() {
    const QString text = findDialog_->FindText();
    if (text.isEmpty() || grid_->FindNext(text)) {
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(QString::fromUtf8(kNotFoundText));
    }
}

void TCodesForm::EditMenuCloseBtClick() { hide(); }

void TCodesForm::ShowNewestDraw() { grid_->View().ShowAppendLine(); }

void TCodesForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Today's draw is what the player opens the window for.
    ShowNewestDraw();
}

void TCodesForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (const QScreen* display = screen()) {
        move((display->geometry().width() - width()) / 2, y());
    }
}

}  // namespace tovarin
