#include "core/base/PathCheck.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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
    return access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace tovarin
