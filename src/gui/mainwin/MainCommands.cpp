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
#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"

static void InitMainwinResources() { Q_INIT_RESOURCE(mainwin); }

namespace tovarin {

namespace {

void SetHint(QAction& action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action.setToolTip(bar < 0 ? hint : hint.left(bar));
    action.setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void SetHint(QWidget& widget, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    widget.setToolTip(bar < 0 ? hint : hint.left(bar));
    widget.setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

}  // namespace

void TMainForm::BuildLayout() {
    InitMainwinResources();
    ListView_ = new TPrjListView(this);
    ListView_->setContextMenuPolicy(Qt::CustomContextMenu);
    BindChkLbx_ = new QListWidget(this);
    BindChkLbx_->setObjectName(QStringLiteral("BindChkLbx"));
    BindChkLbx_->setSelectionMode(QAbstractItemView::SingleSelection);
    BindChkLbx_->setContextMenuPolicy(Qt::CustomContextMenu);
    OutPutMemo = new TOutputArea(this);
    OutPutMemo->setContextMenuPolicy(Qt::CustomContextMenu);

    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(ListView_);
    Splitter1->addWidget(BindChkLbx_);
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

std::function<void()> TMainForm::Handler(void (TMainForm::*handler)()) {
    return [this, handler] { (this->*handler)(); };
}

QAction* TMainForm::AddCommand(QMenu& menu, const char* name, const char* caption, const char* key,
                               const char* hint, std::function<void()> handler) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromUtf8(name));
    if (key != nullptr) {
        action->setShortcut(QKeySequence(QString::fromUtf8(key)));
    }
    SetHint(*action, QString::fromUtf8(hint));
    if (handler) {
        connect(action, &QAction::triggered, this,
                [this, command = std::move(handler)] { RunGuarded(command); });
    }
    menu.addAction(action);
    return action;
}

void TMainForm::BuildCommands() {
    QMenuBar& bar = *menuBar();
    bar.setObjectName(QStringLiteral("MainMenu"));

    FileMenu = bar.addMenu(QStringLiteral("文件(&F)"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    AddCommand(*FileMenu, "FileMenuNew", "新建(&N)", "Ctrl+N", "新建文件|新建一个文档",
               Handler(&TMainForm::FileMenuNewClick));
    AddCommand(*FileMenu, "FileMenuOpen", "打开(&O)", "Ctrl+O", "打开文件|打开已保存资料的文档",
               Handler(&TMainForm::FileMenuOpenClick));
    AddCommand(*FileMenu, "FileMenuSave", "保存(&S)", "Ctrl+S", "保存文件|将当前的资料保存为文档",
               Handler(&TMainForm::FileMenuSaveClick));
    AddCommand(*FileMenu, "FileMenuSaveAs", "另存为(&A)...", nullptr,
               "保存文件|将当前的资料保存为另外一个文档", Handler(&TMainForm::FileMenuSaveAsClick));
    FileMenu->addSeparator();
    AddCommand(*FileMenu, "FileMenuExport", "导出直码(&E)...", nullptr,
               "导出直码数据|将当前显示区的直码数据导出到文本文件",
               Handler(&TMainForm::FileMenuExportClick));
    AddCommand(*FileMenu, "FileMenuPrint", "打印(&P)", "Ctrl+P",
               "打印输出内容|将当前主窗口的输出内容打印输出",
               Handler(&TMainForm::FileMenuPrintClick));
    AddCommand(*FileMenu, "FileMenuPrintSetup", "页面设置(&T)...", nullptr,
               "页面设置|打印输出之前作页面设置", Handler(&TMainForm::FileMenuPrintSetupClick));
    FileMenu->addSeparator();
    AddCommand(*FileMenu, "FileMenuCodesDown", "下载数据(&D)...", nullptr,
               "下载数据|从Tovarin项目主页下载最新的开奖号码数据", nullptr);
    AddCommand(*FileMenu, "FileMenuImportTable", "导入开奖数据(&I)...", "Ctrl+T",
               "导入开奖数据|从网站或电子表格保存的文件导入开奖数据，预览后追加或替换",
               [this] { codesForm_->CodeMenuImportTableClick(); });
    AddCommand(*FileMenu, "FileMenuCodesEdit", "数据编辑(&E)...", "Ctrl+M",
               "数据编辑|对开奖号码表进行详细编辑", Handler(&TMainForm::FileMenuCodesEditClick));
    AddCommand(*FileMenu, "FileMenuOptions", "选项设置(&O)...", "F12",
               "选项设置|设置对系统有影响的全局变量", Handler(&TMainForm::FileMenuOptionsClick));
    AddCommand(*FileMenu, "FileMenuExit", "退出(&X)", nullptr, "关闭退出|关闭程序，退出系统",
               Handler(&TMainForm::FileMenuExitClick));

    ProjectMenu = bar.addMenu(QStringLiteral("方案(&P)"));
    ProjectMenu->setObjectName(QStringLiteral("ProjectMenu"));
    AddCommand(*ProjectMenu, "ProjectMenuCreate", "创建(&T)", nullptr, "创建方案|创建一个新的方案",
               Handler(&TMainForm::ProjectMenuCreateClick));
    AddCommand(*ProjectMenu, "ProjectMenuDel", "删除(&D)", nullptr, "删除方案|删除当前选择的方案",
               Handler(&TMainForm::ProjectMenuDelClick));
    AddCommand(*ProjectMenu, "ProjectMenuClear", "清空(&C)", nullptr,
               "清空所有方案|清空当前的方案列表框内所有的方案",
               Handler(&TMainForm::ProjectMenuClearClick));
    ProjectMenu->addSeparator();
    // The analyses bring their own actions.
    AddCommand(*ProjectMenu, "ProjectMenuDouble", "重对区分", "F2",
               "重对区分|对结果码集内的号码进行重码、非重码以及对数的分组", nullptr);
    AddCommand(*ProjectMenu, "ProjectMenuSingle", "单双区分", "F3",
               "单双区分|对结果码集内的号码进行单双头尾的分组", nullptr);
    AddCommand(*ProjectMenu, "ProjectMenuHead", "头数区分", "F4",
               "头数区分|对结果码集内的号码按照头数进行分组", nullptr);
    AddCommand(*ProjectMenu, "ProjectMenuSmallBig", "大小区分", "F5",
               "大小区分|对结果码集内的号码按照大小进行分组", nullptr);
    ProjectMenu->addSeparator();
    AddCommand(*ProjectMenu, "ProjectMenuMissStat", "容错统计", "F6",
               "容错统计|对码集内所有号码按照错误值进行分组", nullptr);
    AddCommand(*ProjectMenu, "ProjectMenuMissView", "容错透视", "F7",
               "容错透视|显示码集内所有号码的错误值", nullptr);
    AddCommand(*ProjectMenu, "ProjectMenuVerify", "开奖核对", "Ctrl+Q",
               "开奖核对|对主窗口中出现的中奖的号码标记为红色", nullptr);
    AddCommand(*ProjectMenu, "ProjectMenuContrast", "横向比较", "Ctrl+J",
               "方案横行比较|对多个方案进行方案比较，输出比较结果", nullptr);
    AddCommand(*ProjectMenu, "ProjectMenuBaseCode", "基础号码", nullptr,
               "显示基础号码|在文本框内显示本方案的筛选基础号码", nullptr);
    ProjectMenu->addSeparator();
    AddCommand(*ProjectMenu, "ProjectMenuCalcOne", "单筛(&O)", "F8",
               "单独筛选|只按照选择的某个条件对号码数据筛选",
               Handler(&TMainForm::ProjectMenuCalcOneClick));
    AddCommand(*ProjectMenu, "ProjectMenuCalcAll", "筛选(&G)", "F9",
               "选择筛选|按照勾选的条件对号码数据进行筛选",
               Handler(&TMainForm::ProjectMenuCalcAllClick));
    ProjectMenu->addSeparator();
    AddCommand(*ProjectMenu, "ProjectMenuAttrib", "属性(&R)", "F10",
               "方案属性|显示当前方案的属性编辑窗口", Handler(&TMainForm::ProjectMenuAttribClick));

    EditMenu = bar.addMenu(QStringLiteral("条件(&E)"));
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    BindKindMenu = new QMenu(QStringLiteral("创建(&T)"), this);
    BindKindMenu->setObjectName(QStringLiteral("BindKindMenu"));
    QAction* add = BindKindMenu->menuAction();
    add->setObjectName(QStringLiteral("EditMenuAdd"));
    add->setShortcut(QKeySequence(Qt::Key_Insert));
    SetHint(*add, QStringLiteral("创建条件|创建一个新的条件"));
    connect(add, &QAction::triggered, this, [this] { PopUpAtCursor(*BindKindMenu); });
    EditMenu->addMenu(BindKindMenu);
    AddCommand(*EditMenu, "EditMenuDel", "删除(&D)", "Ctrl+Del", "删除条件|删除当前选择的条件",
               Handler(&TMainForm::EditMenuDelClick));
    AddCommand(*EditMenu, "EditMenuClear", "清空(&C)", nullptr,
               "清空|清空当前的条件列表框内所有的条件", Handler(&TMainForm::EditMenuClearClick));
    EditMenu->addSeparator();
    AddCommand(*EditMenu, "EditMenuSelAll", "全选(&S)", "Ctrl+A",
               "全部选择条件|全选当前的条件列表框内所有的条件",
               Handler(&TMainForm::EditMenuSelAllClick));
    AddCommand(*EditMenu, "EditMenuSelInv", "反选(&I)", "Ctrl+I",
               "反选全部条件|反选当前的条件列表框内所有的条件",
               Handler(&TMainForm::EditMenuSelInvClick));
    AddCommand(*EditMenu, "EditMenuUp", "上移(&U)", "Ctrl+U", "条件上移|将当前选择的条件上移",
               Handler(&TMainForm::EditMenuUpClick))
        ->setEnabled(false);
    AddCommand(*EditMenu, "EditMenuDown", "下移(&W)", "Ctrl+W", "条件下移|将当前选择的条件下移",
               Handler(&TMainForm::EditMenuDownClick));
    EditMenu->addSeparator();
    AddCommand(*EditMenu, "EditMenuAttrib", "属性(&R)", "F11",
               "条件属性|显示当前条件的属性编辑窗口", Handler(&TMainForm::EditMenuAttribClick));

    TextMenu = bar.addMenu(QStringLiteral("文本(&T)"));
    TextMenu->setObjectName(QStringLiteral("TextMenu"));
    TOutputArea* memo = OutPutMemo;
    AddCommand(*TextMenu, "TextMenuUndo", "撤销(&Z)", "Ctrl+Z",
               "放弃文本操作|放弃刚才在输出文本框内完成的文本操作", [memo] { memo->undo(); });
    TextMenu->addSeparator();
    AddCommand(*TextMenu, "TextMenuCut", "剪切(&X)", "Ctrl+X",
               "剪切文本|剪切文本框内当前选择的文本到剪贴板上", [memo] { memo->cut(); });
    AddCommand(*TextMenu, "TextMenuCopy", "复制(&C)", "Ctrl+C",
               "复制文本|复制文本框内当前选择的文本到剪贴板上", [memo] { memo->copy(); });
    AddCommand(*TextMenu, "TextMenuPaste", "粘贴(&V)", "Ctrl+V",
               "粘贴文本|将剪贴板上的内容粘贴到文本框内", [memo] { memo->paste(); });
    AddCommand(*TextMenu, "TextMenuDelete", "删除(&D)", "Ctrl+D",
               "删除文本|删除输出文本框内当前选择的文本",
               [memo] { memo->textCursor().removeSelectedText(); });
    TextMenu->addSeparator();
    // Ctrl+A belongs to the condition list's entry; here it is only shown.
    AddCommand(*TextMenu, "TextMenuSelAll", "全选(&A)", "Ctrl+A",
               "全部选择文本|全选当前的输出文本框内所有的文本", [memo] { memo->selectAll(); })
        ->setShortcutContext(Qt::WidgetShortcut);
    AddCommand(*TextMenu, "TextMenuClear", "清空(&K)", "Ctrl+K",
               "清除全部文本|清除当前的输出文本框内所有的文本", [memo] { memo->clear(); });
    AddCommand(*TextMenu, "TextMenuFind", "查找(&F)...", nullptr,
               "查找文本|在输出文本框内向后查找指定的文本", Handler(&TMainForm::TextMenuFindClick));
    connect(TextMenu, &QMenu::aboutToShow, this, &TMainForm::RefreshWindowState);

    HelpMenu = bar.addMenu(QStringLiteral("帮助(&H)"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    AddCommand(*HelpMenu, "HelpMenuContents", "帮助主题(&C)", "F1", "查看帮助|打开浏览帮助文档",
               Handler(&TMainForm::HelpMenuContentsClick));
    HelpMenu->addSeparator();
    AddCommand(*HelpMenu, "HelpMenuHomePage", "作者主页(&H)", nullptr,
               "作者主页|打开Tovarin项目主页", Handler(&TMainForm::HelpMenuHomePageClick));

    // The window's keys win over the output area's own line keys; the text
    // commands that the area does itself keep their keys there.
    QList<QKeySequence> windowKeys;
    for (QAction* action : findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty() &&
            !QStringList{"TextMenuUndo", "TextMenuCut", "TextMenuCopy", "TextMenuPaste"}.contains(
                action->objectName())) {
            windowKeys.append(action->shortcut());
        }
    }
    OutPutMemo->SetWindowKeys(windowKeys);
    connect(OutPutMemo, &QPlainTextEdit::copyAvailable, this, &TMainForm::RefreshWindowState);
    connect(OutPutMemo, &QPlainTextEdit::undoAvailable, this, &TMainForm::RefreshWindowState);
}

QToolButton* TMainForm::AddToolButton(const char* actionName, const char* caption, const char* icon,
                                      const char* hint) {
    QAction* action = FindAction(QString::fromUtf8(actionName));
    auto* button = new QToolButton(MainTbr);
    button->setObjectName(QString::fromUtf8(actionName) + QStringLiteral("Bt"));
    button->setText(QString::fromUtf8(caption));
    button->setIcon(QIcon(QStringLiteral(":/mainwin/icons/%1.svg").arg(QString::fromUtf8(icon))));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumSize(35, 37);
    SetHint(*button, hint != nullptr ? QString::fromUtf8(hint)
                                     : action->toolTip() + QLatin1Char('|') + action->statusTip());
    button->setEnabled(action->isEnabled());
    connect(action, &QAction::changed, button,
            [button, action] { button->setEnabled(action->isEnabled()); });
    connect(button, &QToolButton::clicked, action, &QAction::trigger);
    MainTbr->addWidget(button);
    return button;
}

void TMainForm::BuildToolBar() {
    MainTbr = addToolBar(QStringLiteral("MainTbr"));
    MainTbr->setObjectName(QStringLiteral("MainTbr"));
    MainTbr->setMovable(false);
    MainTbr->setFloatable(false);
    MainTbr->setIconSize(QSize(20, 20));
    MainTbr->setContextMenuPolicy(Qt::PreventContextMenu);
    AddToolButton("FileMenuCodesDown", "下载", "download");
    AddToolButton("FileMenuSave", "保存", "save");
    MainTbr->addSeparator();
    AddToolButton("FileMenuOptions", "选项", "options");
    AddToolButton("FileMenuCodesEdit", "数据", "data", "开奖号码编辑|对开奖号码表进行详细编辑");
    MainTbr->addSeparator();
    QToolButton* addBind = AddToolButton("EditMenuAdd", "创建", "add");
    // The button opens the kind list at the pointer instead of the menu.
    disconnect(addBind, &QToolButton::clicked, nullptr, nullptr);
    connect(addBind, &QToolButton::clicked, this, [this] { PopUpAtCursor(*BindKindMenu); });
    AddToolButton("EditMenuDel", "删除", "delete");
    AddToolButton("EditMenuUp", "上移", "up");
    AddToolButton("EditMenuDown", "下移", "down");
    AddToolButton("EditMenuSelAll", "全选", "selall");
    AddToolButton("EditMenuAttrib", "属性", "bindattrib");
    MainTbr->addSeparator();
    AddToolButton("ProjectMenuCreate", "创建", "create");
    AddToolButton("ProjectMenuCalcOne", "单筛", "calcone");
    AddToolButton("ProjectMenuCalcAll", "筛选", "calcall");
    AddToolButton("ProjectMenuAttrib", "属性", "prjattrib");
    MainTbr->addSeparator();
    AddToolButton("HelpMenuContents", "帮助", "help");
    AddToolButton("FileMenuExit", "关闭", "exit", "|关闭软件，退出系统。");
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
