#include "core/base/PathCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

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
