#include "gui/draws/TableImportDlg.h"

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/draws/LawNet.h"
#include "gui/common/ErrorText.h"

namespace tovarin {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A million draws are shown without a million items: the view asks for
// the rows it paints.
class TDrawListModel : public QAbstractTableModel {
public:
    TDrawListModel(const std::vector<TTableDraw>& draws, TGame game, QObject* parent)
        : QAbstractTableModel(parent), draws_(draws), game_(game) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(draws_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return {};
        }
        const TTableDraw& draw = draws_[static_cast<size_t>(index.row())];
        switch (index.column()) {
            case 0:
                return Q(draw.Draw.GetLabel().Text());
            case 1:
                return QString::fromUtf8(draw.Date().data(),
                                         static_cast<qsizetype>(draw.Date().size()));
            default:
                return Q(NumbersText(draw.Draw, game_));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        if (orientation == Qt::Vertical) {
            return section + 1;
        }
        static const char* const titles[] = {"期号", "日期", "开奖号码"};
        return QString::fromUtf8(titles[section]);
    }

private:
    const std::vector<TTableDraw>& draws_;
    TGame game_;
};

}  // namespace

TTableImportDlg::TTableImportDlg(const TCodeNet& net, const TTableRead& read, const QString& source,
                                 QWidget* parent, TPreviewNotes notes)
    : QDialog(parent), net_(net), read_(read), notes_(std::move(notes)) {
    setObjectName("TableImportDlg");
    setWindowTitle(QStringLiteral("导入开奖数据"));
    resize(460, 560);

    auto* layout = new QVBoxLayout(this);
    auto* sourceLbl = new QLabel(QStringLiteral("来源：%1").arg(source), this);
    sourceLbl->setObjectName("SourceLbl");
    sourceLbl->setWordWrap(true);
    layout->addWidget(sourceLbl);

    QString count = QStringLiteral("读到%1期开奖号码").arg(read.Draws.size());
    if (!read.Draws.empty() && read.Draws.front().HasPeriod) {
        count += QStringLiteral("（第%1期至第%2期）")
                     .arg(Q(read.Draws.front().Draw.GetLabel().Text()))
                     .arg(Q(read.Draws.back().Draw.GetLabel().Text()));
    }
    auto* countLbl = new QLabel(count, this);
    countLbl->setObjectName("CountLbl");
    layout->addWidget(countLbl);

    drawView_ = new QTableView(this);
    drawView_->setObjectName("DrawView");
    drawView_->setModel(new TDrawListModel(read.Draws, read.Game, drawView_));
    drawView_->setSelectionMode(QAbstractItemView::NoSelection);
    drawView_->setFocusPolicy(Qt::NoFocus);
    drawView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    drawView_->verticalHeader()->setDefaultSectionSize(20);
    drawView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    drawView_->horizontalHeader()->setStretchLastSection(true);
    drawView_->setColumnWidth(0, 100);
    drawView_->setColumnWidth(1, 120);
    // The newest draws are the ones a player checks.
    drawView_->scrollToBottom();
    layout->addWidget(drawView_, 3);

    // The reader keeps the first lines of each list and counts the rest.
    const size_t lineProblems = read.ConflictsTotal + read.SkippedTotal;
    QString skippedText = lineProblems == 0
                              ? QStringLiteral("没有无法读取的行")
                              : QStringLiteral("无法读取的行：%1行").arg(lineProblems);
    if (!notes_.Problems.isEmpty()) {
        skippedText =
            QStringLiteral("数据源的问题：%1项；").arg(notes_.Problems.size()) + skippedText;
    }
    auto* skippedLbl = new QLabel(skippedText, this);
    skippedLbl->setObjectName("SkippedLbl");
    layout->addWidget(skippedLbl);
    skippedList_ = new QListWidget(this);
    skippedList_->setObjectName("SkippedList");
    // The sources' problems come first and are few: one or two a source.
    for (const QString& problem : notes_.Problems) {
        auto* item = new QListWidgetItem(problem, skippedList_);
        item->setForeground(Qt::red);
    }
    size_t listed = 0;
    for (const TDrawConflict& conflict : read.Conflicts) {
        if (listed++ == MaxListedLines) {
            break;
        }
        auto* item = new QListWidgetItem(Q(ConflictText(conflict)), skippedList_);
        item->setForeground(Qt::red);
    }
    for (const TSkippedLine& skipped : read.Skipped) {
        if (listed++ == MaxListedLines) {
            break;
        }
        skippedList_->addItem(Q(SkippedText(skipped)));
    }
    if (lineProblems > MaxListedLines) {
        skippedList_->addItem(Q(UnlistedText(lineProblems - MaxListedLines)));
    }
    skippedList_->setVisible(lineProblems > 0 || !notes_.Problems.isEmpty());
    layout->addWidget(skippedList_, 1);

    auto* modes = new QHBoxLayout;
    appendRb_ = new QRadioButton(QStringLiteral("追加到码表末尾(&A)"), this);
    appendRb_->setObjectName("AppendRb");
    replaceRb_ = new QRadioButton(QStringLiteral("替换整个码表(&R)"), this);
    replaceRb_->setObjectName("ReplaceRb");
    auto* group = new QButtonGroup(this);
    group->addButton(appendRb_);
    group->addButton(replaceRb_);
    modes->addWidget(appendRb_);
    modes->addWidget(replaceRb_);
    modes->addStretch();
    layout->addLayout(modes);

    outcomeLbl_ = new QLabel(this);
    outcomeLbl_->setObjectName("OutcomeLbl");
    outcomeLbl_->setWordWrap(true);
    layout->addWidget(outcomeLbl_);
    gapList_ = new QListWidget(this);
    gapList_->setObjectName("GapList");
    layout->addWidget(gapList_, 1);
    allowGapsChk_ = new QCheckBox(QStringLiteral("仍然导入（码表将缺少这些期）"), this);
    allowGapsChk_->setObjectName("AllowGapsChk");
    layout->addWidget(allowGapsChk_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);

    appendPlan_ = PlanImport(net.Rows(), read, TImportMode::Append);
    replacePlan_ = PlanImport(net.Rows(), read, TImportMode::Replace);
    const bool canAppend = appendPlan_.Start.has_value() && net.Count() > 0;
    appendRb_->setEnabled(canAppend);
    // Replacing a table that holds draws is never chosen for the player: one
    // Enter must not throw the history away; an update never replaces it.
    replaceRb_->setEnabled(!notes_.AppendOnly || net.Count() == 0);
    if (canAppend) {
        appendRb_->setChecked(true);
    } else if (net.Count() == 0) {
        replaceRb_->setChecked(true);
    }
    connect(group, &QButtonGroup::buttonToggled, this, [this] { ShowOutcome(); });
    connect(allowGapsChk_, &QCheckBox::toggled, this, [this] { ShowOutcome(); });
    ShowOutcome();
}

