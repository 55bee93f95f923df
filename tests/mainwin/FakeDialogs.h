#pragma once

#include <QString>
#include <QStringList>

#include <deque>

#include "mainwin/UserDialogs.h"

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

}  // namespace tovarin::test
