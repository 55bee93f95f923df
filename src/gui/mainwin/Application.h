#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>

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

// The document a file manager hands over on the command line
// ("tovarin 文件.lvrn"): the first argument after the program's name, as
// an absolute path from the folder the program was started in; empty
// without one. Nothing else is read from the command line.
QString DocumentArgument(const QStringList& arguments, const QString& startFolder);

}  // namespace tovarin
