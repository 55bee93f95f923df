#include "core/base/FileIO.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "core/base/Errors.h"
#include "core/base/TempFiles.h"

namespace tovarin {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " " + path + ": " + std::strerror(error));
}

[[noreturn]] void FailNotRegular(const std::string& what, const std::string& path) {
    throw EInOutError(what + " " + path + ": not a regular file");
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write replaces: the path itself, or the file a symbolic link
// there finally names. A link that names nothing, a target that is not a
// regular file and a file the process could not open for writing are
// refused: replacing them would put a new file where the user meant none.
std::string WriteTarget(const std::string& path) {
    std::string target = path;
    struct stat link {};
    if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                                   &std::free);
        if (!resolved) {
            Fail("Unable to write to", path, errno);
        }
        target = resolved.get();
    }
    struct stat info {};
    if (stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return target;
        }
        Fail("Unable to write to", path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        FailNotRegular("Unable to write to", path);
    }
    const int probe = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (probe < 0) {
        Fail("Unable to write to", path, errno);
    }
    close(probe);
    return target;
}

// The file is created beside the target so that rename stays within one
// file system. O_EXCL makes the name ours alone (a name someone else holds
// only moves on to the next); mode 0666 lets the process's umask decide a new
// file's permissions as for any other file, without reading the umask,
// which would mean changing it for every thread for a moment.
int CreateTemporaryBeside(const std::string& target, const std::string& path,
                          TempRegistration& registration, std::string& tempPath) {
    static std::atomic<unsigned> serial{0};
    const std::string folder = FolderOf(target) + "/";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate =
            folder + TemporaryName(static_cast<unsigned long>(getpid()), serial++);
        registration.Hold(candidate);
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tempPath = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) {
            Fail("Unable to create a file beside", path, errno);
        }
    }
    Fail("Unable to create a file beside", path, EEXIST);
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Non-blocking, so that opening a FIFO returns at once and is refused like
// any file that is not a regular one.
TFileReader::TFileReader(const std::string& path, bool whole)
    : path_(path),
      whole_(whole),
      handle_(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
    const int fd = static_cast<int>(handle_);
    if (fd < 0) {
        Fail("Unable to open", path, errno);
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        Fail("Unable to open", path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        FailNotRegular("Unable to open", path);
    }
    sizeWhenOpened_ = static_cast<size_t>(std::max<off_t>(info.st_size, 0));
    if (whole && sizeWhenOpened_ > kMaxFileBytes) {
        close(fd);
        RefuseTooLarge();
    }
}

TFileReader::~TFileReader() { close(static_cast<int>(handle_)); }

size_t TFileReader::ReadSome(char* buffer, size_t bytes) {
    for (;;) {
        const ssize_t got = read(static_cast<int>(handle_), buffer, bytes);
        if (got >= 0) {
            return static_cast<size_t>(got);
        }
        if (errno != EINTR) {
            Fail("Unable to read", path_, errno);
        }
    }
}

void TFileReader::RefuseTooLarge() const { Fail("Unable to read", path_, EFBIG); }

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    CheckWritableSize(bytes.size());
    const std::string target = WriteTarget(path);
    TempRegistration registration;
    std::string tempPath;
    const int fd = CreateTemporaryBeside(target, path, registration, tempPath);
    auto abandon = [&](const char* what, int error) {
        close(fd);
        unlink(tempPath.c_str());
        Fail(what, path, error);
    };

    // A file that already exists keeps its permission bits.
    struct stat old {};
    if (stat(target.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
    }

    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon("Unable to write to", errno);
        }
        if (wrote == 0) {
            abandon("Unable to write to", ENOSPC);
        }
        done += static_cast<size_t>(wrote);
    }
    if (fsync(fd) != 0) {
        abandon("Unable to write to", errno);
    }
    if (close(fd) != 0) {
        const int error = errno;
        unlink(tempPath.c_str());
        Fail("Unable to write to", path, error);
    }
    if (rename(tempPath.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(tempPath.c_str());
        Fail("Unable to write to", path, error);
    }
    // Make the rename itself durable.
    const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

void RemoveFile(const std::string& path) {
    if (unlink(path.c_str()) != 0 && errno != ENOENT) {
        Fail("Unable to remove", path, errno);
    }
}

bool AddNameUnlessTaken(const std::string& path, const std::string& newName,
                        const std::string& failure) {
    if (link(path.c_str(), newName.c_str()) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    throw EInOutError(failure + ": " + std::strerror(errno));
}

std::string MakeScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tovarin-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        Fail("Unable to create a folder in", FolderOf(pattern), errno);
    }
    return pattern;
}

int RemoveLeftTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const auto writer = static_cast<pid_t>(WriterOfTemporary(entry->d_name));
        // kill with signal 0 only asks whether the process exists.
        if (writer <= 0 || writer == getpid() || kill(writer, 0) == 0 || errno != ESRCH) {
            continue;
        }
        if (unlink((folder + "/" + entry->d_name).c_str()) == 0) {
            ++removed;
        }
    }
    closedir(dir);
    return removed;
}

int RemoveLeftTemporariesBeside(const std::string& path) {
    try {
        return RemoveLeftTemporaries(FolderOf(WriteTarget(path)));
    } catch (const EInOutError&) {
        return 0;
    }
}

}  // namespace tovarin
