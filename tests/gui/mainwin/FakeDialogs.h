#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>

#include "gui/mainwin/Main.h"
#include "gui/mainwin/UserDialogs.h"
#include "support/TempDir.h"

namespace tovarin::test {

// Answers the main window's questions as a test scripts them and records
// everything the window said.
class TFakeDialogs final : public TUserDialogs {
public:
    bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
        Questions << title + QLatin1Char('|') + text;
        if (Answers.empty()) {
            return false;
        }
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ShowMessage(QWidget*, const QString& text) override { Messages << text; }
    void ShowError(QWidget*, const QString& text) override { Errors << text; }
    QString OpenFileName(QWidget*, const TFileDialogSpec& spec) override {
        LastSpec = spec;
        return NextOpenName;
    }
    QString SaveFileName(QWidget*, const TFileDialogSpec& spec) override {
        LastSpec = spec;
        return NextSaveName;
    }
    QString AskText(QWidget*, const QString&, const QString&) override { return NextText; }
    void OpenWithShell(const QString& urlOrPath) override { Opened << urlOrPath; }

    std::deque<bool> Answers;  // for AskYesNo, in order; No when empty
    QString NextOpenName;
    QString NextSaveName;
    QString NextText;
    TFileDialogSpec LastSpec;
    QStringList Questions;
    QStringList Messages;
    QStringList Errors;
    QStringList Opened;
};

// A main window on the test's own program folder that asks and tells
// through the given dialogs and is not maximised.
inline std::unique_ptr<TMainForm> MakeMainForm(const TempDir& dir,
                                               std::shared_ptr<TFakeDialogs> dialogs) {
    return std::make_unique<TMainForm>(
        TMainForm::TSetup{QString::fromStdString(dir.Path()), std::move(dialogs), false});
}

}  // namespace tovarin::test
