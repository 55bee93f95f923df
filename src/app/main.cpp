// The program's main block: the application, the main window, the loop.
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include <exception>

#include "core/app/WorkFolder.h"
#include "core/base/FileIO.h"
#include "core/base/ProcessMemory.h"
#include "core/base/ProgramDir.h"
#include "gui/mainwin/Application.h"
#include "gui/mainwin/Main.h"

int main(int argc, char** argv) {
    tovarin::PrepareProcessForFileWrites();
    tovarin::PrepareProcessMemory();
    tovarin::TApplication app(argc, argv);
    tovarin::TApplication::LoadChineseTranslations(app);
    tovarin::TApplication::ProvideSongFont();
    app.setApplicationName(QStringLiteral("Tovarin"));
    // Read before anything changes the current folder.
    const QString document = tovarin::DocumentArgument(app.arguments(), QDir::currentPath());
    try {
        // An installed copy keeps its settings and working document in the
        // user's data folder, seeded from the files installed with it.
        const std::string programDir = tovarin::ProgramDir();
        const std::string installed = tovarin::InstalledDataDir(programDir);
        std::string problem;
        const std::string workFolder = tovarin::StartFolder(
            programDir, installed,
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString(),
            problem);
        if (!problem.empty()) {
            QMessageBox::critical(nullptr, QStringLiteral("Tovarin"),
                                  QString::fromStdString(problem));
        } else if (workFolder != programDir) {
            tovarin::SeedWorkFolder(workFolder, {installed, programDir},
                                    tovarin::BundledFileNames());
        }
        // What a save cut short by a crash or a kill left beside the document.
        tovarin::RemoveLeftTemporaries(workFolder);
        tovarin::TMainForm::TSetup setup;
        setup.AppDir = QString::fromStdString(workFolder);
        tovarin::TMainForm form(setup);
        QIcon icon;
        for (const int size : {16, 32, 48, 256}) {
            icon.addFile(QStringLiteral(":/mainwin/icons/tovarin-%1.png").arg(size));
        }
        app.setWindowIcon(icon);
        form.show();
        if (!document.isEmpty()) {
            // After the start-up document (and its save question, if any).
            QTimer::singleShot(0, &form, [&form, &document] {
                form.RunGuarded([&form, &document] { form.OpenNamedDocument(document); });
            });
        }
        return app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Tovarin"), QString::fromUtf8(error.what()));
        return 1;
    }
}
