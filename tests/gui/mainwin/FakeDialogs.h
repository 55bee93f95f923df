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
    TAnswer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) override {
        if (Choices.empty()) {
            return AskYesNo(parent, title, text) ? TAnswer::Yes : TAnswer::No;
        }
        Questions << title + QLatin1Char('|') + text;
        const TAnswer answer = Choices.front();
        Choices.pop_front();
        return answer;
    }
    bool AskChoice(QWidget* parent, const QString& title, const QString& text,
                   const QString& yesText, const QString& noText) override {
        return AskYesNo(parent, title,
                        text + QLatin1Char('|') + yesText + QLatin1Char('/') + noText);
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
    bool OpenWithShell(const QString& urlOrPath) override {
        Opened << urlOrPath;
        return ShellOpens;
    }

    std::deque<bool> Answers;  // for AskYesNo, in order; No when empty
    // For AskYesNoCancel, in order; when empty, Answers answers Yes or No.
    std::deque<TAnswer> Choices;
    QString NextOpenName;
    QString NextSaveName;
    QString NextText;
    TFileDialogSpec LastSpec;
    QStringList Questions;
    QStringList Messages;
    QStringList Errors;
    QStringList Opened;
    bool ShellOpens = true;  // whether the desktop has a program for what is opened
};

// A main window on the test's own program folder (its data folder too)
// that asks and tells through the given dialogs and is not maximised.
inline std::unique_ptr<TMainForm> MakeMainForm(const TempDir& dir,
                                               std::shared_ptr<TFakeDialogs> dialogs) {
    TMainForm::TSetup setup;
    setup.AppDir = QString::fromStdString(dir.Path());
    setup.Dialogs = std::move(dialogs);
    setup.Maximise = false;
    // Recovery copies stay in the test's folder too.
    setup.DataDir = setup.AppDir;
    return std::make_unique<TMainForm>(setup);
}

}  // namespace tovarin::test
