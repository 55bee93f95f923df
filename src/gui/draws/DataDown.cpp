#include "gui/draws/DataDown.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>

#include "core/base/Random.h"
#include "core/download/Download.h"

namespace tovarin {
namespace {

// How often the waits look whether the program is closing.
constexpr int kPollMs = 50;

TFetchFailure FailureOf(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError:
            return TFetchFailure::Timeout;
        default:
            return TFetchFailure::NoConnection;
    }
}

}  // namespace

TDataDown::TDataDown(std::string baseAddress, QObject* receiver, int waitMs, int timeoutMs)
    : baseAddress_(std::move(baseAddress)),
      receiver_(receiver),
      // The random generator belongs to the user-interface thread: draw here.
      start_(waitMs == RandomWait ? 4000 + 1000 * Random(5) : waitMs),
      timeoutMs_(timeoutMs) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TDataDown::run() {
    while (!start_.hasExpired() && !isInterruptionRequested()) {
        QThread::msleep(
            static_cast<unsigned long>(std::min<qint64>(kPollMs, start_.remainingTime())));
    }
    if (isInterruptionRequested()) {
        return;
    }
    std::string reason;
    std::vector<std::string> lines;
    bool fetched = false;
    try {
        std::string body;
        fetched = Fetch(DownloadRequestAddress(baseAddress_, UserName, Password), body, reason);
        if (fetched) {
            lines = ReadDownloadResponse(body);
        }
    } catch (const std::exception& error) {
        fetched = false;
        reason = error.what();
    }
    if (isInterruptionRequested()) {
        return;
    }
    if (fetched) {
        Deliver([this, &lines] { OnDownloaded(lines); });
    } else {
        Deliver([this, &reason] { OnFailed(reason); });
    }
}

bool TDataDown::Fetch(const std::string& address, std::string& body, std::string& reason) {
    QNetworkAccessManager manager;
    QNetworkRequest request(
        QUrl::fromEncoded(QByteArray::fromStdString(address), QUrl::StrictMode));
    request.setTransferTimeout(timeoutMs_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer closing;
    connect(&closing, &QTimer::timeout, reply, [this, reply] {
        if (isInterruptionRequested()) {
            reply->abort();
        }
    });
    closing.start(kPollMs);
    if (!reply->isFinished()) {
        loop.exec();
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = reply->error();
    const QByteArray data = error == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    const QString errorText = reply->errorString();
    delete reply;
    if (status.isValid() && status.toInt() != 200) {
        reason =
            FetchFailureReason(TFetchFailure::BadStatus, "HTTP " + std::to_string(status.toInt()));
        return false;
    }
    if (error != QNetworkReply::NoError) {
        reason = FetchFailureReason(FailureOf(error), errorText.toStdString());
        return false;
    }
    body = data.toStdString();
    return true;
}

void TDataDown::Deliver(const std::function<void()>& call) {
    QMetaObject::invokeMethod(receiver_, call, Qt::BlockingQueuedConnection);
}

}  // namespace tovarin
