#include "core/app/OwnOptions.h"

#include <algorithm>

#include "core/base/Errors.h"
#include "core/base/FileIO.h"

namespace tovarin {
namespace {

constexpr size_t kMaxOptionsBytes = size_t{64} * 1024;

}  // namespace

bool TOwnOptions::Flag(const std::string& key) const {
    const auto found = values_.find(key);
    return found != values_.end() && found->second == "1";
}

void TOwnOptions::SetFlag(const std::string& key, bool on) { values_[key] = on ? "1" : "0"; }

TOwnOptions TOwnOptions::Load(const std::string& fileName) {
    TOwnOptions options;
    if (!FileExists(fileName)) {
        return options;
    }
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const EInOutError&) {
        return options;
    }
    if (bytes.size() > kMaxOptionsBytes) {
        return options;
    }
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string line = bytes.substr(start, end - start);
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0) {
            options.values_[line.substr(0, equals)] = line.substr(equals + 1);
        }
        start = end + 1;
    }
    return options;
}

void TOwnOptions::Save(const std::string& fileName) const {
    std::string text;
    for (const auto& [key, value] : values_) {
        text.append(key).append("=").append(value).append("\n");
    }
    WriteFileAtomically(fileName, text);
}

std::string OwnOptionsFilePath(const std::string& folder) {
    return folder + "/" + "tovarin-options.txt";
}

}  // namespace tovarin
