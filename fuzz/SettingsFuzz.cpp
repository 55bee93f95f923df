// Feeds arbitrary bytes to the settings reader as the settings file.
// Oracle: a refused file is left as it was; what loads saves to a file that
// loads to the same record, and saving that again writes the same bytes;
// a refused save changes neither the file nor the record.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/settings/AppOptions.h"
#include "core/settings/Settings.h"

using namespace tovarin;

namespace {

bool SameRecord(const TAppOptions& a, const TAppOptions& b) {
    for (const std::string_view key : AppOptionKeys()) {
        if (GetAppOption(a, key) != GetAppOption(b, key)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory: every round writes and flushes the file three times.
    static const std::string path =
        "/dev/shm/tovarin-settings-fuzz-" + std::to_string(getpid()) + ".ini";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteFileAtomically(path, bytes);
    std::vector<std::string> problems;
    TAppOptions loaded;
    try {
        loaded = LoadAppOptions(path, problems);
    } catch (const Exception&) {
        if (ReadWholeFile(path) != bytes) {
            abort();
        }
        return 0;
    }
    TAppOptions saved = loaded;
    try {
        SaveAppOptions(saved, "", path);
    } catch (const Exception&) {
        if (ReadWholeFile(path) != bytes || !SameRecord(saved, loaded)) {
            abort();
        }
        return 0;
    }
    const std::string first = ReadWholeFile(path);
    problems.clear();
    TAppOptions again = LoadAppOptions(path, problems);
    if (!SameRecord(again, loaded)) {
        abort();
    }
    SaveAppOptions(again, "", path);
    if (ReadWholeFile(path) != first) {
        abort();
    }
    return 0;
}
