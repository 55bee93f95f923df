#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/Errors.h"

namespace tovarin {

// File access of the whole program goes through here, so the calls into the
// operating system sit in one unit. Paths are UTF-8.

// The largest file any reader takes in: far above any real document,
// settings file or draw list, and a bound on the memory a hostile one takes.
inline constexpr size_t kMaxFileBytes = size_t{1} << 30;

// A write refused because the file would be larger than kMaxFileBytes: no
// reader of the program would take it in again.
class EFileTooLarge : public EInOutError {
public:
    EFileTooLarge() : EInOutError("the document would be larger than 1 GB") {}
};

// Raises EFileTooLarge for a file of more than kMaxFileBytes bytes; a
// writer asks before it changes anything.
void CheckWritableSize(size_t bytes);

bool FileExists(const std::string& path);

// Reads the whole file; EInOutError when it cannot be opened or read, when
// it is not a regular file (a FIFO, a device or a folder is refused before
// anything is read from it, so none can hold the reader), or when it holds
// more than kMaxFileBytes (refused before reading).
std::string ReadWholeFile(const std::string& path);
// At most the first maxBytes bytes of a regular file (what is not one is
// refused as by ReadWholeFile): a reader of outside data
// asks for one byte more than it accepts, so a longer file shows as such
// without being read whole.
std::string ReadFileHead(const std::string& path, size_t maxBytes);

// A file read from its start piece by piece, for a reader that takes a
// large file in while each piece is still in the processor's cache. Opening
// refuses what ReadWholeFile refuses (with whole set; without it a file of
// any size is opened, for reading its head).
class TFileReader {
public:
    TFileReader(const std::string& path, bool whole);
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;
    ~TFileReader();

    // The file's size when it was opened; it may change while it is read.
    size_t SizeWhenOpened() const { return sizeWhenOpened_; }
    // Where the next read starts.
    size_t Offset() const { return done_; }

    // Fills the buffer from where the last read ended; fewer bytes only at
    // the file's end. EInOutError when the system cannot read, or when a
    // whole file grows past kMaxFileBytes while it is read.
    size_t Read(char* buffer, size_t bytes);
    // The next bytes up to the file's end, at most maxBytes of them.
    std::string ReadUpTo(size_t maxBytes);

private:
    // One call of the system: some bytes, 0 only at the file's end.
    size_t ReadSome(char* buffer, size_t bytes);
    // The whole file's bound, passed when opened or while read.
    [[noreturn]] void RefuseTooLarge() const;

    std::string path_;
    bool whole_;
    intptr_t handle_;
    size_t sizeWhenOpened_ = 0;
    size_t done_ = 0;
};

// Replaces the file with exactly these bytes, or leaves the old one whole:
// the bytes go to a new file beside the target, every write is checked,
// the data is flushed to disk and only then renamed over the target.
// Through a symbolic link the file it names is replaced and the link stays.
// Refused before anything is written: more bytes than kMaxFileBytes
// (EFileTooLarge), and with EInOutError a target that is not a regular
// file, a link that names nothing, a file the process may not open for
// writing. EInOutError on any failure; no temporary file is left
// behind, not even when SIGTERM, SIGINT, SIGHUP or SIGQUIT ends the process
// during the write (see PrepareProcessForFileWrites).
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes the file; a file that is not there is no error. EInOutError
// "Unable to remove <path>: <reason>" otherwise.
void RemoveFile(const std::string& path);

// Gives the file a second name, unless something already has that name:
// false then, and nothing changes. EInOutError "<failure>: <reason>" for any
// other failure.
bool AddNameUnlessTaken(const std::string& path, const std::string& newName,
                        const std::string& failure);

// Called once at the start of each program, before any write: a write past
// the file-size limit then fails with EFBIG like any other failed write
// instead of killing the process (SIGXFSZ is ignored), and SIGTERM, SIGINT,
// SIGHUP or SIGQUIT during a write removes its temporary file before ending
// the process as the signal would have. A signal the process was started ignoring stays
// ignored.
void PrepareProcessForFileWrites();

// A new empty folder of the process's own under the system's temporary
// folder; EInOutError when none can be made.
std::string MakeScratchFolder();

// Removes from the folder the temporary files of writes whose process no
// longer runs (killed or crashed during a save); returns how many.
int RemoveLeftTemporaries(const std::string& folder);
// The same for the folder where a write of path puts its temporary file:
// beside the file a symbolic link there names. Finds nothing to remove
// where the write would be refused.
int RemoveLeftTemporariesBeside(const std::string& path);

}  // namespace tovarin
