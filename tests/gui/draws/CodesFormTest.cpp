#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "gui/common/DocUndo.h"
#include "gui/common/WhenModalOpens.h"
#include "gui/draws/CodeNetGrid.h"
#include "gui/draws/CodesDlg.h"
#include "gui/draws/FindDialog.h"
#include "gui/draws/LabelDateDlg.h"
#include "support/Draws.h"

using namespace tovarin;

namespace {

struct ButtonRow {
    const char* name;
    const char* caption;
    const char* toolTip;
    const char* statusTip;
    bool visible;
};

// The toolbar, left to right.
const ButtonRow kButtons[] = {
    {"FileMenuNewBt", "导入", "导入开奖号码", "从TEXT文件里面导入开奖号码", true},
    {"TableImportBt", "导入数据", "导入开奖数据",
     "从网站或电子表格保存的文件导入开奖数据，预览后追加或替换", true},
    {"UpdateBt", "更新", "更新开奖数据", "从启用的数据源取来最新的开奖数据，按期号追加到码表末尾",
     true},
    {"PasteTableBt", "粘贴", "粘贴开奖数据", "把剪贴板里的开奖数据导入码表，预览后追加或替换",
     false},
    {"FileMenuOpenBt", "导出", "导出开奖号码", "将当前的开奖号码导出到文本文件", true},
    {"TableExportBt", "导出数据", "导出开奖数据",
     "把开奖号码连同期号和开奖日期导出为CSV文件，可以再导入", false},
    {"LabelDateBt", "期号", "修改期号和日期", "修改光标所在行的期号和开奖日期", false},
    {"FileMenuSaveBt", "删除", "删除行", "删除当前开奖号码表光标所在位置的行", true},
    {"FileMenuPrintBt", "清空", "清空开奖号码表行", "清空当前的码表内所有行", true},
    {"FileMenuOptionsBt", "增加", "增加行", "在开奖号码表尾部增加一行直码", true},
    {"FileMenuCodesEditBt", "插入", "插入行", "在开奖号码表光标所在位置插入一行直码", true},
    {"EditMenuAddBt", "不选", "清除任何选择", "清除任何开奖号码表上面的选择行", false},
    {"EditMenuDelBt", "全选", "全部选择", "全选当前的开奖号码表内所有的直码行", false},
    {"EditMenuUpBt", "反选", "反向选择", "反向选择当前的开奖号码表内所有的直码行", false},
    {"StatMenuTextBt", "查找", "查找直码", "在开奖号码表内查找指定的直码或数字", true},
    {"EditMenuSelAllBt", "续查", "继续查找", "在开奖号码表内继续查找指定的直码或数字", true},
    {"EditMenuCloseBt", "关闭", "关闭窗口", "关闭开奖号码窗口", true},
};

struct ItemRow {
    const char* name;
    const char* caption;
    const char* shortcut;  // as QKeySequence spells it
    const char* toolTip;
    const char* statusTip;
};

// The context menu, top to bottom.
const ItemRow kItems[] = {
    {"CodeMenuImport", "码表导入(&I)...", "", "导入直码数据", "导入直码数据作为当前的基础直码"},
    {"CodeMenuImportTable", "导入开奖数据(&T)...", "Ctrl+Shift+I", "导入开奖数据",
     "从CSV或文本文件导入开奖数据，预览后追加或替换"},
    {"CodeMenuUpdate", "更新开奖数据(&U)...", "Ctrl+Shift+U", "更新开奖数据",
     "从启用的数据源取来最新的开奖数据，按期号追加到码表末尾"},
    {"CodeMenuPaste", "粘贴开奖数据(&V)", "Ctrl+V", "粘贴开奖数据",
     "把剪贴板里的开奖数据导入码表，预览后追加或替换"},
    {"CodeMenuExport", "码表导出(&E)...", "", "导出直码数据", "将当前的基础直码向文本文件导出"},
    {"CodeMenuExportTable", "导出开奖数据(&X)...", "", "导出开奖数据",
     "把开奖号码连同期号和开奖日期导出为CSV文件，可以再导入"},
    {"CodeMenuLabelDate", "修改期号和日期(&L)...", "", "修改期号和日期",
     "修改光标所在行的期号和开奖日期"},
    {"CodeMenuDel", "删除(&D)", "Ctrl+Del", "删除行", "删除当前码表光标所在位置的行"},
    {"CodeMenuClear", "清空(&C)", "", "清空码表行", "清空当前的码表内所有行"},
    {"CodeMenuAdd", "增加(&A)", "Shift+Ins", "增加行", "在码表尾部增加一行直码"},
    {"CodeMenuInsert", "插入(&I)", "Ctrl+Ins", "插入行", "在码表光标所在位置插入一行直码"},
    {"CodeMenuSelNone", "不选(&N)", "", "清除任何选择", "清除任何码表上面的选择行"},
    {"CodeMenuSelAll", "全选(&A)", "Ctrl+A", "全部选择", "全选当前的码表内所有的直码行"},
    {"CodeMenuSelInvert", "反选(&I)", "Ctrl+I", "反向选择", "反向选择当前的码表内所有的直码行"},
    {"CodeMenuFind", "查找(&F)...", "Ctrl+F", "查找直码", "在码表内查找指定的直码或数字"},
    {"CodeMenuNext", "续查(&N)", "F3", "继续查找", "在码表内继续查找指定的直码或数字"},
    {"CodeMenuGame", "游戏(&G)", "", "游戏", "选择码表的游戏：七位数、七星彩或排列5"},
};

QString U(const char* text) { return QString::fromUtf8(text); }

QAction* ActionOf(QWidget& form, const char* name) {
    auto* action = form.findChild<QAction*>(QString::fromLatin1(name));
    if (action == nullptr) {
        qFatal("no action named %s", name);
    }
    return action;
}

QString Selection(const TCodeNet& net) {
    QString marks;
    for (int row = 0; row < net.Count(); ++row) {
        marks += net.GetSeq(row).Selected ? 'x' : '.';
    }
    return marks;
}

constexpr QRgb GridRgb = qRgb(0xC0, 0xC0, 0xC0);

}  // namespace

class CodesFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TCodesForm> form_;
    TCodeNetGrid* grid_ = nullptr;
    std::unique_ptr<TPrjMgr> projects_;
    std::unique_ptr<TDocUndo> undo_;

    // The window as the program runs it, with the document's history.
    TDocUndo& WithUndo() {
        projects_ = std::make_unique<TPrjMgr>(Net());
        undo_ = std::make_unique<TDocUndo>(Net(), *projects_);
        form_->SetUndo(*undo_);
        return *undo_;
    }
    std::string Image() { return BuildDocumentImage(Net(), *projects_); }
    void PressUndo() { QTest::keyClick(grid_, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier); }
    void PressRedo() { QTest::keyClick(grid_, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier); }

    TCodeNet& Net() { return form_->CodeNet(); }
    const TNetView& View() { return grid_->View(); }

    QPoint DigitCellCentre(int line, int col) {
        TRect cell;
        if (!View().CellRect(line, col, cell)) {
            qFatal("line %d is not visible", line);
        }
        return QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    }
    QPoint SelCellCentre(int line) {
        const TRect cell = View().SelCell(line);
        return QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    }
    void ClickDigit(int line, int col) {
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier,
                          DigitCellCentre(line, col));
    }
    void ClickSel(int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, modifiers, SelCellCentre(line));
    }
    void Find(const char* text) {
        form_->FindDialog().SetFindText(U(text));
        auto* button = form_->FindDialog().findChild<QPushButton*>("FindNextBt");
        QVERIFY(button != nullptr);
        button->click();
    }
    QImage GridImage() { return grid_->viewport()->grab().toImage(); }

