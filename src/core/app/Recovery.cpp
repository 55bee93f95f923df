#include "core/app/Recovery.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"
#include "core/base/Text.h"

namespace tovarin {
namespace {

constexpr std::string_view kDocExt = ".lvrn";
constexpr const char* kUntitledStem = "未命名";
// Keeps the whole name under the 255 bytes a file name may have.
constexpr size_t kMaxStemBytes = 120;
constexpr int kMaxAsideNames = 1000;

// The stem cut at a character boundary of its UTF-8 text.
std::string Stem(const std::string& docPath) {
    std::string name = docPath.substr(docPath.find_last_of('/') + 1);
    if (name.size() >= kDocExt.size() && name.ends_with(kDocExt)) {
        name.resize(name.size() - kDocExt.size());
    }
    if (name.empty()) {
        return kUntitledStem;
    }
    if (name.size() > kMaxStemBytes) {
        size_t cut = kMaxStemBytes;
        while (cut > 0 && (static_cast<uint8_t>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return name;
}

bool IsAbsolute(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end())).is_absolute();
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::string RecoveryFolder(const std::string& userDataDir) { return userDataDir + "/recovery"; }

std::string RecoveryCopyPath(const std::string& folder, const std::string& docPath) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, Fnv1a64(docPath));
    return folder + "/" + Stem(docPath) + "." + hex + std::string(kDocExt);
}

void WriteRecoveryCopy(const std::string& copyPath, const std::string& docPath,
                       std::string_view image) {
    if (copyPath == docPath || SameFile(copyPath, docPath)) {
        throw EInOutError("The recovery copy " + copyPath + " would replace its own document");
    }
    MakeFolders(FolderOf(copyPath));
    WriteFileAtomically(copyPath, image);
}

bool RecoveryCopyIsNewer(const std::string& copyPath, const std::string& docPath) {
    const std::optional<long long> copy = ModifiedNanoseconds(copyPath);
    if (!copy) {
        return false;
    }
    const std::optional<long long> doc =
        docPath.empty() ? std::nullopt : ModifiedNanoseconds(docPath);
    return !doc || *copy > *doc;
}

void RemoveRecoveryCopy(const std::string& copyPath) { RemoveFile(copyPath); }

std::string KeepRecoveryCopyAside(const std::string& copyPath) {
    std::string base = copyPath;
    if (base.ends_with(kDocExt)) {
        base.resize(base.size() - kDocExt.size());
    }
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        std::string aside = base + ".declined-" + std::to_string(n) + std::string(kDocExt);
        // link refuses an existing name, so an earlier declined copy is never replaced.
        if (AddNameUnlessTaken(copyPath, aside, "Unable to keep " + copyPath + " aside")) {
            try {
                RemoveFile(copyPath);
            } catch (const EInOutError&) {
                // The copy is kept aside either way; a second name left
                // behind only means it is offered once more.
            }
            return aside;
        }
    }
    throw EInOutError("Unable to keep " + copyPath + " aside: no free name");
}

std::string ChooseStartupDocument(bool openLast, const std::string& lastDoc,
                                  const std::string& workingDoc, const std::string& appDir) {
    if (!openLast || lastDoc.empty()) {
        return workingDoc;
    }
    const std::string path = IsAbsolute(lastDoc) ? lastDoc : appDir + "/" + lastDoc;
    return FileExists(path) ? lastDoc : workingDoc;
}

}  // namespace tovarin
