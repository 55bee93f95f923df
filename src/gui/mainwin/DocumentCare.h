#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <string>

#include "core/app/RecentDocs.h"

class QMenu;

namespace tovarin {

class TAutoSave;
class TDocUndo;
class TMainForm;

// What keeps the user's work safe beside the document commands: the undo
// history, the auto-save recovery copy with its offer at start-up, and the
// recent-documents submenu. The main window tells it when the document is
// replaced, saved or left.
class TDocumentCare : public QObject {
    Q_OBJECT

public:
    // dataDir: the user's data folder, which holds the recovery copies;
    // minute: how long an AutoSaveEd minute lasts (tests shorten it).
    TDocumentCare(TMainForm& form, const QString& dataDir, std::chrono::milliseconds minute);

    TDocUndo& Undo() const { return *undo_; }
    QMenu& RecentMenu() const { return *recentMenu_; }
    // Runs a document command as one step of the history.
    void Run(const char* stepName, const std::function<void()>& command);

    // A new, opened or start-up document: its history starts.
    void DocumentReplaced();
    // The user opened a document file: it goes to the top of the recent
    // list (as a saved one does).
    void DocumentOpened();
    // The document was written under its file name; previousPath is the
    // file it had before (a save-as), whose copy goes as well.
    void DocumentSaved(const std::string& previousPath);
    // The user let the document go (closing, or new and open after the
    // save question): its recovery copy goes.
    void DocumentLeft();
    // After the start-up open: a recovery copy newer than the document is
    // offered; accepted, it becomes the (modified) document, declined, it
    // is kept aside.
    void OfferRecovery();
    // Takes a document that can no longer be opened off the recent list.
    void ForgetRecent(const std::string& path);
    // AutoSaveChk and AutoSaveEd as the settings say now.
    void ApplyOptions();

    // The recovery copy of the open document, and writing it now.
    std::string RecoveryCopy() const;
    void WriteRecoveryCopy();

private:
    // The open document's file, resolved; empty while it has none.
    std::string DocPath() const;
    // Asks whether to restore the copy; true when it was restored.
    bool OfferCopy(const std::string& copy, const std::string& document);
    void RebuildRecentMenu();
    void SaveRecent();

    TMainForm& form_;
    std::string recoveryFolder_;
    std::chrono::milliseconds minute_;
    TDocUndo* undo_;
    TAutoSave* autoSave_;
    TRecentDocs recent_;
    QMenu* recentMenu_;
};

}  // namespace tovarin
