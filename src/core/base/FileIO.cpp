#include "core/base/FileIO.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/base/Errors.h"

namespace tovarin {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " " + path + ": " + std::strerror(error));
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file is created beside the target so that rename stays within one
// file system. O_EXCL makes the name ours alone (a name someone else holds
// only moves on to the next); mode 0666 lets the process's umask decide a new
// file's permissions as for any other file, without reading the umask,
// which would mean changing it for every thread for a moment.
int CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> serial{0};
    const std::string stem = path + ".tmp" + std::to_string(getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = stem + std::to_string(serial++);
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

std::string ReadFileHead(const std::string& path, size_t maxBytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Fail("Unable to open", path, errno);
    }
    // A regular file says its size: one buffer of that size, filled in
    // place, instead of one that grows chunk by chunk. The size is only a
    // hint (the file may change); the loop reads to the real end.
    struct stat info {};
    size_t expected = 0;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        expected = std::min(static_cast<size_t>(info.st_size), maxBytes);
    }
    std::string data(std::max<size_t>(std::min<size_t>(expected + 1, maxBytes), 1), '\0');
    size_t filled = 0;
    while (filled < maxBytes) {
        if (filled == data.size()) {
            data.resize(std::min(maxBytes, data.size() * 2));
        }
        const ssize_t got = read(fd, data.data() + filled, data.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            close(fd);
            Fail("Unable to read", path, error);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<size_t>(got);
    }
    close(fd);
    data.resize(filled);
    return data;
}

std::string ReadWholeFile(const std::string& path) { return ReadFileHead(path, SIZE_MAX); }

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string tempPath;
    const int fd = CreateTemporaryBeside(path, tempPath);
    auto abandon = [&](const char* what, int error) {
        close(fd);
        unlink(tempPath.c_str());
        Fail(what, path, error);
    };

    // A file that already exists keeps its permission bits.
    struct stat old {};
    if (stat(path.c_str(), &old) == 0) {
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
    if (rename(tempPath.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(tempPath.c_str());
        Fail("Unable to write to", path, error);
    }
    // Make the rename itself durable.
    const int dir = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

}  // namespace tovarin
