// The command set against the program's tables: every menu entry with its
// caption, key, both halves of its hint and the separators, the kind
// submenu, the tool bar, and the context menus.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

#include "gui/draws/CodesDlg.h"
#include "gui/mainwin/Application.h"
#include "gui/mainwin/FakeDialogs.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/PrjListView.h"
#include "gui/mainwin/PrjLists.h"
#include "support/TempDir.h"

using namespace tovarin;

namespace {

struct TEntry {
    const char* Caption;  // "-" for a separator
    const char* Key;
    const char* Hint;
};

const std::vector<std::pair<const char*, std::vector<TEntry>>>& MenuTable() {
    static const std::vector<std::pair<const char*, std::vector<TEntry>>> table = {
        {"文件(&F)",
         {{"新建(&N)", "Ctrl+N", "新建文件|新建一个文档"},
          {"打开(&O)", "Ctrl+O", "打开文件|打开已保存资料的文档"},
          {"最近打开的文档(&R)", "", "最近打开的文档|打开最近打开或保存过的文档"},
          {"保存(&S)", "Ctrl+S", "保存文件|将当前的资料保存为文档"},
          {"另存为(&A)...", "", "保存文件|将当前的资料保存为另外一个文档"},
          {"-", "", ""},
          {"撤销", "Ctrl+Alt+Z", "撤销|撤销对文档的最后一次修改"},
          {"重做", "Ctrl+Alt+Y", "重做|重做刚才撤销的修改"},
          {"-", "", ""},
          {"导出直码(&E)...", "", "导出直码数据|将当前显示区的直码数据导出到文本文件"},
          {"打印(&P)", "Ctrl+P", "打印输出内容|将当前主窗口的输出内容打印输出"},
          {"页面设置(&T)...", "", "页面设置|打印输出之前作页面设置"},
          {"-", "", ""},
          {"下载数据(&D)...", "", "下载数据|从Tovarin项目主页下载最新的开奖号码数据"},
          {"导入开奖数据(&I)...", "Ctrl+Shift+I",
           "导入开奖数据|从网站或电子表格保存的文件导入开奖数据，预览后追加或替换"},
          {"更新开奖数据(&U)...", "Ctrl+Shift+U",
           "更新开奖数据|从启用的数据源取来最新的开奖数据，按期号追加到码表末尾"},
          {"数据源(&W)...", "",
           "数据源|管理更新开奖数据所用的网址：名称、地址、格式、启用和请求头"},
          {"数据编辑(&E)...", "Ctrl+M", "数据编辑|对开奖号码表进行详细编辑"},
          {"号码统计(&H)...", "Ctrl+T",
           "号码统计|统计开奖号码的头数、尾数、头尾合和头尾码的出现与遗漏，显示走势图"},
          {"选项设置(&O)...", "F12", "选项设置|设置对系统有影响的全局变量"},
          {"退出(&X)", "", "关闭退出|关闭程序，退出系统"}}},
        {"方案(&P)",
         {{"创建(&T)", "", "创建方案|创建一个新的方案"},
          {"删除(&D)", "", "删除方案|删除当前选择的方案"},
          {"清空(&C)", "", "清空所有方案|清空当前的方案列表框内所有的方案"},
          {"-", "", ""},
          {"重对区分", "F2", "重对区分|对结果码集内的号码进行重码、非重码以及对数的分组"},
          {"单双区分", "F3", "单双区分|对结果码集内的号码进行单双头尾的分组"},
          {"头数区分", "F4", "头数区分|对结果码集内的号码按照头数进行分组"},
          {"大小区分", "F5", "大小区分|对结果码集内的号码按照大小进行分组"},
          {"-", "", ""},
          {"容错统计", "F6", "容错统计|对码集内所有号码按照错误值进行分组"},
          {"容错透视", "F7", "容错透视|显示码集内所有号码的错误值"},
          {"开奖核对", "Ctrl+Q", "开奖核对|对主窗口中出现的中奖的号码标记为红色"},
          {"横向比较", "Ctrl+J", "方案横行比较|对多个方案进行方案比较，输出比较结果"},
          {"基础号码", "", "显示基础号码|在文本框内显示本方案的筛选基础号码"},
          {"-", "", ""},
          {"单筛(&O)", "F8", "单独筛选|只按照选择的某个条件对号码数据筛选"},
          {"筛选(&G)", "F9", "选择筛选|按照勾选的条件对号码数据进行筛选"},
          {"回测(&B)...", "Ctrl+B",
           "方案回测|检验当前方案在过去各期能否选中中奖号码，并与随机选号比较"},
          {"记录预测(&W)", "Ctrl+R",
           "记录预测|把当前方案最近一次筛选的结果记入成绩单，开奖后自动核对"},
          {"筛选后自动记录预测", "", "筛选后自动记录预测|每次筛选之后自动把结果记入成绩单"},
          {"成绩单(&L)...", "Ctrl+L", "成绩单|已记录的预测与开奖结果的对照，以及与随机选号的比较"},
          {"-", "", ""},
          {"属性(&R)", "F10", "方案属性|显示当前方案的属性编辑窗口"}}},
        {"条件(&E)",
         {{"创建(&T)", "Ins", "创建条件|创建一个新的条件"},
          {"删除(&D)", "Ctrl+Del", "删除条件|删除当前选择的条件"},
          {"清空(&C)", "", "清空|清空当前的条件列表框内所有的条件"},
          {"-", "", ""},
          {"全选(&S)", "Ctrl+A", "全部选择条件|全选当前的条件列表框内所有的条件"},
          {"反选(&I)", "Ctrl+I", "反选全部条件|反选当前的条件列表框内所有的条件"},
          {"上移(&U)", "Ctrl+U", "条件上移|将当前选择的条件上移"},
          {"下移(&W)", "Ctrl+W", "条件下移|将当前选择的条件下移"},
          {"-", "", ""},
          {"属性(&R)", "F11", "条件属性|显示当前条件的属性编辑窗口"}}},
        {"文本(&T)",
         {{"撤销(&Z)", "Ctrl+Z", "放弃文本操作|放弃刚才在输出文本框内完成的文本操作"},
          {"-", "", ""},
          {"剪切(&X)", "Ctrl+X", "剪切文本|剪切文本框内当前选择的文本到剪贴板上"},
          {"复制(&C)", "Ctrl+C", "复制文本|复制文本框内当前选择的文本到剪贴板上"},
          {"粘贴(&V)", "Ctrl+V", "粘贴文本|将剪贴板上的内容粘贴到文本框内"},
          {"删除(&D)", "Ctrl+D", "删除文本|删除输出文本框内当前选择的文本"},
          {"-", "", ""},
          {"全选(&A)", "Ctrl+A", "全部选择文本|全选当前的输出文本框内所有的文本"},
          {"清空(&K)", "Ctrl+K", "清除全部文本|清除当前的输出文本框内所有的文本"},
          {"查找(&F)...", "", "查找文本|在输出文本框内向后查找指定的文本"}}},
        {"帮助(&H)",
         {{"帮助主题(&C)", "F1", "查看帮助|打开浏览帮助文档"},
          {"-", "", ""},
          {"作者主页(&H)", "", "作者主页|打开Tovarin项目主页"}}},
    };
    return table;
}

QString HintOf(const QAction& action) {
    return action.toolTip() + QLatin1Char('|') + action.statusTip();
}

QString HintOf(const QWidget& widget) {
    return widget.toolTip() + QLatin1Char('|') + widget.statusTip();
}

}  // namespace

class MenuTableTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<test::TempDir>();
        dialogs_ = std::make_shared<test::TFakeDialogs>();
        form_ = test::MakeMainForm(*dir_, dialogs_);
    }
    void cleanup() {
        form_.reset();
        dir_.reset();
    }

    void menuBarMatchesTheTable() {
        const QList<QAction*> menus = form_->menuBar()->actions();
        QCOMPARE(menus.size(), qsizetype(MenuTable().size()));
        for (size_t m = 0; m < MenuTable().size(); ++m) {
            const auto& [title, entries] = MenuTable()[m];
            QMenu* menu = menus[qsizetype(m)]->menu();
            QVERIFY(menu != nullptr);
            QCOMPARE(menu->title(), QString::fromUtf8(title));
            const QList<QAction*> actions = menu->actions();
            QCOMPARE(actions.size(), qsizetype(entries.size()));
            for (size_t i = 0; i < entries.size(); ++i) {
                const TEntry& entry = entries[i];
                const QAction& action = *actions[qsizetype(i)];
                const QString where = QString::fromUtf8(title) + " " + QString::number(i);
                if (QString::fromUtf8(entry.Caption) == "-") {
                    QVERIFY2(action.isSeparator(), qPrintable(where));
                    continue;
                }
                QVERIFY2(!action.isSeparator(), qPrintable(where));
                QCOMPARE(action.text(), QString::fromUtf8(entry.Caption));
                QCOMPARE(action.shortcut(), QKeySequence(QString::fromUtf8(entry.Key)));
                QCOMPARE(HintOf(action), QString::fromUtf8(entry.Hint));
            }
        }
    }

    // The entries this program added beside the specified ones: each has a
    // letter that no other entry of its menu uses, so that the key reaches
    // it at once.
    void addedEntriesHaveMnemonicsOfTheirOwn() {
        const std::vector<std::pair<QMenu*, QStringList>> added = {
            {form_->findChild<QMenu*>("FileMenu"),
             {"FileMenuRecentItem", "FileMenuImportTable", "FileMenuStats"}},
            {form_->findChild<QMenu*>("ProjectMenu"), {"ProjectMenuBacktest"}},
            {&form_->CodesForm().CodeMenu(), {"CodeMenuImportTable", "CodeMenuPaste"}},
        };
        const auto letterOf = [](const QAction& action) {
            const qsizetype at = action.text().indexOf(QLatin1Char('&'));
            return at < 0 ? QChar() : action.text().at(at + 1).toUpper();
        };
        for (const auto& [menu, names] : added) {
            QVERIFY(menu != nullptr);
            for (const QString& name : names) {
                const QAction* own = nullptr;
                for (const QAction* action : menu->actions()) {
                    own = action->objectName() == name ? action : own;
                }
                QVERIFY2(own != nullptr, qPrintable(name));
                const QChar letter = letterOf(*own);
                QVERIFY2(!letter.isNull(), qPrintable(name));
                for (const QAction* other : menu->actions()) {
                    QVERIFY2(other == own || letterOf(*other) != letter,
                             qPrintable(name + " shares " + letter + " with " + other->text()));
                }
            }
        }
    }

    void kindSubmenuHasNineKinds() {
        QMenu* kinds = form_->findChild<QMenu*>("BindKindMenu");
        QVERIFY(kinds != nullptr);
        QCOMPARE(form_->findChild<QAction*>("EditMenuAdd")->menu(), kinds);
        const QStringList captions = {"稳上头(&A)", "不上头(&B)", "稳上尾(&C)",
                                      "不上尾(&D)", "头尾数(&E)", "排除数(&F)",
                                      "头尾合(&G)", "排除合(&H)", "稳搭配(&I)"};
        const QList<QAction*> items = kinds->actions();
        QCOMPARE(items.size(), captions.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i]->text(), captions[i]);
            QCOMPARE(items[i]->data().toInt(), i + 1);
        }
        QCOMPARE(HintOf(*items[0]), QStringLiteral("稳上头|指定的数列必须在头位出现"));
        for (QAction* item : items) {
            QVERIFY(item->toolTip().size() == 3);
            QVERIFY(!item->statusTip().isEmpty());
        }
    }

    void toolBarOrderAndHints() {
        auto* bar = form_->findChild<QToolBar*>("MainTbr");
        QVERIFY(bar != nullptr);
        struct TButton {
            const char* Caption;
            const char* Name;
            const char* Hint;
        };
        const std::vector<TButton> expected = {
            {"下载", "FileMenuCodesDownBt", "下载数据|从Tovarin项目主页下载最新的开奖号码数据"},
            {"保存", "FileMenuSaveBt", "保存文件|将当前的资料保存为文档"},
            {"|", "", ""},
            {"选项", "FileMenuOptionsBt", "选项设置|设置对系统有影响的全局变量"},
            {"数据", "FileMenuCodesEditBt", "开奖号码编辑|对开奖号码表进行详细编辑"},
            {"|", "", ""},
            {"创建", "EditMenuAddBt", "创建条件|创建一个新的条件"},
            {"删除", "EditMenuDelBt", "删除条件|删除当前选择的条件"},
            {"上移", "EditMenuUpBt", "条件上移|将当前选择的条件上移"},
            {"下移", "EditMenuDownBt", "条件下移|将当前选择的条件下移"},
            {"全选", "EditMenuSelAllBt", "全部选择条件|全选当前的条件列表框内所有的条件"},
            {"属性", "EditMenuAttribBt", "条件属性|显示当前条件的属性编辑窗口"},
            {"|", "", ""},
            {"创建", "ProjectMenuCreateBt", "创建方案|创建一个新的方案"},
            {"单筛", "ProjectMenuCalcOneBt", "单独筛选|只按照选择的某个条件对号码数据筛选"},
            {"筛选", "ProjectMenuCalcAllBt", "选择筛选|按照勾选的条件对号码数据进行筛选"},
            {"属性", "ProjectMenuAttribBt", "方案属性|显示当前方案的属性编辑窗口"},
            {"|", "", ""},
            {"帮助", "HelpMenuContentsBt", "查看帮助|打开浏览帮助文档"},
            {"关闭", "FileMenuExitBt", "|关闭软件，退出系统。"},
        };
        const QList<QAction*> slots_ = bar->actions();
        QCOMPARE(slots_.size(), qsizetype(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            QAction* slot = slots_[qsizetype(i)];
            if (QString::fromUtf8(expected[i].Caption) == "|") {
                QVERIFY(slot->isSeparator());
                continue;
            }
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(slot));
            QVERIFY2(button != nullptr, expected[i].Name);
            QCOMPARE(button->objectName(), QString::fromUtf8(expected[i].Name));
            QCOMPARE(button->text(), QString::fromUtf8(expected[i].Caption));
            QCOMPARE(HintOf(*button), QString::fromUtf8(expected[i].Hint));
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            QVERIFY(!button->icon().isNull());
            QVERIFY(button->sizeHint().width() >= 35);
        }
    }

    void toolButtonRunsTheEntry() {
        int runs = 0;
        connect(form_->findChild<QAction*>("FileMenuCodesDown"), &QAction::triggered, this,
                [&runs] { ++runs; });
        form_->findChild<QToolButton*>("FileMenuCodesDownBt")->click();
        QCOMPARE(runs, 1);
        // The entry's enabled state reaches its button.
        form_->findChild<QAction*>("FileMenuCodesDown")->setEnabled(false);
        QVERIFY(!form_->findChild<QToolButton*>("FileMenuCodesDownBt")->isEnabled());
    }

    void analysisEntriesAreLeftForTheirUnit() {
        for (const char* name :
             {"ProjectMenuDouble", "ProjectMenuSingle", "ProjectMenuHead", "ProjectMenuSmallBig",
              "ProjectMenuMissStat", "ProjectMenuMissView", "ProjectMenuVerify",
              "ProjectMenuContrast", "ProjectMenuBaseCode", "FileMenuCodesDown"}) {
            QAction* action = form_->findChild<QAction*>(name);
            QVERIFY2(action != nullptr, name);
            QVERIFY(action->isEnabled());
        }
    }

    void contextMenusOpenTheirMenus() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        const std::vector<std::pair<QWidget*, const char*>> places = {
            {&form_->Lists().ConditionView(), "EditMenu"},
            {&form_->Lists().ProjectView(), "ProjectMenu"},
            {&form_->Output(), "TextMenu"}};
        for (const auto& [widget, menuName] : places) {
            QMenu* menu = form_->findChild<QMenu*>(menuName);
            QVERIFY(!menu->isVisible());
            emit widget->customContextMenuRequested(QPoint(5, 5));
            QTRY_VERIFY2(menu->isVisible(), menuName);
            menu->hide();
        }
    }

    void statusPanelsAndLayout() {
        QCOMPARE(form_->StatusPanel(0).minimumWidth(), 420);
        QCOMPARE(form_->StatusPanel(1).minimumWidth(), 80);
        QCOMPARE(form_->StatusPanel(2).minimumWidth(), 50);
        QCOMPARE(form_->StatusPanel(1).text(), QStringLiteral("未修改"));
        QCOMPARE(form_->size(), QSize(763, 538));
        QCOMPARE(form_->font().pixelSize(), 14);
        QCOMPARE(form_->Lists().ProjectView().columnCount(), 4);
        QCOMPARE(form_->Lists().ProjectView().headerItem()->text(0), QStringLiteral("期号"));
        QCOMPARE(form_->Lists().ProjectView().headerItem()->text(3), QStringLiteral("结果"));
        QCOMPARE(form_->Lists().ProjectView().columnWidth(1), 55);
        QCOMPARE(form_->Output().lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!form_->Output().isReadOnly());
        QVERIFY(form_->windowTitle().startsWith(QStringLiteral("Tovarin v1.08 - ")));
    }

    void insOpensTheKindListAtThePointer() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QMenu* kinds = form_->findChild<QMenu*>("BindKindMenu");
        form_->findChild<QAction*>("EditMenuAdd")->trigger();
        QTRY_VERIFY(kinds->isVisible());
        kinds->hide();
        form_->findChild<QToolButton*>("EditMenuAddBt")->click();
        QTRY_VERIFY(kinds->isVisible());
        kinds->hide();
    }

    void standardTextsSpeakChinese() {
        TApplication::LoadChineseTranslations(*qApp);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes").left(1),
                 QStringLiteral("是"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No").left(1),
                 QStringLiteral("否"));
    }

    void hintGoesToTheFirstPanel() {
        QStatusTipEvent tip(QStringLiteral("选择筛选的长提示"));
        QCoreApplication::sendEvent(form_.get(), &tip);
        QCOMPARE(form_->StatusPanel(0).text(), QStringLiteral("选择筛选的长提示"));
    }

private:
    std::unique_ptr<test::TempDir> dir_;
    std::shared_ptr<test::TFakeDialogs> dialogs_;
    std::unique_ptr<TMainForm> form_;
};

QTEST_MAIN(MenuTableTest)
#include "MenuTableTest.moc"
