#include "gui/mainwin/DocumentCare.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <exception>

#include "core/app/Recovery.h"
#include "core/base/FileIO.h"
#include "core/engine/Prj.h"
#include "gui/common/AutoSave.h"
#include "gui/common/DocUndo.h"
#include "gui/common/ErrorText.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/UserDialogs.h"

namespace tovarin {
namespace {

constexpr const char* kRecoveryTitle = "恢复提示";

// Names the document and when its copy was written, so that the player
// knows what the question is about.
QString RecoveryQuestion(const std::string& copy, const std::string& document) {
    const QString time = QFileInfo(QString::fromStdString(copy))
                             .lastModified()
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString which = document.empty()
                              ? QStringLiteral("未命名的文档")
                              : QStringLiteral("文档“%1”")
                                    .arg(QFileInfo(QString::fromStdString(document)).fileName());
    return QStringLiteral("%1有一份未保存修改的恢复副本（%2），是否恢复？").arg(which, time);
}

}  // namespace

TDocumentCare::TDocumentCare(TMainForm& form, const QString& dataDir,
                             std::chrono::milliseconds minute)
    : QObject(&form),
      form_(form),
      recoveryFolder_(RecoveryFolder(dataDir.toStdString())),
      minute_(minute),
      undo_(new TDocUndo(form.CodeNet(), form.PrjMgr(), &form.Ledger(), this)),
      autoSave_(new TAutoSave(this)),
      recentMenu_(new QMenu(QStringLiteral("最近打开的文档(&R)"), &form)) {
    std::string warning;
    recent_ = TRecentDocs::Load(RecentDocsFilePath(form.AppInfo().AppDir), &warning);
    if (!warning.empty()) {
        form_.Dialogs().ShowMessage(&form_, QString::fromStdString(warning));
    }
    recentMenu_->setObjectName(QStringLiteral("FileMenuRecent"));
    recentMenu_->menuAction()->setObjectName(QStringLiteral("FileMenuRecentItem"));
    recentMenu_->menuAction()->setToolTip(QStringLiteral("最近打开的文档"));
    recentMenu_->menuAction()->setStatusTip(QStringLiteral("打开最近打开或保存过的文档"));
    // Queued, so that it follows what the command that made the step says.
    connect(
        undo_, &TDocUndo::StepsDropped, this,
        [this] { form_.SetStatusText(0, QString::fromUtf8(kStepsDroppedText)); },
        Qt::QueuedConnection);
    autoSave_->IsModified = [this] { return form_.DocModified(); };
    autoSave_->WriteCopy = [this] { WriteRecoveryCopy(); };
    RebuildRecentMenu();
}

void TDocumentCare::Run(const char* stepName, const std::function<void()>& command) {
    undo_->Run(QString::fromUtf8(stepName), command);
}

std::string TDocumentCare::DocPath() const {
    const std::string& name = form_.AppInfo().DocFileName;
    return name.empty() ? std::string()
                        : form_.ResolveDocPath(QString::fromStdString(name)).toStdString();
}

std::string TDocumentCare::RecoveryCopy() const {
    return RecoveryCopyPath(recoveryFolder_, DocPath());
}

void TDocumentCare::WriteRecoveryCopy() {
    try {
        tovarin::WriteRecoveryCopy(RecoveryCopy(), DocPath(),
                                   BuildDocumentImage(form_.CodeNet(), form_.PrjMgr()));
    } catch (const std::exception& error) {
        // Auto-save must never interrupt the user; the status line says it failed.
        form_.SetStatusText(0, QStringLiteral("自动保存失败：") + ErrorText(error));
    }
}

void TDocumentCare::DocumentReplaced() { undo_->Reset(); }

void TDocumentCare::DocumentOpened() {
    recent_.Add(DocPath());
    SaveRecent();
}

void TDocumentCare::DocumentSaved(const std::string& previousPath) {
    undo_->MarkSaved();
    const std::string path = DocPath();
    try {
        RemoveRecoveryCopy(RecoveryCopyPath(recoveryFolder_, previousPath));
        RemoveRecoveryCopy(RecoveryCopy());
    } catch (const std::exception&) {
        // A copy that cannot be removed is offered again at the next start,
        // and only if it is newer than the document just saved.
    }
    recent_.Add(path);
    SaveRecent();
}

void TDocumentCare::DocumentLeft() {
    try {
        RemoveRecoveryCopy(RecoveryCopy());
    } catch (const std::exception&) {
        // As after a save: an older copy is never offered.
    }
}

void TDocumentCare::OfferRecovery() {
    // The start-up document's copy, then one of a document that never had
    // a file.
    for (const std::string& document : {DocPath(), std::string()}) {
        const std::string copy = RecoveryCopyPath(recoveryFolder_, document);
        if (RecoveryCopyIsNewer(copy, document) && OfferCopy(copy, document)) {
            return;
        }
    }
}

bool TDocumentCare::OfferCopy(const std::string& copy, const std::string& document) {
    if (!form_.Dialogs().AskChoice(&form_, QString::fromUtf8(kRecoveryTitle),
                                   RecoveryQuestion(copy, document), QStringLiteral("恢复"),
                                   QStringLiteral("不恢复"))) {
        form_.RunGuarded([this, &copy] {
            const QString aside = QString::fromStdString(KeepRecoveryCopyAside(copy));
            form_.SetStatusText(
                0, QStringLiteral("未恢复的修改保留在 %1，可以用“打开”查看").arg(aside));
        });
        return false;
    }
    bool restored = false;
    form_.RunGuarded([&] {
        const std::string image = ReadWholeFile(copy);
        if (document.empty()) {
            form_.AppInfo().DocFileName.clear();
        }
        // The unsaved work comes back as one step: undo returns to the file.
        undo_->Run(QStringLiteral("恢复未保存的修改"), [&] {
            LoadDocumentImage(image, form_.CodeNet(), form_.PrjMgr());
            form_.PrjMgr().MarkModified();
        });
        restored = true;
    });
    // The restored document opens as any document does: its first project
    // selected, its conditions listed.
    form_.ShowRestoredDocument({.Project = 0});
    return restored;
}

void TDocumentCare::ForgetRecent(const std::string& path) {
    recent_.Remove(path);
    SaveRecent();
}

void TDocumentCare::ApplyOptions() {
    const TAppOptions& options = form_.AppOptions();
    autoSave_->Configure(options.AutoSaveChk, minute_ * options.AutoSaveEd);
}

void TDocumentCare::RebuildRecentMenu() {
    recentMenu_->clear();
    int number = 0;
    for (const std::string& path : recent_.Items()) {
        const QString file = QString::fromStdString(path);
        // "&" in a path would otherwise mark a key.
        QString shown = file;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(++number).arg(shown));
        item->setStatusTip(file);
        // The entry as stored: a name that is not UTF-8 would not survive
        // the way through QString, and could never leave the list.
        connect(item, &QAction::triggered, this, [this, path] {
            form_.RunGuarded([this, path] { form_.OpenRecentDocument(path); });
        });
    }
    recentMenu_->menuAction()->setEnabled(!recent_.Items().empty());
}

void TDocumentCare::SaveRecent() {
    RebuildRecentMenu();
    try {
        recent_.Save(RecentDocsFilePath(form_.AppInfo().AppDir));
    } catch (const std::exception&) {
        // The list is a convenience; a folder that cannot take it keeps none.
    }
}

}  // namespace tovarin
