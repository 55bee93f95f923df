#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <functional>

namespace tovarin {

// Recomputes a window's figures after the document changed, so that typing
// never waits for them: changes that come within a pause make one run,
// the run works on a worker thread with its own copy of what it reads, and
// only the newest run's result reaches the window. No exception leaves the
// worker: an error reaches OnError with its message.
class TLiveRecompute : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDefaultPause{250};

    // Shows a result; runs on the user-interface thread.
    using TShow = std::function<void()>;
    // The work itself, on the worker: it returns what shows its result.
    using TWork = std::function<TShow()>;
    // Takes (on the user-interface thread) what the work needs and gives
    // the work, or none when there is nothing to compute; it may raise,
    // like the work.
    using TPrepare = std::function<TWork()>;

    explicit TLiveRecompute(QObject* parent = nullptr,
                            std::chrono::milliseconds pause = kDefaultPause);
    // Waits for a running work; its result is dropped.
    ~TLiveRecompute() override;

    // A change: the newest prepare runs once the changes pause (after the
    // running work, if any).
    void Schedule(TPrepare prepare);
    // Whatever is waiting or running is dropped: the window has just shown
    // newer figures of its own.
    void Cancel();
    // A run is waiting or running.
    bool Busy() const { return timer_.isActive() || running_; }

    std::function<void(const QString& message)> OnError;

signals:
    // A run's result (or error) reached the window.
    void Shown();

private:
    void Launch();
    void Deliver(int generation, const TShow& show, const QString& error);
    void Report(const QString& error);

    QTimer timer_;
    QThreadPool pool_;
    TPrepare prepare_;
    int generation_ = 0;
    bool running_ = false;
    bool again_ = false;
};

}  // namespace tovarin
