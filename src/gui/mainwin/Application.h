#pragma once

#include <QApplication>

#include <functional>

namespace tovarin {

// The application object: an error that escapes an event handler is shown
// in the standard error box with its message, and the loop goes on; only
// the command that raised it stops.
class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error that escaped an event handler; the standard error box
    // unless replaced (tests record instead).
    std::function<void(const QString& message)> ShowError;

    // Qt's own texts (buttons, file and print dialogs, edit menus) in
    // Chinese, as the program speaks.
    static void LoadChineseTranslations(QCoreApplication& app);
    // 宋体 where installed, else the system's CJK font under that name.
    static void ProvideSongFont();
};

}  // namespace tovarin
