#pragma once

#include <QDeadlineTimer>
#include <QThread>

#include <functional>
#include <string>
#include <vector>

#include "core/base/HttpGet.h"

namespace tovarin {

// The download worker: waits, makes one GET of the draw endpoint and hands
// the result lines ("period#code") to the user-interface thread. One worker
// per download command; it deletes itself when it has finished.
class TDataDown : public QThread {
    Q_OBJECT

public:
    using DownloadedHandler = std::function<void(const std::vector<std::string>& lines)>;
    using FailedHandler = std::function<void(const std::string& reason)>;

    static constexpr int DefaultTimeoutMs = kDefaultTransferMs;
    // A wait drawn at random between 4 and 8 seconds.
    static constexpr int RandomWait = -1;

    // baseAddress: the endpoint without query. The handlers run on the
    // thread of receiver while the worker waits for them to return; the
    // receiver must outlive the worker, or interrupt it and wait for it
    // while it delivers its posted calls. The wait before the request counts
    // from this constructor; timeoutMs bounds the whole transfer after it,
    // and an answer above kMaxAnswerBytes is abandoned.
    TDataDown(std::string baseAddress, QObject* receiver, int waitMs = RandomWait,
              int timeoutMs = DefaultTimeoutMs);

    // Called with the lines of a successful answer (perhaps none).
    DownloadedHandler OnDownloaded;
    // Called with the reason when the download is abandoned.
    FailedHandler OnFailed;
    std::string UserName;
    std::string Password;

protected:
    // Nothing escapes the thread: whatever goes wrong is a failed download.
    void run() override;

private:
    void Download();
    // True with the answer's body, or false with the reason.
    bool Fetch(const std::string& address, std::string& body, std::string& reason);
    // Runs call on the receiver's thread and returns when it has run.
    void Deliver(const std::function<void()>& call);

    std::string baseAddress_;
    QObject* receiver_;
    QDeadlineTimer start_;
    int timeoutMs_;
};

}  // namespace tovarin
