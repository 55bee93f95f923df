#include "core/base/PathCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/base/Errors.h"

namespace tovarin {

bool PathExists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool CanReplaceFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return CanWriteInFolder(folder.empty() ? "." : folder.string());
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsAbsolutePath(const std::string& path) { return path.starts_with('/'); }

std::string CurrentFolder() {
    const std::unique_ptr<char, decltype(&std::free)> folder(getcwd(nullptr, 0), &std::free);
    if (!folder) {
        throw EInOutError(std::string("Unable to find the current folder: ") +
                          std::strerror(errno));
    }
    return folder.get();
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::optional<long long> ModifiedNanoseconds(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

bool CanWriteInFolder(const std::string& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

void MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            throw EInOutError("无法创建文件夹“" + part + "”：" + std::strerror(errno) + "。");
        }
        if (slash == std::string::npos) {
            return;
        }
    }
}

}  // namespace tovarin
