#include "gui/common/FrontWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace tovarin {
namespace {

// The answers in the program's own words, whatever translation is loaded.
void NameButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Yes, "是"},
        {QMessageBox::No, "否"},
        {QMessageBox::Cancel, "取消"},
        {QMessageBox::Ok, "确定"},
    };
    for (const auto& [which, text] : names) {
        if (QAbstractButton* button = box.button(which)) {
            button->setText(QString::fromUtf8(text));
        }
    }
}

}  // namespace

QWidget* FrontWindow(QWidget* fallback) {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return fallback != nullptr ? fallback->window() : nullptr;
}

void StayOverOwner(QWidget& dialog) {
    // Any always-on-top window could cover the dialog, not only its owner:
    // the window system may count the main window active while the user
    // works in one of its tool windows.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool onTopShown = std::any_of(windows.begin(), windows.end(), [&dialog](QWidget* window) {
        return window != &dialog && window->isVisible() &&
               window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    if (onTopShown) {
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
}

QMessageBox::StandardButton RunMessageBox(QMessageBox::Icon icon, QWidget* fallback,
                                          const QString& title, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, FrontWindow(fallback));
    box.setDefaultButton(defaultButton);
    NameButtons(box);
    StayOverOwner(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

TAnswer AskYesNoCancel(QWidget* fallback, const QString& title, const QString& text) {
    // With a Cancel button, Qt makes it the escape button, which the close
    // button also presses.
    switch (RunMessageBox(QMessageBox::Question, fallback, title, text,
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                          QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return TAnswer::Yes;
        case QMessageBox::No:
            return TAnswer::No;
        default:
            return TAnswer::Cancel;
    }
}

}  // namespace tovarin
