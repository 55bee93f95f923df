#include "gui/sources/UpdateCommand.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>

#include <chrono>

#include "core/sources/SourceList.h"
#include "gui/common/QtText.h"
#include "gui/draws/CodesDlg.h"

namespace tovarin {
namespace {

// Progress is told at most this often.
constexpr auto kProgressEvery = std::chrono::milliseconds(100);

QString SourceNames(const std::vector<TSourceOutcome>& sources) {
    QStringList names;
    for (const TSourceOutcome& source : sources) {
        names << Q(source.Name);
    }
    return names.join(QStringLiteral("、"));
}

}  // namespace

std::string NoEnabledSourcesText() {
    return "没有启用的数据源：请先在“文件 → 数据源…”里添加并启用数据源。";
}

TUpdateFetch::TUpdateFetch(std::vector<TDrawSource> sources, std::vector<TSeq> table,
                           TFetchSettings settings, QObject* parent)
    : QObject(parent),
      job_([this, sources = std::move(sources), table = std::move(table),
            settings = std::move(settings)] { Run(sources, table, settings); }) {}

TUpdateFetch::~TUpdateFetch() {
    cancel_.Cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TUpdateFetch::Start() { thread_ = std::thread(std::move(job_)); }

void TUpdateFetch::Run(const std::vector<TDrawSource>& sources, const std::vector<TSeq>& table,
                       TFetchSettings settings) {
    settings.Cancel = &cancel_;
    auto lastTold = std::chrono::steady_clock::now() - kProgressEvery;
    size_t lastSource = sources.size();
    int lastPage = 0;
    const auto progress = [&](size_t source, int page, size_t bytes) {
        const auto now = std::chrono::steady_clock::now();
        if (source != lastSource || page != lastPage || now - lastTold >= kProgressEvery) {
            lastSource = source;
            lastPage = page;
            lastTold = now;
            emit Progress(static_cast<int>(source), page, static_cast<qint64>(bytes));
        }
    };
    try {
        result_ = ReadUpdate(sources, table, settings, progress);
    } catch (const EFetchError& error) {
        cancelled_ = error.kind() == EFetchError::Kind::Cancelled;
        error_ = error.what();
    } catch (const std::exception& error) {
        error_ = error.what();
    } catch (...) {
        error_ = "读取失败";
    }
    emit Finished();
}

TUpdateCommand::TUpdateCommand(TCodesForm& form, std::string sourcesPath, QObject* parent)
    : QObject(parent), form_(form), sourcesPath_(std::move(sourcesPath)) {}

QString TUpdateCommand::Run() {
    std::vector<TDrawSource> sources = LoadSources(sourcesPath_);
    std::erase_if(sources, [](const TDrawSource& source) { return !source.Enabled; });
    if (sources.empty()) {
        throw Exception(NoEnabledSourcesText());
    }
    const std::optional<TUpdateRead> update = Fetch(sources);
    if (!update) {
        QString text = QStringLiteral("已取消更新开奖数据");
        form_.Report(S(text));
        return text;
    }
    return Apply(*update);
}

std::optional<TUpdateRead> TUpdateCommand::Fetch(const std::vector<TDrawSource>& sources) {
    QWidget* owner = QApplication::activeWindow() != nullptr ? QApplication::activeWindow()
                                                             : static_cast<QWidget*>(&form_);
    QProgressDialog progress(owner);
    progress.setObjectName(QStringLiteral("UpdateProgress"));
    progress.setWindowTitle(QStringLiteral("更新开奖数据"));
    progress.setCancelButtonText(QStringLiteral("取消"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(420);
    progress.setRange(0, static_cast<int>(sources.size()));
    progress.setValue(0);
    progress.setLabelText(QStringLiteral("正在连接数据源…"));

    TFetchSettings settings = settings_;
    settings.Game = form_.CodeNet().Game();
    TUpdateFetch fetch(sources, form_.CodeNet().Rows(), std::move(settings));
    QEventLoop loop;
    connect(&fetch, &TUpdateFetch::Progress, &progress,
            [&progress, &sources](int source, int page, qint64 bytes) {
                progress.setValue(source);
                progress.setLabelText(
                    QStringLiteral("正在读取数据源「%1」（%2/%3）第%4页：已收到 %5 KB")
                        .arg(Q(sources[static_cast<size_t>(source)].Name))
                        .arg(source + 1)
                        .arg(sources.size())
                        .arg(page)
                        .arg(bytes / 1024));
            });
    connect(&progress, &QProgressDialog::canceled, &fetch, [&fetch, &progress] {
        fetch.Cancel();
        progress.setLabelText(QStringLiteral("正在取消…"));
    });
    connect(&fetch, &TUpdateFetch::Finished, &loop, &QEventLoop::quit);
    progress.show();
    fetch.Start();
    loop.exec();
    progress.hide();
    if (fetch.Cancelled()) {
        return std::nullopt;
    }
    if (!fetch.Result()) {
        throw Exception(fetch.Error());
    }
    return fetch.Result();
}

QString TUpdateCommand::Apply(const TUpdateRead& fetched) {
    const TCodeNet& net = form_.CodeNet();
    // Planned again against the table as it is now.
    TUpdateRead update = fetched;
    update.Plan = PlanImport(net.Rows(), update.Merged.Read, TImportMode::Append);
    if (!update.Clean()) {
        TPreviewNotes notes;
        for (const std::string& problem : SourceProblems(update)) {
            notes.Problems << Q(problem);
        }
        notes.Blocking = !update.Merged.Conflicts.empty();
        notes.AppendOnly = true;
        return form_.ImportTable(update.Merged.Read, SourceNames(update.Sources), std::move(notes));
    }
    if (update.Added() > 0) {
        form_.ApplyRows("更新开奖数据",
                        ImportedRows(net.Rows(), update.Merged.Read, TImportMode::Append));
    }
    const int count = net.Count();
    const int newestPeriod = count + net.FirstPeriod() - 1;
    const TLabel newestLabel = count > 0 ? net.GetSeq(count - 1).GetLabel() : TLabel();
    const std::string text = update.Added() > 0 ? UpdateDoneText(update, newestPeriod, newestLabel)
                                                : UpToDateText(newestPeriod, newestLabel);
    form_.Report(text);
    return Q(text);
}

}  // namespace tovarin
