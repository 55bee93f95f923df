#include "core/app/WorkFolder.h"

#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"

namespace tovarin {

namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    path += '/';
    path += name;
    return path;
}

}  // namespace

std::string InstalledDataDir(const std::string& programDir) {
    return programDir + "/../share/tovarin";
}

std::string ChooseWorkFolder(const std::string& programDir, const std::string& installedDataDir,
                             const std::string& userDataDir) {
    const bool installed = IsFolder(installedDataDir);
    if (!installed && CanWriteInFolder(programDir)) {
        return programDir;
    }
    MakeFolders(userDataDir);
    return userDataDir;
}

std::string StartFolder(const std::string& programDir, const std::string& installedDataDir,
                        const std::string& userDataDir, std::string& problem) {
    try {
        return ChooseWorkFolder(programDir, installedDataDir, userDataDir);
    } catch (const EInOutError& error) {
        problem = std::string(error.what()) +
                  "\n工作文件夹无法使用：程序以空白工作区启动，"
                  "设置和工作文档只保存在临时文件夹中。";
        return MakeScratchFolder();
    }
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
