// The window's layout and its command set: menus, tool bar, context menus
// and status bar.
#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "core/engine/Bind.h"
#include "gui/common/Commands.h"
#include "gui/common/DocUndo.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"

static void InitMainwinResources() { Q_INIT_RESOURCE(mainwin); }

namespace tovarin {

void TMainForm::BuildLayout() {
    InitMainwinResources();
    lists_ = new TPrjLists(*prjMgr_, *this);
    lists_->ProjectView().setContextMenuPolicy(Qt::CustomContextMenu);
    lists_->ConditionView().setContextMenuPolicy(Qt::CustomContextMenu);
    OutPutMemo = new TOutputArea(this);
    OutPutMemo->setContextMenuPolicy(Qt::CustomContextMenu);

    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(&lists_->ProjectView());
    Splitter1->addWidget(&lists_->ConditionView());
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({112, 400});

    Splitter2 = new QSplitter(Qt::Horizontal);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(3);
    Splitter2->addWidget(Splitter1);
    Splitter2->addWidget(OutPutMemo);
    Splitter2->setChildrenCollapsible(false);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({217, 543});
    setCentralWidget(Splitter2);

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(true);
    const std::array<int, 3> widths = {420, 80, 50};
    for (size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(widths[i]);
        if (i + 1 < statusPanels_.size()) {
            panel->setMaximumWidth(widths[i]);
        }
        // The last panel reaches to the right edge, as the result text is
        // longer than its 50 pixels.
        statusBar()->addPermanentWidget(panel, i + 1 == statusPanels_.size() ? 1 : 0);
        statusPanels_[i] = panel;
    }
}

namespace {

// One line of the window's command table: the entry, where the window keeps
// its action, and the handler (nullptr when the unit that owns the command
// connects it, or for a separator).
struct TMainCommand {
    TCommandSpec Spec;
    QAction* TMainActions::*Action;
    void (TMainForm::*Handler)();
};

constexpr TCommandSpec kSeparator = {nullptr, nullptr, nullptr, nullptr};

// One button of the tool bar: its action, caption and icon, and a hint of its
// own where it differs from the menu entry's.
struct TToolButtonSpec {
    QAction* TMainActions::*Action;
    const char* Caption;
    const char* Icon;
    const char* Hint;
};

}  // namespace

// The command table of the window, menu by menu in display order. A new
// menu entry is one line here plus its action member in TMainActions; its
// handler is a member function of the window, or nullptr when another unit
// connects the action it is given.
void TMainForm::BuildCommands() {
    using F = TMainForm;
    using A = TMainActions;
    const auto addMenu = [this](const char* caption, const char* name) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromUtf8(name));
        return menu;
    };
    const auto addCommands = [this](QMenu& menu, std::initializer_list<TMainCommand> commands) {
        for (const TMainCommand& command : commands) {
            if (command.Spec.Name == nullptr) {
                menu.addSeparator();
                continue;
            }
            QAction* action = MakeAction(*this, command.Spec);
            if (command.Handler != nullptr) {
                connect(action, &QAction::triggered, this, [this, handler = command.Handler] {
                    RunGuarded([this, handler] { (this->*handler)(); });
                });
            }
            menu.addAction(action);
            actions_.*command.Action = action;
        }
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu"));

    FileMenu = addMenu("文件(&F)", "FileMenu");
    addCommands(
        *FileMenu,
        {
            {{"FileMenuNew", "新建(&N)", "Ctrl+N", "新建文件|新建一个文档"},
             &A::FileMenuNew,
             &F::FileMenuNewClick},
            {{"FileMenuOpen", "打开(&O)", "Ctrl+O", "打开文件|打开已保存资料的文档"},
             &A::FileMenuOpen,
             &F::FileMenuOpenClick},
            {{"FileMenuSave", "保存(&S)", "Ctrl+S", "保存文件|将当前的资料保存为文档"},
             &A::FileMenuSave,
             &F::FileMenuSaveClick},
            {{"FileMenuSaveAs", "另存为(&A)...", nullptr,
              "保存文件|将当前的资料保存为另外一个文档"},
             &A::FileMenuSaveAs,
             &F::FileMenuSaveAsClick},
            {kSeparator, nullptr, nullptr},
            {{"FileMenuExport", "导出直码(&E)...", nullptr,
              "导出直码数据|将当前显示区的直码数据导出到文本文件"},
             &A::FileMenuExport,
             &F::FileMenuExportClick},
            {{"FileMenuPrint", "打印(&P)", "Ctrl+P", "打印输出内容|将当前主窗口的输出内容打印输出"},
             &A::FileMenuPrint,
             &F::FileMenuPrintClick},
            {{"FileMenuPrintSetup", "页面设置(&T)...", nullptr, "页面设置|打印输出之前作页面设置"},
             &A::FileMenuPrintSetup,
             &F::FileMenuPrintSetupClick},
            {kSeparator, nullptr, nullptr},
            // The download command connects its own action.
            {{"FileMenuCodesDown", "下载数据(&D)...", nullptr,
              "下载数据|从Tovarin项目主页下载最新的开奖号码数据"},
             &A::FileMenuCodesDown,
             nullptr},
            {{"FileMenuImportTable", "导入开奖数据(&I)...", "Ctrl+Shift+I",
              "导入开奖数据|从网站或电子表格保存的文件导入开奖数据，预览后追加或替换"},
             &A::FileMenuImportTable,
             &F::FileMenuImportTableClick},
            {{"FileMenuUpdate", "更新开奖数据(&U)...", "Ctrl+Shift+U",
              "更新开奖数据|从启用的数据源取来最新的开奖数据，按期号追加到码表末尾"},
             &A::FileMenuUpdate,
             &F::FileMenuUpdateClick},
            {{"FileMenuSources", "数据源(&W)...", nullptr,
              "数据源|管理更新开奖数据所用的网址：名称、地址、格式、启用和请求头"},
             &A::FileMenuSources,
             &F::FileMenuSourcesClick},
            {{"FileMenuCodesEdit", "数据编辑(&E)...", "Ctrl+M",
              "数据编辑|对开奖号码表进行详细编辑"},
             &A::FileMenuCodesEdit,
             &F::FileMenuCodesEditClick},
            {{"FileMenuStats", "号码统计(&H)...", "Ctrl+T",
              "号码统计|统计开奖号码的头数、尾数、头尾合和头尾码的出现与遗漏，显示走势图"},
             &A::FileMenuStats,
             &F::FileMenuStatsClick},
            {{"FileMenuOptions", "选项设置(&O)...", "F12", "选项设置|设置对系统有影响的全局变量"},
             &A::FileMenuOptions,
             &F::FileMenuOptionsClick},
            {{"FileMenuExit", "退出(&X)", nullptr, "关闭退出|关闭程序，退出系统"},
             &A::FileMenuExit,
             &F::FileMenuExitClick},
        });
    // The recent documents under 打开; the document's undo after 另存为,
    // apart from the output area's own in the text menu. Their texts change
    // with the history, so the history makes them.
    FileMenu->insertMenu(actions_.FileMenuSave, &care_->RecentMenu());
    const TDocUndo::TActions undo = care_->Undo().MakeActions(*this);
    actions_.DocUndo = undo.Undo;
    actions_.DocRedo = undo.Redo;
    FileMenu->insertActions(actions_.FileMenuExport, {undo.Undo, undo.Redo});
    FileMenu->insertSeparator(actions_.FileMenuExport);

    ProjectMenu = addMenu("方案(&P)", "ProjectMenu");
    addCommands(
        *ProjectMenu,
        {
            {{"ProjectMenuCreate", "创建(&T)", nullptr, "创建方案|创建一个新的方案"},
             &A::ProjectMenuCreate,
             &F::ProjectMenuCreateClick},
            {{"ProjectMenuDel", "删除(&D)", nullptr, "删除方案|删除当前选择的方案"},
             &A::ProjectMenuDel,
             &F::ProjectMenuDelClick},
            {{"ProjectMenuClear", "清空(&C)", nullptr,
              "清空所有方案|清空当前的方案列表框内所有的方案"},
             &A::ProjectMenuClear,
             &F::ProjectMenuClearClick},
            {kSeparator, nullptr, nullptr},
            // The analyses connect their own actions.
            {{"ProjectMenuDouble", "重对区分", "F2",
              "重对区分|对结果码集内的号码进行重码、非重码以及对数的分组"},
             &A::ProjectMenuDouble,
             nullptr},
            {{"ProjectMenuSingle", "单双区分", "F3",
              "单双区分|对结果码集内的号码进行单双头尾的分组"},
             &A::ProjectMenuSingle,
             nullptr},
            {{"ProjectMenuHead", "头数区分", "F4", "头数区分|对结果码集内的号码按照头数进行分组"},
             &A::ProjectMenuHead,
             nullptr},
            {{"ProjectMenuSmallBig", "大小区分", "F5",
              "大小区分|对结果码集内的号码按照大小进行分组"},
             &A::ProjectMenuSmallBig,
             nullptr},
            {kSeparator, nullptr, nullptr},
            {{"ProjectMenuMissStat", "容错统计", "F6",
              "容错统计|对码集内所有号码按照错误值进行分组"},
             &A::ProjectMenuMissStat,
             nullptr},
            {{"ProjectMenuMissView", "容错透视", "F7", "容错透视|显示码集内所有号码的错误值"},
             &A::ProjectMenuMissView,
             nullptr},
            {{"ProjectMenuVerify", "开奖核对", "Ctrl+Q",
              "开奖核对|对主窗口中出现的中奖的号码标记为红色"},
             &A::ProjectMenuVerify,
             nullptr},
            {{"ProjectMenuContrast", "横向比较", "Ctrl+J",
              "方案横行比较|对多个方案进行方案比较，输出比较结果"},
             &A::ProjectMenuContrast,
             nullptr},
            {{"ProjectMenuBaseCode", "基础号码", nullptr,
              "显示基础号码|在文本框内显示本方案的筛选基础号码"},
             &A::ProjectMenuBaseCode,
             nullptr},
            {kSeparator, nullptr, nullptr},
            {{"ProjectMenuCalcOne", "单筛(&O)", "F8",
              "单独筛选|只按照选择的某个条件对号码数据筛选"},
             &A::ProjectMenuCalcOne,
             &F::ProjectMenuCalcOneClick},
            {{"ProjectMenuCalcAll", "筛选(&G)", "F9", "选择筛选|按照勾选的条件对号码数据进行筛选"},
             &A::ProjectMenuCalcAll,
             &F::ProjectMenuCalcAllClick},
            {{"ProjectMenuBacktest", "回测(&B)...", "Ctrl+B",
              "方案回测|检验当前方案在过去各期能否选中中奖号码，并与随机选号比较"},
             &A::ProjectMenuBacktest,
             nullptr},
            {{"ProjectMenuRecord", "记录预测(&W)", "Ctrl+R",
              "记录预测|把当前方案最近一次筛选的结果记入成绩单，开奖后自动核对"},
             &A::ProjectMenuRecord,
             nullptr},
            {{"ProjectMenuAutoRecord", "筛选后自动记录预测", nullptr,
              "筛选后自动记录预测|每次筛选之后自动把结果记入成绩单"},
             &A::ProjectMenuAutoRecord,
             nullptr},
            {{"ProjectMenuLedger", "成绩单(&L)...", "Ctrl+L",
              "成绩单|已记录的预测与开奖结果的对照，以及与随机选号的比较"},
             &A::ProjectMenuLedger,
             nullptr},
            {kSeparator, nullptr, nullptr},
            {{"ProjectMenuAttrib", "属性(&R)", "F10", "方案属性|显示当前方案的属性编辑窗口"},
             &A::ProjectMenuAttrib,
             &F::ProjectMenuAttribClick},
        });

    EditMenu = addMenu("条件(&E)", "EditMenu");
    BindKindMenu = new QMenu(QStringLiteral("创建(&T)"), this);
    BindKindMenu->setObjectName(QStringLiteral("BindKindMenu"));
    actions_.EditMenuAdd = BindKindMenu->menuAction();
    actions_.EditMenuAdd->setObjectName(QStringLiteral("EditMenuAdd"));
    actions_.EditMenuAdd->setShortcut(QKeySequence(Qt::Key_Insert));
    SetHint(*actions_.EditMenuAdd, QStringLiteral("创建条件|创建一个新的条件"));
    connect(actions_.EditMenuAdd, &QAction::triggered, this,
            [this] { PopUpAtCursor(*BindKindMenu); });
    EditMenu->addMenu(BindKindMenu);
    addCommands(
        *EditMenu,
        {
            {{"EditMenuDel", "删除(&D)", "Ctrl+Del", "删除条件|删除当前选择的条件"},
             &A::EditMenuDel,
             &F::EditMenuDelClick},
            {{"EditMenuClear", "清空(&C)", nullptr, "清空|清空当前的条件列表框内所有的条件"},
             &A::EditMenuClear,
             &F::EditMenuClearClick},
            {kSeparator, nullptr, nullptr},
            {{"EditMenuSelAll", "全选(&S)", "Ctrl+A",
              "全部选择条件|全选当前的条件列表框内所有的条件"},
             &A::EditMenuSelAll,
             &F::EditMenuSelAllClick},
            {{"EditMenuSelInv", "反选(&I)", "Ctrl+I",
              "反选全部条件|反选当前的条件列表框内所有的条件"},
             &A::EditMenuSelInv,
             &F::EditMenuSelInvClick},
            {{"EditMenuUp", "上移(&U)", "Ctrl+U", "条件上移|将当前选择的条件上移"},
             &A::EditMenuUp,
             &F::EditMenuUpClick},
            {{"EditMenuDown", "下移(&W)", "Ctrl+W", "条件下移|将当前选择的条件下移"},
             &A::EditMenuDown,
             &F::EditMenuDownClick},
            {kSeparator, nullptr, nullptr},
            {{"EditMenuAttrib", "属性(&R)", "F11", "条件属性|显示当前条件的属性编辑窗口"},
             &A::EditMenuAttrib,
             &F::EditMenuAttribClick},
        });
    actions_.EditMenuUp->setEnabled(false);

    // The text entries are the output area's own operations, connected below.
    TextMenu = addMenu("文本(&T)", "TextMenu");
    addCommands(
        *TextMenu,
        {
            {{"TextMenuUndo", "撤销(&Z)", "Ctrl+Z",
              "放弃文本操作|放弃刚才在输出文本框内完成的文本操作"},
             &A::TextMenuUndo,
             nullptr},
            {kSeparator, nullptr, nullptr},
            {{"TextMenuCut", "剪切(&X)", "Ctrl+X", "剪切文本|剪切文本框内当前选择的文本到剪贴板上"},
             &A::TextMenuCut,
             nullptr},
            {{"TextMenuCopy", "复制(&C)", "Ctrl+C",
              "复制文本|复制文本框内当前选择的文本到剪贴板上"},
             &A::TextMenuCopy,
             nullptr},
            {{"TextMenuPaste", "粘贴(&V)", "Ctrl+V", "粘贴文本|将剪贴板上的内容粘贴到文本框内"},
             &A::TextMenuPaste,
             nullptr},
            {{"TextMenuDelete", "删除(&D)", "Ctrl+D", "删除文本|删除输出文本框内当前选择的文本"},
             &A::TextMenuDelete,
             nullptr},
            {kSeparator, nullptr, nullptr},
            {{"TextMenuSelAll", "全选(&A)", "Ctrl+A",
              "全部选择文本|全选当前的输出文本框内所有的文本"},
             &A::TextMenuSelAll,
             nullptr},
            {{"TextMenuClear", "清空(&K)", "Ctrl+K",
              "清除全部文本|清除当前的输出文本框内所有的文本"},
             &A::TextMenuClear,
             nullptr},
            {{"TextMenuFind", "查找(&F)...", nullptr, "查找文本|在输出文本框内向后查找指定的文本"},
             &A::TextMenuFind,
             &F::TextMenuFindClick},
        });
    TOutputArea* memo = OutPutMemo;
    connect(actions_.TextMenuUndo, &QAction::triggered, memo, &QPlainTextEdit::undo);
    connect(actions_.TextMenuCut, &QAction::triggered, memo, &QPlainTextEdit::cut);
    connect(actions_.TextMenuCopy, &QAction::triggered, memo, &QPlainTextEdit::copy);
    connect(actions_.TextMenuPaste, &QAction::triggered, memo, &QPlainTextEdit::paste);
    connect(actions_.TextMenuDelete, &QAction::triggered, memo,
            [memo] { memo->textCursor().removeSelectedText(); });
    connect(actions_.TextMenuSelAll, &QAction::triggered, memo, &QPlainTextEdit::selectAll);
    connect(actions_.TextMenuClear, &QAction::triggered, memo, &QPlainTextEdit::clear);
    // Ctrl+A belongs to the condition list's entry; here it is only shown.
    actions_.TextMenuSelAll->setShortcutContext(Qt::WidgetShortcut);
    connect(TextMenu, &QMenu::aboutToShow, this, &TMainForm::RefreshWindowState);

    HelpMenu = addMenu("帮助(&H)", "HelpMenu");
    addCommands(*HelpMenu,
                {
                    {{"HelpMenuContents", "帮助主题(&C)", "F1", "查看帮助|打开浏览帮助文档"},
                     &A::HelpMenuContents,
                     &F::HelpMenuContentsClick},
                    {kSeparator, nullptr, nullptr},
                    {{"HelpMenuHomePage", "作者主页(&H)", nullptr, "作者主页|打开Tovarin项目主页"},
                     &A::HelpMenuHomePage,
                     &F::HelpMenuHomePageClick},
                });

    // The window's keys win over the output area's own line keys; the text
    // commands that the area does itself keep their keys there.
    const QList<QAction*> areaOwn = {actions_.TextMenuUndo, actions_.TextMenuCut,
                                     actions_.TextMenuCopy, actions_.TextMenuPaste};
    QList<QKeySequence> windowKeys;
    for (QAction* action : findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty() && !areaOwn.contains(action)) {
            windowKeys.append(action->shortcut());
        }
    }
    OutPutMemo->SetWindowKeys(windowKeys);
    connect(OutPutMemo, &QPlainTextEdit::copyAvailable, this, &TMainForm::RefreshWindowState);
    connect(OutPutMemo, &QPlainTextEdit::undoAvailable, this, &TMainForm::RefreshWindowState);
}

