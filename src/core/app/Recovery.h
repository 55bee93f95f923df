#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// Recovery copies: while a document is modified, the program writes its
// image now and then to a copy in the user's data folder, never over the
// document itself. A normal save or close removes the copy; a copy still
// there at the next start, and newer than its document, is what a crash
// left behind.

// The folder of the copies inside a user's data folder.
std::string RecoveryFolder(const std::string& userDataDir);

// The copy of a document: its file name's stem (or "未命名" for a document
// without a file), a dot, 16 hex digits naming the document's full path
// (so that two documents of the same name in different folders keep apart),
// and ".lvrn", so that the copy opens like any document.
std::string RecoveryCopyPath(const std::string& folder, const std::string& docPath);

// Writes the copy atomically, creating its folder when missing.
// EInOutError when it cannot, or when the copy's path names the document
// itself (a copy must never replace the work it protects).
void WriteRecoveryCopy(const std::string& copyPath, const std::string& docPath,
                       std::string_view image);

// Whether the copy is there and newer than its document (or the document
// is gone, or has no file).
bool RecoveryCopyIsNewer(const std::string& copyPath, const std::string& docPath);

// Removes the copy; a copy that is not there is no error.
void RemoveRecoveryCopy(const std::string& copyPath);

// Moves a declined copy aside, to the first free name of the form
// "<stem>.<hex>.declined-N.lvrn", where no later copy overwrites it, and
// returns that name. EInOutError when it cannot.
std::string KeepRecoveryCopyAside(const std::string& copyPath);

// The document start-up opens: with openLast on, the one the settings file
// names as open last (a bare name resolves in appDir) when it is there;
// otherwise, or when it is gone, the working document.
std::string ChooseStartupDocument(bool openLast, const std::string& lastDoc,
                                  const std::string& workingDoc, const std::string& appDir);

}  // namespace tovarin
