#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/sources/DrawUpdate.h"

namespace tovarin {

class TCodesForm;

// The fetching of an update on a thread of its own, changing nothing.
// Progress and the end arrive as signals on the thread of the object;
// destroying it cancels the fetch and waits for the thread.
class TUpdateFetch : public QObject {
    Q_OBJECT

public:
    TUpdateFetch(std::vector<TDrawSource> sources, std::vector<TSeq> table, TFetchSettings settings,
                 QObject* parent = nullptr);
    ~TUpdateFetch() override;

    // Starts the fetch. A fetch may end at once: connect to the signals
    // first.
    void Start();

    void Cancel() { cancel_.Cancel(); }
    // After Finished: the update, or nothing when it failed as a whole
    // (Error says why) or was cancelled.
    const std::optional<TUpdateRead>& Result() const { return result_; }
    const std::string& Error() const { return error_; }
    bool Cancelled() const { return cancelled_; }

signals:
    void Progress(int source, int page, qint64 bytes);
    void Finished();

private:
    void Run(const std::vector<TDrawSource>& sources, const std::vector<TSeq>& table,
             TFetchSettings settings);

    TFetchCancel cancel_;
    std::function<void()> job_;  // what Start runs on the thread
    // Written by the thread before Finished, read after it.
    std::optional<TUpdateRead> result_;
    std::string error_;
    bool cancelled_ = false;
    std::thread thread_;
};

// 更新开奖数据: every source of the player's list that is on is fetched
// with progress and 取消, and what is new is appended by label. A clean
// result is applied at once as one step of the history; failed or
// disagreeing sources, conflicts, gaps or nothing readable open the import
// preview with the reasons; nothing new is said in the status line.
class TUpdateCommand : public QObject {
    Q_OBJECT

public:
    // sourcesPath: the player's list (ormelux-sources.json).
    TUpdateCommand(TCodesForm& form, std::string sourcesPath, QObject* parent = nullptr);

    // What varies in the tests: the deadline and an extra authority. The
    // game is always the table's.
    void SetFetchSettings(const TFetchSettings& settings) { settings_ = settings; }

    // Runs the update; returns what the status line says, empty when the
    // preview was left without importing. Exception with the reason when
    // the list cannot be read or has no source that is on.
    QString Run();

private:
    // Runs the fetch under a progress box; nothing when cancelled.
    std::optional<TUpdateRead> Fetch(const std::vector<TDrawSource>& sources);
    QString Apply(const TUpdateRead& update);

    TCodesForm& form_;
    std::string sourcesPath_;
    TFetchSettings settings_;
};

// "没有启用的数据源：请先在“文件 → 数据源…”里添加并启用数据源。"
std::string NoEnabledSourcesText();

}  // namespace tovarin
