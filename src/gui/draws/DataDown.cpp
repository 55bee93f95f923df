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
    try {
        Download();
    } catch (...) {
        // A failure while delivering has nobody left to tell.
    }
}

void TDataDown::Download() {
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
    } catch (...) {
        fetched = false;
        reason = FetchFailureReason(TFetchFailure::NoConnection, {});
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
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager.get(request);
    // Read as it arrives, so that Qt never holds more than the bound.
    reply->setReadBufferSize(qint64{64} * 1024);
    QByteArray data;
    std::string abandoned;
    auto give = [&](std::string why) {
        if (abandoned.empty()) {
            abandoned = std::move(why);
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toULongLong() > kMaxAnswerBytes) {
            give(FetchFailureReason(TFetchFailure::BadStatus, AnswerTooLongText()));
        }
    });
    connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (data.size() + reply->bytesAvailable() > static_cast<qint64>(kMaxAnswerBytes)) {
            give(FetchFailureReason(TFetchFailure::BadStatus, AnswerTooLongText()));
            return;
        }
        data += reply->readAll();
    });
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // One deadline for the whole transfer: a server that sends a byte now
    // and then keeps no download alive past it.
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply, [&] {
        give(FetchFailureReason(TFetchFailure::Timeout, TransferTimeoutText(timeoutMs_)));
    });
    deadline.start(timeoutMs_);
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
    if (error == QNetworkReply::NoError && abandoned.empty()) {
        data += reply->readAll();
    }
    const QString errorText = reply->errorString();
    delete reply;
    if (!abandoned.empty()) {
        reason = abandoned;
        return false;
    }
    if (status.isValid() && status.toInt() != 200) {
        reason =
            FetchFailureReason(TFetchFailure::BadStatus, "HTTP " + std::to_string(status.toInt()));
        return false;
    }
    if (error != QNetworkReply::NoError) {
        reason = FetchFailureReason(FailureOf(error), errorText.toStdString());
        return false;
    }
    if (data.size() > static_cast<qsizetype>(kMaxAnswerBytes)) {
        reason = FetchFailureReason(TFetchFailure::BadStatus, AnswerTooLongText());
        return false;
    }
    body = data.toStdString();
    return true;
}

void TDataDown::Deliver(const std::function<void()>& call) {
    QMetaObject::invokeMethod(receiver_, call, Qt::BlockingQueuedConnection);
}

}  // namespace tovarin