private slots:
    void init() {
        form_ = std::make_unique<TCodesForm>();
        form_->resize(422, 600);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        grid_ = &form_->Grid();
        grid_->setFocus();
    }
    void cleanup() {
        // The history hears the table the window holds: it goes first.
        undo_.reset();
        form_.reset();
        projects_.reset();
    }

    void windowCaptionAndFlags() {
        QCOMPARE(form_->windowTitle(), U("Oruvel开奖号码表编辑窗口"));
        QVERIFY(form_->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(form_->findChild<QWidget*>("Panel1") != nullptr);
        QCOMPARE(grid_->parentWidget()->objectName(), QString("Panel1"));
        QCOMPARE(form_->y(), 0);
    }

    void toolbarButtonsMatchTheirTable() {
        auto* toolbar = form_->findChild<QToolBar*>("MainTbr");
        QVERIFY(toolbar != nullptr);
        QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        const QList<QAction*> actions = toolbar->actions();
        QCOMPARE(actions.size(), qsizetype(std::size(kButtons)));
        for (size_t i = 0; i < std::size(kButtons); ++i) {
            const ButtonRow& row = kButtons[i];
            QAction* action = actions[static_cast<qsizetype>(i)];
            QCOMPARE(action->objectName(), QString::fromLatin1(row.name));
            QCOMPARE(action->text(), U(row.caption));
            QCOMPARE(action->toolTip(), U(row.toolTip));
            QCOMPARE(action->statusTip(), U(row.statusTip));
            QCOMPARE(action->isVisible(), row.visible);
            QVERIFY2(!action->icon().isNull(), row.name);
            // No blank buttons: the image must put some ink on the face.
            const QImage image = action->icon().pixmap(24, 24).toImage();
            int inked = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    inked += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
                }
            }
            QVERIFY2(inked > 60, row.name);
        }
    }

    void gameMenuSwitchesAsOneStepAndRefusesDrawsThatDoNotFit() {
        WithUndo();
        test::AddDraws(Net(), {"1234567"});
        undo_->Reset();
        QAction* seven = ActionOf(*form_, "CodeMenuGame_seven");
        QAction* qxc = ActionOf(*form_, "CodeMenuGame_qxc");
        QAction* pl5 = ActionOf(*form_, "CodeMenuGame_pl5");
        QCOMPARE(QStringList({seven->text(), qxc->text(), pl5->text()}),
                 QStringList({U("七位数"), U("七星彩"), U("排列5")}));
        QVERIFY(seven->isChecked() && qxc->isCheckable());
        QVERIFY(qxc->actionGroup() != nullptr && qxc->actionGroup()->isExclusive());

        qxc->trigger();
        QCOMPARE(Net().Game(), TGame::Qxc);
        QVERIFY(qxc->isChecked());
        QCOMPARE(form_->windowTitle(), U("Oruvel开奖号码表编辑窗口 [七星彩]"));
        QCOMPARE(undo_->History().UndoCount(), size_t{1});
        QCOMPARE(ActionOf(*form_, "DocUndo")->text(), U("撤销：切换游戏"));
        ClickDigit(0, 6);
        QTest::keyClicks(grid_, "14");
        QCOMPARE(Net().GetNum(0, 6), 14);

        // Neither of the others holds the draw: refused with the box, nothing changed.
        const struct {
            QAction* action;
            const char* message;
        } refusals[] = {{pl5, "第1期的第6个号码是6，排列5只有5个号码"},
                        {seven, "第1期的第7个号码是14，七位数每位只能是0-9"}};
        for (const auto& refusal : refusals) {
            QString shown;
            test::WhenModalOpens<QMessageBox>(this, [&shown](QMessageBox& box) {
                shown = box.text();
                box.accept();
            });
            refusal.action->trigger();
            QCOMPARE(shown, U(refusal.message));
            QCOMPARE(Net().Game(), TGame::Qxc);
            QVERIFY(qxc->isChecked());
        }
        QCOMPARE(undo_->History().UndoCount(), size_t{2});
        ActionOf(*form_, "DocUndo")->trigger();
        QCOMPARE(Net().GetNum(0, 6), 7);
        ActionOf(*form_, "DocUndo")->trigger();
        QCOMPARE(Net().Game(), TGame::Seven);
        QVERIFY(seven->isChecked());
        QCOMPARE(form_->windowTitle(), U("Oruvel开奖号码表编辑窗口"));
        QCOMPARE(test::DigitsOf(Net(), 0), std::string("1234567"));
    }

    void contextMenuItemsMatchTheirTable() {
        QMenu& menu = form_->CodeMenu();
        QCOMPARE(menu.objectName(), QString("CodeMenu"));
        QList<QAction*> items;
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator()) {
                items << action;
            }
        }
        QCOMPARE(items.size(), qsizetype(std::size(kItems)));
        for (size_t i = 0; i < std::size(kItems); ++i) {
            const ItemRow& row = kItems[i];
            QAction* action = items[static_cast<qsizetype>(i)];
            QCOMPARE(action->objectName(), QString::fromLatin1(row.name));
            QCOMPARE(action->text(), U(row.caption));
            QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), U(row.shortcut));
            QCOMPARE(action->toolTip(), U(row.toolTip));
            QCOMPARE(action->statusTip(), U(row.statusTip));
        }
    }

    void rightClickOpensTheContextMenu() {
        QContextMenuEvent event(QContextMenuEvent::Mouse, DigitCellCentre(0, 0),
                                grid_->viewport()->mapToGlobal(DigitCellCentre(0, 0)));
        QApplication::sendEvent(grid_->viewport(), &event);
        QTRY_VERIFY(form_->CodeMenu().isVisible());
        form_->CodeMenu().hide();
    }

    void fileDialogs() {
        QFileDialog& open = form_->OpenDialog();
        QCOMPARE(open.objectName(), QString("OpenDialog"));
        QCOMPARE(open.windowTitle(), U("从文本文件中的数据直码导入号码"));
        QCOMPARE(open.nameFilters(), QStringList({U("文本文件 (*.txt)"), U("任何文件 (*.*)")}));
        QCOMPARE(open.defaultSuffix(), QString("txt"));
        QCOMPARE(open.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(open.directory().absolutePath(), QCoreApplication::applicationDirPath());

        QFileDialog& save = form_->SaveDialog();
        QCOMPARE(save.windowTitle(), U("导出直码数据到文本文件"));
        QCOMPARE(save.nameFilters(), QStringList({U("文本文件 (*.txt)")}));
        QCOMPARE(save.defaultSuffix(), QString("txt"));
        QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!save.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(save.directory().absolutePath(), QCoreApplication::applicationDirPath());
    }

    void exportAndImportThroughTheDialogs() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        test::AddDraws(Net(), {"0372915", "9876543"});
        const QString path = folder.filePath("draws");  // the dialog adds .txt
        QTimer::singleShot(0, &form_->SaveDialog(), [this, path] {
            form_->SaveDialog().selectFile(path);
            static_cast<QDialog&>(form_->SaveDialog()).accept();
        });
        ActionOf(*form_, "FileMenuOpenBt")->trigger();
        QVERIFY(QFileInfo::exists(path + ".txt"));

        ActionOf(*form_, "CodeMenuClear")->trigger();
        QCOMPARE(Net().Count(), 0);
        QTimer::singleShot(0, &form_->OpenDialog(), [this, path] {
            form_->OpenDialog().selectFile(path + ".txt");
            static_cast<QDialog&>(form_->OpenDialog()).accept();
        });
        ActionOf(*form_, "CodeMenuImport")->trigger();
        QCOMPARE(Net().Count(), 2);
        QCOMPARE(test::DigitsOf(Net(), 1), std::string("9876543"));
    }

    void cancellingADialogDoesNothing() {
        test::AddDraws(Net(), {"1111111"});
        QTimer::singleShot(0, &form_->OpenDialog(), [this] { form_->OpenDialog().reject(); });
        ActionOf(*form_, "FileMenuNewBt")->trigger();
        QCOMPARE(Net().Count(), 1);
    }

    void widthRuleKeepsTheWidthAndCentres() {
        form_->resize(600, 300);
        QCOMPARE(form_->width(), TCodesForm::FixedWidth);
        QCOMPARE(form_->height(), 300);
        form_->resize(422, 700);
        QCOMPARE(form_->width(), 495);
        QCOMPARE(form_->height(), 700);
        const int screenWidth = form_->screen()->geometry().width();
        QTRY_COMPARE(form_->x(), (screenWidth - 495) / 2);
    }

    // Periods of seven digits and more fit their column, which the window
    // widens for; a short table gives the usual width back.
    void periodColumnFitsTheLargestPeriod() {
        const QFont small = [this] {
            QFont font = grid_->font();
            font.setPixelSize(11);
            return font;
        }();
        Net().Replace(std::vector<TSeq>(1000000));
        const TNetView& view = grid_->View();
        QVERIFY(view.Column(1).Width >=
                QFontMetrics(small).horizontalAdvance(QStringLiteral("1000000")));
        QCOMPARE(form_->width(),
                 TCodesForm::FixedWidth + view.HeaderWidth() - TNetView::StandardHeaderWidth);
        QVERIFY(form_->width() > TCodesForm::FixedWidth);
        QCOMPARE(view.HitTest(view.FirstDigitCell().Left + 1, view.FirstDigitCell().Top + 1).Region,
                 rtNum);
        Net().Clear();
        QCOMPARE(form_->width(), TCodesForm::FixedWidth);
    }

    void typingSevenDigitsOnAnEmptyTable() {
        QTest::keyClicks(grid_, "1234567");
        QCOMPARE(Net().Count(), 1);
        QCOMPARE(test::DigitsOf(Net(), 0), std::string("1234567"));
        QCOMPARE(View().CursorTableRow(), 1);
        QCOMPARE(View().CursorCol(), 0);
        QVERIFY(Net().Modified());
    }

    void lettersBeepAndChangeNothing() {
        QTest::keyClicks(grid_, "a ");
        QCOMPARE(Net().Count(), 0);
    }

    void rightOnTheAppendLineDoesNothing() {
        test::AddDraws(Net(), {"1111111"});
        ClickDigit(1, 0);
        QTest::keyClick(grid_, Qt::Key_Right);
        QCOMPARE(View().CursorCol(), 0);
        QCOMPARE(View().CursorTableRow(), 1);
    }

    void leftWrapsToTheLineAbove() {
        test::AddDraws(Net(), {"1111111", "2222222"});
        ClickDigit(1, 0);
        QTest::keyClick(grid_, Qt::Key_Left);
        QCOMPARE(View().CursorTableRow(), 0);
        QCOMPARE(View().CursorCol(), 6);
        QTest::keyClick(grid_, Qt::Key_Home);
        ClickDigit(0, 0);
        QTest::keyClick(grid_, Qt::Key_Left);
        QCOMPARE(View().CursorTableRow(), 0);
        QCOMPARE(View().CursorCol(), 0);
    }

    void deleteAndInsertOnTheAppendLine() {
        test::AddDraws(Net(), {"1111111", "2222222"});
        ClickDigit(2, 0);
        ActionOf(*form_, "CodeMenuDel")->trigger();
        QCOMPARE(Net().Count(), 2);
        ActionOf(*form_, "FileMenuCodesEditBt")->trigger();
        QCOMPARE(Net().Count(), 3);
        QCOMPARE(test::DigitsOf(Net(), 2), std::string("0000000"));
    }

    void deleteAndInsertAtTheCursorRow() {
        test::AddDraws(Net(), {"1111111", "2222222", "3333333"});
        ClickDigit(1, 2);
        ActionOf(*form_, "CodeMenuInsert")->trigger();
        QCOMPARE(Net().Count(), 4);
        QCOMPARE(test::DigitsOf(Net(), 1), std::string("0000000"));
        QCOMPARE(test::DigitsOf(Net(), 2), std::string("2222222"));
        ActionOf(*form_, "FileMenuSaveBt")->trigger();
        ActionOf(*form_, "CodeMenuDel")->trigger();
        QCOMPARE(Net().Count(), 2);
        QCOMPARE(test::DigitsOf(Net(), 1), std::string("3333333"));
    }

    void addClearAndSelections() {
        ActionOf(*form_, "CodeMenuAdd")->trigger();
        ActionOf(*form_, "FileMenuOptionsBt")->trigger();
        ActionOf(*form_, "CodeMenuAdd")->trigger();
        QCOMPARE(Net().Count(), 3);
        Net().SetSelected(1, true);
        ActionOf(*form_, "CodeMenuSelInvert")->trigger();
        QCOMPARE(Selection(Net()), QString("x.x"));
        ActionOf(*form_, "CodeMenuSelNone")->trigger();
        QCOMPARE(Selection(Net()), QString("..."));
        ActionOf(*form_, "CodeMenuSelAll")->trigger();
        QCOMPARE(Selection(Net()), QString("xxx"));
        ActionOf(*form_, "FileMenuPrintBt")->trigger();
        QCOMPARE(Net().Count(), 0);
    }

    void shortcutsReachTheCommands() {
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QTest::keyClick(grid_, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(grid_, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(Net().Count(), 2);
        QTest::keyClick(grid_, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Selection(Net()), QString("xx"));
        QTest::keyClick(grid_, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Net().Count(), 1);
    }

    void shiftAndAltClickSelectRanges() {
        test::AddDraws(Net(), std::vector<std::string>(8, "1234567"));
        ClickSel(1);
        ClickSel(5, Qt::ShiftModifier);
        QCOMPARE(Selection(Net()), QString(".xxxxx.."));
        ClickSel(3, Qt::AltModifier);
        QCOMPARE(Selection(Net()), QString("....xx.."));
        QVERIFY(Net().Modified());  // from Fill; the clicks do not matter
    }

    void enterSelectsTheCursorRow() {
        test::AddDraws(Net(), std::vector<std::string>(4, "1234567"));
        ClickDigit(2, 1);
        QTest::keyClick(grid_, Qt::Key_Return);
        QCOMPARE(Selection(Net()), QString("..x."));
    }

    void findThirtySeven() {
        test::AddDraws(Net(), {"0000000", "1230700", "1237000", "3707000", "3070000"});
        form_->CodeMenuFindClick();
        QVERIFY(form_->FindDialog().isVisible());
        Find("37");
        QCOMPARE(View().CursorTableRow(), 2);
        Find("37");
        QCOMPARE(View().CursorTableRow(), 3);
        Find("37");
        QCOMPARE(View().CursorTableRow(), 3);  // no wrap to the top
        QVERIFY(form_->FindDialog().isVisible());
    }

    void findWithAWildcard() {
        test::AddDraws(Net(), {"0000000", "3700000", "1327000", "4030700"});
        Find("3?7");
        QCOMPARE(View().CursorTableRow(), 2);
        ActionOf(*form_, "CodeMenuNext")->trigger();
        QCOMPARE(View().CursorTableRow(), 3);
    }

    void findEightCharactersNeverMatches() {
        test::AddDraws(Net(), {"0000000", "1234567", "1234567"});
        Find("12345671");
        QCOMPARE(View().CursorTableRow(), 0);
        Find("1234567");
        QCOMPARE(View().CursorTableRow(), 1);
    }

    void findOnTheLastDraw() {
        test::AddDraws(Net(), {"3700000", "0000000", "3700000"});
        Find("37");
        QCOMPARE(View().CursorTableRow(), 2);
        Find("37");
        QCOMPARE(View().CursorTableRow(), 2);
        ClickDigit(3, 0);
        Find("37");
        QCOMPARE(View().CursorTableRow(), 3);
    }

    void aMatchFarDownScrollsIntoView() {
        std::vector<TSeq> rows(500);
        rows[400].SetNum(3, 9);
        Net().Replace(std::move(rows));
        Find("9");
        QCOMPARE(View().CursorTableRow(), 400);
        QCOMPARE(View().TopRow(), 398);
        QCOMPARE(grid_->verticalScrollBar()->value(), 398);
    }

    void tinyClientAreaShowsNoLines() {
        form_->resize(495, 200);
        grid_->setMinimumHeight(0);
        grid_->setMaximumHeight(grid_->height() - grid_->viewport()->height() + 30);
        QTRY_COMPARE(grid_->viewport()->height(), 30);
        QCOMPARE(View().VisibleRows(), 0);
        const QImage image = GridImage();
        QCOMPARE(image.pixel(10, 25), grid_->palette().color(QPalette::Base).rgb());
    }

    void thickLinesAbovePeriodsOneFiveNine() {
        test::AddDraws(Net(), std::vector<std::string>(30, "1234567"));
        const QImage image = GridImage();
        // Line i's grid line is at y = 24 + 21 i; a thick one also takes y - 1.
        for (int line = 0; line < 12; ++line) {
            const int y = 24 + 21 * line;
            QCOMPARE(image.pixel(100, y), GridRgb);
            const bool thick = line % 4 == 0;
            QCOMPARE(image.pixel(100, y - 1) == GridRgb, thick);
        }
        grid_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(View().TopRow(), 1);
        const QImage scrolled = GridImage();
        QCOMPARE(scrolled.pixel(100, 24 + 21 * 3 - 1), GridRgb);  // above period 5
        QVERIFY(scrolled.pixel(100, 24 - 1) != GridRgb);          // above period 2
    }

    void cursorFrameFollowsTheFocus() {
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        test::AddDraws(Net(), {"1111111", "2222222"});
        ClickDigit(0, 2);
        QTRY_VERIFY(grid_->hasFocus());
        TRect cell;
        View().CellRect(0, 2, cell);
        QCOMPARE(GridImage().pixel(cell.Left - 1, cell.Top + 5), qRgb(0, 0, 255));
        grid_->clearFocus();
        QCOMPARE(GridImage().pixel(cell.Left - 1, cell.Top + 5), qRgb(0, 255, 0));
    }

    void pageDownAndScrollBarStayInStep() {
        std::vector<TSeq> rows(1000);
        Net().Replace(std::move(rows));
        const int lines = View().VisibleRows();
        QCOMPARE(grid_->verticalScrollBar()->maximum(), 1000 - lines + 2);
        QTest::keyClick(grid_, Qt::Key_PageDown);
        QCOMPARE(View().TopRow(), lines);
        QCOMPARE(grid_->verticalScrollBar()->value(), lines);
        QTest::keyClick(grid_, Qt::Key_End);
        QCOMPARE(grid_->verticalScrollBar()->value(), 1000 - lines + 2);
        grid_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(View().TopRow(), 0);
    }

    void showingTheWindowGoesToTheNewestDraw() {
        form_->hide();
        std::vector<TSeq> rows(365);
        rows[364].SetNum(0, 9);
        Net().Replace(std::move(rows));
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QCOMPARE(View().CursorTableRow(), 365);
        QCOMPARE(View().CursorCol(), 0);
        QCOMPARE(View().TopRow(), View().ScrollMax());
        QCOMPARE(grid_->verticalScrollBar()->value(), View().TopRow());
        // The newest draw is on the line above the cursor, in view.
        QVERIFY(View().CursorRow() >= 1);
        QVERIFY(View().CursorRow() < View().VisibleRows());
        if (const QByteArray shot = qgetenv("TOVARIN_SHOT"); !shot.isEmpty()) {
            form_->grab().save(QString::fromLocal8Bit(shot));
        }
        QTest::keyClicks(grid_, "0123456");
        QCOMPARE(Net().Count(), 366);
        QCOMPARE(test::DigitsOf(Net(), 365), std::string("0123456"));
    }

    void importShowsTheAppendLine() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        std::string text = ";\r\n;\r\n;\r\n;\r\n";
        for (int i = 0; i < 361; ++i) {
            text += "1234567\r\n";
        }
        const QString path = folder.filePath("draws.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        file.close();
        ClickDigit(0, 3);
        QTimer::singleShot(0, &form_->OpenDialog(), [this, path] {
            form_->OpenDialog().selectFile(path);
            static_cast<QDialog&>(form_->OpenDialog()).accept();
        });
        ActionOf(*form_, "CodeMenuImport")->trigger();
        QCOMPARE(Net().Count(), 361);
        QCOMPARE(View().CursorTableRow(), 361);
        QCOMPARE(View().CursorCol(), 0);
        QCOMPARE(grid_->verticalScrollBar()->value(), View().TopRow());
    }

    void findWithoutAMatchSaysNotFound() {
        test::AddDraws(Net(), {"0000000", "3700000", "0000000"});
        QCOMPARE(form_->statusBar()->currentMessage(), QString());
        Find("99");
        QCOMPARE(form_->statusBar()->currentMessage(), U("未找到"));
        QCOMPARE(View().CursorTableRow(), 0);
        Find("37");
        QCOMPARE(View().CursorTableRow(), 1);
        QCOMPARE(form_->statusBar()->currentMessage(), QString());
        // Find next past the last match: no wrap-around, and it says so.
        ActionOf(*form_, "CodeMenuNext")->trigger();
        QCOMPARE(View().CursorTableRow(), 1);
        QCOMPARE(form_->statusBar()->currentMessage(), U("未找到"));
        // An empty find text searches nothing and says nothing.
        Find("");
        QCOMPARE(form_->statusBar()->currentMessage(), QString());
    }

    void undoEntriesInTheContextMenu() {
        WithUndo();
        QAction* undo = ActionOf(*form_, "DocUndo");
        QAction* redo = ActionOf(*form_, "DocRedo");
        const QList<QAction*> items = form_->CodeMenu().actions();
        QCOMPARE(items.at(items.size() - 2), undo);
        QCOMPARE(items.last(), redo);
        QVERIFY(items.at(items.size() - 3)->isSeparator());
        QCOMPARE(undo->text(), U("撤销"));
        QCOMPARE(redo->text(), U("重做"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QCOMPARE(undo->shortcut().toString(QKeySequence::PortableText), QString("Ctrl+Alt+Z"));
        QCOMPARE(redo->shortcut().toString(QKeySequence::PortableText), QString("Ctrl+Alt+Y"));
        // The specified keys keep their commands.
        for (QAction* action : form_->actions()) {
            if (action != undo && action != redo) {
                QVERIFY(action->shortcut() != undo->shortcut());
                QVERIFY(action->shortcut() != redo->shortcut());
            }
        }
    }

    void clearIsUndoneByteForByteAndSaysSo() {
        WithUndo();
        std::vector<TSeq> rows(365);
        rows[7].SetNum(2, 5);
        Net().Replace(std::move(rows));
        Net().ClearModified();
        undo_->Reset();
        const std::string before = Image();
        QSignalSpy reported(form_.get(), &TCodesForm::Reported);

        ActionOf(*form_, "FileMenuPrintBt")->trigger();
        QCOMPARE(Net().Count(), 0);
        QCOMPARE(form_->statusBar()->currentMessage(), U("已清空365期开奖号码，可撤销"));
        QCOMPARE(reported.size(), 1);
        QCOMPARE(reported.first().first().toString(), U("已清空365期开奖号码，可撤销"));
        QCOMPARE(ActionOf(*form_, "DocUndo")->text(), U("撤销：清空开奖号码表"));
        QVERIFY(ActionOf(*form_, "DocUndo")->isEnabled());
        if (const QByteArray shot = qgetenv("TOVARIN_SHOT_UNDO"); !shot.isEmpty()) {
            form_->CodeMenu().popup(form_->mapToGlobal(QPoint(100, 100)));
            QTRY_VERIFY(form_->CodeMenu().isVisible());
            form_->CodeMenu().grab().save(QString::fromLocal8Bit(shot));
            form_->CodeMenu().hide();
        }

        PressUndo();
        QCOMPARE(Image(), before);
        QVERIFY(!Net().Modified() && !projects_->Modified());
        // Back at the newest draw, ready for the next.
        QCOMPARE(View().CursorTableRow(), 365);
        QCOMPARE(ActionOf(*form_, "DocRedo")->text(), U("重做：清空开奖号码表"));
        QVERIFY(!ActionOf(*form_, "DocUndo")->isEnabled());

        PressRedo();
        QCOMPARE(Net().Count(), 0);
        QVERIFY(projects_->Modified());
        // Clearing an empty table is no step and no news.
        reported.clear();
        ActionOf(*form_, "CodeMenuClear")->trigger();
        QCOMPARE(reported.size(), 0);
        QCOMPARE(ActionOf(*form_, "DocUndo")->text(), U("撤销：清空开奖号码表"));
    }

    void everyRowCommandIsOneStep() {
        WithUndo();
        test::AddDraws(Net(), {"1111111", "2222222", "3333333"});
        undo_->Reset();
        struct Step {
            const char* action;
            const char* name;
        };
        const Step steps[] = {
            {"CodeMenuDel", "删除开奖号码"},
            {"CodeMenuInsert", "插入开奖号码"},
            {"CodeMenuAdd", "增加开奖号码"},
        };
        for (const Step& step : steps) {
            ClickDigit(1, 2);
            const std::string before = Image();
            ActionOf(*form_, step.action)->trigger();
            QVERIFY2(Image() != before, step.action);
            QCOMPARE(ActionOf(*form_, "DocUndo")->text(), U("撤销：") + U(step.name));
            ActionOf(*form_, "DocUndo")->trigger();
            QCOMPARE(Image(), before);
            ActionOf(*form_, "DocRedo")->trigger();
            QVERIFY(Image() != before);
        }
    }

    void typedDigitsOfADrawAreOneStep() {
        WithUndo();
        const std::string empty = Image();
        QTest::keyClicks(grid_, "12345670");
        QCOMPARE(Net().Count(), 2);
        // The seven digits of the first draw, then the first of the next.
        QCOMPARE(undo_->History().UndoCount(), size_t{2});
        QCOMPARE(ActionOf(*form_, "DocUndo")->text(), U("撤销：输入开奖号码"));
        PressUndo();
        QCOMPARE(Net().Count(), 1);
        QCOMPARE(test::DigitsOf(Net(), 0), std::string("1234567"));
        PressUndo();
        QCOMPARE(Image(), empty);
        QVERIFY(!projects_->Modified());
    }

    void importIsOneStepAndNamesWhatItReplaced() {
        WithUndo();
        test::AddDraws(Net(), {"1111111", "2222222"});
        Net().ClearModified();
        undo_->Reset();
        const std::string before = Image();
        QTemporaryDir folder;
        const QString path = folder.filePath("draws.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("9999999\r\n8888888\r\n7777777\r\n");
        file.close();
        QTimer::singleShot(0, &form_->OpenDialog(), [this, path] {
            form_->OpenDialog().selectFile(path);
            static_cast<QDialog&>(form_->OpenDialog()).accept();
        });
        ActionOf(*form_, "CodeMenuImport")->trigger();
        QCOMPARE(Net().Count(), 3);
        QCOMPARE(form_->statusBar()->currentMessage(), U("已用3期开奖号码替换原有的2期，可撤销"));
        QCOMPARE(ActionOf(*form_, "DocUndo")->text(), U("撤销：导入开奖号码"));
        // The file dialog may leave the window inactive here, so the entry is used.
        ActionOf(*form_, "DocUndo")->trigger();
        QCOMPARE(Image(), before);
        QCOMPARE(View().CursorTableRow(), 2);
    }

    void aLabelEditIsOneStepAndWidensTheWindow() {
        WithUndo();
        test::AddDraws(Net(), {"1111111", "2222222"});
        undo_->Reset();
        const std::string before = Image();
        ClickDigit(1, 0);
        // A label another draw has is refused in the dialog, then corrected.
        Net().SetLabelDate(0, *TLabel::Parse("2026149"), TDrawDate());
        undo_->Reset();
        const std::string labelled = Image();
        test::WhenModalOpens<TLabelDateDlg>(this, [](TLabelDateDlg& dialog) {
            dialog.LabelEdit().setText(QStringLiteral("2026149"));
            dialog.DateEdit().setText(QStringLiteral("2026-12-06"));
            dialog.accept();
            QCOMPARE(dialog.ErrorLabel().text(), U("第1期的期号已经是2026149。"));
            dialog.DateEdit().setText(QStringLiteral("2026-02-30"));
            dialog.LabelEdit().setText(QStringLiteral("26150"));
            dialog.accept();
            QCOMPARE(dialog.ErrorLabel().text(),
                     U("开奖日期“2026-02-30”不对，应写成2026-12-06这样的日期。"));
            dialog.DateEdit().setText(QStringLiteral("2026/12/6"));
            dialog.accept();
        });
        ActionOf(*form_, "CodeMenuLabelDate")->trigger();
        QCOMPARE(Net().GetSeq(1).GetLabel().Text(), std::string("26150"));
        QCOMPARE(Net().GetSeq(1).GetDate().Text(), std::string("2026-12-06"));
        QCOMPARE(undo_->History().UndoCount(), size_t{1});
        QCOMPARE(ActionOf(*form_, "DocUndo")->text(), U("撤销：修改期号和日期"));
        QCOMPARE(form_->findChild<QLabel*>("RowInfoLbl")->text(),
                 U("第2期  期号26150  开奖日期2026-12-06"));
        QCOMPARE(View().ColTitle(2), std::string("期号"));
        QCOMPARE(form_->width(),
                 TCodesForm::FixedWidth + View().HeaderWidth() - TNetView::StandardHeaderWidth);
        QVERIFY(form_->width() > TCodesForm::FixedWidth);
        ActionOf(*form_, "DocUndo")->trigger();
        QCOMPARE(Image(), labelled);
        QVERIFY(Image() != before);
    }

    void aDrawTypedBelowALabelledOneTakesTheNextLabel() {
        test::AddDraws(Net(), {"1111111"});
        Net().SetLabelDate(0, *TLabel::Parse("2025153"), *TDrawDate::Parse("2025-12-30"));
        form_->ShowNewestDraw();
        QTest::keyClicks(grid_, "1234567");
        QCOMPARE(Net().Count(), 2);
        QCOMPARE(Net().GetSeq(1).GetLabel().Text(), std::string("2025154"));
        QVERIFY(Net().GetSeq(1).GetDate().Empty());
        // Without labels the status bar shows nothing more than before.
        Net().SetLabelDate(0, TLabel(), TDrawDate());
        Net().SetLabelDate(1, TLabel(), TDrawDate());
        QCOMPARE(form_->findChild<QLabel*>("RowInfoLbl")->text(), QString());
        QCOMPARE(form_->width(), TCodesForm::FixedWidth);
    }

    // Run with TOVARIN_SHOT_GRID set: a labelled and dated table in the
    // window, saved there.
    void screenshotOfLabelledDraws() {
        const QByteArray shot = qgetenv("TOVARIN_SHOT_GRID");
        if (shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT_GRID names the file for the picture");
        }
        for (int i = 0; i < 30; ++i) {
            test::AddDraws(Net(), {std::to_string(3581290 + i * 1234567 % 6400000)});
            // Every other day from 2026-11-01.
            Net().SetLabelDate(i, *TLabel::Parse(std::to_string(2026121 + i)),
                               *TDrawDate::FromYmd({2026, 11 + i * 2 / 30, 1 + i * 2 % 30}));
        }
        form_->resize(TCodesForm::FixedWidth, 520);
        form_->ShowNewestDraw();
        ClickDigit(View().CursorRow() - 1, 3);
        QTest::qWait(100);
        QVERIFY(form_->grab().save(QString::fromLocal8Bit(shot)));
    }

    // Run with TOVARIN_SHOT_QXC and TOVARIN_SHOT_PL5 set: labelled tables of
    // 七星彩 (last numbers up to 14) and of 排列5 in the window, saved there.
    void screenshotOfTheGames() {
        const QByteArray qxcShot = qgetenv("TOVARIN_SHOT_QXC");
        const QByteArray pl5Shot = qgetenv("TOVARIN_SHOT_PL5");
        if (qxcShot.isEmpty() || pl5Shot.isEmpty()) {
            QSKIP("TOVARIN_SHOT_QXC and TOVARIN_SHOT_PL5 name the files for the pictures");
        }
        for (const auto& [game, shot] : {std::pair{TGame::Qxc, qxcShot}, {TGame::Pl5, pl5Shot}}) {
            Net().Clear();
            test::FillGameTable(Net(), game, 30);
            for (int i = 0; i < 30; ++i) {
                Net().SetLabelDate(i, *TLabel::Parse(std::to_string(2026121 + i)),
                                   *TDrawDate::FromYmd({2026, 11 + i * 2 / 30, 1 + i * 2 % 30}));
            }
            form_->ShowNewestDraw();
            ClickDigit(View().CursorRow() - 1, View().DigitCols() - 1);
            QTest::qWait(100);
            QVERIFY(form_->grab().save(QString::fromLocal8Bit(shot)));
        }
    }

    void closeHidesTheWindow() {
        ActionOf(*form_, "EditMenuCloseBt")->trigger();
        QVERIFY(!form_->isVisible());
        QCOMPARE(&form_->CodeNet(), &grid_->CodeNet());
    }
};

QTEST_MAIN(CodesFormTest)
#include "CodesFormTest.moc"