TImportMode TTableImportDlg::Mode() const {
    return appendRb_->isChecked() ? TImportMode::Append : TImportMode::Replace;
}

const TImportPlan& TTableImportDlg::Plan() const {
    return Mode() == TImportMode::Append ? appendPlan_ : replacePlan_;
}

bool TTableImportDlg::CanConfirm() const {
    const TImportPlan& plan = Plan();
    return !notes_.Blocking &&
           (appendRb_->isChecked() || (replaceRb_->isChecked() && replaceRb_->isEnabled())) &&
           read_.Conflicts.empty() && !read_.Draws.empty() && plan.Start.has_value() &&
           plan.Conflicts.empty() && (plan.Gaps.Empty() || allowGapsChk_->isChecked()) &&
           RowsAfter() <= static_cast<size_t>(kMaxDraws);
}

size_t TTableImportDlg::RowsAfter() const {
    const TImportPlan& plan = Plan();
    if (Mode() == TImportMode::Append && plan.Start) {
        return static_cast<size_t>(net_.Count()) + read_.Draws.size() - *plan.Start;
    }
    return read_.Draws.size();
}

void TTableImportDlg::ListPlan() {
    const TImportPlan& plan = Plan();
    gapList_->clear();
    for (const TLabelConflict& conflict : plan.Conflicts) {
        if (static_cast<size_t>(gapList_->count()) == MaxListedLines) {
            break;
        }
        auto* item = new QListWidgetItem(Q(LabelConflictText(conflict, read_.Game)), gapList_);
        item->setForeground(Qt::red);
    }
    for (const TLabel label : plan.Gaps.Listed) {
        if (static_cast<size_t>(gapList_->count()) == MaxListedLines) {
            break;
        }
        gapList_->addItem(Q(MissingLabelText(label)));
    }
    const uint64_t problems = plan.Conflicts.size() + plan.Gaps.Total;
    if (problems > static_cast<uint64_t>(gapList_->count())) {
        gapList_->addItem(QStringLiteral("……另有%1期未列出")
                              .arg(problems - static_cast<uint64_t>(gapList_->count())));
    }
    gapList_->setVisible(problems > 0);
    allowGapsChk_->setVisible(!plan.Gaps.Empty());
}

void TTableImportDlg::ShowOutcome() {
    ListPlan();
    const TImportPlan& plan = Plan();
    QString text;
    if (!read_.Conflicts.empty()) {
        text = Q(ConflictsText());
    } else if (read_.Draws.empty()) {
        text = Q(NoDrawsText());
    } else if (!plan.Conflicts.empty()) {
        text = Q(LabelConflictsText());
    } else if (Mode() == TImportMode::Append) {
        const int added = static_cast<int>(read_.Draws.size() - *plan.Start);
        text = added == 0
                   ? QStringLiteral("码表已经包含文件里的全部开奖号码，没有可以追加的。")
                   : QStringLiteral("将在码表的%1期之后追加%2期。").arg(net_.Count()).arg(added);
    } else if (net_.Count() == 0) {
        text = QStringLiteral("码表是空的，将导入%1期。").arg(read_.Draws.size());
    } else {
        const QString replace =
            QStringLiteral("将用%1期替换码表中的%2期。").arg(read_.Draws.size()).arg(net_.Count());
        text = replaceRb_->isChecked()
                   ? replace
                   : replace + QStringLiteral("要这样做，请选择“替换整个码表”。");
    }
    if (RowsAfter() > static_cast<size_t>(kMaxDraws)) {
        text = TooManyDrawsText(RowsAfter());
    }
    if (plan.Conflicts.empty() && !plan.Gaps.Empty()) {
        text += QStringLiteral("\n开奖数据缺少%1期，见下面的列表。").arg(plan.Gaps.Total);
    }
    if (net_.Count() > 0 && !appendPlan_.Start) {
        text = Q(NoAppendMatchText(net_.Count())) + "\n" + text;
    }
    if (notes_.Blocking) {
        text = QStringLiteral("数据源给出的开奖号码不一致，不能导入（见上面的列表）。\n") + text;
    }
    outcomeLbl_->setText(text);
    outcomeLbl_->setStyleSheet(CanConfirm() ? QString() : QStringLiteral("color: red"));
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(CanConfirm());
}

}  // namespace tovarin
