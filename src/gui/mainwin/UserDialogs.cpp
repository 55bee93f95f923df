#include "gui/mainwin/UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace tovarin {

namespace {

QString RunFileDialog(QWidget* parent, const TFileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(FrontWindow(parent), spec.Title, spec.StartFolder, spec.Filter);
    StayOverOwner(dialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(spec.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(spec.DefaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

}  // namespace

bool TQtUserDialogs::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    return RunMessageBox(QMessageBox::Question, parent, title, text,
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

TAnswer TQtUserDialogs::AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) {
    return tovarin::AskYesNoCancel(parent, title, text);
}

bool TQtUserDialogs::AskChoice(QWidget* parent, const QString& title, const QString& text,
                               const QString& yesText, const QString& noText) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    FrontWindow(parent));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(yesText);
    box.button(QMessageBox::No)->setText(noText);
    StayOverOwner(box);
    return box.exec() == QMessageBox::Yes;
}

void TQtUserDialogs::ShowMessage(QWidget* parent, const QString& text) {
    RunMessageBox(QMessageBox::Information, parent, QApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, QMessageBox::Ok);
}

void TQtUserDialogs::ShowError(QWidget* parent, const QString& text) {
    RunMessageBox(QMessageBox::Critical, parent, QApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, QMessageBox::Ok);
}

QString TQtUserDialogs::OpenFileName(QWidget* parent, const TFileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptOpen);
}

QString TQtUserDialogs::SaveFileName(QWidget* parent, const TFileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptSave);
}

QString TQtUserDialogs::AskText(QWidget* parent, const QString& title, const QString& label) {
    return QInputDialog::getText(FrontWindow(parent), title, label);
}

bool TQtUserDialogs::OpenWithShell(const QString& urlOrPath) {
    const QUrl url = urlOrPath.contains(QStringLiteral("://")) ? QUrl(urlOrPath)
                                                               : QUrl::fromLocalFile(urlOrPath);
    return QDesktopServices::openUrl(url);
}

}  // namespace tovarin
