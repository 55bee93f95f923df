#pragma once

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

#include "core/download/Download.h"

class QAction;

namespace tovarin {

class TDataDown;
class TMainForm;

// The main window's download command (FileMenuCodesDown and its tool
// button FileMenuCodesDownBt): starts a worker, keeps the command disabled
// and the first status panel saying so while it runs, then replaces the
// draw table or tells the user why not.
class TDownloadCommand : public QObject {
    Q_OBJECT

public:
    // The command runs when the action is triggered and disables it while
    // a download runs.
    TDownloadCommand(TMainForm& form, QAction& action);
    ~TDownloadCommand() override;

    // What varies: the endpoint (the built-in address by default), the wait
    // before the request and the time-out of the worker.
    void SetBaseAddress(std::string baseAddress) { baseAddress_ = std::move(baseAddress); }
    const std::string& BaseAddress() const { return baseAddress_; }
    void SetWaitMs(int waitMs) { waitMs_ = waitMs; }
    void SetTimeoutMs(int timeoutMs) { timeoutMs_ = timeoutMs; }

    void FileMenuCodesDownClick();
    bool Running() const { return running_; }
    // The draws of the last download as the server numbered them.
    const std::vector<TQiCodeRec>& Records() const { return records_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs on the user-interface thread while the worker waits.
    void ApplyDownload(const std::vector<std::string>& lines);
    void DownloadFailed(const std::string& reason);
    // Re-enables the command and shows the outcome once the worker is free.
    void Finish(const std::string& message);
    void SetCommandEnabled(bool enabled);

    TMainForm& form_;
    QAction& action_;
    std::string baseAddress_;
    int waitMs_;
    int timeoutMs_;
    QPointer<TDataDown> worker_;
    std::vector<TQiCodeRec> records_;
    bool running_ = false;
    bool closing_ = false;
};

// Gives the main window its download command; the window owns it.
TDownloadCommand& InstallDownload(TMainForm& form);

}  // namespace tovarin
