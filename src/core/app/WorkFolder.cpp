#include "core/app/WorkFolder.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"

namespace tovarin {

namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    path += '/';
    path += name;
    return path;
}

}  // namespace

void MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            throw EInOutError("Unable to create " + part);
        }
        if (slash == std::string::npos) {
            return;
        }
    }
}

bool FolderWritable(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

std::string InstalledDataDir(const std::string& programDir) {
    return programDir + "/../share/tovarin";
}

std::string ChooseWorkFolder(const std::string& programDir, const std::string& installedDataDir,
                             const std::string& userDataDir) {
    struct stat info {};
    const bool installed = stat(installedDataDir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    if (!installed && FolderWritable(programDir)) {
        return programDir;
    }
    MakeFolders(userDataDir);
    return userDataDir;
}

void SeedWorkFolder(const std::string& workFolder, const std::vector<std::string>& sources,
                    const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string target = JoinPath(workFolder, name);
        if (FileExists(target)) {
            continue;
        }
        for (const std::string& source : sources) {
            const std::string from = JoinPath(source, name);
            if (source == workFolder || !FileExists(from)) {
                continue;
            }
            try {
                WriteFileAtomically(target, ReadWholeFile(from));
            } catch (const EInOutError&) {
                // Without its copy the program starts as it would without the file.
            }
            break;
        }
    }
}

const std::vector<std::string>& BundledFileNames() {
    static const std::vector<std::string> names = {"工作文档.lvrn", "readme.txt", "Readme.txt"};
    return names;
}

}  // namespace tovarin
