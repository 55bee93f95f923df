#include "gui/mainwin/DownloadActions.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusTipEvent>
#include <QTimer>

#include "gui/common/ErrorText.h"
#include "gui/common/QtText.h"
#include "gui/draws/CodeNetGrid.h"
#include "gui/draws/CodesDlg.h"
#include "gui/draws/DataDown.h"
#include "gui/mainwin/DocumentCare.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/UserDialogs.h"

namespace tovarin {

TDownloadCommand::TDownloadCommand(TMainForm& form, QAction& action)
    : QObject(&form),
      form_(form),
      action_(action),
      baseAddress_(DefaultDownloadAddress()),
      waitMs_(TDataDown::RandomWait),
      timeoutMs_(TDataDown::DefaultTimeoutMs) {
    setObjectName(QStringLiteral("DownloadCommand"));
    // The program-wide download values are made once, before any worker.
    DownloadValues();
    connect(&action_, &QAction::triggered, this, [this] { FileMenuCodesDownClick(); });
    form_.installEventFilter(this);
}

TDownloadCommand::~TDownloadCommand() {
    closing_ = true;
    if (worker_ != nullptr) {
        worker_->requestInterruption();
        // A worker caught in its blocking call waits for this thread: hand
        // it the call (which does nothing now) until it has ended.
        while (!worker_->wait(QDeadlineTimer(20))) {
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        }
        delete worker_.data();
    }
}

void TDownloadCommand::FileMenuCodesDownClick() {
    if (running_) {
        return;
    }
    if (form_.CodeNet().Game() != TGame::Seven) {
        form_.Dialogs().ShowMessage(&form_, Q(DownloadGameText(form_.CodeNet().Game())));
        return;
    }
    if (worker_ != nullptr) {
        // The last worker has delivered and is only ending its thread.
        worker_->wait();
    }
    auto* worker = new TDataDown(baseAddress_, this, waitMs_, timeoutMs_);
    worker->OnDownloaded = [this](const std::vector<std::string>& lines) { ApplyDownload(lines); };
    worker->OnFailed = [this](const std::string& reason) { DownloadFailed(reason); };
    worker->UserName = form_.AppOptions().userName;
    worker->Password = form_.AppOptions().userPW;
    worker_ = worker;
    running_ = true;
    SetCommandEnabled(false);
    form_.SetStatusText(0, Q(kDownloadRunningText));
    worker->start();
}

void TDownloadCommand::ApplyDownload(const std::vector<std::string>& lines) {
    if (closing_) {
        return;
    }
    int count = 0;
    try {
        form_.Care().Run("下载开奖号码",
                         [&] { count = tovarin::ApplyDownload(lines, records_, form_.CodeNet()); });
    } catch (const EDownloadError& error) {
        DownloadFailed(error.what());
        return;
    } catch (const ETooManyDraws& error) {
        DownloadFailed(S(ErrorText(error)));
        return;
    }
    if (count == 0) {
        Finish(std::string(kNoDrawsText));
        return;
    }
    form_.RefreshWindowState();
    // A hidden window goes to the newest draw when it is shown.
    TCodesForm& codesForm = form_.CodesForm();
    if (codesForm.isVisible()) {
        QTimer::singleShot(0, &codesForm, [&codesForm] { codesForm.ShowNewestDraw(); });
    }
    Finish(DownloadDoneText(count, records_.back().period));
}

void TDownloadCommand::DownloadFailed(const std::string& reason) {
    if (!closing_) {
        Finish(DownloadFailureText(reason));
    }
}

void TDownloadCommand::Finish(const std::string& message) {
    running_ = false;
    SetCommandEnabled(true);
    const QString text = Q(message);
    form_.SetStatusText(0, text);
    // Shown after the blocking call has returned, so that the worker does
    // not wait for the user to close the box.
    QTimer::singleShot(0, this, [this, text] { form_.Dialogs().ShowMessage(&form_, text); });
}

void TDownloadCommand::SetCommandEnabled(bool enabled) {
    // The tool button is the same action.
    action_.setEnabled(enabled);
}

bool TDownloadCommand::eventFilter(QObject* watched, QEvent* event) {
    // A hint that goes away would empty the first panel; while the download
    // runs the panel says so instead.
    if (running_ && watched == &form_ && event->type() == QEvent::StatusTip &&
        static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        form_.StatusPanel(0).setText(Q(kDownloadRunningText));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

TDownloadCommand& InstallDownload(TMainForm& form) {
    return *new TDownloadCommand(form, *form.Actions().FileMenuCodesDown);
}

}  // namespace tovarin
