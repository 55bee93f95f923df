#include "gui/sources/SourcesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <chrono>

#include "core/base/Text.h"
#include "core/sources/SourceList.h"
#include "gui/common/FrontWindow.h"
#include "gui/common/QtText.h"

namespace tovarin {
namespace {

constexpr TSourceFormat kFormats[] = {TSourceFormat::Auto, TSourceFormat::Table,
                                      TSourceFormat::Json, TSourceFormat::Html};
// The reasons a trial lists before it counts the rest.
constexpr size_t kReasonLimit = 200;
// Progress is told at most this often.
constexpr auto kProgressEvery = std::chrono::milliseconds(100);

std::vector<std::string> HeaderLines(const QString& text) {
    std::vector<std::string> lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const std::string trimmed(Trim(S(line)));
        if (!trimmed.empty()) {
            lines.push_back(trimmed);
        }
    }
    return lines;
}

QString HeadersText(const std::vector<std::string>& headers) {
    QStringList lines;
    for (const std::string& header : headers) {
        lines << Q(header);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

TSourceTrial::TSourceTrial(TDrawSource source, TFetchSettings settings, QObject* parent)
    : QObject(parent), job_([this, source = std::move(source), settings = std::move(settings)] {
          Run(source, settings);
      }) {}

TSourceTrial::~TSourceTrial() {
    cancel_.Cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TSourceTrial::Start() { thread_ = std::thread(std::move(job_)); }

void TSourceTrial::Run(const TDrawSource& source, TFetchSettings settings) {
    settings.Cancel = &cancel_;
    auto lastTold = std::chrono::steady_clock::now() - kProgressEvery;
    int lastPage = 0;
    settings.OnProgress = [&](int page, size_t bytes) {
        const auto now = std::chrono::steady_clock::now();
        if (page != lastPage || now - lastTold >= kProgressEvery) {
            lastPage = page;
            lastTold = now;
            emit Progress(page, static_cast<qint64>(bytes));
        }
    };
    try {
        const TSourceRead read = FetchSource(source, settings);
        QStringList reasons;
        for (const std::string& reason : ReadReasonTexts(read.Read, kReasonLimit)) {
            reasons << Q(reason);
        }
        emit Finished(true, Q(ReadSummaryText(read)), reasons);
    } catch (const std::exception& error) {
        emit Finished(false, Q(error.what()), {});
    } catch (...) {
        emit Finished(false, QStringLiteral("读取失败"), {});
    }
}

TSourcesDlg::TSourcesDlg(std::vector<TDrawSource> sources, std::string path, TGame game,
                         QWidget* parent)
    : QDialog(parent), sources_(std::move(sources)), path_(std::move(path)) {
    trialSettings_.Game = game;
    setObjectName(QStringLiteral("SourcesDlg"));
    setWindowTitle(QStringLiteral("数据源"));
    BuildControls();
    RefreshList();
    list_->setCurrentRow(sources_.empty() ? -1 : 0);
    ShowSource(list_->currentRow());
}

TSourcesDlg::~TSourcesDlg() { trial_.reset(); }

void TSourcesDlg::SetTrialSettings(const TFetchSettings& settings) {
    const TGame game = trialSettings_.Game;
    trialSettings_ = settings;
    trialSettings_.Game = game;
}

void TSourcesDlg::BuildControls() {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("sourceList"));
    auto* addButton = new QPushButton(QStringLiteral("添加(&A)"), this);
    addButton->setObjectName(QStringLiteral("addButton"));
    removeButton_ = new QPushButton(QStringLiteral("删除(&D)"), this);
    removeButton_->setObjectName(QStringLiteral("removeButton"));
    upButton_ = new QPushButton(QStringLiteral("上移"), this);
    upButton_->setObjectName(QStringLiteral("upButton"));
    downButton_ = new QPushButton(QStringLiteral("下移"), this);
    downButton_->setObjectName(QStringLiteral("downButton"));
    auto* listButtons = new QHBoxLayout;
    for (QPushButton* button : {addButton, removeButton_, upButton_, downButton_}) {
        listButtons->addWidget(button);
    }
    auto* left = new QVBoxLayout;
    left->addWidget(list_);
    left->addLayout(listButtons);

    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("nameEdit"));
    urlEdit_ = new QLineEdit(this);
    urlEdit_->setObjectName(QStringLiteral("urlEdit"));
    urlEdit_->setPlaceholderText(QStringLiteral("https://…（含 pageNo=1 或 page=1 时逐页读取）"));
    formatCombo_ = new QComboBox(this);
    formatCombo_->setObjectName(QStringLiteral("formatCombo"));
    for (const TSourceFormat format : kFormats) {
        formatCombo_->addItem(Q(FormatTitle(format)));
    }
    enabledCheck_ = new QCheckBox(QStringLiteral("更新时读取这个数据源"), this);
    enabledCheck_->setObjectName(QStringLiteral("enabledCheck"));
    headersEdit_ = new QPlainTextEdit(this);
    headersEdit_->setObjectName(QStringLiteral("headersEdit"));
    headersEdit_->setPlaceholderText(QStringLiteral("每行一个，如 User-Agent: Mozilla/5.0"));
    headersEdit_->setTabChangesFocus(true);
    // Room for four headers; what is read below gets the rest.
    headersEdit_->setFixedHeight(headersEdit_->fontMetrics().lineSpacing() * 4 +
                                 2 * headersEdit_->frameWidth() + 8);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("名称(&N)："), nameEdit_);
    form->addRow(QStringLiteral("地址(&U)："), urlEdit_);
    form->addRow(QStringLiteral("格式(&F)："), formatCombo_);
    form->addRow(QString(), enabledCheck_);
    form->addRow(QStringLiteral("请求头(&H)："), headersEdit_);

    tryButton_ = new QPushButton(QStringLiteral("试一试(&T)"), this);
    tryButton_->setObjectName(QStringLiteral("tryButton"));
    cancelTryButton_ = new QPushButton(QStringLiteral("取消读取"), this);
    cancelTryButton_->setObjectName(QStringLiteral("cancelTryButton"));
    cancelTryButton_->setEnabled(false);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("tryProgress"));
    progress_->setRange(0, 0);
    progress_->setTextVisible(false);
    progress_->setVisible(false);
    auto* tryRow = new QHBoxLayout;
    tryRow->addWidget(tryButton_);
    tryRow->addWidget(cancelTryButton_);
    tryRow->addWidget(progress_, 1);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("trySummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reasons_ = new QListWidget(this);
    reasons_->setObjectName(QStringLiteral("tryReasons"));
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(tryRow);
    right->addWidget(summary_);
    right->addWidget(reasons_, 1);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problemLabel"));
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    problem_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    resize(820, 480);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        StoreSource();
        ShowSource(row);
    });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (!showing_ && row >= 0) {
            sources_[static_cast<size_t>(row)].Enabled = item->checkState() == Qt::Checked;
            if (row == current_) {
                showing_ = true;
                enabledCheck_->setChecked(sources_[static_cast<size_t>(row)].Enabled);
                showing_ = false;
            }
        }
    });
    for (QLineEdit* edit : {nameEdit_, urlEdit_}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { StoreSource(); });
    }
    connect(formatCombo_, &QComboBox::currentIndexChanged, this, [this] { StoreSource(); });
    connect(enabledCheck_, &QCheckBox::toggled, this, [this] { StoreSource(); });
    connect(headersEdit_, &QPlainTextEdit::textChanged, this, [this] { StoreSource(); });
    connect(addButton, &QPushButton::clicked, this, &TSourcesDlg::AddSource);
    connect(removeButton_, &QPushButton::clicked, this, &TSourcesDlg::RemoveSource);
    connect(upButton_, &QPushButton::clicked, this, [this] { MoveSource(-1); });
    connect(downButton_, &QPushButton::clicked, this, [this] { MoveSource(1); });
    connect(tryButton_, &QPushButton::clicked, this, &TSourcesDlg::StartTrial);
    connect(cancelTryButton_, &QPushButton::clicked, this, [this] {
        if (trial_) {
            trial_->Cancel();
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &TSourcesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSourcesDlg::reject);
}

void TSourcesDlg::RefreshList() {
    showing_ = true;
    for (size_t i = 0; i < sources_.size(); ++i) {
        QListWidgetItem* item = static_cast<int>(i) < list_->count()
                                    ? list_->item(static_cast<int>(i))
                                    : new QListWidgetItem(list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setText(Q(sources_[i].Name));
        item->setCheckState(sources_[i].Enabled ? Qt::Checked : Qt::Unchecked);
    }
    while (list_->count() > static_cast<int>(sources_.size())) {
        delete list_->takeItem(list_->count() - 1);
    }
    showing_ = false;
}

void TSourcesDlg::ShowSource(int row) {
    current_ = row;
    const bool has = row >= 0 && row < static_cast<int>(sources_.size());
    showing_ = true;
    const TDrawSource none;
    const TDrawSource& source = has ? sources_[static_cast<size_t>(row)] : none;
    nameEdit_->setText(Q(source.Name));
    urlEdit_->setText(Q(source.Url));
    formatCombo_->setCurrentIndex(static_cast<int>(source.Format));
    enabledCheck_->setChecked(source.Enabled);
    headersEdit_->setPlainText(HeadersText(source.Headers));
    showing_ = false;
    for (QWidget* widget : std::initializer_list<QWidget*>{
             nameEdit_, urlEdit_, formatCombo_, enabledCheck_, headersEdit_, removeButton_}) {
        widget->setEnabled(has);
    }
    upButton_->setEnabled(has && row > 0);
    downButton_->setEnabled(has && row + 1 < static_cast<int>(sources_.size()));
    tryButton_->setEnabled(has && !trial_);
}

void TSourcesDlg::StoreSource() {
    if (showing_ || current_ < 0 || current_ >= static_cast<int>(sources_.size())) {
        return;
    }
    TDrawSource& source = sources_[static_cast<size_t>(current_)];
    source.Name = S(nameEdit_->text());
    source.Url = std::string(Trim(S(urlEdit_->text())));
    source.Format = kFormats[std::max(formatCombo_->currentIndex(), 0)];
    source.Enabled = enabledCheck_->isChecked();
    source.Headers = HeaderLines(headersEdit_->toPlainText());
    RefreshList();
    problem_->clear();
}

void TSourcesDlg::AddSource() {
    TDrawSource source;
    source.Name = "数据源" + std::to_string(sources_.size() + 1);
    sources_.push_back(source);
    RefreshList();
    list_->setCurrentRow(static_cast<int>(sources_.size()) - 1);
    nameEdit_->setFocus();
    nameEdit_->selectAll();
}

void TSourcesDlg::RemoveSource() {
    if (current_ < 0) {
        return;
    }
    const int row = current_;
    sources_.erase(sources_.begin() + row);
    current_ = -1;
    RefreshList();
    const int next = std::min(row, static_cast<int>(sources_.size()) - 1);
    list_->setCurrentRow(next);
    ShowSource(next);
}

void TSourcesDlg::MoveSource(int step) {
    const int to = current_ + step;
    if (current_ < 0 || to < 0 || to >= static_cast<int>(sources_.size())) {
        return;
    }
    std::swap(sources_[static_cast<size_t>(current_)], sources_[static_cast<size_t>(to)]);
    current_ = -1;
    RefreshList();
    list_->setCurrentRow(to);
    ShowSource(to);
}

void TSourcesDlg::StartTrial() {
    StoreSource();
    if (current_ < 0 || trial_) {
        return;
    }
    const std::string problem = SourceProblem(sources_, static_cast<size_t>(current_));
    if (!problem.empty()) {
        EndTrial(false, Q(problem), {});
        return;
    }
    reasons_->clear();
    summary_->setStyleSheet(QString());
    summary_->setText(QStringLiteral("正在读取…"));
    tryButton_->setEnabled(false);
    cancelTryButton_->setEnabled(true);
    progress_->setVisible(true);
    trial_ =
        std::make_unique<TSourceTrial>(sources_[static_cast<size_t>(current_)], trialSettings_);
    connect(trial_.get(), &TSourceTrial::Progress, this, [this](int page, qint64 bytes) {
        summary_->setText(
            QStringLiteral("正在读取第%1页，已收到 %2 KB…").arg(page).arg((bytes + 1023) / 1024));
    });
    connect(trial_.get(), &TSourceTrial::Finished, this, &TSourcesDlg::EndTrial);
    trial_->Start();
}

void TSourcesDlg::EndTrial(bool read, const QString& summary, const QStringList& reasons) {
    trial_.reset();
    progress_->setVisible(false);
    cancelTryButton_->setEnabled(false);
    tryButton_->setEnabled(current_ >= 0);
    summary_->setStyleSheet(read ? QString() : QStringLiteral("color: #b00020"));
    summary_->setText(read ? summary : QStringLiteral("无法读取：") + summary);
    reasons_->clear();
    reasons_->addItems(reasons);
}

void TSourcesDlg::accept() {
    StoreSource();
    try {
        SaveSources(path_, sources_);
    } catch (const std::exception& error) {
        problem_->setText(Q(error.what()));
        return;
    }
    trial_.reset();
    QDialog::accept();
}

void TSourcesDlg::reject() {
    trial_.reset();
    QDialog::reject();
}

bool EditSources(const std::string& path, TGame game, QWidget* parent) {
    std::vector<TDrawSource> sources;
    try {
        sources = LoadSources(path);
    } catch (const std::exception& error) {
        RunMessageBox(QMessageBox::Warning, parent, QStringLiteral("数据源"), Q(error.what()),
                      QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
    TSourcesDlg dialog(std::move(sources), path, game, FrontWindow(parent));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tovarin