void TMainForm::BuildToolBar() {
    MainTbr = addToolBar(QStringLiteral("MainTbr"));
    MainTbr->setObjectName(QStringLiteral("MainTbr"));
    MainTbr->setMovable(false);
    MainTbr->setFloatable(false);
    MainTbr->setIconSize(QSize(20, 20));
    MainTbr->setContextMenuPolicy(Qt::PreventContextMenu);
    using A = TMainActions;
    const TToolButtonSpec separator = {nullptr, nullptr, nullptr, nullptr};
    for (const TToolButtonSpec& spec : std::initializer_list<TToolButtonSpec>{
             {&A::FileMenuCodesDown, "下载", "download", nullptr},
             {&A::FileMenuSave, "保存", "save", nullptr},
             separator,
             {&A::FileMenuOptions, "选项", "options", nullptr},
             {&A::FileMenuCodesEdit, "数据", "data", "开奖号码编辑|对开奖号码表进行详细编辑"},
             separator,
             {&A::EditMenuAdd, "创建", "add", nullptr},
             {&A::EditMenuDel, "删除", "delete", nullptr},
             {&A::EditMenuUp, "上移", "up", nullptr},
             {&A::EditMenuDown, "下移", "down", nullptr},
             {&A::EditMenuSelAll, "全选", "selall", nullptr},
             {&A::EditMenuAttrib, "属性", "bindattrib", nullptr},
             separator,
             {&A::ProjectMenuCreate, "创建", "create", nullptr},
             {&A::ProjectMenuCalcOne, "单筛", "calcone", nullptr},
             {&A::ProjectMenuCalcAll, "筛选", "calcall", nullptr},
             {&A::ProjectMenuAttrib, "属性", "prjattrib", nullptr},
             separator,
             {&A::HelpMenuContents, "帮助", "help", nullptr},
             {&A::FileMenuExit, "关闭", "exit", "|关闭软件，退出系统。"},
         }) {
        if (spec.Action == nullptr) {
            MainTbr->addSeparator();
            continue;
        }
        QToolButton& button = AddToolButton(
            *MainTbr, *(actions_.*spec.Action), QString::fromUtf8(spec.Caption),
            QStringLiteral(":/mainwin/icons/%1.png").arg(QString::fromUtf8(spec.Icon)),
            spec.Hint != nullptr ? QString::fromUtf8(spec.Hint) : QString());
        // The kind list opens at the pointer when the button is clicked, not
        // under the button.
        if (spec.Action == &A::EditMenuAdd) {
            button.setPopupMode(QToolButton::DelayedPopup);
        }
    }
}

void TMainForm::BuildBindKindMenu() {
    BindKindMenu->clear();
    for (int kind = 1; kind <= kBindKindCount; ++kind) {
        const QString caption = QString::fromUtf8(BindKindNames.at(static_cast<size_t>(kind))) +
                                QStringLiteral("(&") + QChar(u'A' + (kind - 1)) + QLatin1Char(')');
        auto* item = new QAction(caption, BindKindMenu);
        item->setObjectName(QStringLiteral("BindKindItem%1").arg(kind));
        item->setData(kind);
        SetHint(*item, QString::fromUtf8(BindNameHints.at(static_cast<size_t>(kind))));
        connect(item, &QAction::triggered, this,
                [this, kind] { RunGuarded([this, kind] { BindKindItemClick(kind); }); });
        BindKindMenu->addAction(item);
    }
}

void TMainForm::PopUpAtCursor(QMenu& menu) {
    RefreshWindowState();
    // The menu's bottom edge stands at the pointer.
    const QPoint pointer = QCursor::pos();
    menu.popup(QPoint(pointer.x(), pointer.y() - menu.sizeHint().height()));
}

}  // namespace tovarin
