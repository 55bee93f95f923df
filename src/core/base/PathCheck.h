#pragma once

#include <optional>
#include <string>

namespace tovarin {

// Whether anything (a file, a folder, a link) exists under the path.
bool PathExists(const std::string& path);

// Whether WriteFileAtomically can put a new file in place of what the path
// names now: a folder there cannot be replaced by a file, and the rename
// needs a folder that lets us create and remove entries.
bool CanReplaceFile(const std::string& path);

bool IsFolder(const std::string& path);

// Whether the path names a place without a current folder to start from:
// "/..." here, "C:\..." or "\\server\..." on Windows.
bool IsAbsolutePath(const std::string& path);

// The process's current folder; EInOutError when the system cannot say.
// Separators are '/' on every system, as the windows write paths.
std::string CurrentFolder();

// The path as the program names a document: an absolute path as it is,
// any other below the folder, "." and ".." kept as typed. The window and
// the command line both name a document this way, so that both find its
// recovery copy.
inline std::string AbsolutePath(const std::string& path, const std::string& folder) {
    if (IsAbsolutePath(path)) {
        return path;
    }
    return folder.ends_with('/') ? folder + path : folder + "/" + path;
}

// Whether both paths name one and the same file (through links, or in
// other spellings); false when either is missing.
bool SameFile(const std::string& a, const std::string& b);

// When a regular file was last changed, in nanoseconds of the system's
// clock (comparable between files of one system only); none for a missing
// file or anything that is not a regular file.
std::optional<long long> ModifiedNanoseconds(const std::string& path);

// Whether the program may create and remove files in the folder.
bool CanWriteInFolder(const std::string& folder);

// Creates the folder and its missing parents; EInOutError naming the first
// one that cannot be created and why, in Chinese for the user.
void MakeFolders(const std::string& folder);

}  // namespace tovarin
